#pragma once
// The match conditions screen (front-end mode 20): the last screen before a
// friendly or a training match, nine rules of the coming match and "Kick
// Off". The rules live in the game's options block, where the match code
// reads them through the getters of frontend_services.h.
#include <cstdint>

struct User;

enum : std::int32_t {
  MCONDI_ROWS = 10,
  MCONDI_ROW_KICK_OFF = 9,
  MCONDI_SHEET = 0,
  MCONDI_BINDING = 13,
};

extern std::int32_t mcondi_iRow;
extern std::int32_t mcondi_bNeedsEnter;
extern std::int32_t mcondi_bDefaultsApplied;

void mcondi_Enter();
void mcondi_Draw();
std::int32_t mcondi_Input(User* pusr);
void mcondi_DefaultsSet();
// The value of row 0 to 8 as the block holds it.
std::int32_t mcondi_ValueGet(std::int32_t iRow);
