// The crowd: short reactions on four voices that fade in, hold and fade out,
// and the CD track machine that loops the menu music or one of four
// atmosphere tracks chosen from the score, the minute and the venue.
#include <cstdlib>

#include "audio/sound.h"
#include "framework/qdx_assert.h"
#include "tournament/tournament_services.h"

CrowdReaction crowd_aReactions[CROWD_REACTIONS] = {
    {&pcsound_oCrowd, 0, 1, 8, 150, 100, 32767},    // goal
    {&pcsound_oCrowd, 0, 1, 5, 20, 80, 28671},      // home side
    {&pcsound_oCrowd, 4, 1, 5, 5, 60, 12287},       // away side
    {&pcsound_oCrowd, 3, -1, 20, 33, 80, 16383},    // foul
    {&pcsound_oCrowd, 5, -1, 30, 33, 80, 12287},    // tension
    {&pcsound_oCrowd, 0, 1, 30, 300, 80, 12287},    // near goal
};

CrowdState crowd_o = {};

namespace {

constexpr std::int32_t kTraining = 39;

std::int32_t inTraining() { return soundmatch_ExtendedMode() == kTraining; }

void voiceFree(QALSample*& poVoice) {
  if (poVoice) QALSampleFree(poVoice);
  poVoice = nullptr;
}

void voicesStop() {
  for (QALSample* v : crowd_o.apoVoice)
    if (v) QALSampleStop(v);
}

// A new instance of a crowd sound in the voice's place, freeing the one it replaces.
void voiceInstance(QALSample*& poVoice, QALBank* poBank, std::int32_t iSound) {
  voiceFree(poVoice);
  QALSample* src = pcsound_SampleGet(poBank, iSound);
  if (src) poVoice = QALSampleInstance(new QALSample, src);
}

void voiceShift(QALSample* v, std::int32_t iHertz) {
  if (!v) return;
  std::int32_t f = QALSampleGetFrequency(v) + iHertz;
  if (f > 0) QALSampleSetFrequency(v, static_cast<std::uint32_t>(f));
}

void voicesLevel() {
  QALSample** v = crowd_o.apoVoice;
  for (std::int32_t n : {0, 3})
    if (v[n]) QALSampleSetVolume(v[n], crowd_o.iLevel);
  for (std::int32_t n : {1, 2})
    if (v[n]) QALSampleSetVolume(v[n], crowd_o.iLevel / 2);
}

std::int32_t cdVolume(std::int32_t iSetting) { return iSetting * 12287 / 16; }

}  // namespace

void crowd_VoicesFree() {
  for (QALSample*& v : crowd_o.apoVoice) voiceFree(v);
  crowd_o.bRunning = 0;
  crowd_o.iState = 0;
}

void crowd_Init() {
  crowd_VoicesFree();
  crowd_o.iCDState = 0;
  crowd_o.iCDTimer = 0;
  crowd_o.bRunning = 0;
  crowd_o.iCurrent = -1;
  crowd_o.iState = 0;
  crowd_o.iLevel = 0;
  crowd_o.iCounter = 0;
  crowd_o.iStep = 0;
  crowd_o.iTrackIndex = 0;
  crowd_o.bLineArmed = 0;
  crowd_o.bInArea = 0;
  crowd_o.bTrigger = 0;
  crowd_o.bTensionDone = 0;
}

// ---- CD track machine -------------------------------------------------------------------

void crowd_CDStart() {
  QALCDSetVolume(cdVolume(soundmatch_InFrontEnd() ? options_oBlock.iMusicVolume : options_oBlock.iSfxVolume));
  crowd_o.iCDState = 1;
  crowd_o.iCDTimer = 1;
}

void crowd_CDStop() {
  std::int32_t error = QALCDStop();
  QDX_ASSERT(error == QAL_OK);
  crowd_o.iCDState = 0;
}

void crowd_CDPlay() { QALCDPlay(); }

void crowd_SetTrack(std::int32_t iIndex) {
  if (inTraining()) return;
  crowd_CDStop();
  crowd_o.iTrackIndex = iIndex;
  crowd_CDStart();
}

