// A custom set made on the controls screen plays a whole match: the person's
// player shoots with the key the set gives Shoot (K) and not with the first
// layout's Shoot (SPACE), which the custom set leaves unbound.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/ball.h"
#include "engine/player.h"
#include "framework/qdx_input.h"
#include "frontend/pccontrols.h"
#include "matchflow/options.h"
#include "matchflow/usrctl.h"
#include "platform/input_headless.h"
#include "platform/input_scancodes.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/user.h"
#include "support/match_harness.h"

namespace mh = match_harness;

namespace {

const uint8_t kKeyK = platform::scanCodeFromName("K"), kKeySpace = platform::scanCodeFromName("SPACE"),
              kKeyL = platform::scanCodeFromName("L"), kKeyJ = platform::scanCodeFromName("J");
uint8_t Scan(const char* pszKey) { return platform::scanCodeFromName(pszKey); }
// The controls screen's Exit, chosen.
constexpr int32_t kEventChoose = 37;

// The person at the keys: while his player holds the ball in open play he
// holds the shoot key for six ticks, then after a while taps Pass (a
// kick-off takes only Pass).
struct Person {
  uint8_t cShoot = 0;
  int32_t cHeldTicks = 0;
  static void Key(uint8_t c, bool bDown) {
    platform::headlessKey(c, bDown);
    QKeyboardPoll();
  }
  void Tick() {
    const Player* po = ball_OwnerGet();
    const bool bHolds = po && po->Control == PLAYER_CONTROL_USER && po->MyTeam == player_PlaysFor_Home;
    cHeldTicks = bHolds ? cHeldTicks + 1 : 0;
    const int32_t t = cHeldTicks % 40;
    if (t == 1) Key(cShoot, true);
    if (t == 7 || !bHolds) Key(cShoot, false);
    if (t == 20) Key(kKeyL, true);
    if (t == 22 || !bHolds) Key(kKeyL, false);
  }
  static void Observe(std::int32_t, void* pv) { static_cast<Person*>(pv)->Tick(); }
};

mh::Result Play(uint8_t cShoot, std::int32_t cTicks = 12000, std::uint32_t uSeed = 4) {
  mh::Config c;
  c.uSeed = uSeed;
  c.aeSide[0] = mh::SideKind::User;
  c.cTickCap = cTicks;
  Person o;
  o.cShoot = cShoot;
  const mh::Result r = mh::Run(c, nullptr, Person::Observe, &o);
  Person::Key(cShoot, false);
  Person::Key(kKeyL, false);
  return r;
}

// The custom set made on the controls screen for the keyboard port while it
// lives: L, O, P, K, I, U, Y, T. At its end the port plays the layout it
// played before and the presets are the start-up ones, as a later test finds
// them in a new process (the keyboard left on the custom set, emptied again
// by the start-up presets, had no Pass: a later person could not kick off).
class CustomSet {
 public:
  CustomSet() : m_iPreset(pccontrols_PresetGet(0)), m_oScreen(pccontrols_oScreen) {}
  ~CustomSet() {
    Person::Key(kKeyK, false);
    Person::Key(kKeySpace, false);
    Person::Key(kKeyL, false);
    pccontrols_DefaultSet();
    pccontrols_PresetSet(0, m_iPreset);
    pccontrols_BindingsApply();
    pccontrols_oScreen = m_oScreen;
  }
  CustomSet(const CustomSet&) = delete;
  CustomSet& operator=(const CustomSet&) = delete;
  // Made as a person makes it: each row's key pressed on page 1, then Exit
  // on page 2. False when the screen did not take it.
  bool Make() {
    InputPort* pip = input_poGetPort(0);
    User oUser{};
    oUser.pip = pip;
    oUser.bActive = 1;
    pip->iPreset = PCCONTROLS_CUSTOM;
    const uint8_t keys[8] = {kKeyL, Scan("O"), Scan("P"), kKeyK, Scan("I"), Scan("U"), Scan("Y"), Scan("T")};
    for (int32_t r = 0; r < 8; ++r) {
      pccontrols_oScreen = PCControlsScreen{0, 1, r};
      Person::Key(keys[r], true);
      pccontrols_CustomInput(&oUser);
      Person::Key(keys[r], false);
    }
    pccontrols_oScreen = PCControlsScreen{0, 2, PCCONTROLS_EXIT_ROW};
    InputEvent* pe = nullptr;
    if (!input_bEventAlloc(&pe)) return false;
    pe->eEvent = kEventChoose;
    queue_Append(&pip->oEvents, &pe->oLink);
    if (pccontrols_Page2Input(&oUser) != OPTIONS_MODE) return false;
    pccontrols_BindingsApply();
    return pip->aoKeyMap[3].cKey == kKeyK;
  }

