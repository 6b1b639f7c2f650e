// The renderer device over the span rasteriser.
#include "renderers/device.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "display/blit/qdl_blit.h"
#include "display/qdl_context.h"
#include "display/qdl_sheet.h"
#include "display/qdl_types.h"
#include "renderers/raster.h"

namespace q3dr {
namespace {

// The display library's operations as the service table holds them.
typedef uint32_t (*LockFn)(QDLSurface*);
typedef uint32_t (*PresentFn)(uint32_t);
typedef QDLSurface* (*LoadTgaFn)(QDLSurface*, const char*, uint32_t);
typedef uint32_t (*SurfaceFreeFn)(QDLSurface*);
typedef QDLSpriteBank* (*BankFromSheetsFn)(const QDLSheetDesc*, uint32_t);
typedef uint32_t (*BankFreeFn)(QDLSpriteBank*);
typedef uint32_t (*BlitFn)(QDLSurface*, QDLFrame*, int32_t, int32_t, uint32_t, QDLBlitParams*);
typedef QDLFont* (*FontCreateFn)(const char*, uint32_t, int32_t, int32_t);
typedef uint32_t (*FontFreeFn)(QDLFont*);

template <class F>
F Service(const QDLContext* c, uint32_t slot) {
  return c != nullptr ? reinterpret_cast<F>(c->services[slot]) : nullptr;
}

class Device;

class Image final : public Q3DImage {
 public:
  // A new image is opaque black.
  Image(Device* pDevice, int32_t w, int32_t h)
      : m_pDevice(pDevice), m_w(w), m_h(h), m_px(static_cast<size_t>(w) * h * 4, 0) {
    Fill(0, 0, 0, 255);
  }
  ~Image() override = default;
  int32_t RowCount() const override { return m_h; }
  int32_t ColumnCount() const override { return m_w; }
  uint32_t Load(const char* pPath) override;
  void PixelGet(int32_t row, int32_t column, uint8_t* p) const override {
    if (!Inside(row, column) || p == nullptr) return;
    std::memcpy(p, &m_px[Index(row, column)], 4);
  }
  void PixelPut(int32_t row, int32_t column, const uint8_t* p) override {
    if (!Inside(row, column) || p == nullptr) return;
    // Red, green and blue; alpha as well when the caller's texel holds it.
    std::memcpy(&m_px[Index(row, column)], p, 3);
  }
  void CopyTo(Q3DImage* pDest, int32_t x, int32_t y) const override {
    auto* d = static_cast<Image*>(pDest);
    if (d == nullptr) return;
    for (int32_t r = 0; r < m_h; ++r) {
      const int32_t dr = y + r;
      if (dr < 0 || dr >= d->m_h) continue;
      for (int32_t col = 0; col < m_w; ++col) {
        const int32_t dc = x + col;
        if (dc < 0 || dc >= d->m_w) continue;
        std::memcpy(&d->m_px[d->Index(dr, dc)], &m_px[Index(r, col)], 4);
      }
    }
  }
  void Fill(uint8_t r, uint8_t g, uint8_t b, uint8_t a) override {
    for (size_t i = 0; i < m_px.size(); i += 4) {
      m_px[i] = r;
      m_px[i + 1] = g;
      m_px[i + 2] = b;
      m_px[i + 3] = a;
    }
  }
  const uint8_t* Pixels() const { return m_px.data(); }

 private:
  bool Inside(int32_t row, int32_t column) const { return row >= 0 && column >= 0 && row < m_h && column < m_w; }
  size_t Index(int32_t row, int32_t column) const { return (static_cast<size_t>(row) * m_w + column) * 4; }
  Device* m_pDevice;
  int32_t m_w, m_h;
  std::vector<uint8_t> m_px;
};

class Device final : public Q3DDevice {
 public:
  explicit Device(bool zBuffered) : m_bZ(zBuffered) {}
  ~Device() override { ReleaseAll(); }

  QDLContext* Context() const { return m_pContext; }
  Q3DImageReadFunc Reader() const { return m_pfnRead; }

  void Destroy() override { delete this; }
  void CameraSet(const Q3DCamera* pCamera) override { m_pCamera = pCamera; }

  uint32_t Initialise(void* pTarget) override {
    m_pContext = static_cast<QDLContext*>(pTarget);
    if (m_pContext == nullptr) return 7;
    if (!m_pContext->servicesFilled && m_pContext->pfnSetup != nullptr && m_pContext->pfnSetup(m_pContext) != 0)
      return 7;
    QDLSurface* s = m_pContext->pDisplay;
    if (s == nullptr || s->bitsPerPixel != 16) return 7;
    m_pDisplay = s;
    if (m_bZ) m_depth.assign(static_cast<size_t>(s->width) * s->height, 0xFFFF);
    return 0;
  }

