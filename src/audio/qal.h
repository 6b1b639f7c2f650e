#pragma once
// QAL, the audio library: the output device with its voice slots and software
// memory budget, samples, sound banks (".KBB"), IMA ADPCM and streaming voices,
// CD audio and MIDI streams.
//
// Operations return QAL_OK (1) for success and QAL_ERROR (-1) for failure
// unless their comment says otherwise. Everything runs on the main thread; the
// library's 50 ms timers (fades, stream refills) run on the timer thread.
//
// Records: a QALSample is a heap record (`new QALSample{}`) owned by whoever
// created it and freed by QALSampleFree. Samples, instances, banks and
// compressed objects outliving QALShutdown are harmless: their device buffers
// are gone, and freeing or playing them afterwards does nothing.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "audio/audio_services.h"

constexpr int32_t QAL_ERROR = -1;

// QALSample::flags
enum : uint32_t {
  QAL_SAMPLE_HARDWARE = 4,  // played through a voice slot
  QAL_SAMPLE_SOFTWARE = 8,  // charged to the software budget
  QAL_SAMPLE_LOADED = 32,
};

// Library options (QALInit's option argument is ORed in).
enum : uint32_t {
  QAL_OPTION_MONO = 1,
  QAL_OPTION_STEREO = 2,
  QAL_OPTION_8BIT = 4,
  QAL_OPTION_16BIT = 8,
  QAL_OPTION_MIDI_LEFTRIGHT = 16,
  QAL_OPTION_MIDI_VOLUME = 32,
  QAL_OPTION_SECOND_CHANNEL = 0x4000,  // load the second channel of two-channel sounds
};

constexpr int QAL_VOICE_SLOTS = 8;
constexpr uint32_t QAL_NO_SAMPLE = 0xFFFFFFFFu;

struct QALSample {
  uint32_t buffer = 0;  // the device voice (platform handle), 0 when none
  uint32_t flags = 0;
  uint32_t reserved = 0;
  uint32_t loop = 0;  // 1 plays looping
};

// ---- Device and samples ---------------------------------------------------
int32_t QALInit(void* window, uint32_t budgetBytes, uint32_t options);
int32_t QALShutdown();
int32_t QALGetCaps();
// 1 on success, 0 on failure.
int32_t QALSampleCreate(QALSample* sample, const void* pcm, uint32_t byteCount, int32_t channels, int32_t bitsPerSample,
                        uint32_t rate);
QALSample* QALSampleInstance(QALSample* dest, QALSample* source);
int32_t QALSampleFree(QALSample* sample);
int32_t QALSamplePlay(QALSample* sample);
int32_t QALSampleStop(QALSample* sample);
int32_t QALSampleSetVolume(QALSample* sample, int32_t volume);  // 0..32767
int32_t QALSampleSetPan(QALSample* sample, int32_t pan);        // 0..65535, centre 32768
int32_t QALSampleSetFrequency(QALSample* sample, uint32_t hertz);
int32_t QALSampleSetLoop(QALSample* sample, int32_t on);
int32_t QALSampleIsPlaying(QALSample* sample);  // 1 or 0
int32_t QALSampleGetVolume(QALSample* sample);  // 0..32767, -1 on failure
int32_t QALSampleGetPan(QALSample* sample);     // 0..65535, -1 on failure
int32_t QALSampleGetFrequency(QALSample* sample);
int32_t QALSampleIsLooping(QALSample* sample);  // -1 when looping, else 0

// Scales of the device: attenuation in hundredths of a decibel and pan.
int32_t QALVolumeToAttenuation(int32_t volume);
int32_t QALPanToDevice(int32_t pan);

// PCM conversions.
int16_t QALPcmRound16To8(int16_t value);
void QALPcm16To8(const int16_t* in, uint8_t* out, uint32_t sampleCount);
uint32_t QALPcmHalveRate(const int16_t* in, int16_t* out, uint32_t sampleCount);  // returns sampleCount / 2

// Library state, read by tests and by the rest of the library.
struct QALState {
  bool open = false;
  uint32_t options = 0;
  uint32_t budgetTotal = 0;
  uint32_t budgetRemaining = 0;
  uint32_t freeHardware = 0;
  int32_t slotCount = 0;
  int32_t freeSlots = 0;
  QALSample slotCopy[QAL_VOICE_SLOTS];
  QALSample* slotInUse[QAL_VOICE_SLOTS] = {};
  QALSample* slotOwner[QAL_VOICE_SLOTS] = {};
  int16_t masterAttenuation = 0;
  uint32_t timerPeriod = 0;
};
extern QALState qal_oState;

