// In-match captions: slides, layouts and the statistics pages.
#include "matchflow/caption.h"

#include <cstdio>
#include <cstring>

#include "engine/engine_services.h"
#include "engine/player.h"
#include "engine/referee.h"
#include "engine/team.h"
#include "framework/qdx_assert.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "matchflow/clock.h"
#include "matchflow/gstatso.h"
#include "matchflow/matcha.h"
#include "scene3d/pcframe.h"
#include "shell/draw2d.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/pause.h"
#include "shell/texts.h"
#include "tournament/dbplayer.h"
#include "tournament/tla.h"
#include "tournament/tournament_services.h"

CaptionState caption_oState;

namespace {
constexpr std::int32_t kLayer = 3;
DBPlayer* s_poSubOn = nullptr;
DBPlayer* s_poSubOff = nullptr;

// In-match text ids.
enum : std::int32_t {
  T_FOUL = 4, T_BOOKED = 5, T_SENT_OFF = 6, T_SUBSTITUTION = 13, T_ON = 15, T_OFF = 16, T_HALF_TIME = 17,
  T_FULL_TIME = 18, T_SHOOTOUT = 20, T_SHOTS = 22, T_OFFSIDE = 26, T_POSSESSION = 29, T_ACTION_AREAS = 32,
  T_FOUL_PENALTY = 37, T_PEN = 38,
};

std::int32_t X(std::int32_t x) { return pcfe_ScaleX(static_cast<std::int16_t>(x)); }
std::int32_t Y(std::int32_t y) { return pcfe_ScaleY(static_cast<std::int16_t>(y)); }

void Text(const char* psz, std::int32_t x, std::int32_t y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  draw2d_TextColourSet(r, g, b, 255);
  pctext_PrintLeft(psz, X(x), Y(y), kLayer - 1);
}

void TextCentred(const char* psz, std::int32_t x, std::int32_t y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  draw2d_TextColourSet(r, g, b, 255);
  pctext_PrintCentred(psz, X(x), Y(y), kLayer - 1);
}

// A text through which the picture shows, with no strip behind it or on a
// see-through box: with its dark shadow, so that it reads on light
// hoardings and pitches in every edition's colouring.
void TextShadowed(const char* psz, std::int32_t x, std::int32_t y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  draw2d_TextColourSet(r, g, b, 255);
  draw2d_TextShadowLeft(psz, X(x), Y(y), kLayer - 1);
}

void TextShadowedCentred(const char* psz, std::int32_t x, std::int32_t y, std::uint8_t r, std::uint8_t g,
                         std::uint8_t b) {
  draw2d_TextColourSet(r, g, b, 255);
  draw2d_TextShadowCentred(psz, X(x), Y(y), kLayer - 1);
}

// Right-aligned: x is where the text ends.
void TextShadowedRight(const char* psz, std::int32_t x, std::int32_t y, std::uint8_t r, std::uint8_t g,
                       std::uint8_t b) {
  draw2d_TextColourSet(r, g, b, 255);
  draw2d_TextShadowRight(psz, X(x), Y(y), kLayer - 1);
}

void TextOnPicture(const char* psz, std::int32_t x, std::int32_t y) { TextShadowed(psz, x, y, 255, 255, 255); }

void Box(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::uint8_t r, std::uint8_t g,
         std::uint8_t b, std::uint8_t a) {
  draw2d_FillColourSet(r, g, b, a);
  draw2d_RectFill(X(x), Y(y), X(x + w) - X(x), Y(y + h) - Y(y), kLayer);
}

// A strip shaded left to right between two colours.
void Strip(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::uint8_t r1, std::uint8_t g1,
           std::uint8_t b1, std::uint8_t r2, std::uint8_t g2, std::uint8_t b2) {
  CaptionState& c = caption_oState;
  c.iStripX = x;
  c.iStripY = y;
  c.iStripW = w;
  c.iStripH = h;
  draw2d_GradientSet(r1, g1, b1, r2, g2, b2, r2, g2, b2, r1, g1, b1, 255);
  draw2d_GradientRectFill(X(x), Y(y), X(x + w) - X(x), Y(y + h) - Y(y), kLayer);
}

const Player* ParamPlayer() { return reinterpret_cast<const Player*>(caption_oState.iParam); }

const char* NameOf(const DBPlayer* po) { return po ? po->szName : ""; }

std::int32_t W(const char* psz) { return pctext_WidthGet(psz); }
std::int32_t Max(std::int32_t a, std::int32_t b) { return a > b ? a : b; }
std::int32_t Min(std::int32_t a, std::int32_t b) { return a < b ? a : b; }

// Captions are centred on the screen's middle column and grow to hold their
// texts, never past the screen's margins.
constexpr std::int32_t kCentre = 320, kMargin = 8, kScreenW = 640;
constexpr std::int32_t kStripMax = kScreenW - 2 * kMargin;
constexpr std::int32_t kGap = 8;     // between a number and its name
constexpr std::int32_t kApart = 32;  // between two texts that must not read as one

// The left edge of a strip of width w centred on the captions' column.
std::int32_t StripX(std::int32_t w) { return kCentre - w / 2; }

// The shirt number of a player and, after it, his name fitted into what is
// left of iRoom pixels; the pixels used.
struct NumberNameFit {
  char szNumber[16];
  char szName[DBPLAYER_NAME_SIZE];
  std::int32_t iNameAt;  // from the number's left edge
  std::int32_t Width() const { return iNameAt + W(szName); }
};

NumberNameFit NumberNameMake(const DBPlayer* po, std::int32_t iRoom) {
  NumberNameFit o{};
  std::snprintf(o.szNumber, sizeof o.szNumber, "%d", po ? static_cast<std::int32_t>(po->uField88) : 0);
  o.iNameAt = Max(30, W(o.szNumber) + kGap);
  caption_NameFit(NameOf(po), iRoom - o.iNameAt, o.szName, sizeof o.szName);
  return o;
}

void NumberName(const NumberNameFit& o, std::int32_t x, std::int32_t y) {
  Text(o.szNumber, x, y, 255, 255, 255);
  Text(o.szName, x + o.iNameAt, y, 255, 255, 255);
}

void NumberNameOnPicture(const NumberNameFit& o, std::int32_t x, std::int32_t y) {
  TextOnPicture(o.szNumber, x, y);
  TextOnPicture(o.szName, x + o.iNameAt, y);
}

// A side's name as caption_TeamFit chooses it for a room.
struct TeamFit {
  char sz[64];
};
TeamFit TeamMake(const MatchTeam* po, std::int32_t iRoom) {
  TeamFit o{};
  caption_TeamFit(po, iRoom, o.sz, sizeof o.sz);
  return o;
}

// ---- Slides ---------------------------------------------------------------------------

void SlideStandard(std::int32_t iTarget) {
  CaptionState& c = caption_oState;
  switch (c.iPending) {
    case 1:
      c.y -= 4;
      if (c.y < iTarget) {
        c.iHold = CAPTION_HOLD;
        c.iPending = 2;
      }
      break;
    case 2:
      if (--c.iHold < 0) c.iPending = 3;
      break;
    case 3:
      c.y += 4;
      if (c.y > 256) c.iPending = 0;
      break;
    default: QDX_ASSERT(!"unknown caption slide phase"); break;
  }
}

void SlideSubstitution() {
  CaptionState& c = caption_oState;
  switch (c.iPending) {
    case 1:
      c.y -= 3;
      c.y2 -= 3;
      if (c.y < 180) {
        c.iHold = CAPTION_HOLD;
        c.bStageOn = 0;
        c.iPending = 2;
      }
      break;
    case 2:
      if (--c.iHold < 0) c.iPending = 4;
      break;
    case 4:
      c.y2 += 3;
      if (c.y2 > 256) c.iPending = 5;
      break;
    case 5:
      c.bStageOn = 1;
      c.y2 -= 3;
      if (c.y2 < 180) {
        c.iHold = CAPTION_HOLD;
        c.iPending = 6;
      }
      break;
    case 6:
      if (--c.iHold < 0) c.iPending = 3;
      break;
    case 3:
      c.y += 2;
      c.y2 += 2;
      if (c.y > 256 && c.y2 > 256) c.iPending = 0;
      break;
    default: QDX_ASSERT(!"unknown caption slide phase"); break;
  }
}

void SlideGoal() {
  CaptionState& c = caption_oState;
  switch (c.iPending) {
    case 1:
      c.iSlide += 8;
      if (c.iSlide >= 300) {
        c.iSlide = 300;
        c.iPending = 7;
      }
      break;
    case 7:
      c.y -= 4;
      if (c.y < 200) {
        c.iHold = CAPTION_HOLD;
        c.iPending = 2;
      }
      break;
    case 2:
      if (--c.iHold < 0) c.iPending = 3;
      break;
    case 3:
      if (c.iSlide > 0) c.iSlide -= 8;
      if (c.y < 256) c.y += 4;
      if (c.iSlide <= 0 && c.y >= 256) c.iPending = 0;
      break;
    default: QDX_ASSERT(!"unknown caption slide phase"); break;
  }
  if (++c.iBlink >= 16) c.iBlink = 0;
}

void SlideShootout() {
  CaptionState& c = caption_oState;
  switch (c.iPending) {
    case 1:
      c.y -= 4;
      if (c.y < 180) c.iPending = 2;
      break;
    case 2: break;
    case 3:
      c.y += 4;
      if (c.y > 256) c.iPending = 0;
      break;
    default: QDX_ASSERT(!"unknown caption slide phase"); break;
  }
}

// ---- Layouts --------------------------------------------------------------------------

void DrawPlayer() {
  CaptionState& c = caption_oState;
  const Player* pp = ParamPlayer();
  const DBPlayer* po = pp ? pp->pDBPlayer : nullptr;
  // The caption's text, a divider, then the number and the name.
  char szText[sizeof c.acText];
  caption_TextFit(c.acText, kStripMax / 2, szText, sizeof szText);
  const std::int32_t iDivider = Max(104, 6 + W(szText) + 6);
  NumberNameFit o = NumberNameMake(po, kStripMax - iDivider - 12);
  const std::int32_t w = Max(c.iWidth, iDivider + 6 + o.Width() + 6);
  const std::int32_t x = w > c.iWidth ? StripX(w) : c.x;
  Box(x, c.y, w, c.iHeight, 32, 32, 32, 128);
  draw2d_Colour2Set(200, 200, 200, 255);
  draw2d_RectFill2(X(x), Y(c.y), X(x + w) - X(x), 1, kLayer - 1);
  draw2d_RectFill2(X(x + iDivider), Y(c.y), 1, Y(c.y + c.iHeight) - Y(c.y), kLayer - 1);
  TextOnPicture(szText, x + 6, c.y);
  NumberNameOnPicture(o, x + iDivider + 6, c.y);
}

// Two strips: the player above, the decision below (a card box before it
// when shown, the text at iTextAt from the strip's left edge).
void DecisionDraw(const char* pszText, std::int32_t iTextAt, const std::uint8_t auFrom[3], std::int32_t iCard) {
  CaptionState& c = caption_oState;
  const Player* pp = ParamPlayer();
  NumberNameFit o = NumberNameMake(pp ? pp->pDBPlayer : nullptr, kStripMax - 12);
  const std::int32_t w = Max(220, Max(6 + o.Width() + 6, iTextAt + W(pszText) + 6));
  const std::int32_t x = StripX(w);
  Strip(x, c.y, w, 11, auFrom[0], auFrom[1], auFrom[2], 5, 65, 225);
  NumberName(o, x + 6, c.y);
  Strip(x, c.y + 12, w, 11, 50, 50, 50, 5, 65, 225);
  if (iCard == 1) Box(x + 4, c.y + 13, 8, 10, 229, 199, 0, 255);
  else if (iCard == 2) Box(x + 4, c.y + 13, 8, 10, 250, 0, 63, 255);
  Text(pszText, x + iTextAt, c.y + 12, 255, 255, 255);
}

void DrawCard(std::int32_t bSentOff) {
  static const std::uint8_t kGrey[3] = {50, 50, 50};
  const bool bBox = caption_bCardBoxShown() != 0;
  DecisionDraw(gstatso_StrGet(bSentOff ? T_SENT_OFF : T_BOOKED), bBox ? (bSentOff ? 40 : 32) : 8, kGrey,
               bBox ? (bSentOff ? 2 : 1) : 0);
}

void DrawSubstitution() {
  CaptionState& c = caption_oState;
  const char* pszOn = gstatso_StrGet(T_ON);
  const char* pszOff = gstatso_StrGet(T_OFF);
  // Both stages keep one width: the number stands after the longer of "ON"
  // and "OFF", the names are fitted to what is left.
  const std::int32_t iNumberAt = Max(60, 6 + Max(W(pszOn), W(pszOff)) + kGap);
  const NumberNameFit oOn = NumberNameMake(s_poSubOn, kStripMax - iNumberAt - 6);
  const NumberNameFit oOff = NumberNameMake(s_poSubOff, kStripMax - iNumberAt - 6);
  const std::int32_t w = Max(Max(320, W(gstatso_StrGet(T_SUBSTITUTION)) + 12),
                             iNumberAt + Max(oOn.Width(), oOff.Width()) + 6);
  const std::int32_t x = StripX(w);
  Strip(x, c.y, w, 11, 50, 50, 50, 5, 65, 225);
  TextCentred(gstatso_StrGet(T_SUBSTITUTION), kCentre, c.y, 255, 255, 255);
  Strip(x, c.y2 + 12, w, 11, 32, 32, 32, 32, 32, 32);
  Text(c.bStageOn ? pszOn : pszOff, x + 6, c.y2 + 12, 255, 255, 255);
  NumberName(c.bStageOn ? oOn : oOff, x + iNumberAt, c.y2 + 12);
}

void DrawPossession() {
  CaptionState& c = caption_oState;
  const TeamFit h = TeamMake(&match.HomeTeam, kStripMax / 2 - kApart);
  const TeamFit a = TeamMake(&match.AwayTeam, kStripMax / 2 - kApart);
  // The away name starts at the strip's middle or after the home name.
  const std::int32_t iAwayAt = Max(120, 4 + W(h.sz) + kApart);
  const std::int32_t w = Max(Max(220, W(gstatso_StrGet(T_POSSESSION)) + 12), iAwayAt + W(a.sz) + 4);
  const std::int32_t x = StripX(w);
  Strip(x, c.y, w, 11, 0, 0, 0, 23, 134, 57);
  TextCentred(gstatso_StrGet(T_POSSESSION), kCentre, c.y, 255, 255, 255);
  // The names stand under the strip, over the picture.
  TextOnPicture(h.sz, x + 4, c.y + 12);
  TextOnPicture(a.sz, x + iAwayAt, c.y + 12);
  std::int32_t iHome, iAway;
  caption_SharesGet(gstatso_PossessionGet(&match.HomeTeam.MatchStats), gstatso_PossessionGet(&match.AwayTeam.MatchStats),
                    &iHome, &iAway);
  const std::int32_t wHome = w * iHome / 100;
  Box(x, c.y + 24, wHome, 6, 232, 26, 16, 255);
  Box(x + wHome, c.y + 24, w - wHome, 6, 23, 52, 190, 255);
}

void DrawShootout() {
  CaptionState& c = caption_oState;
  const std::int32_t w = Max(400, W(gstatso_StrGet(T_SHOOTOUT)) + 12);
  const std::int32_t x = StripX(w);
  Strip(x, c.y, w, 11, 0, 0, 0, 88, 68, 114);
  TextCentred(gstatso_StrGet(T_SHOOTOUT), kCentre, c.y, 255, 255, 255);
  // The kicks' columns stand after the longer team name.
  const MatchTeam* apo[2] = {&match.HomeTeam, &match.AwayTeam};
  // Columns a cell and a half apart, so that "1" to "5" do not read as one
  // number.
  constexpr std::int32_t kKick = 24;
  TeamFit ao[2];
  for (std::int32_t t = 0; t < 2; t++) ao[t] = TeamMake(apo[t], w - 12 - 2 * kGap - 5 * kKick);
  const std::int32_t iColumns = Max(200, x + 6 + Max(W(ao[0].sz), W(ao[1].sz)) + 2 * kGap);
  for (std::int32_t k = 0; k < 5; k++) {
    char sz[4];
    std::snprintf(sz, sizeof sz, "%d", k + 1);
    TextOnPicture(sz, iColumns + kKick * k, c.y + 12);
  }
  // The kicks' numbers, the teams and the taker stand under the strip, over
  // the picture.
  for (std::int32_t t = 0; t < 2; t++) {
    TextOnPicture(ao[t].sz, x + 6, c.y + 24 + 12 * t);
    for (std::int32_t k = 0; k < 5; k++)
      if (c.aaiShootout[t][k])
        pcframe_AddSheetSprite(X(iColumns + kKick * k), Y(c.y + 24 + 12 * t), kLayer - 1, c.aaiShootout[t][k] == 1 ? 0 : 1);
  }
  const Player* pp = ParamPlayer();
  if (pp) NumberNameOnPicture(NumberNameMake(pp->pDBPlayer, kScreenW - kMargin - (x + 6)), x + 6, c.y + 48);
}

void DrawGoal() {
  CaptionState& c = caption_oState;
  const Player* pp = ParamPlayer();
  std::int32_t x = pp && pp->MyTeam == player_PlaysFor_Away ? 340 : 60;
  // Training has no away side: its goal names the scorer beside the home box.
  const bool bTraining = global_eGetExtendedGameMode() == GAME_MODE_START_TRAINING;
  if (bTraining) x = 200;
  // Each team box holds the name and, at its right end, the score: 140
  // wide, wider where the name needs it, up to half the screen less a
  // margin and half the gap kept from the other box. The home box rests at
  // the screen's left edge, the away box at x 372 or, wider, as far left as
  // its right end needs to keep the margin.
  char szHome[16], szAway[16];
  std::snprintf(szHome, sizeof szHome, "%d", match.HomeGoals);
  std::snprintf(szAway, sizeof szAway, "%d", match.AwayGoals);
  constexpr std::int32_t kBoxMax = (kScreenW - 2 * kMargin - kApart) / 2;
  const auto BoxWidth = [](const TeamFit& o, const char* pszScore) { return Max(140, 4 + W(o.sz) + kGap + W(pszScore) + 2); };
  const TeamFit h = TeamMake(&match.HomeTeam, kBoxMax - 4 - kGap - W(szHome) - 2);
  const TeamFit a = TeamMake(&match.AwayTeam, kBoxMax - 4 - kGap - W(szAway) - 2);
  const std::int32_t wHome = BoxWidth(h, szHome), wAway = BoxWidth(a, szAway);
  const std::int32_t xHome = c.iSlide - 300, xAway = Min(372, kScreenW - kMargin - wAway) + 300 - c.iSlide;
  Strip(xHome, 20, wHome, 14, 110, 13, 8, 232, 26, 16);
  Text(h.sz, xHome + 4, 22, 255, 255, 255);
  draw2d_TextColourSet(255, 255, 255, 255);
  pctext_PrintRight(szHome, X(xHome + wHome - 2), Y(22), kLayer - 1);
  if (!bTraining) {
    Strip(xAway, 20, wAway, 14, 23, 52, 190, 12, 26, 95);
    Text(a.sz, xAway + 4, 22, 255, 255, 255);
    pctext_PrintRight(szAway, X(xAway + wAway - 2), Y(22), kLayer - 1);
  }
  Strip(x, c.y, 240, 11, 50, 50, 50, 5, 65, 225);
  NumberName(NumberNameMake(pp ? pp->pDBPlayer : nullptr, 240 - 12), x + 6, c.y);
}

// The pages are centred on x 256 and grow from their 320 to hold their
// widest line, up to the 512-wide page area.
constexpr std::int32_t kPageCentre = 256, kPageMin = 320, kPageMax = 496;
std::int32_t PageWidth(std::int32_t iNeed) { return Min(kPageMax, Max(kPageMin, iNeed)); }

// The title strip, the body and the two team names (home at the left, away
// at the right, each in half the line); the page's left edge.
std::int32_t PageTitle(std::int32_t iTitle, const char* pszExtra, std::int32_t w) {
  char sz[96];
  if (pszExtra) std::snprintf(sz, sizeof sz, "%s %s", gstatso_StrGet(iTitle), pszExtra);
  else std::snprintf(sz, sizeof sz, "%s", gstatso_StrGet(iTitle));
  const std::int32_t x = kPageCentre - w / 2;
  Strip(x, 40, w, 15, 0, 0, 0, 137, 66, 0);
  TextCentred(sz, kPageCentre, 42, 255, 255, 255);
  Box(x, 55, w, 150, 32, 32, 32, 128);
  const std::int32_t iHalf = w / 2 - 8 - kApart / 2;
  const TeamFit h = TeamMake(&match.HomeTeam, iHalf);
  const TeamFit a = TeamMake(&match.AwayTeam, iHalf);
  TextShadowed(h.sz, x + 8, 58, 252, 241, 0);
  TextShadowedRight(a.sz, x + w - 8, 58, 252, 241, 0);
  return x;
}

// The width two team names need side by side on a page.
std::int32_t PageNamesNeed() {
  return 16 + kApart + 2 * Max(W(TeamMake(&match.HomeTeam, 9999).sz), W(TeamMake(&match.AwayTeam, 9999).sz));
}

// The score on its own line under the names; the lines below start at y 80.
constexpr std::int32_t kPageScoreY = 68, kPageRowsY = 80;

void PageScore() {
  char sz[32];
  std::snprintf(sz, sizeof sz, "%d - %d", match.HomeGoals, match.AwayGoals);
  TextShadowedCentred(sz, kPageCentre, kPageScoreY, 255, 255, 255);
}

void DrawAreas(std::int32_t bFull) {
  char szAreas[48], szTitle[96];
  std::snprintf(szAreas, sizeof szAreas, "%s", gstatso_StrGet(T_ACTION_AREAS));
  std::snprintf(szTitle, sizeof szTitle, "%s %s", gstatso_StrGet(bFull ? T_FULL_TIME : T_HALF_TIME), szAreas);
  PageTitle(bFull ? T_FULL_TIME : T_HALF_TIME, szAreas, PageWidth(Max(W(szTitle) + 16, PageNamesNeed())));
  for (std::int32_t i = 0; i < 12; i++) {
    const bool bDark = (i & 1) != 0;
    Box(116 + 24 * i, 80, 24, 100, bDark ? 11 : 32, bDark ? 65 : 77, 10, 255);
  }
  std::int32_t aiArea[3], aiThird[3];
  for (std::int32_t i = 0; i < 3; i++) {
    const std::int32_t j = bFull ? 2 - i : i;
    aiArea[i] = gstatso_ActionAreaGet(&match.HomeTeam.MatchStats, j) + gstatso_ActionAreaGet(&match.AwayTeam.MatchStats, j);
  }
  caption_ThirdsGet(aiArea, aiThird);
  for (std::int32_t i = 0; i < 3; i++) {
    char sz[16];
    std::snprintf(sz, sizeof sz, "%d%%", aiThird[i]);
    TextCentred(sz, 164 + 96 * i, 124, 255, 255, 255);
  }
}

void DrawStats(std::int32_t bFull) {
  const MatchStats* ph = &match.HomeTeam.MatchStats;
  const MatchStats* pa = &match.AwayTeam.MatchStats;
  using Getter = std::int32_t (*)(const MatchStats*);
  static const Getter apfn[7] = {gstatso_ShotsGet,    gstatso_OnTargetGet, gstatso_CornersGet, gstatso_FreeKicksGet,
                                 gstatso_OffsidesGet, gstatso_BookedGet,   gstatso_SentOffGet};
  char aaszHome[8][16], aaszAway[8][16];
  // The label is centred between the two counts: each half holds a count
  // and half the label.
  std::int32_t iNeed = PageNamesNeed();
  for (std::int32_t i = 0; i < 8; i++) {
    std::int32_t h, a;
    if (i < 7) {
      h = apfn[i](ph);
      a = apfn[i](pa);
    } else {
      caption_SharesGet(gstatso_PossessionGet(ph), gstatso_PossessionGet(pa), &h, &a);
    }
    std::snprintf(aaszHome[i], sizeof aaszHome[i], i < 7 ? "%d" : "%d%%", h);
    std::snprintf(aaszAway[i], sizeof aaszAway[i], i < 7 ? "%d" : "%d%%", a);
    const std::int32_t iCount = Max(W(aaszHome[i]), W(aaszAway[i]));
    iNeed = Max(iNeed, 2 * (14 + iCount + kApart) + W(gstatso_StrGet(T_SHOTS + i)));
  }
  const std::int32_t w = PageWidth(iNeed);
  const std::int32_t x = PageTitle(bFull ? T_FULL_TIME : T_HALF_TIME, nullptr, w);
  PageScore();
  for (std::int32_t i = 0; i < 8; i++) {
    const std::int32_t y = kPageRowsY + 14 * i;
    TextShadowedCentred(gstatso_StrGet(T_SHOTS + i), kPageCentre, y, 255, 255, 255);
    TextOnPicture(aaszHome[i], x + 14, y);
    TextShadowedRight(aaszAway[i], x + w - 14, y, 255, 255, 255);
  }
}

void DrawScorers(std::int32_t bFull) {
  const MatchStats* apo[2] = {&match.HomeTeam.MatchStats, &match.AwayTeam.MatchStats};
  // Each side has half the page: the scorer's name and, at the column's
  // right end, the minute (the widest is three figures).
  char szWidest[4] = "000";
  std::int32_t iNameNeed = 0;
  for (std::int32_t t = 0; t < 2; t++)
    for (std::int32_t r = 0; r < 12 && caption_oState.iScroll + r < gstatso_GoalCountGet(apo[t]); r++)
      iNameNeed = Max(iNameNeed, W(NameOf(gstatso_GoalScorerGet(apo[t], caption_oState.iScroll + r))));
  const std::int32_t iMinuteW = W(szWidest);
  const std::int32_t w = PageWidth(Max(PageNamesNeed(), 2 * (8 + iNameNeed + kApart + iMinuteW + 8)));
  const std::int32_t x = PageTitle(bFull ? T_FULL_TIME : T_HALF_TIME, nullptr, w);
  PageScore();
  const std::int32_t iColumn = w / 2;
  for (std::int32_t t = 0; t < 2; t++) {
    const std::int32_t n = gstatso_GoalCountGet(apo[t]);
    const std::int32_t x0 = x + t * iColumn + 8, xMinute = x + (t + 1) * iColumn - 8;
    for (std::int32_t r = 0; r < 12 && caption_oState.iScroll + r < n; r++) {
      const std::int32_t i = caption_oState.iScroll + r;
      const bool bKind = gstatso_GoalKindGet(apo[t], i) != 0;
      const std::uint8_t uC = bKind ? 100 : 230, uB = bKind ? 255 : 230;
      const std::int32_t y = kPageRowsY + 10 * r;
      char szName[DBPLAYER_NAME_SIZE];
      caption_NameFit(NameOf(gstatso_GoalScorerGet(apo[t], i)), xMinute - iMinuteW - kApart - x0, szName,
                      sizeof szName);
      TextShadowed(szName, x0, y, uC, uC, uB);
      char sz[16];
      const std::int32_t m = gstatso_GoalMinuteGet(apo[t], i);
      if (m > 120) std::snprintf(sz, sizeof sz, "%c", gstatso_StrGet(T_PEN)[0]);
      else std::snprintf(sz, sizeof sz, "%d", m);
      TextShadowedRight(sz, xMinute, y, uC, uC, uB);
    }
  }
}

void DrawOffsideFoul(std::int32_t bPenalty) {
  static const std::uint8_t kRed[3] = {80, 0, 0}, kGrey[3] = {50, 50, 50};
  // "OFFSIDE" when the referee called an offside, else "FOUL": the foul
  // latch is cleared by the script that shows this caption, and the card
  // flag only tells a card's colour (a foul with no card would read offside).
  const std::int32_t iText =
      bPenalty ? T_FOUL_PENALTY : (referee_DecisionGet() == REFEREE_DECISION_OFFSIDE ? T_OFFSIDE : T_FOUL);
  DecisionDraw(gstatso_StrGet(iText), 8, bPenalty ? kRed : kGrey, 0);
}
}  // namespace

