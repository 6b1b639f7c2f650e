// The people of the match drawn by both renderer libraries after the real
// loading steps: a kick-off line-up of 22 players and the referee, posed from
// their animations, in two kits that must tell apart (in colour and in the
// old editions' sepia and black and white). Frames are written out to look
// at (KORVENA_CAPTURE_DIR); the checks count pixels of each kit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "capture_shot.h"
#include "display/qdl_device.h"
#include "engine/anim.h"
#include "framework/qdx_input.h"
#include "platform/input.h"
#include "platform/input_headless.h"
#include "engine/player.h"
#include "ground_scene.h"
#include "matchflow/matcha.h"
#include "shell/global.h"
#include "tournament/squad.h"
#include "tournament/tla.h"
#include "scene3d/kits3d.h"
#include "scene3d/kits_slots.h"
#include "scene3d/scene3d_state.h"
#include "tournament/dbplayer.h"
#include "shell/pcinstall.h"
#include "support/golden.h"
#include "support/headless_env.h"

namespace {

namespace fs = std::filesystem;
using capture::Shot;

using ground_scene::BuildDir;
using ground_scene::CaptureDir;

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-players-capture", true, ground_scene::GameTreeUp, nullptr});

// 22 players and the referee of a kick-off, standing or running on the spot.
struct LineUp {
  Player aPlayers[22];
  DBPlayer aoDb[22];
  Player oReferee;

  LineUp() {
    anim_TableInit();
    // Positions (metres) of one side attacking +x: keeper, four, four, two.
    static const float kSpots[11][2] = {{-30, 0},  {-22, -16}, {-24, -6}, {-24, 6},  {-22, 16}, {-13, -18},
                                        {-14, -6}, {-14, 6},   {-13, 18}, {-3, -10}, {-1, 4}};
    for (int i = 0; i < 22; ++i) {
      Player& p = aPlayers[i];
      std::memset(&p, 0, sizeof p);
      const bool home = i < 11;
      const int k = i % 11;
      p.MyTeam = home ? player_PlaysFor_Home : 0;
      p.PositionCode = k == 0 ? 0 : k;
      // Shirt numbers 1 to 11; skin, hair and facial hair of every kind.
      std::memset(&aoDb[i], 0, sizeof aoDb[i]);
      aoDb[i].uField88 = static_cast<uint32_t>(k + 1);
      static const uint16_t kStyles[4] = {0x100, 0x40, 0x80, 0x0};
      aoDb[i].uAppearance = static_cast<uint16_t>(((i % 8) << 3) | kStyles[i % 4] | ((i / 4 % 4) << 9) | 0x800);
      p.pDBPlayer = &aoDb[i];
      const float sx = home ? kSpots[k][0] : -kSpots[k][0];
      const float sy = home ? kSpots[k][1] : -kSpots[k][1];
      p.x = static_cast<int32_t>(sx / SCENE3D_METRES_PER_UNIT);
      p.y = static_cast<int32_t>(sy / SCENE3D_METRES_PER_UNIT);
    }
    std::memset(&oReferee, 0, sizeof oReferee);
    oReferee.x = static_cast<int32_t>(-6.0 / SCENE3D_METRES_PER_UNIT);
    oReferee.y = static_cast<int32_t>(-12.0 / SCENE3D_METRES_PER_UNIT);
  }

  static void Entry(PacketPlayer* e, Player* p, uint16_t facing, uint32_t anim, uint32_t frame) {
    std::memset(e, 0, sizeof *e);
    e->uAngles = facing;
    e->iX = p->x;
    e->iY = p->y;
    e->pAnimation = anim_RecordGet(anim)->pfPose;
    e->poPlayer = p;
    e->uFramePosition = frame * 64;
    e->uKeeper = p->PositionCode == 0 ? 1 : 0;
  }

