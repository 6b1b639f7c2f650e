#pragma once
// Helpers the screen tests share: presses queued on the ports, idle users and
// the sprite sizes of a generated sheet.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <utility>
#include <vector>

#include "shell/global.h"
#include "shell/input.h"
#include "shell/list.h"
#include "shell/user.h"

// An input event of the code queued on a port, as a press would.
inline void FrontEndPushTo(InputPort* poPort, int code) {
  InputEvent* e = nullptr;
  ASSERT_TRUE(input_bEventAlloc(&e));
  e->eEvent = code;
  queue_Append(&poPort->oEvents, &e->oLink);
}

// The same on the first port.
inline void FrontEndPush(int code) { FrontEndPushTo(input_poGetPort(0), code); }

// The codes queued on the first port, then one input step of a screen for
// the first user: what the step returns.
inline int FrontEndKeys(std::int32_t (*pfnInput)(User*), std::initializer_list<int> codes) {
  for (int c : codes) FrontEndPush(c);
  return pfnInput(&user_aUsers[0]);
}

// Every user idle on its own port with nothing queued, and no home or away
// user.
inline void FrontEndUsersIdle() {
  for (int i = 0; i < USER_MAX; i++) {
    User& u = user_aUsers[i];
    u.pip = input_poGetPort(i);
    u.bActive = 0;
    u.MyTeam = 0;
    input_EventQueueFlush(&u.pip->oEvents);
  }
  global_SetHomeUser(nullptr);
  global_SetAwayUser(nullptr);
}

// The (width, height) of every sprite of a generated sheet file, from its
// frame table; empty when the file holds none.
inline std::vector<std::pair<int, int>> FrontEndSheetSpriteSizes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto u16 = [&](std::size_t i) { return static_cast<int>(b.at(i) | (b.at(i + 1) << 8)); };
  auto u32 = [&](std::size_t i) {
    return static_cast<std::size_t>(u16(i)) | (static_cast<std::size_t>(u16(i + 2)) << 16);
  };
  std::size_t count = 0, table = 0;
  for (std::size_t at = 0; at + 6 <= b.size();) {
    const int id = u16(at);
    const std::size_t len = u32(at + 2);
    if (len < 6) break;
    if (id == 2) count = static_cast<std::size_t>(u16(at + 6));
    if (id == 6) table = at + 6;
    at += len;
  }
  std::vector<std::pair<int, int>> v;
  for (std::size_t i = 0; table && i < count; i++) v.push_back({u16(table + 10 * i), u16(table + 10 * i + 2)});
  return v;
}
