// The game's sound logic: bank choice, the crowd machines, effects, shouts.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "audio/sound.h"
#include "shell/input.h"
#include "shell/pcmain_states.h"

namespace {

// A bank of n short silent sounds, 22050 Hz 16-bit.
void fakeBank(QALBank* b, std::uint32_t n) {
  b->soundCount = n;
  b->sounds = new QALSound[n];
  std::vector<std::int16_t> pcm(2205, 0);
  for (std::uint32_t i = 0; i < n; ++i) {
    auto* s = new QALSample;
    ASSERT_EQ(QALSampleCreate(s, pcm.data(), static_cast<std::uint32_t>(pcm.size() * 2), 1, 16, 22050), 1);
    b->sounds[i].sample = s;
  }
}

struct SoundGame : ::testing::Test {
  void SetUp() override {
    ASSERT_EQ(QALInit(nullptr, 2097152, 1024), QAL_OK);
    options_oBlock.iSfxVolume = 16;
    options_oBlock.iMusicVolume = 16;
    options_oBlock.iPlayerChat = 1;
  }
  void TearDown() override {
    sfx_FreeAllBanks();
    QALShutdown();
  }
};

TEST(SoundSelection, LanguagesByOptionTeamAndInterface) {
  // The example pairing: by team, 73 speaks Spanish and 162 Japanese; the
  // referee the interface language.
  EXPECT_EQ(pcsound_LanguageFor(1, 73, 0, 2), 3);
  EXPECT_EQ(pcsound_LanguageFor(1, 162, 0, 2), 6);
  EXPECT_EQ(pcsound_LanguageFor(1, 73, 1, 2), 2);
  EXPECT_STREQ(pcsound_SpeechFile(3), "WN32\\CESP.KBB");
  EXPECT_STREQ(pcsound_SpeechFile(6), "WN32\\CJAP.KBB");
  // A team of no table row speaks the interface language; 5 and above give 5.
  EXPECT_EQ(pcsound_LanguageFor(1, 200, 0, 4), 4);
  EXPECT_EQ(pcsound_LanguageFor(1, 200, 0, 7), 5);
  EXPECT_EQ(pcsound_LanguageFor(1, 72, 0, 3), 0);
  EXPECT_EQ(pcsound_LanguageFor(1, 151, 0, 0), 7);
  // Each fixed option, the same for speech and referee.
  const std::int32_t kOption[9] = {-1, -2, 0, 1, 2, 3, 4, 6, 5};
  for (std::int32_t c = 2; c <= 8; ++c) {
    EXPECT_EQ(pcsound_LanguageFor(c, 73, 0, 1), kOption[c]) << c;
    EXPECT_EQ(pcsound_LanguageFor(c, 73, 1, 1), kOption[c]) << c;
  }
  EXPECT_EQ(pcsound_LanguageFor(0, 73, 0, 1), -1);
  EXPECT_EQ(pcsound_LanguageFor(9, 73, 0, 1), -1);  // out of range: off
  EXPECT_STREQ(pcsound_RefereeFile(7), "WN32\\REFESP.KBB");
  EXPECT_STREQ(pcsound_CrowdFile(72), "WN32\\CROWDENG.KBB");
  EXPECT_STREQ(pcsound_CrowdFile(71), "WN32\\CROWDDEF.KBB");
  EXPECT_EQ(pcsound_SpeechFile(8), nullptr);
}

TEST(SoundCrowd, TrackChoiceTable) {
  struct Case {
    std::int32_t e, d, C, F, m, want;
  } cases[] = {
      {0, -1, 1, 0, 10, 2}, {0, 0, 1, 0, 10, 1},  {0, 0, 0, 0, 10, 0},  {0, 2, 0, 0, 80, 0},  {0, 3, 0, 0, 80, 1},
      {0, 1, 0, 0, 81, 1},  {0, 1, 1, 0, 10, 1},  {1, 1, 0, 0, 10, 0},  {1, 0, 1, 0, 10, 0},  {1, 0, 0, 0, 10, 2},
      {1, -3, 1, 0, 81, 3}, {1, -3, 1, 0, 80, 2}, {1, -2, 1, 0, 85, 2}, {2, -5, 1, 1, 80, -1}, {2, -2, 0, 0, 81, 2},
      {2, -3, 0, 0, 81, 3}, {2, -1, 1, 0, 81, 3}, {2, 1, 1, 0, 81, 1},  {2, 1, 0, 0, 81, 0},  {2, 0, 1, 1, 81, 2},
      {2, 0, 1, 0, 81, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(crowd_TrackFor(c.e, c.d, c.C, c.F, c.m), c.want) << c.e << " " << c.d << " " << c.C << " " << c.m;
}

TEST(SoundCrowd, FoulLevel) {
  EXPECT_EQ(crowd_FoulLevel(384, 768), 32767);
  EXPECT_EQ(crowd_FoulLevel(-384, -768), 32767);
  EXPECT_EQ(crowd_FoulLevel(0, 0), 32767 - 32 * 32 - 64 * 64);
  EXPECT_EQ(crowd_FoulLevel(384, 768 + 12 * 181), 32767 - 181 * 181);  // just below 0 would be 182
  EXPECT_LT(crowd_FoulLevel(384, 768 + 12 * 182), 0);
  EXPECT_EQ(crowd_FoulLevel(395, 779), 32767);  // truncation
}

TEST_F(SoundGame, ReactionEnvelopeAgainstReference) {
  fakeBank(&pcsound_oCrowd, 7);
  pcsound_bBanksLoaded = 1;
  crowd_Init();
  crowd_ReactGoal();
  const CrowdReaction r = crowd_aReactions[CROWD_GOAL];
  EXPECT_EQ(r.iPeak, 32767);
  // Reference: frame 0 starts; fade in over 2 x fadeIn frames; hold 2 x hold; fade out 2 x fadeOut.
  std::int32_t level = 0, step = r.iPeak / (2 * r.iFadeIn);
  std::int32_t frames = 1 + 2 * r.iFadeIn + 2 * r.iHold + 2 * r.iFadeOut;
  std::int32_t fadeOutStep = r.iPeak / (2 * r.iFadeOut);
  // Volumes read back through the library's attenuation scale: compare with
  // a sample set to the reference level.
  QALSample* ref = pcsound_oCrowd.sounds[6].sample;
  auto at = [&](std::int32_t v) {
    QALSampleSetVolume(ref, v);
    return QALSampleGetVolume(ref);
  };
  for (std::int32_t f = 0; f < frames; ++f) {
    crowd_ReactionUpdate();
    if (f == 0) {
      level = 0;
    } else if (f <= 2 * r.iFadeIn) {
      level = std::min<std::int32_t>(level + step, r.iPeak);
    } else if (f <= 2 * r.iFadeIn + 2 * r.iHold) {
    } else {
      level = std::max(level - fadeOutStep, 0);
    }
    ASSERT_EQ(crowd_o.iLevel, level) << f;
    ASSERT_EQ(QALSampleGetVolume(crowd_o.apoVoice[0]), at(level)) << f;
    ASSERT_EQ(QALSampleGetVolume(crowd_o.apoVoice[3]), at(level)) << f;
    ASSERT_EQ(QALSampleGetVolume(crowd_o.apoVoice[1]), at(level / 2)) << f;
    ASSERT_EQ(QALSampleGetVolume(crowd_o.apoVoice[2]), at(level / 2)) << f;
  }
  EXPECT_EQ(crowd_o.iState, 0);
  EXPECT_EQ(crowd_o.bRunning, 0);
  // Pans and detunes of a pair reaction.
  EXPECT_EQ(QALSampleGetFrequency(crowd_o.apoVoice[1]), 23050);
  EXPECT_EQ(QALSampleGetFrequency(crowd_o.apoVoice[2]), 21050);

  // A second trigger during a reaction restarts from 0 with the new record.
  crowd_ReactGoal();
  for (int f = 0; f < 10; ++f) crowd_ReactionUpdate();
  EXPECT_GT(crowd_o.iLevel, 0);
  crowd_ReactHomeTeam();
  EXPECT_EQ(crowd_o.iCurrent, CROWD_HOME);
  crowd_ReactionUpdate();
  EXPECT_EQ(crowd_o.iLevel, 0);
  crowd_ReactionUpdate();
  EXPECT_EQ(crowd_o.iLevel, crowd_aReactions[CROWD_HOME].iPeak / 10);
  // A single-sound reaction spreads four detuned copies.
  crowd_ReactTension();  // a reaction runs: nothing
  EXPECT_EQ(crowd_o.iCurrent, CROWD_HOME);
  crowd_ReactionStop(CROWD_HOME);
  crowd_ReactTension();
  EXPECT_EQ(QALSampleGetFrequency(crowd_o.apoVoice[3]), 21550);
  EXPECT_EQ(QALSampleGetFrequency(crowd_o.apoVoice[1]), 21050);
  EXPECT_EQ(QALSampleGetFrequency(crowd_o.apoVoice[2]), 23050);
}

// Pausing stops the running reaction with the music: its looping voices
// do not go on at their level through the pause menu and its replay.
TEST_F(SoundGame, PausingStopsTheRunningReaction) {
  fakeBank(&pcsound_oCrowd, 7);
  pcsound_bBanksLoaded = 1;
  crowd_Init();
  crowd_ReactGoal();
  for (int f = 0; f < 10; ++f) crowd_ReactionUpdate();
  ASSERT_EQ(crowd_o.bRunning, 1);
  ASSERT_EQ(QALSampleIsPlaying(crowd_o.apoVoice[0]), 1);
  crowd_StopAllQuiet();
  EXPECT_EQ(crowd_o.bRunning, 0);
  EXPECT_EQ(crowd_o.iState, 0);
  EXPECT_EQ(crowd_o.iCDState, 0);
  for (QALSample* v : crowd_o.apoVoice) EXPECT_NE(QALSampleIsPlaying(v), 1);
  // With nothing running it only stops the music.
  crowd_StopAllQuiet();
  EXPECT_EQ(crowd_o.bRunning, 0);
}

TEST_F(SoundGame, ExcitementAndTension) {
  fakeBank(&pcsound_oCrowd, 7);
  crowd_Init();
  // An offside line of kind 2 arms the near-goal reaction once.
  crowd_ExcitementStep(0, 0, 2, 0, 10, 0, 0, 0, 0);
  EXPECT_EQ(crowd_o.iCurrent, CROWD_NEARGOAL);
  crowd_ReactionUpdate();
  crowd_ExcitementStep(0, 0, 2, 0, 10, 0, 0, 0, 0);
  EXPECT_EQ(crowd_o.iState, 2);  // not restarted
  crowd_ExcitementStep(0, 0, 0, 0, 10, 0, 0, 0, 0);
  EXPECT_EQ(crowd_o.iState, 4);  // the line went: fade out
  // Outside the pitch bounds nothing is tested.
  crowd_Init();
  crowd_ExcitementStep(18720, 0, 2, 0, 10, 0, 0, 0, 0);
  EXPECT_EQ(crowd_o.bRunning, 0);
  // The attacking area by the home club state.
  crowd_ExcitementStep(5760, 100, 0, 0, 10, 0, 0, 0, 0);
  EXPECT_EQ(crowd_o.iCurrent, CROWD_NEARGOAL);
  crowd_Init();
  crowd_ExcitementStep(5760, 100, 0, 1, 10, 0, 0, 0, 0);
  EXPECT_EQ(crowd_o.bRunning, 0);
  crowd_ExcitementStep(-5760, 100, 0, 1, 10, 0, 0, 0, 0);
  EXPECT_EQ(crowd_o.bRunning, 1);
  // Tension windows: 80..84 once while the condition holds; from 85 at a one-goal gap.
  crowd_Init();
  crowd_ExcitementStep(0, 9000, 0, 0, 79, 1, 0, 0, 0);
  EXPECT_EQ(crowd_o.bRunning, 0);
  crowd_ExcitementStep(0, 9000, 0, 0, 80, 1, 0, 0, 0);
  EXPECT_EQ(crowd_o.iCurrent, CROWD_TENSION);
  crowd_ReactionStop(CROWD_TENSION);
  crowd_ExcitementStep(0, 9000, 0, 0, 81, 1, 0, 0, 0);
  EXPECT_EQ(crowd_o.bRunning, 0);  // once until the condition lapses
  crowd_ExcitementStep(0, 9000, 0, 0, 81, 1, 0, 1, 0);  // home leads and has it: lapses
  crowd_ExcitementStep(0, 9000, 0, 0, 82, 1, 1, 1, 0);  // the away side behind has it
  EXPECT_EQ(crowd_o.bRunning, 1);
  crowd_Init();
  crowd_ExcitementStep(0, 9000, 0, 0, 85, 0, 0, 2, 0);
  EXPECT_EQ(crowd_o.bRunning, 0);
  crowd_ExcitementStep(0, 9000, 0, 0, 85, 0, 0, 2, 1);
  EXPECT_EQ(crowd_o.iCurrent, CROWD_TENSION);
}

TEST_F(SoundGame, EffectsRepeatGuardSequencesAndBounds) {
  fakeBank(&pcsound_oEffects, 20);
  sfx_o = {16, 0, 0, nullptr, 0};
  // Out-of-range and missing sounds play nothing.
  sfx_Play(20);
  sfx_Play(-1);
  EXPECT_EQ(sfx_o.iLastEffect, 16);
  sfx_Play(5);
  EXPECT_EQ(sfx_o.iLastEffect, 5);
  QALSample* ref = pcsound_oEffects.sounds[7].sample;
  QALSampleSetVolume(ref, 24575);
  EXPECT_EQ(QALSampleGetVolume(pcsound_oEffects.sounds[5].sample), QALSampleGetVolume(ref));
  options_oBlock.iSfxVolume = 8;
  sfx_PlayAtVolume(6, 20000);
  QALSampleSetVolume(ref, 10000);
  EXPECT_EQ(QALSampleGetVolume(pcsound_oEffects.sounds[6].sample), QALSampleGetVolume(ref));
  options_oBlock.iSfxVolume = 16;
  // Whistle A: 18, then 18 after 14 frames, then 19 after 14 more.
  std::vector<std::int32_t> heard;
  sfx_WhistleSequenceA();
  for (std::int32_t f = 0; f < 40; ++f) {
    std::int32_t before = sfx_o.iLastEffect, beforeFrame = sfx_o.iLastFrame;
    sfx_o.iLastEffect = 16;  // count every request the sequence makes
    sfx_UpdateSequence();
    if (sfx_o.iLastEffect != 16) heard.push_back(f * 100 + sfx_o.iLastEffect);
    else sfx_o.iLastEffect = before, sfx_o.iLastFrame = beforeFrame;
  }
  EXPECT_EQ(heard, (std::vector<std::int32_t>{18, 1418, 2819}));
  EXPECT_EQ(sfx_o.iSeqState, 0);
  // The random effect is one of the two saves.
  for (int n = 0; n < 20; ++n) {
    sfx_o.iLastEffect = 16;
    sfx_PlayRandomEffect();
    EXPECT_TRUE(sfx_o.iLastEffect == 12 || sfx_o.iLastEffect == 13);
  }
}

TEST_F(SoundGame, RepeatGuardInMatchAndFrontEnd) {
  fakeBank(&pcsound_oEffects, 20);
  QALSample* s = pcsound_oEffects.sounds[18].sample;
  const std::int32_t now = input_iGetFrame();
  // In a match (or while it loads) a repeat under 10 frames is dropped and
  // the time moves on; at 10 frames it plays.
  for (AppState state : {APP_STATE_MATCH, APP_STATE_MATCH_LOADING}) {
    pcmain_eCurrentState = state;
    sfx_o = {16, 0, 0, nullptr, 0};
    sfx_Play(18);
    EXPECT_EQ(QALSampleIsPlaying(s), 1);
    QALSampleStop(s);
    for (std::int32_t age : {0, 5, 9}) {
      sfx_o.iLastFrame = now - age;
      sfx_Play(18);
      EXPECT_EQ(QALSampleIsPlaying(s), 0) << age;
      EXPECT_EQ(sfx_o.iLastFrame, now);
    }
    sfx_o.iLastFrame = now - 10;
    sfx_Play(18);
    EXPECT_EQ(QALSampleIsPlaying(s), 1);
    QALSampleStop(s);
    sfx_Play(19);  // another effect is never held back
    EXPECT_EQ(QALSampleIsPlaying(pcsound_oEffects.sounds[19].sample), 1);
  }
  // In the front end each request restarts the sound.
  pcmain_eCurrentState = APP_STATE_FRONT_END;
  sfx_o = {16, 0, 0, nullptr, 0};
  sfx_Play(18);
  QALSampleStop(s);
  sfx_Play(18);
  EXPECT_EQ(QALSampleIsPlaying(s), 1);
  pcmain_eCurrentState = APP_STATE_NONE;
}

TEST(SoundShouts, PureRules) {
  EXPECT_EQ(pchat_Distance3(100, 300, 200), 300 + 200 * 11 / 32 + 100 / 4);
  EXPECT_EQ(pchat_Attenuation(512), 0);
  EXPECT_EQ(pchat_Attenuation(513), 28671 * 2 * 513 / 65536);
  EXPECT_EQ(pchat_Attenuation(32767), 28671 * 2 * 32767 / 65536);
  EXPECT_EQ(pchat_Attenuation(32768), 28671);
  // Pan: straight ahead is the centre+; a quarter turn each way.
  EXPECT_EQ(pchat_Pan(0, 0), (2 * 32768 + 32768) & 0xFFFF);
  EXPECT_EQ(pchat_Pan(8192, 0), (2 * (32768 - 16384) + 32768) & 0xFFFF);
  EXPECT_EQ(pchat_Pan(0, 8192), (2 * (32766 - 2 * 57344) + 32768) & 0xFFFF);
  EXPECT_EQ(pchat_Pan(32768, 0), (2 * (2 * 32768 + 32768) + 32768) & 0xFFFF);
  // Event 7 by place, both directions.
  struct Case {
    std::int32_t x, y, bx, by, dir, first, count;
  } cases[] = {
      {100, 0, 50, 0, 1, 43, 3},     {100, 3000, 200, 0, 1, 28, 3}, {100, -3000, 200, 0, 1, 31, 3},
      {0, 0, 200, 0, 1, 46, 6},      {1, 0, 200, 0, 1, 34, 3},     {-8000, 10, 0, -10, 1, 40, 3},
      {-8000, 10, 0, 10, 1, 37, 3},  {-100, 0, -50, 0, 0, 43, 2},  {100, -3000, 0, 0, 0, 28, 2},
      {100, 3000, 0, 0, 0, 31, 2},   {8000, 10, 0, 0, 0, 40, 2},   {8000, 10, 0, 1, 0, 37, 2},
      {-100, 0, -200, 0, 0, 34, 3},  {100, 0, 0, 0, 0, 46, 6},
  };
  for (const Case& c : cases) {
    std::int32_t f = -1, n = -1;
    pchat_EventSevenRange(c.x, c.y, c.bx, c.by, c.dir, &f, &n);
    EXPECT_EQ(f, c.first) << c.x << "," << c.y << " dir " << c.dir;
    EXPECT_EQ(n, c.count) << c.x << "," << c.y << " dir " << c.dir;
  }
}

TEST_F(SoundGame, ShoutPickAvoidsRecentAndRefereeCooldown) {
  fakeBank(&pcsound_oSpeechHome, 52);
  fakeBank(&pcsound_oReferee, 21);
  pchat_Reset();
  // A pick among one sample: the first time it is taken and detuned within
  // 120/128..135/128; the second time the shout is cancelled.
  pchat_o.iShoutDelay = 3;
  pchat_PickSample(0, 10, 1);
  ASSERT_NE(pchat_o.poShoutVoice, nullptr);
  std::int32_t f = QALSampleGetFrequency(pchat_o.poShoutVoice);
  EXPECT_GE(f, 22050 * 120 / 128);
  EXPECT_LE(f, 22050 * 135 / 128);
  EXPECT_EQ(pchat_o.iShoutDelay, 3);
  pchat_PickSample(0, 10, 1);
  EXPECT_EQ(pchat_o.iShoutDelay, -1);
  // The other team's list is separate but the cursor is shared.
  pchat_o.iShoutDelay = 3;
  pchat_PickSample(1, 10, 1);
  EXPECT_EQ(pchat_o.iShoutDelay, -1);  // no away bank: nothing to say
  EXPECT_EQ(pchat_o.iRecentCursor, 1);
  for (std::int32_t n = 0; n < 8; ++n) pchat_PickSample(0, 20 + n, 1);
  EXPECT_EQ(pchat_o.iRecentCursor, 1);  // wrapped after the eighth
  pchat_o.iShoutDelay = 2;
  pchat_PickSample(0, 10, 1);  // pushed out of the last eight: said again
  EXPECT_EQ(pchat_o.iShoutDelay, 2);
  // Referee: once within 3000 frames; out-of-range phrases and chat off say nothing.
  pchat_RefereeSay(4, 5);
  EXPECT_EQ(pchat_o.iRefereeDelay, 5);
  pchat_o.iRefereeDelay = -1;
  pchat_RefereeSay(4, 5);
  EXPECT_EQ(pchat_o.iRefereeDelay, -1);
  pchat_RefereeSay(21, 5);
  EXPECT_EQ(pchat_o.iRefereeDelay, -1);
  options_oBlock.iPlayerChat = 0;
  pchat_RefereeSay(5, 5);
  EXPECT_EQ(pchat_o.iRefereeDelay, -1);
}

}  // namespace

namespace {

void OptionsCursorTo(OptionsRow eRow) {
  for (std::int32_t i = 0; i < options_oScreen.cRows; i++)
    if (options_oScreen.paoRows[i].eRow == eRow) options_oScreen.iCursor = i;
}

// The sound plays with what the options screen's rows set, at once: the
// music row sets the CD volume, the Sfx row scales every effect, and a chat
// turned off silences the referee until it is turned on again.
TEST_F(SoundGame, TheOptionsRowsChangeWhatTheMixerPlays) {
  fakeBank(&pcsound_oEffects, 20);
  fakeBank(&pcsound_oReferee, 21);
  pchat_Reset();
  options_SetDefaults();
  options_ScreenReset();
  options_RowsLoad();
  EXPECT_EQ(QALCDGetVolume(), 16 * 20479 / 16);
  OptionsCursorTo(OPTIONS_ROW_MUSIC);
  for (int i = 0; i < 4; i++) options_EventApply(10, nullptr);
  EXPECT_EQ(QALCDGetVolume(), 12 * 20479 / 16);

  QALSample* ref = pcsound_oEffects.sounds[7].sample;
  const auto EffectVolume = [&](std::int32_t iEffect, std::int32_t iVolume) {
    sfx_o = {16, 0, 0, nullptr, 0};
    sfx_PlayAtVolume(iEffect, iVolume);
    return QALSampleGetVolume(pcsound_oEffects.sounds[iEffect].sample);
  };
  QALSampleSetVolume(ref, 20000);
  EXPECT_EQ(EffectVolume(6, 20000), QALSampleGetVolume(ref));
  OptionsCursorTo(OPTIONS_ROW_SFX);
  for (int i = 0; i < 12; i++) options_EventApply(10, nullptr);
  QALSampleSetVolume(ref, 20000 * 4 / 16);
  EXPECT_EQ(EffectVolume(6, 20000), QALSampleGetVolume(ref));
  for (int i = 0; i < 20; i++) options_EventApply(10, nullptr);
  QALSampleSetVolume(ref, 0);
  EXPECT_EQ(EffectVolume(6, 20000), QALSampleGetVolume(ref));

  OptionsCursorTo(OPTIONS_ROW_CHAT);
  options_EventApply(10, nullptr);
  pchat_o.iRefereeDelay = -1;
  pchat_RefereeSay(5, 5);
  EXPECT_EQ(pchat_o.iRefereeDelay, -1) << "chat off";
  options_EventApply(11, nullptr);
  pchat_RefereeSay(5, 5);
  EXPECT_EQ(pchat_o.iRefereeDelay, 5) << "chat back on";
  options_SetDefaults();
}

}  // namespace
