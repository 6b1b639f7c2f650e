// Installation settings: first-run defaults, the install types, clamping of
// values kept outside the program, and the disc found through the pseudo disc.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/paths.h"
#include "platform/settings.h"
#include "shell/pcinstall.h"
#include "shell/texts.h"
#include "shell_env.h"

namespace {

const char* const kszKey = "Software\\Ostrelwerk\\Quorrel\\Korvena Football";

void StoreString(const char* pszName, const char* pszValue) {
  platform::SettingsKey* poKey = platform::settingsOpenKey(platform::SettingsRoot::Machine, kszKey, true);
  ASSERT_NE(poKey, nullptr);
  platform::settingsWriteString(poKey, pszName, pszValue);
  platform::settingsCloseKey(poKey);
}

void StoreDWord(const char* pszName, uint32_t uValue) {
  platform::SettingsKey* poKey = platform::settingsOpenKey(platform::SettingsRoot::Machine, kszKey, true);
  ASSERT_NE(poKey, nullptr);
  platform::settingsWriteDWord(poKey, pszName, uValue);
  platform::settingsCloseKey(poKey);
}

class Install : public ::testing::Test {
 protected:
  void SetUp() override {
    ShellSettingsFresh();
    // Values left by an earlier test must not look like defaults.
    std::strcpy(pcinstall_szInstallType, "junk");
    std::strcpy(pcinstall_szVolumeLabel, "junk");
    pcinstall_iLODBias = 99;
    mlang_iLanguage = 99;
    pcinstall_uVidMode = pcinstall_uVidRes = pcinstall_uVidDevice = pcinstall_uGlidePresent = 77;
  }
  void TearDown() override { mlang_iLanguage = 0; }
};

TEST_F(Install, FirstRunTakesTheDefaultsAndReadsFromTheDisc) {
  ASSERT_EQ(pcinstall_Check(), 1);
  EXPECT_STREQ(pcinstall_szInstallType, "Compact");
  EXPECT_STREQ(pcinstall_szVolumeLabel, "Korvena Football");
  EXPECT_EQ(pcinstall_iLODBias, 2);
  EXPECT_EQ(mlang_iLanguage, 0);
  EXPECT_EQ(pcinstall_uVidMode, 0u);
  EXPECT_EQ(pcinstall_uVidRes, 0u);
  EXPECT_EQ(pcinstall_uVidDevice, 0u);
  EXPECT_EQ(pcinstall_uGlidePresent, 0u);
  // The pseudo disc carries the label, so "Compact" reads all three from it.
  EXPECT_STREQ(pcinstall_szCdRoot, "D:\\");
  EXPECT_STREQ(pcinstall_szTexturePath, "D:\\data\\textures\\");
  EXPECT_STREQ(pcinstall_szModelPath, "D:\\data\\models\\");
  EXPECT_STREQ(pcinstall_szFmvPath, "D:\\data\\fmv\\");
  EXPECT_STREQ(pcinstall_szSoundPath, "..\\data\\sound\\");
  char szPath[PCINSTALL_PATH_SIZE];
  EXPECT_EQ(pcinstall_TexturePath(szPath, "fonts\\debug.bmp"), 1);
  EXPECT_STREQ(szPath, "D:\\data\\textures\\fonts\\debug.bmp");
  // The disc's textures are the game folder's data tree.
  EXPECT_EQ(platform::resolvePath(szPath), platform::resolvePath("..\\data\\textures\\fonts\\debug.bmp"));
  // Saving creates the key with every value.
  pcinstall_Save();
  EXPECT_TRUE(platform::settingsKeyExists(platform::SettingsRoot::Machine, kszKey));
  platform::SettingsKey* poKey = platform::settingsOpenKey(platform::SettingsRoot::Machine, kszKey, false);
  ASSERT_NE(poKey, nullptr);
  uint32_t uValue = 0;
  EXPECT_EQ(platform::settingsReadDWord(poKey, "LODBias", &uValue), platform::SettingsResult::Ok);
  EXPECT_EQ(uValue, 2u);
  char szType[32];
  EXPECT_EQ(platform::settingsReadString(poKey, "", szType, sizeof szType), platform::SettingsResult::Ok);
  EXPECT_STREQ(szType, "Compact");
  platform::settingsCloseKey(poKey);
}

TEST_F(Install, InstallTypesCompareWithoutRegardToCase) {
  StoreString("", "FULL");
  ASSERT_EQ(pcinstall_Check(), 1);
  EXPECT_STREQ(pcinstall_szTexturePath, "..\\data\\textures\\");
  EXPECT_STREQ(pcinstall_szModelPath, "..\\data\\models\\");
  EXPECT_STREQ(pcinstall_szFmvPath, "..\\data\\fmv\\");
  StoreString("", "Full");
  ASSERT_EQ(pcinstall_Check(), 1);
  EXPECT_STREQ(pcinstall_szFmvPath, "..\\data\\fmv\\");
  StoreString("", "tYpIcAl");
  ASSERT_EQ(pcinstall_Check(), 1);
  EXPECT_STREQ(pcinstall_szTexturePath, "..\\data\\textures\\");
  EXPECT_STREQ(pcinstall_szFmvPath, "D:\\data\\fmv\\");
  StoreString("", "medium");
  EXPECT_EQ(pcinstall_Check(), 0);
}

// A language index the game does not have reads as English (not as the last
// language in the list); the level-of-detail bias is clamped.
TEST_F(Install, LanguageAndLodBiasAreBroughtIntoRange) {
  StoreDWord("Language", 9);
  StoreDWord("LODBias", 7);
  ASSERT_EQ(pcinstall_Check(), 1);
  EXPECT_EQ(mlang_iLanguage, 0);
  EXPECT_EQ(pcinstall_iLODBias, 4);
  StoreDWord("Language", 0xFFFFFFFFu);
  StoreDWord("LODBias", 0x80000000u);
  ASSERT_EQ(pcinstall_Check(), 1);
  EXPECT_EQ(mlang_iLanguage, 0);
  EXPECT_EQ(pcinstall_iLODBias, 0);
  StoreDWord("Language", 6);
  ASSERT_EQ(pcinstall_Check(), 1);
  EXPECT_EQ(mlang_iLanguage, 0);
  for (uint32_t uLanguage = 0; uLanguage < 6; uLanguage++) {
    StoreDWord("Language", uLanguage);
    ASSERT_EQ(pcinstall_Check(), 1);
    EXPECT_EQ(mlang_iLanguage, static_cast<int32_t>(uLanguage));
  }
}

TEST_F(Install, DiscFoundByLabelWithoutRegardToCase) {
  char szRoot[PCINSTALL_PATH_SIZE] = {};
  EXPECT_EQ(pcinstall_CdFind("KORVENA football", szRoot), 1);
  EXPECT_STREQ(szRoot, "D:\\");
  EXPECT_EQ(pcinstall_CdFind("Some Other Game", szRoot), 0);
  // With another label the disc's folders are looked for in the game folder.
  StoreString("VolumeLabel", "Some Other Game");
  ASSERT_EQ(pcinstall_Check(), 1);
  EXPECT_STREQ(pcinstall_szTexturePath, "..\\data\\textures\\");
}

TEST_F(Install, VideoOptionsAreReadByTheirNames) {
  StoreDWord("VidMode", 2);
  StoreDWord("VidRes", 5);
  StoreDWord("VidDevice", 3);
  StoreDWord("GlidePresent", 1);
  StoreString("VolumeLabel", "KORVENA FOOTBALL");
  ASSERT_EQ(pcinstall_Check(), 1);
  EXPECT_EQ(pcinstall_uVidMode, 2u);
  EXPECT_EQ(pcinstall_uVidRes, 5u);
  EXPECT_EQ(pcinstall_uVidDevice, 3u);
  EXPECT_EQ(pcinstall_uGlidePresent, 1u);
  EXPECT_STREQ(pcinstall_szVolumeLabel, "KORVENA FOOTBALL");
  EXPECT_STREQ(pcinstall_szTexturePath, "D:\\data\\textures\\");
  char szPath[PCINSTALL_PATH_SIZE];
  EXPECT_EQ(pcinstall_ModelPath(szPath, "ball.mdl"), 1);
  EXPECT_STREQ(szPath, "D:\\data\\models\\ball.mdl");
  EXPECT_EQ(pcinstall_FmvPath(szPath, "intro.str"), 1);
  EXPECT_STREQ(szPath, "D:\\data\\fmv\\intro.str");
  EXPECT_EQ(pcinstall_SoundPath(szPath, "crowd.wav"), 1);
  EXPECT_STREQ(szPath, "..\\data\\sound\\crowd.wav");
}

}  // namespace
