#pragma once
// The database player record, the formation slot a player on the pitch holds,
// and the accessors that read a player's name, positions and shirt number.
//
// The first 112 bytes of DBPlayer are the player's record in the database file,
// field for field at the places the file gives them (the loader reads them one
// by one, little-endian). The file keeps three 4-byte places for links, which
// hold zero there; in memory the links themselves live after the record, with
// the link to the player's 3D object.
#include <cstddef>
#include <cstdint>
#include <type_traits>

// One slot of a formation, seven words; a formation has eleven of them.
struct FormationSlot {
  std::int32_t iSlot;      // slot index 0..10; 0 is the goalkeeper's slot
  std::int32_t iSide;      // side code 0, 1 or 2, matched against the player's
  std::int32_t iPosition;  // position code 0..24; 0 the goalkeeper
  std::int32_t iRoleFlip;  // role flip word handed to the player's role record
  std::int32_t iColumn;    // place on the tactics board, 12 units a column
  std::int32_t iRow;       //   and 12 units a row
  std::int32_t iNumber;    // the shirt number the slot gives its player
};
static_assert(sizeof(FormationSlot) == 7 * 4);

constexpr std::int32_t DBPLAYER_NAME_SIZE = 32;  // with the terminating NUL
constexpr std::int32_t DBPLAYER_FILE_SIZE = 112;  // bytes of a record in the file
// The position that dbplayer_AssignedPositionGet reports for a player who
// holds no formation slot (bench and reserve players).
constexpr std::int32_t DBPLAYER_NO_POSITION = -1;

// Bits of DBPlayer::uFlags. Bits 1, 7 and 20-31 are kept as the file gives them.
enum : std::uint32_t {
  DBPLAYER_FLAG_STARTER = 1u << 0,
  DBPLAYER_FLAG_IN_SQUAD = 1u << 2,
  DBPLAYER_FLAG_HARD_TACKLE = 1u << 3,
  DBPLAYER_FLAG_4 = 1u << 4,
  DBPLAYER_FLAG_SET_PIECE_TAKER = 1u << 5,
  DBPLAYER_FLAG_INJURED = 1u << 6,
  DBPLAYER_FLAG_SUSPENDED = 1u << 8,
  DBPLAYER_FLAG_SUBSTITUTED = 1u << 9,
  DBPLAYER_FLAG_PENALTY_TAKEN = 1u << 10,
  DBPLAYER_FLAG_INJURY_CHANGED = 1u << 11,
  DBPLAYER_FLAG_SUSPENSION_CHANGED = 1u << 12,
  DBPLAYER_FLAG_RESERVE = 1u << 13,
  DBPLAYER_FLAG_RESERVE2 = 1u << 14,
  DBPLAYER_FLAG_BENCH = 1u << 15,
  DBPLAYER_CARD_SHIFT = 16,  // bits 16-19: the card state
  DBPLAYER_CARD_MASK = 0xFu << 16,
};
// Card states (bits 16-19 of the flags).
enum : std::uint32_t {
  DBPLAYER_CARD_NONE = 0,
  DBPLAYER_CARD_BOOKED = 1,
  DBPLAYER_CARD_TWO_YELLOWS = 2,
  DBPLAYER_CARD_SENT_OFF = 4,
  DBPLAYER_CARD_SENT_OFF_BOOKED = 8,
};