void crowd_CDUpdate() {
  if (soundmatch_InFrontEnd()) {
    std::int32_t m = soundmatch_GameMode();
    if ((m == 12 || m == 57 || m == 47 || m == 45) && (crowd_o.iCDState == 0 || crowd_o.iTrackIndex != 5)) {
      if (crowd_o.iCDState != 0) crowd_CDStop();
      crowd_o.iTrackIndex = 5;
      crowd_CDStart();
    }
  }
  switch (crowd_o.iCDState) {
    case 0:
      break;
    case 1:
      if (--crowd_o.iCDTimer > 0) break;
      QALCDSelectTrack(!soundmatch_InFrontEnd() && inTraining() ? 6 : crowd_o.iTrackIndex + 2);
      crowd_o.iCDState = 2;
      crowd_o.iCDTimer = 5;
      break;
    case 2:
      if (--crowd_o.iCDTimer > 0) break;
      crowd_CDPlay();
      crowd_o.iCDState = 3;
      crowd_o.iCDTimer = 50;
      break;
    case 3:
      if (--crowd_o.iCDTimer > 0) break;
      crowd_o.iCDTimer = 120;
      if (QALCDGetTimeLeft() < 1024) {
        QALCDStop();
        crowd_o.iCDState = 4;
        crowd_o.iCDTimer = 5;
      }
      break;
    case 4:
      if (--crowd_o.iCDTimer > 0) break;
      crowd_CDPlay();
      crowd_o.iCDState = 3;
      crowd_o.iCDTimer = 150;
      break;
    case 5:
      QALCDStop();
      crowd_o.iCDState = 0;
      break;
    default:
      QDX_ASSERT(!"unknown CD state");
  }
}

std::int32_t crowd_VenueFlag() {
  std::int32_t k = soundmatch_ExtendedMode();
  if (k == 50 || k == 74 || k == 39 || k == 15) return 0;
  return tmglobal_FinalsGet();
}

std::int32_t crowd_IsCompetitive() {
  std::int32_t k = soundmatch_ExtendedMode();
  return (k == 50 || k == 74 || k == 39 || k == 15) ? 0 : 1;
}

std::int32_t crowd_TrackFor(std::int32_t iEvent, std::int32_t d, std::int32_t C, std::int32_t F, std::int32_t m) {
  switch (iEvent) {
    case 0:
      if (d < 0) return 2;
      if (d == 0) return C ? 1 : 0;
      return (!C && m < 81 && d < 3) ? 0 : 1;
    case 1:
      if (d > 0 || (d == 0 && C)) return 0;
      if (C && m > 80 && d < -2) return 3;
      return 2;
    case 2:
      if (m < 81) return -1;
      if (d < 0) return (d >= -2 && !C) ? 2 : 3;
      if (d > 0) return C ? 1 : 0;
      return F ? 2 : 0;
  }
  return -1;
}

void crowd_ChooseTrack(std::int32_t iEvent) {
  if (inTraining()) return;
  std::int32_t d = soundmatch_HomeGoals() - soundmatch_AwayGoals();
  std::int32_t t = crowd_TrackFor(iEvent, d, crowd_IsCompetitive(), crowd_VenueFlag(), soundmatch_Minute());
  if (t >= 0) crowd_SetTrack(t);
}

// ---- Reactions ------------------------------------------------------------------------------

void crowd_ReactionStart(std::int32_t iReaction) {
  if (iReaction < 0 || iReaction >= CROWD_REACTIONS) return;
  crowd_o.iState = 0;
  if (crowd_o.bRunning) voicesStop();
  const CrowdReaction& r = crowd_aReactions[iReaction];
  QALSample** v = crowd_o.apoVoice;  // A, B, C, D
  voiceInstance(v[0], r.poBank, r.iSound);
  voiceInstance(v[1], r.poBank, r.iSound);
  if (static_cast<std::int8_t>(r.iSecond) >= 0) {
    voiceInstance(v[3], r.poBank, r.iSecond);
    voiceInstance(v[2], r.poBank, r.iSecond);
    for (std::int32_t n : {0, 1})
      if (v[n]) QALSampleSetPan(v[n], 0);
    for (std::int32_t n : {2, 3})
      if (v[n]) QALSampleSetPan(v[n], 65535);
    voiceShift(v[1], 1000);
    voiceShift(v[2], -1000);
  } else {
    voiceInstance(v[3], r.poBank, r.iSound);
    voiceInstance(v[2], r.poBank, r.iSound);
    static const std::int32_t kPan[4] = {12288, 4096, 61439, 57343};
    for (std::int32_t n = 0; n < 4; ++n)
      if (v[n]) QALSampleSetPan(v[n], kPan[n]);
    voiceShift(v[3], -500);
    voiceShift(v[1], -1000);
    voiceShift(v[2], 1000);
  }
  for (QALSample* s : crowd_o.apoVoice)
    if (s) QALSampleSetVolume(s, 0);
  crowd_o.iCurrent = iReaction;
  crowd_o.bRunning = 1;
  crowd_o.iState = 1;
}