// ---- Fades on the library's 50 ms timer -------------------------------------
struct QALFade;
using QALFadeApply = void (*)(int32_t value, void* user);
// Moves a value from `from` to `to` over ms milliseconds, calling apply with
// each truncated value; never past `to`. Under 50 ms it applies `to` at once.
QALFade* QALFadeStart(QALFade* previous, int32_t from, int32_t to, uint32_t ms, QALFadeApply apply, void* user);
void QALFadeStop(QALFade* fade);
void QALFadeFree(QALFade* fade);  // stops and frees; null is fine

// ---- IMA ADPCM and streaming voices -----------------------------------------
struct QALAdpcmState {
  int16_t predictor = 0;
  int8_t stepIndex = 0;
};
struct QALAdpcmData;  // reference-counted holder of compressed bytes
struct QALAdpcmObject;

void QALAdpcmEncode(const int16_t* pcm16, uint8_t* out, uint32_t sampleCount, QALAdpcmState* state);
void QALAdpcmDecode(const uint8_t* in, int16_t* pcm16, uint32_t sampleCount, QALAdpcmState* state);
// Takes ownership of data (allocated with new uint8_t[]).
QALAdpcmObject* QALAdpcmObjectCreate(uint8_t* data, uint32_t size);
QALAdpcmObject* QALAdpcmObjectClone(QALAdpcmObject* object);
void QALAdpcmObjectRelease(QALAdpcmObject* object);
QALAdpcmObject* QALFileReadCompressed(const char* path);
int32_t QALStreamStart(QALAdpcmObject* object, uint32_t rate);
int32_t QALStreamStop(QALAdpcmObject* object);
int32_t QALStreamSetVolume(QALAdpcmObject* object, int32_t volume);
int32_t QALStreamSetAttenuation(QALAdpcmObject* object, int32_t hundredthsDb);
int32_t QALStreamSetPan(QALAdpcmObject* object, int32_t pan);

// Read-backs of a compressed object, for tests and tools.
struct QALAdpcmInfo {
  const uint8_t* data = nullptr;
  uint32_t size = 0;
  int32_t references = 0;
  bool streaming = false;
  uint32_t writePosition = 0;
  uint32_t readPosition = 0;
  int32_t endCount = 0;
  int32_t volume = 0;
  int32_t pan = 0;
  uint32_t voice = 0;
};
QALAdpcmInfo QALAdpcmObjectInfo(const QALAdpcmObject* object);
void QALAdpcmObjectSetLoop(QALAdpcmObject* object, int32_t on);
constexpr uint32_t QAL_STREAM_BUFFER_BYTES = 16384;
constexpr uint32_t QAL_COMPRESSED_FILE_MAX = 256 * 1024;

// ---- Sound banks -----------------------------------------------------------
struct QALSound {
  QALSample* sample = nullptr;              // null: compressed or no sample
  QALSample* second = nullptr;              // second channel, when loaded
  QALAdpcmObject* compressed = nullptr;     // the compressed sound, when stored so
  uint32_t reserved[2] = {};
  uint32_t remaining = 0;                   // sound count - index
  uint32_t paramA = 0;
  uint32_t paramB = 0;
  uint32_t volume = 0;
  uint32_t reserved2[3] = {};
  int16_t tag = 0;
};

struct QALBank {
  uint32_t soundCount = 0;  // 0: not loaded
  uint32_t sampleCount = 0;
  QALSound* sounds = nullptr;
};

constexpr uint32_t QAL_BANK_HEADER_BYTES = 16;
constexpr uint32_t QAL_BANK_DEF_BYTES = 86;
constexpr uint32_t QAL_BANK_SAMPLE_HEADER_BYTES = 8;

// The samples of an opened bank file (or of several concatenated).
struct QALBankFile {
  struct Entry {
    const uint8_t* pcm = nullptr;
    uint32_t byteCount = 0;
  };
  std::vector<std::vector<uint8_t>> files;
  std::vector<Entry> samples;
  std::vector<uint8_t> defs;  // soundCount x 86 bytes
  uint32_t soundCount = 0;
};