// ---- Operations -----------------------------------------------------------------------

void caption_Init() {
  caption_oState = CaptionState{};
  CaptionState& c = caption_oState;
  c.x = 180;
  c.y = CAPTION_Y_HIDDEN;
  c.y2 = CAPTION_Y_HIDDEN;
  c.iWidth = 280;
  c.iHeight = 11;
  s_poSubOn = s_poSubOff = nullptr;
}

void caption_Request(std::int32_t iType, std::intptr_t iParam) {
  CaptionState& c = caption_oState;
  c.iType = iType;
  c.iParam = iParam;
  if (c.iPending == 0) {
    c.iPending = 1;
    c.iSlide = 0;
    c.bStageOn = 0;
    c.iBlink = 0;
  }
}

void caption_Clear() {
  CaptionState& c = caption_oState;
  c.y = CAPTION_Y_HIDDEN;
  c.y2 = CAPTION_Y_HIDDEN;
  c.iPending = 0;
  c.iCooldown = CAPTION_COOLDOWN;
}

std::int32_t caption_bIsBusy() { return caption_oState.iPending != 0 || caption_oState.iCooldown != 0 ? 1 : 0; }
std::int32_t caption_bIsPending() { return caption_oState.iPending != 0 ? 1 : 0; }
std::int32_t caption_iTypeGet() { return caption_oState.iType; }
std::int32_t caption_bBlinkOnGet() { return caption_oState.iBlink < 8 ? 1 : 0; }

