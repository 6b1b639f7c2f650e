#pragma once
// The computer team manager: once in the second half a side no user plays
// for changes its formation and brings substitutes on, the change chosen by
// the match clock and the score from the table generated from
// assets/match/cpuman.txt. Also the position names of the screens.
#include <cstdint>

struct MatchTeam;

constexpr std::int32_t CPUMAN_ROWS = 18;
constexpr std::int32_t CPUMAN_ROW_WORDS = 69;
constexpr std::int32_t CPUMAN_ENTRIES = 11;
constexpr std::int32_t CPUMAN_KIND_WORDS = 1 + 3 * CPUMAN_ENTRIES;
// The end row has formation -1.
extern const std::int32_t cpuman_aTable[CPUMAN_ROWS + 1][CPUMAN_ROW_WORDS];

// Set at the kick-off set-up: one change may be made in the match.
void cpuman_Arm();
std::int32_t cpuman_bArmed();
// Decides the side's change (kind 1 level or behind after minute 55 and
// before 76, kind 2 ahead from minute 76). Outside the manager's own mode
// the pending formation is applied at once.
void cpuman_Update(MatchTeam* poTeam);
// Queues the row's substitutions for the side and leaves its new formation
// pending; nothing in training or for a formation without a row.
void cpuman_Change(MatchTeam* poTeam, std::int32_t iKind);
// Applies the pending formation change, if any.
void cpuman_FormationApply();
// The pending change: 1 when one waits, with its side and formation.
std::int32_t cpuman_PendingGet(MatchTeam** ppoTeam, std::int32_t* piFormation);
void cpuman_ModeInit();
// Mode 85: decides on the first frame, applies the formation on the next
// (at once when entered over the set-piece script) and leaves, handing over
// to the substitution script when substitutions were queued.
void cpuman_ModeRun();

// The row of the table for a formation; null for none.
const std::int32_t* cpuman_RowFind(std::int32_t iFormation);
// Gives the side the formation and every player on the pitch his position
// code and role from his new slot.
void cpuman_TeamFormationSet(MatchTeam* poTeam, std::int32_t iFormation);

// The text of a position code's short name (global text id by code).
std::int32_t formation_PositionStrIdGet(std::int32_t iCode);
const char* formation_PositionStrGet(std::int32_t iCode);
