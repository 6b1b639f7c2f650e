#pragma once
// The one table between the window system's key codes and the keyboard scan
// codes the game uses (the PC set-1 codes, 0x80 added for the extended keys:
// 0xC8 up arrow, 0x9D right Ctrl, 0xB8 right Alt ...). No SDL types here: the
// SDL side of the table stays inside src/platform/.
#include <cstdint>

namespace platform {

// The game's scan code for an SDL scancode value, 0 when the key has none.
uint8_t scanCodeFromSdl(int sdlScancode);
// The SDL scancode value of a scan code, -1 when no key produces it.
int sdlScancodeFromScanCode(uint8_t scanCode);
// Short upper-case name of a scan code ("Z", "LSHIFT", "UP", "NUMPAD2"),
// null for a code no key produces.
const char* scanCodeName(uint8_t scanCode);
// A scan code from a name (any case) or a number ("44", "0x2C"); 0 when
// neither.
uint8_t scanCodeFromName(const char* name);

}  // namespace platform
