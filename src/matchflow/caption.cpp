// In-match captions: slides, layouts and the statistics pages.
#include "matchflow/caption.h"

#include <cstdio>
#include <cstring>

#include "engine/engine_services.h"
#include "engine/player.h"
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
#include "shell/texts.h"
#include "tournament/dbplayer.h"
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

void NumberName(const DBPlayer* po, std::int32_t x, std::int32_t y) {
  char sz[16];
  std::snprintf(sz, sizeof sz, "%d", po ? static_cast<std::int32_t>(po->uField88) : 0);
  Text(sz, x, y, 255, 255, 255);
  Text(NameOf(po), x + 30, y, 255, 255, 255);
}

const char* TeamName(const MatchTeam* po) {
  const char* psz = match_TeamNameGet(po);
  return psz ? psz : "";
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
  Box(c.x, c.y, c.iWidth, c.iHeight, 32, 32, 32, 128);
  draw2d_Colour2Set(200, 200, 200, 255);
  draw2d_RectFill2(X(c.x), Y(c.y), X(c.x + c.iWidth) - X(c.x), 1, kLayer - 1);
  draw2d_RectFill2(X(c.x + 104), Y(c.y), 1, Y(c.y + c.iHeight) - Y(c.y), kLayer - 1);
  Text(c.acText, c.x + 6, c.y, 255, 255, 255);
  char sz[16];
  std::snprintf(sz, sizeof sz, "%d", po ? static_cast<std::int32_t>(po->uField88) : 0);
  Text(sz, c.x + 110, c.y, 255, 255, 255);
  Text(NameOf(po), c.x + 140, c.y, 255, 255, 255);
}

void DrawCard(std::int32_t bSentOff) {
  CaptionState& c = caption_oState;
  const Player* pp = ParamPlayer();
  Strip(210, c.y, 220, 11, 50, 50, 50, 5, 65, 225);
  NumberName(pp ? pp->pDBPlayer : nullptr, 216, c.y);
  Strip(210, c.y + 12, 220, 11, 50, 50, 50, 5, 65, 225);
  std::int32_t iTextX = 210 + 8;
  if (caption_bCardBoxShown()) {
    if (bSentOff) Box(214, c.y + 13, 8, 10, 250, 0, 63, 255);
    else Box(214, c.y + 13, 8, 10, 229, 199, 0, 255);
    iTextX = 210 + (bSentOff ? 40 : 32);
  }
  Text(gstatso_StrGet(bSentOff ? T_SENT_OFF : T_BOOKED), iTextX, c.y + 12, 255, 255, 255);
}

void DrawSubstitution() {
  CaptionState& c = caption_oState;
  Strip(160, c.y, 320, 11, 50, 50, 50, 5, 65, 225);
  TextCentred(gstatso_StrGet(T_SUBSTITUTION), 320, c.y, 255, 255, 255);
  Strip(160, c.y2 + 12, 320, 11, 32, 32, 32, 32, 32, 32);
  Text(gstatso_StrGet(c.bStageOn ? T_ON : T_OFF), 166, c.y2 + 12, 255, 255, 255);
  NumberName(c.bStageOn ? s_poSubOn : s_poSubOff, 220, c.y2 + 12);
}

void DrawPossession() {
  CaptionState& c = caption_oState;
  Strip(210, c.y, 220, 11, 0, 0, 0, 23, 134, 57);
  TextCentred(gstatso_StrGet(T_POSSESSION), 320, c.y, 255, 255, 255);
  Text(TeamName(&match.HomeTeam), 214, c.y + 12, 255, 255, 255);
  Text(TeamName(&match.AwayTeam), 330, c.y + 12, 255, 255, 255);
  std::int32_t h, a;
  caption_SharesGet(gstatso_PossessionGet(&match.HomeTeam.MatchStats), gstatso_PossessionGet(&match.AwayTeam.MatchStats),
                    &h, &a);
  const std::int32_t w = 220 * h / 100;
  Box(210, c.y + 24, w, 6, 232, 26, 16, 255);
  Box(210 + w, c.y + 24, 220 - w, 6, 23, 52, 190, 255);
}

