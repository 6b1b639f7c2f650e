// Test-only renderer libraries. Built as "q3dglidedll" it reports Glide
// hardware from Initialise when KORVENA_FAKE_GLIDE_FOUND is set; built as
// "glide2x" it only has to exist (and exports no CreateDevice).
#include <cstdint>
#include <cstdlib>

#include "render3d/q3d.h"
#include "render3d/vidselect.h"

#ifdef KORVENA_FAKE_DEVICE
namespace {

class FakeDevice final : public Q3DDevice {
 public:
  void Destroy() override { delete this; }
  void CameraSet(const Q3DCamera*) override {}
  uint32_t Initialise(void* p) override {
    auto* block = static_cast<VidGlideBlock*>(p);
    const char* found = std::getenv("KORVENA_FAKE_GLIDE_FOUND");
    if (block != nullptr && block->bProbe) block->bHardwareFound = (found && *found == '1') ? 1 : 0;
    return 0;
  }
  void DisplayShut() override {}
  void BatchBegin(uint32_t) override {}
  void BatchEnd() override {}
  void SceneBegin() override {}
  void Present(uint32_t) override {}
  void BackgroundSet(uint8_t, uint8_t, uint8_t, uint8_t) override {}
  void Clear() override {}
  void SceneEnd() override {}
  void ObjectDraw(const Q3DEdgeList*, const Q3DCamera*, uint32_t) override {}
  void MeshDraw(const Q3DFaceList*, const Q3DCamera*, uint32_t) override {}
  void FaceListDraw(const Q3DQuadList*, const Q3DCamera*, uint32_t) override {}
  void ScreenQuadDraw(const Q3DScreenQuad*, const Q3DCamera*, uint32_t) override {}
  void VertexListDraw(const Q3DScreenVertex*, uint32_t, const Q3DCamera*, uint32_t) override {}
  void TextureSet(const void*) override {}
  void TextureRegister(Q3DImageTexture*) override {}
  void ParameterSet(uint32_t, const void*) override {}
  void RenderStateSet(uint32_t, uint32_t) override {}
  void TexelMap(Q3DTexel*, const float*, uint32_t, uint32_t) override {}
  uint32_t SheetCreate(Q3DSpriteSheet*, const char*) override { return 7; }
  void SheetFree(Q3DSpriteSheet*) override {}
  void SheetSpriteDraw(Q3DSpriteSheet*, uint32_t, int32_t, int32_t) override {}
  uint32_t TextureLoad(Q3DTexture*, const char*) override { return 7; }
  void TextureFree(void*) override {}
  void TextDraw(Q3DTexture*, int32_t, int32_t, uint32_t, const char*) override {}
  Q3DImage* ImageCreate(int32_t, int32_t) override { return nullptr; }
  void ImageRelease(Q3DImage*) override {}
  void Flush() override {}
};

}  // namespace

extern "C" __attribute__((visibility("default"))) Q3DDevice* CreateDevice(uint32_t) { return new FakeDevice; }
#else
extern "C" __attribute__((visibility("default"))) int KorvenaFakeGlideRuntime() { return 2; }

// Reads back, from the library's side, fields of records the program wrote:
// the camera's window, screen size, far distance and viewport, a vertex
// list's count, state and arrays, an image texture's handle, size and
// addressing, a material's colour and a screen quad's rectangle.
extern "C" __attribute__((visibility("default"))) void KorvenaLayoutRead(const Q3DCamera* c, const Q3DVertexList* v,
                                                                         const Q3DImageTexture* t,
                                                                         const Q3DMaterial* m,
                                                                         const Q3DScreenQuad* q, double* out) {
  out[0] = c->fLeft;
  out[1] = c->uWidth;
  out[2] = c->fFar;
  out[3] = c->mViewport.m[0];
  out[4] = c->aiScreenRect[2];
  out[5] = c->uFov;
  out[6] = v->uCount;
  out[7] = v->uState;
  out[8] = v->pScreen ? v->pScreen[1].x : -1.0;
  out[9] = v->uClipCapacity;
  out[10] = t->iHandle;
  out[11] = t->uHeight;
  out[12] = t->uAddressV;
  out[13] = static_cast<unsigned char>(t->aszSlotName[0][0]);
  out[14] = m->oColour.b;
  out[15] = m->pTexture == t ? 1 : 0;
  out[16] = q->aiRect[3];
  out[17] = q->aTexel[2].u;
}
#endif
