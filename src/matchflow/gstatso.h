#pragma once
// The per-team match statistics kept in each match side: counters of shots,
// corners, free kicks, offsides and cards, possession and action-area time,
// and the list of goals with scorer, minute and kind.
#include <cstdint>

struct DBPlayer;

constexpr std::int32_t GSTATSO_GOALS_MAX = 30;

struct MatchStats {
  // Counters that wrap at 256.
  std::uint8_t Shots;
  std::uint8_t OnTarget;
  std::uint8_t Corners;
  std::uint8_t FreeKicks;
  std::uint8_t Offsides;
  std::uint8_t Booked;
  std::uint8_t SentOff;
  std::int32_t Possession;     // clock units while the team had the ball
  std::int32_t ActionArea[3];  // clock units with the ball at x < -3119, between, x > 3119
  std::uint8_t GoalCount;      // goals in the list, 0..30
  DBPlayer* GoalScorer[GSTATSO_GOALS_MAX];
  std::uint8_t GoalMinute[GSTATSO_GOALS_MAX];
  std::uint8_t GoalKind[GSTATSO_GOALS_MAX];  // 0 an ordinary goal
};

constexpr std::int32_t GSTATSO_STRINGS_MAX = 65;
constexpr std::int32_t GSTATSO_SHOOTOUT_MINUTE = 121;

// Counters, possession, action areas and the whole goal list (count,
// scorers, minutes, kinds) to 0.
void gstatso_Clear(MatchStats* poStats);
void gstatso_ShotAdd(MatchStats* poStats);
void gstatso_ShotOnTargetAdd(MatchStats* poStats);  // a shot on target is a shot as well
void gstatso_CornerAdd(MatchStats* poStats);
void gstatso_FreeKickAdd(MatchStats* poStats);
void gstatso_OffsideAdd(MatchStats* poStats);
void gstatso_BookedAdd(MatchStats* poStats);
void gstatso_SentOffAdd(MatchStats* poStats);
std::int32_t gstatso_ShotsGet(const MatchStats* poStats);
std::int32_t gstatso_OnTargetGet(const MatchStats* poStats);
std::int32_t gstatso_CornersGet(const MatchStats* poStats);
std::int32_t gstatso_FreeKicksGet(const MatchStats* poStats);
std::int32_t gstatso_OffsidesGet(const MatchStats* poStats);
std::int32_t gstatso_BookedGet(const MatchStats* poStats);
std::int32_t gstatso_SentOffGet(const MatchStats* poStats);
std::int32_t gstatso_PossessionGet(const MatchStats* poStats);
void gstatso_PossessionAdd(MatchStats* poStats, std::int32_t n);
std::int32_t gstatso_ActionAreaGet(const MatchStats* poStats, std::int32_t i);  // 0..2
void gstatso_ActionArea0Add(MatchStats* poStats, std::int32_t n);
void gstatso_ActionArea1Add(MatchStats* poStats, std::int32_t n);
void gstatso_ActionArea2Add(MatchStats* poStats, std::int32_t n);
// Swaps the first and the third action area (at the change of ends).
void gstatso_ActionAreasSwap(MatchStats* poStats);
std::int32_t gstatso_GoalCountGet(const MatchStats* poStats);
DBPlayer* gstatso_GoalScorerGet(const MatchStats* poStats, std::int32_t i);
std::int32_t gstatso_GoalMinuteGet(const MatchStats* poStats, std::int32_t i);
std::int32_t gstatso_GoalKindGet(const MatchStats* poStats, std::int32_t i);
// Records a goal at the clock's minute capped by the period (121 for a
// shoot-out kick); returns the new count. A full list keeps its 30 goals.
std::int32_t gstatso_GoalAdd(MatchStats* poStats, DBPlayer* poScorer, std::int32_t iKind);
// The in-match text in the on-screen language (any other value: English).
const char* gstatso_StrGet(std::int32_t iId);
// A global text shown in the match (the skills of the bench's attribute
// panel, the formation names, the controller message) in the same language,
// so a match's screens all speak the on-screen language.
const char* gstatso_GlobalStrGet(std::int32_t iId);
// The on-screen-text language: the interface language until the options set
// one of their own.
std::int32_t gstatso_LanguageGet();
// Set by the options (-1: follow the interface language again).
void gstatso_LanguageSet(std::int32_t iLanguage);
