#pragma once
// The history mode's presentation screens over a film: the edition's
// introduction (mode 79), qualification (76), elimination (77 not qualified,
// 78 knocked out) and the winner (75). Each plays its film, the three caption
// screens print their caption over it, and all hand over to the news screen
// (mode 57).
#include <cstdint>

struct User;

enum : int32_t {
  WC_MODE_WINNER = 75,
  WC_MODE_QUALIFIED = 76,
  WC_MODE_NOT_QUALIFIED = 77,
  WC_MODE_ELIMINATED = 78,
  WC_MODE_INTRO = 79,
  WC_CAPTION_FRAMES = 200,
  WC_BINDING_INTRO = 47,
  WC_BINDING_CAPTION = 43,
};

struct WCCaptionScreen {
  int32_t bNeedsEnter = 1;
  int32_t bMovieEnded = 0;
  int32_t iCountdown = WC_CAPTION_FRAMES;
  int32_t xLeft = -472, xRight = 984;
};

// The film of a caption screen's mode in a language, or of the introduction
// of a tournament year (58..98); -1 for a language or year outside the tables.
int32_t wc_MovieGet(int32_t iMode, int32_t iLanguage, int32_t iYear);
// The caption lines of a mode in the current language: up to four, with
// their y; returns the count.
struct WCCaptionLine {
  int32_t y;
  char sz[64];
};
int32_t wc_CaptionGet(int32_t iMode, WCCaptionLine* paoLines);

void wc_CaptionEnter(WCCaptionScreen* po, int32_t iMode);
// The caption screens take no input: a user's events are drained.
void wc_EventsDrain(User* poUser);
void wc_CaptionRun(WCCaptionScreen* po, int32_t iMode);

extern WCCaptionScreen wcwin_oScreen, wcqual_oScreen, wcelim_oScreen;
void wcwin_Enter();
void wcqual_Enter();
void wcelim_Enter();
void wcintro_Enter();
void wcwin_Input(User* poUser);
void wcqual_Input(User* poUser);
void wcelim_Input(User* poUser);
void wcintro_Input(User* poUser);
