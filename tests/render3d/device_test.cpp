// Both renderer libraries, loaded by DLL name from the executable's folder,
// drawing into a headless display: clipped and culled faces, screen shapes,
// keyed textures, text in both match fonts, sheet sprites and images,
// checked pixel by pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "display/qdl.h"
#include "display/qdl_context.h"
#include "display/qdl_device.h"
#include "display/qdl_image.h"
#include "render3d/q3d_camera.h"
#include "render3d/q3d_imagefile.h"
#include "render3d/q3d_transform.h"
#include "render3d/vidselect.h"
#include "render3d_env.h"
#include "support/golden.h"

namespace {

namespace fs = std::filesystem;

uint16_t C565(int r, int g, int b) { return static_cast<uint16_t>(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3)); }

// The display's pixels, row by row.
struct Shot {
  int w = 0, h = 0;
  std::vector<uint16_t> px;
  uint16_t at(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
  int count(int x0, int y0, int x1, int y1, uint16_t v) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += at(x, y) == v;
    return n;
  }
};

Shot Capture(QDLSurface* s) {
  Shot out;
  if (QDLSurfaceLock(s) != 0) return out;
  out.w = s->width;
  out.h = s->height;
  out.px.resize(static_cast<size_t>(out.w) * out.h);
  for (int y = 0; y < out.h; ++y) std::memcpy(&out.px[static_cast<size_t>(y) * out.w], s->pixels + static_cast<size_t>(y) * s->pitch, out.w * 2);
  QDLSurfaceUnlock(s);
  return out;
}

class Renderer : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { Open(640, 480); }
  void TearDown() override { Close(); }

  void Open(int w, int h) {
    ASSERT_EQ(QDLSetup(), 0u);
    const int32_t dev = std::strcmp(GetParam(), "q3dd3ddll.dll") == 0 ? 1 : 0;
    const int32_t mode = QDLFindMode(dev, w, h, 16, 0);
    ASSERT_GE(mode, 0);
    QDLContextModeSet(&ctx, dev, mode, QDLOPEN_WINDOWED);
    device = Q3DDeviceCreate(GetParam());
    ASSERT_NE(device, nullptr) << GetParam();
    ASSERT_EQ(Q3DDeviceInitialise(device, &ctx), 0u);
    ASSERT_NE(ctx.pDisplay, nullptr);
    const uint32_t size[2] = {static_cast<uint32_t>(w), static_cast<uint32_t>(h)};
    Q3DCameraSetScreen(&cam, size, 0.75f);
    device->CameraSet(&cam);
    device->RenderStateSet(11, 1);
    device->BackgroundSet(0, 0, 0, 0);
    device->SceneBegin();
    device->Clear();
  }

  void Close() {
    if (device) {
      device->DisplayShut();
      device->Destroy();
      device = nullptr;
    }
    Q3DDeviceUnload();
    QDLShutdown();
  }

  Shot Frame() {
    device->SceneEnd();
    return Capture(ctx.pDisplay);
  }

  // A quad of four world points drawn through the clip-space path.
  void Quad(const QMathVec3 (&p)[4], uint32_t mode, const uint8_t (&colour)[4], uint32_t flags = 0) {
    QMathVec3 pts[4] = {p[0], p[1], p[2], p[3]};
    Q3DVertexList vl;
    vl.pVertices = pts;
    vl.uCount = 4;
    Q3DQuad q{};
    q.auIndex[0] = 0;
    q.auIndex[1] = 1;
    q.auIndex[2] = 2;
    q.auIndex[3] = 3;
    Q3DQuadList ql;
    ql.uCount = 1;
    ql.uFlags = Q3D_FACES_NO_COLOURS | flags;
    ql.pVertexList = &vl;
    ql.pQuads = &q;
    QMathVec3 corners[8];
    Q3DBounds b;
    Q3DBoundsFromPoints(&b, pts, 4);
    std::memcpy(corners, b.aCorner, sizeof corners);
    const int32_t clip = model_iBoxOutcodes(corners, nullptr, &cam);
    if (clip == 0) Q3DVertexListProject(&vl, 0, 4, nullptr, &cam);
    else Q3DVertexListClipTransform(&vl, 0, 4, nullptr, &cam);
    device->BatchBegin(0);
    device->RenderStateSet(4, mode);
    device->ParameterSet(1, colour);
    if (clip != -1) device->FaceListDraw(&ql, &cam, static_cast<uint32_t>(clip));
    device->BatchEnd();
    Q3DVertexListRelease(&vl);
  }

  QDLContext ctx;
  Q3DCamera cam;
  Q3DDevice* device = nullptr;
};

