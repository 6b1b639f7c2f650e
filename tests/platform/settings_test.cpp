#include "platform/settings.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "platform/tempfiles.h"
#include "support/temp_dir.h"

using namespace platform;
using korvena_test::readFile;
using korvena_test::TempDir;

namespace {

constexpr const char* kKey = "Software\\Ostrelwerk\\Quorrel\\Korvena Football";

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settingsSetRootFile(SettingsRoot::Machine, dir_ / "machine.txt");
    settingsSetRootFile(SettingsRoot::User, dir_ / "config/user.txt");
  }
  void TearDown() override {
    settingsSetRootFile(SettingsRoot::Machine, "");
    settingsSetRootFile(SettingsRoot::User, "");
  }
  TempDir dir_;
};

TEST_F(SettingsTest, ValuesOfEveryTypeSurviveAWriteAndAFreshRead) {
  SettingsKey* key = settingsOpenKey(SettingsRoot::Machine, kKey, true);
  ASSERT_NE(key, nullptr);
  const unsigned char blob[] = {0x00, 0xFF, 0x22, 0x5C, 0x0A, 0x80};
  EXPECT_EQ(settingsWriteString(key, "", "Compact"), SettingsResult::Ok);
  EXPECT_EQ(settingsWriteString(key, "Quote \"and\" \\slash", "line\nbreak \x93quoted\x94 caf\xE9"), SettingsResult::Ok);
  EXPECT_EQ(settingsWriteDWord(key, "LODBias", 0xDEADBEEF), SettingsResult::Ok);
  EXPECT_EQ(settingsWriteBinary(key, "Blob", blob, sizeof blob), SettingsResult::Ok);
  EXPECT_EQ(settingsWriteBinary(key, "Empty", nullptr, 0), SettingsResult::Ok);
  settingsCloseKey(key);  // closing writes the changed root

  settingsReset();
  key = settingsOpenKey(SettingsRoot::Machine, "software/ostrelwerk/QUORREL/korvena football/", false);
  ASSERT_NE(key, nullptr);
  char text[64];
  EXPECT_EQ(settingsReadString(key, "", text, sizeof text), SettingsResult::Ok);
  EXPECT_STREQ(text, "Compact");
  EXPECT_EQ(settingsReadString(key, "quote \"AND\" \\SLASH", text, sizeof text), SettingsResult::Ok);
  EXPECT_STREQ(text, "line\nbreak \x93quoted\x94 caf\xE9");
  uint32_t v = 0;
  EXPECT_EQ(settingsReadDWord(key, "lodbias", &v), SettingsResult::Ok);
  EXPECT_EQ(v, 0xDEADBEEFu);
  unsigned char back[16] = {};
  uint32_t size = 0;
  EXPECT_EQ(settingsReadBinary(key, "BLOB", back, sizeof back, &size), SettingsResult::Ok);
  ASSERT_EQ(size, sizeof blob);
  EXPECT_EQ(std::memcmp(back, blob, sizeof blob), 0);
  EXPECT_EQ(settingsReadBinary(key, "Empty", back, sizeof back, &size), SettingsResult::Ok);
  EXPECT_EQ(size, 0u);
  // Names match without regard to case as game file names do, accented
  // Windows-1252 capitals included.
  EXPECT_EQ(settingsWriteDWord(key, "\xC9quipe \x8A\x9F", 5), SettingsResult::Ok);
  EXPECT_EQ(settingsReadDWord(key, "\xE9QUIPE \x9A\xFF", &v), SettingsResult::Ok);
  EXPECT_EQ(v, 5u);
  settingsCloseKey(key);
  // The file is plain text.
  std::string file = readFile(dir_ / "machine.txt");
  EXPECT_NE(file.find("\"LODBias\"=dword:deadbeef\n"), std::string::npos) << file;
  EXPECT_NE(file.find("@=string:\"Compact\"\n"), std::string::npos) << file;
}