  void DisplayShut() override {
    Unlock();
    // The display's shut-down frees every font and sprite bank it made.
    m_fonts.clear();
    m_sheets.clear();
    if (m_pContext != nullptr && m_pContext->pfnShutdown != nullptr && m_pContext->servicesFilled)
      m_pContext->pfnShutdown(m_pContext);
    m_pDisplay = nullptr;
  }

  void BatchBegin(uint32_t) override {}
  void BatchEnd() override { Unlock(); }
  void SceneBegin() override {}
  void SceneEnd() override { Unlock(); }

  // Flag 1 (the hardware renderers' frames and every first frame) clears the
  // frame to the background colour and the depth buffer after presenting;
  // flag 0 keeps the frame (a loading screen drawn once stays under the clock).
  void Present(uint32_t uFlag) override {
    Unlock();
    if (auto fn = Service<PresentFn>(m_pContext, QDLSVC_PRESENT)) fn(0);
    if (uFlag == 1) {
      Clear();
      Unlock();
    }
  }

  void BackgroundSet(uint8_t r, uint8_t g, uint8_t b, uint8_t a) override { m_background = Q3DColour{r, g, b, a}; }

  void Clear() override {
    if (!Lock()) return;
    q3dr::Clear(m_target, Pack565(m_background.r, m_background.g, m_background.b));
  }

  void ObjectDraw(const Q3DEdgeList* pEdges, const Q3DCamera* pCamera, uint32_t) override {
    if (pEdges == nullptr || pEdges->pVertexList == nullptr || pEdges->pEdges == nullptr || !Lock()) return;
    const Q3DVertexList* vl = pEdges->pVertexList;
    const Q3DCamera* cam = pCamera ? pCamera : m_pCamera;
    State st = MakeState(true, false);
    st.pTexture = nullptr;
    const bool colours = (m_mode == 4 || m_mode == 12) && vl->pColours != nullptr;
    st.eColour = colours ? COLOUR_VERTEX : COLOUR_FLAT;
    st.eBlend = BLEND_ALPHA;
    st.uDepthSlack = 24;  // lines lie on the surfaces they mark
    const bool direct = !(vl->uState & Q3D_VL_CLIP_VALID) && (vl->uState & Q3D_VL_SCREEN_VALID) && vl->pScreen;
    const Q3DTexel none{0.0f, 0.0f};
    const uint32_t limit = Readable(vl);
    for (uint32_t e = 0; e < pEdges->uCount; ++e) {
      const uint32_t i0 = pEdges->pEdges[e][0], i1 = pEdges->pEdges[e][1];
      if (i0 >= limit || i1 >= limit) continue;
      if (direct) {
        DrawLine(m_target, st, ScreenCorner(vl, i0, &none, colours), ScreenCorner(vl, i1, &none, colours));
        continue;
      }
      ClipVertex v[2];
      if (!Corner(vl, i0, nullptr, colours, &v[0]) || !Corner(vl, i1, nullptr, colours, &v[1])) continue;
      DrawSegment(vl, cam, st, v, i0, i1);
    }
  }

  void MeshDraw(const Q3DFaceList* pFaces, const Q3DCamera* pCamera, uint32_t) override {
    if (pFaces == nullptr || pFaces->pVertexList == nullptr || pFaces->pFaces == nullptr || !Lock()) return;
    const Q3DVertexList* vl = pFaces->pVertexList;
    const bool colours = !(pFaces->uFlags & Q3D_FACES_NO_COLOURS) && vl->pColours != nullptr;
    const State st = MakeState(true, colours);
    const Q3DCamera* cam = pCamera ? pCamera : m_pCamera;
    const bool oneSided = (pFaces->uFlags & Q3D_FACES_ONE_SIDED) != 0;
    for (uint32_t f = 0; f < pFaces->uCount; ++f) {
      const Q3DFace& face = pFaces->pFaces[f];
      uint32_t idx[3];
      for (int k = 0; k < 3; ++k) idx[k] = face.auIndex[k];
      DrawFace(vl, cam, st, idx, face.aTexel, 3, colours, oneSided);
    }
  }

