// Stand-ins for what the match-flow modes call in modules other issues
// build: the pause menu's layout and the attract-mode demo's state. Each goes
// when its module lands.
#include "matchflow/mflow_services.h"

void pausemenu_Build() {}
void demo_Start() {}