void crowd_ReactionFadeOut(std::int32_t iReaction) {
  if (!crowd_o.bRunning || crowd_o.iCurrent != iReaction) return;
  const CrowdReaction& r = crowd_aReactions[iReaction];
  crowd_o.iCounter = 2 * r.iFadeOut;
  if (crowd_o.iCounter < 1) crowd_o.iCounter = 1;
  crowd_o.iStep = r.iPeak / crowd_o.iCounter;
  crowd_o.iState = 4;
}

void crowd_ReactionStop(std::int32_t iReaction) {
  if (crowd_o.iCurrent != iReaction) return;
  voicesStop();
  crowd_o.iState = 0;
  crowd_o.bRunning = 0;
}

void crowd_ReactionUpdate() {
  if (crowd_o.iCurrent < 0 || crowd_o.iCurrent >= CROWD_REACTIONS) return;
  const CrowdReaction& r = crowd_aReactions[crowd_o.iCurrent];
  QALSample** v = crowd_o.apoVoice;
  switch (crowd_o.iState) {
    case 1:
      crowd_o.iCounter = 2 * r.iFadeIn;
      if (crowd_o.iCounter < 1) crowd_o.iCounter = 1;
      for (std::int32_t n : {0, 3, 1, 2})
        if (v[n]) QALSamplePlay(v[n]);
      crowd_o.iLevel = 0;
      crowd_o.iStep = r.iPeak / crowd_o.iCounter;
      crowd_o.iState = 2;
      break;
    case 2:
      crowd_o.iCounter--;
      crowd_o.iLevel += crowd_o.iStep;
      if (crowd_o.iLevel > r.iPeak) crowd_o.iLevel = r.iPeak;
      voicesLevel();
      if (crowd_o.iCounter < 1) {
        crowd_o.iCounter = 2 * r.iHold;
        crowd_o.iState = 3;
      }
      break;
    case 3:
      if (--crowd_o.iCounter < 1) {
        crowd_o.iCounter = 2 * r.iFadeOut;
        crowd_o.iStep = r.iPeak / crowd_o.iCounter;
        crowd_o.iState = 4;
      }
      break;
    case 4:
      crowd_o.iCounter--;
      crowd_o.iLevel -= crowd_o.iStep;
      if (crowd_o.iLevel < 0) crowd_o.iLevel = 0;
      voicesLevel();
      if (crowd_o.iCounter < 1) {
        voicesStop();
        crowd_o.iState = 0;
        crowd_o.bRunning = 0;
      }
      break;
    default:
      break;
  }
}

namespace {
void react(std::int32_t iReaction, std::int32_t iPeak) {
  if (inTraining()) return;
  if (crowd_o.bRunning) crowd_ReactionStop(crowd_o.iCurrent);
  crowd_aReactions[iReaction].iPeak = static_cast<std::int16_t>(iPeak);
  crowd_ReactionStart(iReaction);
}
}  // namespace

void crowd_ReactGoal() { react(CROWD_GOAL, 32767 * options_oBlock.iSfxVolume / 16); }
void crowd_ReactHomeTeam() { react(CROWD_HOME, 28671 * options_oBlock.iSfxVolume / 16); }
void crowd_ReactAwayTeam() { react(CROWD_AWAY, 20479 * options_oBlock.iSfxVolume / 16); }

std::int32_t crowd_FoulLevel(std::int32_t h, std::int32_t y) {
  std::int32_t a = (std::abs(h) - 384) / 12;
  std::int32_t b = (std::abs(y) - 768) / 12;
  return 32767 - a * a - b * b;
}

