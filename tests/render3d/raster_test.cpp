// The span rasteriser, pixel by pixel: coverage against an edge-function
// model, shared edges drawn once, perspective-correct texturing against an
// exact model, the drawing modes and the depth buffer.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "renderers/raster.h"

namespace {

using q3dr::State;
using q3dr::Target;
using q3dr::Vertex;

struct Frame {
  Frame(int w, int h, bool depth) : w(w), h(h), px(static_cast<size_t>(w) * h, 0), z(depth ? px.size() : 0, 0xFFFF) {
    t.pPixels = px.data();
    t.iPitch = w;
    t.iWidth = w;
    t.iHeight = h;
    t.pDepth = depth ? z.data() : nullptr;
  }
  uint16_t at(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
  int w, h;
  std::vector<uint16_t> px;
  std::vector<uint16_t> z;
  Target t;
};

Vertex V(float x, float y, float z = 0.5f, float rhw = 1.0f, float u = 0, float v = 0) {
  return Vertex{x, y, z, rhw, u, v, 255, 255, 255, 255};
}

State Flat(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
  State s;
  s.eColour = q3dr::COLOUR_FLAT;
  s.eBlend = q3dr::BLEND_ALPHA;
  s.auFlat[0] = r;
  s.auFlat[1] = g;
  s.auFlat[2] = b;
  s.auFlat[3] = a;
  return s;
}

// Edge-function model: 1 inside, 0 outside, -1 too close to an edge to say.
int Covers(const Vertex& a, const Vertex& b, const Vertex& c, double px, double py) {
  auto edge = [](const Vertex& p, const Vertex& q, double x, double y) {
    return (static_cast<double>(q.x) - p.x) * (y - p.y) - (static_cast<double>(q.y) - p.y) * (x - p.x);
  };
  double e0 = edge(a, b, px, py), e1 = edge(b, c, px, py), e2 = edge(c, a, px, py);
  const double area = edge(a, b, c.x, c.y);
  if (area < 0) {
    e0 = -e0;
    e1 = -e1;
    e2 = -e2;
  }
  const double eps = 1e-3 * std::fabs(area) / 10.0 + 1e-6;
  if (std::fabs(e0) < eps || std::fabs(e1) < eps || std::fabs(e2) < eps) return -1;
  return (e0 > 0 && e1 > 0 && e2 > 0) ? 1 : 0;
}

TEST(Raster, SmallTriangleExactPixels) {
  Frame f(8, 8, false);
  q3dr::DrawTriangle(f.t, Flat(255, 255, 255), V(0, 0), V(4, 0), V(0, 4));
  // Row centres 0.5, 1.5, 2.5, 3.5 see the hypotenuse at x = 3.5, 2.5, 1.5, 0.5.
  const char* expect[] = {"XXX.....", "XX......", "X.......", "........"};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(f.at(x, y) != 0, expect[y][x] == 'X') << x << "," << y;
}

TEST(Raster, CoverageMatchesTheEdgeModelAndSharedEdgesDrawOnce) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> c(-20.0f, 84.0f);
  int compared = 0;
  for (int round = 0; round < 300; ++round) {
    // A fan of random triangles around a centre: every inner edge is shared.
    const float cx = c(rng), cy = c(rng);
    std::vector<Vertex> rim;
    const int n = 3 + round % 6;
    const float r = 5.0f + std::fabs(c(rng)) * 0.5f;
    for (int k = 0; k < n; ++k) {
      // Gaps below half a turn keep the centre inside: the fan never folds over.
      const double ang = 2 * M_PI * (k + 0.1 * std::sin(round + k)) / n;
      rim.push_back(V(cx + r * static_cast<float>(std::cos(ang)), cy + r * static_cast<float>(std::sin(ang))));
    }
    std::vector<int> count(64 * 64, 0);
    for (int k = 0; k < n; ++k) {
      Frame f(64, 64, false);
      const Vertex centre = V(cx, cy);
      q3dr::DrawTriangle(f.t, Flat(255, 255, 255), centre, rim[k], rim[(k + 1) % n]);
      for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
          const bool drawn = f.at(x, y) != 0;
          count[y * 64 + x] += drawn;
          const int m = Covers(centre, rim[k], rim[(k + 1) % n], x + 0.5, y + 0.5);
          if (m >= 0) {
            EXPECT_EQ(drawn, m == 1) << "round " << round << " pixel " << x << "," << y;
            ++compared;
          }
        }
    }
    for (int v : count) ASSERT_LE(v, 1) << "a pixel of a shared edge was drawn twice, round " << round;
  }
  EXPECT_GT(compared, 100000);
}

