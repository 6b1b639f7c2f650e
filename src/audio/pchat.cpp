// Players' shouts and the referee's phrases: picked from the speaker's bank,
// queued with a delay, then placed in stereo and volume from the camera.
#include <algorithm>
#include <cstdlib>

#include "audio/sound.h"
#include "framework/math/qrand.h"
#include "framework/math/trigw.h"

PchatState pchat_o = {};

namespace {
const std::int32_t kEvents[7][2] = {{0, 6}, {6, 4}, {10, 4}, {14, 4}, {18, 4}, {22, 2}, {24, 4}};

void voiceFree(QALSample*& v) {
  if (v) QALSampleFree(v);
  v = nullptr;
}
}  // namespace

void pchat_VoicesFree() {
  voiceFree(pchat_o.poShoutVoice);
  voiceFree(pchat_o.poRefereeVoice);
  pchat_o.iShoutDelay = -1;
  pchat_o.iRefereeDelay = -1;
}

void pchat_Reset() {
  std::int32_t now = soundmatch_Frame();
  for (std::int32_t& s : pchat_o.aiRefereeStamp) s = now - 3000;
  pchat_o.iShoutDelay = -1;
  pchat_o.iRefereeDelay = -1;
  pchat_o.iLastCallFrame = now - 90;
  for (auto& team : pchat_o.aaiRecent)
    for (std::int32_t& n : team) n = -1;
  pchat_o.iRecentCursor = 0;
}

void pchat_PickSample(std::int32_t iSide, std::int32_t iFirst, std::int32_t iCount) {
  std::int32_t index = iFirst + static_cast<std::int32_t>(QMathRandRange(static_cast<std::uint32_t>(iCount - 1)));
  iSide = iSide ? 1 : 0;
  for (std::int32_t n : pchat_o.aaiRecent[iSide])
    if (n == index) {
      pchat_o.iShoutDelay = -1;
      return;
    }
  QALSample* src = pcsound_SampleGet(iSide ? &pcsound_oSpeechAway : &pcsound_oSpeechHome, index);
  voiceFree(pchat_o.poShoutVoice);
  if (!src || !(pchat_o.poShoutVoice = QALSampleInstance(new QALSample, src))) {
    pchat_o.iShoutDelay = -1;
    return;
  }
  std::uint32_t f = static_cast<std::uint32_t>(QALSampleGetFrequency(pchat_o.poShoutVoice));
  QALSampleSetFrequency(pchat_o.poShoutVoice, f * (120 + (QMathRandNext() & 15)) / 128);
  pchat_o.aaiRecent[iSide][pchat_o.iRecentCursor] = index;
  pchat_o.iRecentCursor = (pchat_o.iRecentCursor + 1) & 7;
}

void pchat_EventSevenRange(std::int32_t x, std::int32_t y, std::int32_t bx, std::int32_t by, std::int32_t iDirection,
                           std::int32_t* piFirst, std::int32_t* piCount) {
  auto set = [&](std::int32_t f, std::int32_t c) { *piFirst = f, *piCount = c; };
  if (iDirection) {
    if (x > 0 && x > bx) return set(43, 3);
    if (y > 2880) return set(28, 3);
    if (y < -2880) return set(31, 3);
    if (x >= -7200) return x < 1 ? set(46, 6) : set(34, 3);
    return ((y > 0) != (by > 0)) ? set(40, 3) : set(37, 3);
  }
  if (x < 0 && x < bx) return set(43, 2);
  if (y < -2880) return set(28, 2);
  if (y > 2880) return set(31, 2);
  if (x > 7200) return ((y > 0) != (by >= 1)) ? set(40, 2) : set(37, 2);
  if (x < 0) return set(34, 3);
  set(46, 6);
}

