#include "platform/input_scancodes.h"

#include <SDL.h>

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

struct ScanCodeEntry {
  uint8_t scanCode;
  SDL_Scancode sdl;
  const char* name;
};

// Every key the game can read, once. Keys without a scan code of their own
// (media keys and the like) are not listed and read as nothing.
constexpr ScanCodeEntry kScanCodes[] = {
    {0x01, SDL_SCANCODE_ESCAPE, "ESCAPE"},
    {0x02, SDL_SCANCODE_1, "1"},
    {0x03, SDL_SCANCODE_2, "2"},
    {0x04, SDL_SCANCODE_3, "3"},
    {0x05, SDL_SCANCODE_4, "4"},
    {0x06, SDL_SCANCODE_5, "5"},
    {0x07, SDL_SCANCODE_6, "6"},
    {0x08, SDL_SCANCODE_7, "7"},
    {0x09, SDL_SCANCODE_8, "8"},
    {0x0A, SDL_SCANCODE_9, "9"},
    {0x0B, SDL_SCANCODE_0, "0"},
    {0x0C, SDL_SCANCODE_MINUS, "MINUS"},
    {0x0D, SDL_SCANCODE_EQUALS, "EQUALS"},
    {0x0E, SDL_SCANCODE_BACKSPACE, "BACK"},
    {0x0F, SDL_SCANCODE_TAB, "TAB"},
    {0x10, SDL_SCANCODE_Q, "Q"},
    {0x11, SDL_SCANCODE_W, "W"},
    {0x12, SDL_SCANCODE_E, "E"},
    {0x13, SDL_SCANCODE_R, "R"},
    {0x14, SDL_SCANCODE_T, "T"},
    {0x15, SDL_SCANCODE_Y, "Y"},
    {0x16, SDL_SCANCODE_U, "U"},
    {0x17, SDL_SCANCODE_I, "I"},
    {0x18, SDL_SCANCODE_O, "O"},
    {0x19, SDL_SCANCODE_P, "P"},
    {0x1A, SDL_SCANCODE_LEFTBRACKET, "LBRACKET"},
    {0x1B, SDL_SCANCODE_RIGHTBRACKET, "RBRACKET"},
    {0x1C, SDL_SCANCODE_RETURN, "RETURN"},
    {0x1D, SDL_SCANCODE_LCTRL, "LCONTROL"},
    {0x1E, SDL_SCANCODE_A, "A"},
    {0x1F, SDL_SCANCODE_S, "S"},
    {0x20, SDL_SCANCODE_D, "D"},
    {0x21, SDL_SCANCODE_F, "F"},
    {0x22, SDL_SCANCODE_G, "G"},
    {0x23, SDL_SCANCODE_H, "H"},
    {0x24, SDL_SCANCODE_J, "J"},
    {0x25, SDL_SCANCODE_K, "K"},
    {0x26, SDL_SCANCODE_L, "L"},
    {0x27, SDL_SCANCODE_SEMICOLON, "SEMICOLON"},
    {0x28, SDL_SCANCODE_APOSTROPHE, "APOSTROPHE"},
    {0x29, SDL_SCANCODE_GRAVE, "GRAVE"},
    {0x2A, SDL_SCANCODE_LSHIFT, "LSHIFT"},
    {0x2B, SDL_SCANCODE_BACKSLASH, "BACKSLASH"},
    {0x2C, SDL_SCANCODE_Z, "Z"},
    {0x2D, SDL_SCANCODE_X, "X"},
    {0x2E, SDL_SCANCODE_C, "C"},
    {0x2F, SDL_SCANCODE_V, "V"},
    {0x30, SDL_SCANCODE_B, "B"},
    {0x31, SDL_SCANCODE_N, "N"},
    {0x32, SDL_SCANCODE_M, "M"},
    {0x33, SDL_SCANCODE_COMMA, "COMMA"},
    {0x34, SDL_SCANCODE_PERIOD, "PERIOD"},
    {0x35, SDL_SCANCODE_SLASH, "SLASH"},
    {0x36, SDL_SCANCODE_RSHIFT, "RSHIFT"},
    {0x37, SDL_SCANCODE_KP_MULTIPLY, "MULTIPLY"},
    {0x38, SDL_SCANCODE_LALT, "LMENU"},
    {0x39, SDL_SCANCODE_SPACE, "SPACE"},
    {0x3A, SDL_SCANCODE_CAPSLOCK, "CAPITAL"},
    {0x3B, SDL_SCANCODE_F1, "F1"},
    {0x3C, SDL_SCANCODE_F2, "F2"},
    {0x3D, SDL_SCANCODE_F3, "F3"},
    {0x3E, SDL_SCANCODE_F4, "F4"},
    {0x3F, SDL_SCANCODE_F5, "F5"},
    {0x40, SDL_SCANCODE_F6, "F6"},
    {0x41, SDL_SCANCODE_F7, "F7"},
    {0x42, SDL_SCANCODE_F8, "F8"},
    {0x43, SDL_SCANCODE_F9, "F9"},
    {0x44, SDL_SCANCODE_F10, "F10"},
    {0x45, SDL_SCANCODE_NUMLOCKCLEAR, "NUMLOCK"},
    {0x46, SDL_SCANCODE_SCROLLLOCK, "SCROLL"},
    {0x47, SDL_SCANCODE_KP_7, "NUMPAD7"},
    {0x48, SDL_SCANCODE_KP_8, "NUMPAD8"},
    {0x49, SDL_SCANCODE_KP_9, "NUMPAD9"},
    {0x4A, SDL_SCANCODE_KP_MINUS, "SUBTRACT"},
    {0x4B, SDL_SCANCODE_KP_4, "NUMPAD4"},
    {0x4C, SDL_SCANCODE_KP_5, "NUMPAD5"},
    {0x4D, SDL_SCANCODE_KP_6, "NUMPAD6"},
    {0x4E, SDL_SCANCODE_KP_PLUS, "ADD"},
    {0x4F, SDL_SCANCODE_KP_1, "NUMPAD1"},
    {0x50, SDL_SCANCODE_KP_2, "NUMPAD2"},
    {0x51, SDL_SCANCODE_KP_3, "NUMPAD3"},
    {0x52, SDL_SCANCODE_KP_0, "NUMPAD0"},
    {0x53, SDL_SCANCODE_KP_PERIOD, "DECIMAL"},
    {0x56, SDL_SCANCODE_NONUSBACKSLASH, "OEM_102"},
    {0x57, SDL_SCANCODE_F11, "F11"},
    {0x58, SDL_SCANCODE_F12, "F12"},
    {0x64, SDL_SCANCODE_F13, "F13"},
    {0x65, SDL_SCANCODE_F14, "F14"},
    {0x66, SDL_SCANCODE_F15, "F15"},
    {0x70, SDL_SCANCODE_INTERNATIONAL2, "KANA"},
    {0x73, SDL_SCANCODE_INTERNATIONAL1, "ABNT_C1"},
    {0x79, SDL_SCANCODE_INTERNATIONAL4, "CONVERT"},
    {0x7B, SDL_SCANCODE_INTERNATIONAL5, "NOCONVERT"},
    {0x7D, SDL_SCANCODE_INTERNATIONAL3, "YEN"},
    {0x7E, SDL_SCANCODE_KP_COMMA, "ABNT_C2"},
    {0x8D, SDL_SCANCODE_KP_EQUALS, "NUMPADEQUALS"},
    {0x9C, SDL_SCANCODE_KP_ENTER, "NUMPADENTER"},
    {0x9D, SDL_SCANCODE_RCTRL, "RCONTROL"},
    {0xB5, SDL_SCANCODE_KP_DIVIDE, "DIVIDE"},
    {0xB7, SDL_SCANCODE_PRINTSCREEN, "SYSRQ"},
    {0xB8, SDL_SCANCODE_RALT, "RMENU"},
    {0xC5, SDL_SCANCODE_PAUSE, "PAUSE"},
    {0xC7, SDL_SCANCODE_HOME, "HOME"},
    {0xC8, SDL_SCANCODE_UP, "UP"},
    {0xC9, SDL_SCANCODE_PAGEUP, "PRIOR"},
    {0xCB, SDL_SCANCODE_LEFT, "LEFT"},
    {0xCD, SDL_SCANCODE_RIGHT, "RIGHT"},
    {0xCF, SDL_SCANCODE_END, "END"},
    {0xD0, SDL_SCANCODE_DOWN, "DOWN"},
    {0xD1, SDL_SCANCODE_PAGEDOWN, "NEXT"},
    {0xD2, SDL_SCANCODE_INSERT, "INSERT"},
    {0xD3, SDL_SCANCODE_DELETE, "DELETE"},
    {0xDB, SDL_SCANCODE_LGUI, "LWIN"},
    {0xDC, SDL_SCANCODE_RGUI, "RWIN"},
    {0xDD, SDL_SCANCODE_APPLICATION, "APPS"},
};