TEST_P(Renderer, GroundClippedAgainstEveryPlane) {
  // A ground far wider than the view, from behind the eye to past the far plane.
  const QMathVec3 ground[4] = {{-2000, -1, -5}, {2000, -1, -5}, {2000, -1, 2000}, {-2000, -1, 2000}};
  const uint8_t green[4] = {0, 255, 0, 255};
  Quad(ground, 3, green);
  const Shot s = Frame();
  ASSERT_EQ(s.w, 640);
  const uint16_t g = C565(0, 255, 0);
  // The far plane cuts the ground just below the horizon (row 240.6).
  EXPECT_EQ(s.count(0, 242, 640, 480, g), 640 * 238);
  EXPECT_EQ(s.count(0, 0, 640, 240, 0), 640 * 240);
}

TEST_P(Renderer, OneSidedFacesShowOnlyTheirFront) {
  const uint8_t red[4] = {255, 0, 0, 255};
  // Clockwise on screen (x right, y down) as the viewer sees it.
  const QMathVec3 front[4] = {{-1, 1, 10}, {1, 1, 10}, {1, -1, 10}, {-1, -1, 10}};
  const QMathVec3 back[4] = {{-1, 1, 10}, {-1, -1, 10}, {1, -1, 10}, {1, 1, 10}};
  Quad(front, 3, red, Q3D_FACES_ONE_SIDED);
  Shot s = Frame();
  EXPECT_EQ(s.at(320, 240), C565(255, 0, 0));
  device->Clear();
  Quad(back, 3, red, Q3D_FACES_ONE_SIDED);
  s = Frame();
  EXPECT_EQ(s.at(320, 240), 0);
  device->Clear();
  Quad(back, 3, red);  // both sides
  s = Frame();
  EXPECT_EQ(s.at(320, 240), C565(255, 0, 0));
}

TEST_P(Renderer, FacesPastTheTransformedArraysAreSkipped) {
  QMathVec3 pts[4] = {{-1, 1, 10}, {1, 1, 10}, {1, -1, 10}, {-1, -1, 10}};
  Q3DVertexList vl;
  vl.pVertices = pts;
  vl.uCount = 4;
  for (int clip = 0; clip < 2; ++clip) {
    if (clip) Q3DVertexListClipTransform(&vl, 0, 4, nullptr, &cam);
    else Q3DVertexListProject(&vl, 0, 4, nullptr, &cam);
    vl.uCount = 500;  // raised without a new transform
    Q3DFace faces[2] = {{{0, 1, 2}, {}, 0}, {{0, 2, 499}, {}, 0}};
    Q3DFaceList fl;
    fl.uCount = 2;
    fl.pVertexList = &vl;
    fl.pFaces = faces;
    device->RenderStateSet(4, 3);
    const uint8_t red[4] = {255, 0, 0, 255};
    device->ParameterSet(1, red);
    device->MeshDraw(&fl, &cam, static_cast<uint32_t>(clip));
    vl.uCount = 4;
    const Shot s = Frame();
    EXPECT_EQ(s.at(330, 235), C565(255, 0, 0));  // the first face, inside the arrays
    EXPECT_EQ(s.at(310, 245), 0);                // the second one was skipped
    device->Clear();
  }
  Q3DVertexListRelease(&vl);
}