struct DBPlayer {
  char szName[DBPLAYER_NAME_SIZE];  //  0: NUL-terminated, at most 31 characters
  std::uint32_t uFlags;             // 32: DBPLAYER_FLAG_* and the card state
  std::uint32_t auPosition[3];      // 36: the three position preferences (codes 0..24)
  std::uint32_t uSide;              // 48: side code, matched against a slot's
  std::uint8_t uSpeed;              // 52
  std::uint8_t uSkill53;            // 53: shown nowhere; team set-up derives byte 80 from it
  std::uint8_t uControl;            // 54
  std::uint8_t uPower;              // 55
  std::uint8_t uAccuracy;           // 56
  std::int8_t iHeading;             // 57: read as a signed byte
  std::uint8_t uPassing;            // 58
  std::uint8_t uCreativity;         // 59
  std::uint8_t uAwareness;          // 60
  std::uint8_t uTackling;           // 61
  std::uint8_t abUnread62[4];       // 62
  std::int8_t iStamina;             // 66: read as a signed byte
  std::uint8_t uReactions;          // 67: goalkeeper skills 67..70
  std::uint8_t uHandling;           // 68
  std::uint8_t uJudgement;          // 69
  std::uint8_t uDiving;             // 70
  std::uint8_t abUnread71[3];       // 71
  std::uint16_t uAppearance;        // 74: colour, hair, facial hair, build
  std::uint16_t uPenaltyOrder;      // 76: 1 first choice ... 11 none; 0 counts as 11
  std::uint16_t uFitness78;         // 78: 57 once listed for a match
  std::uint32_t uFitness80;         // 80: derived from byte 53 once listed
  std::uint8_t abUnread84[2];       // 84
  std::uint16_t uPositionOrder;     // 86: 0 "Normal", 1 "Up", 2 "Back"
  std::uint32_t uField88;           // 88: shirt number; 0 shows none
  std::uint32_t uSlotPlace;         // 92: file places of the links (zero, not read)
  std::uint32_t uSavedSlotPlace;    // 96
  std::uint32_t uUnread100;         // 100
  std::uint32_t uNextPlace;         // 104
  std::int8_t iInjuryDay;           // 108: -1 marks a suspension counted in matches
  std::uint8_t uInjuryMonth;        // 109: for a suspension the matches left
  std::uint8_t uInjuryYear;         // 110: two digits
  std::uint8_t uInjuryType;         // 111: 0..8

  // In memory only, cleared when a squad is loaded.
  const FormationSlot* poSlot;       // the slot held on the pitch; none off the pitch
  const FormationSlot* poSavedSlot;  // the slot held when the formation was last saved
  DBPlayer* poNext;            // next player of the list (pitch, bench, reserves)
  void* po3DObject;            // the player's 3D object while a match is loaded
};

static_assert(std::is_standard_layout_v<DBPlayer>);
static_assert(offsetof(DBPlayer, uFlags) == 32);
static_assert(offsetof(DBPlayer, auPosition) == 36);
static_assert(offsetof(DBPlayer, uSide) == 48);
static_assert(offsetof(DBPlayer, uSpeed) == 52);
static_assert(offsetof(DBPlayer, uAccuracy) == 56);
static_assert(offsetof(DBPlayer, iHeading) == 57);
static_assert(offsetof(DBPlayer, uTackling) == 61);
static_assert(offsetof(DBPlayer, iStamina) == 66);
static_assert(offsetof(DBPlayer, uDiving) == 70);
static_assert(offsetof(DBPlayer, uAppearance) == 74);
static_assert(offsetof(DBPlayer, uPenaltyOrder) == 76);
static_assert(offsetof(DBPlayer, uFitness78) == 78);
static_assert(offsetof(DBPlayer, uFitness80) == 80);
static_assert(offsetof(DBPlayer, uPositionOrder) == 86);
static_assert(offsetof(DBPlayer, uField88) == 88);
static_assert(offsetof(DBPlayer, uSlotPlace) == 92);
static_assert(offsetof(DBPlayer, uSavedSlotPlace) == 96);
static_assert(offsetof(DBPlayer, uNextPlace) == 104);
static_assert(offsetof(DBPlayer, iInjuryDay) == 108);
static_assert(offsetof(DBPlayer, uInjuryType) == 111);
static_assert(offsetof(DBPlayer, poSlot) >= DBPLAYER_FILE_SIZE);
// Heading and Stamina are read as signed bytes, the other skills unsigned.
static_assert(std::is_same_v<decltype(DBPlayer::iHeading), std::int8_t>);
static_assert(std::is_same_v<decltype(DBPlayer::iStamina), std::int8_t>);
static_assert(std::is_same_v<decltype(DBPlayer::uAccuracy), std::uint8_t>);

// The name: the record itself, whose first field is the name.
const char* dbplayer_NameGet(const DBPlayer* poDb);
// The position code of the formation slot the player holds, or
// DBPLAYER_NO_POSITION when he holds none.
std::int32_t dbplayer_AssignedPositionGet(const DBPlayer* poDb);
// The position code of his formation slot, or his first position preference
// when he holds no slot.
std::int32_t dbplayer_CurrentPositionGet(const DBPlayer* poDb);
std::int32_t dbplayer_FirstPositionGet(const DBPlayer* poDb);
// The 32-bit shirt-number word at byte 88.
std::uint32_t dbplayer_Field88Get(const DBPlayer* poDb);
// Position preference 0..2 (asserts "cPosition < 3").
std::int32_t dbplayer_PositionGet(const DBPlayer* poDb, std::int32_t cPosition);
std::int32_t dbplayer_PositionOrderGet(const DBPlayer* poDb);  // 0 "Normal", 1 "Up", 2 "Back"
void dbplayer_PositionOrderSet(DBPlayer* poDb, std::int32_t iOrder);

