// Option search and the user's pass markers.
#include "engine/aiopt.h"

#include <cmath>
#include <cstdlib>

#include "audio/audio_services.h"
#include "engine/ball.h"
#include "engine/cover.h"
#include "engine/grid.h"
#include "engine/player.h"
#include "engine/shtpass.h"
#include "engine/zone.h"
#include "framework/math/qrand.h"
#include "framework/math/trigw.h"
#include "framework/qdx_assert.h"
#include "scene3d/scene3d_services.h"
#include "shell/user.h"

const std::int8_t aiopt_aiRowsDown[15] = {14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
const std::int8_t aiopt_aiRowsUp[15] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};

namespace {

std::int32_t CellCentreX(std::int32_t c) { return c * 120 - 9300; }
std::int32_t CellCentreY(std::int32_t r) { return r * 120 - 5700; }

// Bit of a pitch cell in the player's window masks: the masks are centred on
// his own cell (bit 14 the column 7 to his left, row 0 the row 7 before his).
std::int32_t MaskRow(const Player* pp, std::int32_t iRow) { return iRow - cover_RowOf(pp->y) + 7; }
std::int32_t MaskBit(const Player* pp, std::int32_t iCol) { return cover_ColumnOf(pp->x) + 7 - iCol; }

// Steps 1 and 2 of every option handler: the window built and marked, the
// value at the ball's cell returned.
std::int32_t Prepare(Player* pp) {
  cover_Clear(pp->aiCover);
  player_OpponentGridBuild(pp);
  for (std::uint16_t& u : pp->auOccupancy) u = 0;
  zone_GridMark(pp, pp->oAIInfo.abParams[0]);
  std::int32_t iBall = aiopt_CellValue(pp, cover_ColumnOf(ball_CurXGet()), cover_RowOf(ball_CurYGet()));
  std::int32_t c = cover_ColumnOf(pp->x), r = cover_RowOf(pp->y);
  AIInfo& ai = pp->oAIInfo;
  ai.iWinMinCol = c - 7 < 0 ? 0 : c - 7;
  ai.iWinMaxCol = c + 7 > 155 ? 155 : c + 7;
  ai.iWinMinRow = r - 7 < 0 ? 0 : r - 7;
  ai.iWinMaxRow = r + 7 > 95 ? 95 : r + 7;
  return iBall;
}

std::int32_t Saturate(std::int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(v);
}

enum class Variant { A, B, C };

ActionNode* OptionRun(ActionNode* poList, Variant v) {
  ActionNode* poHead = poList;
  for (ActionNode* po = poList; po;) {
    Player* pp = po->poPlayer;
    ActionNode* poNext = po->poNext;
    if (v == Variant::B && pp->oAIInfo.ePrevAction == ACTION_OPTION_A &&
        static_cast<std::int32_t>(QMathRandRange(100)) > PlayerO_Attr54Get(pp))
      return nullptr;
    std::int32_t iBall = Prepare(pp);
    AIInfo& ai = pp->oAIInfo;
    switch (v) {
      case Variant::A:
        ai.iLowerBound = -255;
        ai.iUpperBound = 255;
        ai.iWantedValue = iBall + ai.abParams[1];
        break;
      case Variant::B:
        ai.iLowerBound = iBall + 1;
        ai.iUpperBound = 255;
        ai.iWantedValue = 255;
        break;
      case Variant::C:
        ai.iLowerBound = 0;
        ai.iUpperBound = iBall;
        ai.iWantedValue = 0;
        break;
    }
    if (aiopt_Search(pp)) {
      ActionNode* poRest = director_ListUnlink(po);
      if (po == poHead) poHead = poRest;
      action_Set(pp, ACTION_OPTION_A);
      std::int32_t cx = CellCentreX(pp->aiCover[0]), cy = CellCentreY(pp->aiCover[1]);
      if (v == Variant::B) {
        PlayerO_MoveToSet(pp, Saturate(pp->x + 2160LL * (cx - pp->x)), Saturate(pp->y + 2160LL * (cy - pp->y)),
                          ANIM_RUN);
      } else {
        PlayerO_MoveToSet(pp, cx, cy, v == Variant::A ? ANIM_RUN : ANIM_WALK);
      }
    }
    po = poNext;
  }
  return poHead;
}

Player* s_poLastReceiver;
ReceiverRecord s_oUserRecord;

struct PassRecord {
  std::int32_t iMode;
  std::int32_t x, y;
};
PassRecord s_oPass;

}  // namespace

