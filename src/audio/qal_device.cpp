// QAL: the output device, samples, voice slots, the software budget, the
// volume and pan scales, fades and PCM conversions.
#include <algorithm>
#include <atomic>
#include <map>

#include "audio/qal.h"
#include "platform/audio.h"
#include "platform/timer.h"

std::int32_t qal_bStarted = 0;
QALState qal_oState;

namespace {

// Device voices that several records share (a hardware sample and its
// instances): the voice goes when the last record lets go of it.
std::map<uint32_t, int32_t> g_sharedVoices;
// Software voices charged to the budget, with the bytes charged.
std::map<uint32_t, uint32_t> g_charged;

void retainVoice(uint32_t voice) { ++g_sharedVoices[voice]; }

// Lets go of one reference; true when the voice itself was released.
bool releaseVoice(uint32_t voice) {
  auto it = g_sharedVoices.find(voice);
  if (it != g_sharedVoices.end() && it->second > 1) {
    --it->second;
    return false;
  }
  if (it != g_sharedVoices.end()) g_sharedVoices.erase(it);
  platform::voiceRelease(voice);
  return true;
}

int32_t attenuationClamped(int32_t volume) {
  return std::clamp(QALVolumeToAttenuation(volume) + qal_oState.masterAttenuation, -10000, 0);
}

// Primes a fresh duplicate: silent play, stop, rewind, then its volume back.
void primeVoice(uint32_t voice) {
  int32_t volume = 0;
  platform::voiceVolume(voice, &volume);
  platform::voiceSetVolume(voice, -10000);
  platform::voicePlay(voice, false);
  platform::voiceStop(voice);
  platform::voiceSetPosition(voice, 0);
  platform::voiceSetVolume(voice, std::clamp(volume + qal_oState.masterAttenuation, -10000, 0));
}

bool acquireSlot(int n, QALSample* sample) {
  QALState& s = qal_oState;
  s.slotInUse[n] = nullptr;
  s.slotOwner[n] = nullptr;
  uint32_t dup = platform::voiceDuplicate(sample->buffer);
  if (!dup) return false;
  primeVoice(dup);
  s.slotCopy[n].buffer = dup;
  s.slotCopy[n].flags = sample->flags;
  s.slotCopy[n].reserved = 0;
  s.slotCopy[n].loop = sample->loop;
  --s.freeSlots;
  s.slotInUse[n] = &s.slotCopy[n];
  s.slotOwner[n] = sample;
  return true;
}

void releaseSlot(int n) {
  QALState& s = qal_oState;
  platform::voiceStop(s.slotCopy[n].buffer);
  platform::voiceRelease(s.slotCopy[n].buffer);
  s.slotCopy[n] = QALSample{};
  ++s.freeSlots;
  s.slotInUse[n] = nullptr;
  s.slotOwner[n] = nullptr;
}

// The first slot in use that the sample owns, or -1.
int firstOwnedSlot(const QALSample* sample) {
  for (int n = 0; n < qal_oState.slotCount; ++n)
    if (qal_oState.slotInUse[n] && qal_oState.slotOwner[n] == sample) return n;
  return -1;
}

bool isHardware(const QALSample* sample) { return (sample->flags & QAL_SAMPLE_HARDWARE) != 0; }

}  // namespace

int32_t QALVolumeToAttenuation(int32_t volume) {
  return ((volume - 32767) >> 3) + (volume < 16383 ? (volume - 16383) >> 3 : 0);
}

int32_t QALPanToDevice(int32_t pan) { return ((pan - 32768) * 8192) / 32768; }

int32_t QALGetCaps() {
  platform::AudioCaps caps = platform::audioCaps();
  qal_oState.options |= caps.bits16 ? QAL_OPTION_16BIT : QAL_OPTION_8BIT;
  qal_oState.options |= caps.stereo ? QAL_OPTION_STEREO : QAL_OPTION_MONO;
  return static_cast<int32_t>(caps.freeHardwareBuffers);
}