  void FaceListDraw(const Q3DQuadList* pQuads, const Q3DCamera* pCamera, uint32_t) override {
    if (pQuads == nullptr || pQuads->pVertexList == nullptr || pQuads->pQuads == nullptr || !Lock()) return;
    const Q3DVertexList* vl = pQuads->pVertexList;
    const bool colours = !(pQuads->uFlags & Q3D_FACES_NO_COLOURS) && vl->pColours != nullptr;
    const State st = MakeState(true, colours);
    const Q3DCamera* cam = pCamera ? pCamera : m_pCamera;
    const bool oneSided = (pQuads->uFlags & Q3D_FACES_ONE_SIDED) != 0;
    for (uint32_t f = 0; f < pQuads->uCount; ++f) {
      const Q3DQuad& q = pQuads->pQuads[f];
      uint32_t idx[4];
      for (int k = 0; k < 4; ++k) idx[k] = q.auIndex[k];
      DrawFace(vl, cam, st, idx, q.aTexel, 4, colours, oneSided);
    }
  }

  void ScreenQuadDraw(const Q3DScreenQuad* pQuad, const Q3DCamera*, uint32_t) override {
    if (pQuad == nullptr || !Lock()) return;
    const float l = static_cast<float>(pQuad->aiRect[0]), t = static_cast<float>(pQuad->aiRect[1]);
    const float r = static_cast<float>(pQuad->aiRect[2]), b = static_cast<float>(pQuad->aiRect[3]);
    const float xs[4] = {l, r, r, l}, ys[4] = {t, t, b, b};
    State st = MakeState(false, true);
    if (pQuad->uKind == Q3D_QUAD_SHADED) {
      st.pTexture = nullptr;
      st.eColour = COLOUR_VERTEX;
      st.eBlend = BLEND_ALPHA;
    } else if (pQuad->uKind == Q3D_QUAD_FLAT) {
      st.pTexture = nullptr;
      st.eColour = COLOUR_FLAT;
      st.eBlend = BLEND_ALPHA;
    }
    Vertex v[4];
    for (int k = 0; k < 4; ++k) {
      const Q3DColour& c = pQuad->aColour[k];
      v[k] = Vertex{xs[k], ys[k], 0.0f, 1.0f, pQuad->aTexel[k].u, pQuad->aTexel[k].v, float(c.r), float(c.g),
                    float(c.b), float(c.a)};
    }
    DrawTriangle(m_target, st, v[0], v[1], v[2]);
    DrawTriangle(m_target, st, v[0], v[2], v[3]);
  }

  void VertexListDraw(const Q3DScreenVertex* p, uint32_t uCount, const Q3DCamera*, uint32_t) override {
    if (p == nullptr || uCount < 3 || uCount > 34 || !Lock()) return;
    const State st = MakeState(false, true);
    Vertex v[34];
    for (uint32_t k = 0; k < uCount; ++k) {
      const Q3DColour& c = p[k].oColour;
      v[k] = Vertex{p[k].x, p[k].y, 0.0f, 1.0f, p[k].u, p[k].v, float(c.r), float(c.g), float(c.b), float(c.a)};
    }
    for (uint32_t k = 1; k + 1 < uCount; ++k) DrawTriangle(m_target, st, v[0], v[k], v[k + 1]);
  }

  void TextureSet(const void* pHandle) override {
    m_pTexture = nullptr;
    if (pHandle == nullptr) return;
    const auto* o = static_cast<const Q3DObject*>(pHandle);
    if (o->uType == Q3D_TYPE_PLAIN) {
      const auto* m = static_cast<const Q3DMaterial*>(pHandle);
      m_flat = m->oColour;
      if (m->pTexture != nullptr) m_pTexture = Lookup(m->pTexture->iHandle);
    } else if (o->uType == Q3D_TYPE_IMAGE_TEXTURE) {
      m_pTexture = Lookup(static_cast<const Q3DImageTexture*>(pHandle)->iHandle);
    }
  }

  void TextureRegister(Q3DImageTexture* t) override {
    if (t == nullptr) return;
    auto* img = static_cast<Image*>(t->apSlotImage[0]);
    auto tex = std::make_unique<Texture>();
    const bool ru = t->uAddressU == Q3D_ADDRESS_REPEAT, rv = t->uAddressV == Q3D_ADDRESS_REPEAT;
    if (img != nullptr && img->ColumnCount() > 0 && img->RowCount() > 0) {
      TextureFromRgba(tex.get(), img->Pixels(), img->ColumnCount(), img->RowCount(), ru, rv);
    } else {
      const uint8_t white[4] = {255, 255, 255, 255};
      TextureFromRgba(tex.get(), white, 1, 1, ru, rv);
    }
    if (t->iHandle >= 0 && static_cast<size_t>(t->iHandle) < m_textures.size()) {
      m_textures[static_cast<size_t>(t->iHandle)] = std::move(tex);
      return;
    }
    for (size_t i = 0; i < m_textures.size(); ++i)
      if (!m_textures[i]) {
        m_textures[i] = std::move(tex);
        t->iHandle = static_cast<int32_t>(i);
        return;
      }
    m_textures.push_back(std::move(tex));
    t->iHandle = static_cast<int32_t>(m_textures.size() - 1);
  }

