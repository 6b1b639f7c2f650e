#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "framework/qdx_reg.h"
#include "headless_env.h"
#include "platform/settings.h"

namespace {

const char* const PRODUCT = "Korvena Football";
const std::string KEY = std::string("Software\\Ostrelwerk\\Quorrel\\") + PRODUCT;

// The game's kind of table: install settings under the machine root, a
// language and a video mode under the user root, and raw bytes.
struct Settings {
  char szInstall[32];
  char szLabel[16];
  std::uint32_t uLanguage;
  std::uint32_t uVidMode;
  std::uint8_t abBlob[6];
  std::uint32_t uInline;
};

const std::uint8_t BLOB_DEFAULT[6] = {1, 2, 3, 4, 5, 6};

void MakeTable(Settings* s, QDXRegValue* t) {
  t[0] = QDXRegValue{"", 0, QDXREG_TYPE_STRING, sizeof(s->szInstall), s->szInstall, 0, "Compact"};
  t[1] = QDXRegValue{"VolumeLabel", 0, QDXREG_TYPE_STRING, sizeof(s->szLabel), s->szLabel, 0, "Korvena Football"};
  t[2] = QDXRegValue{"Language", 1, QDXREG_TYPE_DWORD, 4, &s->uLanguage, 0, nullptr};
  t[3] = QDXRegValue{"VidMode", 1, QDXREG_TYPE_DWORD, 4, &s->uVidMode, 2, nullptr};
  t[4] = QDXRegValue{"Blob", 1, QDXREG_TYPE_BINARY, sizeof(s->abBlob), s->abBlob, 0, BLOB_DEFAULT};
  t[5] = QDXRegValue{"Inline", 0, QDXREG_TYPE_BINARY_INLINE, 4, &s->uInline, 0x01020304, nullptr};
}

class RegTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QDXRegClose();
    platform::settingsReset();
    std::error_code e;
    std::filesystem::remove_all(TestRoot() / "settings", e);
    std::filesystem::remove_all(TestRoot() / "config", e);
    platform::settingsSetRootFile(platform::SettingsRoot::Machine, (TestRoot() / "settings" / "machine.txt").string());
    platform::settingsSetRootFile(platform::SettingsRoot::User, (TestRoot() / "config" / "user.txt").string());
  }
  void TearDown() override { QDXRegClose(); }
};

TEST_F(RegTest, FirstRunCreatesBothKeysAndReadsEveryDefault) {
  EXPECT_FALSE(platform::settingsKeyExists(platform::SettingsRoot::Machine, KEY.c_str()));
  ASSERT_EQ(QDXRegOpen(PRODUCT), 0);
  EXPECT_TRUE(platform::settingsKeyExists(platform::SettingsRoot::Machine, KEY.c_str()));
  EXPECT_TRUE(platform::settingsKeyExists(platform::SettingsRoot::User, KEY.c_str()));
  EXPECT_EQ(QDXRegKeyExists(PRODUCT), 1);
  EXPECT_EQ(QDXRegKeyExists("Another Game"), 0);
  Settings s;
  std::memset(&s, 0xCC, sizeof(s));
  QDXRegValue table[6];
  MakeTable(&s, table);
  EXPECT_EQ(QDXRegReadValues(table, 6, 1), 0);
  EXPECT_STREQ(s.szInstall, "Compact");
  EXPECT_STREQ(s.szLabel, "Korvena Footbal");  // cut to the variable, terminated
  EXPECT_EQ(s.uLanguage, 0u);
  EXPECT_EQ(s.uVidMode, 2u);
  EXPECT_EQ(std::memcmp(s.abBlob, BLOB_DEFAULT, 6), 0);
  EXPECT_EQ(s.uInline, 0x01020304u);
  // Without defaults every value is missing: the first failure is reported.
  EXPECT_EQ(QDXRegReadValues(table, 6, 0), 7);
}