TEST_P(Renderer, ScreenShapes) {
  Q3DScreenQuad box;
  box.aiRect[0] = 10;
  box.aiRect[1] = 20;
  box.aiRect[2] = 30;
  box.aiRect[3] = 40;
  box.uKind = Q3D_QUAD_FLAT;
  const uint8_t blue[4] = {0, 0, 255, 255};
  device->RenderStateSet(11, 0);
  device->RenderStateSet(4, 3);
  device->ParameterSet(1, blue);
  device->ScreenQuadDraw(&box, &cam, 63);
  // Translucent box over it.
  box.aiRect[0] = 20;
  box.aiRect[2] = 40;
  const uint8_t white[4] = {255, 255, 255, 128};
  device->ParameterSet(1, white);
  device->ScreenQuadDraw(&box, &cam, 63);
  // A fan of 34 vertices: a disc around (320, 240).
  Q3DScreenVertex fan[34];
  Q3DScreenVertexReset(&fan[0]);
  fan[0].x = 320;
  fan[0].y = 240;
  for (int k = 1; k < 34; ++k) {
    Q3DScreenVertexReset(&fan[k]);
    const double a = 2 * M_PI * (k - 1) / 32.0;
    fan[k].x = static_cast<float>(320 + 50 * std::sin(a));
    fan[k].y = static_cast<float>(240 - 50 * std::cos(a));
    fan[k].oColour = Q3DColour{255, 255, 0, 255};
  }
  fan[0].oColour = Q3DColour{255, 255, 0, 255};
  device->RenderStateSet(4, 12);
  device->VertexListDraw(fan, 34, &cam, 63);
  device->VertexListDraw(fan, 35, &cam, 63);  // more than 34: nothing
  const Shot s = Frame();
  EXPECT_EQ(s.count(10, 20, 20, 40, C565(0, 0, 255)), 10 * 20);
  EXPECT_EQ(s.at(9, 25), 0);
  EXPECT_EQ(s.at(10, 40), 0);
  const uint16_t mix = s.at(25, 30);
  EXPECT_NEAR(mix >> 11, 16, 1);         // half white over blue
  EXPECT_NEAR(mix & 31, (31 + 31) / 2 + 0, 1);
  const uint16_t half = s.at(35, 30);  // half white over black
  EXPECT_NEAR(half >> 11, 16, 1);
  EXPECT_EQ(s.at(320, 240), C565(255, 255, 0));
  EXPECT_EQ(s.at(320, 195), C565(255, 255, 0));
  EXPECT_EQ(s.at(320, 185), 0);
  EXPECT_EQ(s.at(380, 240), 0);
}

