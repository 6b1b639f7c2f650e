// Stand-ins for the match-flow and referee operations the clock hands over to
// at a period end, until the period-end sequences and the referee exist: the
// stack then holds the pushed period mode and nothing more happens.
#include "matchflow/clock.h"
#include "matchflow/matcha.h"

void periodbreak_Enter() {}
void periodend_Enter() {}
void referee_DecisionLock() {}
void match_PlayerRemove(Player*) {}