void caption_SubstitutionSet(DBPlayer* poOn, DBPlayer* poOff) {
  s_poSubOn = poOn;
  s_poSubOff = poOff;
}

void caption_ShootoutMarkSet(std::int32_t iTeam, std::int32_t iKick, std::int32_t bScored) {
  if (iTeam < 0 || iTeam > 1 || iKick < 0 || iKick > 4) return;
  caption_oState.aaiShootout[iTeam][iKick] = bScored ? 1 : 2;
}

void caption_ShootoutSlideOut() {
  if (caption_oState.iPending != 0 && caption_oState.iType == CAPTION_SHOOTOUT) caption_oState.iPending = 3;
}

void caption_TextSet(const char* psz) {
  std::snprintf(caption_oState.acText, sizeof caption_oState.acText, "%s", psz ? psz : "");
}

void caption_Draw() {
  matchflow_LineupDraw();
  // A paused match shows its pause menu alone: a caption (the shoot-out's
  // panel, a goal's, a player's) neither draws nor counts until it goes on.
  if (pause_bIsPaused()) return;
  CaptionState& c = caption_oState;
  if (c.iPending == 0) {
    if (c.iCooldown > 0) c.iCooldown--;
    return;
  }
  switch (c.iType) {
    case CAPTION_PLAYER: SlideStandard(190); DrawPlayer(); break;
    case CAPTION_BOOKED: SlideStandard(190); DrawCard(0); break;
    case CAPTION_SENT_OFF: SlideStandard(190); DrawCard(1); break;
    case CAPTION_SUBSTITUTION: SlideSubstitution(); DrawSubstitution(); break;
    case CAPTION_POSSESSION: SlideStandard(190); DrawPossession(); break;
    case CAPTION_SHOOTOUT: SlideShootout(); DrawShootout(); break;
    case CAPTION_GOAL: SlideGoal(); DrawGoal(); break;
    case CAPTION_AREAS_HALF:
    case CAPTION_AREAS_FULL: DrawAreas(c.iType == CAPTION_AREAS_FULL); break;
    case CAPTION_STATS_HALF:
    case CAPTION_STATS_FULL: DrawStats(c.iType == CAPTION_STATS_FULL); break;
    case CAPTION_OFFSIDE_FOUL: SlideStandard(190); DrawOffsideFoul(0); break;
    case CAPTION_SCORERS_HALF:
    case CAPTION_SCORERS_FULL: DrawScorers(c.iType == CAPTION_SCORERS_FULL); break;
    case CAPTION_FOUL_PENALTY: SlideStandard(190); DrawOffsideFoul(1); break;
    default:
      // A type nobody knows is dropped, so the captions do not stay busy.
      c.iPending = 0;
      break;
  }
  c.iCooldown = CAPTION_COOLDOWN;
}

