#pragma once
// The history fixtures screen (game mode 48): the human team's fixtures of
// its current round in date order, five at a time, with date, opponent,
// venue and kind; friendlies whose teams are given by name are arranged here
// (the opponent chosen on the world map, then home or away).
#include <cstdint>
#include <vector>

struct Fixture;
struct Round;
struct User;
struct Year;

constexpr std::int32_t MFHFIXTR_MODE = 48;
constexpr std::int32_t MFHFIXTR_SHEET = 10;  // "fhfl"
constexpr std::int32_t MFHFIXTR_WINDOW = 5;

struct MFHFixtrScreen {
  std::int32_t bNeedsEnter;
  std::int32_t bVisited;       // the cursor fixture is kept after the first visit
  std::int32_t iCursor;        // among the round's fixtures of a human team
  std::int32_t bInList;        // 0: on the buttons
  std::int32_t bOnFixtures;    // the highlighted button: 1 "Fixtures", 0 "Exit"
  std::int32_t bRowMode;       // 1: Up/Down between fixtures; 0: Left/Right the venue
  std::int32_t iFirst, iLast;  // the visible window, the last index exclusive
};
extern MFHFixtrScreen mfhfixtr_oScreen;

// The human team's current round: the round of its next fixture, else the
// last round (in tree order) that lists it; null when none does.
Round* mfhfixtr_RoundFind(Year* y, std::uint32_t Name);
// The round's fixtures of a human team, in date order (equal dates keep the
// round's order).
std::vector<Fixture*> mfhfixtr_ListBuild(const Round* r);

void mfhfixtr_Reset();
void mfhfixtr_Enter();
void mfhfixtr_Draw();
// The menu user's events; the next game mode (48 to stay).
std::int32_t mfhfixtr_Input(User* poUser);
void mfhfixtr_Run();
