// The options block and the options screen's rows: ranges, the chat order,
// the rows in history, Reset Options, what Exit and Back write, and the video
// rows over a device table of the tests' own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/qal.h"
#include "display/q2dx.h"
#include "matchflow/gstatso.h"
#include "matchflow/options.h"
#include "shell/global.h"
#include "shell/pcinstall.h"
#include "shell/texts.h"
#include "support/headless_env.h"

namespace {

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-options"});

const Q2DXMode kaoSoftware[] = {{640, 480, 16, 0, 1, 0}};
// A z-buffered device: mode 0 is never chosen, 8-bit and small modes are skipped.
const Q2DXMode kaoZBuffer[] = {{640, 480, 16, 0, 1, 0}, {320, 240, 16, 0, 1, 0}, {512, 384, 16, 0, 1, 0},
                               {640, 480, 8, 0, 1, 0},  {800, 600, 16, 0, 1, 0}, {1024, 768, 32, 0, 1, 0}};
// A device whose modes never qualify for a resolution.
const Q2DXMode kaoSmall[] = {{320, 200, 16, 0, 1, 0}, {640, 480, 16, 0, 1, 0}, {320, 240, 8, 0, 1, 0}};

const OptionsDevice kaoOnlySoftware[] = {{"Software", kaoSoftware, 1}};
const OptionsDevice kaoWithZBuffer[] = {{"Software", kaoSoftware, 1}, {"Z-Buffer", kaoZBuffer, 6}};

class Options : public ::testing::Test {
 protected:
  void SetUp() override {
    korvena_test::FreshSettings();
    global_SetExtendedGameMode(GAME_MODE_MAIN_MENU);
    mlang_iLanguage = 0;
    pcinstall_iLODBias = 2;
    pcinstall_uVidMode = pcinstall_uVidDevice = pcinstall_uVidRes = pcinstall_uGlidePresent = 0;
    options_DevicesSet(kaoOnlySoftware, 1);
    options_SetDefaults();
    options_ScreenReset();
    options_RowsLoad();
  }
  void TearDown() override { options_DevicesSet(nullptr, 0); }
  static void CursorTo(OptionsRow eRow) {
    for (std::int32_t i = 0; i < options_oScreen.cRows; i++) {
      if (options_oScreen.paoRows[i].eRow == eRow) {
        options_oScreen.iCursor = i;
        return;
      }
    }
    FAIL() << "no row " << eRow;
  }
  static std::int32_t Press(std::int32_t e) { return options_EventApply(e, nullptr); }
  static std::string Value(OptionsRow eRow) {
    char sz[300];
    options_ValueFormat(eRow, sz, static_cast<std::int32_t>(sizeof sz));
    return sz;
  }
};

TEST_F(Options, DefaultsAndTheReadingOfTheRanges) {
  EXPECT_EQ(options_oBlock.iMatchLength, 10);
  EXPECT_EQ(options_oBlock.iMusicVolume, 16);
  EXPECT_EQ(options_oBlock.iSfxVolume, 16);
  EXPECT_EQ(options_oBlock.iPlayerChat, 1);
  EXPECT_EQ(options_oBlock.iExtraTime, 0);
  EXPECT_EQ(options_oBlock.iReferee, 1);
  CursorTo(OPTIONS_ROW_MUSIC);
  EXPECT_EQ(Press(11), 41);
  EXPECT_EQ(options_oBlock.iMusicVolume, 16) << "no higher than 16";
  for (int i = 0; i < 20; i++) Press(10);
  EXPECT_EQ(options_oBlock.iMusicVolume, 0) << "no lower than 0";
  EXPECT_EQ(QALCDGetVolume(), 0) << "the music volume applies at once";
  Press(11);
  EXPECT_EQ(QALCDGetVolume(), 20479 / 16);
  CursorTo(OPTIONS_ROW_SFX);
  Press(10);
  EXPECT_EQ(options_oBlock.iSfxVolume, 15);
  CursorTo(OPTIONS_ROW_DETAIL);
  for (int i = 0; i < 6; i++) Press(11);
  EXPECT_EQ(options_oBlock.iLevelOfDetail, 4);
  EXPECT_EQ(pcinstall_iLODBias, 4);
  CursorTo(OPTIONS_ROW_TEXT);
  std::vector<std::string> aLanguages;
  for (int i = 0; i < 7; i++) {
    aLanguages.push_back(Value(OPTIONS_ROW_TEXT));
    Press(11);
  }
  EXPECT_EQ(aLanguages, (std::vector<std::string>{"English", "French", "German", "Spanish", "Italian", "Portuguese",
                                                  "Portuguese"}));
  // The in-match texts follow the chosen language, not the interface's.
  EXPECT_EQ(mlang_iLanguage, 0);
  EXPECT_EQ(gstatso_LanguageGet(), 5);
  EXPECT_STRNE(gstatso_StrGet(39), "Game Paused");
  Press(10);
  Press(10);
  EXPECT_EQ(gstatso_LanguageGet(), 3);
}

TEST_F(Options, PlayerChatRunsOffNativeThenTheLanguagesWithJapaneseBeforePortuguese) {
  CursorTo(OPTIONS_ROW_CHAT);
  Press(10);
  std::vector<std::string> a;
  for (int i = 0; i < 10; i++) {
    a.push_back(Value(OPTIONS_ROW_CHAT));
    Press(11);
  }
  EXPECT_EQ(a, (std::vector<std::string>{"Off", "Native", "English", "French", "German", "Spanish", "Italian",
                                         "Japanese", "Portuguese", "Portuguese"}));
  EXPECT_EQ(options_oBlock.iPlayerChat, 8);
}

// In French the own-language chat reads "Maternelle" (never the Italian "Natale").
TEST_F(Options, FrenchPlayerChatNamesTheOwnLanguageMaternelle) {
  mlang_iLanguage = LANGUAGE_FRENCH;
  options_oBlock.iPlayerChat = 1;
  EXPECT_EQ(Value(OPTIONS_ROW_CHAT), "Maternelle");
  mlang_iLanguage = LANGUAGE_ENGLISH;
}

TEST_F(Options, TheCursorStopsAtBothEndsAndHistoryHasNoTextLanguageRow) {
  Press(8);
  EXPECT_EQ(options_oScreen.iCursor, 0);
  for (int i = 0; i < 20; i++) Press(9);
  EXPECT_EQ(options_oScreen.iCursor, 9);
  EXPECT_EQ(options_oScreen.paoRows[9].eRow, OPTIONS_ROW_EXIT);
  global_SetExtendedGameMode(GAME_MODE_HISTORY);
  options_RowsLoad();
  ASSERT_EQ(options_oScreen.cRows, 9);
  for (std::int32_t i = 0; i < 9; i++) EXPECT_NE(options_oScreen.paoRows[i].eRow, OPTIONS_ROW_TEXT);
  options_oScreen.iCursor = 0;
  for (int i = 0; i < 20; i++) Press(9);
  EXPECT_EQ(options_oScreen.iCursor, 8);
  EXPECT_EQ(options_oScreen.paoRows[8].eRow, OPTIONS_ROW_EXIT);
  EXPECT_EQ(options_oScreen.paoRows[8].x, 416);
  EXPECT_EQ(Press(38), 52) << "history's options screen is left to mode 52";
}

TEST_F(Options, ResetOptionsRestoresVolumesChatAndDetailOnly) {
  options_oBlock.iMusicVolume = 3;
  options_oBlock.iSfxVolume = 4;
  options_oBlock.iPlayerChat = 7;
  options_oBlock.iLevelOfDetail = 0;
  options_oBlock.iTextLanguage = 3;
  options_oBlock.iReferee = 2;
  CursorTo(OPTIONS_ROW_RESET);
  EXPECT_EQ(Press(37), 41);
  EXPECT_EQ(options_oBlock.iMusicVolume, 16);
  EXPECT_EQ(options_oBlock.iSfxVolume, 16);
  EXPECT_EQ(options_oBlock.iPlayerChat, 1);
  EXPECT_EQ(options_oBlock.iLevelOfDetail, 2);
  EXPECT_EQ(options_oBlock.iTextLanguage, 3);
  EXPECT_EQ(options_oBlock.iReferee, 2);
}

TEST_F(Options, ExitWritesTheSettingsAndBackWritesNothing) {
  CursorTo(OPTIONS_ROW_DETAIL);
  Press(11);
  Press(11);
  ASSERT_EQ(pcinstall_iLODBias, 4);
  EXPECT_EQ(Press(38), 12) << "Back leaves to the main menu";
  // A new start reads what was stored: nothing yet.
  pcinstall_iLODBias = 77;
  ASSERT_EQ(pcinstall_TableRead(pcinstall_aInstallValues, PCINSTALL_INSTALL_VALUES), 1);
  EXPECT_EQ(pcinstall_iLODBias, 2) << "Back wrote nothing (a first run's default)";

  options_DevicesSet(kaoWithZBuffer, 2);
  options_ScreenReset();
  options_RowsLoad();
  CursorTo(OPTIONS_ROW_DETAIL);
  Press(10);
  ASSERT_EQ(pcinstall_iLODBias, 1);
  CursorTo(OPTIONS_ROW_VIDEO_MODE);
  Press(11);
  ASSERT_EQ(pcinstall_uVidMode, 2u);
  CursorTo(OPTIONS_ROW_EXIT);
  EXPECT_EQ(Press(37), 12);
  pcinstall_iLODBias = 77;
  pcinstall_uVidMode = pcinstall_uVidDevice = pcinstall_uVidRes = 77;
  pcinstall_TableRead(pcinstall_aInstallValues, PCINSTALL_INSTALL_VALUES);
  pcinstall_TableRead(pcinstall_aVideoValues, PCINSTALL_VIDEO_VALUES);
  EXPECT_EQ(pcinstall_iLODBias, 1);
  EXPECT_EQ(pcinstall_uVidMode, 2u);
  EXPECT_EQ(pcinstall_uVidDevice, 1u);
  EXPECT_EQ(pcinstall_uVidRes, 4u);
  // A new start's defaults keep the level of detail that was read.
  options_SetDefaults();
  EXPECT_EQ(options_oBlock.iLevelOfDetail, 1);
}

TEST_F(Options, VideoRowsWithOnlyTheSoftwareRenderer) {
  CursorTo(OPTIONS_ROW_VIDEO_MODE);
  EXPECT_EQ(Value(OPTIONS_ROW_VIDEO_MODE), "DirectDraw");
  Press(11);
  EXPECT_EQ(pcinstall_uVidMode, 0u) << "no Glide and no Direct3D: stays DirectDraw";
  Press(10);
  EXPECT_EQ(pcinstall_uVidMode, 0u);
  CursorTo(OPTIONS_ROW_VIDEO_RESOLUTION);
  Press(11);
  EXPECT_EQ(Value(OPTIONS_ROW_VIDEO_RESOLUTION), "640 x 480");
  // A Direct3D choice whose device is gone is replaced at start-up.
  pcinstall_uVidMode = 2;
  pcinstall_uVidDevice = 3;
  EXPECT_EQ(options_VideoValid(), 0);
  options_SetDefaults();
  EXPECT_EQ(options_VideoValid(), 1);
  EXPECT_EQ(pcinstall_uVidDevice, 0u);
}

TEST_F(Options, VideoRowsWithAZBufferedDevice) {
  options_DevicesSet(kaoWithZBuffer, 2);
  EXPECT_EQ(options_D3DModeChoose(1), 4) << "the last 16-bit mode of at least 640 x 480 after mode 0";
  EXPECT_EQ(options_D3DModeChoose(0), -1);
  CursorTo(OPTIONS_ROW_VIDEO_MODE);
  Press(11);
  EXPECT_EQ(pcinstall_uVidMode, 2u);
  EXPECT_EQ(pcinstall_uVidDevice, 1u);
  EXPECT_EQ(pcinstall_uVidRes, 4u);
  EXPECT_EQ(Value(OPTIONS_ROW_VIDEO_MODE), "1 - Z-Buffer");
  EXPECT_EQ(Value(OPTIONS_ROW_VIDEO_RESOLUTION), "800 x 600");
  Press(11);
  EXPECT_EQ(pcinstall_uVidDevice, 1u) << "no further device";
  CursorTo(OPTIONS_ROW_VIDEO_RESOLUTION);
  std::vector<std::string> a;
  for (int i = 0; i < 4; i++) {
    Press(11);
    a.push_back(Value(OPTIONS_ROW_VIDEO_RESOLUTION));
  }
  EXPECT_EQ(a, (std::vector<std::string>{"640 x 480", "512 x 384", "800 x 600", "640 x 480"}));
  Press(10);
  EXPECT_EQ(Value(OPTIONS_ROW_VIDEO_RESOLUTION), "800 x 600");
  CursorTo(OPTIONS_ROW_VIDEO_MODE);
  Press(10);
  EXPECT_EQ(pcinstall_uVidMode, 0u) << "left from the only Direct3D device goes back to DirectDraw";
}

TEST_F(Options, VideoResolutionWithoutAQualifyingModeChangesNothing) {
  const OptionsDevice ao[] = {{"Software", kaoSoftware, 1}, {"Small", kaoSmall, 3}};
  options_DevicesSet(ao, 2);
  pcinstall_uVidMode = 2;
  pcinstall_uVidDevice = 1;
  pcinstall_uVidRes = 1;
  CursorTo(OPTIONS_ROW_VIDEO_RESOLUTION);
  Press(11);
  Press(10);
  EXPECT_EQ(pcinstall_uVidRes, 1u);
}

}  // namespace
