// The formation change: the side's user moves a cursor over the nineteen
// formations and applies one; Start leaves it and the substitution menu.
#include "matchflow/mformation.h"

#include "engine/cpuman.h"
#include "engine/engine_services.h"
#include "engine/formation.h"
#include "engine/team.h"
#include "matchflow/gstatso.h"
#include "matchflow/subs.h"
#include "shell/draw2d.h"
#include "shell/game.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/texts_data.h"
#include "shell/user.h"
#include "tournament/dbplayer.h"

MformationState mformation_oState;

namespace {

MformationState& s = mformation_oState;

}  // namespace

void mformation_Enter() {
  User* poPause = global_poGetPauseUser();
  if (poPause && poPause->bActive && poPause->pip && poPause->MyTeam != 0) input_PortBindingSet(8, poPause->pip);
  MatchTeam* h = match_HomeTeamGet();
  const bool bHome = h && h->SubRequest;
  s.poTeam = bHome ? h : match_AwayTeamGet();
  s.poUser = bHome ? global_poGetHomeUser() : global_poGetAwayUser();
  s.iCursor = s.poTeam && s.poTeam->iFormation >= 0 && s.poTeam->iFormation < FORMATION_MAX ? s.poTeam->iFormation : 0;
}

void mformation_Event(std::int32_t iEvent) {
  switch (iEvent) {
    case 5:
      // Leaves both screens: this one at once, the menu on the pop request;
      // the side's request is answered.
      if (s.poTeam) s.poTeam->SubRequest = 0;
      global_GameModePop();
      global_GameModePopRequest();
      break;
    case 6:
      if (s.poTeam) cpuman_TeamFormationSet(s.poTeam, s.iCursor);
      break;
    case 7: global_GameModePopRequest(); break;
    // The cursor wraps here, so a move and a Select in one tick stay inside
    // the table.
    case 8: s.iCursor = s.iCursor == 0 ? FORMATION_MAX - 1 : s.iCursor - 1; break;
    case 9: s.iCursor = s.iCursor == FORMATION_MAX - 1 ? 0 : s.iCursor + 1; break;
    case 10:
      if (s.iCursor >= 10) s.iCursor -= 10;
      break;
    case 11:
      if (s.iCursor < 10) s.iCursor = s.iCursor + 10 > FORMATION_MAX - 1 ? FORMATION_MAX - 1 : s.iCursor + 10;
      break;
    default: break;
  }
}

void mformation_Input() { subs_EventsDrain(s.poUser, mformation_Event); }

void mformation_Draw() {
  // Names of up to five 16-pixel characters: the two columns sit 80 apart
  // and the panel reaches past the first column and the last row.
  draw2d_FillColourSet(0, 0, 0, 160);
  subs_PanelFill(150, 60, 320, 116, 3);
  draw2d_TextColourSet(255, 255, 255, 255);
  subs_TextLeft(gstatso_StrGet(IDS_INGAME_FORMATION), 160, 62);
  const std::int32_t iCurrent = s.poTeam ? s.poTeam->iFormation : -1;
  for (std::int32_t i = 0; i < FORMATION_MAX; i++) {
    if (i == s.iCursor) draw2d_TextColourSet(200, 200, 0, 255);
    else if (i == iCurrent) draw2d_TextColourSet(200, 50, 50, 255);
    else draw2d_TextColourSet(255, 255, 255, 255);
    subs_TextCentred(gstatso_GlobalStrGet(IDS_GLOBAL_FORMATION_5131 + i), i < 10 ? 196 : 276, 74 + 10 * (i % 10));
  }
  // The pitch with a triangle per slot of the formation under the cursor,
  // the goalkeeper at the bottom and the board's rows (0 to 9) spread up the
  // pitch, so that the forwards of the deepest formations stay on it.
  constexpr std::int32_t kPitchX = 330, kPitchY = 74, kPitchSize = 92;
  constexpr std::int32_t kRowStep = 9, kRowMax = 9;
  constexpr std::int32_t kGoalkeeperY = kPitchY + kPitchSize - 6;
  static_assert(kGoalkeeperY - kRowMax * kRowStep - 4 >= kPitchY, "the last row's triangles leave the pitch");
  draw2d_GradientSet(32, 100, 32, 32, 100, 32, 32, 200, 32, 32, 200, 32, 255);
  draw2d_GradientRectFill(subs_X(kPitchX), subs_Y(kPitchY), subs_X(kPitchX + kPitchSize) - subs_X(kPitchX),
                          subs_Y(kPitchY + kPitchSize) - subs_Y(kPitchY), 2);
  const FormationSlot* ps = formation_RecordGet(s.iCursor);
  for (std::int32_t k = 0; k < FORMATION_SLOTS; k++) {
    const FormationSlot& o = ps[k];
    switch (formation_PositionStrIdGet(o.iPosition)) {
      case 1: draw2d_FillColourSet(220, 180, 0, 255); break;
      case 5: draw2d_FillColourSet(220, 40, 40, 255); break;
      case 4: case 6: case 10: case 11: draw2d_FillColourSet(240, 240, 240, 255); break;
      default: draw2d_FillColourSet(40, 90, 220, 255); break;
    }
    const std::int32_t x = 376 + (o.iColumn * 12 - 54) / 4 * 3 / 2;
    const std::int32_t y = kGoalkeeperY - o.iRow * kRowStep;
    draw2d_TriangleFill(subs_X(x), subs_Y(y - 4), subs_X(x - 4), subs_Y(y + 3), subs_X(x + 4), subs_Y(y + 3), 0);
  }
}

void mformation_Update() {
  mformation_Input();
  game_MatchFrameNoSim();
  mformation_Draw();
}