std::int32_t aiopt_CellValue(const Player* pp, std::int32_t c, std::int32_t r) {
  return pp->Direction == 1 ? grid_ValueGet(c, r) : grid_ValueGetMirror(c, r);
}

void aiopt_OrderChoose(Player* pp) {
  pp->oAIInfo.piRowOrder = QMathRandBetween(0, 100) >= 50 ? aiopt_aiRowsDown : aiopt_aiRowsUp;
}

std::int32_t aiopt_Search(Player* pp) {
  aiopt_OrderChoose(pp);
  AIInfo& ai = pp->oAIInfo;
  std::int32_t iFoundCol = -1, iFoundRow = -1;
  for (std::int32_t i = 0; i < 15 && iFoundCol < 0; i++) {
    std::int32_t iRow = ai.iWinMinRow + ai.piRowOrder[i];
    if (iRow > ai.iWinMaxRow) continue;
    std::int32_t k = MaskRow(pp, iRow);
    if (k < 0 || k >= PLAYER_GRID_ROWS) continue;
    std::uint32_t uMask = pp->auOpponentGrid[k] & pp->auOccupancy[k];
    if (uMask == 0) continue;
    for (std::int32_t iCol = ai.iWinMaxCol; iCol >= 0; iCol--) {
      std::int32_t b = MaskBit(pp, iCol);
      if (b > 14) break;
      if (b < 0) continue;
      if ((uMask >> b) == 0) break;  // no set bit left at or left of this column
      if (!((uMask >> b) & 1)) continue;
      std::int32_t v = aiopt_CellValue(pp, iCol, iRow);
      if (v == ai.iWantedValue) {
        iFoundCol = iCol;
        iFoundRow = iRow;
        break;
      }
      if (v > ai.iLowerBound && v < ai.iUpperBound) {
        iFoundCol = iCol;
        iFoundRow = iRow;
        if (v < ai.iWantedValue) ai.iLowerBound = v;
        else ai.iUpperBound = v;
      }
    }
  }
  if (iFoundCol < 0) {
    ai.iFlags &= ~AI_FLAG_OPTION;
    return 0;
  }
  ai.iFlags |= AI_FLAG_OPTION;
  pp->aiCover[0] = iFoundCol;
  pp->aiCover[1] = iFoundRow;
  pp->aiCover[2] = iFoundCol;
  pp->aiCover[3] = iFoundRow;
  pp->aiCover[4] = ai.iLowerBound;
  return 1;
}

std::int32_t aiopt_SearchNearest(Player* pp, std::int32_t tc, std::int32_t tr, std::int32_t* piCol,
                                 std::int32_t* piRow) {
  const AIInfo& ai = pp->oAIInfo;
  std::int32_t iBest = INT32_MAX;
  for (std::int32_t iRow = ai.iWinMinRow; iRow <= ai.iWinMaxRow; iRow++) {
    std::int32_t k = MaskRow(pp, iRow);
    if (k < 0 || k >= PLAYER_GRID_ROWS) continue;
    std::uint32_t uMask = pp->auOpponentGrid[k] & pp->auOccupancy[k];
    for (std::int32_t iCol = ai.iWinMaxCol; iCol >= ai.iWinMinCol; iCol--) {
      std::int32_t b = MaskBit(pp, iCol);
      if (b < 0 || b > 14 || !((uMask >> b) & 1)) continue;
      std::int32_t d = (iCol - tc) * (iCol - tc) + (iRow - tr) * (iRow - tr);
      if (d < iBest) {
        iBest = d;
        *piCol = iCol;
        *piRow = iRow;
      }
    }
  }
  return iBest != INT32_MAX;
}