std::int32_t caption_bCardBoxShown() {
  const GameMode e = global_eGetExtendedGameMode();
  return tmglobal_YearGet() >= 70 || e == 50 || e == 74 ? 1 : 0;
}

void caption_SharesGet(std::int32_t iHome, std::int32_t iAway, std::int32_t* piHome, std::int32_t* piAway) {
  if (iHome < 0) iHome = 0;
  if (iAway < 0) iAway = 0;
  const std::int64_t t = static_cast<std::int64_t>(iHome) + iAway;
  std::int32_t h = 50;
  if (t > 0) h = static_cast<std::int32_t>(((100000000 / t) * iHome) / 1000000);
  *piHome = h;
  *piAway = 100 - h;
}

void caption_ThirdsGet(const std::int32_t aiArea[3], std::int32_t aiOut[3]) {
  std::int64_t t = 0;
  for (std::int32_t i = 0; i < 3; i++) t += aiArea[i] > 0 ? aiArea[i] : 0;
  if (t == 0) {
    aiOut[0] = aiOut[2] = 0;
    aiOut[1] = 100;
    return;
  }
  auto pct = [&](std::int32_t v) {
    return static_cast<std::int32_t>(((100000000 / t) * (v > 0 ? v : 0) + 500000) / 1000000);
  };
  aiOut[0] = pct(aiArea[0]);
  aiOut[2] = pct(aiArea[2]);
  aiOut[1] = 100 - aiOut[0] - aiOut[2];
  if (aiOut[1] < 0) aiOut[1] = 0;
}