TEST_P(Renderer, KeyedTextureAndImages) {
  // A 2 x 2 image: magenta, red / green, blue.
  Q3DImage* img = device->ImageCreate(2, 2);
  ASSERT_NE(img, nullptr);
  EXPECT_EQ(img->RowCount(), 2);
  EXPECT_EQ(img->ColumnCount(), 2);
  img->Fill(0, 0, 0, 255);
  const uint8_t texels[4][3] = {{255, 0, 255}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  for (int k = 0; k < 4; ++k) img->PixelPut(k / 2, k % 2, texels[k]);
  uint8_t got[4];
  img->PixelGet(1, 0, got);
  EXPECT_EQ(got[1], 255);
  EXPECT_EQ(got[3], 255);
  Q3DImageTexture tex;
  tex.apSlotImage[0] = img;
  tex.auSlotFlags[0] = 1;
  device->TextureRegister(&tex);
  EXPECT_GE(tex.iHandle, 0);
  device->ImageRelease(img);  // the device keeps its own copy
  tex.apSlotImage[0] = nullptr;
  Q3DMaterial mat(&tex);
  device->RenderStateSet(11, 0);
  device->RenderStateSet(4, 16);
  device->TextureSet(&mat);
  const uint8_t grey[4] = {60, 60, 60, 255};
  device->ParameterSet(1, grey);
  Q3DScreenQuad quad;  // kind 2, texels (0,0) (1,0) (1,1) (0,1)
  quad.aiRect[0] = 100;
  quad.aiRect[1] = 100;
  quad.aiRect[2] = 120;
  quad.aiRect[3] = 120;
  device->ScreenQuadDraw(&quad, &cam, 63);
  const Shot s = Frame();
  EXPECT_EQ(s.count(100, 100, 110, 110, 0), 100);  // the key: background shows
  EXPECT_EQ(s.count(110, 100, 120, 110, C565(255, 0, 0)), 100);
  EXPECT_EQ(s.count(100, 110, 110, 120, C565(0, 255, 0)), 100);
  EXPECT_EQ(s.count(110, 110, 120, 120, C565(0, 0, 255)), 100);
  device->TextureFree(&tex);
  EXPECT_EQ(tex.iHandle, -1);
}

TEST_P(Renderer, ImageFilesOfTheWrongSizeAreRefused) {
  const std::string path = (Render3DRoot() / "img.tga").string();
  const uint8_t rgba[3 * 2 * 4] = {1, 2, 3, 40, 5, 6, 7, 80, 9, 10, 11, 120, 13, 14, 15, 160, 17, 18, 19, 200, 21, 22, 23, 240};
  ASSERT_EQ(QDLTGAWriteBuffer(path.c_str(), rgba, 3, 2), 0u);
  Q3DImage* img = device->ImageCreate(3, 2);
  ASSERT_EQ(img->Load(path.c_str()), 0u);
  for (int k = 0; k < 6; ++k) {
    uint8_t t[4];
    img->PixelGet(k / 3, k % 3, t);
    EXPECT_EQ(0, std::memcmp(t, &rgba[k * 4], 4)) << k;  // alpha from the 32-bit file
  }
  Q3DImage* other = device->ImageCreate(4, 2);
  other->Fill(9, 9, 9, 9);
  EXPECT_NE(other->Load(path.c_str()), 0u);
  uint8_t t[4];
  other->PixelGet(1, 3, t);
  EXPECT_EQ(t[0], 9);
  EXPECT_EQ(t[3], 9);
  // Truncated and corrupted files are refused, the image kept.
  std::vector<char> bytes;
  {
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char buf[256];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
  }
  const std::string bad = (Render3DRoot() / "bad.tga").string();
  for (size_t n : {size_t{0}, size_t{5}, size_t{18}, bytes.size() - 1}) {
    FILE* f = std::fopen(bad.c_str(), "wb");
    std::fwrite(bytes.data(), 1, n, f);
    std::fclose(f);
    img->Fill(7, 7, 7, 7);
    EXPECT_NE(img->Load(bad.c_str()), 0u) << n;
    img->PixelGet(0, 0, t);
    EXPECT_EQ(t[0], 7);
  }
  EXPECT_NE(img->Load(nullptr), 0u);
  // The copy into another image is clipped to it.
  Q3DImage* big = device->ImageCreate(4, 4);
  big->Fill(0, 0, 0, 0);
  img->Load(path.c_str());
  img->CopyTo(big, 2, 3);
  big->PixelGet(3, 2, t);
  EXPECT_EQ(t[0], 1);
  big->PixelGet(3, 3, t);
  EXPECT_EQ(t[0], 5);
  EXPECT_EQ(device->ImageCreate(0, 5), nullptr);
  // Without the program's reader the display's reader loads the colours, opaque.
  const Q3DImageReadFunc none = nullptr;
  device->ParameterSet(Q3D_PARAM_IMAGE_READER, &none);
  img->Fill(0, 0, 0, 0);
  ASSERT_EQ(img->Load(path.c_str()), 0u);
  img->PixelGet(1, 2, t);
  EXPECT_EQ(t[0], 21);
  EXPECT_EQ(t[2], 23);
  EXPECT_EQ(t[3], 255);
  EXPECT_NE(other->Load(path.c_str()), 0u);
  device->ImageRelease(img);
  device->ImageRelease(other);
  device->ImageRelease(big);
}

TEST_P(Renderer, TextInBothMatchFontsAndSheetSprites) {
  for (const char* font : {"..\\data\\textures\\Fonts\\SWfont3a3.bmp", "..\\data\\textures\\Fonts\\24pt.tga"}) {
    Q3DTexture tex;
    ASSERT_EQ(device->TextureLoad(&tex, font), 0u) << font;
    device->RenderStateSet(11, 0);
    device->RenderStateSet(4, 33);
    const uint8_t yellow[4] = {255, 255, 0, 255};
    device->ParameterSet(1, yellow);
    device->Clear();
    device->TextDraw(&tex, 100, 100, 0, "AB");
    device->TextDraw(&tex, 400, 100, 1, "AB");
    device->TextDraw(&tex, 300, 300, 2, "W");
    Shot s = Frame();
    auto lit = [&](int x0, int y0, int x1, int y1) {
      int n = 0;
      for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += s.at(x, y) != 0;
      return n;
    };
    EXPECT_GT(lit(100, 100, 116, 140), 10) << font;  // A in its cell
    EXPECT_GT(lit(116, 100, 132, 140), 10) << font;  // B in the next one
    EXPECT_GT(lit(368, 100, 400, 140), 20) << font;  // right-aligned: ends at 400
    EXPECT_GT(lit(292, 300, 308, 340), 10) << font;  // centred on 300
    // Nothing outside the three texts (a glyph wider than its cell may reach
    // a few pixels past it).
    EXPECT_EQ(lit(0, 0, 640, 480), lit(94, 96, 138, 150) + lit(362, 96, 406, 150) + lit(284, 296, 316, 350)) << font;
    device->TextureFree(&tex);
    EXPECT_EQ(tex.iHandle, -1);
  }
  Q3DSpriteSheet sheet;
  ASSERT_EQ(device->SheetCreate(&sheet, "..\\data\\textures\\Fonts\\font3a3.tga"), 0u);
  EXPECT_EQ(sheet.uFrameCount, 256u);
  device->Clear();
  device->SheetSpriteDraw(&sheet, 'M', 200, 200);
  device->SheetSpriteDraw(&sheet, 999, 10, 10);  // no such frame
  Shot s = Frame();
  int lit = 0, magenta = 0;
  for (uint16_t p : s.px) {
    lit += p != 0;
    magenta += p == C565(255, 0, 255);
  }
  EXPECT_GT(lit, 10);
  EXPECT_EQ(magenta, 0);
  EXPECT_GT(s.count(200, 200, 216, 240, 0), 0);
  device->SheetFree(&sheet);
  EXPECT_EQ(sheet.iHandle, -1);
  Q3DSpriteSheet none;
  EXPECT_NE(device->SheetCreate(&none, "..\\data\\textures\\no-such.tga"), 0u);
}

TEST_P(Renderer, DrawingGoesOnAfterSceneEndAndLines) {
  const uint8_t white[4] = {255, 255, 255, 255};
  device->RenderStateSet(4, 3);
  device->ParameterSet(1, white);
  // Edge list: a segment crossing the near plane and one wholly visible.
  QMathVec3 pts[4] = {{0, -1, 10}, {0, -1, -10}, {-2, 1, 10}, {2, 1, 10}};
  Q3DVertexList vl;
  vl.pVertices = pts;
  vl.uCount = 4;
  Q3DVertexListClipTransform(&vl, 0, 4, nullptr, &cam);
  uint32_t edges[2][2] = {{0, 1}, {2, 3}};
  Q3DEdgeList el;
  el.uCount = 2;
  el.pEdges = edges;
  el.pVertexList = &vl;
  device->BatchBegin(0);
  device->ObjectDraw(&el, &cam, 16);
  device->BatchEnd();
  // Edges of a list projected directly (wholly inside): a line at y = -2, z = 10.
  QMathVec3 low[2] = {{-2, -2, 10}, {2, -2, 10}};
  Q3DVertexList direct;
  direct.pVertices = low;
  direct.uCount = 2;
  Q3DVertexListProject(&direct, 0, 2, nullptr, &cam);
  uint32_t one[1][2] = {{0, 1}};
  Q3DEdgeList del;
  del.uCount = 1;
  del.pEdges = one;
  del.pVertexList = &direct;
  device->ObjectDraw(&del, &cam, 0);
  // A count raised without a new transform: the device reads only what exists.
  direct.uCount = 1000;
  one[0][1] = 999;
  device->ObjectDraw(&del, &cam, 0);
  direct.uCount = 2;
  one[0][1] = 1;
  const float lowRow = direct.pScreen[0].y;
  Q3DVertexListRelease(&direct);
  device->SceneEnd();
  // After the scene's end the overlay still draws.
  Q3DScreenQuad box;
  box.uKind = Q3D_QUAD_FLAT;
  box.aiRect[0] = 0;
  box.aiRect[1] = 0;
  box.aiRect[2] = 5;
  box.aiRect[3] = 5;
  device->ScreenQuadDraw(&box, &cam, 63);
  const Shot s = Frame();
  EXPECT_EQ(s.at(2, 2), C565(255, 255, 255));
  // The horizontal segment at y = 1, z = 10 crosses the centre column.
  int row = -1;
  for (int y = 0; y < 240; ++y)
    if (s.at(320, y) != 0) row = y;
  EXPECT_GT(row, 150);
  // The segment along the view axis below the eye, clipped at the near
  // plane, runs from row 304 off the bottom of the screen.
  EXPECT_EQ(s.at(319, 290), 0);
  EXPECT_NE(s.at(319, 320), 0);
  EXPECT_NE(s.at(319, 479), 0);
  EXPECT_NE(s.at(300, static_cast<int>(lowRow)), 0);
  // Present 0 keeps the frame; present 1 leaves the background for the next one.
  device->BackgroundSet(0, 0, 255, 0);
  device->Present(0);
  device->SceneBegin();
  Shot next = Frame();
  EXPECT_EQ(next.px, s.px);
  device->Present(1);
  device->SceneBegin();
  next = Frame();
  EXPECT_EQ(next.count(0, 0, 640, 480, C565(0, 0, 255)), 640 * 480);
  EXPECT_EQ(s.at(150, static_cast<int>(lowRow)), 0);  // the line spans x 192 to 448
  Q3DVertexListRelease(&vl);
  device->Present(0);
}


// ---- Golden images -----------------------------------------------------------

// Writes 5-6-5 pixels as a run-length 24-bit TGA, top row first.
bool WriteGolden(const std::string& path, const Shot& s) {
  std::vector<uint8_t> b = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, static_cast<uint8_t>(s.w), static_cast<uint8_t>(s.w >> 8),
                            static_cast<uint8_t>(s.h), static_cast<uint8_t>(s.h >> 8), 24, 0x20};
  auto rgb = [](uint16_t p, uint8_t* o) {
    o[0] = static_cast<uint8_t>((p & 31) << 3);
    o[1] = static_cast<uint8_t>(((p >> 5) & 63) << 2);
    o[2] = static_cast<uint8_t>((p >> 11) << 3);
  };
  for (int y = 0; y < s.h; ++y) {
    int x = 0;
    while (x < s.w) {
      int run = 1;
      while (x + run < s.w && run < 128 && s.at(x + run, y) == s.at(x, y)) ++run;
      uint8_t o[3];
      if (run > 1) {
        b.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
        rgb(s.at(x, y), o);
        b.insert(b.end(), o, o + 3);
        x += run;
        continue;
      }
      int lit = 1;
      while (x + lit < s.w && lit < 128 && s.at(x + lit, y) != s.at(x + lit - 1, y)) ++lit;
      b.push_back(static_cast<uint8_t>(lit - 1));
      for (int k = 0; k < lit; ++k) {
        rgb(s.at(x + k, y), o);
        b.insert(b.end(), o, o + 3);
      }
      x += lit;
    }
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
  return std::fclose(f) == 0 && ok;
}

// Every kind of drawing in one frame: a keyed textured quad, the ground
// crossing every plane, a fan, lines, text in both match fonts, a sheet
// sprite, translucent boxes, vertex colours and a culled face.
void DrawGoldenScene(Q3DDevice* device, Q3DCamera* cam) {
  const QMathVec3 ground[4] = {{-2000, -1, -5}, {2000, -1, -5}, {2000, -1, 2000}, {-2000, -1, 2000}};
  QMathVec3 pts[12] = {ground[0], ground[1], ground[2], ground[3], {-3, 2, 12}, {-1, 2, 12}, {-1, 0, 12}, {-3, 0, 12},
                       {1, 2, 12}, {1, 0, 12}, {3, 0, 12}, {3, 2, 12}};
  Q3DColour colours[12];
  for (int k = 0; k < 12; ++k) colours[k] = Q3DColour{static_cast<uint8_t>(40 + 17 * k), static_cast<uint8_t>(200 - 13 * k), static_cast<uint8_t>(60 + 11 * k), 255};
  Q3DVertexList vl;
  vl.pVertices = pts;
  vl.pColours = colours;
  vl.uCount = 12;
  Q3DVertexListClipTransform(&vl, 0, 12, nullptr, cam);
  Q3DQuad quads[3] = {};
  const uint16_t idx[3][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}};
  for (int q = 0; q < 3; ++q)
    for (int k = 0; k < 4; ++k) quads[q].auIndex[k] = idx[q][k];
  Q3DQuadList ql;
  ql.uFlags = 0;  // vertex colours
  ql.pVertexList = &vl;
  ql.pQuads = quads;
  ql.uCount = 2;
  device->BatchBegin(0);
  device->RenderStateSet(4, 4);
  device->FaceListDraw(&ql, cam, 63);
  // The third quad runs anticlockwise: one-sided, it is culled.
  ql.pQuads = &quads[2];
  ql.uCount = 1;
  ql.uFlags = Q3D_FACES_ONE_SIDED;
  device->FaceListDraw(&ql, cam, 63);
  device->BatchEnd();
  // Lines over the ground.
  uint32_t edges[2][2] = {{0, 2}, {1, 3}};
  Q3DEdgeList el;
  el.uCount = 2;
  el.pEdges = edges;
  el.pVertexList = &vl;
  const uint8_t white[4] = {255, 255, 255, 255};
  device->RenderStateSet(4, 3);
  device->ParameterSet(1, white);
  device->ObjectDraw(&el, cam, 63);
  device->SceneEnd();
  Q3DVertexListRelease(&vl);

  // 2D: a keyed texture, boxes, a fan, text and a sprite.
  device->RenderStateSet(11, 0);
  Q3DImage* img = device->ImageCreate(8, 8);
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 8; ++c) {
      const uint8_t t[3] = {static_cast<uint8_t>(r * 32), static_cast<uint8_t>(c * 32), static_cast<uint8_t>((r + c) % 3 == 0 ? 255 : 40)};
      const uint8_t key[3] = {255, 0, 255};
      img->PixelPut(r, c, (r == c) ? key : t);
    }
  Q3DImageTexture tex;
  tex.apSlotImage[0] = img;
  device->TextureRegister(&tex);
  device->ImageRelease(img);
  device->TextureSet(&tex);
  device->RenderStateSet(4, 16);
  Q3DScreenQuad quad;
  quad.aiRect[0] = 20;
  quad.aiRect[1] = 20;
  quad.aiRect[2] = 84;
  quad.aiRect[3] = 84;
  device->ScreenQuadDraw(&quad, cam, 63);
  device->RenderStateSet(4, 3);
  quad.uKind = Q3D_QUAD_FLAT;
  const uint8_t glass[4] = {40, 120, 255, 100};
  device->ParameterSet(1, glass);
  quad.aiRect[0] = 60;
  quad.aiRect[2] = 140;
  device->ScreenQuadDraw(&quad, cam, 63);
  quad.uKind = Q3D_QUAD_SHADED;
  quad.aColour[0] = Q3DColour{255, 0, 0, 200};
  quad.aColour[1] = Q3DColour{0, 255, 0, 200};
  quad.aColour[2] = Q3DColour{0, 0, 255, 200};
  quad.aColour[3] = Q3DColour{255, 255, 0, 200};
  quad.aiRect[0] = 150;
  quad.aiRect[2] = 230;
  device->RenderStateSet(4, 12);
  device->ScreenQuadDraw(&quad, cam, 63);
  Q3DScreenVertex fan[20];
  for (int k = 0; k < 20; ++k) {
    Q3DScreenVertexReset(&fan[k]);
    const double a = 2 * M_PI * (k - 1) / 18.0;
    fan[k].x = k == 0 ? 560.0f : static_cast<float>(560 + 40 * std::sin(a));
    fan[k].y = k == 0 ? 60.0f : static_cast<float>(60 - 40 * std::cos(a));
    fan[k].oColour = Q3DColour{static_cast<uint8_t>(k * 12), 80, static_cast<uint8_t>(255 - k * 12), 255};
  }
  device->VertexListDraw(fan, 20, cam, 63);
  int row = 0;
  for (const char* font : {"..\\data\\textures\\Fonts\\SWfont3a3.bmp", "..\\data\\textures\\Fonts\\24pt.tga"}) {
    Q3DTexture ft;
    if (device->TextureLoad(&ft, font) == 0) {
      device->RenderStateSet(4, 33);
      const uint8_t yellow[4] = {255, 255, 0, 255};
      device->ParameterSet(1, yellow);
      device->TextDraw(&ft, 320, 120 + row * 30, 2, "Korvena 1:0");
      device->TextureFree(&ft);
    }
    ++row;
  }
  Q3DSpriteSheet sheet;
  if (device->SheetCreate(&sheet, "..\\data\\textures\\Fonts\\font3a3.tga") == 0) {
    device->SheetSpriteDraw(&sheet, 'K', 600, 120);
    device->SheetFree(&sheet);
  }
  device->TextureFree(&tex);
}