TEST_F(SettingsTest, TheTwoRootsAreSeparateFiles) {
  SettingsKey* m = settingsOpenKey(SettingsRoot::Machine, kKey, true);
  SettingsKey* u = settingsOpenKey(SettingsRoot::User, kKey, true);
  settingsWriteDWord(m, "Language", 1);
  settingsWriteDWord(u, "Language", 2);
  settingsCloseKey(m);
  settingsCloseKey(u);
  settingsReset();
  uint32_t v = 0;
  m = settingsOpenKey(SettingsRoot::Machine, kKey, false);
  u = settingsOpenKey(SettingsRoot::User, kKey, false);
  ASSERT_TRUE(m && u);
  settingsReadDWord(m, "Language", &v);
  EXPECT_EQ(v, 1u);
  settingsReadDWord(u, "Language", &v);
  EXPECT_EQ(v, 2u);
  settingsCloseKey(m);
  settingsCloseKey(u);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "config/user.txt"));
}

// Each root's folder is synced after the rename that puts its file in
// place: the sync sees the new file and no temporary one beside it.
std::vector<std::string> g_aSyncs;
int FolderSyncTraced(int, const char* hostDir) {
  std::string seen = hostDir;
  for (const auto& e : std::filesystem::directory_iterator(hostDir)) {
    const std::string n = e.path().filename().string();
    if (n.find(".tmp.") != std::string::npos) seen += " temporary";
    else if (n == "machine.txt" || n == "user.txt") seen += " " + readFile(e.path()).substr(0, 4);
  }
  g_aSyncs.push_back(seen);
  return 0;
}

TEST_F(SettingsTest, EachRootsFolderIsSyncedAfterItsFileIsRenamedIntoPlace) {
  g_aSyncs.clear();
  folderSyncFnSet(FolderSyncTraced);
  for (SettingsRoot r : {SettingsRoot::Machine, SettingsRoot::User}) {
    SettingsKey* k = settingsOpenKey(r, kKey, true);
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(settingsWriteDWord(k, "Language", 3), SettingsResult::Ok);
    settingsCloseKey(k);
  }
  folderSyncFnSet(nullptr);
  ASSERT_EQ(g_aSyncs.size(), 2u);
  const std::string head = readFile(dir_ / "machine.txt").substr(0, 4);
  ASSERT_FALSE(head.empty());
  EXPECT_EQ(g_aSyncs[0], dir_.path() + " " + head);
  EXPECT_EQ(g_aSyncs[1], (dir_ / "config") + " " + readFile(dir_ / "config/user.txt").substr(0, 4));
}

TEST_F(SettingsTest, MissingKeysAndValuesAndWrongTypesAreReported) {
  EXPECT_EQ(settingsOpenKey(SettingsRoot::User, kKey, false), nullptr);
  EXPECT_FALSE(settingsKeyExists(SettingsRoot::User, kKey));
  SettingsKey* key = settingsOpenKey(SettingsRoot::User, kKey, true);
  EXPECT_TRUE(settingsKeyExists(SettingsRoot::User, kKey));
  uint32_t v = 77;
  EXPECT_EQ(settingsReadDWord(key, "Nothing", &v), SettingsResult::Missing);
  EXPECT_EQ(v, 77u);
  settingsWriteString(key, "VidMode", "2");
  EXPECT_EQ(settingsReadDWord(key, "VidMode", &v), SettingsResult::WrongType);
  EXPECT_EQ(v, 77u);  // nothing copied
  char text[8] = "xxxxxxx";
  settingsWriteDWord(key, "Name", 5);
  EXPECT_EQ(settingsReadString(key, "Name", text, sizeof text), SettingsResult::WrongType);
  // A raw query reports the stored type and size.
  SettingsType type;
  uint32_t size = 0;
  unsigned char raw[4];
  EXPECT_EQ(settingsQuery(key, "VidMode", &type, raw, sizeof raw, &size), SettingsResult::Ok);
  EXPECT_EQ(type, SettingsType::String);
  EXPECT_EQ(size, 2u);  // "2" and its terminator
  EXPECT_EQ(std::memcmp(raw, "2", 2), 0);
  // A write replaces the value whatever its type.
  EXPECT_EQ(settingsWriteDWord(key, "VidMode", 2), SettingsResult::Ok);
  EXPECT_EQ(settingsReadDWord(key, "VidMode", &v), SettingsResult::Ok);
  EXPECT_EQ(v, 2u);
  EXPECT_EQ(settingsDeleteValue(key, "vidmode"), SettingsResult::Ok);
  EXPECT_EQ(settingsReadDWord(key, "VidMode", &v), SettingsResult::Missing);
  EXPECT_EQ(settingsDeleteValue(key, "vidmode"), SettingsResult::Missing);
  // Null keys fail instead of crashing.
  EXPECT_EQ(settingsReadDWord(nullptr, "x", &v), SettingsResult::Failed);
  EXPECT_EQ(settingsWriteDWord(nullptr, "x", 1), SettingsResult::Failed);
  settingsCloseKey(key);
  settingsCloseKey(nullptr);
}