TEST_F(RegTest, ValuesRoundTripThroughTheFiles) {
  ASSERT_EQ(QDXRegOpen(PRODUCT), 0);
  Settings s{};
  QDXRegValue table[6];
  MakeTable(&s, table);
  std::strcpy(s.szInstall, "full");
  std::strcpy(s.szLabel, "MY DISC");
  s.uLanguage = 3;
  s.uVidMode = 0xDEADBEEF;
  std::memcpy(s.abBlob, "\x00\xFF\x10\x20\x0A\x0D", 6);
  s.uInline = 0x11223344;
  EXPECT_EQ(QDXRegWriteValues(table, 6), 0);
  ASSERT_EQ(QDXRegClose(), 0);
  platform::settingsReset();  // forget everything: read the files again

  ASSERT_EQ(QDXRegOpen(PRODUCT), 0);
  Settings r;
  std::memset(&r, 0, sizeof(r));
  QDXRegValue rtable[6];
  MakeTable(&r, rtable);
  EXPECT_EQ(QDXRegReadValues(rtable, 6, 0), 0);
  EXPECT_STREQ(r.szInstall, "full");
  EXPECT_STREQ(r.szLabel, "MY DISC");
  EXPECT_EQ(r.uLanguage, 3u);
  EXPECT_EQ(r.uVidMode, 0xDEADBEEFu);
  EXPECT_EQ(std::memcmp(r.abBlob, "\x00\xFF\x10\x20\x0A\x0D", 6), 0);
  EXPECT_EQ(r.uInline, 0x11223344u);

  // The stored forms: a DWORD of 4 bytes, a string with its terminator.
  void* pvKey = nullptr;
  ASSERT_EQ(QDXRegCreateKey(1, PRODUCT, &pvKey), 0);
  auto* poKey = static_cast<platform::SettingsKey*>(pvKey);
  platform::SettingsType eType;
  std::uint32_t uSize = 0;
  ASSERT_EQ(platform::settingsQuery(poKey, "Language", &eType, nullptr, 0, &uSize), platform::SettingsResult::Ok);
  EXPECT_EQ(eType, platform::SettingsType::DWord);
  EXPECT_EQ(uSize, 4u);
  EXPECT_EQ(QDXRegCloseKey(pvKey), 0);
  ASSERT_EQ(QDXRegCreateKey(0, PRODUCT, &pvKey), 0);
  poKey = static_cast<platform::SettingsKey*>(pvKey);
  ASSERT_EQ(platform::settingsQuery(poKey, "VolumeLabel", &eType, nullptr, 0, &uSize), platform::SettingsResult::Ok);
  EXPECT_EQ(eType, platform::SettingsType::String);
  EXPECT_EQ(uSize, 8u);
  QDXRegCloseKey(pvKey);
}

TEST_F(RegTest, DescriptorFaultsHaveTheirCodes) {
  std::uint32_t u = 0;
  QDXRegValue v{"Language", 1, QDXREG_TYPE_DWORD, 4, &u, 5, nullptr};
  EXPECT_EQ(QDXRegReadValue(&v, 1), 10);  // the key is not open yet
  EXPECT_EQ(QDXRegWriteValue(&v), 10);
  // The open key is checked before the type.
  QDXRegValue closedBadType = v;
  closedBadType.uType = 4;
  EXPECT_EQ(QDXRegReadValue(&closedBadType, 1), 10);
  EXPECT_EQ(QDXRegWriteValue(&closedBadType), 10);
  ASSERT_EQ(QDXRegOpen(PRODUCT), 0);
  QDXRegValue badRoot = v;
  badRoot.uRoot = 2;
  EXPECT_EQ(QDXRegReadValue(&badRoot, 1), 8);
  EXPECT_EQ(QDXRegWriteValue(&badRoot), 8);
  QDXRegValue badType = v;
  badType.uType = 4;
  EXPECT_EQ(QDXRegReadValue(&badType, 1), 9);
  EXPECT_EQ(QDXRegWriteValue(&badType), 9);
  void* pvKey = nullptr;
  EXPECT_EQ(QDXRegCreateKey(7, PRODUCT, &pvKey), 8);
  EXPECT_EQ(pvKey, nullptr);
  // A DWORD variable smaller than 4 bytes cannot be written.
  QDXRegValue small = v;
  small.uSize = 2;
  EXPECT_EQ(QDXRegWriteValue(&small), 6);
  // Tables go on past a failure and report the first one.
  QDXRegValue table[3] = {v, badType, badRoot};
  EXPECT_EQ(QDXRegReadValues(table, 3, 1), 9);
  EXPECT_EQ(u, 5u);  // the good entry was still read (its default)
  EXPECT_EQ(QDXRegWriteValues(table, 3), 9);
  EXPECT_EQ(QDXRegReadValue(&v, 0), 0);  // and written
  ASSERT_EQ(QDXRegClose(), 0);
  EXPECT_EQ(QDXRegReadValue(&v, 1), 10);  // closed again
}