  void ParameterSet(uint32_t uId, const void* p) override {
    if (p == nullptr) return;
    if (uId == Q3D_PARAM_FLAT_COLOUR) std::memcpy(&m_flat, p, 4);
    else if (uId == Q3D_PARAM_SCALE) std::memcpy(m_scale, p, sizeof m_scale);
    else if (uId == Q3D_PARAM_IMAGE_READER) m_pfnRead = *static_cast<const Q3DImageReadFunc*>(p);
  }

  void RenderStateSet(uint32_t uState, uint32_t uValue) override {
    switch (uState) {
      case 2: m_flatShade = uValue == 1; break;
      case 3: m_alphaRef = uValue; break;
      case 4: m_mode = uValue; break;
      case 10: m_perspective = uValue != 0; break;
      case 11: m_3d = uValue != 0; break;
      default: break;
    }
  }

  void TexelMap(Q3DTexel* pDest, const float* pSource, uint32_t, uint32_t) override {
    if (pDest == nullptr || pSource == nullptr) return;
    pDest->u = pSource[0];
    pDest->v = pSource[1];
  }

  uint32_t SheetCreate(Q3DSpriteSheet* pSheet, const char* pPath) override {
    auto fn = Service<BankFromSheetsFn>(m_pContext, QDLSVC_SPRITE_BANK_FROM_SHEETS);
    if (pSheet == nullptr || pPath == nullptr || fn == nullptr) return 7;
    const QDLSheetDesc list[2] = {QDLSheetDesc{pPath, QDLSHEET_MODE_STRIPS, 0, 0, nullptr},
                                  QDLSheetDesc{nullptr, 0, 0, 0, nullptr}};
    QDLSpriteBank* bank = fn(list, 0);
    if (bank == nullptr) return 7;
    if (bank->frameCount <= 0) {
      if (auto f = Service<BankFreeFn>(m_pContext, QDLSVC_SPRITE_BANK_FREE)) f(bank);
      return 7;
    }
    pSheet->iHandle = static_cast<int32_t>(Slot(&m_sheets, bank));
    pSheet->uFrameCount = static_cast<uint32_t>(bank->frameCount);
    return 0;
  }

  void SheetFree(Q3DSpriteSheet* pSheet) override {
    if (pSheet == nullptr || pSheet->iHandle < 0 || static_cast<size_t>(pSheet->iHandle) >= m_sheets.size()) return;
    QDLSpriteBank*& bank = m_sheets[static_cast<size_t>(pSheet->iHandle)];
    if (bank != nullptr)
      if (auto f = Service<BankFreeFn>(m_pContext, QDLSVC_SPRITE_BANK_FREE)) f(bank);
    bank = nullptr;
    pSheet->iHandle = -1;
    pSheet->uFrameCount = 0;
  }

  void SheetSpriteDraw(Q3DSpriteSheet* pSheet, uint32_t uFrame, int32_t x, int32_t y) override {
    if (pSheet == nullptr || pSheet->iHandle < 0 || static_cast<size_t>(pSheet->iHandle) >= m_sheets.size()) return;
    QDLSpriteBank* bank = m_sheets[static_cast<size_t>(pSheet->iHandle)];
    auto blit = Service<BlitFn>(m_pContext, QDLSVC_BLIT);
    if (bank == nullptr || blit == nullptr || m_pDisplay == nullptr) return;
    if (uFrame >= static_cast<uint32_t>(bank->frameCount)) return;
    Unlock();
    QDLBlitParams params{};
    params.colour = 0xF81F;  // the magenta background
    params.halveMask = 0x7BEF;
    blit(m_pDisplay, &bank->frames[uFrame], x, y, QDLBLIT_KEY, &params);
  }

  uint32_t TextureLoad(Q3DTexture* pTexture, const char* pPath) override {
    auto fn = Service<FontCreateFn>(m_pContext, QDLSVC_FONT_CREATE_FROM_SHEET);
    if (pTexture == nullptr || pPath == nullptr || fn == nullptr) return 7;
    QDLFont* font = fn(pPath, QDLSHEET_MODE_STRIPS, 0, 0);
    if (font == nullptr) return 7;
    pTexture->iHandle = static_cast<int32_t>(Slot(&m_fonts, font));
    // Text is laid out in 16-pixel cells across; down, a cell is as tall as
    // the font's glyphs, which are drawn from the cell's top.
    pTexture->uWidth = 16;
    int32_t height = 0;
    if (font->bank != nullptr)
      for (int32_t i = 0; i < font->bank->frameCount; ++i)
        if (font->bank->frames[i].height > height) height = font->bank->frames[i].height;
    pTexture->uHeight = static_cast<uint32_t>(height > 0 ? height : 16);
    return 0;
  }

