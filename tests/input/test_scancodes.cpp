// The table between SDL scancodes and the game's scan codes.
#include <gtest/gtest.h>

#include <set>

#include "platform/input_scancodes.h"

namespace {

TEST(ScanCodes, TableIsOneToOneAndNamed) {
  int mapped = 0;
  std::set<int> sdlCodes;
  for (int code = 1; code < 256; ++code) {
    int sdl = platform::sdlScancodeFromScanCode(static_cast<uint8_t>(code));
    if (sdl < 0) {
      EXPECT_EQ(platform::scanCodeName(static_cast<uint8_t>(code)), nullptr);
      continue;
    }
    ++mapped;
    EXPECT_TRUE(sdlCodes.insert(sdl).second) << "SDL scancode used twice: " << sdl;
    EXPECT_EQ(platform::scanCodeFromSdl(sdl), code);
    const char* name = platform::scanCodeName(static_cast<uint8_t>(code));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(platform::scanCodeFromName(name), code) << name;
  }
  EXPECT_GE(mapped, 100);
  EXPECT_EQ(platform::scanCodeFromSdl(-1), 0);
  EXPECT_EQ(platform::scanCodeFromSdl(100000), 0);
  EXPECT_EQ(platform::sdlScancodeFromScanCode(0), -1);
}

TEST(ScanCodes, NamesAndNumbers) {
  EXPECT_EQ(platform::scanCodeFromName("z"), 0x2C);
  EXPECT_EQ(platform::scanCodeFromName("LShift"), 0x2A);
  EXPECT_EQ(platform::scanCodeFromName("44"), 44);
  EXPECT_EQ(platform::scanCodeFromName("0xC8"), 0xC8);
  EXPECT_EQ(platform::scanCodeFromName("1"), 0x02);  // the key "1", not scan code 1
  EXPECT_EQ(platform::scanCodeFromName("0x100"), 0);
  EXPECT_EQ(platform::scanCodeFromName("NOPE"), 0);
  EXPECT_EQ(platform::scanCodeFromName(""), 0);
  EXPECT_EQ(platform::scanCodeFromName(nullptr), 0);
  // The extended keys carry 0x80.
  EXPECT_STREQ(platform::scanCodeName(0xC8), "UP");
  EXPECT_STREQ(platform::scanCodeName(0x9D), "RCONTROL");
  EXPECT_STREQ(platform::scanCodeName(0xB8), "RMENU");
}

}  // namespace