TEST_F(RegTest, TypeMismatchGivesElevenAndTheDefault) {
  ASSERT_EQ(QDXRegOpen(PRODUCT), 0);
  char szText[8] = "1234567";
  QDXRegValue asString{"Language", 1, QDXREG_TYPE_STRING, sizeof(szText), szText, 0, "x"};
  ASSERT_EQ(QDXRegWriteValue(&asString), 0);
  std::uint32_t u = 77;
  QDXRegValue asDWord{"Language", 1, QDXREG_TYPE_DWORD, 4, &u, 9, nullptr};
  EXPECT_EQ(QDXRegReadValue(&asDWord, 1), 11);
  EXPECT_EQ(u, 9u);
  u = 77;
  EXPECT_EQ(QDXRegReadValue(&asDWord, 0), 11);
  EXPECT_EQ(u, 9u);
  // And the other way round.
  ASSERT_EQ(QDXRegWriteValue(&asDWord), 0);
  EXPECT_EQ(QDXRegReadValue(&asString, 1), 11);
  EXPECT_STREQ(szText, "x");
}

TEST_F(RegTest, StringsAreNeverOverReadAndAlwaysTerminated) {
  ASSERT_EQ(QDXRegOpen(PRODUCT), 0);
  // A default of 3 bytes in its own heap block for a 32-byte variable: the
  // sanitizer reports any read past it.
  std::unique_ptr<char[]> pDefault(new char[3]{'a', 'b', '\0'});
  char szValue[32];
  std::memset(szValue, 'Z', sizeof(szValue));
  QDXRegValue v{"Missing", 0, QDXREG_TYPE_STRING, sizeof(szValue), szValue, 0, pDefault.get()};
  EXPECT_EQ(QDXRegReadValue(&v, 1), 0);
  EXPECT_STREQ(szValue, "ab");

  // A variable holding no terminator within its size: what lies within it is
  // stored, terminated.
  char acRaw[4] = {'w', 'x', 'y', 'z'};
  QDXRegValue raw{"Raw", 0, QDXREG_TYPE_STRING, sizeof(acRaw), acRaw, 0, ""};
  ASSERT_EQ(QDXRegWriteValue(&raw), 0);
  char szBig[16];
  QDXRegValue big{"Raw", 0, QDXREG_TYPE_STRING, sizeof(szBig), szBig, 0, ""};
  EXPECT_EQ(QDXRegReadValue(&big, 0), 0);
  EXPECT_STREQ(szBig, "wxyz");
  // Stored longer than the variable: the variable keeps the default, terminated.
  char szTiny[3] = {'q', 'q', 'q'};
  QDXRegValue tiny{"Raw", 0, QDXREG_TYPE_STRING, sizeof(szTiny), szTiny, 0, "long default"};
  EXPECT_EQ(QDXRegReadValue(&tiny, 0), 7);
  EXPECT_EQ(szTiny[0], 'q');
  EXPECT_EQ(QDXRegReadValue(&tiny, 1), 0);
  EXPECT_STREQ(szTiny, "lo");
}

TEST_F(RegTest, SingleValueHelpers) {
  ASSERT_EQ(QDXRegOpen(PRODUCT), 0);
  std::uint32_t u = 0;
  EXPECT_EQ(QDXRegReadDWord(0, "LODBias", &u, 2), 0);
  EXPECT_EQ(u, 2u);
  EXPECT_EQ(QDXRegWriteDWord(0, "LODBias", 4), 0);
  EXPECT_EQ(QDXRegReadDWord(0, "LODBias", &u, 2), 0);
  EXPECT_EQ(u, 4u);
  char sz[8];
  EXPECT_EQ(QDXRegReadString(1, "Name", sz, sizeof(sz), "Player"), 0);
  EXPECT_STREQ(sz, "Player");
  // A name longer than 31 characters is cut, not read past.
  EXPECT_EQ(QDXRegWriteDWord(0, "A name much longer than thirty-two characters", 1), 0);
  EXPECT_EQ(QDXRegReadDWord(0, "A name much longer than thirty-", &u, 0), 0);
  EXPECT_EQ(u, 1u);
}

TEST_F(RegTest, AFailedFlushIsReported) {
  // The user root's folder cannot be made: a file stands in its way.
  std::filesystem::create_directories(TestRoot() / "config");
  std::ofstream(TestRoot() / "config" / "blocker") << "x";
  platform::settingsSetRootFile(platform::SettingsRoot::User, (TestRoot() / "config" / "blocker" / "user.txt").string());
  ASSERT_EQ(QDXRegOpen(PRODUCT), 0);
  std::uint32_t u = 1;
  QDXRegValue v{"Language", 1, QDXREG_TYPE_DWORD, 4, &u, 0, nullptr};
  EXPECT_EQ(QDXRegWriteValue(&v), 0);
  EXPECT_EQ(QDXRegClose(), 4);
}

}  // namespace