  void TextureFree(void* p) override {
    if (p == nullptr) return;
    auto* o = static_cast<Q3DObject*>(p);
    if (o->uType == Q3D_TYPE_TEXTURE) {
      auto* t = static_cast<Q3DTexture*>(p);
      if (t->iHandle >= 0 && static_cast<size_t>(t->iHandle) < m_fonts.size()) {
        QDLFont*& font = m_fonts[static_cast<size_t>(t->iHandle)];
        if (font != nullptr)
          if (auto f = Service<FontFreeFn>(m_pContext, QDLSVC_FONT_FREE)) f(font);
        font = nullptr;
      }
      t->iHandle = -1;
    } else if (o->uType == Q3D_TYPE_IMAGE_TEXTURE) {
      auto* t = static_cast<Q3DImageTexture*>(p);
      if (t->iHandle >= 0 && static_cast<size_t>(t->iHandle) < m_textures.size()) {
        if (m_pTexture == m_textures[static_cast<size_t>(t->iHandle)].get()) m_pTexture = nullptr;
        m_textures[static_cast<size_t>(t->iHandle)].reset();
      }
      t->iHandle = -1;
    }
  }

  void TextDraw(Q3DTexture* pFont, int32_t x, int32_t y, uint32_t uAlign, const char* pText) override {
    if (pFont == nullptr || pText == nullptr || pFont->iHandle < 0 ||
        static_cast<size_t>(pFont->iHandle) >= m_fonts.size() || m_pDisplay == nullptr)
      return;
    QDLFont* font = m_fonts[static_cast<size_t>(pFont->iHandle)];
    auto blit = Service<BlitFn>(m_pContext, QDLSVC_BLIT);
    if (font == nullptr || font->bank == nullptr || blit == nullptr) return;
    const int32_t n = static_cast<int32_t>(std::strlen(pText));
    const int32_t width = 16 * n;
    int32_t left = x;
    if (uAlign == 1) left = x - width;
    else if (uAlign == 2) left = x - width / 2;
    Unlock();
    QDLBlitParams params{};
    params.colour = Pack565(m_flat.r, m_flat.g, m_flat.b);
    params.halveMask = 0x7BEF;
    const int32_t frames = font->bank->frameCount;
    for (int32_t i = 0; i < n; ++i) {
      const uint8_t code = static_cast<uint8_t>(pText[i]);
      if (code >= frames) continue;
      QDLFrame* f = &font->bank->frames[code];
      if (f->width <= 0 || f->encoding == QDLENC_NONE) continue;
      const int32_t gx = left + 16 * i + (16 - f->width) / 2;
      blit(m_pDisplay, f, gx, y, QDLBLIT_ALPHAMAP, &params);
    }
  }

  Q3DImage* ImageCreate(int32_t w, int32_t h) override {
    if (w <= 0 || h <= 0 || w > 4096 || h > 4096) return nullptr;
    return new Image(this, w, h);
  }

  void ImageRelease(Q3DImage* pImage) override { delete static_cast<Image*>(pImage); }

  void Flush() override { Unlock(); }

 private:
  struct ClipVertex {
    float x, y, z, w, u, v, r, g, b, a;
  };

  template <class T>
  static size_t Slot(std::vector<T*>* pList, T* p) {
    for (size_t i = 0; i < pList->size(); ++i)
      if ((*pList)[i] == nullptr) {
        (*pList)[i] = p;
        return i;
      }
    pList->push_back(p);
    return pList->size() - 1;
  }

  void ReleaseAll() {
    Unlock();
    if (m_pContext != nullptr && m_pContext->servicesFilled) {
      if (auto f = Service<FontFreeFn>(m_pContext, QDLSVC_FONT_FREE))
        for (QDLFont* p : m_fonts)
          if (p) f(p);
      if (auto f = Service<BankFreeFn>(m_pContext, QDLSVC_SPRITE_BANK_FREE))
        for (QDLSpriteBank* p : m_sheets)
          if (p) f(p);
    }
    m_fonts.clear();
    m_sheets.clear();
  }

  const Texture* Lookup(int32_t handle) const {
    if (handle < 0 || static_cast<size_t>(handle) >= m_textures.size()) return nullptr;
    return m_textures[static_cast<size_t>(handle)].get();
  }

