// QAL: MIDI streams. Our layer offers no MIDI output, so the probe finds none
// and playing fails cleanly; loading, volume, balance, tempo and the fade work
// on the stream record.
#include <algorithm>
#include <cstring>
#include <memory>

#include "audio/qal.h"
#include "platform/audio.h"
#include "platform/paths.h"

namespace {
char g_lastError[256] = "";
void* g_stream = nullptr;  // the open stream; never opened on our layer
QALMidiUserHook g_userHook = nullptr;

constexpr uint32_t kHeaderBytes = 52;
constexpr uint32_t kMessageDone = 0x3C9;  // the stream's buffer has played

int32_t fail(const char* text) {
  std::snprintf(g_lastError, sizeof g_lastError, "%s", text);
  return QAL_ERROR;
}

uint32_t le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }

void fadeApply(int32_t value, void* user) { QALMidiSetVolume(static_cast<QALMidi*>(user), value); }
}  // namespace

const char* QALMidiLastError() { return g_lastError; }

int32_t QALMidiGetCaps() {
  platform::MidiCaps caps = platform::midiCaps();
  if (!caps.present) return fail("no MIDI output device");
  if (caps.volume) qal_oState.options |= QAL_OPTION_MIDI_VOLUME;
  if (caps.leftRight) qal_oState.options |= QAL_OPTION_MIDI_LEFTRIGHT;
  return QAL_OK;
}

QALMidi* QALMidiLoad(const char* path) {
  if (!path) return nullptr;
  FILE* f = platform::openFile(path, "rb");
  if (!f) return nullptr;
  uint8_t header[kHeaderBytes];
  bool ok = std::fread(header, 1, kHeaderBytes, f) == kHeaderBytes;
  long fileSize = -1;
  if (ok && std::fseek(f, 0, SEEK_END) == 0) fileSize = std::ftell(f);
  uint32_t dataSize = ok ? le32(header + 36) : 0;
  // The events (data size - 12 bytes) must follow the header within the file.
  if (!ok || dataSize < 12 || fileSize < 0 || dataSize - 12 > static_cast<uint64_t>(fileSize) - kHeaderBytes ||
      std::fseek(f, kHeaderBytes, SEEK_SET) != 0) {
    std::fclose(f);
    return nullptr;
  }
  auto* midi = new QALMidi;
  midi->data = new uint8_t[dataSize - 4]();
  bool read = std::fread(midi->data, 1, dataSize - 12, f) == dataSize - 12;
  std::fclose(f);
  if (!read) {
    QALMidiFree(midi);
    return nullptr;
  }
  midi->timeDivision = midi->tempoDivision = le32(header + 20);
  midi->header.data = midi->data;
  midi->header.bufferLength = dataSize - 12;
  midi->header.bytesRecorded = dataSize - 12;
  midi->header.user = midi;
  return midi;
}

void QALMidiFree(QALMidi* midi) {
  if (!midi) return;
  QALFadeFree(midi->fade);
  delete[] midi->data;
  delete midi;
}

int32_t QALMidiPlay(QALMidi* midi) {
  if (!midi) return QAL_ERROR;
  QALMidiCloseStream();
  return fail("no MIDI output device");
}

void QALMidiCallback(void*, uint32_t message, uintptr_t, uintptr_t param1, uintptr_t param2) {
  if (message == kMessageDone) {
    g_stream = nullptr;
    return;
  }
  if (g_userHook) g_userHook(message, param1, param2);
}

void QALMidiSetUserHook(QALMidiUserHook hook) { g_userHook = hook; }

void QALMidiCloseStream() { g_stream = nullptr; }

int32_t QALMidiStop() { return fail("no MIDI output device"); }
int32_t QALMidiPause() { return fail("no MIDI output device"); }
int32_t QALMidiRestart() { return fail("no MIDI output device"); }

int32_t QALMidiSetVolume(QALMidi* midi, int32_t volume) {
  if (!midi) return QAL_ERROR;
  int32_t left = volume, right = volume;
  if (qal_oState.options & QAL_OPTION_MIDI_LEFTRIGHT) {
    left = volume - midi->balance + 32768;
    right = volume + midi->balance - 32768;
  }
  left = std::clamp(left, 0, 32767);
  right = std::clamp(right, 0, 32767);
  // No stream is open to take it; the record keeps it for the next one.
  midi->written = static_cast<uint32_t>(left * 2) | (static_cast<uint32_t>(right * 2) << 16);
  midi->volume = volume;
  return QAL_OK;
}

int32_t QALMidiGetVolume(QALMidi* midi) { return midi ? midi->volume.load() : QAL_ERROR; }

int32_t QALMidiSetBalance(QALMidi* midi, int32_t balance) {
  if (!midi) return QAL_ERROR;
  int32_t old = midi->balance;
  midi->balance = balance;
  if (QALMidiSetVolume(midi, midi->volume) != QAL_OK) {
    midi->balance = old;
    return QAL_ERROR;
  }
  return QAL_OK;
}

int32_t QALMidiGetBalance(QALMidi* midi) { return midi ? midi->balance : QAL_ERROR; }

int32_t QALMidiSetTempo(QALMidi* midi, int32_t percent) {
  if (!midi || percent < 0) return QAL_ERROR;
  midi->tempoDivision = static_cast<uint32_t>(static_cast<uint64_t>(midi->timeDivision) * static_cast<uint32_t>(percent) / 100);
  return QAL_OK;
}

int32_t QALMidiFade(QALMidi* midi, int32_t from, int32_t to, uint32_t ms) {
  if (!midi) return QAL_ERROR;
  midi->fade = QALFadeStart(midi->fade, from, to, ms, fadeApply, midi);
  return QAL_OK;
}
