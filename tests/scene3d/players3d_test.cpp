// The players' bodies and kits without a renderer: the skeleton walk against
// a plain one-matrix-per-segment reference and against the engine's own
// joint walk over seeded random poses, the detail levels by distance, the
// body checks and the generated bodies read back, and the kit choices.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/anim_pose.h"
#include "framework/math/qmatrix.h"
#include "framework/math/qquat.h"
#include "playergeom.h"
#include "scene3d/kits3d.h"
#include "scene3d/model.h"
#include "scene3d/player3d.h"
#include "scene3d/scene3d_services.h"
#include "scene3d/scene3d_state.h"
#include "engine/player.h"
#include "tournament/dbplayer.h"

namespace {

std::string SkeletonText() {
  std::ifstream in(std::string(KORVENA_SOURCE_DIR) + "/assets/anim/skeleton.txt", std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

playergeom::Skeleton Skel() {
  playergeom::Skeleton k;
  std::string err;
  EXPECT_TRUE(playergeom::SkeletonParse(SkeletonText(), k, err)) << err;
  return k;
}

// Entries with every vertex rigid, links as the skeleton's.
std::vector<PlayerSegmentEntry> Entries(const playergeom::Skeleton& k) {
  std::vector<PlayerSegmentEntry> e(PLAYER3D_SEGMENTS);
  for (int s = 0; s < PLAYER3D_SEGMENTS; ++s)
    e[s] = PlayerSegmentEntry{static_cast<int8_t>(k.aSeg[s].bPush), static_cast<int8_t>(k.aSeg[s].bPop), 0, 1};
  return e;
}

std::vector<float> RandomPose(std::mt19937& rng) {
  std::uniform_real_distribution<float> u(-1.0f, 1.0f);
  std::vector<float> p(PLAYER3D_POSE_FLOATS);
  for (int s = 0; s < PLAYER3D_SEGMENTS; ++s) {
    float* r = &p[7 * s];
    for (int k = 0; k < 3; ++k) r[k] = 0.4f * u(rng);
    float q[4], n = 0.0f;
    for (float& c : q) {
      c = u(rng);
      n += c * c;
    }
    n = std::sqrt(n);
    for (int k = 0; k < 4; ++k) r[3 + k] = q[k] / n;
  }
  return p;
}

QMathMatrix PoseMatrix(const float* p) {
  QMathMatrix r;
  QMathMatrixIdentity(&r);
  const QMathQuat q = {p[3], p[4], p[5], p[6]};
  QMathMatrixFromQuat(&r, &q);
  r.m[3] = r.m[7] = r.m[11] = 0.0f;
  r.m[12] = p[0];
  r.m[13] = p[1];
  r.m[14] = p[2];
  r.m[15] = 1.0f;
  return r;
}

void ExpectNear(const QMathMatrix& a, const QMathMatrix& b, float tol, const std::string& what) {
  for (int i = 0; i < 16; ++i) ASSERT_NEAR(a.m[i], b.m[i], tol) << what << " element " << i;
}

TEST(PlayerWalk, AgreesWithAParentChainOverSeededPoses) {
  const playergeom::Skeleton k = Skel();
  const std::vector<PlayerSegmentEntry> e = Entries(k);
  std::mt19937 rng(2026);
  for (int trial = 0; trial < 300; ++trial) {
    const std::vector<float> pose = RandomPose(rng);
    QMathMatrix start;
    QMathMatrixIdentity(&start);
    QMathMatrixSetRotateY(&start, static_cast<int32_t>(rng() & 0xFFFF));
    start.m[12] = 3.0f;
    start.m[14] = -7.0f;
    QMathMatrix mats[PLAYER3D_SEGMENTS], half[PLAYER3D_SEGMENTS];
    player3d_Walk(e.data(), pose.data(), &start, nullptr, mats, half);
    // Reference: each segment's matrix is its pose times its parent's.
    QMathMatrix ref[PLAYER3D_SEGMENTS];
    for (int s = 0; s < PLAYER3D_SEGMENTS; ++s) {
      const QMathMatrix r = PoseMatrix(&pose[7 * s]);
      const QMathMatrix& parent = k.aSeg[s].iParent < 0 ? start : ref[k.aSeg[s].iParent];
      QMathMatrixMultiply(&ref[s], &r, &parent);
      ExpectNear(mats[s], ref[s], 2e-4f, "trial " + std::to_string(trial) + " segment " + std::to_string(s));
      // The half turn is placed at the parent's origin.
      EXPECT_NEAR(half[s].m[12], parent.m[12], 1e-5f);
      EXPECT_NEAR(half[s].m[14], parent.m[14], 1e-5f);
    }
  }
}

TEST(PlayerWalk, JointsAgreeWithTheEnginesWalkPlainAndMirrored) {
  const playergeom::Skeleton k = Skel();
  const std::vector<PlayerSegmentEntry> e = Entries(k);
  std::mt19937 rng(58);
  for (int trial = 0; trial < 200; ++trial) {
    const std::vector<float> pose = RandomPose(rng);
    const uint16_t angle = static_cast<uint16_t>(rng());
    const int mirror = trial % 2;
    QMathMatrix obj, start;
    QMathMatrixIdentity(&obj);
    QMathMatrixSetRotateY(&obj, angle);
    if (mirror) QMathMatrixMultiply(&start, &player3d_mMirror, &obj);
    else start = obj;
    QMathMatrix mats[PLAYER3D_SEGMENTS];
    player3d_Walk(e.data(), pose.data(), &start, nullptr, mats, nullptr);
    int32_t engine[17][3];
    animpose_JointsWorld(pose.data(), mirror, angle, 0, 0, 0, engine);
    for (int s = 0; s < PLAYER3D_SEGMENTS; ++s)
      for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(static_cast<int32_t>(mats[s].m[12 + c] * 157.4784f), engine[s][c], 1)
            << "trial " << trial << " segment " << s << " axis " << c;
  }
}

TEST(PlayerWalk, PushAndPopHangTheNextSegmentOnTheSavedParent) {
  // A pushes, B pops: B hangs on A, the segment after B on A's parent.
  std::vector<PlayerSegmentEntry> e(PLAYER3D_SEGMENTS, PlayerSegmentEntry{0, 0, 0, 1});
  e[3] = PlayerSegmentEntry{1, 0, 0, 1};
  e[4] = PlayerSegmentEntry{0, 1, 0, 1};
  std::vector<float> pose(PLAYER3D_POSE_FLOATS, 0.0f);
  for (int s = 0; s < PLAYER3D_SEGMENTS; ++s) {
    pose[7 * s + 6] = 1.0f;
    pose[7 * s + 0] = static_cast<float>(s + 1);  // each segment steps s + 1 along x
  }
  QMathMatrix start, mats[PLAYER3D_SEGMENTS];
  QMathMatrixIdentity(&start);
  player3d_Walk(e.data(), pose.data(), &start, nullptr, mats, nullptr);
  EXPECT_FLOAT_EQ(mats[2].m[12], 1 + 2 + 3);
  EXPECT_FLOAT_EQ(mats[3].m[12], 6 + 4);
  EXPECT_FLOAT_EQ(mats[4].m[12], 10 + 5);
  // Saved before segment 3: the matrix of segment 2.
  EXPECT_FLOAT_EQ(mats[5].m[12], 6 + 6);
}

TEST(PlayerWalk, TheHeadTurnMovesTheHeadOnly) {
  const playergeom::Skeleton k = Skel();
  const std::vector<PlayerSegmentEntry> e = Entries(k);
  std::mt19937 rng(7);
  const std::vector<float> pose = RandomPose(rng);
  QMathMatrix start, turn, a[PLAYER3D_SEGMENTS], b[PLAYER3D_SEGMENTS];
  QMathMatrixIdentity(&start);
  QMathMatrixIdentity(&turn);
  const QMathVec3 up{0, 0, 1};
  QMathMatrixSetRotateAxis(&turn, &up, 10922);
  turn.m[12] = turn.m[13] = turn.m[14] = 0.0f;
  player3d_Walk(e.data(), pose.data(), &start, nullptr, a, nullptr);
  player3d_Walk(e.data(), pose.data(), &start, &turn, b, nullptr);
  for (int s = 0; s < PLAYER3D_SEGMENTS; ++s) {
    float diff = 0.0f;
    for (int i = 0; i < 12; ++i) diff = std::max(diff, std::fabs(a[s].m[i] - b[s].m[i]));
    if (s == 10) EXPECT_GT(diff, 0.1f);
    else EXPECT_LT(diff, 1e-6f) << s;
    // The turn keeps the head where it is.
    for (int c = 12; c < 15; ++c) EXPECT_NEAR(a[s].m[c], b[s].m[c], 1e-5f);
  }
}

TEST(PlayerWalk, MirroringReflectsTheBodyInItsOwnLateralAxis) {
  const playergeom::Skeleton k = Skel();
  const std::vector<PlayerSegmentEntry> e = Entries(k);
  std::mt19937 rng(62);
  const std::vector<float> pose = RandomPose(rng);
  QMathMatrix plain, a[PLAYER3D_SEGMENTS], b[PLAYER3D_SEGMENTS];
  QMathMatrixIdentity(&plain);
  player3d_Walk(e.data(), pose.data(), &plain, nullptr, a, nullptr);
  player3d_Walk(e.data(), pose.data(), &player3d_mMirror, nullptr, b, nullptr);
  for (int s = 0; s < PLAYER3D_SEGMENTS; ++s) {
    EXPECT_NEAR(b[s].m[12], a[s].m[12], 1e-5f);
    EXPECT_NEAR(b[s].m[13], a[s].m[13], 1e-5f);
    EXPECT_NEAR(b[s].m[14], -a[s].m[14], 1e-5f);
  }
}

TEST(PlayerLevels, ChosenByViewDepthForEveryDetailSetting) {
  struct Case {
    int bias;
    float depth;
    int level;
  };
  const Case cases[] = {{2, 8.9f, 0}, {2, 9.0f, 1}, {2, 22.4f, 1}, {2, 30.0f, 2}, {2, 49.5f, 3}, {2, 62.9f, 3},
                        {2, 80.0f, 4}, {0, 3.9f, 0}, {0, 4.0f, 1},  {0, 21.9f, 2}, {0, 27.9f, 3}, {0, 28.0f, 4},
                        {4, 13.9f, 0}, {4, 34.9f, 1}, {4, 76.9f, 2}, {4, 97.9f, 3}, {4, 98.0f, 4}, {1, 6.4f, 0},
                        {1, 6.6f, 1},  {3, 80.4f, 3}, {3, 80.6f, 4}, {2, -5.0f, 0}};
  for (const Case& c : cases) {
    player3d_LevelDistancesSet(static_cast<float>(c.bias * 25 + 40) * 0.01f);
    EXPECT_EQ(player3d_iLevelFor(c.depth), c.level) << "bias " << c.bias << " depth " << c.depth;
  }
  player3d_LevelDistancesSet(0.9f);
}

TEST(PlayerBodies, EveryGeneratedBodyReadsBackAndCanBeWalked) {
  const playergeom::Skeleton k = Skel();
  const std::vector<playergeom::Body> bodies = playergeom::BodiesBuildAll(k);
  ASSERT_EQ(bodies.size(), 58u);
  for (const playergeom::Body& b : bodies) {
    EXPECT_EQ(playergeom::BodyValidate(k, b), "");
    const std::vector<uint8_t> bytes = playergeom::BodyBytes(b);
    ModelRecord* m = model_poVSKParse(bytes.data(), bytes.size(), b.sPath.c_str());
    ASSERT_NE(m, nullptr) << model_LastError();
    EXPECT_STREQ(player3d_pszModelCheck(m), "") << b.sPath;
    ASSERT_EQ(m->uVertexCount * 3, b.afVertices.size());
    ASSERT_EQ(m->uFaceCount, b.aFaces.size());
    EXPECT_EQ(std::memcmp(m->pVertices, b.afVertices.data(), b.afVertices.size() * 4), 0);
    for (uint32_t f = 0; f < m->uFaceCount; ++f) EXPECT_EQ(m->pFaces[f].uPage, b.aFaces[f].uPart);
    EXPECT_EQ(model_VSKBytes(*m), bytes) << b.sPath;
    PlayerMesh mesh(m);
    EXPECT_EQ(mesh.FaceCount(), m->uFaceCount);
    model_Free(m);
  }
}

TEST(PlayerBodies, TriangleBudgetsFallWithTheLevel) {
  const playergeom::Skeleton k = Skel();
  for (const std::string& code : playergeom::ModelCodes()) {
    size_t last = 0;
    for (int l = 0; l < 5; ++l) {
      const size_t n = playergeom::BodyBuild(k, l, code).aFaces.size();
      if (l == 0) EXPECT_LE(n, 720u);
      else EXPECT_LT(n, last) << code << " level " << l;
      last = n;
    }
  }
}

TEST(PlayerBodies, TheChecksRefuseBrokenBodies) {
  const playergeom::Skeleton k = Skel();
  // An inward face, a segment without rigid vertices, links unlike the skeleton.
  playergeom::Body b = playergeom::BodyBuild(k, 1, "SSSHMS");
  std::swap(b.aFaces[5].auIndex[1], b.aFaces[5].auIndex[2]);
  EXPECT_NE(playergeom::BodyValidate(k, b).find("wound inward"), std::string::npos);
  b = playergeom::BodyBuild(k, 1, "SSSHMS");
  b.aauEntry[4][2] = static_cast<uint8_t>(b.aauEntry[4][2] + b.aauEntry[4][3]);
  b.aauEntry[4][3] = 0;
  EXPECT_NE(playergeom::BodyValidate(k, b).find("no rigid vertex"), std::string::npos);
  b = playergeom::BodyBuild(k, 1, "SSSHMS");
  b.aauEntry[5][1] = 0;
  EXPECT_NE(playergeom::BodyValidate(k, b).find("links differ"), std::string::npos);
  // The game's reader refuses what cannot be walked.
  b = playergeom::BodyBuild(k, 2, "LSLHTS");
  std::vector<uint8_t> bytes = playergeom::BodyBytes(b);
  const size_t extras = bytes.size() - 17 * 4;
  std::vector<uint8_t> bad = bytes;
  bad[extras + 4 * 6 + 3] = static_cast<uint8_t>(bad[extras + 4 * 6 + 3] + 1);  // one rigid vertex too many
  ModelRecord* m = model_poVSKParse(bad.data(), bad.size(), "counts");
  ASSERT_NE(m, nullptr);
  EXPECT_NE(std::string(player3d_pszModelCheck(m)).find("add up"), std::string::npos);
  model_Free(m);
  bad = bytes;
  bad[extras + 4 * 1 + 0] = 0;  // the spine saves nothing: segment 5's pop finds an empty stack
  bad[extras + 4 * 3 + 0] = 0;
  m = model_poVSKParse(bad.data(), bad.size(), "pop");
  ASSERT_NE(m, nullptr);
  EXPECT_NE(std::string(player3d_pszModelCheck(m)).find("never saved"), std::string::npos);
  model_Free(m);
  // Truncated anywhere, the file is refused whole.
  for (size_t cut : {size_t{0}, size_t{11}, bytes.size() / 2, bytes.size() - 1})
    EXPECT_EQ(model_poVSKParse(bytes.data(), cut, "cut"), nullptr) << cut;
}

TEST(Kits, ColourModesOfTheEditions) {
  EXPECT_EQ(kits_ColourModeFor(0, 0), SCENE3D_SEPIA);
  EXPECT_EQ(kits_ColourModeFor(0, 1), SCENE3D_SEPIA);
  EXPECT_EQ(kits_ColourModeFor(1, 1), SCENE3D_BLACK_AND_WHITE);
  EXPECT_EQ(kits_ColourModeFor(1, 9), SCENE3D_COLOUR);
  EXPECT_EQ(kits_ColourModeFor(9, 0), SCENE3D_COLOUR);
  EXPECT_EQ(kits_ColourModeFor(5, 5), SCENE3D_COLOUR);
}

TEST(Kits, FiveKitsTellApartInEveryColourMode) {
  const char* teams[] = {"BRA", "ITA", "SWE", "HOL", "BGR", "CHI", "ARG", "WAL"};
  const uint8_t modes[] = {SCENE3D_COLOUR, SCENE3D_SEPIA, SCENE3D_BLACK_AND_WHITE};
  auto luma = [](Q3DColour c) { return 0.212671f * c.r + 0.71516f * c.g + 0.072169f * c.b; };
  for (uint8_t mode : modes)
    for (const char* h : teams)
      for (const char* a : teams) {
        scene3d_eColourMode = mode;
        const int32_t year = mode == SCENE3D_COLOUR ? 9 : mode == SCENE3D_SEPIA ? 0 : 1;
        kits_Choose(h, year, a, year);
        const std::string what = std::string(h) + " v " + a + " mode " + std::to_string(mode);
        // The two outfield shirts, and each keeper against both sides (in colour).
        const int pairs[][2] = {{0, 2}, {1, 0}, {1, 2}, {3, 0}, {3, 2}, {1, 3}};
        for (const auto& p : pairs) {
          const Q3DColour x = kits_aoKits[p[0]].oShirt, y = kits_aoKits[p[1]].oShirt;
          if (mode == SCENE3D_COLOUR) {
            EXPECT_GT(kits_fColourDistance(x, y), 60.0f) << what << " " << p[0] << p[1];
          } else if (p[0] == 0 || (p[0] == 1 && p[1] == 0) || (p[0] == 3 && p[1] == 2)) {
            // In the old editions brightness alone tells the two sides, and
            // each keeper from his own side, apart.
            EXPECT_GT(std::fabs(luma(x) - luma(y)), 35.0f) << what << " " << p[0] << p[1];
          }
        }
        // The old editions' kits are in their colouring.
        if (mode == SCENE3D_BLACK_AND_WHITE) {
          EXPECT_TRUE(kits_aoKits[0].oShirt.r == kits_aoKits[0].oShirt.g &&
                      kits_aoKits[0].oShirt.g == kits_aoKits[0].oShirt.b) << what;
        }
        if (mode == SCENE3D_SEPIA) {
          EXPECT_GE(kits_aoKits[2].oShirt.r, kits_aoKits[2].oShirt.b) << what;
        }
      }
  scene3d_eColourMode = SCENE3D_COLOUR;
}

TEST(Kits, ModelCodesAndBuildsFromTheAppearanceWord) {
  struct Case {
    uint16_t appearance;
    int longSleeves, shorts;
    const char* code;
    float build;
  };
  const Case cases[] = {{0x0000, 0, 1, "SSSHMS", 0.96f}, {0x0040, 1, 0, "LSAHLS", 0.96f},
                        {0x0080 | 0x0800, 0, 2, "SSSHTS", 1.0f}, {0x00C0 | 0x1000, 0, 1, "SSLHMS", 1.08f},
                        {0x0100 | 0x1800, 1, 1, "LSSHMS", 1.0f}, {0x01C0, 0, 0, "SSSHLS", 0.96f}};
  for (const Case& c : cases) {
    char code[7];
    kits_ModelCode(code, c.appearance, c.longSleeves, c.shorts);
    EXPECT_STREQ(code, c.code) << std::hex << c.appearance;
    EXPECT_FLOAT_EQ(kits_fBuildScale(c.appearance), c.build) << std::hex << c.appearance;
  }
}

TEST(Kits, LongSleevesCoverTheArmsAndBaldHeadsShowSkin) {
  scene3d_eColourMode = SCENE3D_COLOUR;
  KitColours k{{200, 0, 0, 255}, {255, 255, 255, 255}, {0, 0, 200, 255}, 1, 1, {200, 0, 0, 255}, 1};
  PlayerKit p;
  kits_PlayerKitMake(&p, k, 0x0100 | 0x38);  // short hair, white
  EXPECT_EQ(p.aoPart[13].r, 200);             // the lower sleeve
  EXPECT_EQ(p.aoPart[8].b, 200);
  EXPECT_NE(p.aoPart[12].r, p.aoPart[9].r);  // hair on top, face in front
  k.bLongSleeves = 0;
  kits_PlayerKitMake(&p, k, 0x0000 | 0x38);  // bald
  EXPECT_EQ(p.aoPart[13].r, p.aoPart[7].r);  // bare arm, as the hand
  EXPECT_LT(std::abs(p.aoPart[12].r - p.aoPart[9].r), 30);
}

}  // namespace

namespace {

// A substitute takes the outgoing player's shirt, shorts and socks (and his
// long sleeves), and keeps his own skin, head and boots.
TEST(Kits, ASubstituteWearsTheKitOfThePlayerHeReplaces) {
  scene3d_eColourMode = SCENE3D_COLOUR;
  kits_Choose("BRA", 9, "ITA", 9);
  static DBPlayer outDb{}, inDb{};
  outDb.uAppearance = 0x0100 | 0x00;  // short hair, african
  inDb.uAppearance = 0x00C0 | 0x30;   // long hair, ginger
  static Player out{}, in{};
  out.pDBPlayer = &outDb;
  in.pDBPlayer = &inDb;
  out.MyTeam = in.MyTeam = 0;  // the away side
  Player3D* o = kits_poObjectFor(&out, &outDb, 1);
  Player3D* n = kits_poObjectFor(&in, &inDb, 1);
  ASSERT_NE(o, n);
  // The outgoing player had been given the keeper's kit with long sleeves.
  kits_PlayerKitMake(&o->oKit, kits_aoKits[3], outDb.uAppearance);
  o->szModelCode[0] = 'L';
  o->iKitIndex = 3;
  const PlayerKit before = n->oKit;
  kits_CopyAppearance(&in, &out);
  for (int part : {0, 1, 2, 3, 4, 5, 6, 8, 13})
    EXPECT_EQ(std::memcmp(&n->oKit.aoPart[part], &o->oKit.aoPart[part], 4), 0) << part;
  for (int part : {7, 9, 10, 11, 12, 14, 15, 16})
    EXPECT_EQ(std::memcmp(&n->oKit.aoPart[part], &before.aoPart[part], 4), 0) << part;
  EXPECT_EQ(n->szModelCode[0], 'L');
  EXPECT_EQ(std::string(n->szModelCode + 2), "LHLS");  // his own hair; the side's (1994: long) shorts
  EXPECT_EQ(n->iKitIndex, 3);
  // The spare record comes back for the next substitute: another person.
  static DBPlayer nextDb{};
  EXPECT_NE(kits_poObjectFor(&in, &nextDb, 1), n);
  kits_PlayerObjectsFree();
}

}  // namespace