  bool Lock() {
    if (m_locked) return true;
    auto lock = Service<LockFn>(m_pContext, QDLSVC_SURFACE_LOCK);
    if (m_pDisplay == nullptr || lock == nullptr || lock(m_pDisplay) != 0) return false;
    if (m_pDisplay->pixels == nullptr) {
      if (auto unlock = Service<LockFn>(m_pContext, QDLSVC_SURFACE_UNLOCK)) unlock(m_pDisplay);
      return false;
    }
    m_locked = true;
    m_target.pPixels = reinterpret_cast<uint16_t*>(m_pDisplay->pixels);
    m_target.iPitch = m_pDisplay->pitch / 2;
    m_target.iWidth = m_pDisplay->width;
    m_target.iHeight = m_pDisplay->height;
    const size_t need = static_cast<size_t>(m_target.iWidth) * m_target.iHeight;
    if (m_bZ && m_depth.size() != need) m_depth.assign(need, 0xFFFF);
    m_target.pDepth = m_bZ ? m_depth.data() : nullptr;
    return true;
  }

  void Unlock() {
    if (!m_locked) return;
    if (auto unlock = Service<LockFn>(m_pContext, QDLSVC_SURFACE_UNLOCK)) unlock(m_pDisplay);
    m_locked = false;
    m_target.pPixels = nullptr;
  }

  // The rasteriser state for the current mode. threeD: a scene draw (depth
  // applies); colours: the corners carry colours of their own.
  State MakeState(bool threeD, bool colours) const {
    State s;
    s.uAlphaRef = m_alphaRef;
    s.bPerspective = m_perspective;
    s.bFlatShade = m_flatShade;
    std::memcpy(s.auFlat, &m_flat, 4);
    const bool depth = m_bZ && threeD && m_3d;
    s.bDepthTest = depth;
    bool opaqueMode = false;
    switch (m_mode) {
      case 3:
        s.eColour = COLOUR_FLAT;
        s.eBlend = BLEND_ALPHA;
        opaqueMode = true;
        break;
      case 4:
      case 12:
        s.eColour = colours ? COLOUR_VERTEX : COLOUR_FLAT;
        s.eBlend = BLEND_ALPHA;
        opaqueMode = true;
        break;
      case 16:
        s.pTexture = m_pTexture;
        s.eColour = COLOUR_WHITE;
        s.eBlend = BLEND_KEY;
        opaqueMode = true;
        break;
      case 17:
      case 33:
        s.pTexture = m_pTexture;
        s.eColour = COLOUR_FLAT;
        s.eBlend = BLEND_ALPHA;
        opaqueMode = m_mode == 17;
        break;
      case 18:
        s.pTexture = m_pTexture;
        s.eColour = COLOUR_WHITE;
        s.eBlend = BLEND_MULTIPLY;
        break;
      case 20:
        s.pTexture = m_pTexture;
        s.eColour = colours ? COLOUR_VERTEX : COLOUR_WHITE;
        s.eBlend = BLEND_KEY;
        opaqueMode = true;
        break;
      case 32:
        s.pTexture = m_pTexture;
        s.eColour = COLOUR_WHITE;
        s.eBlend = BLEND_ALPHA;
        break;
      default:  // 36 and any other value
        s.pTexture = m_pTexture;
        s.eColour = colours ? COLOUR_VERTEX : COLOUR_FLAT;
        s.eBlend = BLEND_ALPHA;
        break;
    }
    s.bDepthWrite = depth && opaqueMode;
    // Layers that do not write depth are drawn over surfaces of their own plane.
    s.uDepthSlack = s.bDepthWrite ? 0 : 24;
    return s;
  }

  // One corner from the vertex list in clip space.
  bool Corner(const Q3DVertexList* vl, uint32_t i, const Q3DTexel* tx, bool colours, ClipVertex* out) const {
    if (!(vl->uState & Q3D_VL_CLIP_VALID) || vl->pClip == nullptr) return false;
    const Q3DClipCoord& c = vl->pClip[i];
    *out = ClipVertex{c.x, c.y, c.z, c.w, tx ? tx->u : 0.0f, tx ? tx->v : 0.0f, 255, 255, 255, 255};
    if (colours) {
      const Q3DColour& k = vl->pColours[i];
      out->r = k.r;
      out->g = k.g;
      out->b = k.b;
      out->a = k.a;
    }
    return true;
  }

  Vertex Project(const Q3DCamera* cam, const ClipVertex& c) const {
    const float* S = cam->mViewport.m;
    return Vertex{(c.x * S[0] + c.w * S[12]) / c.w, (c.y * S[5] + c.w * S[13]) / c.w, c.z / c.w, 1.0f / c.w,
                  c.u, c.v, c.r, c.g, c.b, c.a};
  }

