// Per-team match statistics and the in-match texts.
#include "matchflow/gstatso.h"

#include "framework/qdx_assert.h"
#include "matchflow/clock.h"
#include "shell/global.h"

#include "shell/texts_data.h"

// The interface language (shell/texts.h).
extern std::int32_t mlang_iLanguage;

static_assert(GSTATSO_STRINGS_MAX == IDS_INGAME_MAX);

namespace {
void Bump(std::uint8_t* pu) { *pu = static_cast<std::uint8_t>(*pu + 1); }
}  // namespace

void gstatso_Clear(MatchStats* p) {
  QDX_ASSERT(p);
  // The goal list too, past its count: a save writes all of it, and no
  // scorer, minute or kind of an earlier match may stay in it.
  *p = MatchStats{};
}

void gstatso_ShotAdd(MatchStats* p) { Bump(&p->Shots); }
void gstatso_ShotOnTargetAdd(MatchStats* p) {
  Bump(&p->OnTarget);
  Bump(&p->Shots);
}
void gstatso_CornerAdd(MatchStats* p) { Bump(&p->Corners); }
void gstatso_FreeKickAdd(MatchStats* p) { Bump(&p->FreeKicks); }
void gstatso_OffsideAdd(MatchStats* p) { Bump(&p->Offsides); }
void gstatso_BookedAdd(MatchStats* p) { Bump(&p->Booked); }
void gstatso_SentOffAdd(MatchStats* p) { Bump(&p->SentOff); }
std::int32_t gstatso_ShotsGet(const MatchStats* p) { return p->Shots; }
std::int32_t gstatso_OnTargetGet(const MatchStats* p) { return p->OnTarget; }
std::int32_t gstatso_CornersGet(const MatchStats* p) { return p->Corners; }
std::int32_t gstatso_FreeKicksGet(const MatchStats* p) { return p->FreeKicks; }
std::int32_t gstatso_OffsidesGet(const MatchStats* p) { return p->Offsides; }
std::int32_t gstatso_BookedGet(const MatchStats* p) { return p->Booked; }
std::int32_t gstatso_SentOffGet(const MatchStats* p) { return p->SentOff; }
std::int32_t gstatso_PossessionGet(const MatchStats* p) { return p->Possession; }
void gstatso_PossessionAdd(MatchStats* p, std::int32_t n) { p->Possession += n; }
std::int32_t gstatso_ActionAreaGet(const MatchStats* p, std::int32_t i) {
  QDX_ASSERT(i >= 0 && i < 3);
  return p->ActionArea[i];
}
void gstatso_ActionArea0Add(MatchStats* p, std::int32_t n) { p->ActionArea[0] += n; }
void gstatso_ActionArea1Add(MatchStats* p, std::int32_t n) { p->ActionArea[1] += n; }
void gstatso_ActionArea2Add(MatchStats* p, std::int32_t n) { p->ActionArea[2] += n; }
void gstatso_ActionAreasSwap(MatchStats* p) {
  const std::int32_t t = p->ActionArea[0];
  p->ActionArea[0] = p->ActionArea[2];
  p->ActionArea[2] = t;
}
std::int32_t gstatso_GoalCountGet(const MatchStats* p) { return p->GoalCount; }
DBPlayer* gstatso_GoalScorerGet(const MatchStats* p, std::int32_t i) {
  QDX_ASSERT(i >= 0 && i < GSTATSO_GOALS_MAX);
  return p->GoalScorer[i];
}
std::int32_t gstatso_GoalMinuteGet(const MatchStats* p, std::int32_t i) {
  QDX_ASSERT(i >= 0 && i < GSTATSO_GOALS_MAX);
  return p->GoalMinute[i];
}
std::int32_t gstatso_GoalKindGet(const MatchStats* p, std::int32_t i) {
  QDX_ASSERT(i >= 0 && i < GSTATSO_GOALS_MAX);
  return p->GoalKind[i];
}

std::int32_t gstatso_GoalAdd(MatchStats* p, DBPlayer* poScorer, std::int32_t iKind) {
  QDX_ASSERT(p);
  std::int32_t iMinute;
  // A shoot-out kick is listed at 121 whatever the period (periods 4 and 5).
  if (global_eGetGameMode() == GAME_MODE_SHOOTOUT) {
    iMinute = GSTATSO_SHOOTOUT_MINUTE;
  } else {
    static const std::int32_t aiCap[4] = {45, 90, 105, 120};
    const std::int32_t iPeriod = clock_PeriodGet();
    QDX_ASSERT(iPeriod >= 0 && iPeriod < 4);
    iMinute = clock_MinuteGet();
    if (iMinute > aiCap[iPeriod]) iMinute = aiCap[iPeriod];
  }
  // The list holds 30 goals; further goals are counted nowhere rather than
  // starting the list again over the first ones.
  if (p->GoalCount < GSTATSO_GOALS_MAX) {
    p->GoalScorer[p->GoalCount] = poScorer;
    p->GoalMinute[p->GoalCount] = static_cast<std::uint8_t>(iMinute);
    p->GoalKind[p->GoalCount] = static_cast<std::uint8_t>(iKind);
    p->GoalCount++;
  }
  return p->GoalCount;
}

namespace {
std::int32_t s_iTextLanguage = -1;
}  // namespace

std::int32_t gstatso_LanguageGet() { return s_iTextLanguage >= 0 ? s_iTextLanguage : mlang_iLanguage; }
void gstatso_LanguageSet(std::int32_t iLanguage) { s_iTextLanguage = iLanguage; }

namespace {
std::int32_t TableLanguage() {
  const std::int32_t iLanguage = gstatso_LanguageGet();
  return iLanguage >= 0 && iLanguage < TEXT_LANGUAGE_MAX ? iLanguage : 0;
}
}  // namespace

const char* gstatso_StrGet(std::int32_t iId) {
  QDX_ASSERT(iId >= 0 && iId < GSTATSO_STRINGS_MAX);
  return gstatso_apszStrings[TableLanguage()][iId];
}

const char* gstatso_GlobalStrGet(std::int32_t iId) {
  QDX_ASSERT(iId >= 0 && iId < IDS_GLOBAL_MAX);
  return glstr_apszStrings[TableLanguage()][iId];
}