// ---- Panels for the menu screens ---------------------------------------------------------

namespace {
std::int32_t s_iPanelX = 0, s_iPanelY = 0, s_iPanelW = 0;

void PanelCommon(std::int32_t x, std::int32_t y, std::int32_t iAlpha, std::int32_t w, std::int32_t h,
                 std::int32_t iStrip, const std::uint8_t auFrom[3], const std::uint8_t auTo[3]) {
  s_iPanelX = x;
  s_iPanelY = y;
  s_iPanelW = w;
  Strip(x, y, w, iStrip, auFrom[0], auFrom[1], auFrom[2], auTo[0], auTo[1], auTo[2]);
  Box(x, y + iStrip, w, h - iStrip, 32, 32, 32, static_cast<std::uint8_t>(iAlpha));
  draw2d_Colour2Set(0, 0, 0, 255);
  draw2d_RectFill2(X(x), Y(y), X(x + w) - X(x), 1, kLayer - 1);
  draw2d_RectFill2(X(x), Y(y + h), X(x + w) - X(x), 1, kLayer - 1);
}
}  // namespace

void caption_PanelDraw(std::int32_t x, std::int32_t y, std::int32_t iAlpha, std::int32_t w, std::int32_t h) {
  static const std::uint8_t a[3] = {0, 0, 0}, b[3] = {137, 66, 0};
  PanelCommon(x, y, iAlpha, w, h, 15, a, b);
}