// Flags.
std::int32_t dbplayer_StarterGet(const DBPlayer* poDb);
std::int32_t dbplayer_InSquadGet(const DBPlayer* poDb);
void dbplayer_InSquadSet(DBPlayer* poDb, std::int32_t bFlag);
std::int32_t dbplayer_HardTackleGet(const DBPlayer* poDb);
std::int32_t dbplayer_TackleGet(const DBPlayer* poDb);  // 0 "Normal", 1 "Hard"
std::int32_t dbplayer_Flag4Get(const DBPlayer* poDb);
std::int32_t dbplayer_SetPieceTakerGet(const DBPlayer* poDb);
std::int32_t dbplayer_InjuredGet(const DBPlayer* poDb);
void dbplayer_InjuredSet(DBPlayer* poDb, std::int32_t bFlag);
std::int32_t dbplayer_SuspendedGet(const DBPlayer* poDb);
void dbplayer_SuspendedSet(DBPlayer* poDb, std::int32_t bFlag);
std::int32_t dbplayer_SubstitutedGet(const DBPlayer* poDb);
void dbplayer_SubstitutedSet(DBPlayer* poDb, std::int32_t bFlag);
std::int32_t dbplayer_PenaltyTakenGet(const DBPlayer* poDb);
void dbplayer_PenaltyTakenSet(DBPlayer* poDb, std::int32_t bFlag);
std::int32_t dbplayer_InjuryChangedGet(const DBPlayer* poDb);
void dbplayer_InjuryChangedSet(DBPlayer* poDb, std::int32_t bFlag);
std::int32_t dbplayer_SuspensionChangedGet(const DBPlayer* poDb);
void dbplayer_SuspensionChangedSet(DBPlayer* poDb, std::int32_t bFlag);
std::int32_t dbplayer_ReserveGet(const DBPlayer* poDb);
std::int32_t dbplayer_Reserve2Get(const DBPlayer* poDb);
std::int32_t dbplayer_BenchGet(const DBPlayer* poDb);

// Cards: a booking on a clean record gives 1, on 1 gives 2; a red card on a
// clean record gives 4, on 1 gives 8; other states stay. Serving a
// suspension turns 2 and 4 into 0 and 8 into 1 (the earlier booking stays).
void dbplayer_YellowCardAdd(DBPlayer* poDb);
void dbplayer_RedCardAdd(DBPlayer* poDb);
void dbplayer_SuspensionServe(DBPlayer* poDb);
std::uint32_t dbplayer_CardStateGet(const DBPlayer* poDb);
std::int32_t dbplayer_BookedGet(const DBPlayer* poDb);
std::int32_t dbplayer_TwoYellowsGet(const DBPlayer* poDb);
std::int32_t dbplayer_SentOffGet(const DBPlayer* poDb);
std::int32_t dbplayer_SentOffBookedGet(const DBPlayer* poDb);

// Injury end date: day (-1 no date: the month then counts matches out), month,
// two-digit year; and the injury type 0..8.
std::int32_t dbplayer_InjuryDayGet(const DBPlayer* poDb);
std::int32_t dbplayer_InjuryMonthGet(const DBPlayer* poDb);
std::int32_t dbplayer_InjuryYearGet(const DBPlayer* poDb);
void dbplayer_InjuryDaySet(DBPlayer* poDb, std::int32_t iValue);
void dbplayer_InjuryMonthSet(DBPlayer* poDb, std::int32_t iValue);
void dbplayer_InjuryYearSet(DBPlayer* poDb, std::int32_t iValue);
std::int32_t dbplayer_InjuryTypeGet(const DBPlayer* poDb);
void dbplayer_InjuryTypeSet(DBPlayer* poDb, std::int32_t iType);

// Decodes one 112-byte file record, field by field, into a record whose
// links are clear. Returns 0 when the record is unusable: a name without its
// NUL in the 32 bytes, a first position above 24 or a side above 2.
std::int32_t dbplayer_Decode(const std::uint8_t* pbRecord, DBPlayer* poOut);
// The 112 file bytes of a record (links written as zero).
void dbplayer_Encode(const DBPlayer* poDb, std::uint8_t* pbRecord);