TEST_F(SettingsTest, StringsAreAlwaysTerminatedAndNeverOverrun) {
  SettingsKey* key = settingsOpenKey(SettingsRoot::User, kKey, true);
  settingsWriteString(key, "Label", "Korvena Football");  // 16 characters
  char small[8];
  std::memset(small, 'z', sizeof small);
  EXPECT_EQ(settingsReadString(key, "Label", small, sizeof small), SettingsResult::TooSmall);
  EXPECT_EQ(small[0], '\0');
  char exact[17];
  std::memset(exact, 'z', sizeof exact);
  EXPECT_EQ(settingsReadString(key, "Label", exact, sizeof exact), SettingsResult::Ok);
  EXPECT_STREQ(exact, "Korvena Football");
  char guard[20];
  std::memset(guard, 'z', sizeof guard);
  uint32_t size = 0;
  EXPECT_EQ(settingsQuery(key, "Label", nullptr, guard, 16, &size), SettingsResult::TooSmall);
  EXPECT_EQ(size, 17u);
  EXPECT_EQ(guard[0], 'z');  // nothing copied
  settingsCloseKey(key);
}

TEST_F(SettingsTest, DamagedLinesAreSkippedAndTheDamagedFileIsKept) {
  const std::string damaged =
      "; a hand-edited file\n"
      "\"Orphan\"=dword:00000001\n"  // before any key
      "[Software\\Ostrelwerk\\Quorrel\\Korvena Football]\n"
      "@=string:\"Compact\"\n"
      "\"Bad\"=dword:12\n"
      "\"Junk\"=hex:0g\n"
      "\"Open\"=string:\"no end\n"
      "garbage without equals\n"
      "\"Good\"=dword:00000007\n"
      "\"Bin\"=hex:01,02,\n"
      "[unterminated\n"
      "\"Tail\"=dword:0000000";  // cut off: no line end
  dir_.write("machine.txt", damaged);
  testing::internal::CaptureStderr();
  SettingsKey* key = settingsOpenKey(SettingsRoot::Machine, kKey, false);
  std::string err = testing::internal::GetCapturedStderr();
  ASSERT_NE(key, nullptr);
  // The first five damaged lines are named, the rest counted.
  EXPECT_NE(err.find("line 2 "), std::string::npos) << err;
  EXPECT_NE(err.find("line 8 "), std::string::npos) << err;
  EXPECT_EQ(err.find("line 10 "), std::string::npos) << err;
  EXPECT_NE(err.find("3 more damaged lines were skipped (8 in all)"), std::string::npos) << err;
  char text[32];
  uint32_t v = 0;
  EXPECT_EQ(settingsReadString(key, "", text, sizeof text), SettingsResult::Ok);
  EXPECT_STREQ(text, "Compact");
  EXPECT_EQ(settingsReadDWord(key, "Good", &v), SettingsResult::Ok);
  EXPECT_EQ(v, 7u);
  for (const char* name : {"Orphan", "Bad", "Junk", "Open", "Bin", "Tail"})
    EXPECT_EQ(settingsQuery(key, name, nullptr, nullptr, 0, nullptr), SettingsResult::Missing) << name;
  settingsCloseKey(key);
  // The original is kept for a person to look at; the rewritten file is clean.
  EXPECT_EQ(readFile(dir_ / "machine.txt.damaged"), damaged);
  settingsReset();
  testing::internal::CaptureStderr();
  key = settingsOpenKey(SettingsRoot::Machine, kKey, false);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(settingsReadDWord(key, "Good", &v), SettingsResult::Ok);
  settingsCloseKey(key);
}