TEST(Raster, PerspectiveCorrectTexturing) {
  // A 32 x 32 texture whose texel (u, v) is red u, green 2v in 5-6-5.
  std::vector<uint8_t> rgba(32 * 32 * 4);
  for (int v = 0; v < 32; ++v)
    for (int u = 0; u < 32; ++u) {
      uint8_t* p = &rgba[(v * 32 + u) * 4];
      p[0] = static_cast<uint8_t>(u * 8);
      p[1] = static_cast<uint8_t>(v * 8);
      p[2] = 8;
      p[3] = 255;
    }
  q3dr::Texture tex;
  q3dr::TextureFromRgba(&tex, rgba.data(), 32, 32, true, true);
  State s;
  s.pTexture = &tex;
  s.eColour = q3dr::COLOUR_WHITE;
  s.eBlend = q3dr::BLEND_KEY;
  // A floor receding from w = 1 at the bottom to w = 8 at the top.
  const Vertex a{10, 190, 0.1f, 1.0f, 0.0f, 0.0f, 255, 255, 255, 255};
  const Vertex b{190, 190, 0.1f, 1.0f, 1.0f, 0.0f, 255, 255, 255, 255};
  const Vertex c{120, 20, 0.9f, 0.125f, 0.9f, 1.0f, 255, 255, 255, 255};
  Frame f(200, 200, false);
  q3dr::DrawTriangle(f.t, s, a, b, c);
  int checked = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x) {
      if (Covers(a, b, c, x + 0.5, y + 0.5) != 1) continue;
      // Exact texture coordinates from screen-space barycentrics.
      const double px = x + 0.5, py = y + 0.5;
      const double area = (static_cast<double>(b.x) - a.x) * (c.y - a.y) - (static_cast<double>(c.x) - a.x) * (b.y - a.y);
      const double l1 = ((px - a.x) * (c.y - a.y) - (c.x - a.x) * (py - a.y)) / area;
      const double l2 = ((b.x - a.x) * (py - a.y) - (px - a.x) * (b.y - a.y)) / area;
      const double l0 = 1 - l1 - l2;
      const double w = l0 * a.rhw + l1 * b.rhw + l2 * c.rhw;
      const double u = (l0 * a.u * a.rhw + l1 * b.u * b.rhw + l2 * c.u * c.rhw) / w;
      const double v = (l0 * a.v * a.rhw + l1 * b.v * b.rhw + l2 * c.v * c.rhw) / w;
      const int eu = static_cast<int>(std::floor(u * 32)) & 31, ev = static_cast<int>(std::floor(v * 32)) & 31;
      const uint16_t p = f.at(x, y);
      const int gu = p >> 11, gv = ((p >> 5) & 63) >> 1;
      auto near = [](int a, int b) { int d = std::abs(a - b); return d <= 1 || d == 31; };
      EXPECT_TRUE(near(gu, eu)) << x << "," << y << " u " << gu << " expected " << eu;
      EXPECT_TRUE(near(gv, ev)) << x << "," << y << " v " << gv << " expected " << ev;
      ++checked;
    }
  EXPECT_GT(checked, 10000);
}

