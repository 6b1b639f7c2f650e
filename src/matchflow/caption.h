#pragma once
// In-match captions: one caption at a time, requested by type with one
// parameter, drawn each logic tick as sliding panels of 2D boxes and text on
// the 512 x 240 virtual screen; and the statistics pages of the half-time and
// full-time sequences.
#include <cstddef>
#include <cstdint>

struct DBPlayer;
struct MatchTeam;
struct Player;

enum : std::int32_t {
  CAPTION_PLAYER = 0,
  CAPTION_BOOKED = 1,
  CAPTION_SENT_OFF = 2,
  CAPTION_SUBSTITUTION = 3,
  CAPTION_POSSESSION = 4,
  CAPTION_SHOOTOUT = 5,
  CAPTION_GOAL = 6,
  CAPTION_AREAS_HALF = 7,
  CAPTION_AREAS_FULL = 8,
  CAPTION_STATS_HALF = 9,
  CAPTION_STATS_FULL = 10,
  CAPTION_OFFSIDE_FOUL = 11,
  CAPTION_SCORERS_HALF = 12,
  CAPTION_SCORERS_FULL = 13,
  CAPTION_FOUL_PENALTY = 14,
};

constexpr std::int32_t CAPTION_COOLDOWN = 15;
constexpr std::int32_t CAPTION_HOLD = 30;
constexpr std::int32_t CAPTION_Y_HIDDEN = 258;

struct CaptionState {
  std::int32_t iPending;  // 0 none, else the slide phase 1..7
  std::int32_t iType;
  std::intptr_t iParam;   // a Player* for the player captions, else a value
  std::int32_t iCooldown;
  std::int32_t iHold;
  std::int32_t x, y, y2, iWidth, iHeight;
  std::int32_t iSlide;    // the goal caption's side boxes
  std::int32_t bStageOn;  // substitution: 0 the "OFF" stage, 1 the "ON" stage
  std::int32_t iLastPossession;
  std::int32_t iScroll;
  std::int32_t iStripX, iStripY, iStripW, iStripH;
  std::int32_t aaiShootout[2][5];  // 0 not taken, 1 scored, 2 missed
  std::int32_t iBlink;
  char acText[64];
};
extern CaptionState caption_oState;

void caption_Init();
void caption_Request(std::int32_t iType, std::intptr_t iParam);
void caption_Clear();
std::int32_t caption_bIsBusy();
std::int32_t caption_bIsPending();
std::int32_t caption_iTypeGet();
std::int32_t caption_bBlinkOnGet();
void caption_Draw();
// The two players of a substitution caption (incoming, outgoing).
void caption_SubstitutionSet(DBPlayer* poOn, DBPlayer* poOff);
// A shoot-out kick: team 0 home, 1 away; kick 0..4.
void caption_ShootoutMarkSet(std::int32_t iTeam, std::int32_t iKick, std::int32_t bScored);
void caption_ShootoutSlideOut();
void caption_TextSet(const char* psz);

void caption_PanelDraw(std::int32_t x, std::int32_t y, std::int32_t iAlpha, std::int32_t w, std::int32_t h);
void caption_PanelDraw2(std::int32_t x, std::int32_t y, std::int32_t iAlpha, std::int32_t w, std::int32_t h);
void caption_LineCentred(const char* psz, std::int32_t dy);
void caption_LineAt(const char* psz, std::int32_t dx, std::int32_t dy);
void caption_BarDraw(std::int32_t dy, std::int32_t h);
void caption_BarDraw2(std::int32_t dy, std::int32_t h);

void caption_ScorersScrollUp();
void caption_ScorersScrollDown();
void caption_ScorersScrollReset();
void caption_PossessionPeriodic();
std::int32_t caption_ControllerMsgDraw();

// Shares in percent of two counts: home share truncated (50 when both are 0),
// away the rest.
void caption_SharesGet(std::int32_t iHome, std::int32_t iAway, std::int32_t* piHome, std::int32_t* piAway);
// The three thirds of the action areas, rounded, the middle one the rest.
void caption_ThirdsGet(const std::int32_t aiArea[3], std::int32_t aiOut[3]);
// Whether the card box shows on a booking caption.
std::int32_t caption_bCardBoxShown();

// Texts fitted to the room they are given, measured in the current font
// (over the match every character takes a 16-pixel cell).
// Any text cut to iRoom pixels; a cut text ends in a full stop.
void caption_TextFit(const char* psz, std::int32_t iRoom, char* pszOut, std::size_t cb);
// A player's name in iRoom pixels: the whole name, else the first name's
// initial and the rest, else the names after the first, else the last name,
// else the last name cut.
void caption_NameFit(const char* pszName, std::int32_t iRoom, char* pszOut, std::size_t cb);
// A side's team name in iRoom pixels, by the rule every team name in a room
// is chosen by (pcfe_TeamNameFit): its whole name where the room holds it,
// else its short name, cut to the room where even that does not fit; never
// its abbreviation.
void caption_TeamFit(const MatchTeam* poTeam, std::int32_t iRoom, char* pszOut, std::size_t cb);

// The walk-on's team line-up display, stepped before the captions.
void matchflow_LineupDraw();
