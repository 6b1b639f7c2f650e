#pragma once
// User markers: the ring on the pitch that shows whom a user controls, or
// roams and homes in on a player before the user has one. A pool of eight,
// handed out in order and never returned.
#include <cstdint>

struct Player;
struct User;

constexpr int32_t USRMARK_POOL_SIZE = 8;

enum : int32_t {
  USRMARK_STATE_NONE = 0,
  USRMARK_STATE_ROAMING = 1,
  USRMARK_STATE_HOMING = 2,
  USRMARK_STATE_ON_PLAYER = 3,
};

enum : int32_t {
  USRMARK_COLOUR_INITIAL = 0,
  USRMARK_COLOUR_DEFENDING = 1,
  USRMARK_COLOUR_TEAM_HAS_BALL = 2,
  USRMARK_COLOUR_HAS_BALL = 3,
};

struct UserMarker {
  int32_t iIndex;
  int32_t iState;
  int32_t x;
  int32_t y;
  Player* pplyr;
  int32_t iColour;
  int32_t iWidth;
  int32_t iHeight;
};

extern int32_t usrmark_iTimer;

void usrmark_PoolInit();
int32_t usrmark_bAlloc(UserMarker** pphl);
void usrmark_Activate(UserMarker* phl);
void usrmark_TimerAdd();
void usrmark_Draw(User* pusr);
