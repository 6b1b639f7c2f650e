#pragma once
// Private to src/platform/: the mixer shared by both audio backends and the
// backends' halves of the audio area.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/audio.h"

namespace platform::internal {

// ---- Mixer state read by the audio thread (atomics only) ---------------------
struct PcmData {
  std::vector<uint8_t> bytes;
  int bits = 16;
  uint32_t samples = 0;
};

constexpr uint32_t kMaxVoices = 1024;
constexpr uint32_t kVoiceIndexBits = 10;

struct VoiceSlot {
  std::atomic<const PcmData*> data{nullptr};  // null: free slot
  // Play state: low 2 bits 0 stopped, 1 once, 2 looping; the rest counts the
  // main thread's changes so that the mixer's end-of-sound never undoes a
  // newer play.
  std::atomic<uint32_t> state{0};
  std::atomic<uint64_t> pos{0};       // 32.32 samples, written by the mixer
  std::atomic<uint64_t> seek{0};      // bit 63 set: a position for the mixer to take
  std::atomic<uint64_t> step{0};      // 32.32 samples per output frame
  std::atomic<int32_t> gainLeft{65536}, gainRight{65536};  // Q16
};

// A play of a CD range: its own PCM view and position, replaced as a whole by
// every play, stop and seek so that the mixer only ever writes its own copy.
struct CdPlayState {
  const int16_t* pcm = nullptr;  // stereo frames from firstSample
  uint64_t firstSample = 0;      // disc sample of pcm[0]
  uint64_t pcmFrames = 0;
  uint64_t endSample = 0;        // playing stops here
  std::atomic<uint64_t> pos{0};  // disc sample
  std::atomic<bool> playing{false};
};

struct Mixer {
  VoiceSlot slots[kMaxVoices];
  std::atomic<uint32_t> highWater{0};
  std::atomic<CdPlayState*> cd{nullptr};
  std::atomic<int32_t> cdGainLeft{65536}, cdGainRight{65536};
  std::atomic<uint64_t> epoch{0};  // finished mixing passes
};
Mixer& mixer();

// Mixes frames into out (stereo 16-bit, interleaved; null: only move the
// voices on). Runs on the audio thread (SDL) or the main thread (headless).
void mixFrames(int16_t* out, uint32_t frames);

// ---- Main-thread bookkeeping (guarded by audioMutex) -----------------------
std::recursive_mutex& audioMutex();
// Keeps an object alive until the mixer can no longer see it.
void deferFree(std::shared_ptr<void> object);
// Frees what the mixer has finished with (everything when the device is closed).
void collectGarbage(bool all);

// ---- Backends --------------------------------------------------------------
struct AudioBackend {
  // False when no device opens, with the reason in why.
  bool (*open)(uint32_t* hardwareBuffers, std::string* why);
  void (*close)();
  void (*sync)();  // headless: mix up to the virtual clock before a change or a read
  bool concurrent;  // the mixer runs on a thread of its own
};
extern const AudioBackend kSdlAudio;
extern const AudioBackend kHeadlessAudio;
const AudioBackend& audioBackend();

// The first device that would not open is reported on stderr in one line,
// once until the platform shuts down (shutdown forgets it).
void audioForgetSilence();

// CD area (audio_cd.cpp): closing with the device.
void cdDeviceClosed();
std::string cdStateText();

}  // namespace platform::internal
