// The database player accessors over real records: the name, the position of
// the held formation slot with the fall-back to the first preference, and the
// shirt-number word.
#include <gtest/gtest.h>

#include <cstring>

#include "tournament/tournament_services.h"

namespace {

DBPlayer MakePlayer(const char* pszName, std::uint32_t uFirst, std::uint32_t uSecond, std::uint32_t uThird) {
  DBPlayer o{};
  std::strncpy(o.szName, pszName, sizeof(o.szName) - 1);
  o.auPosition[0] = uFirst;
  o.auPosition[1] = uSecond;
  o.auPosition[2] = uThird;
  return o;
}

TEST(DBPlayerAccessors, NameIsTheRecordItself) {
  DBPlayer o = MakePlayer("Tavo Rennick", 9, 10, 11);
  EXPECT_STREQ(dbplayer_NameGet(&o), "Tavo Rennick");
  EXPECT_EQ(static_cast<const void*>(dbplayer_NameGet(&o)), static_cast<const void*>(&o));
  // A name of the full 31 characters keeps its terminator in the 32 bytes.
  DBPlayer oLong = MakePlayer("Abcdefghijklmnopqrstuvwxyzabcde", 0, 0, 0);
  EXPECT_EQ(std::strlen(dbplayer_NameGet(&oLong)), 31u);
}

TEST(DBPlayerAccessors, PositionsFollowTheHeldSlot) {
  DBPlayer o = MakePlayer("Ilo Vask", 7, 12, 3);
  EXPECT_EQ(dbplayer_FirstPositionGet(&o), 7);
  // Off the pitch he holds no slot: no assigned position, the current one is
  // his first preference.
  EXPECT_EQ(dbplayer_AssignedPositionGet(&o), DBPLAYER_NO_POSITION);
  EXPECT_EQ(dbplayer_CurrentPositionGet(&o), 7);

  FormationSlot oSlot{4, 1, 18, 0, 3, 5, 6};
  o.poSlot = &oSlot;
  EXPECT_EQ(dbplayer_AssignedPositionGet(&o), 18);
  EXPECT_EQ(dbplayer_CurrentPositionGet(&o), 18);
  EXPECT_EQ(dbplayer_FirstPositionGet(&o), 7);  // the preference is untouched

  // The goalkeeper's code 0 is a position like any other, not "no slot".
  FormationSlot oKeeper{0, 2, 0, 0, 0, 0, 1};
  o.poSlot = &oKeeper;
  EXPECT_EQ(dbplayer_AssignedPositionGet(&o), 0);
  EXPECT_EQ(dbplayer_CurrentPositionGet(&o), 0);

  // The saved slot is not the held one.
  o.poSavedSlot = &oSlot;
  o.poSlot = nullptr;
  EXPECT_EQ(dbplayer_AssignedPositionGet(&o), DBPLAYER_NO_POSITION);
  EXPECT_EQ(dbplayer_CurrentPositionGet(&o), 7);
}

TEST(DBPlayerAccessors, Field88IsTheWholeShirtNumberWord) {
  DBPlayer o = MakePlayer("Mero Dahl", 1, 1, 1);
  EXPECT_EQ(dbplayer_Field88Get(&o), 0u);  // 0 shows no number
  o.uField88 = 23;
  EXPECT_EQ(dbplayer_Field88Get(&o), 23u);
  o.uField88 = 0xFFFE0011u;  // all 32 bits come back; the kit set-up keeps the low 16
  EXPECT_EQ(dbplayer_Field88Get(&o), 0xFFFE0011u);
  // The neighbours of the word do not leak into it.
  o.uPositionOrder = 0xFFFF;
  o.uSlotPlace = 0xFFFFFFFFu;
  EXPECT_EQ(dbplayer_Field88Get(&o), 0xFFFE0011u);
}

}  // namespace