  static float Distance(const ClipVertex& v, uint32_t bit) {
    switch (bit) {
      case 1: return v.x;
      case 2: return v.w - v.x;
      case 4: return v.y;
      case 8: return v.w - v.y;
      case 16: return v.z;
      default: return v.w - v.z;
    }
  }

  static ClipVertex Lerp(const ClipVertex& a, const ClipVertex& b, float dA, float dB) {
    const float den = dA - dB;
    const float t = den == 0.0f ? 0.0f : dA / den;
    const float* pa = &a.x;
    const float* pb = &b.x;
    ClipVertex o;
    float* po = &o.x;
    for (int k = 0; k < 10; ++k) po[k] = pa[k] + t * (pb[k] - pa[k]);
    return o;
  }

  // Clips a polygon against the planes of mask; the result replaces it.
  static int ClipPolygon(ClipVertex* poly, int n, uint32_t mask) {
    ClipVertex tmp[16];
    for (uint32_t bit = 1; bit <= 32 && n > 0; bit <<= 1) {
      if (!(mask & bit)) continue;
      int m = 0;
      for (int i = 0; i < n; ++i) {
        const ClipVertex& a = poly[i];
        const ClipVertex& b = poly[(i + 1) % n];
        const float dA = Distance(a, bit), dB = Distance(b, bit);
        const bool inA = !std::signbit(dA), inB = !std::signbit(dB);
        if (inA && m < 16) tmp[m++] = a;
        if (inA != inB && m < 16) tmp[m++] = Lerp(a, b, dA, dB);
      }
      for (int i = 0; i < m; ++i) poly[i] = tmp[i];
      n = m;
    }
    return n;
  }

  // How many vertices the device may read: the list's count, within the
  // arrays the last transform made (an owner may raise the count without
  // transforming again).
  static uint32_t Readable(const Q3DVertexList* vl) {
    uint32_t n = vl->uCount;
    if (vl->uState & Q3D_VL_CLIP_VALID) {
      n = std::min({n, vl->uClipCapacity, vl->uOutcodeCapacity, vl->uScreenCapacity});
    } else if (vl->uState & Q3D_VL_SCREEN_VALID) {
      n = std::min(n, vl->uScreenCapacity);
    }
    return n;
  }

  void DrawFace(const Q3DVertexList* vl, const Q3DCamera* cam, const State& st, const uint32_t* idx,
                const Q3DTexel* texels, int n, bool colours, bool oneSided) {
    const uint32_t limit = Readable(vl);
    for (int k = 0; k < n; ++k)
      if (idx[k] >= limit) return;
    Vertex out[16];
    int count = 0;
    if ((vl->uState & Q3D_VL_CLIP_VALID) && vl->pOutcodes != nullptr && vl->pClip != nullptr) {
      uint32_t any = 0, all = Q3D_OUT_ALL;
      for (int k = 0; k < n; ++k) {
        any |= vl->pOutcodes[idx[k]];
        all &= vl->pOutcodes[idx[k]];
      }
      if (all != 0) return;
      if (any == 0) {
        for (int k = 0; k < n; ++k) out[k] = ScreenCorner(vl, idx[k], &texels[k], colours);
        count = n;
      } else {
        if (cam == nullptr) return;
        ClipVertex poly[16];
        for (int k = 0; k < n; ++k) Corner(vl, idx[k], &texels[k], colours, &poly[k]);
        count = ClipPolygon(poly, n, any);
        for (int k = 0; k < count; ++k) {
          if (!(poly[k].w > 0.0f)) return;
          out[k] = Project(cam, poly[k]);
        }
      }
    } else if ((vl->uState & Q3D_VL_SCREEN_VALID) && vl->pScreen != nullptr) {
      for (int k = 0; k < n; ++k) out[k] = ScreenCorner(vl, idx[k], &texels[k], colours);
      count = n;
    } else {
      return;
    }
    if (count < 3) return;
    if (oneSided) {
      float area = 0.0f;
      for (int k = 0; k < count; ++k) {
        const Vertex& a = out[k];
        const Vertex& b = out[(k + 1) % count];
        area += a.x * b.y - b.x * a.y;
      }
      if (!(area > 0.0f)) return;  // anticlockwise on screen: a back face
    }
    for (int k = 1; k + 1 < count; ++k) DrawTriangle(m_target, st, out[0], out[k], out[k + 1]);
  }

