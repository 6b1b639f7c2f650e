// The audio area common to both backends: the voice table, the mixer and the
// state reports.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/audio_internal.h"
#include "platform/internal.h"
#include "platform/saidonce.h"

namespace platform {
namespace internal {
namespace {

// Main-thread view of a voice: what the mixer does not need, and the PCM's
// owner.
struct VoiceShadow {
  uint32_t generation = 1;
  bool used = false;
  bool hardware = false;
  bool writable = false;
  std::shared_ptr<PcmData> pcm;
  int32_t volume = 0;
  int32_t pan = 0;
  uint32_t frequency = 22050;
  uint32_t changes = 0;  // play/stop counter (see VoiceSlot::state)
  // A slot freed while the audio thread mixed it is not reused until that
  // pass is over, so that pass never writes into the next voice's state.
  bool freed = false;
  uint64_t freedEpoch = 0;
};

Mixer g_mixer;
// What the game says once when no sound device opens.
constexpr const char* kSilentTopic = "sound device";
VoiceShadow g_shadow[kMaxVoices];
bool g_open = false;
uint32_t g_freeHardware = 0;

struct Deferred {
  uint64_t epoch;
  std::shared_ptr<void> object;
};
std::vector<Deferred> g_deferred;

constexpr uint32_t kGenerationMask = (1u << (32 - kVoiceIndexBits)) - 1;

VoiceHandle makeHandle(uint32_t index) {
  return ((g_shadow[index].generation & kGenerationMask) << kVoiceIndexBits) | index;
}

// The slot of a live handle, or -1. Caller holds the mutex.
int slotOf(VoiceHandle h) {
  if (h == 0 || !g_open) return -1;
  uint32_t index = h & ((1u << kVoiceIndexBits) - 1);
  uint32_t gen = h >> kVoiceIndexBits;
  if (index >= kMaxVoices || !g_shadow[index].used || (g_shadow[index].generation & kGenerationMask) != gen)
    return -1;
  return static_cast<int>(index);
}

int32_t dbToGain(int32_t hundredthsDb) {
  if (hundredthsDb <= -10000) return 0;
  if (hundredthsDb >= 0) return 65536;
  return static_cast<int32_t>(std::lround(65536.0 * std::pow(10.0, hundredthsDb / 2000.0)));
}

void applyGains(int index) {
  const VoiceShadow& s = g_shadow[index];
  int32_t left = s.volume - (s.pan > 0 ? s.pan : 0);
  int32_t right = s.volume + (s.pan < 0 ? s.pan : 0);
  g_mixer.slots[index].gainLeft.store(dbToGain(left), std::memory_order_relaxed);
  g_mixer.slots[index].gainRight.store(dbToGain(right), std::memory_order_relaxed);
}

void applyStep(int index) {
  uint64_t step = (static_cast<uint64_t>(g_shadow[index].frequency) << 32) / kAudioOutputRate;
  g_mixer.slots[index].step.store(step, std::memory_order_relaxed);
}

int newSlot() {
  const bool concurrent = audioBackend().concurrent;
  const uint64_t epoch = g_mixer.epoch.load();
  for (uint32_t i = 0; i < kMaxVoices; ++i) {
    if (g_shadow[i].used) continue;
    if (concurrent && g_shadow[i].freed && epoch <= g_shadow[i].freedEpoch) continue;
    VoiceShadow& s = g_shadow[i];
    s.used = true;
    s.volume = 0;
    s.pan = 0;
    s.frequency = kAudioOutputRate;
    s.changes = 0;
    s.hardware = s.writable = false;
    VoiceSlot& v = g_mixer.slots[i];
    v.state.store(0);
    v.pos.store(0);
    v.seek.store(0);
    applyGains(static_cast<int>(i));
    applyStep(static_cast<int>(i));
    if (g_mixer.highWater.load() < i + 1) g_mixer.highWater.store(i + 1);
    return static_cast<int>(i);
  }
  return -1;
}

void freeSlot(int index) {
  VoiceShadow& s = g_shadow[index];
  VoiceSlot& v = g_mixer.slots[index];
  v.state.store(0);
  v.data.store(nullptr);
  if (s.pcm) deferFree(std::move(s.pcm));
  s.pcm.reset();
  if (s.hardware) ++g_freeHardware;
  s.used = false;
  s.freed = true;
  s.freedEpoch = g_mixer.epoch.load();
  ++s.generation;
}

uint32_t bytesPerSample(const VoiceShadow& s) { return s.pcm && s.pcm->bits == 8 ? 1 : 2; }

int16_t sampleAt(const PcmData* d, uint32_t i) {
  if (d->bits == 8) return static_cast<int16_t>((static_cast<int32_t>(d->bytes[i]) - 128) * 256);
  return static_cast<int16_t>(static_cast<uint16_t>(d->bytes[2 * i] | (d->bytes[2 * i + 1] << 8)));
}

}  // namespace

Mixer& mixer() { return g_mixer; }

std::recursive_mutex& audioMutex() {
  static std::recursive_mutex m;
  return m;
}

void deferFree(std::shared_ptr<void> object) {
  if (!object) return;
  g_deferred.push_back(Deferred{g_mixer.epoch.load(), std::move(object)});
}

void collectGarbage(bool all) {
  uint64_t now = g_mixer.epoch.load();
  auto it = std::remove_if(g_deferred.begin(), g_deferred.end(),
                           [&](const Deferred& d) { return all || now > d.epoch; });
  g_deferred.erase(it, g_deferred.end());
}

const AudioBackend& audioBackend() { return backend() == BackendKind::Sdl ? kSdlAudio : kHeadlessAudio; }

void mixFrames(int16_t* out, uint32_t frames) {
  constexpr uint32_t kChunk = 256;
  int32_t acc[kChunk * 2];
  uint32_t high = g_mixer.highWater.load(std::memory_order_acquire);
  while (frames > 0) {
    // Without output the voices move on in one step per pass, to the very
    // positions the sample-by-sample loop would reach.
    uint32_t n = out ? std::min(frames, kChunk) : std::min(frames, 1u << 24);
    if (out) std::memset(acc, 0, sizeof(int32_t) * n * 2);
    for (uint32_t i = 0; i < high; ++i) {
      VoiceSlot& v = g_mixer.slots[i];
      const PcmData* d = v.data.load(std::memory_order_acquire);
      if (!d) continue;
      uint64_t pos = v.pos.load(std::memory_order_relaxed);
      uint64_t sk = v.seek.exchange(0, std::memory_order_acq_rel);
      if (sk) {
        pos = sk & ~(1ull << 63);
        v.pos.store(pos, std::memory_order_relaxed);
      }
      uint32_t st = v.state.load(std::memory_order_acquire);
      uint32_t mode = st & 3;
      if (mode == 0 || d->samples == 0) continue;
      uint64_t step = v.step.load(std::memory_order_relaxed);
      int32_t gl = v.gainLeft.load(std::memory_order_relaxed);
      int32_t gr = v.gainRight.load(std::memory_order_relaxed);
      uint64_t length = static_cast<uint64_t>(d->samples) << 32;
      bool ended = false;
      if (!out) {
        if (mode == 2) {
          pos = (pos + static_cast<uint64_t>(n - 1) * step) % length + step;
        } else {
          pos += static_cast<uint64_t>(n) * step;
          ended = pos >= length;
        }
      }
      for (uint32_t k = 0; out && k < n; ++k) {
        if (pos >= length) {
          if (mode == 2) {
            pos %= length;
          } else {
            ended = true;
            break;
          }
        }
        if (out) {
          uint32_t idx = static_cast<uint32_t>(pos >> 32);
          int32_t s0 = sampleAt(d, idx);
          int32_t s1 = idx + 1 < d->samples ? sampleAt(d, idx + 1) : (mode == 2 ? sampleAt(d, 0) : s0);
          // Linear interpolation in 16.16, then the gain, rounded once.
          int64_t frac = static_cast<int64_t>(pos & 0xFFFFFFFFu);
          int64_t s = (static_cast<int64_t>(s0) << 16) + ((static_cast<int64_t>(s1 - s0) * frac) >> 16);
          acc[2 * k] += static_cast<int32_t>((s * gl + (1ll << 31)) >> 32);
          acc[2 * k + 1] += static_cast<int32_t>((s * gr + (1ll << 31)) >> 32);
        }
        pos += step;
      }
      if (!ended && mode == 1 && pos >= length) ended = true;
      if (ended) {
        // A one-shot that ran out stops and rewinds, unless the main thread
        // changed the voice meanwhile.
        if (v.state.compare_exchange_strong(st, st & ~3u, std::memory_order_acq_rel)) pos = 0;
      }
      v.pos.store(pos, std::memory_order_release);
    }
    CdPlayState* cd = g_mixer.cd.load(std::memory_order_acquire);
    if (cd && cd->playing.load(std::memory_order_acquire)) {
      uint64_t pos = cd->pos.load(std::memory_order_relaxed);
      int32_t gl = g_mixer.cdGainLeft.load(std::memory_order_relaxed);
      int32_t gr = g_mixer.cdGainRight.load(std::memory_order_relaxed);
      uint32_t k = 0;
      if (!out) pos = std::min<uint64_t>(cd->endSample, pos + n);
      for (; out && k < n && pos < cd->endSample; ++k, ++pos) {
        uint64_t at = pos - cd->firstSample;
        if (pos < cd->firstSample || at >= cd->pcmFrames) continue;
        acc[2 * k] += (cd->pcm[2 * at] * gl) >> 16;
        acc[2 * k + 1] += (cd->pcm[2 * at + 1] * gr) >> 16;
      }
      cd->pos.store(pos, std::memory_order_release);
      if (pos >= cd->endSample) cd->playing.store(false, std::memory_order_release);
    }
    if (out) {
      for (uint32_t k = 0; k < n * 2; ++k) out[k] = static_cast<int16_t>(std::clamp(acc[k], -32768, 32767));
      out += n * 2;
    }
    frames -= n;
  }
  g_mixer.epoch.fetch_add(1, std::memory_order_acq_rel);
}

}  // namespace internal

using namespace internal;

namespace {
// Before each operation: the headless mixer catches up with the clock, and
// what the audio thread has finished with is freed.
struct Guard {
  std::lock_guard<std::recursive_mutex> lock{audioMutex()};
  Guard() {
    if (g_open) {
      audioBackend().sync();
      collectGarbage(false);
    }
  }
};
}  // namespace

bool audioOpen() {
  std::lock_guard<std::recursive_mutex> lock(audioMutex());
  if (g_open) return true;
  if (!initialised()) return false;
  const char* device = std::getenv("KORVENA_AUDIO_DEVICE");
  if (device != nullptr && std::strcmp(device, "none") == 0) return false;
  uint32_t hardware = 0;
  std::string why;
  if (!audioBackend().open(&hardware, &why)) {
    // Said once: every film and the sound library try the device again.
    sayOnce(kSilentTopic, "",
            "Korvena Football: no sound device (" + (why.empty() ? std::string("it could not be opened") : why) +
                "); the game runs silent");
    return false;
  }
  g_freeHardware = hardware;
  g_open = true;
  return true;
}

void internal::audioForgetSilence() {
  std::lock_guard<std::recursive_mutex> lock(audioMutex());
  sayOnce(kSilentTopic, "", "");  // a new start says it again
}

void audioClose() {
  std::lock_guard<std::recursive_mutex> lock(audioMutex());
  if (!g_open) return;
  audioBackend().sync();
  cdDeviceClosed();
  audioBackend().close();  // the audio thread has stopped
  for (uint32_t i = 0; i < kMaxVoices; ++i)
    if (g_shadow[i].used) freeSlot(static_cast<int>(i));
  g_mixer.highWater.store(0);
  for (VoiceShadow& s : g_shadow) s.freed = false;  // no pass is running now
  g_open = false;
  collectGarbage(true);
}

bool audioIsOpen() {
  std::lock_guard<std::recursive_mutex> lock(audioMutex());
  return g_open;
}

AudioCaps audioCaps() {
  Guard g;
  AudioCaps caps;
  caps.freeHardwareBuffers = g_open ? g_freeHardware : 0;
  return caps;
}

namespace {
VoiceHandle createVoice(std::shared_ptr<PcmData> pcm, bool inSoftware, bool writable, uint32_t rate) {
  int i = newSlot();
  if (i < 0) return 0;
  VoiceShadow& s = g_shadow[i];
  s.hardware = !inSoftware && !writable && g_freeHardware > 0;
  if (s.hardware) --g_freeHardware;
  s.writable = writable;
  s.frequency = rate;
  applyStep(i);
  s.pcm = std::move(pcm);
  g_mixer.slots[i].data.store(s.pcm.get(), std::memory_order_release);
  return makeHandle(static_cast<uint32_t>(i));
}

bool validFormat(int bits, uint32_t rate) { return (bits == 8 || bits == 16) && rate >= 100 && rate <= 100000; }
}  // namespace

VoiceHandle voiceCreate(const void* pcm, uint32_t byteCount, int bits, uint32_t rate, bool inSoftware) {
  Guard g;
  if (!g_open || !validFormat(bits, rate) || byteCount == 0 || (!pcm && byteCount)) return 0;
  auto data = std::make_shared<PcmData>();
  data->bits = bits;
  data->samples = byteCount / (bits / 8);
  data->bytes.assign(static_cast<const uint8_t*>(pcm), static_cast<const uint8_t*>(pcm) + byteCount);
  return createVoice(std::move(data), inSoftware, false, rate);
}

VoiceHandle voiceCreateWritable(uint32_t byteCount, int bits, uint32_t rate) {
  Guard g;
  if (!g_open || !validFormat(bits, rate) || byteCount == 0) return 0;
  auto data = std::make_shared<PcmData>();
  data->bits = bits;
  data->samples = byteCount / (bits / 8);
  data->bytes.assign(byteCount, bits == 8 ? 128 : 0);
  return createVoice(std::move(data), true, true, rate);
}

VoiceHandle voiceDuplicate(VoiceHandle source) {
  Guard g;
  int from = slotOf(source);
  if (from < 0) return 0;
  // A duplicate of a hardware buffer needs a hardware buffer of its own.
  bool hardware = g_shadow[from].hardware;
  if (hardware && g_freeHardware == 0) return 0;
  int i = newSlot();
  if (i < 0) return 0;
  VoiceShadow& s = g_shadow[i];
  const VoiceShadow& src = g_shadow[from];
  s.hardware = hardware;
  if (hardware) --g_freeHardware;
  s.writable = src.writable;
  s.volume = src.volume;
  s.pan = src.pan;
  s.frequency = src.frequency;
  s.pcm = src.pcm;
  applyGains(i);
  applyStep(i);
  g_mixer.slots[i].data.store(s.pcm.get(), std::memory_order_release);
  return makeHandle(static_cast<uint32_t>(i));
}

void voiceRelease(VoiceHandle voice) {
  Guard g;
  int i = slotOf(voice);
  if (i >= 0) freeSlot(i);
}

bool voiceValid(VoiceHandle voice) {
  Guard g;
  return slotOf(voice) >= 0;
}

bool voiceInHardware(VoiceHandle voice) {
  Guard g;
  int i = slotOf(voice);
  return i >= 0 && g_shadow[i].hardware;
}

uint32_t voiceByteCount(VoiceHandle voice) {
  Guard g;
  int i = slotOf(voice);
  return i >= 0 ? static_cast<uint32_t>(g_shadow[i].pcm->bytes.size()) : 0;
}

bool voicePlay(VoiceHandle voice, bool loop) {
  Guard g;
  int i = slotOf(voice);
  if (i < 0) return false;
  VoiceShadow& s = g_shadow[i];
  ++s.changes;
  g_mixer.slots[i].state.store((s.changes << 2) | (loop ? 2u : 1u), std::memory_order_release);
  return true;
}

bool voiceStop(VoiceHandle voice) {
  Guard g;
  int i = slotOf(voice);
  if (i < 0) return false;
  VoiceShadow& s = g_shadow[i];
  ++s.changes;
  g_mixer.slots[i].state.store(s.changes << 2, std::memory_order_release);
  return true;
}

bool voiceIsPlaying(VoiceHandle voice) {
  Guard g;
  int i = slotOf(voice);
  return i >= 0 && (g_mixer.slots[i].state.load() & 3) != 0;
}

bool voiceIsLooping(VoiceHandle voice) {
  Guard g;
  int i = slotOf(voice);
  return i >= 0 && (g_mixer.slots[i].state.load() & 3) == 2;
}

bool voiceSetPosition(VoiceHandle voice, uint32_t bytePos) {
  Guard g;
  int i = slotOf(voice);
  if (i < 0) return false;
  uint32_t bps = bytesPerSample(g_shadow[i]);
  uint64_t sample = std::min<uint64_t>(bytePos / bps, g_shadow[i].pcm->samples);
  g_mixer.slots[i].seek.store((1ull << 63) | (sample << 32), std::memory_order_release);
  return true;
}

bool voicePosition(VoiceHandle voice, uint32_t* bytePos) {
  Guard g;
  int i = slotOf(voice);
  if (i < 0 || !bytePos) return false;
  uint64_t sk = g_mixer.slots[i].seek.load();
  uint64_t pos = sk ? (sk & ~(1ull << 63)) : g_mixer.slots[i].pos.load();
  uint64_t sample = pos >> 32;
  uint32_t samples = g_shadow[i].pcm->samples;
  if (samples && sample >= samples) sample = (g_mixer.slots[i].state.load() & 3) == 2 ? sample % samples : samples;
  *bytePos = static_cast<uint32_t>(sample * bytesPerSample(g_shadow[i]));
  return true;
}

bool voiceSetVolume(VoiceHandle voice, int32_t hundredthsDb) {
  Guard g;
  int i = slotOf(voice);
  if (i < 0 || hundredthsDb > 0 || hundredthsDb < -10000) return false;
  g_shadow[i].volume = hundredthsDb;
  applyGains(i);
  return true;
}

bool voiceVolume(VoiceHandle voice, int32_t* hundredthsDb) {
  Guard g;
  int i = slotOf(voice);
  if (i < 0 || !hundredthsDb) return false;
  *hundredthsDb = g_shadow[i].volume;
  return true;
}

bool voiceSetPan(VoiceHandle voice, int32_t hundredthsDb) {
  Guard g;
  int i = slotOf(voice);
  if (i < 0 || hundredthsDb > 10000 || hundredthsDb < -10000) return false;
  g_shadow[i].pan = hundredthsDb;
  applyGains(i);
  return true;
}

bool voicePan(VoiceHandle voice, int32_t* hundredthsDb) {
  Guard g;
  int i = slotOf(voice);
  if (i < 0 || !hundredthsDb) return false;
  *hundredthsDb = g_shadow[i].pan;
  return true;
}

bool voiceSetFrequency(VoiceHandle voice, uint32_t hertz) {
  Guard g;
  int i = slotOf(voice);
  if (i < 0 || hertz < 100 || hertz > 100000) return false;
  g_shadow[i].frequency = hertz;
  applyStep(i);
  return true;
}

bool voiceFrequency(VoiceHandle voice, uint32_t* hertz) {
  Guard g;
  int i = slotOf(voice);
  if (i < 0 || !hertz) return false;
  *hertz = g_shadow[i].frequency;
  return true;
}

bool voiceLock(VoiceHandle voice, uint32_t offset, uint32_t bytes, void** part1, uint32_t* bytes1, void** part2,
               uint32_t* bytes2) {
  Guard g;
  int i = slotOf(voice);
  if (i < 0 || !g_shadow[i].writable || !part1 || !bytes1) return false;
  auto& data = g_shadow[i].pcm->bytes;
  uint32_t size = static_cast<uint32_t>(data.size());
  if (offset >= size || bytes > size) return false;
  uint32_t first = std::min(bytes, size - offset);
  *part1 = data.data() + offset;
  *bytes1 = first;
  if (part2) *part2 = bytes > first ? data.data() : nullptr;
  if (bytes2) *bytes2 = bytes - first;
  if (!part2 && bytes > first) return false;
  return true;
}

bool voiceUnlock(VoiceHandle voice) {
  Guard g;
  int i = slotOf(voice);
  if (i < 0 || !g_shadow[i].writable) return false;
  std::atomic_thread_fence(std::memory_order_release);
  return true;
}

MidiCaps midiCaps() { return MidiCaps{}; }

std::vector<VoiceState> audioPlayingVoices() {
  Guard g;
  std::vector<VoiceState> out;
  if (!g_open) return out;
  for (uint32_t i = 0; i < kMaxVoices; ++i) {
    if (!g_shadow[i].used) continue;
    uint32_t st = g_mixer.slots[i].state.load();
    if ((st & 3) == 0) continue;
    VoiceState v;
    v.handle = makeHandle(i);
    v.rate = g_shadow[i].frequency;
    voicePosition(v.handle, &v.position);
    v.byteCount = static_cast<uint32_t>(g_shadow[i].pcm->bytes.size());
    v.volume = g_shadow[i].volume;
    v.pan = g_shadow[i].pan;
    v.looping = (st & 3) == 2;
    v.hardware = g_shadow[i].hardware;
    out.push_back(v);
  }
  return out;
}

namespace {
std::string (*g_describeMore)() = nullptr;
}  // namespace

void audioStateLinesSet(std::string (*describe)()) { g_describeMore = describe; }

std::string audioStateText() {
  Guard g;
  char line[200];
  std::string text;
  std::vector<VoiceState> voices = audioPlayingVoices();
  std::snprintf(line, sizeof line, "audio device=%s voices=%zu\n", g_open ? "open" : "closed", voices.size());
  text += line;
  for (const VoiceState& v : voices) {
    std::snprintf(line, sizeof line, "audio voice=%u rate=%u pos=%u/%u volume=%d pan=%d loop=%d%s\n", v.handle, v.rate,
                  v.position, v.byteCount, v.volume, v.pan, v.looping ? 1 : 0, v.hardware ? " hardware" : "");
    text += line;
  }
  text += cdStateText();
  if (g_describeMore != nullptr) text += g_describeMore();
  return text;
}

}  // namespace platform
