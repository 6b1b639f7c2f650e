#pragma once
// The history set-up screen (game mode 45), where a new history is
// configured before the human team is chosen, and the history settings it
// edits.
#include <cstdint>

struct User;

struct MFHSettings {
  std::int32_t iStartYear;       // two digits, 58..98 in steps of 4
  std::int32_t cHumanTeams;
  std::int32_t bPlayQualifiers;
  std::int32_t bSecondOption;
  std::int32_t iMatchLength;     // minutes: 5, 10 or 15
};
extern MFHSettings mfhsetup_oSettings;

struct MFHSetupScreen {
  std::int32_t bNeedsEnter;
  std::int32_t bDefaultsArmed;  // the next Enter sets the defaults
  std::int32_t iCursor;         // 0 start year, 1 play qualifiers, 2 match length
};
extern MFHSetupScreen mfhsetup_oScreen;

constexpr std::int32_t MFHSETUP_MODE = 45;
constexpr std::int32_t MFHSETUP_SHEET = 15;  // "fhset"
constexpr std::int32_t MFHSETUP_ROWS = 3;

void mfhsetup_DefaultsSet();
void mfhsetup_Reset();
void mfhsetup_Enter();
void mfhsetup_Draw();
// Drains the user's events; the next game mode (45 to stay).
std::int32_t mfhsetup_Input(User* poUser);
void mfhsetup_Run();

