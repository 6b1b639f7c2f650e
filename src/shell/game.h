#pragma once
// The front-end tick and the match tick: each runs the current game mode's
// screen or match-mode handler. Both return 1 to stay in their application
// state and 0 to leave it.
#include <cstdint>

int32_t game_FrontEndTick();
int32_t game_MatchTick();

// The match frame operations the match-mode handlers run.
void game_MatchFrame();
void game_MatchFrameNoSim();
void game_SimStep();
void game_DrawStep();
// Puts a frame of the replay ring into the frame packet: the ball (in its
// replay form) and its view words, the ball trail and the players. The ball's
// live position and flight words are kept. The frame's reference value goes
// to the packet as 0 at iReferenceFrame and negated for frames numbered
// below it.
void game_ReplayFrameApply(int32_t iFrame, int32_t iReferenceFrame);

// Front-end entry (game mode 1 and the match record) and match entry (mode 24).
void game_Start();
void game_MatchEnter();

// Always 0: no team adjustment is polled on this platform.
int32_t teamadj_FrontEndPoll();
int32_t teamadj_MatchPoll();