void pchat_Say(Player* poPlayer, std::int32_t iEvent, std::int32_t iDelay) {
  if (options_oBlock.iPlayerChat <= 0 || options_oBlock.iPlayerChat > 8 || !poPlayer) return;
  std::int32_t iSide = soundmatch_Side(poPlayer);
  std::int32_t iFirst, iCount;
  if (iEvent != 7) {
    if (iEvent < 0 || iEvent > 6) return;
    iFirst = kEvents[iEvent][0];
    iCount = kEvents[iEvent][1];
  } else {
    std::int32_t now = soundmatch_Frame();
    if (now - pchat_o.iLastCallFrame < 90) return;
    std::uint32_t r = QMathRandNext();
    if ((r & 3) == 1) return;
    pchat_o.iLastCallFrame = now;
    std::int32_t number = soundmatch_PlayerNumber(poPlayer);
    if ((r & 7) == 0) {
      iFirst = 46, iCount = 6;
    } else if (number == 0 || number == 11) {
      iFirst = 24, iCount = 4;
    } else {
      std::int32_t p[3];
      soundmatch_PlayerPosition(poPlayer, p);
      pchat_EventSevenRange(p[0], p[2], soundmatch_BallX(), soundmatch_BallY(), soundmatch_PlayerDirection(poPlayer),
                            &iFirst, &iCount);
    }
  }
  pchat_o.iShoutDelay = iDelay;
  pchat_o.poShoutSpeaker = poPlayer;
  pchat_o.iShoutSide = iSide;
  pchat_PickSample(iSide, iFirst, iCount);
}

void pchat_RefereeSay(std::int32_t iPhrase, std::int32_t iDelay) {
  if (options_oBlock.iPlayerChat <= 0 || options_oBlock.iPlayerChat > 8 || iPhrase < 0 || iPhrase > 20) return;
  std::int32_t now = soundmatch_Frame();
  if (now - pchat_o.aiRefereeStamp[iPhrase] < 3000) return;
  QALSample* src = pcsound_SampleGet(&pcsound_oReferee, iPhrase);
  if (!src) return;
  pchat_o.aiRefereeStamp[iPhrase] = now;
  voiceFree(pchat_o.poRefereeVoice);
  pchat_o.poRefereeVoice = QALSampleInstance(new QALSample, src);
  pchat_o.iRefereeDelay = pchat_o.poRefereeVoice ? iDelay : -1;
}

std::int32_t pchat_Distance3(std::int32_t a, std::int32_t b, std::int32_t c) {
  std::int32_t v[3] = {a, b, c};
  std::sort(v, v + 3);
  return v[2] + v[1] * 11 / 32 + v[0] / 4;
}

std::int32_t pchat_Attenuation(std::int32_t iDistance) {
  if (iDistance < 513) return 0;
  if (2 * static_cast<std::int64_t>(iDistance) >= 65535) return 28671;
  return static_cast<std::int32_t>(28671LL * 2 * iDistance / 65536);
}

std::int32_t pchat_Pan(std::int32_t iAngleToSpeaker, std::int32_t iViewAngle) {
  std::int32_t d = (iAngleToSpeaker - iViewAngle) & 0xFFFF;
  std::int32_t p;
  if (d < 16384) p = 32768 - 2 * d;
  else if (d >= 49152) p = 32766 - 2 * d;
  else p = 2 * d + 32768;
  return (2 * p + 32768) & 0xFFFF;
}

void pchat_PlaceVoice(const std::int32_t S[3], const std::int32_t P[3], const std::int32_t T[3], QALSample* poVoice) {
  if (!poVoice) return;
  std::int32_t dist = pchat_Distance3(std::abs(S[0] - P[0]), std::abs(S[1] - T[1]), std::abs(S[2] - P[2]));
  QALSampleSetVolume(poVoice, 28671 - pchat_Attenuation(dist));
  std::int32_t toSpeaker = QMathAtan2(S[0] - P[0], S[2] - P[2]);
  std::int32_t view = QMathAtan2(T[0] - P[0], T[2] - P[2]);
  QALSampleSetPan(poVoice, pchat_Pan(toSpeaker, view));
}

void pchat_Update() {
  std::int32_t P[3], T[3];
  if (pchat_o.iShoutDelay == 0 && soundmatch_GameMode() == 2 && pchat_o.poShoutVoice && pchat_o.poShoutSpeaker) {
    std::int32_t S[3];
    soundmatch_PlayerPosition(pchat_o.poShoutSpeaker, S);
    soundmatch_Camera(P, T);
    pchat_PlaceVoice(S, P, T, pchat_o.poShoutVoice);
    QALSamplePlay(pchat_o.poShoutVoice);
  }
  if (pchat_o.iRefereeDelay == 0 && soundmatch_GameMode() != 7 && pchat_o.poRefereeVoice) {
    std::int32_t R[3];
    soundmatch_Referee(R);
    soundmatch_Camera(P, T);
    pchat_PlaceVoice(R, P, T, pchat_o.poRefereeVoice);
    QALSamplePlay(pchat_o.poRefereeVoice);
  }
  if (pchat_o.iShoutDelay >= 0) --pchat_o.iShoutDelay;
  if (pchat_o.iRefereeDelay >= 0) --pchat_o.iRefereeDelay;
}
