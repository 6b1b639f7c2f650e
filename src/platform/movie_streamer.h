#pragma once
// The movie streamer: reads a movie file (or bytes in memory) ahead of its
// pictures, decodes each frame into its own picture, converts and scales it
// into a 640 x 480 rectangle of a 16-bit surface, and decodes the sound into
// the two halves of the player's sound buffer.
//
// Handles are 32-bit words that the Init calls fill in (0 is none). The sound
// hand-over: the player names the half to decode into with the decode mode (0
// or 1; -1 none); when enough sound is decoded the streamer fills that half
// and calls the fill callback, on the calling thread, inside the call that
// decoded it. No second thread.
#include <cstddef>
#include <cstdint>

enum : int32_t {
  STREAMER_OK = 0,          // a frame decoded (or nothing more to read ahead)
  STREAMER_NO_FILE = 1,     // Streamer_InitMovie: the file cannot be opened
  STREAMER_BAD_HEADER = 2,  // Streamer_InitMovie: the header fails its checks
  STREAMER_SOUND_FAILED = 3,
  STREAMER_VIDEO_FAILED = 4,
  STREAMER_ENDED = 25,      // the last frame was shown; also a failed Streamer_InitStreaming
  STREAMER_PUMP_AGAIN = 29, // read ahead; call again
  STREAMER_DAMAGED = 32,
  STREAMER_TRUNCATED = 33,  // the file ends before its last frame
};

using StreamerFillCallback = void (*)(uint32_t sound);

// The movie from a file named as the game names paths; bufferBytes is a hint.
int32_t Streamer_InitMovie(uint32_t* movie, int32_t, int32_t, const char* path, uint32_t bufferBytes, int32_t);
// The same from bytes in memory (copied).
int32_t Streamer_InitMovieFromMemory(uint32_t* movie, const uint8_t* data, size_t size);
void Streamer_SetPreloadAmount(uint32_t movie, uint32_t bytes);

int32_t Movie_GetXSize(uint32_t movie);
int32_t Movie_GetYSize(uint32_t movie);
float Movie_GetFrameRate(uint32_t movie);
int32_t Movie_GetFrameCount(uint32_t movie);
int32_t Movie_GetCurrentFrame(uint32_t movie);  // frames shown so far
int32_t Movie_GetSoundChannels(uint32_t movie);
int32_t Movie_GetSoundPrecision(uint32_t movie);
int32_t Movie_GetSoundRate(uint32_t movie);

// Video onto the target rectangle (x, y, width x height) of a 16-bit surface.
int32_t Streamer_InitVideo(uint32_t* video, uint32_t movie, int32_t xSize, int32_t ySize, int32_t x, int32_t y,
                           int32_t, int32_t, int32_t width, int32_t height, int32_t, void* rectangle, void* word);
void Streamer_SetVideoPitch(uint32_t video, int32_t pitchPixels, int32_t rows);
void Streamer_SetPixelFormat(uint32_t video, int32_t bits, int32_t, int32_t, int32_t redShift, int32_t redWidth,
                             int32_t greenShift, int32_t greenWidth, int32_t blueShift, int32_t blueWidth);

// Sound into halves of halfBytes bytes of 16-bit PCM; 3 on failure.
int32_t Streamer_InitSound(StreamerFillCallback fill, uint32_t* sound, uint32_t halfBytes, int32_t, int32_t, int32_t,
                           int32_t channels);
void Streamer_SetSoundBuffer(uint32_t sound, int32_t half, void* memory);
void Streamer_SetSoundDecodeMode(uint32_t sound, int32_t mode);
int32_t Streamer_GetSoundDecodeMode(uint32_t sound);

// Reads ahead and readies the first frame; 25 on failure.
int32_t Streamer_InitStreaming(uint32_t movie, uint32_t video, uint32_t sound);
// With a surface: decodes and shows the next frame (0, 25, 32 or 33). With a
// null surface: reads ahead (29 while there is more to read) and decodes sound.
int32_t Streamer_Stream(uint32_t movie, uint32_t video, uint32_t sound, int32_t, int32_t flag, void* surface, int32_t,
                        int32_t, int32_t);

void Streamer_ShutDownSound(uint32_t* sound);
void Streamer_ShutDownVideo(uint32_t* video);
void Streamer_ShutDownMovie(uint32_t* movie);
// Open handles of each kind (tests check nothing leaks).
int32_t Streamer_OpenHandleCount();

namespace platform {
// The process priority class, recorded and never applied: the game does not
// raise its priority. NORMAL (32) at first.
constexpr uint32_t kPriorityNormal = 32;
constexpr uint32_t kPriorityHigh = 128;
uint32_t processPriorityGet();
void processPrioritySet(uint32_t priorityClass);
}  // namespace platform