TEST_F(SettingsTest, BinaryGarbageAndEmptyFilesGiveEmptyRootsWithoutCrashing) {
  std::string junk;
  for (int i = 0; i < 2048; ++i) junk += static_cast<char>((i * 7919) & 0xFF);
  dir_.write("machine.txt", junk);
  dir_.write("config/user.txt", "");
  testing::internal::CaptureStderr();
  EXPECT_EQ(settingsOpenKey(SettingsRoot::Machine, kKey, false), nullptr);
  EXPECT_EQ(settingsOpenKey(SettingsRoot::User, kKey, false), nullptr);
  SettingsKey* key = settingsOpenKey(SettingsRoot::Machine, kKey, true);
  testing::internal::GetCapturedStderr();
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(settingsWriteDWord(key, "LODBias", 2), SettingsResult::Ok);
  settingsCloseKey(key);
  EXPECT_EQ(readFile(dir_ / "machine.txt.damaged"), junk);
}

TEST_F(SettingsTest, EveryCutOfAValidFileLoadsWithoutInventingValues) {
  SettingsKey* key = settingsOpenKey(SettingsRoot::Machine, kKey, true);
  settingsWriteString(key, "", "Compact");
  settingsWriteString(key, "VolumeLabel", "Korvena Football");
  settingsWriteDWord(key, "LODBias", 0x12345678);
  const unsigned char blob[] = {1, 2, 3, 4};
  settingsWriteBinary(key, "Blob", blob, 4);
  settingsCloseKey(key);
  const std::string full = readFile(dir_ / "machine.txt");
  for (size_t cut = 0; cut < full.size(); ++cut) {
    settingsSetRootFile(SettingsRoot::Machine, dir_ / "cut.txt");
    dir_.write("cut.txt", full.substr(0, cut));
    testing::internal::CaptureStderr();
    key = settingsOpenKey(SettingsRoot::Machine, kKey, false);
    testing::internal::GetCapturedStderr();
    if (!key) continue;
    char text[32];
    uint32_t v = 0;
    if (settingsReadString(key, "VolumeLabel", text, sizeof text) == SettingsResult::Ok) {
      EXPECT_STREQ(text, "Korvena Football") << cut;
    }
    if (settingsReadDWord(key, "LODBias", &v) == SettingsResult::Ok) {
      EXPECT_EQ(v, 0x12345678u) << cut;
    }
    unsigned char back[8];
    uint32_t size = 0;
    if (settingsReadBinary(key, "Blob", back, sizeof back, &size) == SettingsResult::Ok) {
      EXPECT_EQ(size, 4u) << cut;
    }
    settingsCloseKey(key);
  }
}

TEST_F(SettingsTest, AFirstRunStartsTheMachineRootFromTheInstalledDefaults) {
  TempDir game;
  game.write("data/settings/machine-defaults.txt",
             "[Software\\Ostrelwerk\\Quorrel\\Korvena Football]\n@=string:\"Full\"\n\"LODBias\"=dword:00000001\n");
  std::filesystem::create_directories(game / "bin");
  setExecutableDir(game / "bin");
  settingsSetRootFile(SettingsRoot::Machine, "");  // the default place
  EXPECT_EQ(settingsRootFile(SettingsRoot::Machine), game / "settings/machine.txt");
  SettingsKey* key = settingsOpenKey(SettingsRoot::Machine, kKey, false);
  ASSERT_NE(key, nullptr);
  char text[32];
  EXPECT_EQ(settingsReadString(key, "", text, sizeof text), SettingsResult::Ok);
  EXPECT_STREQ(text, "Full");
  settingsCloseKey(key);
  // The machine root now has a file of its own; the defaults stay as they were.
  EXPECT_TRUE(std::filesystem::exists(game / "settings/machine.txt"));
  setExecutableDir("");
}

TEST_F(SettingsTest, AnUnwritableRootReportsFailureAndKeepsTheValues) {
  settingsSetRootFile(SettingsRoot::User, "/proc/korvena-cannot-write/user.txt");
  SettingsKey* key = settingsOpenKey(SettingsRoot::User, kKey, true);
  ASSERT_NE(key, nullptr);
  settingsWriteDWord(key, "Language", 3);
  EXPECT_FALSE(settingsFlush(SettingsRoot::User));
  uint32_t v = 0;
  EXPECT_EQ(settingsReadDWord(key, "Language", &v), SettingsResult::Ok);
  EXPECT_EQ(v, 3u);
  settingsCloseKey(key);
}

