#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "fake_device.h"
#include "framework/math/qmatrix.h"
#include "render3d/q3d_camera.h"
#include "scene3d/model.h"
#include "scene3d/scene3d_state.h"
#include "scene3d_test_env.h"

namespace {

namespace fs = std::filesystem;

// A model of v vertices and f faces whose records are all different.
struct Built {
  std::vector<QMathVec3> v;
  std::vector<ModelFace> f;
  std::vector<uint32_t> e;
  ModelRecord Record() {
    return ModelRecord{static_cast<uint32_t>(v.size()), static_cast<uint32_t>(f.size()),
                       static_cast<uint32_t>(e.size()), v.data(), f.data(), e.empty() ? nullptr : e.data()};
  }
};

Built Make(uint32_t nv, uint32_t nf, uint32_t ne, uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> d(-3.0f, 3.0f);
  Built b;
  for (uint32_t i = 0; i < nv; ++i) b.v.push_back(QMathVec3{d(rng), d(rng), d(rng)});
  for (uint32_t i = 0; i < nf; ++i) {
    ModelFace f{};
    for (uint32_t& k : f.auIndex) k = rng() % nv;
    f.uPage = rng() % 19;
    for (float& uv : f.afUV) uv = d(rng);
    b.f.push_back(f);
  }
  for (uint32_t i = 0; i < ne; ++i) b.e.push_back(static_cast<uint32_t>(rng()));
  return b;
}

void ExpectSame(const ModelRecord* m, const Built& b) {
  ASSERT_NE(m, nullptr) << model_LastError();
  ASSERT_EQ(m->uVertexCount, b.v.size());
  ASSERT_EQ(m->uFaceCount, b.f.size());
  ASSERT_EQ(m->uExtraCount, b.e.size());
  for (size_t i = 0; i < b.v.size(); ++i) EXPECT_EQ(std::memcmp(&m->pVertices[i], &b.v[i], 12), 0) << i;
  for (size_t i = 0; i < b.f.size(); ++i) EXPECT_EQ(std::memcmp(&m->pFaces[i], &b.f[i], 40), 0) << i;
  for (size_t i = 0; i < b.e.size(); ++i) EXPECT_EQ(m->pExtras[i], b.e[i]) << i;
}

TEST(ModelFiles, BytesFollowTheLayoutAndRoundTripThroughFiles) {
  // The exact bytes of a small PCS file, little-endian field by field.
  Built one;
  one.v = {{1.0f, 2.0f, -0.5f}};
  ModelFace f{{0, 0, 0}, 7, {0.25f, 0.5f, 1.0f, 0.0f, 0.0f, 1.0f}};
  one.f = {f};
  ModelRecord r = one.Record();
  const std::vector<uint8_t> pcs = model_PCSBytes(r);
  ASSERT_EQ(pcs.size(), 8u + 12u + 40u);
  const uint8_t head[] = {1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0x80, 0x3F, 0, 0, 0, 0x40, 0, 0, 0, 0xBF};
  EXPECT_EQ(std::memcmp(pcs.data(), head, sizeof head), 0);
  EXPECT_EQ(pcs[8 + 12 + 12], 7);  // the texture page
  EXPECT_EQ(pcs[8 + 12 + 16 + 3], 0x3E);  // u = 0.25

  for (uint32_t nf : {0u, 1u, 37u}) {
    Built b = Make(9, nf, 0, nf);
    ModelRecord rec = b.Record();
    ASSERT_EQ(model_bPCSSave("..\\data\\models\\prop.pcs", rec), 1);
    ModelRecord* m = model_poPCSLoad("prop.pcs");
    ExpectSame(m, b);
    model_Free(m);
  }
  for (uint32_t ne : {17u, 40u}) {
    Built b = Make(30, 12, ne, ne);
    ModelRecord rec = b.Record();
    ASSERT_EQ(model_bVSKSave("..\\data\\models\\players\\body.bin", rec), 1);
    ModelRecord* m = model_poVSKLoad("..\\data\\models\\players\\body.bin");
    ExpectSame(m, b);
    EXPECT_EQ(model_VSKBytes(*m).size(), 12u + 30 * 12 + 12 * 40 + ne * 4);
    model_Free(m);
  }
}

TEST(ModelFiles, RefusedFilesSayWhyAndReturnNull) {
  Built b = Make(6, 4, 17, 3);
  ModelRecord r = b.Record();
  const std::vector<uint8_t> vsk = model_VSKBytes(r), pcs = model_PCSBytes(r);
  // Every shorter prefix and one byte more are refused.
  for (size_t n = 0; n < vsk.size(); ++n) EXPECT_EQ(model_poVSKParse(vsk.data(), n, "cut"), nullptr) << n;
  for (size_t n = 0; n < pcs.size(); ++n) EXPECT_EQ(model_poPCSParse(pcs.data(), n, "cut"), nullptr) << n;
  std::vector<uint8_t> longer = pcs;
  longer.push_back(0);
  EXPECT_EQ(model_poPCSParse(longer.data(), longer.size(), "long"), nullptr);
  EXPECT_NE(std::string(model_LastError()).find("long"), std::string::npos);

  struct Case {
    const char* what;
    bool vsk;
    size_t offset;
    uint32_t value;
    const char* message;
  };
  const size_t faces = 12 + 6 * 12;
  const Case cases[] = {
      {"face index at the vertex count", true, faces + 40 + 4, 6, "names vertex 6 of 6"},
      {"face index far beyond", false, 8 + 6 * 12 + 8, 0xFFFFFFFFu, "names vertex 4294967295"},
      {"vertex count overflows the size", false, 0, 0x40000000u, "need"},
      {"face count too large", true, 4, 5, "need"},
      {"extra count too small", true, 8, 16, "need"},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = c.vsk ? vsk : pcs;
    for (int k = 0; k < 4; ++k) bytes[c.offset + k] = static_cast<uint8_t>(c.value >> (8 * k));
    ModelRecord* m = c.vsk ? model_poVSKParse(bytes.data(), bytes.size(), "x") : model_poPCSParse(bytes.data(), bytes.size(), "x");
    EXPECT_EQ(m, nullptr) << c.what;
    EXPECT_NE(std::string(model_LastError()).find(c.message), std::string::npos) << c.what << ": " << model_LastError();
  }
  // A body file with fewer than 17 segment entries, consistent in size.
  Built few = Make(6, 4, 16, 4);
  ModelRecord fr = few.Record();
  const std::vector<uint8_t> fewBytes = model_VSKBytes(fr);
  EXPECT_EQ(model_poVSKParse(fewBytes.data(), fewBytes.size(), "few"), nullptr);
  EXPECT_NE(std::string(model_LastError()).find("16 segment entries"), std::string::npos);
  // Missing files.
  EXPECT_EQ(model_poPCSLoad("absent.pcs"), nullptr);
  EXPECT_NE(std::string(model_LastError()).find("Failed to open PCS model file"), std::string::npos);
  EXPECT_EQ(model_poVSKLoad("..\\data\\models\\absent.bin"), nullptr);
  EXPECT_NE(std::string(model_LastError()).find("Failed to open VSK model file"), std::string::npos);
  // A good one clears the message.
  ModelRecord* ok = model_poVSKParse(vsk.data(), vsk.size(), "ok");
  EXPECT_NE(ok, nullptr);
  EXPECT_STREQ(model_LastError(), "");
  model_Free(ok);
}

TEST(ModelQuads, EachCornerIsMappedThroughTheDeviceWithThePageSize) {
  RecordingDevice dev;
  scene3d_poDevice = &dev;
  const ModelSourceQuad src[2] = {{{0, 1, 3, 2}, {0, 0, 1, 0, 1, 1, 0, 1}},
                                  {{4, 5, 7, 6}, {0.5f, 0.25f, 0.75f, 0.25f, 0.75f, 0.5f, 0.5f, 0.5f}}};
  Q3DQuad* q = nullptr;
  model_QuadsConvert(&q, src, 2, 32);
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(q[0].auIndex[2], 3);
  EXPECT_EQ(q[1].auIndex[3], 6);
  EXPECT_FLOAT_EQ(q[0].aTexel[1].u, 32.0f);
  EXPECT_FLOAT_EQ(q[1].aTexel[2].v, 16.0f);
  EXPECT_FLOAT_EQ(q[1].aTexel[0].u, 16.0f);
  delete[] q;
  scene3d_poDevice = nullptr;
}

// A unit cube of 8 vertices and 12 triangles as a prop file.
void WriteCube(const char* name) {
  Built b;
  for (int i = 0; i < 8; ++i)
    b.v.push_back(QMathVec3{(i & 1) ? 0.5f : -0.5f, (i & 2) ? 0.5f : -0.5f, (i & 4) ? 0.5f : -0.5f});
  const uint32_t tri[12][3] = {{0, 1, 3}, {0, 3, 2}, {4, 6, 7}, {4, 7, 5}, {0, 4, 5}, {0, 5, 1},
                               {2, 3, 7}, {2, 7, 6}, {0, 2, 6}, {0, 6, 4}, {1, 5, 7}, {1, 7, 3}};
  for (const auto& t : tri) b.f.push_back(ModelFace{{t[0], t[1], t[2]}, 0, {0, 0, 1, 0, 1, 1}});
  ModelRecord r = b.Record();
  ASSERT_EQ(model_bPCSSave((std::string("..\\data\\models\\") + name).c_str(), r), 1);
}

TEST(MeshObject, DrawsWhereVisibleAndNothingWithoutItsModel) {
  RecordingDevice dev;
  Q3DCamera cam;  // at the origin looking along +z, near 2
  Q3DCameraUpdate(&cam);
  scene3d_poDevice = &dev;
  scene3d_poCamera = &cam;
  QMathMatrixIdentity(&scene3d_mWorldToView);
  WriteCube("cube.pcs");
  Scene3DWriteTexture("flag.tga", 4, 2, std::vector<uint8_t>(24, 200));
  {
    MeshObject mesh("cube.pcs", "flag.tga");
    ASSERT_TRUE(mesh.bHasModel);
    EXPECT_EQ(mesh.oFaces.uCount, 12u);
    EXPECT_FLOAT_EQ(mesh.oFaces.pFaces[0].aTexel[1].u, 4.0f);  // mapped with the texture's size
    EXPECT_FLOAT_EQ(mesh.oFaces.pFaces[0].aTexel[2].v, 2.0f);
    struct Where {
      QMathVec3 at;
      int32_t visibility;
      std::vector<std::string> calls;
    };
    const Where cases[] = {
        {{0, 0, 10}, 0, {"BatchBegin 0", "TextureSet", "MeshDraw 12 0", "BatchEnd"}},
        {{0, 0, 2}, static_cast<int32_t>(Q3D_OUT_NEAR), {"BatchBegin 0", "TextureSet", "MeshDraw 12 16", "BatchEnd"}},
        {{0, 0, -10}, -1, {}},
    };
    for (const Where& w : cases) {
      dev.calls.clear();
      mesh.Place(&w.at, 0);
      EXPECT_FLOAT_EQ(mesh.oViewPosition.z, w.at.z);
      mesh.Draw();
      EXPECT_EQ(mesh.iVisibility, w.visibility) << w.at.z;
      EXPECT_EQ(dev.calls, w.calls) << w.at.z;
    }
    // A quarter turn about the vertical axis keeps the translation.
    const QMathVec3 at{3, 0, 20};
    mesh.Place(&at, 16384);
    EXPECT_FLOAT_EQ(mesh.mLocal.m[12], 3.0f);
    EXPECT_FLOAT_EQ(mesh.mLocal.m[14], 20.0f);
    EXPECT_NEAR(mesh.mLocal.m[0], 0.0f, 1e-4f);
  }
  {
    dev.calls.clear();
    MeshObject none("absent.pcs", "flag.tga");
    EXPECT_FALSE(none.bHasModel);
    const QMathVec3 at{0, 0, 10};
    none.Place(&at, 0);
    dev.calls.clear();
    none.Draw();
    EXPECT_TRUE(dev.calls.empty());
  }
  EXPECT_EQ(dev.liveImages, 0);
  scene3d_poDevice = nullptr;
  scene3d_poCamera = nullptr;
}

}  // namespace