TEST(Raster, ModesKeyBlendMultiplyAndAlphaReference) {
  // Texels: magenta (the key), half-transparent red, opaque grey.
  const uint8_t rgba[] = {255, 0, 255, 255, 255, 0, 0, 128, 128, 128, 128, 255, 250, 4, 250, 255};
  q3dr::Texture tex;
  q3dr::TextureFromRgba(&tex, rgba, 4, 1, false, false);
  EXPECT_EQ(tex.auAlpha[0], 0);
  EXPECT_EQ(tex.auAlpha[3], 0);  // any red and blue >= 248 with green < 8
  EXPECT_EQ(tex.auAlpha[2], 255);
  auto quad = [&](const State& s, Frame* f) {
    const Vertex a{0, 0, 0, 1, 0, 0, 255, 255, 255, 255}, b{4, 0, 0, 1, 1, 0, 255, 255, 255, 255},
        c{4, 1, 0, 1, 1, 1, 255, 255, 255, 255}, d{0, 1, 0, 1, 0, 1, 255, 255, 255, 255};
    q3dr::DrawTriangle(f->t, s, a, b, c);
    q3dr::DrawTriangle(f->t, s, a, c, d);
  };
  const uint16_t below = q3dr::Pack565(40, 80, 160);
  State s;
  s.pTexture = &tex;
  s.eColour = q3dr::COLOUR_WHITE;

  Frame key(4, 1, false);
  std::fill(key.px.begin(), key.px.end(), below);
  s.eBlend = q3dr::BLEND_KEY;
  quad(s, &key);
  EXPECT_EQ(key.at(0, 0), below);                         // keyed: not drawn
  EXPECT_EQ(key.at(1, 0), q3dr::Pack565(255, 0, 0));      // alpha 128: drawn opaque
  EXPECT_EQ(key.at(2, 0), q3dr::Pack565(128, 128, 128));
  EXPECT_EQ(key.at(3, 0), below);

  Frame blend(4, 1, false);
  std::fill(blend.px.begin(), blend.px.end(), below);
  s.eBlend = q3dr::BLEND_ALPHA;
  quad(s, &blend);
  EXPECT_EQ(blend.at(0, 0), below);
  const uint16_t half = blend.at(1, 0);
  EXPECT_NEAR(half >> 11, ((255 + 40) / 2) >> 3, 1);
  EXPECT_NEAR((half >> 5) & 63, (80 / 2) >> 2, 1);
  EXPECT_EQ(blend.at(2, 0), q3dr::Pack565(128, 128, 128));

  Frame mul(4, 1, false);
  std::fill(mul.px.begin(), mul.px.end(), below);
  s.eBlend = q3dr::BLEND_MULTIPLY;
  quad(s, &mul);
  EXPECT_EQ(mul.at(0, 0), below);
  const uint16_t m = mul.at(2, 0);  // twice half grey keeps what was there
  EXPECT_NEAR(m >> 11, 40 >> 3, 1);
  EXPECT_NEAR(m & 31, 160 >> 3, 1);

  // Flat colour times texture, and the alpha reference.
  Frame tint(4, 1, false);
  std::fill(tint.px.begin(), tint.px.end(), below);
  s.eColour = q3dr::COLOUR_FLAT;
  s.eBlend = q3dr::BLEND_ALPHA;
  s.auFlat[0] = 255;
  s.auFlat[1] = 0;
  s.auFlat[2] = 0;
  s.auFlat[3] = 255;
  s.uAlphaRef = 200;
  quad(s, &tint);
  EXPECT_EQ(tint.at(1, 0), below);  // alpha 128 is below the reference
  EXPECT_EQ(tint.at(2, 0), q3dr::Pack565(128, 0, 0));
}

TEST(Raster, VertexColoursInterpolate) {
  Frame f(64, 1, false);
  State s;
  s.eColour = q3dr::COLOUR_VERTEX;
  const Vertex a{0, 0, 0, 1, 0, 0, 0, 0, 0, 255}, b{64, 0, 0, 1, 0, 0, 255, 0, 0, 255},
      c{64, 1, 0, 1, 0, 0, 255, 0, 0, 255}, d{0, 1, 0, 1, 0, 0, 0, 0, 0, 255};
  q3dr::DrawTriangle(f.t, s, a, b, c);
  q3dr::DrawTriangle(f.t, s, a, c, d);
  for (int x = 0; x < 64; ++x) {
    const int expected = static_cast<int>((x + 0.5) * 255.0 / 64.0 + 0.5) >> 3;
    EXPECT_NEAR(f.at(x, 0) >> 11, expected, 1) << x;
  }
  // Flat shading takes the first corner's colour.
  s.bFlatShade = true;
  q3dr::DrawTriangle(f.t, s, b, a, d);
  EXPECT_EQ(f.at(1, 0), q3dr::Pack565(255, 0, 0));
}