void crowd_ReactFoul() {
  if (inTraining()) return;
  std::int32_t iLevel = crowd_FoulLevel(soundmatch_BallHeight(), soundmatch_BallY());
  if (iLevel < 0) return;
  std::int32_t iPeak = options_oBlock.iSfxVolume * iLevel / 16;
  if (crowd_o.bRunning) crowd_ReactionStop(crowd_o.iCurrent);
  crowd_aReactions[CROWD_FOUL].iPeak = static_cast<std::int16_t>(iPeak > 32767 ? 32767 : iPeak);
  crowd_AmbiencePlay(2, iLevel);
  crowd_ReactionStart(CROWD_FOUL);
  crowd_ChooseTrack(2);
}

void crowd_ReactTension() {
  if (inTraining() || crowd_o.bRunning) return;
  crowd_ReactionStart(CROWD_TENSION);
}

void crowd_AmbiencePlay(std::int32_t n, std::int32_t iVolume) {
  QALSample* s = pcsound_SampleGet(&pcsound_oCrowd, n);
  if (!s) return;
  std::int32_t v = iVolume * options_oBlock.iSfxVolume / 16;
  QALSampleSetVolume(s, v > 32767 ? 32767 : v);
  QALSampleSetPan(s, 32768);
  QALSamplePlay(s);
}

void crowd_ExcitementStep(std::int32_t x, std::int32_t y, std::int32_t iLineKind, std::int32_t iHomeClubState,
                          std::int32_t iMinute, std::int32_t bOwned, std::int32_t iOwnerSide, std::int32_t iHomeGoals,
                          std::int32_t iAwayGoals) {
  if (std::abs(x) < 18720 && std::abs(y) < 11520) {
    if (iLineKind == 2) {
      if (!crowd_o.bLineArmed) crowd_o.bTrigger = 1;
      crowd_o.bLineArmed = 1;
    } else if (crowd_o.bLineArmed) {
      crowd_o.bLineArmed = 0;
      crowd_ReactionFadeOut(CROWD_NEARGOAL);
    }
    std::int32_t bArea = (iHomeClubState == 0 ? x >= 5760 : x <= -5760) && std::abs(y) < 2880;
    if (bArea && !crowd_o.bInArea) {
      crowd_ReactionFadeOut(CROWD_NEARGOAL);
      crowd_o.bTrigger = 1;
    }
    crowd_o.bInArea = bArea;
  }
  if (crowd_o.bTrigger && !crowd_o.bRunning) {
    crowd_o.bTrigger = 0;
    crowd_aReactions[CROWD_NEARGOAL].iPeak = static_cast<std::int16_t>(12287 * options_oBlock.iSfxVolume / 16);
    crowd_ReactionStart(CROWD_NEARGOAL);
  }
  std::int32_t d = iHomeGoals - iAwayGoals;
  if (iMinute >= 80 && iMinute <= 84) {
    // The side one goal behind (or either side at a level score) has the ball.
    std::int32_t bCondition = bOwned && (d == 0 || (d == 1 && iOwnerSide == 1) || (d == -1 && iOwnerSide == 0));
    if (!bCondition) {
      crowd_o.bTensionDone = 0;
    } else if (!crowd_o.bTensionDone && !crowd_o.bRunning) {
      crowd_o.bTensionDone = 1;
      crowd_ReactionStart(CROWD_TENSION);
    }
  } else if (iMinute >= 85) {
    if ((d == 1 || d == -1) && !crowd_o.bRunning) crowd_ReactionStart(CROWD_TENSION);
  }
}

void crowd_UpdateExcitement() {
  if (inTraining() || !pcsound_bBanksLoaded) return;
  std::int32_t x, y, iOwnerSide;
  soundmatch_BallForExcitement(&x, &y);
  std::int32_t bOwned = soundmatch_BallOwnerSide(&iOwnerSide);
  crowd_ExcitementStep(x, y, soundmatch_OffsideKind(), soundmatch_HomeClubState(), soundmatch_Minute(), bOwned,
                       iOwnerSide, soundmatch_HomeGoals(), soundmatch_AwayGoals());
}

void crowd_StopAll() {
  crowd_CDStop();
  if (crowd_o.bRunning) crowd_ReactionStop(crowd_o.iCurrent);
}

void crowd_StopAllQuiet() {
  QALCDStop();
  crowd_o.iCDState = 0;
  if (crowd_o.bRunning) crowd_ReactionStop(crowd_o.iCurrent);
}