void caption_PanelDraw2(std::int32_t x, std::int32_t y, std::int32_t iAlpha, std::int32_t w, std::int32_t h) {
  static const std::uint8_t a[3] = {0, 6, 100}, b[3] = {0, 156, 196};
  PanelCommon(x, y, iAlpha, w, h, 16, a, b);
}

void caption_LineCentred(const char* psz, std::int32_t dy) {
  TextCentred(psz, s_iPanelX + s_iPanelW / 2, s_iPanelY + dy - 1, 0, 0, 0);
  TextCentred(psz, s_iPanelX + s_iPanelW / 2, s_iPanelY + dy, 200, 200, 200);
}

void caption_LineAt(const char* psz, std::int32_t dx, std::int32_t dy) {
  Text(psz, s_iPanelX + dx, s_iPanelY + dy - 1, 0, 0, 0);
  Text(psz, s_iPanelX + dx, s_iPanelY + dy, 200, 200, 200);
}

void caption_BarDraw(std::int32_t dy, std::int32_t h) { Box(s_iPanelX, s_iPanelY + dy, s_iPanelW, h, 0, 0, 0, 255); }
void caption_BarDraw2(std::int32_t dy, std::int32_t h) { Box(s_iPanelX, s_iPanelY + dy, s_iPanelW, h, 50, 50, 100, 255); }

