// The World Cup winner (mode 75).
#include "frontend/frontend_services.h"
#include "frontend/wcqual.h"

WCCaptionScreen wcwin_oScreen;

void wcwin_Enter() { wc_CaptionEnter(&wcwin_oScreen, WC_MODE_WINNER); }
void wcwin_Input(User* poUser) { wc_EventsDrain(poUser); }
void wcwin_Run() { wc_CaptionRun(&wcwin_oScreen, WC_MODE_WINNER); }