  Vertex ScreenCorner(const Q3DVertexList* vl, uint32_t i, const Q3DTexel* tx, bool colours) const {
    const Q3DScreenCoord& s = vl->pScreen[i];
    Vertex v{s.x, s.y, s.z, s.rhw, tx->u, tx->v, 255, 255, 255, 255};
    if (colours) {
      const Q3DColour& k = vl->pColours[i];
      v.r = k.r;
      v.g = k.g;
      v.b = k.b;
      v.a = k.a;
    }
    return v;
  }

  void DrawSegment(const Q3DVertexList* vl, const Q3DCamera* cam, const State& st, ClipVertex* v, uint32_t i0,
                   uint32_t i1) {
    const uint32_t o0 = vl->pOutcodes ? vl->pOutcodes[i0] : Q3D_OUT_ALL;
    const uint32_t o1 = vl->pOutcodes ? vl->pOutcodes[i1] : Q3D_OUT_ALL;
    if (o0 & o1) return;
    if (cam == nullptr) return;
    const uint32_t mask = o0 | o1;
    for (uint32_t bit = 1; bit <= 32; bit <<= 1) {
      if (!(mask & bit)) continue;
      const float d0 = Distance(v[0], bit), d1 = Distance(v[1], bit);
      const bool in0 = !std::signbit(d0), in1 = !std::signbit(d1);
      if (!in0 && !in1) return;
      if (!in0) v[0] = Lerp(v[0], v[1], d0, d1);
      else if (!in1) v[1] = Lerp(v[0], v[1], d0, d1);
    }
    if (!(v[0].w > 0.0f) || !(v[1].w > 0.0f)) return;
    DrawLine(m_target, st, Project(cam, v[0]), Project(cam, v[1]));
  }

  const bool m_bZ;
  QDLContext* m_pContext = nullptr;
  QDLSurface* m_pDisplay = nullptr;
  const Q3DCamera* m_pCamera = nullptr;
  bool m_locked = false;
  Target m_target;
  std::vector<uint16_t> m_depth;
  std::vector<std::unique_ptr<Texture>> m_textures;
  std::vector<QDLFont*> m_fonts;
  std::vector<QDLSpriteBank*> m_sheets;
  const Texture* m_pTexture = nullptr;
  Q3DImageReadFunc m_pfnRead = nullptr;
  Q3DColour m_background{0, 0, 0, 0};
  Q3DColour m_flat{255, 255, 255, 255};
  float m_scale[2] = {1.0f, 1.0f};
  uint32_t m_mode = 16;
  uint32_t m_alphaRef = 0;
  bool m_perspective = true;
  bool m_flatShade = false;
  bool m_3d = true;
};

uint32_t Image::Load(const char* pPath) {
  if (pPath == nullptr) return 7;
  // Only a file of exactly the image's size is taken: nothing is written
  // outside the image, and another size leaves it as it was.
  if (Q3DImageReadFunc read = m_pDevice->Reader()) {
    std::vector<uint8_t> tmp(m_px.size());
    const uint32_t r = read(pPath, m_w, m_h, tmp.data());
    if (r == 0) m_px.swap(tmp);
    return r;
  }
  QDLContext* c = m_pDevice->Context();
  auto load = Service<LoadTgaFn>(c, QDLSVC_IMAGE_LOAD_TGA);
  auto release = Service<SurfaceFreeFn>(c, QDLSVC_SURFACE_FREE);
  if (load == nullptr || release == nullptr) return 7;
  QDLSurface* s = load(nullptr, pPath, QDLIMAGE_MEMORY);
  if (s == nullptr) return 4;
  uint32_t result = 0;
  if (s->width != m_w || s->height != m_h || s->pixels == nullptr || s->bitsPerPixel != 32 ||
      s->redShift > 24 || s->greenShift > 24 || s->blueShift > 24) {
    result = 7;
  } else {
    // The display's 32-bit pixels by their shifts; its reader keeps no alpha.
    const uint32_t rs = s->redShift, gs = s->greenShift, bs = s->blueShift;
    for (int32_t r = 0; r < m_h; ++r) {
      const uint8_t* row = s->pixels + static_cast<size_t>(r) * s->pitch;
      for (int32_t col = 0; col < m_w; ++col) {
        uint32_t p;
        std::memcpy(&p, row + static_cast<size_t>(col) * 4, 4);
        uint8_t* o = &m_px[Index(r, col)];
        o[0] = static_cast<uint8_t>(p >> rs);
        o[1] = static_cast<uint8_t>(p >> gs);
        o[2] = static_cast<uint8_t>(p >> bs);
        o[3] = 255;
      }
    }
  }
  release(s);
  return result;
}

}  // namespace

Q3DDevice* NewDevice(bool zBuffered) { return new Device(zBuffered); }

}  // namespace q3dr
