// Player database blocks, decoded as the squad loader decodes them.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "tournament/dbplayer.h"
#include "tournament/squad.h"

void KorvenaFuzzSeeds(const std::string& dir) {
  // Three records written by our own encoder, and a block cut from the
  // generated database when there is one.
  std::vector<std::uint8_t> block(4 + 3 * DBPLAYER_FILE_SIZE, 0);
  block[2] = 3;
  for (int i = 0; i < 3; i++) {
    DBPlayer p{};
    std::snprintf(p.szName, sizeof p.szName, "Seed Player %d", i);
    p.auPosition[0] = static_cast<std::uint32_t>(i * 5);
    p.uSide = static_cast<std::uint32_t>(i % 3);
    p.uField88 = static_cast<std::uint32_t>(i + 1);
    dbplayer_Encode(&p, &block[4 + DBPLAYER_FILE_SIZE * static_cast<size_t>(i)]);
  }
  korvena_fuzz::WriteSeed(dir, "three.blk", block.data(), block.size());
  const char* build = std::getenv("KORVENA_BUILD_DIR");
  std::ifstream in(std::string(build ? build : ".") + "/data/database/dump/dump.dat", std::ios::binary);
  std::vector<char> dump((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (dump.size() >= 4) {
    const int n = static_cast<unsigned char>(dump[2]) | (static_cast<unsigned char>(dump[3]) << 8);
    const size_t size = 4 + static_cast<size_t>(n) * DBPLAYER_FILE_SIZE;
    if (size <= dump.size()) korvena_fuzz::WriteSeed(dir, "first.blk", dump.data(), size);
  }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static DBPlayer out[TEAM_SQUADSIZE_MAX];
  std::int32_t n = -1;
  if (size > 0x7FFFFFF) return 0;
  if (squadcache_BlockDecode(data, static_cast<std::int32_t>(size), out, TEAM_SQUADSIZE_MAX, &n)) {
    if (n < 0 || n > TEAM_SQUADSIZE_MAX) __builtin_trap();
    for (std::int32_t i = 0; i < n; i++) {
      // A decoded record holds a terminated name and positions in range, and
      // writes back the bytes it was read from.
      if (std::memchr(out[i].szName, 0, sizeof out[i].szName) == nullptr) __builtin_trap();
      if (out[i].auPosition[0] > 24 || out[i].uSide > 2) __builtin_trap();
      std::uint8_t back[DBPLAYER_FILE_SIZE];
      dbplayer_Encode(&out[i], back);
      const std::uint8_t* rec = data + 4 + DBPLAYER_FILE_SIZE * static_cast<size_t>(i);
      if (std::memcmp(back, rec, 92) != 0 || std::memcmp(back + 108, rec + 108, 4) != 0) __builtin_trap();
    }
  }
  return 0;
}