int32_t QALInit(void* window, uint32_t budgetBytes, uint32_t options) {
  (void)window;
  if (qal_oState.open) return QAL_ERROR;
  // 1. The device (priority level: nothing to set on our layer).
  if (!platform::audioOpen()) return QAL_ERROR;
  QALState& s = qal_oState;
  s = QALState{};
  g_sharedVoices.clear();
  g_charged.clear();
  // 2. Capabilities, options, budget.
  QALGetCaps();
  s.options |= options;
  s.budgetTotal = s.budgetRemaining = budgetBytes;
  // 3. The primary buffer's format follows the options; our device mixes to
  // 22050 Hz stereo 16-bit whatever they say.
  // 4. Voice slots only on a device with at least 16 free hardware buffers.
  int32_t hardware = QALGetCaps();
  if (hardware >= 16) {
    s.slotCount = s.freeSlots = QAL_VOICE_SLOTS;
    s.freeHardware = static_cast<uint32_t>(hardware - QAL_VOICE_SLOTS);
  }
  // 5. Tables and flags.
  s.open = true;
  s.masterAttenuation = 0;
  // 6. MIDI probe and CD; neither stops the open.
  QALMidiGetCaps();
  QALCDOpen();
  // 7. The timer period of the library's 50 ms timers.
  constexpr uint32_t kTimerMinimum = 1, kTimerMaximum = 1000000;
  s.timerPeriod = std::min(std::max(kTimerMinimum, 50u), kTimerMaximum);
  return QAL_OK;
}

int32_t QALShutdown() {
  QALState& s = qal_oState;
  if (!s.open) return QAL_ERROR;
  for (int n = 0; n < s.slotCount; ++n)
    if (s.slotInUse[n]) releaseSlot(n);
  s.slotCount = s.freeSlots = 0;
  QALMidiCloseStream();
  s.open = false;
  if (qal_bCDOpened) QALCDClose();
  platform::audioClose();  // every buffer still held goes with the device
  g_sharedVoices.clear();
  g_charged.clear();
  s.timerPeriod = 0;
  return QAL_OK;
}

int32_t QALSampleCreate(QALSample* sample, const void* pcm, uint32_t byteCount, int32_t channels, int32_t bitsPerSample,
                        uint32_t rate) {
  QALState& s = qal_oState;
  if (!s.open || channels != 1 || !pcm || byteCount == 0) return 0;
  bool software = s.freeHardware == 0;
  uint32_t voice = platform::voiceCreate(pcm, byteCount, bitsPerSample, rate, software);
  if (!voice) return 0;
  bool hardware = platform::voiceInHardware(voice);
  uint32_t size = platform::voiceByteCount(voice);
  if (!hardware && size > s.budgetRemaining) {
    platform::voiceRelease(voice);
    return 0;
  }
  if (!sample) {
    platform::voiceRelease(voice);
    return 0;
  }
  sample->buffer = voice;
  sample->reserved = 0;
  sample->loop = 0;
  if (hardware) {
    sample->flags = QAL_SAMPLE_HARDWARE | QAL_SAMPLE_LOADED;
    --s.freeHardware;
  } else {
    sample->flags = QAL_SAMPLE_SOFTWARE | QAL_SAMPLE_LOADED;
    s.budgetRemaining -= size;
    g_charged[voice] = size;
  }
  return 1;
}

QALSample* QALSampleInstance(QALSample* dest, QALSample* source) {
  if (!dest) return nullptr;
  if (!source || !qal_oState.open || !platform::voiceValid(source->buffer)) {
    delete dest;
    return nullptr;
  }
  if (isHardware(source)) {
    if (g_sharedVoices.find(source->buffer) == g_sharedVoices.end()) retainVoice(source->buffer);
    retainVoice(source->buffer);
    dest->buffer = source->buffer;
  } else {
    uint32_t dup = platform::voiceDuplicate(source->buffer);
    if (!dup) {
      delete dest;
      return nullptr;
    }
    primeVoice(dup);
    dest->buffer = dup;
  }
  dest->flags = source->flags;
  dest->reserved = 0;
  dest->loop = source->loop;
  return dest;
}

int32_t QALSampleFree(QALSample* sample) {
  if (!sample) return QAL_ERROR;
  QALSampleStop(sample);
  if (qal_oState.open && platform::voiceValid(sample->buffer)) {
    auto charged = g_charged.find(sample->buffer);
    if (charged != g_charged.end()) {
      qal_oState.budgetRemaining += charged->second;
      g_charged.erase(charged);
    }
    if (releaseVoice(sample->buffer) && isHardware(sample)) ++qal_oState.freeHardware;
  }
  delete sample;
  return QAL_OK;
}

