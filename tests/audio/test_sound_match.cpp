// The match's sound wiring: the last loading step opens the audio with the
// match budget and loads the match banks; voices are heard from the match
// camera, the referee from where he stands; the crowd track plays at the
// effects volume in a match and the music volume in the front end.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "audio/audio_services.h"
#include "audio/sound.h"
#include "engine/player.h"
#include "matchflow/camera.h"
#include "shell/pcinstall.h"
#include "shell/pcmain_states.h"
#include "support/headless_env.h"

namespace {

void AudioClosed() {
  sfx_FreeAllBanks();
  if (qal_bStarted) QALShutdown();
  qal_bStarted = 0;
}

TEST(MatchSound, TheLastLoadingStepOpensTheMatchBudgetAndLoadsTheBanks) {
  AudioClosed();
  // The installation's sound folder, in the data folder beside the
  // program's: the generated banks.
  const char* pszBuild = std::getenv("KORVENA_BUILD_DIR");
  ASSERT_NE(pszBuild, nullptr);
  const std::filesystem::path oSound = korvena_test::HeadlessRoot() / "data" / "sound";
  if (!std::filesystem::exists(oSound))
    std::filesystem::create_directory_symlink(std::filesystem::path(pszBuild) / "data" / "sound", oSound);
  std::snprintf(pcinstall_szSoundPath, PCINSTALL_PATH_SIZE, "..\\data\\sound\\");
  pcmain_eCurrentState = APP_STATE_MATCH_LOADING;
  pcsound_MatchSoundStart();
  EXPECT_EQ(qal_bStarted, 1);
  EXPECT_EQ(qal_oState.budgetTotal, 2097152u);
  EXPECT_EQ(pcsound_bBanksLoaded, 1);
  // The in-game effects are there: the whistles and kicks play.
  EXPECT_NE(pcsound_SampleGet(&pcsound_oEffects, 18), nullptr);
  EXPECT_NE(pcsound_SampleGet(&pcsound_oEffects, 0), nullptr);
  AudioClosed();

  // A library already running is kept as it is.
  ASSERT_EQ(QALInit(nullptr, 1048576, 1024), QAL_OK);
  qal_bStarted = 1;
  pcsound_MatchSoundStart();
  EXPECT_EQ(qal_oState.budgetTotal, 1048576u);
  AudioClosed();
  pcmain_eCurrentState = APP_STATE_NONE;
}

TEST(MatchSound, VoicesAreHeardFromTheMatchCameraAndTheRefereeWhereHeStands) {
  CameraView* v = camera_poViewGet();
  const int aiEye[3] = {1200, 3400, -9000}, aiTarget[3] = {-500, 20, 800};
  for (int n = 0; n < 3; ++n) {
    v->aiEye[n] = aiEye[n];
    v->aiTarget[n] = aiTarget[n];
  }
  // Whether or not the view has been drawn yet.
  for (bool bValid : {false, true}) {
    if (!bValid) camera_ViewInvalidate();
    std::int32_t aiPos[3] = {}, aiAt[3] = {};
    soundmatch_Camera(aiPos, aiAt);
    for (int n = 0; n < 3; ++n) {
      EXPECT_EQ(aiPos[n], aiEye[n]);
      EXPECT_EQ(aiAt[n], aiTarget[n]);
    }
  }
  player_oReferee.x = 2500;
  player_oReferee.height = 0;
  player_oReferee.y = -1800;
  std::int32_t aiRef[3] = {};
  soundmatch_Referee(aiRef);
  EXPECT_EQ(aiRef[0], 2500);
  EXPECT_EQ(aiRef[1], 0);
  EXPECT_EQ(aiRef[2], -1800);
}

TEST(MatchSound, TheCrowdTrackPlaysAtTheEffectsVolumeInAMatch) {
  AudioClosed();
  ASSERT_EQ(QALInit(nullptr, 2097152, 1024), QAL_OK);
  qal_bStarted = 1;
  options_oBlock.iMusicVolume = 16;
  options_oBlock.iSfxVolume = 8;
  pcmain_eCurrentState = APP_STATE_MATCH;
  crowd_CDStart();
  EXPECT_EQ(QALCDGetVolume(), 8 * 12287 / 16);
  pcmain_eCurrentState = APP_STATE_FRONT_END;
  crowd_CDStart();
  EXPECT_EQ(QALCDGetVolume(), 16 * 12287 / 16);
  // The match state's enter starts the track while no state is current yet.
  pcmain_eCurrentState = APP_STATE_NONE;
  pcmain_eRequestedState = APP_STATE_MATCH;
  crowd_CDStart();
  EXPECT_EQ(QALCDGetVolume(), 8 * 12287 / 16);
  pcmain_eRequestedState = APP_STATE_FRONT_END;
  crowd_CDStart();
  EXPECT_EQ(QALCDGetVolume(), 16 * 12287 / 16);
  pcmain_eRequestedState = APP_STATE_NONE;
  options_oBlock.iSfxVolume = 16;
  pcmain_eCurrentState = APP_STATE_NONE;
  AudioClosed();
}

}  // namespace
