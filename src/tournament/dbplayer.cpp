// Accessors of the database player record: name, positions, shirt number.
#include "tournament/dbplayer.h"

#include "framework/qdx_assert.h"

const char* dbplayer_NameGet(const DBPlayer* poDb) {
  QDX_ASSERT(poDb);
  return poDb->szName;
}

std::int32_t dbplayer_AssignedPositionGet(const DBPlayer* poDb) {
  QDX_ASSERT(poDb);
  // Bench and reserve players hold no slot: there is nothing to read through.
  if (poDb->poSlot == nullptr) return DBPLAYER_NO_POSITION;
  return poDb->poSlot->iPosition;
}

std::int32_t dbplayer_CurrentPositionGet(const DBPlayer* poDb) {
  QDX_ASSERT(poDb);
  if (poDb->poSlot == nullptr) return dbplayer_FirstPositionGet(poDb);
  return poDb->poSlot->iPosition;
}

std::int32_t dbplayer_FirstPositionGet(const DBPlayer* poDb) {
  QDX_ASSERT(poDb);
  return static_cast<std::int32_t>(poDb->auPosition[0]);
}

std::uint32_t dbplayer_Field88Get(const DBPlayer* poDb) {
  QDX_ASSERT(poDb);
  return poDb->uField88;
}
