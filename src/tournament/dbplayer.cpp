// Accessors of the database player record, the card transitions and the
// record's file form.
#include "tournament/dbplayer.h"

#include <cstring>

#include "framework/qdx_assert.h"
#include "tournament/dbindex.h"
#include "tournament/squad.h"

namespace {

std::int32_t FlagGet(const DBPlayer* poDb, std::uint32_t uBit) {
  QDX_ASSERT(poDb);
  return (poDb->uFlags & uBit) != 0 ? 1 : 0;
}

void FlagSet(DBPlayer* poDb, std::uint32_t uBit, std::int32_t bFlag) {
  QDX_ASSERT(poDb);
  if (bFlag) poDb->uFlags |= uBit;
  else poDb->uFlags &= ~uBit;
}

void CardStateSet(DBPlayer* poDb, std::uint32_t uState) {
  poDb->uFlags = (poDb->uFlags & ~DBPLAYER_CARD_MASK) | (uState << DBPLAYER_CARD_SHIFT);
}

std::uint32_t Get32(const std::uint8_t* pb) {
  return static_cast<std::uint32_t>(pb[0]) | (static_cast<std::uint32_t>(pb[1]) << 8) |
         (static_cast<std::uint32_t>(pb[2]) << 16) | (static_cast<std::uint32_t>(pb[3]) << 24);
}
std::uint16_t Get16(const std::uint8_t* pb) {
  return static_cast<std::uint16_t>(pb[0] | (pb[1] << 8));
}
void Put32(std::uint8_t* pb, std::uint32_t v) {
  for (int i = 0; i < 4; i++) pb[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Put16(std::uint8_t* pb, std::uint32_t v) {
  pb[0] = static_cast<std::uint8_t>(v);
  pb[1] = static_cast<std::uint8_t>(v >> 8);
}

}  // namespace

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

std::int32_t dbplayer_PositionGet(const DBPlayer* poDb, std::int32_t cPosition) {
  QDX_ASSERT(poDb);
  QDX_ASSERT(cPosition < 3);
  QDX_ASSERT(cPosition >= 0);
  return static_cast<std::int32_t>(poDb->auPosition[cPosition]);
}

std::int32_t dbplayer_PositionOrderGet(const DBPlayer* poDb) {
  QDX_ASSERT(poDb);
  return poDb->uPositionOrder;
}

void dbplayer_PositionOrderSet(DBPlayer* poDb, std::int32_t iOrder) {
  QDX_ASSERT(poDb);
  poDb->uPositionOrder = static_cast<std::uint16_t>(iOrder);
}

std::int32_t dbplayer_StarterGet(const DBPlayer* p) { return FlagGet(p, DBPLAYER_FLAG_STARTER); }
std::int32_t dbplayer_InSquadGet(const DBPlayer* p) { return FlagGet(p, DBPLAYER_FLAG_IN_SQUAD); }
void dbplayer_InSquadSet(DBPlayer* p, std::int32_t b) { FlagSet(p, DBPLAYER_FLAG_IN_SQUAD, b); }
std::int32_t dbplayer_HardTackleGet(const DBPlayer* p) { return FlagGet(p, DBPLAYER_FLAG_HARD_TACKLE); }
std::int32_t dbplayer_TackleGet(const DBPlayer* p) { return FlagGet(p, DBPLAYER_FLAG_HARD_TACKLE); }
std::int32_t dbplayer_Flag4Get(const DBPlayer* p) { return FlagGet(p, DBPLAYER_FLAG_4); }
std::int32_t dbplayer_SetPieceTakerGet(const DBPlayer* p) { return FlagGet(p, DBPLAYER_FLAG_SET_PIECE_TAKER); }
std::int32_t dbplayer_InjuredGet(const DBPlayer* p) { return FlagGet(p, DBPLAYER_FLAG_INJURED); }
void dbplayer_InjuredSet(DBPlayer* p, std::int32_t b) { FlagSet(p, DBPLAYER_FLAG_INJURED, b); }
std::int32_t dbplayer_SuspendedGet(const DBPlayer* p) { return FlagGet(p, DBPLAYER_FLAG_SUSPENDED); }
void dbplayer_SuspendedSet(DBPlayer* p, std::int32_t b) { FlagSet(p, DBPLAYER_FLAG_SUSPENDED, b); }
std::int32_t dbplayer_SubstitutedGet(const DBPlayer* p) { return FlagGet(p, DBPLAYER_FLAG_SUBSTITUTED); }
void dbplayer_SubstitutedSet(DBPlayer* p, std::int32_t b) { FlagSet(p, DBPLAYER_FLAG_SUBSTITUTED, b); }
std::int32_t dbplayer_PenaltyTakenGet(const DBPlayer* p) { return FlagGet(p, DBPLAYER_FLAG_PENALTY_TAKEN); }
void dbplayer_PenaltyTakenSet(DBPlayer* p, std::int32_t b) { FlagSet(p, DBPLAYER_FLAG_PENALTY_TAKEN, b); }
std::int32_t dbplayer_InjuryChangedGet(const DBPlayer* p) { return FlagGet(p, DBPLAYER_FLAG_INJURY_CHANGED); }
void dbplayer_InjuryChangedSet(DBPlayer* p, std::int32_t b) { FlagSet(p, DBPLAYER_FLAG_INJURY_CHANGED, b); }
std::int32_t dbplayer_SuspensionChangedGet(const DBPlayer* p) { return FlagGet(p, DBPLAYER_FLAG_SUSPENSION_CHANGED); }
void dbplayer_SuspensionChangedSet(DBPlayer* p, std::int32_t b) { FlagSet(p, DBPLAYER_FLAG_SUSPENSION_CHANGED, b); }
std::int32_t dbplayer_ReserveGet(const DBPlayer* p) { return FlagGet(p, DBPLAYER_FLAG_RESERVE); }
std::int32_t dbplayer_Reserve2Get(const DBPlayer* p) { return FlagGet(p, DBPLAYER_FLAG_RESERVE2); }
std::int32_t dbplayer_BenchGet(const DBPlayer* p) { return FlagGet(p, DBPLAYER_FLAG_BENCH); }

std::uint32_t dbplayer_CardStateGet(const DBPlayer* poDb) {
  QDX_ASSERT(poDb);
  return (poDb->uFlags & DBPLAYER_CARD_MASK) >> DBPLAYER_CARD_SHIFT;
}

void dbplayer_YellowCardAdd(DBPlayer* poDb) {
  const std::uint32_t u = dbplayer_CardStateGet(poDb);
  if (u == DBPLAYER_CARD_NONE) CardStateSet(poDb, DBPLAYER_CARD_BOOKED);
  else if (u == DBPLAYER_CARD_BOOKED) CardStateSet(poDb, DBPLAYER_CARD_TWO_YELLOWS);
}

void dbplayer_RedCardAdd(DBPlayer* poDb) {
  const std::uint32_t u = dbplayer_CardStateGet(poDb);
  if (u == DBPLAYER_CARD_NONE) CardStateSet(poDb, DBPLAYER_CARD_SENT_OFF);
  else if (u == DBPLAYER_CARD_BOOKED) CardStateSet(poDb, DBPLAYER_CARD_SENT_OFF_BOOKED);
}

void dbplayer_SuspensionServe(DBPlayer* poDb) {
  const std::uint32_t u = dbplayer_CardStateGet(poDb);
  if (u == DBPLAYER_CARD_TWO_YELLOWS || u == DBPLAYER_CARD_SENT_OFF) CardStateSet(poDb, DBPLAYER_CARD_NONE);
  else if (u == DBPLAYER_CARD_SENT_OFF_BOOKED) CardStateSet(poDb, DBPLAYER_CARD_BOOKED);
}

std::int32_t dbplayer_BookedGet(const DBPlayer* p) { return dbplayer_CardStateGet(p) == DBPLAYER_CARD_BOOKED; }
std::int32_t dbplayer_TwoYellowsGet(const DBPlayer* p) { return dbplayer_CardStateGet(p) == DBPLAYER_CARD_TWO_YELLOWS; }
std::int32_t dbplayer_SentOffGet(const DBPlayer* p) { return dbplayer_CardStateGet(p) == DBPLAYER_CARD_SENT_OFF; }
std::int32_t dbplayer_SentOffBookedGet(const DBPlayer* p) {
  return dbplayer_CardStateGet(p) == DBPLAYER_CARD_SENT_OFF_BOOKED;
}

std::int32_t dbplayer_InjuryDayGet(const DBPlayer* p) {
  QDX_ASSERT(p);
  return p->iInjuryDay;
}
std::int32_t dbplayer_InjuryMonthGet(const DBPlayer* p) {
  QDX_ASSERT(p);
  return p->uInjuryMonth;
}
std::int32_t dbplayer_InjuryYearGet(const DBPlayer* p) {
  QDX_ASSERT(p);
  return p->uInjuryYear;
}
void dbplayer_InjuryDaySet(DBPlayer* p, std::int32_t v) {
  QDX_ASSERT(p);
  p->iInjuryDay = static_cast<std::int8_t>(v);
}
void dbplayer_InjuryMonthSet(DBPlayer* p, std::int32_t v) {
  QDX_ASSERT(p);
  p->uInjuryMonth = static_cast<std::uint8_t>(v);
}
void dbplayer_InjuryYearSet(DBPlayer* p, std::int32_t v) {
  QDX_ASSERT(p);
  p->uInjuryYear = static_cast<std::uint8_t>(v);
}
std::int32_t dbplayer_InjuryTypeGet(const DBPlayer* p) {
  QDX_ASSERT(p);
  return p->uInjuryType;
}
void dbplayer_InjuryTypeSet(DBPlayer* p, std::int32_t v) {
  QDX_ASSERT(p);
  p->uInjuryType = static_cast<std::uint8_t>(v);
}

std::int32_t dbplayer_Decode(const std::uint8_t* pb, DBPlayer* poOut) {
  QDX_ASSERT(pb && poOut);
  if (std::memchr(pb, 0, DBPLAYER_NAME_SIZE) == nullptr) return 0;
  const std::uint32_t uFirst = Get32(pb + 36), uSide = Get32(pb + 48);
  if (uFirst > 24 || uSide > 2) return 0;
  DBPlayer o{};
  std::memcpy(o.szName, pb, DBPLAYER_NAME_SIZE);
  o.uFlags = Get32(pb + 32);
  for (int i = 0; i < 3; i++) o.auPosition[i] = Get32(pb + 36 + 4 * i);
  o.uSide = uSide;
  o.uSpeed = pb[52];
  o.uSkill53 = pb[53];
  o.uControl = pb[54];
  o.uPower = pb[55];
  o.uAccuracy = pb[56];
  o.iHeading = static_cast<std::int8_t>(pb[57]);
  o.uPassing = pb[58];
  o.uCreativity = pb[59];
  o.uAwareness = pb[60];
  o.uTackling = pb[61];
  std::memcpy(o.abUnread62, pb + 62, 4);
  o.iStamina = static_cast<std::int8_t>(pb[66]);
  o.uReactions = pb[67];
  o.uHandling = pb[68];
  o.uJudgement = pb[69];
  o.uDiving = pb[70];
  std::memcpy(o.abUnread71, pb + 71, 3);
  o.uAppearance = Get16(pb + 74);
  o.uPenaltyOrder = Get16(pb + 76);
  o.uFitness78 = Get16(pb + 78);
  o.uFitness80 = Get32(pb + 80);
  std::memcpy(o.abUnread84, pb + 84, 2);
  o.uPositionOrder = Get16(pb + 86);
  o.uField88 = Get32(pb + 88);
  // The link places (92, 96, 104) and the word at 100 are not read.
  o.iInjuryDay = static_cast<std::int8_t>(pb[108]);
  o.uInjuryMonth = pb[109];
  o.uInjuryYear = pb[110];
  o.uInjuryType = pb[111];
  *poOut = o;
  return 1;
}

void dbplayer_Encode(const DBPlayer* p, std::uint8_t* pb) {
  QDX_ASSERT(p && pb);
  std::memset(pb, 0, DBPLAYER_FILE_SIZE);
  std::memcpy(pb, p->szName, DBPLAYER_NAME_SIZE);
  Put32(pb + 32, p->uFlags);
  for (int i = 0; i < 3; i++) Put32(pb + 36 + 4 * i, p->auPosition[i]);
  Put32(pb + 48, p->uSide);
  pb[52] = p->uSpeed;
  pb[53] = p->uSkill53;
  pb[54] = p->uControl;
  pb[55] = p->uPower;
  pb[56] = p->uAccuracy;
  pb[57] = static_cast<std::uint8_t>(p->iHeading);
  pb[58] = p->uPassing;
  pb[59] = p->uCreativity;
  pb[60] = p->uAwareness;
  pb[61] = p->uTackling;
  std::memcpy(pb + 62, p->abUnread62, 4);
  pb[66] = static_cast<std::uint8_t>(p->iStamina);
  pb[67] = p->uReactions;
  pb[68] = p->uHandling;
  pb[69] = p->uJudgement;
  pb[70] = p->uDiving;
  std::memcpy(pb + 71, p->abUnread71, 3);
  Put16(pb + 74, p->uAppearance);
  Put16(pb + 76, p->uPenaltyOrder);
  Put16(pb + 78, p->uFitness78);
  Put32(pb + 80, p->uFitness80);
  std::memcpy(pb + 84, p->abUnread84, 2);
  Put16(pb + 86, p->uPositionOrder);
  Put32(pb + 88, p->uField88);
  pb[108] = static_cast<std::uint8_t>(p->iInjuryDay);
  pb[109] = p->uInjuryMonth;
  pb[110] = p->uInjuryYear;
  pb[111] = p->uInjuryType;
}

// The decoding of a whole block, shared by the squad loader and kept free of
// everything else it uses.
std::int32_t squadcache_BlockDecode(const std::uint8_t* pb, std::int32_t cb, DBPlayer* paOut, std::int32_t cMax,
                                   std::int32_t* pcOut) {
  QDX_ASSERT(pb && paOut && pcOut && cMax >= 0);
  if (cb < DB_BLOCK_HEADER) return 0;
  const std::int32_t n = static_cast<std::int16_t>(pb[2] | (pb[3] << 8));
  if (n < 0 || DB_BLOCK_HEADER + DBPLAYER_FILE_SIZE * n != cb) return 0;
  const std::int32_t cKeep = n < cMax ? n : cMax;
  for (std::int32_t i = 0; i < n; i++) {
    DBPlayer o;
    if (!dbplayer_Decode(pb + DB_BLOCK_HEADER + DBPLAYER_FILE_SIZE * i, &o)) return 0;
    if (i < cKeep) paOut[i] = o;
  }
  *pcOut = cKeep;
  return 1;
}
