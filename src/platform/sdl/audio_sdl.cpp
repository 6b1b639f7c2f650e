// The SDL half of the audio area: a 22050 Hz stereo 16-bit output whose
// callback runs the mixer on SDL's audio thread. The device has no hardware
// mixing buffers: every voice is mixed in software.
#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/audio_internal.h"

namespace platform::internal {
namespace {

SDL_AudioDeviceID g_device = 0;
bool g_subsystem = false;

void SDLCALL callback(void*, Uint8* stream, int len) {
  mixFrames(reinterpret_cast<int16_t*>(stream), static_cast<uint32_t>(len) / 4);
}

// While SDL looks for a device, what the sound libraries under it print on
// stderr (several lines for each output they try and fail) goes nowhere: the
// caller says in one line whether the game runs silent.
class QuietStderr {
 public:
  QuietStderr() {
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    const int nul = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved_ >= 0 && nul >= 0) dup2(nul, STDERR_FILENO);
    if (nul >= 0) close(nul);
  }
  ~QuietStderr() {
    std::fflush(stderr);
    if (saved_ < 0) return;
    dup2(saved_, STDERR_FILENO);
    close(saved_);
  }
  QuietStderr(const QuietStderr&) = delete;
  QuietStderr& operator=(const QuietStderr&) = delete;

 private:
  int saved_ = -1;
};

bool sdlOpen(uint32_t* hardwareBuffers, std::string* why) {
  QuietStderr quiet;
  if (!SDL_WasInit(SDL_INIT_AUDIO)) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      if (why) *why = SDL_GetError();
      return false;
    }
    g_subsystem = true;
  }
  SDL_AudioSpec want{};
  want.freq = static_cast<int>(kAudioOutputRate);
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 512;
  want.callback = callback;
  SDL_AudioSpec have{};
  // No changes allowed: SDL converts to whatever the hardware wants.
  g_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (g_device == 0) {
    if (why) *why = SDL_GetError();
    if (g_subsystem) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    g_subsystem = false;
    return false;
  }
  *hardwareBuffers = 0;
  SDL_PauseAudioDevice(g_device, 0);
  return true;
}

void sdlClose() {
  if (g_device) SDL_CloseAudioDevice(g_device);  // waits for a running callback
  g_device = 0;
  if (g_subsystem) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  g_subsystem = false;
}

void sdlSync() {}

}  // namespace

const AudioBackend kSdlAudio = {sdlOpen, sdlClose, sdlSync, true};

}  // namespace platform::internal
