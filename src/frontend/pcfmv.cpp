// The movie player.
#include "frontend/pcfmv.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "audio/audio_services.h"
#include "audio/qal.h"
#include "audio/sound.h"
#include "display/blit/qdl_blit.h"
#include "display/qdl.h"
#include "display/qdl_draw.h"
#include "display/qdl_present.h"
#include "framework/qdx_input.h"
#include "frontend/frontend_services.h"
#include "frontend/pctext.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/movie_streamer.h"
#include "platform/paths.h"
#include "shell/pcinstall.h"
#include "shell/saidonce.h"

const MovieEntry pcfmv_aoMovies[PCFMV_MOVIES] = {
    {"quorrel.rpl", 171},   {"korvenaintn.rpl", 170}, {"ostrellogo.rpl", 172}, {"histry.rpl", 204},
    {"histshrt.rpl", 351},  {"wineng.rpl", 173},      {"winfra.rpl", 174},     {"winjap.rpl", 175},
    {"winita.rpl", 176},    {"winspa.rpl", 177},      {"winger.rpl", 178},     {"winpor.rpl", 179},
    {"qualeng.rpl", 180},   {"qualfra.rpl", 181},     {"qualita.rpl", 183},    {"qualspa.rpl", 184},
    {"qualger.rpl", 185},   {"qualport.rpl", 186},    {"elimeng.rpl", 187},    {"elimfra.rpl", 188},
    {"elimita.rpl", 190},   {"elimspa.rpl", 191},     {"elimger.rpl", 192},    {"swdn58mv.rpl", 193},
    {"chl62nws.rpl", 194},  {"uk66nwsp.rpl", 195},    {"mexico70.rpl", 196},   {"wstgrmny.rpl", 197},
    {"argntnsq.rpl", 198},  {"espania82.rpl", 199},   {"mexico86.rpl", 200},   {"italia90.rpl", 201},
    {"us94nwsp.rpl", 202},  {"france98.rpl", 203}};

PCFMVState pcfmv_o = {};
std::int32_t pcfmv_bPlaying = 0;