  void Fill(FramePacket* p) {
    for (int i = 0; i < 22; ++i) {
      const bool home = i < 11;
      PacketPlayer* e = home ? &p->aoHome[i] : &p->aoAway[i - 11];
      // Home faces +x, away -x; every third player runs.
      const uint16_t facing = home ? 0 : 32768;
      const bool run = i % 3 == 1;
      Entry(e, &aPlayers[i], static_cast<uint16_t>(facing + (i * 1500) % 9000), run ? ANIM_RUN : ANIM_STAND,
            run ? static_cast<uint32_t>(i % 8) : 0);
      e->uMirror = i % 2;
    }
    p->aiSnapshotCounts[PCFRAME_COUNT_HOME] = 11;
    p->aiSnapshotCounts[PCFRAME_COUNT_AWAY] = 11;
    Entry(&p->oReferee, &oReferee, 16384, ANIM_STAND, 0);
    p->oReferee.uKeeper = 0;
    p->aiSnapshotCounts[PCFRAME_COUNT_REFEREE] = 1;
  }
};

// Pixels showing a colour lit or shaded (some multiple of it within a
// distance), anywhere in the frame.
int Count(const Shot& s, Q3DColour c, int within) {
  int n = 0;
  const float cc = float(c.r) * c.r + float(c.g) * c.g + float(c.b) * c.b;
  for (int y = 0; y < s.h; ++y)
    for (int x = 0; x < s.w; ++x) {
      int r, g, b;
      s.rgb(x, y, &r, &g, &b);
      float f = (float(r) * c.r + float(g) * c.g + float(b) * c.b) / cc;
      f = std::clamp(f, 0.5f, 1.1f);
      if (std::fabs(r - f * c.r) + std::fabs(g - f * c.g) + std::fabs(b - f * c.b) <= within) ++n;
    }
  return n;
}

class Players : public ::testing::TestWithParam<bool> {
 public:
  void SetUp() override { ASSERT_TRUE(scene.Open(GetParam())); }
  void TearDown() override { scene.Close(); }
  std::string Name(const std::string& what) const { return what + (GetParam() ? "_zbuffer" : "_software"); }
  GroundScene scene;
  LineUp lineUp;
};

const float kBroadcastEye[3] = {0.0f, 45.0f, -95.0f};
const float kBroadcastTarget[3] = {0.0f, 0.0f, 0.0f};

// Two kits are told apart when neither shirt colour shows on the other side:
// each side's shirts cover some hundreds of pixels and the other's colour
// stays far away from them.
void KickOff(Players* t, const char* home, const char* away, int32_t year, const std::string& what) {
  // The kits are chosen before loading: the loading composes their textures.
  scene3d_eColourMode = kits_ColourModeFor(year, year);
  kits_Choose(home, year, away, year);
  ASSERT_GT(t->scene.Load(0, 1, 0), 12);
  const Shot s = t->scene.Frame(kBroadcastEye, kBroadcastTarget, [&](FramePacket* p) { t->lineUp.Fill(p); });
  EXPECT_TRUE(capture::WriteShot(CaptureDir() + "/" + t->Name(what) + ".tga", s));
  // Every person is in view at kick-off and was placed.
  int32_t placed = 0;
  for (int32_t c : scene3d_aiDetailCount) placed += c;
  EXPECT_EQ(placed, 23);
  const Q3DColour hs = kits_aoKits[0].oShirt, as = kits_aoKits[2].oShirt;
  EXPECT_GT(kits_fColourDistance(hs, as), 60.0f) << what;
  const int homeShirts = Count(s, hs, 36), awayShirts = Count(s, as, 36);
  EXPECT_GT(homeShirts, 60) << what;
  EXPECT_GT(awayShirts, 60) << what;
}

TEST_P(Players, KickOffInColourShowsTwoKits) { KickOff(this, "BRA", "ITA", 9, "kickoff_colour"); }
TEST_P(Players, KickOffOfTheSepiaEditionShowsTwoKits) { KickOff(this, "SWE", "BRA", 0, "kickoff_sepia"); }
TEST_P(Players, KickOffInBlackAndWhiteShowsTwoKits) { KickOff(this, "CHI", "BRA", 1, "kickoff_bw"); }

// A side in a kit of its own wears the unique textures on its outfield
// slots (the other side its templates), and the design's second colour
// shows on the pitch: pixels of it that the frame without people lacks.
void UniqueKickOff(Players* t, const char* home, const char* away, int32_t year, const std::string& prefix,
                   const std::string& what) {
  KickOff(t, home, away, year, what);
  EXPECT_EQ(std::string(kits_aTextureSlots[0].szName), "kits\\uniques\\" + prefix + "front.tga");
  EXPECT_EQ(std::string(kits_aTextureSlots[7].szName), "kits\\uniques\\" + prefix + "socks.tga");
  EXPECT_EQ(std::string(kits_aTextureSlots[16].szName).rfind("kits\\templates\\shirts\\", 0), 0u);
  EXPECT_EQ(std::string(kits_aTextureSlots[8].szName).rfind("kits\\goalies\\", 0), 0u);
  const Q3DColour second = kits_aoKits[0].oSecond;
  EXPECT_GT(kits_fColourDistance(second, kits_aoKits[0].oShirt), 60.0f);
  const float eye[3] = {-6.0f, 2.2f, -11.0f}, target[3] = {-1.0f, 0.9f, 0.0f};
  const Shot with = t->scene.Frame(eye, target, [&](FramePacket* p) { t->lineUp.Fill(p); });
  EXPECT_TRUE(capture::WriteShot(CaptureDir() + "/" + t->Name(what + "_closeup") + ".tga", with));
  const Shot without = t->scene.Frame(eye, target);
  // Only where the people changed the frame: pixels of the second colour
  // (lit or shaded) and of the shirt.
  auto onPeople = [&](Q3DColour c) {
    int n = 0;
    const float cc = float(c.r) * c.r + float(c.g) * c.g + float(c.b) * c.b;
    for (int y = 0; y < with.h; ++y)
      for (int x = 0; x < with.w; ++x) {
        int r, g, b, r0, g0, b0;
        with.rgb(x, y, &r, &g, &b);
        without.rgb(x, y, &r0, &g0, &b0);
        if (std::abs(r - r0) + std::abs(g - g0) + std::abs(b - b0) < 30) continue;
        const float f = std::clamp((float(r) * c.r + float(g) * c.g + float(b) * c.b) / cc, 0.4f, 1.2f);
        if (std::fabs(r - f * c.r) + std::fabs(g - f * c.g) + std::fabs(b - f * c.b) <= 45) ++n;
      }
    return n;
  };
  EXPECT_GT(onPeople(second), 40) << what;
}

// Every person drawn tells his player whether his model was in view; while
// M (scan code 0x32) is held the home side is drawn mirrored, whatever its
// entries say, and the away side is not.
TEST_P(Players, PlayersLearnWhetherTheyAreInViewAndMHeldMirrorsTheHomeSide) {
  scene3d_eColourMode = kits_ColourModeFor(9, 9);
  kits_Choose("BRA", 9, "ITA", 9);
  ASSERT_GT(scene.Load(0, 1, 0), 12);
  platform::headlessInputReset();
  platform::inputSetForeground(true);
  ASSERT_EQ(QKeyboardSetup(0), 0);
  // One of each side far behind the camera.
  Player& out = lineUp.aPlayers[4];
  Player& outAway = lineUp.aPlayers[15];
  out.x = outAway.x = 0;
  out.y = outAway.y = -30000;
  for (Player& p : lineUp.aPlayers) p.bOnScreen = 7;
  auto unmirrored = [&](FramePacket* p) {
    lineUp.Fill(p);
    for (PacketPlayer& e : p->aoHome) e.uMirror = 0;
    for (PacketPlayer& e : p->aoAway) e.uMirror = 0;
  };
  auto mirrored = [&](int i) {
    Player& p = lineUp.aPlayers[i];
    Player3D* o = kits_poObjectFor(&p, p.pDBPlayer, i < 11 ? 0 : 1);
    return o != nullptr ? o->bMirrored : -1;
  };
  ASSERT_TRUE(platform::headlessKey(0x32, true));
  QKeyboardPoll();
  scene.Frame(kBroadcastEye, kBroadcastTarget, unmirrored);
  for (int i = 0; i < 22; ++i) {
    const bool away = &lineUp.aPlayers[i] == &out || &lineUp.aPlayers[i] == &outAway;
    EXPECT_EQ(lineUp.aPlayers[i].bOnScreen, away ? 0 : 1) << i;
    if (!away) {
      EXPECT_EQ(mirrored(i), i < 11 ? 1 : 0) << i;
    }
  }
  platform::headlessKey(0x32, false);
  QKeyboardPoll();
  scene.Frame(kBroadcastEye, kBroadcastTarget, unmirrored);
  for (int i = 0; i < 22; ++i)
    if (i != 4 && i != 15) {
      EXPECT_EQ(mirrored(i), 0) << i;
    }
  // Back in view, he is on screen again.
  out.y = 0;
  scene.Frame(kBroadcastEye, kBroadcastTarget, unmirrored);
  EXPECT_EQ(out.bOnScreen, 1);
  EXPECT_EQ(outAway.bOnScreen, 0);
  QKeyboardShutdown();
}

// A training session loaded after a match dresses its own side: the home
// kit of its own edition in that edition's colouring, no away kit, and the
// manager's top where the referee's would be; nothing of the match's kits
// shows on the pitch.
TEST_P(Players, TrainingAfterAMatchWearsItsOwnKitsInItsOwnColouring) {
  MatchTeam* h = match_HomeTeamGet();
  MatchTeam* a = match_AwayTeamGet();
  Squad* const keep[2] = {h->Squad, a->Squad};
  const GameMode keepMode = global_eGetExtendedGameMode();
  Squad home{}, away{};
  home.iTeamId = tla_IDFind("BRA");
  home.iEdition = 10;
  away.iTeamId = tla_IDFind("ITA");
  away.iEdition = 10;
  h->Squad = &home;
  a->Squad = &away;
  global_SetExtendedGameMode(GAME_MODE_START_FRIENDLY);
  ASSERT_GT(scene.Load(0, 1, 0), 12);
  EXPECT_EQ(scene3d_eColourMode, 0);
  EXPECT_STREQ(kits_aszKitName[0], "BRA1998H");
  const Q3DColour matchShirts[2] = {kits_aoKits[0].oShirt, kits_aoKits[2].oShirt};
  const Shot match = scene.Frame(kBroadcastEye, kBroadcastTarget, [&](FramePacket* p) { lineUp.Fill(p); });
  EXPECT_TRUE(capture::WriteShot(CaptureDir() + "/" + Name("training_match") + ".tga", match));
  EXPECT_GT(Count(match, matchShirts[0], 36), 60);
  EXPECT_GT(Count(match, matchShirts[1], 36), 60);

  // Training with the 1962 English side: no away squad.
  home.iTeamId = tla_IDFind("ENG");
  home.iEdition = 1;
  a->Squad = nullptr;
  global_SetExtendedGameMode(GAME_MODE_START_TRAINING);
  ASSERT_GT(scene.Load(0, 1, 0), 12);
  EXPECT_EQ(scene3d_eColourMode, 1);  // black and white: no colour equivalent in training
  EXPECT_STREQ(kits_aszKitName[0], "ENG1962H");
  EXPECT_STREQ(kits_aszKitName[1], "");
  for (int32_t slot = 16; slot < 32; ++slot) EXPECT_STREQ(kits_aTextureSlots[slot].szName, "") << slot;
  EXPECT_STREQ(kits_aTextureSlots[32].szName, "kits\\uniques\\manager\\front.tga");
  EXPECT_STREQ(kits_aTextureSlots[35].szName, "kits\\uniques\\manager\\lsleevl.tga");
  EXPECT_NE(kits_aTextureSlots[0].szName[0], 0);
  const Shot training = scene.Frame(kBroadcastEye, kBroadcastTarget, [&](FramePacket* p) {
    lineUp.Fill(p);
    p->aiSnapshotCounts[PCFRAME_COUNT_AWAY] = 0;
    p->aiSnapshotCounts[PCFRAME_COUNT_REFEREE] = 0;
  });
  EXPECT_TRUE(capture::WriteShot(CaptureDir() + "/" + Name("training_after_match") + ".tga", training));
  EXPECT_LT(Count(training, matchShirts[0], 36), 5);
  EXPECT_LT(Count(training, matchShirts[1], 36), 5);
  // Black and white: no pixel of the frame has colour in it.
  int coloured = 0;
  for (int y = 0; y < training.h; ++y)
    for (int x = 0; x < training.w; ++x) {
      int r, g, b;
      training.rgb(x, y, &r, &g, &b);
      coloured += std::max({r, g, b}) - std::min({r, g, b}) > 40;
    }
  EXPECT_LT(coloured, training.w * training.h / 100);
  h->Squad = keep[0];
  a->Squad = keep[1];
  global_SetExtendedGameMode(keepMode);
}

TEST_P(Players, KickOffOfAUniqueKitShowsItsDesign) {
  UniqueKickOff(this, "PER", "ITA", 3, "EEEEEE-C81E23-EEEEEE-EEEEEE-sash\\", "kickoff_unique");
}
TEST_P(Players, KickOffOfAUniqueKitInBlackAndWhiteShowsItsDesign) {
  UniqueKickOff(this, "SCO", "CHI", 1, "141E5F-EEEEEE-EEEEEE-C81E23-chevron-bw\\", "kickoff_unique_bw");
}

// At night every person casts one shadow for each of the four floodlights:
// dark pixels on the ground round the referee grow by more than by day.
TEST_P(Players, AtNightEachPersonCastsFourShadows) {
  const float eye[3] = {-6.0f, 6.0f, -22.0f}, target[3] = {-6.0f, 0.0f, -12.0f};
  auto around = [&](const Shot& s) {
    long sum = 0;
    for (int y = 0; y < s.h; ++y)
      for (int x = 0; x < s.w; ++x) {
        int r, g, b;
        s.rgb(x, y, &r, &g, &b);
        sum += r + g + b < 150 ? 1 : 0;
      }
    return sum;
  };
  long lit[2] = {0, 0}, bare[2] = {0, 0};
  for (int night = 0; night < 2; ++night) {
    scene3d_eColourMode = SCENE3D_COLOUR;
    kits_Choose("BRA", 9, "ITA", 9);
    ASSERT_GT(scene.Load(0, 1, night), 12);
    // The frame with the people and one without them: their shadows and
    // bodies darken it.
    const Shot with = scene.Frame(eye, target, [&](FramePacket* p) { lineUp.Fill(p); });
    ASSERT_NE(kits_poReferee, nullptr);
    EXPECT_EQ(kits_poReferee->cShadows, night ? 4 : 1);
    EXPECT_TRUE(capture::WriteShot(CaptureDir() + "/" + Name(night ? "night" : "day") + ".tga", with));
    const Shot without = scene.Frame(eye, target);
    lit[night] = around(with);
    bare[night] = around(without);
    EXPECT_GT(lit[night], bare[night] + 1000) << night;
  }
  EXPECT_GT(lit[1] - bare[1], lit[0] - bare[0]);
}

// Close up: the bodies read as footballers (looked at, not compared).
TEST_P(Players, CloseUp) {
  scene3d_eColourMode = SCENE3D_COLOUR;
  kits_Choose("BRA", 9, "ITA", 9);
  ASSERT_GT(scene.Load(0, 1, 0), 12);
  const float eye[3] = {-6.0f, 2.2f, -11.0f}, target[3] = {-1.0f, 0.9f, 0.0f};
  const Shot s = scene.Frame(eye, target, [&](FramePacket* p) { lineUp.Fill(p); });
  EXPECT_TRUE(capture::WriteShot(CaptureDir() + "/" + Name("closeup") + ".tga", s));
}

// The ball seen close: placed on the centre spot by a frame, or not yet
// placed by any, it shows whole on both devices (the pixels it changes
// against a frame with the ball far away), never half in the ground.
TEST_P(Players, TheBallRestsOnTheGroundWholeBeforeAndAfterAFramePlacesIt) {
  scene3d_eColourMode = SCENE3D_COLOUR;
  kits_Choose("BRA", 9, "ITA", 9);
  ASSERT_GT(scene.Load(0, 1, 0), 12);
  const float eye[3] = {-3.0f, 1.2f, -5.0f}, target[3] = {0.0f, 0.1f, 0.0f};
  auto ballAt = [&](int32_t x) {
    return [x](FramePacket* p) {
      std::memset(&p->oBall, 0, sizeof p->oBall);
      p->oBall.iX = x;
      p->oBall.afOrientation[3] = 1.0f;
      p->aiSnapshotCounts[PCFRAME_COUNT_BALL] = 1;
    };
  };
  auto changed = [](const Shot& a, const Shot& b) {
    int n = 0;
    for (int y = 0; y < a.h; ++y)
      for (int x = 0; x < a.w; ++x) {
        int r, g, bl, r0, g0, b0;
        a.rgb(x, y, &r, &g, &bl);
        b.rgb(x, y, &r0, &g0, &b0);
        n += std::abs(r - r0) + std::abs(g - g0) + std::abs(bl - b0) > 30 ? 1 : 0;
      }
    return n;
  };
  const Shot unplaced = scene.Frame(eye, target);
  const Shot placed = scene.Frame(eye, target, ballAt(0));
  const Shot away = scene.Frame(eye, target, ballAt(static_cast<int32_t>(60.0 / SCENE3D_METRES_PER_UNIT)));
  EXPECT_TRUE(capture::WriteShot(CaptureDir() + "/" + Name("ball_closeup") + ".tga", placed));
  const int whole = changed(placed, away), first = changed(unplaced, away);
  EXPECT_GT(whole, 150);
  EXPECT_GT(first, whole * 8 / 10);
}

// Away player 10 seen from behind shows his number in light digits on his
// blue back; seen from the front, a 1994 shirt shows it again on the chest
// and a 1990 shirt shows nothing: light pixels where the frame without
// numbers has none.
TEST_P(Players, ShirtNumbersShowOnTheBackAndOnTheChestFrom1994) {
  scene3d_eColourMode = SCENE3D_COLOUR;
  auto lit = [&](int32_t year, const float* eye, const float* target, const std::string& what) {
    kits_Choose("BRA", year, "ITA", year);
    Shot shots[2];
    for (int numbered = 0; numbered < 2; ++numbered) {
      for (int i = 0; i < 22; ++i) lineUp.aoDb[i].uField88 = numbered ? static_cast<uint32_t>(i % 11 + 1) : 0;
      EXPECT_GT(scene.Load(0, 1, 0), 12);
      shots[numbered] = scene.Frame(eye, target, [&](FramePacket* p) { lineUp.Fill(p); });
    }
    EXPECT_TRUE(capture::WriteShot(CaptureDir() + "/" + Name(what) + ".tga", shots[1]));
    int n = 0;
    for (int y = 0; y < shots[1].h; ++y)
      for (int x = 0; x < shots[1].w; ++x) {
        int r, g, b, r0, g0, b0;
        shots[1].rgb(x, y, &r, &g, &b);
        shots[0].rgb(x, y, &r0, &g0, &b0);
        n += (r + g + b) - (r0 + g0 + b0) > 150 ? 1 : 0;
      }
    return n;
  };
  const float behind[3] = {11.5f, 1.5f, 10.0f}, front[3] = {-5.5f, 1.5f, 10.0f};
  const float player[3] = {3.0f, 1.1f, 10.0f};
  EXPECT_GT(lit(8, behind, player, "number_back"), 25);
  const int chest1990 = lit(8, front, player, "number_front_1990");
  const int chest1994 = lit(9, front, player, "number_front_1994");
  EXPECT_LT(chest1990, 5);
  EXPECT_GT(chest1994, chest1990 + 15);
}

// Within x0..x1, y0..y1: the pixels that differ from the bare frame and
// their mean colour ("area red green blue").
std::string Covered(const Shot& s, const Shot& bare, int x0, int y0, int x1, int y1) {
  long area = 0, sum[3] = {0, 0, 0};
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      int c[3], b[3];
      s.rgb(x, y, &c[0], &c[1], &c[2]);
      bare.rgb(x, y, &b[0], &b[1], &b[2]);
      if (std::abs(c[0] - b[0]) + std::abs(c[1] - b[1]) + std::abs(c[2] - b[2]) < 24) continue;
      ++area;
      for (int k = 0; k < 3; ++k) sum[k] += c[k];
    }
  std::string out = std::to_string(area);
  for (long v : sum) out += " " + std::to_string(area > 0 ? v / area : 0);
  return out;
}

