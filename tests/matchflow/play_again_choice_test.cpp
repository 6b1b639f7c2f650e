// At full time of a friendly only a press made once the Play Again / Main
// Menu choice has been drawn chooses. The press that leaves the last page is
// followed, 0 to 20 steps later, by a second Pass of the same person or of
// the other: one heard on or before the step that first draws the choice
// chooses nothing and the choice waits; one heard after it plays again.
#include <gtest/gtest.h>

#include <string>

#include "matchflow/clock.h"
#include "matchflow/matchflow.h"
#include "shell/global.h"
#include "shell/user.h"
#include "support/input_ports.h"
#include "support/match_harness.h"

namespace mh = match_harness;

namespace {

constexpr std::int32_t kLastPage = 9, kChoice = 12, kSkip = 37, kDown = 9, kKickOff = 63;

void Post(std::int32_t iUser, std::int32_t iEvent = kSkip) {
  if (User& u = user_aUsers[iUser]; u.pip) korvena_test::EventsQueue(u.pip, nullptr, {iEvent});
}

struct Watch {
  std::int32_t iGap = 0, iSecond = 0;  // the second press: steps after the first, whose
  std::int32_t iFirstHeard = -1;       // the step the press that leaves the last page is heard
  std::int32_t iDrawn = -1;            // the step that first draws the choice
  std::int32_t iStepBefore = 0;
  std::int32_t iChosen = -1;           // the step the choice gave way to a kick-off
};

void Act(std::int32_t iTick, void* pv) {
  Watch& w = *static_cast<Watch*>(pv);
  const std::int32_t iHeard = iTick + 1;  // posted after this step, heard on the next
  // Each period's clock wound on to 3 s before its end.
  MatchClock& c = clock_oClock;
  if (global.eGameMode == GAME_MODE_PLAY && c.iPeriod >= 0 && c.iPeriod < 2) {
    const std::int32_t iTo = (c.aiPeriodEnd[c.iPeriod] - 3) * CLOCK_UNITS_PER_SECOND;
    if (c.iClock < iTo) c.iClock = iTo;
  }
  // The persons take their kick-offs.
  if (global.eGameMode == GAME_MODE_KICK_OFF && iTick % 30 == 0) {
    Post(0, kKickOff);
    Post(1, kKickOff);
  }
  const bool bEnd = global.eGameMode == GAME_MODE_PERIOD_END;
  const std::int32_t iStep = bEnd ? mftime_StepGet() : -1;
  // A step that begins on the choice draws it.
  if (w.iDrawn < 0 && w.iStepBefore == kChoice) w.iDrawn = iTick;
  if (w.iChosen < 0 && w.iFirstHeard >= 0 && bEnd && mftime_NextModeGet() == GAME_MODE_KICK_OFF) w.iChosen = iTick;
  w.iStepBefore = iStep;
  if (w.iFirstHeard < 0 && iStep == kLastPage) {
    Post(0);
    w.iFirstHeard = iHeard;
  }
  if (w.iFirstHeard >= 0 && iHeard == w.iFirstHeard + w.iGap) Post(w.iSecond);
  // Once the case is decided (played again, or a second's wait with no
  // choice), Main Menu ends the run.
  if (iStep == kChoice && (w.iChosen >= 0 || (w.iDrawn >= 0 && iTick > w.iDrawn + 30))) {
    Post(0, kDown);
    Post(0);
  }
}

struct Case {
  std::int32_t cPersons, iGap;
};

class PlayAgainGap : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
  }
};

TEST_P(PlayAgainGap, OnlyAPressAfterTheChoiceIsDrawnChooses) {
  const Case& o = GetParam();
  mh::Config c;
  c.uSeed = 40;
  c.iLength = 2;
  c.iExtraTime = 0;
  c.aeSide[0] = mh::SideKind::User;
  if (o.cPersons == 2) c.aeSide[1] = mh::SideKind::User;
  c.bAnswerChoice = false;
  c.cTickCap = 20000;
  Watch w;
  w.iGap = o.iGap;
  w.iSecond = o.cPersons - 1;
  const mh::Result r = mh::Run(c, nullptr, Act, &w);
  ASSERT_GE(w.iFirstHeard, 0) << "full time's last page never showed: " << r.Describe(c);
  ASSERT_GE(w.iDrawn, 0) << "the choice never showed";
  if (w.iFirstHeard + o.iGap > w.iDrawn) {
    EXPECT_GE(w.iChosen, 0) << "a press heard after the choice was drawn chose nothing";
  } else {
    EXPECT_LT(w.iChosen, 0) << "a press heard at step " << w.iFirstHeard + o.iGap << ", before the choice was drawn at "
                            << w.iDrawn << ", chose";
  }
}

std::vector<Case> Cases() {
  std::vector<Case> a;
  for (std::int32_t n = 1; n <= 2; n++)
    for (std::int32_t g = 0; g <= 20; g++) a.push_back({n, g});
  return a;
}

INSTANTIATE_TEST_SUITE_P(EveryGap, PlayAgainGap, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& i) {
                           return std::to_string(i.param.cPersons) + "Persons" + std::to_string(i.param.iGap) + "Steps";
                         });

}  // namespace