namespace {

QDLRectI16 s_oTargetRect = {0, 0, 640, 480};
uint32_t s_uVideoWord = 0;

// The count of low zero bits of a mask and of the one bits above them.
void MaskShiftWidth(uint32_t uMask, int32_t* piShift, int32_t* piWidth) {
  int32_t s = 0, w = 0;
  while (s < 32 && uMask && !(uMask & (1u << s))) ++s;
  while (s + w < 32 && (uMask & (1u << (s + w)))) ++w;
  *piShift = s;
  *piWidth = w;
}

// The game's audio for the menus again: the library, the menu sounds and
// no CD music.
void AudioRestart() {
  if (!qal_bStarted && QALInit(nullptr, 1048576, 1024) >= 0) qal_bStarted = 1;
  pcfmv_o.bAudioDown = 0;
  if (!qal_bStarted) return;
  crowd_CDStop();
  pcsound_FrontEndBank();
}

// Releases what an open movie holds: the voice, the streamer's handles and
// the raised priority.
void Close() {
  pcfmv_bPlaying = 0;
  pcfmv_o.bOpen = 0;
  platform::processPrioritySet(pcfmv_o.bPrioritySaved ? pcfmv_o.uSavedPriority : platform::kPriorityNormal);
  pcfmv_o.bPrioritySaved = 0;
  if (pcfmv_o.uVoice != 0) {
    if (pcfmv_o.abLocked[0] || pcfmv_o.abLocked[1]) platform::voiceUnlock(pcfmv_o.uVoice);
    platform::voiceStop(pcfmv_o.uVoice);
    platform::voiceRelease(pcfmv_o.uVoice);
  }
  pcfmv_o.uVoice = 0;
  pcfmv_o.apbHalf[0] = pcfmv_o.apbHalf[1] = nullptr;
  pcfmv_o.abLocked[0] = pcfmv_o.abLocked[1] = 0;
  pcfmv_o.bSoundPending = 0;
  Streamer_ShutDownSound(&pcfmv_o.uSound);
  Streamer_ShutDownVideo(&pcfmv_o.uVideo);
  Streamer_ShutDownMovie(&pcfmv_o.uMovie);
}

// The film's sound voice: the device, a writable voice of two halves the
// streamer decodes into, the first half to be played first. False when the
// device does not open or the voice cannot be made.
bool SoundVoiceOpen(int32_t iRate) {
  if (!platform::audioOpen()) return false;
  pcfmv_o.uVoice = platform::voiceCreateWritable(PCFMV_SOUND_BYTES, 16, static_cast<uint32_t>(iRate));
  void* pv = nullptr;
  uint32_t uBytes = 0;
  if (pcfmv_o.uVoice == 0 || !platform::voiceLock(pcfmv_o.uVoice, 0, PCFMV_HALF_BYTES, &pv, &uBytes, nullptr, nullptr))
    return false;
  pcfmv_o.apbHalf[0] = static_cast<uint8_t*>(pv);
  pcfmv_o.apbHalf[1] = pcfmv_o.apbHalf[0] + PCFMV_HALF_BYTES;
  Streamer_SetSoundBuffer(pcfmv_o.uSound, 0, pcfmv_o.apbHalf[0]);
  Streamer_SetSoundBuffer(pcfmv_o.uSound, 1, pcfmv_o.apbHalf[1]);
  platform::voiceUnlock(pcfmv_o.uVoice);
  Streamer_SetSoundDecodeMode(pcfmv_o.uSound, 1);
  pcfmv_o.iLastFilled = 1;
  return true;
}

// The streamer, the target and the voice set up; false at the first failure.
bool Begin() {
  if (Streamer_InitMovie(&pcfmv_o.uMovie, 0, 0, pcfmv_o.szPath, 2097152, 0) != 0) return false;
  Streamer_SetPreloadAmount(pcfmv_o.uMovie, 524288);
  if (pcfmv_o.poTarget == nullptr) pcfmv_o.poTarget = QDLDisplaySurface();
  QDLSurface* poTarget = pcfmv_o.poTarget;
  if (poTarget == nullptr || poTarget->bitsPerPixel < 15 || poTarget->bitsPerPixel > 16) return false;
  s_oTargetRect = {static_cast<int16_t>(pcfmv_o.iTargetX), static_cast<int16_t>(pcfmv_o.iTargetY), 640, 480};
  if (Streamer_InitVideo(&pcfmv_o.uVideo, pcfmv_o.uMovie, Movie_GetXSize(pcfmv_o.uMovie),
                         Movie_GetYSize(pcfmv_o.uMovie), pcfmv_o.iTargetX, pcfmv_o.iTargetY, 0, 0, 640, 480, 8,
                         &s_oTargetRect, &s_uVideoWord) != 0)
    return false;
  if (QDLSurfaceLock(poTarget) != QDL_OK) return false;
  const int32_t iPitch = poTarget->pitch / 2;
  QDLSurfaceUnlock(poTarget);
  Streamer_SetVideoPitch(pcfmv_o.uVideo, iPitch, 480);
  int32_t rs, rw, gs, gw, bs, bw;
  MaskShiftWidth(poTarget->desc.pixelFormat.redMask, &rs, &rw);
  MaskShiftWidth(poTarget->desc.pixelFormat.greenMask, &gs, &gw);
  MaskShiftWidth(poTarget->desc.pixelFormat.blueMask, &bs, &bw);
  // A surface that names no masks is taken as 5-6-5.
  if (rw && gw && bw) Streamer_SetPixelFormat(pcfmv_o.uVideo, 16, 0, 0, rs, rw, gs, gw, bs, bw);
  QDLFillRect(poTarget, &s_oTargetRect, 0, 0);

  const int32_t iChannels = Movie_GetSoundChannels(pcfmv_o.uMovie);
  const int32_t iPrecision = Movie_GetSoundPrecision(pcfmv_o.uMovie);
  const int32_t iRate = Movie_GetSoundRate(pcfmv_o.uMovie);
  if (iChannels && iPrecision && iRate) {
    const bool bAdpcm = iPrecision == 4;
    if (Streamer_InitSound(pcfmv_SoundFilled, &pcfmv_o.uSound, PCFMV_HALF_BYTES, bAdpcm ? 4 : 1, bAdpcm ? 0 : 1, 4096,
                           iChannels) == STREAMER_SOUND_FAILED)
      return false;
    if (!SoundVoiceOpen(iRate)) {
      // No sound device (or no voice on it): the film plays its pictures
      // silently, the streamer skipping its sound.
      if (pcfmv_o.uVoice != 0) platform::voiceRelease(pcfmv_o.uVoice);
      pcfmv_o.uVoice = 0;
      Streamer_ShutDownSound(&pcfmv_o.uSound);
    }
  }
  if (Streamer_InitStreaming(pcfmv_o.uMovie, pcfmv_o.uVideo, pcfmv_o.uSound) == STREAMER_ENDED) return false;
  pcfmv_o.bSoundPending = pcfmv_o.uSound != 0;
  pcfmv_o.bFirstFrame = 1;
  pcfmv_o.bOpen = 1;
  pcfmv_bPlaying = 1;
  return true;
}

// A film that ends before its last frame: which film, and where it stopped.
void EarlyEndSay(int32_t iResult) {
  const int32_t iShown = Movie_GetCurrentFrame(pcfmv_o.uMovie), cFrames = Movie_GetFrameCount(pcfmv_o.uMovie);
  const std::string oPath = platform::resolvePath(pcfmv_o.szPath);
  if (iResult == STREAMER_TRUNCATED)
    std::fprintf(stderr, "pcfmv: the film %s is cut short: it stopped after frame %d of %d\n", oPath.c_str(), iShown,
                 cFrames);
  else
    std::fprintf(stderr, "pcfmv: the film %s is damaged: it stopped at frame %d of %d, after %d shown\n",
                 oPath.c_str(), iShown + 1, cFrames, iShown);
}

}  // namespace