struct Tables {
  uint8_t fromSdl[SDL_NUM_SCANCODES] = {};
  int toSdl[256];
  const char* names[256] = {};
  Tables() {
    for (int& s : toSdl) s = -1;
    for (const ScanCodeEntry& e : kScanCodes) {
      fromSdl[e.sdl] = e.scanCode;
      toSdl[e.scanCode] = e.sdl;
      names[e.scanCode] = e.name;
    }
  }
};

const Tables& tables() {
  static const Tables t;
  return t;
}

}  // namespace

uint8_t scanCodeFromSdl(int sdlScancode) {
  if (sdlScancode < 0 || sdlScancode >= SDL_NUM_SCANCODES) return 0;
  return tables().fromSdl[sdlScancode];
}

int sdlScancodeFromScanCode(uint8_t scanCode) { return tables().toSdl[scanCode]; }

const char* scanCodeName(uint8_t scanCode) { return tables().names[scanCode]; }

uint8_t scanCodeFromName(const char* name) {
  if (!name || !*name) return 0;
  if (std::isdigit(static_cast<unsigned char>(name[0])) && name[1] != '\0') {
    char* end = nullptr;
    long v = std::strtol(name, &end, 0);
    if (end && *end == '\0') return (v > 0 && v < 256) ? static_cast<uint8_t>(v) : 0;
  }
  for (const ScanCodeEntry& e : kScanCodes) {
    const char* a = e.name;
    const char* b = name;
    while (*a && *b && std::toupper(static_cast<unsigned char>(*b)) == *a) {
      ++a;
      ++b;
    }
    if (*a == '\0' && *b == '\0') return e.scanCode;
  }
  return 0;
}

}  // namespace platform