// A disc that is full for the settings files while g_bDiscFull holds: the
// interposed write stores nothing and fails with g_iWriteErrno.
bool g_bDiscFull = false;
int g_iWriteErrno = ENOSPC;
size_t WriteOnAFullDisc(const void* data, size_t size, FILE* file) {
  if (!g_bDiscFull) return std::fwrite(data, 1, size, file);
  errno = g_iWriteErrno;
  return 0;
}

// Writes one value to the root, closing its key (which writes the file);
// returns what standard error said meanwhile.
std::string WriteAndClose(SettingsRoot root, uint32_t value) {
  testing::internal::CaptureStderr();
  SettingsKey* key = settingsOpenKey(root, kKey, true);
  EXPECT_NE(key, nullptr);
  EXPECT_EQ(settingsWriteDWord(key, "LODBias", value), SettingsResult::Ok);
  settingsCloseKey(key);
  return testing::internal::GetCapturedStderr();
}

// A settings file whose folder cannot be made is named on standard error
// with the reason, once however often the game tries.
TEST_F(SettingsTest, AFileWhoseFolderCannotBeMadeIsNamedWithTheReason) {
  const std::string lost = "/proc/korvena-cannot-write/user.txt";
  settingsSetRootFile(SettingsRoot::User, lost);
  testing::internal::CaptureStderr();
  SettingsKey* key = settingsOpenKey(SettingsRoot::User, kKey, true);
  ASSERT_NE(key, nullptr);
  settingsWriteDWord(key, "Language", 3);
  EXPECT_FALSE(settingsFlush(SettingsRoot::User));
  EXPECT_FALSE(settingsFlush(SettingsRoot::User));
  settingsCloseKey(key);
  const std::string err = testing::internal::GetCapturedStderr();
  const std::string folder = "platform: the settings file " + lost + " could not be written (its folder cannot be made: ";
  EXPECT_EQ(err.compare(0, folder.size(), folder), 0) << err;
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  EXPECT_NE(err.find("); it keeps its last values\n"), std::string::npos) << err;
}

// A settings file whose temporary file cannot be opened (a folder stands in
// its place) is named on standard error with the reason, once however often
// the game tries; the file on the disc is left as it was.
TEST_F(SettingsTest, AFileWhoseTemporaryFileCannotBeOpenedIsNamedWithTheReason) {
  const std::string machine = dir_ / "machine.txt";
  EXPECT_EQ(WriteAndClose(SettingsRoot::Machine, 1), "");
  const std::string before = readFile(machine);
  std::filesystem::create_directory(temporaryPathFor(machine));
  const std::string err = WriteAndClose(SettingsRoot::Machine, 2) + WriteAndClose(SettingsRoot::Machine, 3);
  EXPECT_EQ(err, "platform: the settings file " + machine + " could not be written (" + std::strerror(EISDIR) +
                     "); it keeps its last values\n");
  EXPECT_EQ(readFile(machine), before);
  std::filesystem::remove(temporaryPathFor(machine));
  // The way clear again: the file takes the last value, silently.
  EXPECT_EQ(WriteAndClose(SettingsRoot::Machine, 4), "");
  EXPECT_NE(readFile(machine).find("\"LODBias\"=dword:00000004\n"), std::string::npos);
}

