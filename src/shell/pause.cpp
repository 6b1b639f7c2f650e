// The match pause flag: pausing holds the match clock and the CD music.
#include "shell/pause.h"

#include "audio/audio_services.h"
#include "shell/match_services.h"

int32_t pause_bFlag;

void pause_Set() {
  pause_bFlag = 1;
  clock_StateSave();
  clock_ResumeOnPlay();
  crowd_StopAllQuiet();
}

void pause_Clear() {
  pause_bFlag = 0;
  clock_StateRestore();
  QALCDPlay();
}

void pause_FlagClear() { pause_bFlag = 0; }
int32_t pause_bIsPaused() { return pause_bFlag; }
