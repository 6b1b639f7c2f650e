// Rasteriser fill rate per drawing mode at 640 x 480 (one core), vertex
// transforms and clipping, and a renderer device's clear plus present.
#include <benchmark/benchmark.h>

#include "render_device.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "display/qdl.h"
#include "display/qdl_context.h"
#include "display/qdl_device.h"
#include "framework/math/qmatrix.h"
#include "framework/qdx_window.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "render3d/q3d_camera.h"
#include "render3d/q3d_imagefile.h"
#include "render3d/q3d_transform.h"
#include "render3d/vidselect.h"
#include "renderers/raster.h"

namespace {

using q3dr::State;
using q3dr::Vertex;

struct Frame {
  Frame() : px(640 * 480, 0), z(640 * 480, 0xFFFF) {
    t.pPixels = px.data();
    t.iPitch = 640;
    t.iWidth = 640;
    t.iHeight = 480;
  }
  std::vector<uint16_t> px, z;
  q3dr::Target t;
};

const q3dr::Texture& Tex() {
  static q3dr::Texture tex = [] {
    std::vector<uint8_t> rgba(256 * 256 * 4);
    for (int i = 0; i < 256 * 256; ++i) {
      rgba[i * 4] = static_cast<uint8_t>(i * 7);
      rgba[i * 4 + 1] = static_cast<uint8_t>(i >> 8);
      rgba[i * 4 + 2] = static_cast<uint8_t>(i * 13);
      rgba[i * 4 + 3] = static_cast<uint8_t>((i % 97) < 10 ? 0 : 200 + (i % 56));
    }
    q3dr::Texture t;
    q3dr::TextureFromRgba(&t, rgba.data(), 256, 256, true, true);
    return t;
  }();
  return tex;
}

// The rasteriser state of a drawing mode (render state 4), as the devices set it.
State ModeState(int mode, bool depth) {
  State s;
  s.bDepthTest = depth;
  switch (mode) {
    case 3: s.eColour = q3dr::COLOUR_FLAT; s.auFlat[3] = 255; break;
    case 4: s.eColour = q3dr::COLOUR_VERTEX; break;
    case 16: s.pTexture = &Tex(); s.eColour = q3dr::COLOUR_WHITE; s.eBlend = q3dr::BLEND_KEY; break;
    case 17: s.pTexture = &Tex(); s.eColour = q3dr::COLOUR_FLAT; break;
    case 18: s.pTexture = &Tex(); s.eColour = q3dr::COLOUR_WHITE; s.eBlend = q3dr::BLEND_MULTIPLY; break;
    case 32: s.pTexture = &Tex(); s.eColour = q3dr::COLOUR_WHITE; break;
    default: s.pTexture = &Tex(); s.eColour = q3dr::COLOUR_VERTEX; break;
  }
  s.bDepthWrite = depth && (mode == 3 || mode == 4 || mode == 16 || mode == 17);
  return s;
}

// Triangles of about `size` pixels a side at random places, in perspective.
std::vector<Vertex> Triangles(int count, float size) {
  std::mt19937 rng(42);
  std::uniform_real_distribution<float> x(0, 640), y(0, 480), d(-size, size), uv(0, 4), w(0.1f, 1.0f), c(0, 255);
  std::vector<Vertex> v;
  for (int i = 0; i < count; ++i) {
    const float cx = x(rng), cy = y(rng);
    for (int k = 0; k < 3; ++k)
      v.push_back(Vertex{cx + d(rng), cy + d(rng), w(rng), w(rng), uv(rng), uv(rng), c(rng), c(rng), c(rng), 200});
  }
  return v;
}

void Report(benchmark::State& state, double triangles, double pixels) {
  state.counters["tri/s"] = benchmark::Counter(triangles, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["Mpix/s"] = benchmark::Counter(pixels / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

// range(0): mode; range(1): depth buffer; range(2): triangle size.
void BM_RasterTriangles(benchmark::State& state) {
  Frame f;
  if (state.range(1)) f.t.pDepth = f.z.data();
  const State s = ModeState(static_cast<int>(state.range(0)), state.range(1) != 0);
  const std::vector<Vertex> v = Triangles(2000, static_cast<float>(state.range(2)));
  // Covered pixels, counted once with a plain fill.
  Frame probe;
  size_t covered = 0;
  {
    State flat = ModeState(3, false);
    for (size_t i = 0; i < v.size(); i += 3) {
      q3dr::DrawTriangle(probe.t, flat, v[i], v[i + 1], v[i + 2]);
      // Count and clear the triangle's bounding box only.
      const float x0 = std::min({v[i].x, v[i + 1].x, v[i + 2].x}), x1 = std::max({v[i].x, v[i + 1].x, v[i + 2].x});
      const float y0 = std::min({v[i].y, v[i + 1].y, v[i + 2].y}), y1 = std::max({v[i].y, v[i + 1].y, v[i + 2].y});
      for (int y = std::max(0, static_cast<int>(y0) - 1); y < std::min(480, static_cast<int>(y1) + 2); ++y)
        for (int x = std::max(0, static_cast<int>(x0) - 1); x < std::min(640, static_cast<int>(x1) + 2); ++x) {
          uint16_t& p = probe.px[static_cast<size_t>(y) * 640 + x];
          covered += p != 0;
          p = 0;
        }
    }
  }
  for (auto _ : state) {
    if (state.range(1)) std::fill(f.z.begin(), f.z.end(), 0xFFFF);
    for (size_t i = 0; i < v.size(); i += 3) q3dr::DrawTriangle(f.t, s, v[i], v[i + 1], v[i + 2]);
    benchmark::DoNotOptimize(f.px.data());
  }
  Report(state, 2000.0, static_cast<double>(covered));
}
BENCHMARK(BM_RasterTriangles)
    ->ArgNames({"mode", "z", "size"})
    ->ArgsProduct({{3, 4, 16, 17, 18, 32, 36}, {0, 1}, {12}})
    ->Args({16, 0, 40})
    ->Args({16, 1, 40})
    ->Unit(benchmark::kMicrosecond);

// The whole frame four times over (two triangles a layer, in perspective).
void BM_RasterFullScreen(benchmark::State& state) {
  Frame f;
  if (state.range(1)) f.t.pDepth = f.z.data();
  const State s = ModeState(static_cast<int>(state.range(0)), state.range(1) != 0);
  for (auto _ : state) {
    if (state.range(1)) std::fill(f.z.begin(), f.z.end(), 0xFFFF);
    for (int layer = 0; layer < 4; ++layer) {
      const float z = 0.9f - 0.2f * layer;
      const Vertex a{0, 0, z, 0.2f, 0, 0, 255, 0, 0, 255}, b{640, 0, z, 0.2f, 8, 0, 0, 255, 0, 255},
          c{640, 480, z, 1.0f, 8, 2, 0, 0, 255, 255}, d{0, 480, z, 1.0f, 0, 2, 255, 255, 0, 255};
      q3dr::DrawTriangle(f.t, s, a, b, c);
      q3dr::DrawTriangle(f.t, s, a, c, d);
    }
    benchmark::DoNotOptimize(f.px.data());
  }
  Report(state, 8.0, 4.0 * 640 * 480);
}
BENCHMARK(BM_RasterFullScreen)
    ->ArgNames({"mode", "z"})
    ->ArgsProduct({{3, 4, 16, 17, 18, 32, 36}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

// Vertices of a player-sized mesh in front of the camera.
struct Mesh {
  Mesh() {
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> d(-1.0f, 1.0f);
    for (QMathVec3& p : pts) p = {d(rng) * 30.0f, d(rng) * 2.0f, 40.0f + d(rng) * 30.0f};
    vl.pVertices = pts;
    vl.uCount = 1024;
    QMathMatrixIdentity(&obj);
  }
  ~Mesh() { Q3DVertexListRelease(&vl); }
  QMathVec3 pts[1024];
  Q3DVertexList vl;
  QMathMatrix obj;
  Q3DCamera cam;
};

void BM_VertexProject(benchmark::State& state) {
  Mesh m;
  for (auto _ : state) benchmark::DoNotOptimize(Q3DVertexListProject(&m.vl, 0, 1024, &m.obj, &m.cam));
  state.counters["vertices/s"] = benchmark::Counter(1024, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_VertexProject);

void BM_VertexClipTransform(benchmark::State& state) {
  Mesh m;
  for (auto _ : state) benchmark::DoNotOptimize(Q3DVertexListClipTransform(&m.vl, 0, 1024, &m.obj, &m.cam));
  state.counters["vertices/s"] = benchmark::Counter(1024, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_VertexClipTransform);

void BM_LineProjectClipped(benchmark::State& state) {
  Q3DCamera cam;
  Q3DLine line;
  const QMathVec3 a{-5.0f, 0.0f, 10.0f}, b{300.0f, 2.0f, -50.0f};
  for (auto _ : state) benchmark::DoNotOptimize(Q3DLineProject(&line, &a, &b, &cam));
  state.counters["lines/s"] = benchmark::Counter(1, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_LineProjectClipped);

// A renderer library on the headless display.
Q3DDevice* OpenDevice(const char* dll, QDLContext* ctx, std::string* why) {
  if (!bench_HeadlessWindowUp("korvena-bench-render3d", why)) return nullptr;
  return bench_RendererOpen(dll, ctx, why);
}

void BM_DeviceClearPresent(benchmark::State& state) {
  const char* dll = bench_RendererName(state);
  QDLContext ctx;
  Q3DDevice* d = bench_RendererOrSkip(state, &ctx, OpenDevice);
  if (d == nullptr) return;
  d->BackgroundSet(10, 20, 30, 0);
  for (auto _ : state) {
    d->SceneBegin();
    d->SceneEnd();
    d->Present(1);  // presents, then clears to the background
  }
  state.SetLabel(dll);
  bench_RendererClose(d);
}
BENCHMARK(BM_DeviceClearPresent)->ArgName("zbuffer")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A clipped mesh of 2000 triangles through the device (transform included).
void BM_DeviceMeshDraw(benchmark::State& state) {
  const char* dll = bench_RendererName(state);
  QDLContext ctx;
  Q3DDevice* d = bench_RendererOrSkip(state, &ctx, OpenDevice);
  if (d == nullptr) return;
  Mesh m;
  std::vector<Q3DFace> faces(2000);
  std::mt19937 rng(9);
  for (Q3DFace& f : faces) {
    const uint32_t a = rng() % 1000;
    const uint32_t b = a + 1 + static_cast<uint32_t>(rng() % 20), c = a + 2 + static_cast<uint32_t>(rng() % 3);
    f = Q3DFace{{a, b, c}, {{0, 0}, {1, 0}, {0, 1}}, 0};
  }
  Q3DFaceList fl;
  fl.uCount = 2000;
  fl.pVertexList = &m.vl;
  fl.pFaces = faces.data();
  d->CameraSet(&m.cam);
  d->RenderStateSet(4, 3);
  for (auto _ : state) {
    d->SceneBegin();
    d->Clear();
    Q3DVertexListClipTransform(&m.vl, 0, 1024, &m.obj, &m.cam);
    d->BatchBegin(0);
    d->MeshDraw(&fl, &m.cam, 63);
    d->BatchEnd();
    d->SceneEnd();
  }
  state.counters["tri/s"] = benchmark::Counter(2000, benchmark::Counter::kIsIterationInvariantRate);
  state.SetLabel(dll);
  bench_RendererClose(d);
}
BENCHMARK(BM_DeviceMeshDraw)->ArgName("zbuffer")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
