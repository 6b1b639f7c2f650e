// At full time of a friendly only a press made once the Play Again / Main
// Menu choice has been drawn chooses. The press that leaves the last page is
// followed, 0 to 20 steps later, by a second Pass of the same person or of
// the other: one heard on or before the step that first draws the choice
// chooses nothing and the choice waits; one heard after it plays again.
// The same for the person's own Pass key held down: one that went down on or
// before the step that first draws the choice and is let go after it
// chooses nothing; one that went down after it plays again. Once the held
// key has been let go, the person's next press of it plays again.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "framework/qdx_input.h"
#include "matchflow/clock.h"
#include "matchflow/matchflow.h"
#include "platform/input_headless.h"
#include "shell/global.h"
#include "shell/gmewidg.h"
#include "shell/input.h"
#include "shell/user.h"
#include "support/input_ports.h"
#include "support/match_harness.h"

namespace mh = match_harness;

namespace {

constexpr std::int32_t kLastPage = 9, kChoice = 12, kSkip = 37, kDown = 9, kKickOff = 63;
constexpr std::int32_t kFunctionSelect = 16;

// The key person 0's select (his Pass) is read from, as his port maps it.
std::uint8_t SelectKey() {
  const InputPort* pip = user_aUsers[0].pip;
  const std::int32_t w = gmewidg_eGetWidget(kFunctionSelect, pip->cConfig);
  return w >= 17 && w <= 24 ? pip->aoKeyMap[w - 17].cKey : 0;
}

std::uint8_t g_cHeld = 0;  // the key held down, 0 none

void KeyHold(bool bDown) {
  if (!bDown && !g_cHeld) return;
  if (bDown) g_cHeld = SelectKey();
  platform::headlessKey(g_cHeld, bDown);
  QKeyboardPoll();
  if (!bDown) g_cHeld = 0;
}

void Post(std::int32_t iUser, std::int32_t iEvent = kSkip) {
  if (User& u = user_aUsers[iUser]; u.pip) korvena_test::EventsQueue(u.pip, nullptr, {iEvent});
}

struct Watch {
  std::int32_t iGap = 0, iSecond = 0;  // the second press: steps after the first, whose
  std::int32_t iFirstHeard = -1;       // the step the press that leaves the last page is heard
  std::int32_t iDrawn = -1;            // the step that first draws the choice
  std::int32_t iStepBefore = 0;
  std::int32_t iChosen = -1;           // the step the choice gave way to a kick-off
  // The second press as person 0's Pass key held down: from the step it is
  // heard down, let go so that its release is heard this many steps after
  // the later of that step and the draw.
  bool bKey = false;
  std::int32_t iUpAfter = 0;
  std::int32_t iKeyDown = -1, iKeyUp = -1;  // the steps it is heard down and up
  // Then, when iAgainAfter >= 0, the same key pressed again: down this many
  // steps after its release is heard, let go two steps later.
  std::int32_t iAgainAfter = -1;
  std::int32_t iAgainDown = -1, iAgainUp = -1;  // the steps that press is heard down and up
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
  if (w.iFirstHeard >= 0 && iHeard == w.iFirstHeard + w.iGap) {
    if (!w.bKey) {
      Post(w.iSecond);
    } else {
      KeyHold(true);
      w.iKeyDown = iHeard;
    }
  }
  if (w.iKeyDown >= 0 && w.iKeyUp < 0 && w.iDrawn >= 0 && iHeard == std::max(w.iKeyDown, w.iDrawn) + w.iUpAfter) {
    KeyHold(false);
    w.iKeyUp = iHeard;
  }
  if (w.iAgainAfter >= 0 && w.iKeyUp >= 0 && w.iAgainDown < 0 && iHeard == w.iKeyUp + w.iAgainAfter) {
    KeyHold(true);
    w.iAgainDown = iHeard;
  }
  if (w.iAgainDown >= 0 && w.iAgainUp < 0 && iHeard == w.iAgainDown + 2) {
    KeyHold(false);
    w.iAgainUp = iHeard;
  }
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

// The second press is the Pass key going down iGap steps after the first
// press is heard and held until after the choice is drawn: it is let go
// iUpAfter steps after the later of its down step and the draw.
struct HoldCase {
  std::int32_t iGap, iUpAfter;
};

class PlayAgainHold : public ::testing::TestWithParam<HoldCase> {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
  }
  void TearDown() override { KeyHold(false); }
  // A two-minute friendly with a person at home who answers the choice himself.
  static mh::Config HoldMatch() {
    mh::Config c;
    c.uSeed = 40;
    c.iLength = 2;
    c.iExtraTime = 0;
    c.aeSide[0] = mh::SideKind::User;
    c.bAnswerChoice = false;
    c.cTickCap = 20000;
    return c;
  }
};

TEST_P(PlayAgainHold, OnlyAKeyThatGoesDownAfterTheChoiceIsDrawnChooses) {
  const HoldCase& o = GetParam();
  const mh::Config c = HoldMatch();
  Watch w;
  w.iGap = o.iGap;
  w.bKey = true;
  w.iUpAfter = o.iUpAfter;
  const mh::Result r = mh::Run(c, nullptr, Act, &w);
  ASSERT_GE(w.iFirstHeard, 0) << "full time's last page never showed: " << r.Describe(c);
  ASSERT_GE(w.iDrawn, 0) << "the choice never showed";
  ASSERT_GE(w.iKeyDown, 0);
  ASSERT_GT(w.iKeyUp, w.iDrawn) << "the key was let go before the choice was drawn";
  if (w.iKeyDown > w.iDrawn) {
    EXPECT_GE(w.iChosen, w.iKeyUp) << "a key that went down at step " << w.iKeyDown << ", after the choice was drawn at "
                                   << w.iDrawn << ", and was let go at " << w.iKeyUp << " chose nothing";
  } else {
    EXPECT_LT(w.iChosen, 0) << "a key held down from step " << w.iKeyDown << " across the draw at " << w.iDrawn
                            << " and let go at " << w.iKeyUp << " chose";
  }
}

// The key held across the draw chooses nothing when it is let go, and only
// for that once: the same person's next press of it plays again.
TEST_F(PlayAgainHold, TheNextPressAfterAHeldKeyIsLetGoChooses) {
  const mh::Config c = HoldMatch();
  Watch w;
  w.iGap = 2;
  w.bKey = true;
  w.iUpAfter = 3;
  w.iAgainAfter = 3;
  mh::Run(c, nullptr, Act, &w);
  ASSERT_GE(w.iDrawn, 0) << "the choice never showed";
  ASSERT_LE(w.iKeyDown, w.iDrawn) << "the key went down after the choice was drawn";
  ASSERT_GT(w.iKeyUp, w.iDrawn);
  ASSERT_GE(w.iAgainUp, 0) << "the key was not pressed again";
  EXPECT_GE(w.iChosen, w.iAgainUp) << "the press heard down at step " << w.iAgainDown << " and up at " << w.iAgainUp
                                   << ", after the held key was let go at " << w.iKeyUp << ", chose nothing";
}

std::vector<HoldCase> HoldCases() {
  std::vector<HoldCase> a;
  for (std::int32_t g = 1; g <= 16; g++) a.push_back({g, 3});
  for (std::int32_t g : {2, 9}) a.push_back({g, 1});
  for (std::int32_t g : {2, 9}) a.push_back({g, 20});
  return a;
}

INSTANTIATE_TEST_SUITE_P(EveryGap, PlayAgainHold, ::testing::ValuesIn(HoldCases()),
                         [](const ::testing::TestParamInfo<HoldCase>& i) {
                           return "Down" + std::to_string(i.param.iGap) + "StepsUp" + std::to_string(i.param.iUpAfter) +
                                  "StepsAfter";
                         });

}  // namespace
