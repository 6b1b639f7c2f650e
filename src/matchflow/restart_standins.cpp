// The restart modes' enter operations until the modes land.
#include "engine/referee_services.h"

void mthrowin_Start() {}
void freekick_Setup() {}
void penalty_Start() {}
void corner_Setup() {}
void mgoalkic_Start() {}
void mhands_Start() {}
void playon_Enter() {}
void playon_Enter2() {}
void playon_CountSet(std::int32_t) {}
void returnpos_Enter() {}
void returnpos_EnterFade() {}
void returnpos_EnterLong() {}
void returnpos_LeaveSet() {}