TEST_P(Renderer, GoldenScene) {
  DrawGoldenScene(device, &cam);
  const Shot s = Frame();
  const bool z = std::strcmp(GetParam(), "q3dd3ddll.dll") == 0;
  const char* src = std::getenv("KORVENA_SOURCE_DIR");
  ASSERT_NE(src, nullptr);
  const std::string path = std::string(src) + "/tests/render3d/golden/" + (z ? "scene_zbuffer.tga" : "scene_software.tga");
  if (korvena_test::UpdatingGolden()) {
    ASSERT_TRUE(WriteGolden(path, s));
    GTEST_SKIP() << path << " rewritten, nothing compared";
  }
  std::vector<uint8_t> file;
  {
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr) << path << " (KORVENA_UPDATE_GOLDEN=1 makes it)";
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) file.insert(file.end(), buf, buf + n);
    std::fclose(f);
  }
  std::vector<uint8_t> rgba;
  int32_t w = 0, h = 0;
  ASSERT_EQ(Q3DImageDecodeTGA(file.data(), file.size(), &rgba, &w, &h), 0u);
  ASSERT_EQ(w, s.w);
  ASSERT_EQ(h, s.h);
  // A few levels per channel, and a small share of pixels beyond that.
  int differing = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint16_t p = s.at(x, y);
      const uint8_t* g = &rgba[(static_cast<size_t>(y) * w + x) * 4];
      const int dr = std::abs(((p >> 11) << 3) - g[0]), dg = std::abs((((p >> 5) & 63) << 2) - g[1]),
                db = std::abs(((p & 31) << 3) - g[2]);
      differing += (dr > 8 || dg > 8 || db > 8);
    }
  EXPECT_LE(differing, w * h / 500) << differing << " pixels differ from " << path;
}

