// Formation records and the formation int table.
#include "engine/formation.h"

#include "framework/qdx_assert.h"

const FormationSlot* formation_RecordGet(std::int32_t iFormation) {
  QDX_ASSERT(iFormation >= 0 && iFormation < FORMATION_MAX);
  return formation_aRecords[iFormation];
}

std::int32_t formation_TableGet(std::int32_t i) {
  QDX_ASSERT(i >= 0 && i < FORMATION_TABLE_SIZE);
  return formation_aiTable[i];
}