void DrawShootout() {
  CaptionState& c = caption_oState;
  Strip(120, c.y, 400, 11, 0, 0, 0, 88, 68, 114);
  TextCentred(gstatso_StrGet(T_SHOOTOUT), 320, c.y, 255, 255, 255);
  for (std::int32_t k = 0; k < 5; k++) {
    char sz[4];
    std::snprintf(sz, sizeof sz, "%d", k + 1);
    Text(sz, 200 + 20 * k, c.y + 12, 255, 255, 255);
  }
  const MatchTeam* apo[2] = {&match.HomeTeam, &match.AwayTeam};
  for (std::int32_t t = 0; t < 2; t++) {
    Text(TeamName(apo[t]), 126, c.y + 24 + 12 * t, 255, 255, 255);
    for (std::int32_t k = 0; k < 5; k++)
      if (c.aaiShootout[t][k])
        pcframe_AddSheetSprite(X(200 + 20 * k), Y(c.y + 24 + 12 * t), kLayer - 1, c.aaiShootout[t][k] == 1 ? 0 : 1);
  }
  const Player* pp = ParamPlayer();
  if (pp) NumberName(pp->pDBPlayer, 126, c.y + 48);
}

void DrawGoal() {
  CaptionState& c = caption_oState;
  const Player* pp = ParamPlayer();
  std::int32_t x = pp && pp->MyTeam == player_PlaysFor_Away ? 340 : 60;
  if (global_eGetExtendedGameMode() == GAME_MODE_START_TRAINING) x = 200;
  char sz[16];
  Strip(c.iSlide - 300, 20, 140, 14, 110, 13, 8, 232, 26, 16);
  Text(TeamName(&match.HomeTeam), c.iSlide - 296, 22, 255, 255, 255);
  std::snprintf(sz, sizeof sz, "%d", match.HomeGoals);
  Text(sz, c.iSlide - 176, 22, 255, 255, 255);
  Strip(512 - c.iSlide + 160, 20, 140, 14, 23, 52, 190, 12, 26, 95);
  Text(TeamName(&match.AwayTeam), 512 - c.iSlide + 164, 22, 255, 255, 255);
  std::snprintf(sz, sizeof sz, "%d", match.AwayGoals);
  Text(sz, 512 - c.iSlide + 284, 22, 255, 255, 255);
  Strip(x, c.y, 240, 11, 50, 50, 50, 5, 65, 225);
  NumberName(pp ? pp->pDBPlayer : nullptr, x + 6, c.y);
}

void PageTitle(std::int32_t iTitle, const char* pszExtra) {
  char sz[96];
  if (pszExtra) std::snprintf(sz, sizeof sz, "%s %s", gstatso_StrGet(iTitle), pszExtra);
  else std::snprintf(sz, sizeof sz, "%s", gstatso_StrGet(iTitle));
  Strip(96, 40, 320, 15, 0, 0, 0, 137, 66, 0);
  TextCentred(sz, 256, 42, 255, 255, 255);
  Box(96, 55, 320, 150, 32, 32, 32, 128);
  Text(TeamName(&match.HomeTeam), 104, 58, 252, 241, 0);
  draw2d_TextColourSet(252, 241, 0, 255);
  pctext_PrintRight(TeamName(&match.AwayTeam), X(408), Y(58), kLayer - 1);
}