// ---- Scorers, possession, controller --------------------------------------------------------

void caption_ScorersScrollUp() {
  if (caption_oState.iScroll > 0) caption_oState.iScroll--;
}

void caption_ScorersScrollDown() {
  const std::int32_t h = gstatso_GoalCountGet(&match.HomeTeam.MatchStats);
  const std::int32_t a = gstatso_GoalCountGet(&match.AwayTeam.MatchStats);
  if (caption_oState.iScroll < (h > a ? h : a) - 12) caption_oState.iScroll++;
}

void caption_ScorersScrollReset() { caption_oState.iScroll = 0; }

void caption_PossessionPeriodic() {
  const std::int32_t v = clock_ValueGet();
  const GameMode e = global_eGetGameMode();
  if (v > caption_oState.iLastPossession + 54000 && (e == 26 || e == 28 || e == 31 || e == 44)) {
    caption_Request(CAPTION_POSSESSION, 0);
    caption_oState.iLastPossession = v;
  }
}

std::int32_t caption_ControllerMsgDraw() {
  if (!input_bControllerMissing()) return 0;
  Box(0, 105, 512, 40, 5, 76, 215, 255);
  TextCentred(gstatso_GlobalStrGet(IDS_GLOBAL_INSERT_CONTROLLER), 256, 120, 255, 255, 255);
  return 1;
}

