// Elimination: not qualified for the finals (mode 77) or knocked out (78).
#include "frontend/frontend_services.h"
#include "frontend/wcqual.h"
#include "shell/global.h"

WCCaptionScreen wcelim_oScreen;

static int32_t ModeGet() {
  return static_cast<int32_t>(global_eGetGameMode()) == WC_MODE_ELIMINATED ? WC_MODE_ELIMINATED : WC_MODE_NOT_QUALIFIED;
}

void wcelim_Enter() { wc_CaptionEnter(&wcelim_oScreen, ModeGet()); }
void wcelim_Input(User* poUser) { wc_EventsDrain(poUser); }
void wcelim_Run() { wc_CaptionRun(&wcelim_oScreen, ModeGet()); }
