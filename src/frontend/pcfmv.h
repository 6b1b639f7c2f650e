#pragma once
// The movie player: chooses a movie by id, streams it into the display's back
// buffer and a streaming voice of its own, paces it on the platform clock and
// tears it down again. While a movie is open the game's audio library is shut
// down. The operations the rest of the game calls are in frontend_services.h.
#include <cstdint>

struct QDLSurface;

constexpr int32_t PCFMV_MOVIES = 34;
constexpr uint32_t PCFMV_SOUND_BYTES = 32768;
constexpr uint32_t PCFMV_HALF_BYTES = 16384;

struct MovieEntry {
  char szFile[80];
  uint32_t uId;
};
extern const MovieEntry pcfmv_aoMovies[PCFMV_MOVIES];

struct PCFMVState {
  int32_t bOpen;  // started and not yet stopped (the film may have ended by itself)
  uint32_t uMovie, uVideo, uSound;  // streamer handles
  char szPath[260];
  uint32_t uStartTick;
  int32_t bFirstFrame;
  int32_t bPrioritySaved;
  uint32_t uSavedPriority;
  QDLSurface* poTarget;
  int32_t iTargetX, iTargetY;
  uint32_t uVoice;        // the 32768-byte streaming voice, 0 when none
  uint8_t* apbHalf[2];    // its two halves
  int32_t abLocked[2];
  int32_t bSoundPending;  // start the voice at the next shown frame
  int32_t iLastFilled;    // 0 or 1
  int32_t bAudioDown;     // the start shut the audio library down
};
extern PCFMVState pcfmv_o;

// Starts a file of the movie directory; 1 when it plays.
int32_t pcfmv_Start(const char* pszFile);
// The id's row of the table, or null.
const MovieEntry* pcfmv_poFind(uint32_t uId);
// The streamer's sound-fill callback.
void pcfmv_SoundFilled(uint32_t uSound);
// Milliseconds of the platform clock.
uint32_t pcfmv_TickGet();

// The keyboard keys that skip a film besides the skip button: Escape,
// Return and the keypad's Enter. A key skips when it is let go after a press
// made while the film shows, so nothing of it reaches the screen after the
// film; a key already down when the film starts does not count, nor one an
// error box takes.
constexpr int32_t PCFMV_SKIP_KEYS = 3;
struct PCFMVSkipKeys {
  uint8_t abWasDown[PCFMV_SKIP_KEYS];
  uint8_t abPressed[PCFMV_SKIP_KEYS];
};
// At the film's start: the keys down now are not presses of this film.
void pcfmv_SkipKeysArm(PCFMVSkipKeys* po);
// Once a frame: true when one of the keys was let go after its press.
bool pcfmv_bSkipKeyReleased(PCFMVSkipKeys* po);
