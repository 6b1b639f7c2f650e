// The match's models: built from the authored sources, checked, read back
// by the game's PCS reader, and refused when a source is broken.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "modelart.h"
#include "scene3d/groundtab.h"
#include "scene3d/model.h"

namespace {

std::string Read(const std::string& rel) {
  std::ifstream in(std::string(KORVENA_SOURCE_DIR) + "/" + rel, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

struct Built {
  modelart::GoalSources g;
  modelart::ShellSources s;
  std::vector<modelart::OutModel> models;
};

const Built& Build() {
  static Built b = [] {
    Built out;
    std::string err;
    EXPECT_TRUE(modelart::GoalsParse(Read("assets/models/goals.txt"), out.g, err)) << err;
    EXPECT_TRUE(modelart::ShellsParse(Read("assets/models/stadiums.txt"), Read("assets/ground/looks.txt"), out.s, err))
        << err;
    out.models = modelart::BuildAll(out.g, out.s);
    return out;
  }();
  return b;
}

const modelart::Model* Find(const std::string& path) {
  for (const modelart::OutModel& m : Build().models)
    if (m.sPath == path) return &m.model;
  return nullptr;
}

TEST(Models, TheAuthoredSourcesBuildEveryModelAndPassTheirChecks) {
  const Built& b = Build();
  EXPECT_EQ(modelart::Validate(b.models, b.g), "");
  // 3 eras x 2 + the flag + 22 looks x 2.
  EXPECT_EQ(b.models.size(), 7u + 44u);
  for (const char* look : {"gen1", "gen16", "munich", "stadfran", "sansiro", "wembley", "training", "rosebowl", "fhad"}) {
    EXPECT_NE(Find(std::string("stadiums/") + look + ".pcs"), nullptr) << look;
    EXPECT_NE(Find(std::string("stadiums/SW") + look + ".pcs"), nullptr) << look;
  }
}

TEST(Models, EveryModelRoundTripsThroughTheGamesReader) {
  for (const modelart::OutModel& om : Build().models) {
    const std::vector<uint8_t> bytes = modelart::PcsBytes(om.model);
    ModelRecord* r = model_poPCSParse(bytes.data(), bytes.size(), om.sPath.c_str());
    ASSERT_NE(r, nullptr) << om.sPath << ": " << model_LastError();
    ASSERT_EQ(r->uVertexCount, om.model.aVertices.size());
    ASSERT_EQ(r->uFaceCount, om.model.aFaces.size());
    for (uint32_t i = 0; i < r->uFaceCount; ++i) {
      EXPECT_EQ(r->pFaces[i].auIndex[2], om.model.aFaces[i].c);
      EXPECT_EQ(r->pFaces[i].uPage, om.model.aFaces[i].uPage);
      EXPECT_EQ(r->pFaces[i].afUV[5], om.model.aFaces[i].uv[5]);
    }
    EXPECT_EQ(r->pVertices[r->uVertexCount - 1].y, om.model.aVertices.back().y);
    model_Free(r);
    // Cut short: refused.
    ModelRecord* cut = model_poPCSParse(bytes.data(), bytes.size() - 3, om.sPath.c_str());
    EXPECT_EQ(cut, nullptr) << om.sPath;
  }
}

TEST(Models, TheStandsLookDifferentAndTheFloodlightsStandWhereTheSceneLightsThem) {
  // Looks with more tiers and roofs have more faces.
  EXPECT_GT(Find("stadiums/munich.pcs")->aFaces.size(), Find("stadiums/gen1.pcs")->aFaces.size());
  // The lamp banks (page 3) are centred on the look table's floodlights.
  for (int look : {1, 17, 19}) {
    const StadiumLook& l = stadium3d_aLooks[look];
    const modelart::Model* m = Find(std::string("stadiums/") + l.szName + ".pcs");
    ASSERT_NE(m, nullptr);
    for (int i = 0; i < 4; ++i) {
      bool found = false;
      for (const modelart::Face& f : m->aFaces) {
        if (f.uPage != modelart::kPageLamps) continue;
        const modelart::Vec& a = m->aVertices[f.a];
        const modelart::Vec& c = m->aVertices[f.c];
        const float cx = 0.5f * (a.x + c.x), cy = 0.5f * (a.y + c.y), cz = 0.5f * (a.z + c.z);
        if (std::fabs(cy - l.fLightHeight) < 0.1f && std::hypot(cx - l.afLights[i][0], cz - l.afLights[i][1]) < 1.0f)
          found = true;
      }
      EXPECT_TRUE(found) << l.szName << " light " << i;
    }
  }
}

TEST(Models, TheSoftwareShellsAreSmallerHaveNoNightFacesAndPaintFromTheBackForward) {
  for (const modelart::OutModel& om : Build().models) {
    if (om.sPath.rfind("stadiums/SW", 0) != 0) continue;
    const modelart::Model& m = om.model;
    float last = 1e9f;
    int outOfOrder = 0;
    for (const modelart::Face& f : m.aFaces) {
      EXPECT_NE(f.uPage, 3u);
      EXPECT_NE(f.uPage, 7u);
      // How far out the face's centre lies (1 on the surround's edge).
      const modelart::Vec& a = m.aVertices[f.a];
      const modelart::Vec& b = m.aVertices[f.b];
      const modelart::Vec& c = m.aVertices[f.c];
      const float out = std::hypot((a.x + b.x + c.x) / 3 / 105.15728f, (a.z + b.z + c.z) / 3 / 73.15289f);
      outOfOrder += out > last + 0.6f;
      last = out;
    }
    // Faces come from the outside in; only a stand's end wall, drawn with
    // the back of its stand, may step back out.
    EXPECT_LE(outOfOrder, 2) << om.sPath;
  }
}

// Seen from above, a closed corner under roofed stands is roofed as well:
// halfway out between the roofs' fronts and the back wall, the highest face
// over the corner lies as high as the side stand's roof beside it (no sky
// between the two stands' roofs).
TEST(Models, ClosedCornersAreRoofedLikeTheirStands) {
  const modelart::ShellSources& s = Build().s;
  // The highest face a vertical line through (x, z) meets.
  auto highest = [](const modelart::Model& m, float x, float z) {
    float top = -1.0f;
    for (const modelart::Face& f : m.aFaces) {
      const modelart::Vec& a = m.aVertices[f.a];
      const modelart::Vec& b = m.aVertices[f.b];
      const modelart::Vec& c = m.aVertices[f.c];
      const float area = (b.x - a.x) * (c.z - a.z) - (c.x - a.x) * (b.z - a.z);
      if (std::fabs(area) < 1e-4f) continue;  // upright
      const float wb = ((x - a.x) * (c.z - a.z) - (c.x - a.x) * (z - a.z)) / area;
      const float wc = ((b.x - a.x) * (z - a.z) - (x - a.x) * (b.z - a.z)) / area;
      if (wb < 0 || wc < 0 || wb + wc > 1) continue;
      top = std::max(top, a.y + wb * (b.y - a.y) + wc * (c.y - a.y));
    }
    return top;
  };
  int checked = 0;
  for (const modelart::StandLook& l : s.aLooks) {
    if (l.iOpenCorners != 0 || l.iRoof == 0) continue;
    const modelart::Model* m = Find("stadiums/" + l.sName + ".pcs");
    ASSERT_NE(m, nullptr) << l.sName;
    const float out = s.fGap + s.fTierDepth * static_cast<float>(l.iTiers) * 0.75f;
    for (float sx : {-1.0f, 1.0f})
      for (float sz : {-1.0f, 1.0f}) {
        const float stand = highest(*m, sx * 100.0f, sz * (73.15289f + out));
        const float corner = highest(*m, sx * (105.15728f + 0.5f * out), sz * (73.15289f + 0.5f * out));
        EXPECT_NEAR(corner, stand, 1.0f) << l.sName << " corner " << sx << "," << sz;
      }
    ++checked;
  }
  EXPECT_GT(checked, 3);
}

TEST(Models, TheGoalFramesFitTheNetOfTheirEra) {
  const Built& b = Build();
  for (const modelart::Era& e : b.g.aEras) {
    const modelart::Model* posts = Find("goals/" + e.sName + "postb.pcs");
    const modelart::Model* bar = Find("goals/" + e.sName + "bar.pcs");
    ASSERT_NE(posts, nullptr);
    ASSERT_NE(bar, nullptr);
    // The bar lies on the posts, its underside at the crossbar's height.
    float top = 0, low = 100, wide = 0;
    for (const modelart::Vec& v : bar->aVertices) {
      top = std::max(top, v.y);
      low = std::min(low, v.y);
      wide = std::max(wide, std::fabs(v.x));
    }
    EXPECT_NEAR(low, b.g.fBar, e.fSize * 0.2f) << e.sName;
    EXPECT_NEAR(top, b.g.fBar + e.fSize, e.fSize * 0.2f) << e.sName;
    EXPECT_GT(wide, b.g.fWidth * 0.5f + e.fSize * 0.5f) << e.sName;
  }
  // Round posts with stanchions reach back to the net's ground depth.
  float deepest = 0;
  for (const modelart::Vec& v : Find("goals/74postb.pcs")->aVertices) deepest = std::max(deepest, v.z);
  EXPECT_NEAR(deepest, 1.46f + 0.6096f, 0.1f);
}

TEST(Models, BrokenSourcesAreRefusedWithTheirReason) {
  const std::string goals = Read("assets/models/goals.txt"), shells = Read("assets/models/stadiums.txt"),
                    looks = Read("assets/ground/looks.txt");
  auto swap = [](std::string s, const std::string& from, const std::string& to) {
    const size_t at = s.find(from);
    if (at != std::string::npos) s.replace(at, from.size(), to);
    return s;
  };
  modelart::GoalSources g;
  modelart::ShellSources s;
  std::string err;
  const struct {
    std::string text;
    const char* want;
  } badGoals[] = {
      {swap(goals, "era 74", "era 75"), "eras 62, 74 and 78"},
      {swap(goals, "section round", "section oval"), "square or round"},
      {swap(goals, "support box", "support rope"), "posts, stanchions or box"},
      {swap(goals, "size 0.127", "size 2"), "size"},
      {swap(goals, "net width", "nett width"), "unknown line"},
      {swap(goals, "cloth 0.4 0.3", "cloth 0.4"), "flag"},
      {swap(goals, "width 7.3152", "width 700"), "width (up to 20)"},
  };
  for (const auto& c : badGoals) {
    EXPECT_FALSE(modelart::GoalsParse(c.text, g, err)) << c.want;
    EXPECT_NE(err.find(c.want), std::string::npos) << err;
  }
  const struct {
    std::string text, looks;
    const char* want;
  } badShells[] = {
      {swap(shells, "lights gen5", "lights gen55"), looks, "no lights for the look gen5"},
      {swap(shells, "tier_depth 13", "tier_depth -1"), looks, "0 to 100"},
      {swap(shells, "lights gen7 -100 60 100 60 -100 -60 100 -60 40", "lights gen7 -100 60 100 60 -100 -60 100 -60 4000"), looks, "height up to 100"},
      {swap(shells, "lights munich -81.5", "lights munich x"), looks, "four x z pairs"},
      {shells, swap(looks, "gen3       2", "gen3       4"), "tiers 1-3"},
      {swap(shells, "shell gap", "shel gap"), looks, "unknown line"},
  };
  for (const auto& c : badShells) {
    EXPECT_FALSE(modelart::ShellsParse(c.text, c.looks, s, err)) << c.want;
    EXPECT_NE(err.find(c.want), std::string::npos) << err;
  }
}

TEST(Models, TheCheckerFindsBrokenModels) {
  Built b = Build();
  auto broken = [&](auto change) {
    std::vector<modelart::OutModel> m = b.models;
    change(m);
    return modelart::Validate(m, b.g);
  };
  auto at = [](std::vector<modelart::OutModel>& m, const std::string& p) -> modelart::Model& {
    for (modelart::OutModel& o : m)
      if (o.sPath == p) return o.model;
    return m[0].model;
  };
  EXPECT_NE(broken([&](auto& m) { at(m, "stadiums/gen1.pcs").aFaces[0].c = 1u << 30; }).find("past the vertex"),
            std::string::npos);
  EXPECT_NE(broken([&](auto& m) { at(m, "stadiums/gen1.pcs").aFaces[0].uPage = 8; }).find("above 7"), std::string::npos);
  EXPECT_NE(broken([&](auto& m) { at(m, "stadiums/gen2.pcs").aFaces[0].uv[0] = 1.5f; }).find("outside its page"),
            std::string::npos);
  EXPECT_NE(broken([&](auto& m) { at(m, "goals/62bar.pcs").aVertices[0].x = 9.0f; }).find("goal's box"),
            std::string::npos);
  EXPECT_NE(broken([&](auto& m) { at(m, "stadiums/SWgen3.pcs").aFaces[0].uPage = 3; }).find("night faces"),
            std::string::npos);
  EXPECT_NE(broken([&](auto& m) {
              modelart::Model& s = at(m, "stadiums/gen4.pcs");
              for (modelart::Vec& v : s.aVertices) v = modelart::Vec{0, 1, 0};
            }).find("inside the surround"),
            std::string::npos);
  EXPECT_NE(broken([&](auto& m) { m.push_back(m[0]); }).find("built twice"), std::string::npos);
  EXPECT_NE(broken([&](auto& m) {
              modelart::Model& sw = at(m, "stadiums/SWgen5.pcs");
              const std::vector<modelart::Face> f = sw.aFaces;
              for (int i = 0; i < 4; ++i) sw.aFaces.insert(sw.aFaces.end(), f.begin(), f.end());
            }).find("not smaller"),
            std::string::npos);
}

}  // namespace
