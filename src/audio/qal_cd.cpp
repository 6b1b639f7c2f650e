// QAL: CD audio over the disc's audio tracks: track table in MSF positions,
// play ranges, time left, the auxiliary volume with its balance, the fade.
#include <algorithm>
#include <atomic>

#include "audio/qal.h"
#include "platform/audio.h"

std::int32_t qal_bCDOpened = 0;
QALCDTrackTable qal_oCD;

namespace {
std::atomic<int32_t> g_playing{0};
std::atomic<int32_t> g_cdVolume{32767};
std::atomic<int32_t> g_cdBalance{32768};
QALFade* g_cdFade = nullptr;

int32_t msfMinutes(uint32_t msf) { return static_cast<int32_t>(msf & 0xFF); }
int32_t msfSeconds(uint32_t msf) { return static_cast<int32_t>((msf >> 8) & 0xFF); }
int32_t msfFrames(uint32_t msf) { return static_cast<int32_t>((msf >> 16) & 0xFF); }

void fadeApply(int32_t value, void*) { QALCDSetVolume(value); }
}  // namespace

uint32_t QALCDFramesToMsf(uint32_t frames) {
  uint32_t minutes = std::min<uint32_t>(frames / 4500, 255);
  return minutes | ((frames / 75 % 60) << 8) | ((frames % 75) << 16);
}

uint32_t QALCDMsfToFrames(uint32_t msf) {
  return static_cast<uint32_t>(msfMinutes(msf) * 4500 + msfSeconds(msf) * 75 + msfFrames(msf));
}

int32_t QALCDOpen() {
  if (qal_bCDOpened) return QAL_OK;
  if (!platform::cdOpen()) return QAL_ERROR;
  QALCDTrackTable t;
  t.firstTrack = 1;
  t.lastTrack = std::min(platform::cdTrackCount(), QAL_CD_MAX_TRACKS);
  if (t.lastTrack < 1) {
    platform::cdClose();
    return QAL_ERROR;
  }
  for (int n = 1; n <= t.lastTrack; ++n) t.start[n - 1] = QALCDFramesToMsf(platform::cdTrackStart(n));
  t.start[t.lastTrack] = QALCDFramesToMsf(platform::cdDiscLength());
  qal_oCD = t;
  g_playing.store(0);
  qal_bCDOpened = 1;
  int32_t volume = QALCDGetVolume();
  g_cdVolume.store(volume);
  qal_oCD.savedVolume = volume;
  return QAL_OK;
}

int32_t QALCDClose() {
  if (!qal_bCDOpened) return QAL_ERROR;
  QALFadeFree(g_cdFade);
  g_cdFade = nullptr;
  platform::cdStop();
  QALCDSetVolume(qal_oCD.savedVolume);
  platform::cdClose();
  qal_bCDOpened = 0;
  g_playing.store(0);
  return QAL_OK;
}

int32_t QALCDSelectTrack(int32_t track) {
  if (!qal_bCDOpened || track < qal_oCD.firstTrack || track > qal_oCD.lastTrack) return QAL_ERROR;
  uint32_t from = qal_oCD.start[track - 1];
  if (!platform::cdSeek(QALCDMsfToFrames(from))) return QAL_ERROR;
  qal_oCD.selected = track;
  qal_oCD.from = from;
  qal_oCD.to = qal_oCD.start[track];
  qal_oCD.position = from;
  g_playing.store(0);
  return QAL_OK;
}

int32_t QALCDPlay() {
  // Our disc never keeps the caller waiting: the play starts here and now.
  if (qal_bCDOpened && qal_oCD.selected >= 0 &&
      platform::cdPlay(QALCDMsfToFrames(qal_oCD.from), QALCDMsfToFrames(qal_oCD.to)))
    g_playing.store(1);
  return QAL_OK;
}

int32_t QALCDIsPlaying() { return g_playing.load(); }

int32_t QALCDStop() {
  if (!qal_bCDOpened) return QAL_OK;
  if (!platform::cdStop()) return QAL_ERROR;
  qal_oCD.position = qal_oCD.from;
  g_playing.store(0);
  return QAL_OK;
}

int32_t QALCDGetTimeLeft() {
  if (!qal_bCDOpened) return QAL_ERROR;
  uint32_t pos = QALCDFramesToMsf(platform::cdPosition());
  int32_t f = msfFrames(qal_oCD.to) - msfFrames(pos);
  int32_t s = msfSeconds(qal_oCD.to) - msfSeconds(pos);
  int32_t m = msfMinutes(qal_oCD.to) - msfMinutes(pos);
  if (f < 0) {
    f += 75;
    --s;
  }
  if (s < 0) {
    s += 60;
    --m;
  }
  return m * 65536 + s * 256 + f;
}

int32_t QALCDSetVolume(int32_t volume) {
  int32_t v = std::clamp(volume, 0, 32767);
  int32_t b = g_cdBalance.load();
  int32_t left = v, right = v;
  if (b < 32769)
    right = std::max(0, v - (32768 - b));
  else
    left = std::max(0, v - (b - 32768));
  platform::cdSetAuxVolume(static_cast<uint32_t>(left * 2) | (static_cast<uint32_t>(right * 2) << 16));
  g_cdVolume.store(volume);
  return QAL_OK;
}

int32_t QALCDGetVolume() { return static_cast<int32_t>((platform::cdAuxVolume() & 0xFFFF) / 2); }

int32_t QALCDPause() {
  if (!qal_bCDOpened) return QAL_ERROR;
  if (!platform::cdStop()) return QAL_ERROR;
  qal_oCD.position = QALCDFramesToMsf(platform::cdPosition());
  g_playing.store(0);
  return QAL_OK;
}

int32_t QALCDResume() {
  if (!qal_bCDOpened || qal_oCD.selected < 0) return QAL_ERROR;
  if (!platform::cdPlay(QALCDMsfToFrames(qal_oCD.position), QALCDMsfToFrames(qal_oCD.to))) return QAL_ERROR;
  g_playing.store(1);
  return QAL_OK;
}

int32_t QALCDRewind() {
  if (!qal_bCDOpened || qal_oCD.selected < 0) return QAL_ERROR;
  if (!platform::cdSeek(QALCDMsfToFrames(qal_oCD.from))) return QAL_ERROR;
  qal_oCD.position = qal_oCD.from;
  g_playing.store(0);
  return QAL_OK;
}

int32_t QALCDSetBalance(int32_t balance) {
  g_cdBalance.store(std::clamp(balance, 0, 65535));
  return QALCDSetVolume(g_cdVolume.load());
}

int32_t QALCDGetBalance() { return g_cdBalance.load(); }

int32_t QALCDFade(int32_t from, int32_t to, uint32_t ms) {
  if (!qal_bCDOpened) return QAL_ERROR;
  g_cdFade = QALFadeStart(g_cdFade, from, to, ms, fadeApply, nullptr);
  return QAL_OK;
}