uint32_t pcfmv_TickGet() { return static_cast<uint32_t>(platform::nowNs() / 1000000u); }

const MovieEntry* pcfmv_poFind(uint32_t uId) {
  for (const MovieEntry& o : pcfmv_aoMovies)
    if (o.uId == uId) return &o;
  return nullptr;
}

int32_t pcfmv_Start(const char* pszFile) {
  if (pcfmv_o.bOpen) pcfmv_Stop();
  sfx_FreeEffectsBank();
  if (qal_bStarted) {
    QALShutdown();
    qal_bStarted = 0;
    pcfmv_o.bAudioDown = 1;
  }
  pcfmv_o.bSoundPending = 0;
  pcinstall_FmvPath(pcfmv_o.szPath, pszFile);
  if (Begin()) return 1;
  // Said once for each film that cannot be played.
  saidonce_Say("pcfmv", pcfmv_o.szPath,
               "pcfmv: the film " + platform::resolvePath(pcfmv_o.szPath) + " cannot be played");
  // A failed start gives back what it took and the menus' audio, once.
  Close();
  AudioRestart();
  return 0;
}

std::int32_t pcfmv_PlayById(std::int32_t iId) {
  QDLPresent(1);
  QDLPresent(1);
  // The priority in force before any movie: a call while one plays keeps it.
  if (!pcfmv_o.bPrioritySaved) {
    pcfmv_o.uSavedPriority = platform::processPriorityGet();
    pcfmv_o.bPrioritySaved = 1;
  }
  const MovieEntry* poEntry = pcfmv_poFind(static_cast<uint32_t>(iId));
  if (poEntry == nullptr || !pcfmv_Start(poEntry->szFile)) return 0;
  platform::processPrioritySet(platform::kPriorityHigh);
  return 1;
}

void pcfmv_Stop() {
  if (!pcfmv_o.bOpen) return;
  Close();
  QDLSurface* poDisplay = QDLDisplaySurface();
  for (int32_t i = 0; i < 2; ++i) {
    if (poDisplay != nullptr) QDLFillRect(poDisplay, nullptr, 0, 0);
    QDLPresent(0);
  }
  AudioRestart();
}

void pcfmv_StopForMode() { pcfmv_Stop(); }

std::int32_t pcfmv_IsIdle() { return pcfmv_bPlaying ? 0 : 1; }

float pcfmv_FrameRateGet() { return pcfmv_bPlaying ? Movie_GetFrameRate(pcfmv_o.uMovie) : 25.0f; }

std::int32_t pcfmv_CurrentFrameGet() { return pcfmv_bPlaying ? Movie_GetCurrentFrame(pcfmv_o.uMovie) : 0; }

std::int32_t pcfmv_ExpectedFrameGet() {
  if (!pcfmv_bPlaying || pcfmv_o.bFirstFrame) return 0;
  const uint32_t uElapsed = pcfmv_TickGet() - pcfmv_o.uStartTick;
  return static_cast<std::int32_t>(static_cast<double>(pcfmv_FrameRateGet()) * uElapsed * 0.001);
}

void pcfmv_StreamPump() {
  if (!pcfmv_bPlaying) return;
  while (Streamer_Stream(pcfmv_o.uMovie, pcfmv_o.uVideo, pcfmv_o.uSound, 0, 0, nullptr, 0, 0, 0) ==
         STREAMER_PUMP_AGAIN) {
  }
}

void pcfmv_TargetInit() {
  // Our display shows its back buffer: the movie decodes into it and the
  // front-end run presents it.
  pcfmv_o.poTarget = QDLDisplaySurface();
  pcfmv_o.iTargetX = 0;
  pcfmv_o.iTargetY = 0;
  pcfmv_bPlaying = 0;
}