INSTANTIATE_TEST_SUITE_P(BothDevices, Renderer, ::testing::Values("q3dswdll.dll", "q3dd3ddll.dll"));

// Opaque scenes drawn back to front look the same on both devices, and the
// z-buffered device gets the same picture from front to back.
TEST(BothRenderers, OpaqueScenesAgree) {
  auto draw = [](const char* dll, int32_t device, bool frontToBack, int w, int h) {
    EXPECT_EQ(QDLSetup(), 0u);
    QDLContext ctx;
    QDLContextModeSet(&ctx, device, QDLFindMode(device, w, h, 16, 0), QDLOPEN_WINDOWED);
    Q3DDevice* d = Q3DDeviceCreate(dll);
    EXPECT_NE(d, nullptr);
    EXPECT_EQ(d->Initialise(&ctx), 0u);
    Q3DCamera cam;
    const uint32_t size[2] = {static_cast<uint32_t>(w), static_cast<uint32_t>(h)};
    Q3DCameraSetScreen(&cam, size, 0.75f);
    d->CameraSet(&cam);
    d->BackgroundSet(10, 20, 30, 0);
    d->Clear();
    struct Box {
      float x, y, z;
      uint8_t c[4];
    } boxes[] = {{-3, -1, 40, {200, 0, 0, 255}}, {0, 0, 25, {0, 200, 0, 255}}, {3, 1.5f, 12, {0, 0, 200, 255}}};
    for (int i = 0; i < 3; ++i) {
      const Box& b = boxes[frontToBack ? 2 - i : i];
      QMathVec3 pts[4] = {{b.x - 2, b.y + 2, b.z}, {b.x + 2, b.y + 2, b.z}, {b.x + 2, b.y - 2, b.z}, {b.x - 2, b.y - 2, b.z}};
      Q3DVertexList vl;
      vl.pVertices = pts;
      vl.uCount = 4;
      Q3DVertexListProject(&vl, 0, 4, nullptr, &cam);
      Q3DQuad q{};
      for (int k = 0; k < 4; ++k) q.auIndex[k] = static_cast<uint16_t>(k);
      Q3DQuadList ql;
      ql.uCount = 1;
      ql.pVertexList = &vl;
      ql.pQuads = &q;
      d->RenderStateSet(4, 3);
      d->ParameterSet(1, b.c);
      d->FaceListDraw(&ql, &cam, 0);
      Q3DVertexListRelease(&vl);
    }
    d->SceneEnd();
    Shot s = Capture(ctx.pDisplay);
    d->DisplayShut();
    d->Destroy();
    Q3DDeviceUnload();
    QDLShutdown();
    return s;
  };
  const Shot sw = draw("q3dswdll.dll", 0, false, 640, 480);
  const Shot zb = draw("q3dd3ddll.dll", 1, false, 640, 480);
  const Shot zbFront = draw("q3dd3ddll.dll", 1, true, 640, 480);
  const Shot swFront = draw("q3dswdll.dll", 0, true, 640, 480);
  EXPECT_EQ(sw.px, zb.px);
  EXPECT_EQ(sw.px, zbFront.px);
  EXPECT_NE(sw.px, swFront.px);  // without depth the order shows
  EXPECT_EQ(sw.at(320, 240), C565(0, 200, 0));
  // The z-buffered device draws at 1024 x 768 as well.
  const Shot big = draw("q3dd3ddll.dll", 1, true, 1024, 768);
  ASSERT_EQ(big.w, 1024);
  EXPECT_EQ(big.at(512, 384), C565(0, 200, 0));
  EXPECT_EQ(big.at(2, 2), C565(10, 20, 30));
}

}  // namespace
