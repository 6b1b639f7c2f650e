#pragma once
// The audio area of the platform layer: one output device mixing voices to
// 22050 Hz stereo 16-bit, streaming voices, the "CD" tracks of the pseudo disc
// and the MIDI probe.
//
// Voices hold mono PCM (8-bit unsigned or 16-bit signed, 100 Hz to 100 kHz).
// A voice is named by a handle that carries a generation: a handle of a
// released voice, or of a voice from before the device was last closed, is
// stale and every operation on it fails harmlessly. Volumes are attenuations
// in hundredths of a decibel (0 to -10000); pans use the same units and lower
// the other channel (negative lowers the right, positive the left).
//
// The SDL backend mixes on SDL's audio thread; every change reaches it through
// atomics. The headless backend mixes nothing audible: voices keep their state
// and their positions move with the virtual clock, exactly as the mixer would
// move them, and the mix can be captured (script command "audio-capture").
//
// Every operation runs on the main thread, except that the volume, pan and
// frequency setters and the CD volume may also be called from a timer thread.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

constexpr uint32_t kAudioOutputRate = 22050;
constexpr uint32_t kAudioFramesPerCdFrame = kAudioOutputRate / 75;  // 294

struct AudioCaps {
  bool stereo = true;
  bool bits16 = true;
  uint32_t freeHardwareBuffers = 0;  // how many more voices may be created in hardware
};

// Opens the output device. False when there is none (the game runs silent).
// KORVENA_AUDIO_DEVICE=none makes every backend behave as a machine without
// a sound device.
bool audioOpen();
// Closes it: every voice is released, the CD stops. Safe when closed.
void audioClose();
bool audioIsOpen();
AudioCaps audioCaps();

// ---- Voices -----------------------------------------------------------------
using VoiceHandle = uint32_t;  // 0 is never a voice

// A static voice over a copy of pcm (byteCount bytes, mono, bits 8 or 16).
// inSoftware asks for software mixing; otherwise the voice takes one of the
// free hardware buffers when any is left. 0 on failure.
VoiceHandle voiceCreate(const void* pcm, uint32_t byteCount, int bits, uint32_t rate, bool inSoftware);
// A writable voice of byteCount zeroed bytes (a streaming ring buffer).
VoiceHandle voiceCreateWritable(uint32_t byteCount, int bits, uint32_t rate);
// A second voice over the same PCM with its own position, volume, pan and
// frequency (the copy starts stopped at 0 with the source's settings).
VoiceHandle voiceDuplicate(VoiceHandle source);
// Drops the voice; the PCM goes when no duplicate uses it any more.
void voiceRelease(VoiceHandle voice);
bool voiceValid(VoiceHandle voice);
bool voiceInHardware(VoiceHandle voice);
uint32_t voiceByteCount(VoiceHandle voice);

bool voicePlay(VoiceHandle voice, bool loop);
bool voiceStop(VoiceHandle voice);
bool voiceIsPlaying(VoiceHandle voice);
bool voiceIsLooping(VoiceHandle voice);
// Play position in bytes.
bool voiceSetPosition(VoiceHandle voice, uint32_t bytePos);
bool voicePosition(VoiceHandle voice, uint32_t* bytePos);

bool voiceSetVolume(VoiceHandle voice, int32_t hundredthsDb);  // -10000..0
bool voiceVolume(VoiceHandle voice, int32_t* hundredthsDb);
bool voiceSetPan(VoiceHandle voice, int32_t hundredthsDb);     // -10000..10000
bool voicePan(VoiceHandle voice, int32_t* hundredthsDb);
bool voiceSetFrequency(VoiceHandle voice, uint32_t hertz);     // 100..100000
bool voiceFrequency(VoiceHandle voice, uint32_t* hertz);

// Writable voices: the bytes from offset (wrapping at the end) as up to two
// parts, written in place; voiceUnlock hands them to the mixer.
bool voiceLock(VoiceHandle voice, uint32_t offset, uint32_t bytes, void** part1, uint32_t* bytes1, void** part2,
               uint32_t* bytes2);
bool voiceUnlock(VoiceHandle voice);

// ---- CD tracks of the pseudo disc -------------------------------------------
// The disc's audio tracks are "data\cdaudio\trackNN.wav" on the pseudo disc
// (22050 Hz 16-bit PCM, mono or stereo). Track 1 is the disc's data track, two
// silent seconds; tracks 2, 3, ... follow while their files exist. Positions
// count CD frames, 75 a second, from the start of the disc.
bool cdOpen();  // false when there is no disc (no track files)
void cdClose();
bool cdIsOpen();
int cdTrackCount();
uint32_t cdTrackStart(int track);  // 1-based; cdTrackStart(count + 1) is the disc length
uint32_t cdDiscLength();
// Plays [from, to) and stops at its end. Returns at once.
bool cdPlay(uint32_t fromFrame, uint32_t toFrame);
bool cdStop();
bool cdSeek(uint32_t frame);
uint32_t cdPosition();
bool cdIsPlaying();
// The CD line's volume as the mixer's auxiliary device sets it: left in the
// low 16 bits, right in the high 16 bits (0..65535 each). It outlives the
// device (a system setting); 0xFFFFFFFF at first.
void cdSetAuxVolume(uint32_t leftRight);
uint32_t cdAuxVolume();

// ---- MIDI -------------------------------------------------------------------
struct MidiCaps {
  bool present = false;
  bool volume = false;
  bool leftRight = false;
};
MidiCaps midiCaps();  // there is no MIDI output: nothing present

// ---- State for tests and the headless script ---------------------------------
struct VoiceState {
  VoiceHandle handle = 0;
  uint32_t rate = 0;
  uint32_t position = 0;
  uint32_t byteCount = 0;
  int32_t volume = 0;
  int32_t pan = 0;
  bool looping = false;
  bool hardware = false;
};
// The voices that are playing, in handle order.
std::vector<VoiceState> audioPlayingVoices();
// One line a voice and one for the CD, as "audio-state" prints them, then
// the lines of the source the game's sound logic sets (its loaded banks).
std::string audioStateText();
void audioStateLinesSet(std::string (*describe)());

// Headless controls (no effect on the SDL backend): the free hardware buffer
// count the device reports at open (0 by default), and a capture of the mix
// of the next ms milliseconds written as a WAV file when the span is over.
void audioHeadlessSetHardwareBuffers(uint32_t count);
bool audioHeadlessCapture(const std::string& path, uint32_t ms);
// Mixes frames of the current voices into out (stereo, interleaved) as the
// device would, moving positions; for tests of the mixer. Headless only.
bool audioHeadlessMix(int16_t* out, uint32_t frames);

}  // namespace platform