TEST(Raster, DepthBufferKeepsTheNearerSurface) {
  Frame z(16, 16, true), noz(16, 16, false);
  State nearS = Flat(255, 0, 0), farS = Flat(0, 0, 255);
  for (State* s : {&nearS, &farS}) {
    s->bDepthTest = true;
    s->bDepthWrite = true;
  }
  auto tri = [](float depth) { return std::vector<Vertex>{V(0, 0, depth), V(16, 0, depth), V(0, 16, depth)}; };
  const auto n = tri(0.2f), fa = tri(0.8f);
  for (Frame* f : {&z, &noz}) {
    q3dr::Clear(f->t, 0);
    q3dr::DrawTriangle(f->t, nearS, n[0], n[1], n[2]);
    q3dr::DrawTriangle(f->t, farS, fa[0], fa[1], fa[2]);
  }
  EXPECT_EQ(z.at(2, 2), q3dr::Pack565(255, 0, 0));
  EXPECT_EQ(noz.at(2, 2), q3dr::Pack565(0, 0, 255));
  // Back to front both agree.
  for (Frame* f : {&z, &noz}) {
    q3dr::Clear(f->t, 0);
    q3dr::DrawTriangle(f->t, farS, fa[0], fa[1], fa[2]);
    q3dr::DrawTriangle(f->t, nearS, n[0], n[1], n[2]);
  }
  EXPECT_EQ(z.px, noz.px);
  EXPECT_EQ(z.z[2 * 16 + 2], static_cast<uint16_t>(0.2f * 65535.0f + 0.5f));
}

TEST(Raster, LayersPassJustBehindTheStoredDepth) {
  Frame f(8, 8, true);
  State base = Flat(0, 255, 0);
  base.bDepthTest = base.bDepthWrite = true;
  q3dr::DrawTriangle(f.t, base, V(0, 0, 0.5f), V(8, 0, 0.5f), V(0, 8, 0.5f));
  State layer = Flat(255, 0, 0);
  layer.bDepthTest = true;
  layer.uDepthSlack = 24;
  // A hair behind: drawn. Well behind: hidden.
  q3dr::DrawTriangle(f.t, layer, V(0, 0, 0.5002f), V(8, 0, 0.5002f), V(0, 8, 0.5002f));
  EXPECT_EQ(f.at(1, 1), q3dr::Pack565(255, 0, 0));
  State blue = Flat(0, 0, 255);
  blue.bDepthTest = true;
  blue.uDepthSlack = 24;
  q3dr::DrawTriangle(f.t, blue, V(0, 0, 0.6f), V(8, 0, 0.6f), V(0, 8, 0.6f));
  EXPECT_EQ(f.at(1, 1), q3dr::Pack565(255, 0, 0));
  EXPECT_EQ(f.z[1 * 8 + 1], static_cast<uint16_t>(0.5f * 65535.0f + 0.5f));  // layers write no depth
}

