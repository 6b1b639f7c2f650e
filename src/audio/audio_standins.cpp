// Silent versions of the audio services, so that the game links and runs
// before the audio subsystem exists. Each function here is replaced, one by
// one, by the real module that provides it.
#include "audio/audio_services.h"

void crowd_CDStart() {}
void crowd_CDUpdate() {}
void crowd_ChooseTrack(std::int32_t) {}
void crowd_ReactFoul() {}
void crowd_ReactGoal() {}
void crowd_ReactHomeTeam() {}
void crowd_ReactAwayTeam() {}
void crowd_ReactTension() {}
void crowd_StopAll() {}
void crowd_StopAllQuiet() {}
void crowd_UpdateExcitement() {}

void pchat_RefereeSay(std::int32_t, std::int32_t) {}
void pchat_Reset() {}
void pchat_Say(Player*, std::int32_t, std::int32_t) {}

void sfx_FreeAllBanks() {}
void sfx_Play(std::int32_t) {}
void sfx_PlayAtVolume(std::int32_t, std::int32_t) {}
void sfx_PlayRandomOfThree() {}
void sfx_PlayWhistle() {}
void sfx_SetCDVolume() {}
void sfx_Update() {}
void sfx_WhistleSequenceA() {}
void sfx_WhistleSequenceB() {}