std::int32_t aiopt_LineSearch(Player* pp, std::int32_t iRow, std::uint16_t uLine, std::int32_t iStartCol,
                              std::int32_t iThreshold, std::int32_t iLimit, std::int32_t* px, std::int32_t* py) {
  std::uint16_t cLine = uLine;
  QDX_ASSERT(cLine != 0);
  // Outward from the start column: right, left, two right, two left, ...
  for (std::int32_t s = 0; s < 30; s++) {
    std::int32_t iCol = iStartCol + ((s & 1) ? -(s + 1) / 2 : s / 2);
    std::int32_t b = MaskBit(pp, iCol);
    if (b < 0 || b > 14) continue;
    std::uint16_t cTestLine = static_cast<std::uint16_t>(cLine & (1u << b));
    if (!cTestLine) continue;
    QDX_ASSERT(cTestLine != 0);
    std::int32_t v = aiopt_CellValue(pp, iCol, iRow);
    if (v >= iThreshold && v < iLimit) {
      *px = CellCentreX(iCol);
      *py = CellCentreY(iRow);
      pp->oAIInfo.iFlags |= AI_FLAG_LINE;
      return 1;
    }
  }
  return 0;
}

ActionNode* aiopt_OptionAHandler(ActionNode* poList) { return OptionRun(poList, Variant::A); }
ActionNode* aiopt_OptionBHandler(ActionNode* poList) { return OptionRun(poList, Variant::B); }
ActionNode* aiopt_OptionCHandler(ActionNode* poList) { return OptionRun(poList, Variant::C); }

void pass_Init() {}
void pass_KeeperHoldHook() {}

void pass_MatchReset() {
  s_oPass = PassRecord{};
  s_poLastReceiver = nullptr;
  s_oUserRecord = ReceiverRecord{};
}

void pass_RecordSet(std::int32_t iMode, std::int32_t x, std::int32_t y) {
  QDX_ASSERT(iMode >= PASS_RECORD_AT_RECEIVER && iMode <= PASS_RECORD_AHEAD);
  s_oPass = PassRecord{iMode, x, y};
}
std::int32_t pass_RecordModeGet() { return s_oPass.iMode; }
void pass_RecordPointGet(std::int32_t* px, std::int32_t* py) {
  *px = s_oPass.x;
  *py = s_oPass.y;
}

const ReceiverRecord* pass_UserRecordGet() { return &s_oUserRecord; }

Player* pass_UserReceiverChoose() {
  Player* poOwner = ball_OwnerGet();
  if (!poOwner || !player_IsUserControlled(poOwner)) return nullptr;
  std::int32_t iDir = poOwner->iFacing;
  if (poOwner->uStickMagnitude >= USER_STICK_PASS_AIM_MIN) {
    // (angle + 90) x 401 / 180 runs to 1000 for a full turn of the stick:
    // wrapped into one turn of 802.
    iDir = ((poOwner->uStickAngle + 90) * 401 / 180) % 802;
  }
  ReceiverRecord rec = s_oUserRecord;
  if (!shtpass_PassChoose(poOwner, &rec, iDir)) return nullptr;
  s_oUserRecord = rec;
  if (rec.poReceiver != s_poLastReceiver) {
    s_poLastReceiver = rec.poReceiver;
    pchat_Say(rec.poReceiver, 7, 4);
  }
  return rec.poReceiver;
}

void pass_UserMarkersUpdate() {
  Player* poReceiver = pass_UserReceiverChoose();
  if (!poReceiver) return;
  Player* poOwner = ball_OwnerGet();
  User* pu = player_UserGet(poReceiver);
  if (!pu) pu = player_UserGet(poOwner);
  if (!pu) return;
  pcframe_AddSpotMarker(poReceiver->x, poReceiver->y, pu->iIndex);
  // The arrow takes its turn about the vertical in radians; at 0 it points
  // along +y of the pitch, a quarter turn along +x.
  const double dAngle = std::atan2(static_cast<double>(s_oUserRecord.x - poOwner->x),
                                   static_cast<double>(s_oUserRecord.y - poOwner->y));
  pcframe_AddArrowMarker(poOwner->x, poOwner->y, dAngle, pu->iIndex);
}
