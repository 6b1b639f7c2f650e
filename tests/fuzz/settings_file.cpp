// Settings files: a root read from the file and the installation values read
// as the game reads them; for inputs of odd length one value is also written,
// the root written and read back.
#include <string>

#include "fuzz_support.h"
#include "platform/settings.h"

namespace {

constexpr const char* kKey = "Software\\Ostrelwerk\\Quorrel\\Korvena Football";

}  // namespace

void KorvenaFuzzSeeds(const std::string& dir) {
  // The settings writer's own output.
  platform::settingsSetRootFile(platform::SettingsRoot::Machine, dir + "/machine.txt");
  platform::settingsReset();
  platform::SettingsKey* key = platform::settingsOpenKey(platform::SettingsRoot::Machine, kKey, true);
  const uint8_t blob[6] = {0, 0xFF, 0x22, 0x5C, 0x0A, 0x80};
  platform::settingsWriteString(key, "", "Compact");
  platform::settingsWriteString(key, "VolumeLabel", "Korvena Football");
  platform::settingsWriteDWord(key, "LODBias", 2);
  platform::settingsWriteDWord(key, "Language", 3);
  platform::settingsWriteString(key, "Quote \"and\" \\slash", "line\nbreak \x93quoted\x94 caf\xE9");
  platform::settingsWriteBinary(key, "Blob", blob, sizeof blob);
  platform::settingsCloseKey(key);
  platform::settingsReset();
  platform::settingsSetRootFile(platform::SettingsRoot::Machine, "");
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = korvena_fuzz::WriteInput(data, size, "machine.txt");
  platform::settingsSetRootFile(platform::SettingsRoot::Machine, path);
  platform::settingsReset();
  if (platform::SettingsKey* key = platform::settingsOpenKey(platform::SettingsRoot::Machine, kKey, true)) {
    char text[64];
    uint32_t value = 0, got = 0;
    uint8_t blob[32];
    platform::settingsReadString(key, "", text, sizeof text);
    platform::settingsReadString(key, "VolumeLabel", text, sizeof text);
    platform::settingsReadDWord(key, "LODBias", &value);
    platform::settingsReadDWord(key, "Language", &value);
    platform::settingsReadBinary(key, "Blob", blob, sizeof blob, &got);
    // Every other input is also written back (the writer syncs the file to
    // disc, which is the slow part).
    if (size & 1) platform::settingsWriteDWord(key, "VidMode", 0x1234);
    platform::settingsCloseKey(key);
  }
  if (!(size & 1)) {
    platform::settingsReset();
    return 0;
  }
  // What the writer wrote reads back.
  platform::settingsReset();
  platform::SettingsKey* key = platform::settingsOpenKey(platform::SettingsRoot::Machine, kKey, false);
  uint32_t back = 0;
  if (key && platform::settingsReadDWord(key, "VidMode", &back) == platform::SettingsResult::Ok && back != 0x1234)
    korvena_fuzz::Fail("a written value read back different");
  platform::settingsCloseKey(key);
  platform::settingsReset();
  return 0;
}
