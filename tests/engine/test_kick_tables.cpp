// The kick choice tables against a second transcription of the rows, read
// from text laid out as the design tables are.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "engine/kick.h"

namespace {

// Standard choice: band, near pairs s0..s3 (a, b), far pairs s0..s3 (a, b).
const char* kStandard =
    "0 | 0 1 1 2 | 5 200 | 9 1 1 4 | 10 80 10 80\n"
    "1 | 3 1 1 4 | 5 200 | 9 1 1 4 | 10 80 10 80\n"
    "2 | 3 12 12 4 | 5 200 | 9 1 1 4 | 10 80 10 80\n"
    "3 | 5 5 13 6 | 5 100 | 5 13 13 5 | 10 80 10 80\n"
    "4 | 6 13 13 6 | 5 100 | 5 13 13 5 | 10 80 10 80\n"
    "5 | 6 8 8 7 | 5 100 | 10 8 8 7 | 10 80 10 70\n"
    "6 | 6 8 8 7 | 5 100 | 10 8 8 7 | 10 80 10 80\n"
    "7 | 16 8 8 7 | 5 100 | 10 8 8 7 | 10 110 10 110\n";

// Long-kick choice: band, then near s0..s3 and far s0..s3 as pair a b.
const char* kLong =
    "0 | 9 10 120, 11 10 120, 11 10 120, 4 10 120 | 11 10 150, 11 10 150, 4 15 100, 4 40 100\n"
    "1 | 3 10 140, 12 10 120, 12 10 120, 4 10 120 | 3 30 140, 12 30 100, 12 30 100, 4 30 100\n"
    "2 | 3 15 130, 12 15 120, 12 10 120, 12 10 120 | 11 60 130, 12 60 100, 12 60 100, 12 60 100\n"
    "3 | 5 5 150, 13 5 130, 12 10 120, 12 10 120 | 5 5 120, 13 10 100, 14 50 100, 14 50 100\n"
    "4 | 5 15 140, 13 10 120, 13 10 120, 14 10 120 | 5 15 100, 13 20 100, 14 50 100, 14 50 100\n"
    "5 | 15 0 140, 8 0 100, 8 0 100, 14 0 100 | 16 20 100, 13 25 100, 14 50 100, 14 60 100\n"
    "6 | 15 10 110, 8 10 120, 8 60 120, 14 10 120 | 15 25 100, 8 40 100, 8 40 100, 14 30 100\n"
    "7 | 10 10 100, 8 10 120, 8 10 120, 7 10 100 | 10 35 100, 8 50 100, 8 50 100, 7 40 100\n";

std::vector<int> Numbers(std::string s) {
  for (char& c : s) {
    if (c == '|' || c == ',') c = ' ';
  }
  std::istringstream in(s);
  std::vector<int> v;
  int n;
  while (in >> n) v.push_back(n);
  return v;
}

TEST(KickTables, EveryChoiceAgainstASecondTranscription) {
  std::istringstream oStd(kStandard);
  std::string sLine;
  int cRows = 0;
  while (std::getline(oStd, sLine)) {
    std::vector<int> v = Numbers(sLine);
    ASSERT_EQ(v.size(), 15u);
    int b = v[0];
    for (int s = 0; s < 4; s++) {
      for (int bFar = 0; bFar < 2; bFar++) {
        int iPair = bFar ? v[7 + s] : v[1 + s];
        int a = bFar ? (s == 0 ? v[11] : v[13]) : v[5];
        int bb = bFar ? (s == 0 ? v[12] : v[14]) : v[6];
        for (std::uint32_t eRun : {0u, 102u, 105u, 129u}) {
          KickRow r = kick_RowGet(b, s, bFar, 0, eRun);
          int iWantPair = iPair;
          if (eRun == 129 || eRun == 105) {
            const int aiNear[4] = {17, 17, 1, 2};
            const int aiFar[4] = {17, 1, 1, 4};
            iWantPair = bFar ? aiFar[s] : aiNear[s];
          }
          EXPECT_EQ(r.iPair, iWantPair) << "band " << b << " s " << s << " far " << bFar << " run " << eRun;
          EXPECT_EQ(r.a, a) << "band " << b << " s " << s << " far " << bFar;
          EXPECT_EQ(r.b, bb) << "band " << b << " s " << s << " far " << bFar;
        }
      }
    }
    cRows++;
  }
  EXPECT_EQ(cRows, 8);
  std::istringstream oLong(kLong);
  cRows = 0;
  while (std::getline(oLong, sLine)) {
    std::vector<int> v = Numbers(sLine);
    ASSERT_EQ(v.size(), 25u);
    int b = v[0];
    for (int bFar = 0; bFar < 2; bFar++) {
      for (int s = 0; s < 4; s++) {
        const int* w = &v[1 + bFar * 12 + s * 3];
        for (std::uint32_t eRun : {0u, 129u}) {
          KickRow r = kick_RowGet(b, s, bFar, 1, eRun);
          EXPECT_EQ(r.iPair, w[0]) << "long band " << b << " s " << s << " far " << bFar;
          EXPECT_EQ(r.a, w[1]);
          EXPECT_EQ(r.b, w[2]);
        }
      }
    }
    cRows++;
  }
  EXPECT_EQ(cRows, 8);
}

TEST(KickTables, BandSectorSideAndClasses) {
  struct {
    int h, band;
  } aBands[] = {{-48, 0}, {-1, 0}, {0, 0}, {47, 0}, {48, 1}, {383, 7}, {384, 8}};
  for (auto c : aBands) EXPECT_EQ(kick_BandGet(c.h), c.band) << c.h;
  // Direction minus facing in 802ths: sector boundaries at 22/23, 67/68, 112/113 degrees.
  struct {
    int iDir, iFacing, s;
  } aSectors[] = {
      {0, 0, 0},      {51, 0, 0},     {52, 0, 1},     {150, 0, 1},    {152, 0, 2},   {250, 0, 2},
      {253, 0, 3},    {401, 0, 3},    {0, 49, 0},     {0, 60, 1},     {10, 790, 0},  {700, 0, 1},
      {400, 800, 3},
  };
  for (auto c : aSectors) {
    EXPECT_EQ(kick_SectorGet(c.iDir, c.iFacing), c.s) << c.iDir << " - " << c.iFacing;
  }
  EXPECT_EQ(kick_IsSecondSide(100, 0), 0);
  EXPECT_EQ(kick_IsSecondSide(0, 100), 1);
  EXPECT_EQ(kick_IsSecondSide(700, 0), 1);
  EXPECT_EQ(kick_IsSecondSide(0, 700), 0);
  struct {
    int d, c;
  } aClasses[] = {{0, 1}, {134, 1}, {135, -1}, {180, -1}, {225, -1}, {226, 0}, {359, 0}};
  for (auto c : aClasses) EXPECT_EQ(kick_AngleClassify(c.d), c.c) << c.d;
  for (const KickPair& p : kick_aAnimPairs) {
    EXPECT_TRUE(kick_IsKickAnim(p.eFirst));
    EXPECT_TRUE(kick_IsKickAnim(p.eSecond));
  }
  for (std::uint32_t e : {0u, 1u, 102u, 127u, 129u, 136u, 105u}) EXPECT_FALSE(kick_IsKickAnim(e)) << e;
}

}  // namespace
