#pragma once
// A renderer device that records what it is asked to do, with images kept
// in memory, for the scene's unit tests.
#include <cstdint>
#include <string>
#include <vector>

#include "render3d/q3d.h"

class MemoryImage : public Q3DImage {
 public:
  MemoryImage(int32_t w, int32_t h) : m_w(w), m_h(h), m_px(static_cast<size_t>(w) * h * 4, 0) {
    for (size_t i = 3; i < m_px.size(); i += 4) m_px[i] = 255;
  }
  ~MemoryImage() override = default;
  int32_t RowCount() const override { return m_h; }
  int32_t ColumnCount() const override { return m_w; }
  uint32_t Load(const char* pPath) override;
  void PixelGet(int32_t r, int32_t c, uint8_t* t) const override {
    ++gets;
    for (int k = 0; k < 4; ++k) t[k] = m_px[Index(r, c) + k];
  }
  void PixelPut(int32_t r, int32_t c, const uint8_t* t) override {
    for (int k = 0; k < 3; ++k) m_px[Index(r, c) + k] = t[k];
  }
  void CopyTo(Q3DImage*, int32_t, int32_t) const override {}
  void Fill(uint8_t r, uint8_t g, uint8_t b, uint8_t a) override {
    for (size_t i = 0; i < m_px.size(); i += 4) {
      m_px[i] = r;
      m_px[i + 1] = g;
      m_px[i + 2] = b;
      m_px[i + 3] = a;
    }
  }
  const uint8_t* At(int32_t r, int32_t c) const { return &m_px[Index(r, c)]; }
  mutable int32_t gets = 0;

 private:
  size_t Index(int32_t r, int32_t c) const { return (static_cast<size_t>(r) * m_w + c) * 4; }
  int32_t m_w, m_h;
  std::vector<uint8_t> m_px;
};

class RecordingDevice : public Q3DDevice {
 public:
  RecordingDevice() = default;
  ~RecordingDevice() override = default;
  std::vector<std::string> calls;
  // The first texel of every image registered (copied at registration).
  std::vector<std::vector<uint8_t>> registered;
  int32_t liveImages = 0;
  // Every texture or material set, in order.
  std::vector<const void*> textures;

  void Destroy() override {}
  void CameraSet(const Q3DCamera*) override { calls.push_back("CameraSet"); }
  uint32_t Initialise(void*) override { return 0; }
  void DisplayShut() override {}
  void BatchBegin(uint32_t f) override { calls.push_back("BatchBegin " + std::to_string(f)); }
  void BatchEnd() override { calls.push_back("BatchEnd"); }
  void SceneBegin() override { calls.push_back("SceneBegin"); }
  void Present(uint32_t f) override { calls.push_back("Present " + std::to_string(f)); }
  void BackgroundSet(uint8_t, uint8_t, uint8_t, uint8_t) override { calls.push_back("BackgroundSet"); }
  void Clear() override { calls.push_back("Clear"); }
  void SceneEnd() override { calls.push_back("SceneEnd"); }
  void ObjectDraw(const Q3DEdgeList*, const Q3DCamera*, uint32_t) override { calls.push_back("ObjectDraw"); }
  void MeshDraw(const Q3DFaceList* p, const Q3DCamera*, uint32_t c) override {
    calls.push_back("MeshDraw " + std::to_string(p->uCount) + " " + std::to_string(c));
  }
  void FaceListDraw(const Q3DQuadList*, const Q3DCamera*, uint32_t) override { calls.push_back("FaceListDraw"); }
  void ScreenQuadDraw(const Q3DScreenQuad* q, const Q3DCamera*, uint32_t) override {
    std::string s = "ScreenQuadDraw " + std::to_string(q->uKind);
    for (int k = 0; k < 4; ++k) s += " " + std::to_string(q->aiRect[k]);
    for (const Q3DColour& c : q->aColour)
      s += " " + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + "," + std::to_string(c.a);
    calls.push_back(s);
  }
  void VertexListDraw(const Q3DScreenVertex* v, uint32_t n, const Q3DCamera*, uint32_t) override {
    std::string s = "VertexListDraw " + std::to_string(n);
    for (uint32_t k = 0; k < n; ++k)
      s += " " + std::to_string(static_cast<int>(v[k].x)) + "," + std::to_string(static_cast<int>(v[k].y)) + "," +
           std::to_string(v[k].oColour.r) + "," + std::to_string(v[k].oColour.a);
    calls.push_back(s);
  }
  void TextureSet(const void* p) override {
    textures.push_back(p);
    calls.push_back(p != nullptr && static_cast<const Q3DObject*>(p)->uType == Q3D_TYPE_SPRITE_SHEET ? "TextureSet sheet"
                                                                                                     : "TextureSet");
  }
  void TextureRegister(Q3DImageTexture* t) override;
  void ParameterSet(uint32_t id, const void* p) override {
    std::string s = "ParameterSet " + std::to_string(id);
    if (id == Q3D_PARAM_FLAT_COLOUR) {
      const auto* c = static_cast<const Q3DColour*>(p);
      s += " " + std::to_string(c->r) + "," + std::to_string(c->g) + "," + std::to_string(c->b) + "," + std::to_string(c->a);
    }
    calls.push_back(s);
  }
  void RenderStateSet(uint32_t s, uint32_t v) override {
    calls.push_back("RenderStateSet " + std::to_string(s) + " " + std::to_string(v));
  }
  // Texel records scaled by the page size, so a test can tell the mapping ran.
  void TexelMap(Q3DTexel* d, const float* s, uint32_t w, uint32_t h) override {
    d->u = s[0] * static_cast<float>(w);
    d->v = s[1] * static_cast<float>(h);
  }
  uint32_t SheetCreate(Q3DSpriteSheet* p, const char*) override {
    p->iHandle = 0;
    return 0;
  }
  void SheetFree(Q3DSpriteSheet*) override { calls.push_back("SheetFree"); }
  void SheetSpriteDraw(Q3DSpriteSheet*, uint32_t f, int32_t x, int32_t y) override {
    calls.push_back("SheetSpriteDraw " + std::to_string(f) + " " + std::to_string(x) + " " + std::to_string(y));
  }
  uint32_t TextureLoad(Q3DTexture* t, const char*) override {
    t->iHandle = nextFont++;
    return 0;
  }
  int32_t nextFont = 0;
  void TextureFree(void*) override { calls.push_back("TextureFree"); }
  void TextDraw(Q3DTexture* f, int32_t x, int32_t y, uint32_t a, const char* t) override {
    calls.push_back("TextDraw " + std::to_string(f->iHandle) + " " + std::to_string(x) + " " + std::to_string(y) + " " +
                    std::to_string(a) + " " + t);
  }
  Q3DImage* ImageCreate(int32_t w, int32_t h) override {
    if (w <= 0 || h <= 0) return nullptr;
    ++liveImages;
    calls.push_back("ImageCreate " + std::to_string(w) + "x" + std::to_string(h));
    return new MemoryImage(w, h);
  }
  void ImageRelease(Q3DImage* p) override {
    if (p == nullptr) return;
    --liveImages;
    calls.push_back("ImageRelease");
    delete static_cast<MemoryImage*>(p);
  }
  void Flush() override {}
};