int32_t QALSamplePlay(QALSample* sample) {
  QALState& s = qal_oState;
  if (!sample || !s.open || !platform::voiceValid(sample->buffer)) return QAL_ERROR;
  if (!isHardware(sample)) return platform::voicePlay(sample->buffer, sample->loop == 1) ? QAL_OK : QAL_ERROR;
  // 1. Lazy reclaim on the way to a slot.
  int chosen = -1;
  for (int n = 0; n < s.slotCount; ++n) {
    if (!s.slotInUse[n]) {
      if (s.freeSlots > 0 && chosen < 0 && acquireSlot(n, sample)) chosen = n;
    } else if (!QALSampleIsPlaying(s.slotOwner[n])) {
      releaseSlot(n);
      if (chosen < 0 && acquireSlot(n, sample)) chosen = n;
    }
  }
  // 2. Steal the first busy slot.
  if (chosen < 0) {
    if (s.slotCount == 0) return QAL_ERROR;
    int n = 0;
    while (n < s.slotCount && !s.slotInUse[n]) ++n;
    if (n == s.slotCount) n = 0;
    if (s.slotInUse[n]) releaseSlot(n);
    if (!acquireSlot(n, sample)) return QAL_ERROR;
    chosen = n;
  }
  // 3. Play.
  return platform::voicePlay(s.slotCopy[chosen].buffer, s.slotCopy[chosen].loop == 1) ? QAL_OK : QAL_ERROR;
}

int32_t QALSampleStop(QALSample* sample) {
  if (!sample) return QAL_ERROR;
  if (isHardware(sample)) {
    for (int n = 0; n < qal_oState.slotCount; ++n)
      if (qal_oState.slotInUse[n] && qal_oState.slotOwner[n] == sample) releaseSlot(n);
    return QAL_OK;
  }
  if (!sample->buffer) return QAL_ERROR;
  bool ok = platform::voiceStop(sample->buffer);
  ok = platform::voiceSetPosition(sample->buffer, 0) && ok;
  return ok ? QAL_OK : QAL_ERROR;
}

int32_t QALSampleSetVolume(QALSample* sample, int32_t volume) {
  if (!sample) return QAL_ERROR;
  int32_t att = attenuationClamped(volume);
  bool ok = platform::voiceSetVolume(sample->buffer, att);
  if (isHardware(sample)) {
    int n = firstOwnedSlot(sample);
    if (n >= 0) platform::voiceSetVolume(qal_oState.slotCopy[n].buffer, att);
  }
  return ok ? QAL_OK : QAL_ERROR;
}

int32_t QALSampleSetPan(QALSample* sample, int32_t pan) {
  if (!sample) return QAL_ERROR;
  int32_t p = std::clamp(QALPanToDevice(pan), -10000, 10000);
  bool ok = platform::voiceSetPan(sample->buffer, p);
  if (isHardware(sample)) {
    int n = firstOwnedSlot(sample);
    if (n >= 0) platform::voiceSetPan(qal_oState.slotCopy[n].buffer, p);
  }
  return ok ? QAL_OK : QAL_ERROR;
}

int32_t QALSampleSetFrequency(QALSample* sample, uint32_t hertz) {
  if (!sample) return QAL_ERROR;
  bool ok = platform::voiceSetFrequency(sample->buffer, hertz);
  if (isHardware(sample)) {
    int n = firstOwnedSlot(sample);
    if (n >= 0) platform::voiceSetFrequency(qal_oState.slotCopy[n].buffer, hertz);
  }
  return ok ? QAL_OK : QAL_ERROR;
}

int32_t QALSampleSetLoop(QALSample* sample, int32_t on) {
  if (!sample) return QAL_ERROR;
  sample->loop = on ? 1 : 0;
  return QAL_OK;
}

int32_t QALSampleIsPlaying(QALSample* sample) {
  if (!sample) return 0;
  if (isHardware(sample)) {
    int n = firstOwnedSlot(sample);
    return n >= 0 && platform::voiceIsPlaying(qal_oState.slotCopy[n].buffer) ? 1 : 0;
  }
  return platform::voiceIsPlaying(sample->buffer) ? 1 : 0;
}

