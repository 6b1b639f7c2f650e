#pragma once
// The history hub (game mode 47): the human team's next fixture, its squad
// and tactics, the opponent and the other history screens.
#include <cstdint>

struct User;

constexpr std::int32_t MFHMAIN_MODE = 47;
constexpr std::int32_t MFHMAIN_ITEMS = 8;

struct MFHMainScreen {
  std::int32_t bNeedsEnter;
  std::int32_t iCursor;         // 0..7: the left column 0..3, the right 4..7
  std::int32_t bTeamChoice;     // choosing the current one of several human teams
  std::int32_t iTeamChoice;
  std::int32_t bQuitBox;        // "Quit History?" shows
  std::int32_t iQuitChoice;     // 0 Yes, 1 No
  std::int32_t iInputDelay;     // frames before back may open the quit box
  std::int32_t bHistoryOver;
  std::int32_t cEditionsPlayed;
  std::int32_t bFinals;         // "Choose Squad" is not available
};
extern MFHMainScreen mfhmain_oScreen;

void mfhmain_Reset();
void mfhmain_Enter();
void mfhmain_Draw();
// The menu user's events; the next game mode (47 to stay).
std::int32_t mfhmain_Input(User* poUser);
void mfhmain_Run();
// 1 when the current human team has an unplayed fixture in the current year.
std::int32_t mfhmain_bHasNextFixture();