// ---- Fitting texts ---------------------------------------------------------------------------

void caption_TextFit(const char* psz, std::int32_t iRoom, char* pszOut, std::size_t cb) {
  if (cb == 0) return;
  std::snprintf(pszOut, cb, "%s", psz ? psz : "");
  std::size_t n = std::strlen(pszOut);
  if (pctext_WidthGet(pszOut) <= iRoom) return;
  // Cut letters until the text with its full stop fits; one letter at least.
  while (n > 1) {
    pszOut[--n] = '\0';
    while (n > 1 && pszOut[n - 1] == ' ') pszOut[--n] = '\0';
    if (n + 1 < cb) {
      pszOut[n] = '.';
      pszOut[n + 1] = '\0';
      if (pctext_WidthGet(pszOut) <= iRoom) return;
      pszOut[n] = '\0';
    }
  }
}

void caption_NameFit(const char* pszName, std::int32_t iRoom, char* pszOut, std::size_t cb) {
  if (cb == 0) return;
  const char* p = pszName ? pszName : "";
  if (pctext_WidthGet(p) <= iRoom) {
    std::snprintf(pszOut, cb, "%s", p);
    return;
  }
  const char* pszRest = std::strchr(p, ' ');
  while (pszRest && *pszRest == ' ') pszRest++;
  if (pszRest && *pszRest) {
    char sz[96];
    std::snprintf(sz, sizeof sz, "%c. %s", p[0], pszRest);
    if (pctext_WidthGet(sz) <= iRoom) {
      std::snprintf(pszOut, cb, "%s", sz);
      return;
    }
    if (pctext_WidthGet(pszRest) <= iRoom) {
      std::snprintf(pszOut, cb, "%s", pszRest);
      return;
    }
    const char* pszLast = std::strrchr(pszRest, ' ');
    if (pszLast && pszLast[1]) p = pszLast + 1;
    else p = pszRest;
  }
  caption_TextFit(p, iRoom, pszOut, cb);
}

void caption_TeamFit(const MatchTeam* poTeam, std::int32_t iRoom, char* pszOut, std::size_t cb) {
  if (cb == 0) return;
  char szCut[64];
  std::snprintf(pszOut, cb, "%s", pcfe_TeamNameFit(tla_NamesGet(match_TeamIdGet(poTeam)), iRoom, szCut, sizeof szCut));
}
