#pragma once
// The roll of honour (game mode 56): the first four of each World Cup from
// 1958 to 1998, one edition at a time; reached from the hub and the news.
#include <cstdint>

struct User;

constexpr std::int32_t MFHROLE_MODE = 56;
constexpr std::int32_t MFHROLE_SHEET = 14;  // "fhroh"
constexpr std::int32_t MFHROLE_LAST_EDITION = 10;

struct MFHRoleScreen {
  std::int32_t bNeedsEnter;
  std::int32_t iEdition;   // shown, 0..10
  std::int32_t bBrowsing;  // 1: Left/Right browse; 0: "Exit" is highlighted
  std::int32_t cUsers;     // active users at enter
};
extern MFHRoleScreen mfhrole_oScreen;
// Set by the news screen before it sends mode 56: leaving goes back to the
// news (mode 57) with its arrival flag.
extern std::int32_t mfhrole_bFromNews;

void mfhrole_Reset();
void mfhrole_Enter();
void mfhrole_Draw();
// The menu user's events; the next game mode (56 to stay).
std::int32_t mfhrole_Input(User* poUser);
void mfhrole_Run();