int32_t QALBankLoad(QALBank* bank, const char* path);  // 1, or 0 with the bank untouched
// Why the last QALBankLoad that returned 0 failed ("" after a success).
const char* QALBankLoadError();
void QALBankFree(QALBank* bank);
void QALSoundFree(QALSound* sound);
QALSample* QALBankLoadSample(QALBankFile* file, uint32_t sampleIndex, uint32_t rate, uint32_t bits);
uint32_t QALBankBytesNeeded(const QALBankFile* file, uint32_t first, uint32_t last);
QALAdpcmObject* QALBankLoadSampleAdpcm(QALBankFile* file, uint32_t sampleIndex, uint32_t rate, uint32_t bits);
// A new bank of every file's sounds; firstSoundOut[i] = file i's first sound.
// Null when any file cannot be loaded. Free with QALBankFree, then delete.
QALBank* QALBankLoadMulti(uint32_t count, const char* const* paths, uint32_t* firstSoundOut);
// Parses bank bytes by the loader's rules; false with *why on the first fault.
bool QALBankParse(std::vector<uint8_t> bytes, QALBankFile* file, const char** why);

// ---- CD audio --------------------------------------------------------------
constexpr int QAL_CD_MAX_TRACKS = 30;
int32_t QALCDOpen();
int32_t QALCDClose();
int32_t QALCDSelectTrack(int32_t track);
int32_t QALCDPlay();
int32_t QALCDStop();
int32_t QALCDGetTimeLeft();  // minutes x 65536 + seconds x 256 + frames, -1 on failure
int32_t QALCDSetVolume(int32_t volume);
int32_t QALCDGetVolume();
int32_t QALCDPause();
int32_t QALCDResume();
int32_t QALCDRewind();
int32_t QALCDSetBalance(int32_t balance);
int32_t QALCDGetBalance();
int32_t QALCDFade(int32_t from, int32_t to, uint32_t ms);
// MSF positions: minutes in the low byte, seconds in the next, frames in the third.
uint32_t QALCDFramesToMsf(uint32_t frames);
uint32_t QALCDMsfToFrames(uint32_t msf);

struct QALCDTrackTable {
  int32_t firstTrack = 1;
  int32_t lastTrack = 0;
  uint32_t start[QAL_CD_MAX_TRACKS + 2] = {};  // MSF of tracks 1..last, then the disc length
  int32_t selected = -1;
  uint32_t from = 0, to = 0, position = 0;     // MSF
  int32_t savedVolume = 0;
};
extern QALCDTrackTable qal_oCD;
int32_t QALCDIsPlaying();

// ---- MIDI streams ----------------------------------------------------------
struct QALMidiHeader {
  uint8_t* data = nullptr;
  uint32_t bufferLength = 0;
  uint32_t bytesRecorded = 0;
  void* user = nullptr;
  uint32_t flags = 0;
};
struct QALMidi {
  QALMidiHeader header;
  uint8_t* data = nullptr;
  std::atomic<int32_t> volume{32767};  // the fade writes it from the timer thread
  int32_t balance = 32768;
  uint32_t timeDivision = 0;
  uint32_t tempoDivision = 0;       // the division last set by QALMidiSetTempo
  std::atomic<uint32_t> written{0};  // last volume word: left doubled low, right doubled high
  QALFade* fade = nullptr;
};
using QALMidiUserHook = void (*)(uint32_t message, uintptr_t param1, uintptr_t param2);

int32_t QALMidiGetCaps();
QALMidi* QALMidiLoad(const char* path);
void QALMidiFree(QALMidi* midi);
int32_t QALMidiPlay(QALMidi* midi);
void QALMidiCallback(void* stream, uint32_t message, uintptr_t instance, uintptr_t param1, uintptr_t param2);
void QALMidiSetUserHook(QALMidiUserHook hook);
int32_t QALMidiStop();
int32_t QALMidiPause();
int32_t QALMidiRestart();
int32_t QALMidiSetVolume(QALMidi* midi, int32_t volume);
int32_t QALMidiGetVolume(QALMidi* midi);
int32_t QALMidiSetBalance(QALMidi* midi, int32_t balance);
int32_t QALMidiGetBalance(QALMidi* midi);
int32_t QALMidiSetTempo(QALMidi* midi, int32_t percent);
int32_t QALMidiFade(QALMidi* midi, int32_t from, int32_t to, uint32_t ms);
const char* QALMidiLastError();
void QALMidiCloseStream();  // closes an open stream (shut-down)