// Compares lines of figures (name, two numbers, area, mean red, green,
// blue) with those recorded for this device in golden/<file><device>.txt
// (KORVENA_UPDATE_GOLDEN=1 writes them), and more loosely with the other
// device's (mean colours within otherColour: the devices light the ground
// apart).
void Figures(const Players* t, const std::string& file, const std::string& got, int count, int otherColour) {
  const char* src = std::getenv("KORVENA_SOURCE_DIR");
  ASSERT_NE(src, nullptr);
  const std::string dir = std::string(src) + "/tests/scene3d/golden/" + file;
  const std::string path = dir + (t->GetParam() ? "zbuffer" : "software") + ".txt";
  if (korvena_test::UpdatingGolden()) {
    std::ofstream(path) << got;
    korvena_test::GoldenRewritten(path);
    return;
  }
  auto compare = [&](const std::string& name, double areaShare, int colour) {
    std::ifstream want(name);
    ASSERT_TRUE(want.good()) << name << " (KORVENA_UPDATE_GOLDEN=1 makes it)";
    std::istringstream have(got);
    std::string wm, hm;
    long w[6], h[6];
    int lines = 0;
    while (want >> wm >> w[0] >> w[1] >> w[2] >> w[3] >> w[4] >> w[5]) {
      ASSERT_TRUE(have >> hm >> h[0] >> h[1] >> h[2] >> h[3] >> h[4] >> h[5]) << name;
      const std::string what = name + ": " + wm + " " + std::to_string(w[0]) + " " + std::to_string(w[1]);
      EXPECT_EQ(hm, wm);
      EXPECT_NEAR(h[2], w[2], areaShare * w[2] + 20) << what;
      for (int k = 3; k < 6; ++k) EXPECT_NEAR(h[k], w[k], colour) << what;
      ++lines;
    }
    EXPECT_EQ(lines, count) << name;
  };
  compare(path, 0.03, 4);
  compare(dir + (t->GetParam() ? "software" : "zbuffer") + ".txt", 0.10, otherColour);
}

