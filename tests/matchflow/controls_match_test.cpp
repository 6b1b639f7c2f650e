// A custom set made on the controls screen plays a whole match: the person's
// player shoots with the key the set gives Shoot (K) and not with the first
// layout's Shoot (SPACE), which the custom set leaves unbound.
#include <gtest/gtest.h>

#include <cstdint>

#include "engine/ball.h"
#include "engine/player.h"
#include "framework/qdx_input.h"
#include "frontend/pccontrols.h"
#include "matchflow/usrctl.h"
#include "platform/input_headless.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/user.h"
#include "support/match_harness.h"

namespace mh = match_harness;

namespace {

constexpr uint8_t kKeyK = 37, kKeySpace = 57, kKeyL = 38;

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

mh::Result Play(uint8_t cShoot) {
  mh::Config c;
  c.uSeed = 3;
  c.aeSide[0] = mh::SideKind::User;
  c.cTickCap = 12000;
  Person o;
  o.cShoot = cShoot;
  const mh::Result r = mh::Run(c, nullptr, Person::Observe, &o);
  Person::Key(cShoot, false);
  Person::Key(kKeyL, false);
  return r;
}

TEST(ControlsMatch, ACustomShootKeyShootsAndTheOldOneDoesNot) {
  std::string why;
  ASSERT_TRUE(mh::Setup(&why)) << why;
  pccontrols_DefaultSet();
  // The custom set on the keyboard port: L, O, P, K, I, U, Y, T.
  InputPort* pip = input_poGetPort(0);
  User oUser{};
  oUser.pip = pip;
  oUser.bActive = 1;
  pip->iPreset = PCCONTROLS_CUSTOM;
  const uint8_t keys[8] = {kKeyL, 0x18, 0x19, kKeyK, 0x17, 0x16, 0x15, 0x14};
  for (int32_t r = 0; r < 8; ++r) {
    pccontrols_oScreen = PCControlsScreen{0, 1, r};
    Person::Key(keys[r], true);
    pccontrols_CustomInput(&oUser);
    Person::Key(keys[r], false);
  }
  pccontrols_oScreen = PCControlsScreen{0, 2, PCCONTROLS_EXIT_ROW};
  InputEvent* pe = nullptr;
  ASSERT_TRUE(input_bEventAlloc(&pe));
  pe->eEvent = 37;
  queue_Append(&pip->oEvents, &pe->oLink);
  ASSERT_EQ(pccontrols_Page2Input(&oUser), 41);
  pccontrols_BindingsApply();
  ASSERT_EQ(pip->aoKeyMap[3].cKey, kKeyK);

  const mh::Result k = Play(kKeyK);
  const mh::Result space = Play(kKeySpace);
  EXPECT_GT(k.aaiUserKicks[0][USRCTL_KIND_SHOT], 0) << k.Describe(mh::Config{});
  EXPECT_EQ(space.aaiUserKicks[0][USRCTL_KIND_SHOT], 0) << space.Describe(mh::Config{});
  // Pass on L kicked off and moved the ball in both.
  EXPECT_GT(k.aaiUserKicks[0][USRCTL_KIND_PASS] + k.aaiUserKicks[0][USRCTL_KIND_NONE], 0) << k.Describe(mh::Config{});
  EXPECT_GT(space.aaiUserKicks[0][USRCTL_KIND_PASS] + space.aaiUserKicks[0][USRCTL_KIND_NONE], 0)
      << space.Describe(mh::Config{});
  pccontrols_DefaultSet();
  pccontrols_BindingsApply();
}

}  // namespace
