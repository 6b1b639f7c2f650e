// Writes the installed defaults of the machine settings root: the values an
// installation leaves under the product key. The game starts its machine
// root from this file on a first run.
//
//   korvena_settingsgen --out <file>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/settings.h"

namespace {

constexpr const char* kProductKey = "Software\\Ostrelwerk\\Quorrel\\Korvena Football";

struct DWordDefault {
  const char* name;
  uint32_t value;
};

// Installation values, then the video options (all 0: the software renderer).
constexpr DWordDefault kDWords[] = {
    {"LODBias", 2}, {"Language", 0}, {"VidMode", 0}, {"VidRes", 0}, {"VidDevice", 0}, {"GlidePresent", 0},
};

}  // namespace

int main(int argc, char** argv) {
  std::string out;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) out = argv[++i];
  }
  if (out.empty()) {
    std::fprintf(stderr, "usage: %s --out <file>\n", argv[0]);
    return 2;
  }
  // Start from nothing: the output is a function of this program alone.
  std::remove(out.c_str());
  platform::settingsSetRootFile(platform::SettingsRoot::Machine, out);
  platform::SettingsKey* key = platform::settingsOpenKey(platform::SettingsRoot::Machine, kProductKey, true);
  if (!key) {
    std::fprintf(stderr, "korvena_settingsgen: cannot make the product key\n");
    return 1;
  }
  bool ok = platform::settingsWriteString(key, "", "Compact") == platform::SettingsResult::Ok;
  ok = ok && platform::settingsWriteString(key, "VolumeLabel", "Korvena Football") == platform::SettingsResult::Ok;
  for (const DWordDefault& d : kDWords)
    ok = ok && platform::settingsWriteDWord(key, d.name, d.value) == platform::SettingsResult::Ok;
  // Read back what the game will read: the written file must hold exactly
  // these values.
  platform::settingsCloseKey(key);
  ok = ok && platform::settingsFlush(platform::SettingsRoot::Machine);
  platform::settingsReset();
  key = platform::settingsOpenKey(platform::SettingsRoot::Machine, kProductKey, false);
  char text[32];
  uint32_t v = 0;
  ok = ok && key && platform::settingsReadString(key, "", text, sizeof text) == platform::SettingsResult::Ok &&
       std::strcmp(text, "Compact") == 0;
  ok = ok && platform::settingsReadString(key, "VolumeLabel", text, sizeof text) == platform::SettingsResult::Ok &&
       std::strcmp(text, "Korvena Football") == 0;
  for (const DWordDefault& d : kDWords)
    ok = ok && platform::settingsReadDWord(key, d.name, &v) == platform::SettingsResult::Ok && v == d.value;
  platform::settingsCloseKey(key);
  if (!ok) {
    std::fprintf(stderr, "korvena_settingsgen: writing %s failed\n", out.c_str());
    std::remove(out.c_str());
    return 1;
  }
  return 0;
}