// The ground's two layers (opaque vertex colours writing depth, a repeating
// texture multiplying what lies below) take quick paths of their own; the
// general ones must give the same pixels and depths: white corners times a
// texel are the texel, a white one-texel texture times a colour is the
// colour. Triangles in perspective cross the frame's edges and the depth
// range's ends.
TEST(Raster, TheGroundLayersQuickPathsAgreeWithTheGeneralOnes) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<float> pos(-24.0f, 88.0f), depth(-0.2f, 1.2f), rhw(0.05f, 1.0f), uv(-4.0f, 4.0f),
      colour(0.0f, 255.0f);
  std::vector<uint8_t> rgba(16 * 8 * 4);
  for (size_t i = 0; i < rgba.size(); ++i) rgba[i] = static_cast<uint8_t>(rng());
  q3dr::Texture grass, white;
  q3dr::TextureFromRgba(&grass, rgba.data(), 16, 8, true, true);
  const uint8_t one[4] = {255, 255, 255, 255};
  q3dr::TextureFromRgba(&white, one, 1, 1, false, false);
  int differing = 0, drawn = 0;
  for (int trial = 0; trial < 300; ++trial) {
    Frame quick(64, 48, true), general(64, 48, true);
    for (size_t i = 0; i < quick.px.size(); ++i) {
      quick.px[i] = general.px[i] = static_cast<uint16_t>(rng());
      quick.z[i] = general.z[i] = static_cast<uint16_t>(rng());
    }
    Vertex v[3];
    for (Vertex& c : v)
      c = Vertex{pos(rng), pos(rng) * 0.75f, depth(rng), rhw(rng), uv(rng), uv(rng), colour(rng), colour(rng),
                 colour(rng), 255.0f};
    State q, g;
    q.bDepthTest = g.bDepthTest = true;
    if (trial % 2 == 0) {
      // Shading: the colours, depth written.
      q.eColour = g.eColour = q3dr::COLOUR_VERTEX;
      q.eBlend = g.eBlend = q3dr::BLEND_ALPHA;
      q.bDepthWrite = g.bDepthWrite = true;
      g.pTexture = &white;
      q3dr::DrawTriangle(quick.t, q, v[0], v[1], v[2]);
      q3dr::DrawTriangle(general.t, g, v[0], v[1], v[2]);
    } else {
      // Grass: multiplied over its own plane's shading, drawn a hair behind
      // it, about as far as a layer may lie behind and still pass.
      if (trial % 4 == 1)
        for (Vertex& c : v) c.z = v[0].z;  // level: every pixel at one depth, right on the limit at times
      State base;
      base.eColour = q3dr::COLOUR_VERTEX;
      base.bDepthTest = base.bDepthWrite = true;
      q3dr::DrawTriangle(quick.t, base, v[0], v[1], v[2]);
      q3dr::DrawTriangle(general.t, base, v[0], v[1], v[2]);
      const float behind = static_cast<float>(20 + (trial / 2) % 9) / 65535.0f;
      for (Vertex& c : v) c.z += behind;
      q.pTexture = g.pTexture = &grass;
      q.eColour = q3dr::COLOUR_WHITE;
      g.eColour = q3dr::COLOUR_VERTEX;
      q.eBlend = g.eBlend = q3dr::BLEND_MULTIPLY;
      q.uDepthSlack = g.uDepthSlack = 24;
      const std::vector<uint16_t> before = quick.px;
      q3dr::DrawTriangle(quick.t, q, v[0], v[1], v[2]);
      drawn += quick.px != before;
      Vertex w[3] = {v[0], v[1], v[2]};
      for (Vertex& c : w) c.r = c.g = c.b = 255.0f;
      q3dr::DrawTriangle(general.t, g, w[0], w[1], w[2]);
    }
    differing += quick.px != general.px || quick.z != general.z;
  }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(drawn, 60);  // of 150 grass layers
}

TEST(Raster, LinesAndBadInput) {
  Frame f(16, 16, false);
  q3dr::DrawLine(f.t, Flat(255, 255, 255), V(1.5f, 1.5f), V(10.5f, 1.5f));
  for (int x = 0; x < 16; ++x) EXPECT_EQ(f.at(x, 1) != 0, x >= 1 && x <= 10) << x;
  q3dr::DrawLine(f.t, Flat(255, 255, 255), V(3.5f, 3.5f), V(3.5f, 40.5f));  // runs off the frame
  EXPECT_NE(f.at(3, 15), 0);
  Frame g(16, 16, false);
  const float nan = std::nanf("");
  q3dr::DrawTriangle(g.t, Flat(255, 255, 255), V(nan, 0), V(16, 0), V(0, 16));
  q3dr::DrawTriangle(g.t, Flat(255, 255, 255), V(-1e30f, 0), V(16, 0), V(0, 16));
  q3dr::DrawTriangle(g.t, Flat(255, 255, 255), V(0, 0), V(8, 8), V(16, 16));  // no area
  for (uint16_t p : g.px) EXPECT_EQ(p, 0);
}

}  // namespace
