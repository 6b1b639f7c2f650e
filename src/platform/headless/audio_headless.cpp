// The headless half of the audio area: a silent device whose mixer runs on the
// main thread, up to the virtual clock, before every change and every read, so
// positions move exactly as the clock does. A capture records the mix of a span
// of virtual time as a WAV file; the script commands "audio-state" and
// "audio-capture <path> <ms>" print the voices and start a capture.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/audio_internal.h"
#include "platform/clock.h"
#include "platform/headless/script.h"
#include "platform/internal.h"
#include "platform/timer.h"

namespace platform {
namespace internal {
namespace {

uint32_t g_hardwareBuffers = 0;
bool g_open = false;
uint64_t g_framesDone = 0;

struct Capture {
  std::string path;
  uint64_t framesLeft = 0;
  std::vector<int16_t> samples;
  PeriodicTimer* timer = nullptr;
  ~Capture();
};
Capture g_capture;

uint64_t framesAt(uint64_t ns) {
  return (ns / kNanosecondsPerSecond) * kAudioOutputRate + (ns % kNanosecondsPerSecond) * kAudioOutputRate / kNanosecondsPerSecond;
}

void writeLe(FILE* f, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) std::fputc(static_cast<int>((v >> (8 * i)) & 0xFF), f);
}

bool writeWav(const std::string& path, const std::vector<int16_t>& stereo) {
  std::string tmp = path + ".tmp";
  FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) return false;
  uint32_t dataBytes = static_cast<uint32_t>(stereo.size() * 2);
  std::fwrite("RIFF", 1, 4, f);
  writeLe(f, 36 + dataBytes, 4);
  std::fwrite("WAVEfmt ", 1, 8, f);
  writeLe(f, 16, 4);
  writeLe(f, 1, 2);
  writeLe(f, 2, 2);
  writeLe(f, kAudioOutputRate, 4);
  writeLe(f, kAudioOutputRate * 4, 4);
  writeLe(f, 4, 2);
  writeLe(f, 16, 2);
  std::fwrite("data", 1, 4, f);
  writeLe(f, dataBytes, 4);
  for (int16_t s : stereo) writeLe(f, static_cast<uint16_t>(s), 2);
  bool ok = std::fflush(f) == 0;
  ok = std::fclose(f) == 0 && ok;
  if (!ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
    std::remove(tmp.c_str());
    return false;
  }
  return true;
}

void finishCapture() {
  if (!writeWav(g_capture.path, g_capture.samples))
    std::fprintf(stderr, "korvena: cannot write the audio capture to %s\n", g_capture.path.c_str());
  g_capture.path.clear();
  g_capture.samples.clear();
  g_capture.framesLeft = 0;
  if (g_capture.timer) {
    PeriodicTimer* t = g_capture.timer;
    g_capture.timer = nullptr;
    timerStop(t);
  }
}

Capture::~Capture() {
  if (!path.empty() && framesLeft) {
    std::fprintf(stderr, "korvena: the audio capture %s ends early, with the program\n", path.c_str());
    timer = nullptr;  // the timers are gone by now
    finishCapture();
  }
}

// Mixes from the last point reached up to the virtual clock.
void catchUp() {
  uint64_t due = framesAt(headlessNow());
  if (due < g_framesDone) g_framesDone = due;  // a new run started the clock at 0 again
  if (due <= g_framesDone) return;
  uint64_t frames = due - g_framesDone;
  g_framesDone = due;
  while (frames > 0) {
    if (!g_capture.framesLeft) {
      if (g_open) mixFrames(nullptr, static_cast<uint32_t>(std::min<uint64_t>(frames, 1u << 30)));
      frames -= std::min<uint64_t>(frames, 1u << 30);
      continue;
    }
    uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(frames, g_capture.framesLeft));
    size_t at = g_capture.samples.size();
    g_capture.samples.resize(at + static_cast<size_t>(n) * 2, 0);
    if (g_open) mixFrames(g_capture.samples.data() + at, n);
    frames -= n;
    g_capture.framesLeft -= n;
    if (!g_capture.framesLeft) finishCapture();
  }
}

void captureTick(void*) {
  std::lock_guard<std::recursive_mutex> lock(audioMutex());
  catchUp();
}

bool hlOpen(uint32_t* hardwareBuffers, std::string*) {
  catchUp();
  g_open = true;
  *hardwareBuffers = g_hardwareBuffers;
  return true;
}

void hlClose() {
  catchUp();
  g_open = false;
}

void hlSync() { catchUp(); }

// ---- Script commands ---------------------------------------------------------
void runState(const headless::ScriptLine&) {
  std::printf("%s", audioStateText().c_str());
  std::fflush(stdout);
}

bool parseMs(const std::string& text, uint32_t* ms) {
  if (text.empty() || text.size() > 9) return false;
  uint32_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint32_t>(c - '0');
  }
  *ms = v;
  return v > 0;
}

bool checkCapture(const headless::ScriptLine& line, std::string* why) {
  uint32_t ms;
  if (line.args[0].empty() || !parseMs(line.args[1], &ms) || ms > 600000) {
    *why = "audio-capture expects a path and 1 to 600000 milliseconds";
    return false;
  }
  return true;
}

void runCapture(const headless::ScriptLine& line) {
  uint32_t ms = 0;
  parseMs(line.args[1], &ms);
  if (!audioHeadlessCapture(line.args[0], ms))
    std::fprintf(stderr, "korvena script line %d: cannot start the audio capture\n", line.lineNumber);
}

struct Registrar {
  Registrar() {
    headless::registerScriptCommand("audio-state", 0, 0, nullptr, runState);
    headless::registerScriptCommand("audio-capture", 2, 2, checkCapture, runCapture);
  }
};
const Registrar g_registrar;

}  // namespace

const AudioBackend kHeadlessAudio = {hlOpen, hlClose, hlSync, false};

}  // namespace internal

using namespace internal;

void audioHeadlessSetHardwareBuffers(uint32_t count) { g_hardwareBuffers = count; }

bool audioHeadlessCapture(const std::string& path, uint32_t ms) {
  if (backend() != BackendKind::Headless || path.empty() || ms == 0) return false;
  std::lock_guard<std::recursive_mutex> lock(audioMutex());
  catchUp();
  if (g_capture.framesLeft) finishCapture();  // a new capture ends the old one
  g_capture.path = path;
  g_capture.framesLeft = static_cast<uint64_t>(ms) * kAudioOutputRate / 1000;
  g_capture.samples.reserve(g_capture.framesLeft * 2);
  // Ticks keep the capture going while nothing else asks the mixer.
  g_capture.timer = timerStart(20, captureTick, nullptr);
  return true;
}

bool audioHeadlessMix(int16_t* out, uint32_t frames) {
  if (backend() != BackendKind::Headless || !out) return false;
  std::lock_guard<std::recursive_mutex> lock(audioMutex());
  catchUp();
  if (!g_open) return false;
  mixFrames(out, frames);
  return true;
}

}  // namespace platform