void DrawAreas(std::int32_t bFull) {
  char szAreas[48];
  std::snprintf(szAreas, sizeof szAreas, "%s", gstatso_StrGet(T_ACTION_AREAS));
  PageTitle(bFull ? T_FULL_TIME : T_HALF_TIME, szAreas);
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
  PageTitle(bFull ? T_FULL_TIME : T_HALF_TIME, nullptr);
  char sz[32];
  std::snprintf(sz, sizeof sz, "%d - %d", match.HomeGoals, match.AwayGoals);
  TextCentred(sz, 256, 58, 255, 255, 255);
  const MatchStats* ph = &match.HomeTeam.MatchStats;
  const MatchStats* pa = &match.AwayTeam.MatchStats;
  using Getter = std::int32_t (*)(const MatchStats*);
  static const Getter apfn[7] = {gstatso_ShotsGet,    gstatso_OnTargetGet, gstatso_CornersGet, gstatso_FreeKicksGet,
                                 gstatso_OffsidesGet, gstatso_BookedGet,   gstatso_SentOffGet};
  for (std::int32_t i = 0; i < 8; i++) {
    const std::int32_t y = 76 + 14 * i;
    std::int32_t h, a;
    if (i < 7) {
      h = apfn[i](ph);
      a = apfn[i](pa);
    } else {
      caption_SharesGet(gstatso_PossessionGet(ph), gstatso_PossessionGet(pa), &h, &a);
    }
    TextCentred(gstatso_StrGet(T_SHOTS + i), 256, y, 255, 255, 255);
    std::snprintf(sz, sizeof sz, i < 7 ? "%d" : "%d%%", h);
    Text(sz, 110, y, 255, 255, 255);
    std::snprintf(sz, sizeof sz, i < 7 ? "%d" : "%d%%", a);
    draw2d_TextColourSet(255, 255, 255, 255);
    pctext_PrintRight(sz, X(402), Y(y), kLayer - 1);
  }
}

void DrawScorers(std::int32_t bFull) {
  PageTitle(bFull ? T_FULL_TIME : T_HALF_TIME, nullptr);
  char sz[32];
  std::snprintf(sz, sizeof sz, "%d - %d", match.HomeGoals, match.AwayGoals);
  TextCentred(sz, 256, 58, 255, 255, 255);
  const MatchStats* apo[2] = {&match.HomeTeam.MatchStats, &match.AwayTeam.MatchStats};
  for (std::int32_t t = 0; t < 2; t++) {
    const std::int32_t n = gstatso_GoalCountGet(apo[t]);
    for (std::int32_t r = 0; r < 12 && caption_oState.iScroll + r < n; r++) {
      const std::int32_t i = caption_oState.iScroll + r;
      const bool bKind = gstatso_GoalKindGet(apo[t], i) != 0;
      const std::uint8_t uC = bKind ? 100 : 230, uB = bKind ? 255 : 230;
      const std::int32_t x = t == 0 ? 104 : 264, y = 76 + 10 * r;
      Text(NameOf(gstatso_GoalScorerGet(apo[t], i)), x, y, uC, uC, uB);
      const std::int32_t m = gstatso_GoalMinuteGet(apo[t], i);
      if (m > 120) std::snprintf(sz, sizeof sz, "%c", gstatso_StrGet(T_PEN)[0]);
      else std::snprintf(sz, sizeof sz, "%d", m);
      Text(sz, x + 120, y, uC, uC, uB);
    }
  }
}

void DrawOffsideFoul(std::int32_t bPenalty) {
  CaptionState& c = caption_oState;
  const Player* pp = ParamPlayer();
  if (bPenalty) Strip(210, c.y, 220, 11, 80, 0, 0, 5, 65, 225);
  else Strip(210, c.y, 220, 11, 50, 50, 50, 5, 65, 225);
  NumberName(pp ? pp->pDBPlayer : nullptr, 216, c.y);
  Strip(210, c.y + 12, 220, 11, 50, 50, 50, 5, 65, 225);
  const std::int32_t iText = bPenalty ? T_FOUL_PENALTY : (referee_bCardFlagGet() ? T_FOUL : T_OFFSIDE);
  Text(gstatso_StrGet(iText), 218, c.y + 12, 255, 255, 255);
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
  TextCentred(glstr_IDToStr(13), 256, 120, 255, 255, 255);
  return 1;
}