 private:
  std::int32_t m_iPreset;
  PCControlsScreen m_oScreen;
};

class ControlsMatch : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
    pccontrols_DefaultSet();
    pccontrols_BindingsApply();
  }
};

TEST_F(ControlsMatch, ACustomShootKeyShootsAndTheOldOneDoesNot) {
  CustomSet oSet;
  ASSERT_TRUE(oSet.Make());

  const mh::Result k = Play(kKeyK);
  const mh::Result space = Play(kKeySpace);
  EXPECT_GT(k.aaiUserKicks[0][USRCTL_KIND_SHOT], 0) << k.Describe(mh::Config{});
  EXPECT_EQ(space.aaiUserKicks[0][USRCTL_KIND_SHOT], 0) << space.Describe(mh::Config{});
  // Pass on L kicked off and moved the ball in both.
  EXPECT_GT(k.aaiUserKicks[0][USRCTL_KIND_PASS] + k.aaiUserKicks[0][USRCTL_KIND_NONE], 0) << k.Describe(mh::Config{});
  EXPECT_GT(space.aaiUserKicks[0][USRCTL_KIND_PASS] + space.aaiUserKicks[0][USRCTL_KIND_NONE], 0)
      << space.Describe(mh::Config{});
}

// A person on the first layout who takes his restarts with Pass (J) and
// touches nothing in open play; the tick of play's first start.
struct RestartTapper {
  std::int32_t cTick = 0;
  std::int32_t iFirstPlay = -1;
  static void Observe(std::int32_t t, void* pv) {
    RestartTapper& o = *static_cast<RestartTapper*>(pv);
    o.cTick++;
    const bool bPlay = global.eGameMode == GAME_MODE_PLAY;
    if (bPlay && o.iFirstPlay < 0) o.iFirstPlay = t;
    Person::Key(kKeyJ, !bPlay && o.cTick % 20 < 3);
  }
};

std::vector<mh::Hash> FirstLayoutMatch(std::int32_t* piFirstPlay) {
  mh::Config c;
  c.uSeed = 1;
  c.aeSide[0] = mh::SideKind::User;
  c.cTickCap = 1500;
  RestartTapper o;
  std::vector<mh::Hash> a;
  mh::Run(c, &a, RestartTapper::Observe, &o);
  Person::Key(kKeyJ, false);
  *piFirstPlay = o.iFirstPlay;
  return a;
}

// A match on the first layout plays the same, tick for tick, before and
// after a match on the custom set: the person kicks off with J at once in
// both, not after the kick-off wait runs out (1201 ticks).
TEST_F(ControlsMatch, TheFirstLayoutPlaysTheSameBeforeAndAfterACustomSetMatch) {
  std::int32_t iFirstPlay = -1;
  const std::vector<mh::Hash> a = FirstLayoutMatch(&iFirstPlay);
  ASSERT_GE(iFirstPlay, 0);
  ASSERT_LT(iFirstPlay, 600) << "J did not take the kick-off";
  {
    CustomSet oSet;
    ASSERT_TRUE(oSet.Make());
    // Seed 4: his player, holding the ball, passes with L inside the 4000 ticks.
    const mh::Result r = Play(kKeyK, 4000, 4);
    ASSERT_GT(r.aaiUserKicks[0][USRCTL_KIND_PASS] + r.aaiUserKicks[0][USRCTL_KIND_NONE], 0);
  }
  const std::vector<mh::Hash> b = FirstLayoutMatch(&iFirstPlay);
  EXPECT_LT(iFirstPlay, 600) << "J did not take the kick-off after the custom set's match";
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t t = 0; t < a.size(); t++)
    for (std::int32_t g = 0; g < mh::kGroups; g++)
      ASSERT_EQ(a[t].au[g], b[t].au[g]) << "tick " << t << " group " << mh::kGroupNames[g];
}

}  // namespace