int32_t QALSampleGetVolume(QALSample* sample) {
  int32_t att = 0;
  if (!sample || !platform::voiceVolume(sample->buffer, &att)) return QAL_ERROR;
  int32_t a = att - qal_oState.masterAttenuation;
  int32_t v = a < -2048 ? a * 4 + 24575 : a * 8 + 32767;
  return std::clamp(v, 0, 32767);
}

int32_t QALSampleGetPan(QALSample* sample) {
  int32_t pan = 0;
  if (!sample || !platform::voicePan(sample->buffer, &pan)) return QAL_ERROR;
  // The voice keeps hundredths of a decibel (-10000..10000); the read-back
  // scale is that range spread over 0..65536, not the inverse of the set.
  return std::clamp((pan + 10000) * 32768 / 10000, 0, 65535);
}

int32_t QALSampleGetFrequency(QALSample* sample) {
  uint32_t hz = 0;
  if (!sample || !platform::voiceFrequency(sample->buffer, &hz)) return QAL_ERROR;
  return static_cast<int32_t>(hz);
}

int32_t QALSampleIsLooping(QALSample* sample) {
  if (!sample) return 0;
  uint32_t voice = sample->buffer;
  if (isHardware(sample)) {
    int n = firstOwnedSlot(sample);
    if (n < 0) return 0;
    voice = qal_oState.slotCopy[n].buffer;
  }
  return platform::voiceIsLooping(voice) ? -1 : 0;
}

int16_t QALPcmRound16To8(int16_t value) {
  int32_t v = value;
  int32_t r = v >= 0 ? (v + 128) & ~255 : -((-v + 128) & ~255);
  return static_cast<int16_t>(std::clamp(r, -32512, 32512));
}

void QALPcm16To8(const int16_t* in, uint8_t* out, uint32_t sampleCount) {
  for (uint32_t i = 0; i < sampleCount; ++i)
    out[i] = static_cast<uint8_t>((QALPcmRound16To8(in[i]) >> 8) + 128);
}

uint32_t QALPcmHalveRate(const int16_t* in, int16_t* out, uint32_t sampleCount) {
  uint32_t n = sampleCount / 2;
  for (uint32_t i = 0; i < n; ++i)
    out[i] = static_cast<int16_t>((static_cast<int32_t>(in[2 * i]) + in[2 * i + 1]) / 2);
  return n;
}

// ---- Fades -----------------------------------------------------------------
struct QALFade {
  double current = 0;
  double step = 0;
  int32_t to = 0;
  QALFadeApply apply = nullptr;
  void* user = nullptr;
  std::atomic<platform::PeriodicTimer*> timer{nullptr};
};

namespace {
void fadeTick(void* user) {
  auto* f = static_cast<QALFade*>(user);
  f->current += f->step;
  if ((f->step > 0 && f->current > f->to) || (f->step < 0 && f->current < f->to) || f->step == 0) f->current = f->to;
  auto value = static_cast<int32_t>(f->current);
  f->apply(value, f->user);
  if (value == f->to) {
    platform::PeriodicTimer* t = f->timer.exchange(nullptr);
    if (t) platform::timerStop(t);  // from its own tick: no wait
  }
}
}  // namespace

QALFade* QALFadeStart(QALFade* previous, int32_t from, int32_t to, uint32_t ms, QALFadeApply apply, void* user) {
  QALFade* f = previous ? previous : new QALFade;
  QALFadeStop(f);
  f->apply = apply;
  f->user = user;
  f->to = to;
  f->current = from;
  if (ms < 50 || from == to) {
    // Nothing to step over: the target at once (a zero length would divide by zero).
    apply(to, user);
    return f;
  }
  f->step = static_cast<double>(to - from) * 50.0 / static_cast<double>(ms);
  f->timer.store(platform::timerStart(1000 / 50, fadeTick, f));
  if (!f->timer.load()) apply(to, user);
  return f;
}

void QALFadeStop(QALFade* fade) {
  if (!fade) return;
  platform::PeriodicTimer* t = fade->timer.exchange(nullptr);
  if (t) platform::timerStop(t);
}

void QALFadeFree(QALFade* fade) {
  QALFadeStop(fade);
  delete fade;
}