// A settings file that cannot be written on a full disc keeps its old
// contents and is named on standard error with the reason: once for each
// distinct failure of each file, however often the game tries again, and
// again once a write in between has succeeded.
TEST_F(SettingsTest, AFileThatCannotBeWrittenIsNamedOnceForEachFailure) {
  settingsFileWriteFnSet(WriteOnAFullDisc);
  g_iWriteErrno = ENOSPC;
  EXPECT_EQ(WriteAndClose(SettingsRoot::Machine, 1), "");
  EXPECT_EQ(WriteAndClose(SettingsRoot::User, 1), "");
  const std::string machine = dir_ / "machine.txt", user = dir_ / "config/user.txt";
  const std::string before = readFile(machine);
  ASSERT_NE(before.find("\"LODBias\"=dword:00000001\n"), std::string::npos) << before;
  const std::string full = "platform: the settings file " + machine +
                           " could not be written (No space left on device); it keeps its last values\n";
  g_bDiscFull = true;
  // Nine tries of the machine file: one line.
  std::string err;
  for (uint32_t v = 2; v <= 10; v++) err += WriteAndClose(SettingsRoot::Machine, v);
  EXPECT_EQ(err, full);
  EXPECT_EQ(readFile(machine), before);
  EXPECT_FALSE(std::filesystem::exists(temporaryPathFor(machine)));
  // The values stay in memory, and the file is still due.
  SettingsKey* key = settingsOpenKey(SettingsRoot::Machine, kKey, false);
  uint32_t v = 0;
  EXPECT_EQ(settingsReadDWord(key, "LODBias", &v), SettingsResult::Ok);
  EXPECT_EQ(v, 10u);
  settingsCloseKey(key);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(settingsFlush(SettingsRoot::Machine));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  // The other file is said on its own line.
  EXPECT_EQ(WriteAndClose(SettingsRoot::User, 2) + WriteAndClose(SettingsRoot::User, 3),
            "platform: the settings file " + user +
                " could not be written (No space left on device); it keeps its last values\n");
  // Another failure of the same file is a line of its own.
  g_iWriteErrno = EIO;
  EXPECT_EQ(WriteAndClose(SettingsRoot::Machine, 11) + WriteAndClose(SettingsRoot::Machine, 12),
            "platform: the settings file " + machine + " could not be written (" + std::strerror(EIO) +
                "); it keeps its last values\n");
  // Room again: the file takes the last values, silently.
  g_bDiscFull = false;
  EXPECT_EQ(WriteAndClose(SettingsRoot::Machine, 13), "");
  EXPECT_NE(readFile(machine).find("\"LODBias\"=dword:0000000d\n"), std::string::npos);
  // A full disc after that is said again.
  g_bDiscFull = true;
  g_iWriteErrno = ENOSPC;
  EXPECT_EQ(WriteAndClose(SettingsRoot::Machine, 14), full);
  g_bDiscFull = false;
  settingsFileWriteFnSet(nullptr);
}

}  // namespace

namespace {

TEST_F(SettingsTest, TestRunsMayKeepTheMachineRootElsewhereAndStillStartFromTheDefaults) {
  TempDir game;
  game.write("data/settings/machine-defaults.txt",
             "[Software\\Ostrelwerk\\Quorrel\\Korvena Football]\n\"LODBias\"=dword:00000002\n");
  std::filesystem::create_directories(game / "bin");
  setExecutableDir(game / "bin");
  setenv("KORVENA_MACHINE_SETTINGS", (dir_ / "run/machine.txt").c_str(), 1);
  settingsSetRootFile(SettingsRoot::Machine, "");
  EXPECT_EQ(settingsRootFile(SettingsRoot::Machine), dir_ / "run/machine.txt");
  SettingsKey* key = settingsOpenKey(SettingsRoot::Machine, kKey, false);
  ASSERT_NE(key, nullptr);
  uint32_t v = 0;
  EXPECT_EQ(settingsReadDWord(key, "LODBias", &v), SettingsResult::Ok);
  EXPECT_EQ(v, 2u);
  settingsCloseKey(key);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "run/machine.txt"));
  EXPECT_FALSE(std::filesystem::exists(game / "settings"));
  unsetenv("KORVENA_MACHINE_SETTINGS");
  setExecutableDir("");
}

}  // namespace

namespace {

// The id of a process that has ended: a child that exits at once, reaped.
long DeadProcessId() {
  pid_t child = fork();
  if (child == 0) _exit(0);
  int status = 0;
  waitpid(child, &status, 0);
  return static_cast<long>(child);
}

}  // namespace

