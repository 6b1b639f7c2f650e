// Stand-ins for the match-flow and computer-manager operations the clock, the
// match record and the referee call, until those modules exist: the stack
// then holds the pushed mode and nothing more happens; no line-up display.
#include "engine/referee_services.h"
#include "matchflow/clock.h"
#include "matchflow/matcha.h"

void periodbreak_Enter() {}
void periodend_Enter() {}

// The walk-on's team line-up display.
void matchflow_LineupDraw() {}

// What the referee pushes: the goal and period-end modes, substitutions
// (none pending) and the computer manager.
void kickoffwait_Enter() {}
void celebrate_Enter() {}
void mftime_Enter() {}
