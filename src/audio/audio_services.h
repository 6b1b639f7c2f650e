#pragma once
// The audio subsystem as the rest of the game sees it: crowd, CD music,
// sound effects, player shouts and referee phrases.
#include <cstdint>

struct Player;

enum { QAL_OK = 1 };

// Words of the audio library read by the frame-loop step: the started flag
// (set by the front-end start, cleared by the match leave after QALShutdown)
// and the CD-opened flag (while set, the step runs crowd_CDUpdate).
extern std::int32_t qal_bStarted;
extern std::int32_t qal_bCDOpened;

std::int32_t QALCDPlay();
std::int32_t QALShutdown();

void crowd_CDStart();
void crowd_CDUpdate();
void crowd_ChooseTrack(std::int32_t iEvent);  // 0 home goal, 1 away goal
void crowd_ReactFoul();
void crowd_ReactGoal();
void crowd_ReactHomeTeam();
void crowd_ReactAwayTeam();
void crowd_ReactTension();
void crowd_StopAll();
void crowd_StopAllQuiet();
void crowd_UpdateExcitement();

void pchat_RefereeSay(std::int32_t iPhrase, std::int32_t iDelay);  // phrase 0..20
void pchat_Reset();
void pchat_Say(Player* poPlayer, std::int32_t iEvent, std::int32_t iDelay);

// Bank selection: the front-end effects bank (after the library is opened
// for the menus) and the match banks (after it is opened with the match
// budget, as the last step of loading a match).
void pcsound_FrontEndBank();
void pcsound_MatchBanks();
// The last step of loading a match: the audio opened with the match budget
// (unless the library runs already) and the match banks loaded.
void pcsound_MatchSoundStart();
void sfx_FreeAllBanks();
void sfx_Play(std::int32_t iEffect);
void sfx_PlayAtVolume(std::int32_t iEffect, std::int32_t iVolume);  // volume 0..32767
void sfx_PlayRandomEffect();  // a save: one of two sounds
void sfx_PlayWhistle();
void sfx_SetCDVolume();
void sfx_Update();
void sfx_WhistleSequenceA();
void sfx_WhistleSequenceB();
