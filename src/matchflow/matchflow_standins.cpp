// Stand-ins for the match-flow, referee and computer-manager operations the
// clock and the match record call, until those modules exist: the stack then
// holds the pushed period mode and nothing more happens; the referee's flags
// are kept and read back; no line-up display.
#include "matchflow/clock.h"
#include "matchflow/matcha.h"

void periodbreak_Enter() {}
void periodend_Enter() {}
void referee_DecisionLock() {}

namespace {
std::int32_t s_bGoldenGoal = 0;
std::int32_t s_bMatchOver = 0;
std::int32_t s_bNoSendOffs = 0;
}  // namespace

void referee_GoldenGoalSet(std::int32_t bFlag) { s_bGoldenGoal = bFlag; }
std::int32_t referee_GoldenGoalGet() { return s_bGoldenGoal; }
void referee_MatchOverSet(std::int32_t bFlag) { s_bMatchOver = bFlag; }
std::int32_t referee_MatchOverGet() { return s_bMatchOver; }
void referee_NoSendOffsSet() { s_bNoSendOffs = 1; }
void referee_NoSendOffsClear() { s_bNoSendOffs = 0; }
void refact_Init() {}
void cpuman_Arm() {}
void demo_StopRequest() {}

// The walk-on's team line-up display.
void matchflow_LineupDraw() {}