// Away player 10 seen from the front at every level of detail, plain and
// mirrored, in each colour mode: the area he covers and its mean colour, as
// recorded (golden/players_levels_*.txt).
TEST_P(Players, EachLevelOfDetailDrawsThePersonAsRecorded) {
  struct Mode {
    const char *name, *home, *away;
    int32_t year;
  } modes[] = {{"colour", "BRA", "ITA", 9}, {"sepia", "SWE", "BRA", 0}, {"bw", "CHI", "BRA", 1}};
  const float eye[3] = {-5.5f, 1.5f, 10.0f}, target[3] = {3.0f, 1.1f, 10.0f};
  const float saved[4] = {player3d_afLevelDistances[0], player3d_afLevelDistances[1], player3d_afLevelDistances[2],
                          player3d_afLevelDistances[3]};
  std::ostringstream got;
  for (const Mode& m : modes) {
    scene3d_eColourMode = kits_ColourModeFor(m.year, m.year);
    kits_Choose(m.home, m.year, m.away, m.year);
    ASSERT_GT(scene.Load(0, 1, 0), 12);
    const Shot bare = scene.Frame(eye, target);
    for (int level = 0; level < PLAYER3D_LEVELS; ++level)
      for (int mirrored = 0; mirrored < 2; ++mirrored) {
        // He stands 8.5 m away: the distances put that depth in this level.
        for (int i = 0; i < 4; ++i) player3d_afLevelDistances[i] = i < level ? 1.0f : 100.0f;
        const Shot s = scene.Frame(eye, target, [&](FramePacket* p) {
          lineUp.Fill(p);
          p->aoAway[9].uMirror = static_cast<uint32_t>(mirrored);
        });
        EXPECT_GT(scene3d_aiDetailCount[level], 0) << m.name << " " << level;
        got << m.name << " " << level << " " << mirrored << " " << Covered(s, bare, 200, 40, 440, s.h) << "\n";
      }
  }
  for (int i = 0; i < 4; ++i) player3d_afLevelDistances[i] = saved[i];
  Figures(this, "players_levels_", got.str(), 3 * PLAYER3D_LEVELS * 2, 12);
}

// The broadcast kick-off by day and at night (four shadows each): the area
// the people and their shadows cover and its mean colour, as recorded.
TEST_P(Players, TheKickOffByDayAndAtNightAsRecorded) {
  std::ostringstream got;
  for (int night = 0; night < 2; ++night) {
    scene3d_eColourMode = SCENE3D_COLOUR;
    kits_Choose("BRA", 9, "ITA", 9);
    ASSERT_GT(scene.Load(0, 1, night), 12);
    const Shot bare = scene.Frame(kBroadcastEye, kBroadcastTarget);
    const Shot s = scene.Frame(kBroadcastEye, kBroadcastTarget, [&](FramePacket* p) { lineUp.Fill(p); });
    got << (night ? "night" : "day") << " 0 0 " << Covered(s, bare, 0, 0, s.w, s.h) << "\n";
  }
  Figures(this, "players_kickoff_", got.str(), 2, 32);
}

INSTANTIATE_TEST_SUITE_P(BothDevices, Players, ::testing::Values(false, true));

}  // namespace
