// The Q3D records' constructors and the depth-sort list.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "render3d/q3d.h"
#include "render3d/sortlist.h"

namespace {

TEST(Records, HeadersAndDefaults) {
  Q3DObject plain;
  EXPECT_EQ(plain.uFlags, 0u);
  EXPECT_EQ(plain.uType, 1u);
  EXPECT_EQ(plain.uRefCount, 1u);
  EXPECT_STREQ(plain.szName, "UnNamed");

  // A null name leaves the field as it was.
  alignas(Q3DObject) unsigned char raw[sizeof(Q3DObject)];
  std::memset(raw, 'x', sizeof raw);
  auto* named = new (raw) Q3DObject(static_cast<const char*>(nullptr));
  EXPECT_EQ(named->uType, 1u);
  EXPECT_EQ(named->szName[0], 'x');
  EXPECT_EQ(named->szName[255], 'x');

  // A name longer than 255 characters is cut at 255 and terminated.
  const std::string longName(400, 'n');
  Q3DObject cut(longName.c_str());
  EXPECT_EQ(std::strlen(cut.szName), 255u);
  Q3DObject exact(std::string(255, 'e').c_str());
  EXPECT_EQ(std::strlen(exact.szName), 255u);

  Q3DVertexList vl;
  EXPECT_EQ(vl.oHeader.uType, 5u);
  EXPECT_EQ(vl.uCount, 0u);
  EXPECT_EQ(vl.pColours, nullptr);
  EXPECT_EQ(vl.pOutcodes, nullptr);
  EXPECT_EQ(vl.uOutcodeCapacity, 0u);
  EXPECT_EQ(vl.pClip, nullptr);
  EXPECT_EQ(vl.uClipCapacity, 0u);
  EXPECT_EQ(vl.pScreen, nullptr);
  EXPECT_EQ(vl.uScreenCapacity, 0u);

  Q3DFaceList fl;
  EXPECT_EQ(fl.uFlags, 1u);
  EXPECT_EQ(fl.uCount, 0u);
  Q3DQuadList ql;
  EXPECT_EQ(ql.pVertexList, nullptr);

  Q3DImageTexture it;
  EXPECT_EQ(it.oHeader.uType, 2u);
  EXPECT_EQ(it.iHandle, -1);
  EXPECT_EQ(it.uAddressU, 2u);
  EXPECT_EQ(it.uAddressV, 2u);
  EXPECT_EQ(it.iMipLevels, 1);
  EXPECT_EQ(it.uReserved308, 1u);
  EXPECT_EQ(it.aszSlotName[0][0], 0);
  EXPECT_EQ(it.apSlotImage[7], nullptr);

  Q3DImageTexture missing("no\\such\\file.tga");
  EXPECT_STREQ(missing.oHeader.szName, "no\\such\\file.tga");
  EXPECT_STREQ(missing.aszSlotName[0], "no\\such\\file.tga");
  EXPECT_EQ(missing.uWidth, 0u);

  Q3DImageTexture tex;
  Q3DMaterial mat(&tex);
  EXPECT_EQ(mat.bTextured, 1u);
  mat.oColour = Q3DColour{1, 2, 3, 4};
  mat.auReserved[3] = 9;
  Q3DMaterialReset(&mat);
  EXPECT_EQ(mat.pTexture, nullptr);
  EXPECT_EQ(mat.bTextured, 0u);
  EXPECT_EQ(mat.auReserved[3], 0u);
  EXPECT_EQ(mat.oColour.r, 255);
  EXPECT_EQ(mat.oColour.a, 255);

  Q3DScreenQuad sq;
  EXPECT_EQ(sq.uKind, 2u);
  EXPECT_EQ(sq.aColour[3].g, 255);
  EXPECT_EQ(sq.aTexel[1].u, 1.0f);
  EXPECT_EQ(sq.aTexel[1].v, 0.0f);
  EXPECT_EQ(sq.aTexel[3].u, 0.0f);
  EXPECT_EQ(sq.aTexel[3].v, 1.0f);

  Q3DScreenVertex sv;
  std::memset(&sv, 7, sizeof sv);
  Q3DScreenVertexReset(&sv);
  EXPECT_EQ(sv.x, 0.0f);
  EXPECT_EQ(sv.uWord, 0u);
  EXPECT_EQ(sv.oColour.b, 255);

  Q3DFrame fr;
  EXPECT_EQ(fr.oHeader.uType, 3u);
  EXPECT_EQ(fr.mMatrix2.m[15], 1.0f);
  Q3DTexture t;
  EXPECT_EQ(t.iHandle, -1);
  Q3DLine line;
  EXPECT_EQ(line.uOutcodeB, 0u);
  EXPECT_EQ(line.mMatrix.m[0], 1.0f);
}

// Records the order it was drawn in.
struct Probe : SortObject {
  Probe(int id, std::vector<int>* pLog) : id(id), pLog(pLog) {}
  void Draw() override {
    pLog->push_back(id);
    lastTranslationX = mLocal.m[12];
  }
  int id;
  std::vector<int>* pLog;
  float lastTranslationX = 0.0f;
};

TEST(SortList, SortsFarthestFirstAndKeepsEqualDepthsInOrder) {
  std::vector<int> log;
  Probe a(1, &log), b(2, &log), c(3, &log), d(4, &log), e(5, &log);
  SortList list;
  list.Reset();
  list.Add(&a, 5.0f);
  list.Add(&b, 20.0f);
  list.Add(&c, 10.0f);
  list.Sort();
  list.DrawAll();
  EXPECT_EQ(log, (std::vector<int>{2, 3, 1}));

  log.clear();
  list.Reset();
  list.Add(&a, 7.0f);
  list.Add(&b, 3.0f);
  list.Add(&c, 7.0f);
  list.Add(&d, 9.0f);
  list.Add(&e, 7.0f);
  list.Sort();
  list.DrawAll();
  EXPECT_EQ(log, (std::vector<int>{4, 1, 3, 5, 2}));

  // One entry: nothing to sort.
  log.clear();
  list.Reset();
  list.Add(&c, 1.0f);
  list.Sort();
  list.DrawAll();
  EXPECT_EQ(log, (std::vector<int>{3}));
}

TEST(SortList, SixtyFifthAdditionIsDroppedAndMatricesAreCopied) {
  std::vector<int> log;
  std::vector<Probe> probes;
  probes.reserve(70);
  for (int i = 0; i < 70; ++i) probes.emplace_back(i, &log);
  SortList list;
  for (int i = 0; i < 70; ++i) list.Add(&probes[i], static_cast<float>(i));
  EXPECT_EQ(list.uCount, 64);
  list.Sort();
  list.DrawAll();
  ASSERT_EQ(log.size(), 64u);
  EXPECT_EQ(log.front(), 63);
  EXPECT_EQ(log.back(), 0);

  list.Reset();
  QMathMatrix m = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 42, 0, 0, 1}};
  list.AddWithMatrix(&probes[0], 1.0f, &m);
  m.m[12] = 7.0f;  // the list keeps its own copy
  list.DrawAll();
  EXPECT_EQ(probes[0].lastTranslationX, 42.0f);
  EXPECT_EQ(list.aEntries[0].uKind, 1u);
}

TEST(SortObject, ViewPositionIsTheTranslationInViewSpace) {
  Probe p(0, nullptr);
  p.mLocal.m[12] = 1.0f;
  p.mLocal.m[13] = 2.0f;
  p.mLocal.m[14] = 3.0f;
  const QMathMatrix saved = scene3d_mWorldToView;
  scene3d_mWorldToView.m[14] = 10.0f;  // the camera 10 units back
  p.ViewPositionCompute();
  EXPECT_EQ(p.oViewPosition.x, 1.0f);
  EXPECT_EQ(p.oViewPosition.z, 13.0f);
  scene3d_mWorldToView = saved;
}

}  // namespace