TEST_F(SettingsTest, LeftoverTemporaryFilesOfEndedGamesAreRemovedWhenTheFolderIsWritten) {
  const long dead = DeadProcessId();
  ASSERT_FALSE(processRunning(dead));
  ASSERT_TRUE(processRunning(static_cast<long>(getpid())));
  const std::string stale = "machine.txt.tmp." + std::to_string(dead);
  const std::string live = "machine.txt.tmp." + std::to_string(static_cast<long>(getppid()));
  // Names that are not a writer's temporary file stay whatever they hold.
  const std::vector<std::string> others = {"machine.txt.tmp", "notes.tmp.12x", "a.tmp.", "machine.txt.damaged",
                                           "other.tmp.99999999999"};
  dir_.write(stale, "half a file");
  dir_.write("x16.spr.tmp." + std::to_string(dead), "half a sheet");
  dir_.write(live, "being written");
  for (const std::string& name : others) dir_.write(name, "keep");
  SettingsKey* key = settingsOpenKey(SettingsRoot::Machine, kKey, true);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(settingsWriteDWord(key, "LODBias", 3), SettingsResult::Ok);
  settingsCloseKey(key);
  EXPECT_FALSE(std::filesystem::exists(dir_ / stale));
  EXPECT_FALSE(std::filesystem::exists(dir_ / ("x16.spr.tmp." + std::to_string(dead))));
  EXPECT_TRUE(std::filesystem::exists(dir_ / live));
  for (const std::string& name : others) EXPECT_TRUE(std::filesystem::exists(dir_ / name)) << name;
  EXPECT_TRUE(std::filesystem::exists(dir_ / "machine.txt"));
  // The writer's own temporary file is gone after the rename.
  EXPECT_FALSE(std::filesystem::exists(temporaryPathFor(dir_ / "machine.txt")));
  // Nothing to remove a second time; a folder that does not exist is no error.
  EXPECT_EQ(removeStaleTemporaries(dir_.path()), 0);
  EXPECT_EQ(removeStaleTemporaries(dir_ / "missing"), 0);
}

TEST_F(SettingsTest, AFileOfManyDamagedLinesNamesAFewAndCountsTheRest) {
  std::string text = "[Software\\Ostrelwerk\\Quorrel\\Korvena Football]\n";
  for (int i = 0; i < 200000; ++i) text += "garbage\n";
  text += "\"Good\"=dword:00000005\n";
  dir_.write("machine.txt", text);
  testing::internal::CaptureStderr();
  SettingsKey* key = settingsOpenKey(SettingsRoot::Machine, kKey, false);
  const std::string err = testing::internal::GetCapturedStderr();
  ASSERT_NE(key, nullptr);
  uint32_t v = 0;
  EXPECT_EQ(settingsReadDWord(key, "Good", &v), SettingsResult::Ok);
  EXPECT_EQ(v, 5u);
  settingsCloseKey(key);
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 6) << err.substr(0, 2000);
  EXPECT_NE(err.find("line 2 "), std::string::npos);
  EXPECT_NE(err.find("line 6 "), std::string::npos);
  EXPECT_NE(err.find("199995 more damaged lines were skipped (200000 in all)"), std::string::npos) << err;
}

TEST_F(SettingsTest, ManyKeysAndValuesAreFoundWithoutRegardToCaseAndTheLastSpellingWins) {
  std::string text;
  for (int k = 0; k < 2000; ++k) text += "[Software\\Many\\Key" + std::to_string(k) + "]\n\"V\"=dword:00000001\n";
  text += "[Software\\Ostrelwerk\\Quorrel\\Korvena Football]\n";
  char line[64];
  for (int v = 0; v < 20000; ++v) {
    std::snprintf(line, sizeof line, "\"Value%d\"=dword:%08x\n", v, v);
    text += line;
  }
  // The same names again in other cases: they replace the first values.
  text += "\"VALUE7\"=dword:00000070\n[software\\many\\KEY5]\n\"v\"=dword:00000005\n";
  dir_.write("machine.txt", text);
  SettingsKey* key = settingsOpenKey(SettingsRoot::Machine, kKey, false);
  ASSERT_NE(key, nullptr);
  uint32_t v = 0;
  EXPECT_EQ(settingsReadDWord(key, "value19999", &v), SettingsResult::Ok);
  EXPECT_EQ(v, 19999u);
  EXPECT_EQ(settingsReadDWord(key, "Value7", &v), SettingsResult::Ok);
  EXPECT_EQ(v, 0x70u);
  settingsCloseKey(key);
  key = settingsOpenKey(SettingsRoot::Machine, "Software\\Many\\Key5", false);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(settingsReadDWord(key, "V", &v), SettingsResult::Ok);
  EXPECT_EQ(v, 5u);
  settingsCloseKey(key);
  key = settingsOpenKey(SettingsRoot::Machine, "Software\\Many\\Key1999", false);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(settingsReadDWord(key, "V", &v), SettingsResult::Ok);
  EXPECT_EQ(v, 1u);
  settingsCloseKey(key);
}