void pcfmv_SoundFilled(uint32_t uSound) {
  const int32_t iMode = Streamer_GetSoundDecodeMode(uSound);
  if (iMode != 0 && iMode != 1) return;
  if (pcfmv_o.abLocked[iMode] && pcfmv_o.uVoice != 0) platform::voiceUnlock(pcfmv_o.uVoice);
  pcfmv_o.abLocked[iMode] = 0;
  Streamer_SetSoundDecodeMode(uSound, -1);
  pcfmv_o.iLastFilled = iMode;
}

std::int32_t pcfmv_FrameShow(std::int32_t bFlag) {
  if (!pcfmv_bPlaying) return 0;
  if (pcfmv_o.bFirstFrame) {
    pcfmv_o.uStartTick = pcfmv_TickGet();
    pcfmv_o.bFirstFrame = 0;
  }
  QDLSurface* poTarget = pcfmv_o.poTarget;
  if (poTarget == nullptr || QDLSurfaceLock(poTarget) != QDL_OK) {
    pcfmv_bPlaying = 0;
    return 0;
  }
  const int32_t iResult = Streamer_Stream(pcfmv_o.uMovie, pcfmv_o.uVideo, pcfmv_o.uSound, 0, bFlag, poTarget->pixels,
                                          0, 0, 0);
  QDLSurfaceUnlock(poTarget);
  if (iResult == STREAMER_ENDED) {
    pcfmv_bPlaying = 0;
    return 0;
  }
  if (iResult == STREAMER_TRUNCATED) {
    EarlyEndSay(iResult);
    pcfmv_bPlaying = 0;
    QDLPresent(1);
    QDLPresent(1);
    return 0;
  }
  if (iResult == STREAMER_DAMAGED) {
    EarlyEndSay(iResult);
    pcfmv_Stop();
    return 1;
  }
  if (pcfmv_o.bSoundPending && pcfmv_o.uVoice != 0) {
    platform::voiceStop(pcfmv_o.uVoice);
    platform::voiceSetPosition(pcfmv_o.uVoice, 0);
    platform::voicePlay(pcfmv_o.uVoice, true);
    pcfmv_o.bSoundPending = 0;
  }
  // Refill check: the half the play cursor has left is decoded into next.
  if (pcfmv_o.uSound != 0 && pcfmv_o.uVoice != 0 && Streamer_GetSoundDecodeMode(pcfmv_o.uSound) == -1) {
    uint32_t uCursor = 0;
    platform::voicePosition(pcfmv_o.uVoice, &uCursor);
    int32_t iNext = -1;
    if (pcfmv_o.iLastFilled == 1 && uCursor >= PCFMV_HALF_BYTES) iNext = 0;
    else if (pcfmv_o.iLastFilled == 0 && uCursor < PCFMV_HALF_BYTES) iNext = 1;
    if (iNext >= 0) {
      Streamer_SetSoundDecodeMode(pcfmv_o.uSound, iNext);
      void* pv = nullptr;
      uint32_t uBytes = 0;
      platform::voiceLock(pcfmv_o.uVoice, static_cast<uint32_t>(iNext) * PCFMV_HALF_BYTES, PCFMV_HALF_BYTES, &pv,
                          &uBytes, nullptr, nullptr);
      pcfmv_o.abLocked[iNext] = 1;
    }
  }
  return 0;
}

// ---- Keys that skip a film -------------------------------------------------------------

namespace {

constexpr uint8_t kSkipScanCodes[PCFMV_SKIP_KEYS] = {0x01, 0x1C, 0x9C};  // Escape, Return, keypad Enter

bool SkipKeyDown(int32_t i) {
  const uint8_t* pabKeys = QKeyboardGetState();
  return pabKeys != nullptr && (pabKeys[kSkipScanCodes[i]] & 0x80) != 0;
}

}  // namespace

void pcfmv_SkipKeysArm(PCFMVSkipKeys* po) {
  for (int32_t i = 0; i < PCFMV_SKIP_KEYS; i++) {
    po->abWasDown[i] = SkipKeyDown(i) ? 1 : 0;
    po->abPressed[i] = 0;
  }
}

bool pcfmv_bSkipKeyReleased(PCFMVSkipKeys* po) {
  const bool bTaken = pctext_bErrorBoxKeysTakenGet() != 0;
  bool bReleased = false;
  for (int32_t i = 0; i < PCFMV_SKIP_KEYS; i++) {
    const bool bDown = SkipKeyDown(i);
    if (bTaken) po->abPressed[i] = 0;
    else if (bDown && !po->abWasDown[i]) po->abPressed[i] = 1;
    else if (!bDown && po->abPressed[i]) bReleased = true;
    po->abWasDown[i] = bDown ? 1 : 0;
  }
  return bReleased;
}
