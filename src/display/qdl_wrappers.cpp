// Wrapper classes of the display context.
#include "display/qdl_wrappers.h"

#include <cstdlib>
#include <cstring>

#include "display/q2dx_internal.h"
#include "display/qdl.h"

namespace {

constexpr uint32_t kTextureMemory = 64u << 20;

uint32_t LowBit(uint32_t m) {
  if (!m) return 0;
  uint32_t n = 0;
  while (!(m & 1u)) {
    m >>= 1;
    ++n;
  }
  return n;
}

uint32_t Width(uint32_t m) {
  if (!m) return 0;
  m >>= LowBit(m);
  uint32_t n = 0;
  while (m & 1u) {
    m >>= 1;
    ++n;
  }
  return n;
}

void Identity(float* m) {
  for (int i = 0; i < 16; ++i) m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

QDLPixelFormatDesc Rgb(uint32_t bits, uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  QDLPixelFormatDesc f = {};
  f.flags = QDLPF_RGB | (a ? static_cast<uint32_t>(QDLPF_ALPHAPIXELS) : 0u);
  f.bitCount = bits;
  f.alphaMask = a;
  f.redMask = r;
  f.greenMask = g;
  f.blueMask = b;
  return f;
}

// Texture formats of the software renderer, in the order it reports them.
const QDLPixelFormatDesc kSoftwareTextureFormats[] = {
    Rgb(16, 0, 0xF800, 0x07E0, 0x001F),          // 5-6-5
    Rgb(16, 0, 0x7C00, 0x03E0, 0x001F),          // 5-5-5
    Rgb(16, 0x8000, 0x7C00, 0x03E0, 0x001F),     // 1-5-5-5
    Rgb(16, 0xF000, 0x0F00, 0x00F0, 0x000F),     // 4-4-4-4
    Rgb(16, 0xFF00, 0x00E0, 0x001C, 0x0003),     // 8-3-3-2
    Rgb(32, 0xFF000000u, 0xFF0000, 0xFF00, 0xFF),  // 8-8-8-8
    Rgb(32, 0, 0xFF0000, 0xFF00, 0xFF),          // x-8-8-8
};

}  // namespace

void QDDPixelFormatFill(QDDPixelFormat* p, const QDLPixelFormatDesc& f, uint32_t caps) {
  std::memset(p, 0, sizeof *p);
  p->paletted = (f.flags & QDLPF_PALETTEINDEXED8) ? 1 : 0;
  p->alpha = (f.flags & QDLPF_ALPHAPIXELS) ? 1 : 0;
  p->rgb = (f.flags & QDLPF_RGB) ? 1 : 0;
  p->yuv = 0;
  p->memoryKind = (caps & QDLCAPS_SYSTEMMEMORY) ? 1 : (caps & QDLCAPS_VIDEOMEMORY) ? 2 : 0;
  p->bitCount = p->paletted ? 8 : f.bitCount;
  if (!p->rgb) return;
  p->redBits = Width(f.redMask);
  p->greenBits = Width(f.greenMask);
  p->blueBits = Width(f.blueMask);
  p->alphaBits = Width(f.alphaMask);
  p->redLoss = 8 - p->redBits;
  p->greenLoss = 8 - p->greenBits;
  p->blueLoss = 8 - p->blueBits;
  p->alphaLoss = 8 - p->alphaBits;
  p->redShift = LowBit(f.redMask);
  p->greenShift = LowBit(f.greenMask);
  p->blueShift = LowBit(f.blueMask);
  p->alphaShift = LowBit(f.alphaMask);
}

// ---------------------------------------------------------------------------
// Surfaces

QDDSurface::~QDDSurface() { QDDSurface::Release(); }

void QDDSurface::Release() {
  // The display's back buffer belongs to the display, not to this object.
  if (pSurface && type != QDDSURFACE_DISPLAY && ownsSurface) Q2DXRelease(pSurface);
  pSurface = nullptr;
  ownsSurface = 0;
}

QDDTextureSurface::~QDDTextureSurface() = default;

uint32_t QDDSurface::Attach(Q2DXSurface* p) {
  pSurface = p;
  ownsSurface = 0;
  Q2DXSurfaceGetDesc(p, &desc);
  QDDPixelFormatFill(&format, desc.pixelFormat, desc.caps);
  return p ? 0 : 1;
}

uint32_t QDDSurface::FillFromWork(const uint8_t* pWork, int32_t width, int32_t height) {
  if (!pWork || Lock() != 0) return 1;
  uint32_t bits = format.bitCount;
  if (bits == 16 || bits == 32) {
    uint32_t bpp = bits / 8;
    int32_t w = width < desc.width ? width : desc.width;
    int32_t h = height < desc.height ? height : desc.height;
    // Rows are placed by the surface's pitch.
    for (int32_t y = 0; y < h; ++y) {
      uint8_t* pRow = static_cast<uint8_t*>(desc.surface) + static_cast<size_t>(y) * desc.pitch;
      for (int32_t x = 0; x < w; ++x) {
        const uint8_t* s = pWork + (static_cast<size_t>(y) * width + x) * 4;
        uint32_t v = ((static_cast<uint32_t>(s[0]) >> (8 - format.redBits)) << format.redShift) |
                     ((static_cast<uint32_t>(s[1]) >> (8 - format.greenBits)) << format.greenShift) |
                     ((static_cast<uint32_t>(s[2]) >> (8 - format.blueBits)) << format.blueShift);
        if (format.alpha && format.alphaBits)
          v |= (static_cast<uint32_t>(s[3]) >> (8 - format.alphaBits)) << format.alphaShift;
        for (uint32_t i = 0; i < bpp; ++i) pRow[x * bpp + i] = static_cast<uint8_t>(v >> (8 * i));
      }
    }
  }
  Unlock();
  return 0;
}

uint32_t QDDSurface::AttachedCount() { return pAttached ? 1 : 0; }

uint32_t QDDSurface::AttachedGet(uint32_t n, QDDSurfaceBase* pOut) {
  if (n >= AttachedCount() || !pOut) return AttachedCount();
  QDDSurface* o = static_cast<QDDSurface*>(pOut);
  o->Attach(pAttached->pSurface);
  o->pManager = pManager;
  return 0;
}

QDDSurfaceBase* QDDSurface::AttachedCreate(uint32_t n) {
  if (n >= AttachedCount()) return nullptr;
  QDDSurface* p = new QDDSurface;
  p->owned = 1;
  AttachedGet(n, p);
  return p;
}

uint32_t QDDSurface::Lock() {
  if (!pSurface) return 1;
  return Q2DXSurfaceLock(pSurface, format.memoryKind == 1 ? 1u : 0u, &desc) != 0 ? 1 : 0;
}

uint32_t QDDSurface::Unlock() { return pSurface ? Q2DXSurfaceUnlock(pSurface) : 1; }

uint32_t QDDSurface::AddAttached(QDDSurfaceBase* pOther) {
  pAttached = static_cast<QDDSurface*>(pOther);
  return 0;
}

int32_t QDDSurface::Width() { return desc.width; }
int32_t QDDSurface::Height() { return desc.height; }
int32_t QDDSurface::Bits() { return static_cast<int32_t>(format.bitCount); }
void QDDSurface::Size3(int32_t* pW, int32_t* pH, int32_t* pBits) {
  if (pW) *pW = desc.width;
  if (pH) *pH = desc.height;
  if (pBits) *pBits = static_cast<int32_t>(format.bitCount);
}
void QDDSurface::Size2(int32_t* pW, int32_t* pH) {
  if (pW) *pW = desc.width;
  if (pH) *pH = desc.height;
}

// ---------------------------------------------------------------------------
// Manager

QDDManager::~QDDManager() { Shutdown(); }

void QDDManager::Unlink(QDDObject* p) {
  if (!p || p->pManager != this) return;
  if (p->pPrev) p->pPrev->pNext = p->pNext;
  else if (pHead == p) pHead = p->pNext;
  if (p->pNext) p->pNext->pPrev = p->pPrev;
  else if (pTail == p) pTail = p->pPrev;
  p->pNext = p->pPrev = nullptr;
  p->pManager = nullptr;
  if (count) --count;
}

uint32_t QDDManager::Init() {
  if (initialised) return 0;
  const QDLDeviceInfo* d = QDLDeviceGet(static_cast<uint32_t>(QDLCurrentDevice() < 0 ? 0 : QDLCurrentDevice()));
  const Q2DXDriver* pDrv = Q2DXDriverGet(d ? d->driverIndex : 0);
  if (pDrv) {
    std::memcpy(driverDescription, pDrv->description, sizeof driverDescription);
    std::memcpy(driverName, pDrv->name, sizeof driverName);
    std::memcpy(driverGuid, pDrv->deviceIdentifier, 16);
    if (pDrv->modeCount) {
      pModes = static_cast<Q2DXMode*>(std::calloc(pDrv->modeCount, sizeof(Q2DXMode)));
      if (pModes) {
        std::memcpy(pModes, pDrv->modes, pDrv->modeCount * sizeof(Q2DXMode));
        modeCount = pDrv->modeCount;
      }
    }
  }
  initialised = 1;
  initialised2 = 1;
  textureMemory = TextureMemoryTotal();
  return 0;
}

uint32_t QDDManager::Shutdown() {
  if (!initialised) return 0;
  while (QDDObject* p = pHead) {
    Unlink(p);
    if (p->owned) delete p;
  }
  std::free(pModes);
  pModes = nullptr;
  modeCount = 0;
  initialised = initialised2 = 0;
  std::memset(driverDescription, 0, sizeof driverDescription);
  std::memset(driverName, 0, sizeof driverName);
  std::memset(driverGuid, 0, sizeof driverGuid);
  textureMemory = 0;
  return 0;
}

uint32_t QDDManager::TextureMemoryTotal() { return kTextureMemory; }
uint32_t QDDManager::TextureMemoryFree() { return kTextureMemory; }

uint32_t QDDManager::SurfaceRegister(QDDSurface* p, int32_t width, int32_t height, int32_t bits, uint32_t flags) {
  if (!p) return 1;
  Unlink(p);
  p->Release();
  p->pSurface = bits ? Q2DXSurfaceCreateFormat(width, height, bits, flags) : Q2DXSurfaceCreate(width, height, flags);
  p->ownsSurface = p->pSurface ? 1 : 0;
  p->pManager = this;
  Q2DXSurfaceGetDesc(p->pSurface, &p->desc);
  QDDPixelFormatFill(&p->format, p->desc.pixelFormat, p->desc.caps);
  if (!p->pNext && !p->pPrev && pHead != p) {
    p->pNext = pHead;
    if (pHead) pHead->pPrev = p;
    else pTail = p;
    pHead = p;
    ++count;
  }
  return p->pSurface ? 0 : 1;
}

QDDSurface* QDDManager::SurfaceCreate(int32_t width, int32_t height, int32_t bits, uint32_t flags) {
  QDDSurface* p = new QDDSurface;
  p->owned = 1;
  SurfaceRegister(p, width, height, bits, flags);
  return p;
}

QDDSurface* QDDManager::DisplaySurfaceCreate() {
  QDDTextureSurface* p = new QDDTextureSurface;
  p->owned = 1;
  QDLSurface* pDisplay = QDLDisplaySurface();
  p->Attach(pDisplay ? pDisplay->ddSurface : nullptr);
  p->type = QDDSURFACE_DISPLAY;
  p->pManager = this;
  p->pNext = pHead;
  if (pHead) pHead->pPrev = p;
  else pTail = p;
  pHead = p;
  ++count;
  return p;
}

// ---------------------------------------------------------------------------
// Device-owned objects

void QDDBase::Unlink() {
  if (pOwner) pOwner->ObjectUnlink(this);
  Release();
  pOwner = nullptr;
}

QD3DViewport::QD3DViewport() : viewport{0, 0, 640, 480, -1.0f, 1.0f, 2.0f, 2.0f, 0.0f, 1.0f} {}

void QD3DViewport::Release() {
  created = 0;
  pOwner = nullptr;
}

void QD3DViewport::ClearRectUpdate() {
  clearRect = Q2DXRect{viewport.x, viewport.y, viewport.x + viewport.width, viewport.y + viewport.height};
}

void QD3DViewport::SetBackground(uint32_t handle) { background = handle; }

uint32_t QD3DViewport::Clear() {
  // Clearing the target and depth is the renderer's; nothing is drawn here.
  return created ? 0 : 1;
}

void QD3DViewport::SetSize(int32_t width, int32_t height) {
  viewport.width = width;
  viewport.height = height;
  ClearRectUpdate();
}

QD3DMaterial::QD3DMaterial() {
  specular[3] = 1.0f;
  rampSize = 1;
}

void QD3DMaterial::Release() { created = 0; }

uint32_t QD3DMaterial::Apply() {
  static uint32_t nextHandle = 1;
  if (!handle) handle = nextHandle++;
  return 0;
}

uint32_t QD3DMaterial::SetColour(uint8_t r, uint8_t g, uint8_t b) {
  float c[3] = {r / 255.0f, g / 255.0f, b / 255.0f};
  for (int i = 0; i < 3; ++i) diffuse[i] = ambient[i] = specular[i] = c[i];
  diffuse[3] = ambient[3] = specular[3] = 1.0f;
  power = 40.0f;
  rampSize = 32;
  return Apply();
}

uint32_t QD3DMaterial::SetColourF(float r, float g, float b, float) {
  auto byte = [](float v) { return static_cast<uint8_t>(v * 255.0f); };
  return SetColour(byte(r), byte(g), byte(b));
}

void QD3DTextureBinding::Release() {
  hasTexture = 0;
  if (pSurface) {
    if (pSurface->pManager) pSurface->pManager->Unlink(pSurface);
    delete pSurface;
  }
  pSurface = nullptr;
}

void QD3DTextureBinding::SurfaceSet(QDDSurface* p) { pSurface = p; }

uint32_t QD3DTextureBinding::Query() {
  hasTexture = pSurface && pSurface->pSurface ? 1 : 0;
  return hasTexture ? 0 : 1;
}

QDDSurface* QD3DTextureBinding::Surface() { return pSurface; }

// ---------------------------------------------------------------------------
// Device

QD3DDevice::QD3DDevice() {
  Identity(world);
  Identity(view);
  Identity(projection);
}

QD3DDevice::~QD3DDevice() {
  Release();
  DeleteObjects();
  std::free(pModes);
}

void QD3DDevice::Reset() {
  std::free(pModes);
  pModes = nullptr;
  modeCount = 0;
  std::memset(name, 0, sizeof name);
  std::memset(description, 0, sizeof description);
  std::memset(guid, 0, sizeof guid);
  deviceDesc = QDLDeviceDesc{};
  hardware = perspective = spare = zBuffer = desktop = 0;
  pTarget = nullptr;
  pZBuffer = nullptr;
  zBufferDepth = 0;
  targetWidth = targetHeight = targetBits = 0;
  pCurrentViewport = nullptr;
  Identity(world);
  Identity(view);
  Identity(projection);
  std::memset(renderStates, 0, sizeof renderStates);
  std::memset(stageStates, 0, sizeof stageStates);
  std::memset(textures, 0, sizeof textures);
  inScene = 0;
  scenes = 0;
}

uint32_t QD3DDevice::Create() {
  if (!pTarget) return 1;
  pTarget->Size3(&targetWidth, &targetHeight, &targetBits);
  if (!pTarget->pAttached) {
    // A z-buffer of the target's size at the depth nearest 16 bits.
    uint32_t depths[7];
    uint32_t n = 0;
    for (uint32_t flag = QDL_DDBD_32; flag <= QDL_DDBD_1; flag <<= 1)
      if (deviceDesc.deviceZBufferBitDepth & flag) depths[n++] = QDLDDBDToDepth(flag);
    zBufferDepth = QDLZBufferFormatPick(depths, n);
    if (zBufferDepth) {
      pZBuffer = new QDDSurface;
      pZBuffer->owned = 1;
      pZBuffer->pSurface = Q2DXSurfaceCreateFormat(targetWidth, targetHeight, zBufferDepth == 8 ? 8 : 16,
                                                   hardware ? static_cast<uint32_t>(Q2DXSURF_VIDEO) : 0u);
      pZBuffer->ownsSurface = 1;
      Q2DXSurfaceGetDesc(pZBuffer->pSurface, &pZBuffer->desc);
      pTarget->AddAttached(pZBuffer);
    }
  }
  defaultViewport.SetSize(targetWidth, targetHeight);
  ViewportAdd(&defaultViewport);
  ViewportCurrentSet(&defaultViewport);
  WorldSet();
  ViewSet();
  ProjectionSet();
  TextureFormatsEnumerate();
  created = 1;
  return 0;
}

void QD3DDevice::DeleteObjects() {
  while (QDDBase* p = pHead) {
    ObjectUnlink(p);
    p->Release();
    if (p->owned) delete p;
  }
}

uint32_t QD3DDevice::TextureFormatsEnumerate() {
  std::free(pTextureFormats);
  textureFormatCount = sizeof kSoftwareTextureFormats / sizeof kSoftwareTextureFormats[0];
  pTextureFormats = static_cast<QD3DTextureFormat*>(std::calloc(textureFormatCount, sizeof(QD3DTextureFormat)));
  if (!pTextureFormats) {
    textureFormatCount = 0;
    return 1;
  }
  for (uint32_t i = 0; i < textureFormatCount; ++i) {
    pTextureFormats[i].raw = kSoftwareTextureFormats[i];
    QDDPixelFormatFill(&pTextureFormats[i].format, kSoftwareTextureFormats[i], QDLCAPS_TEXTURE);
  }
  return 0;
}

const QDLPixelFormatDesc* QD3DDevice::TextureFormatChoose(uint32_t bits, uint32_t alphaBits) {
  auto usable = [&](const QD3DTextureFormat& t) {
    return t.format.rgb && !t.format.paletted && t.format.bitCount == bits;
  };
  if (alphaBits) {
    for (uint32_t i = 0; i < textureFormatCount; ++i)
      if (usable(pTextureFormats[i]) && pTextureFormats[i].format.alphaBits == alphaBits)
        return &pTextureFormats[i].raw;
    int32_t more = -1, fewer = -1;
    for (uint32_t i = 0; i < textureFormatCount; ++i) {
      const QDDPixelFormat& f = pTextureFormats[i].format;
      if (!usable(pTextureFormats[i]) || f.alphaBits == 0) continue;
      if (f.alphaBits == 8 && f.redBits == 3 && f.greenBits == 3 && f.blueBits == 2) continue;
      if (f.alphaBits > alphaBits) {
        if (more < 0 || f.alphaBits < pTextureFormats[more].format.alphaBits) more = static_cast<int32_t>(i);
      } else if (fewer < 0 || f.alphaBits > pTextureFormats[fewer].format.alphaBits) {
        fewer = static_cast<int32_t>(i);
      }
    }
    if (more >= 0) return &pTextureFormats[more].raw;
    if (fewer >= 0) return &pTextureFormats[fewer].raw;
  }
  int32_t fewest = -1;
  for (uint32_t i = 0; i < textureFormatCount; ++i) {
    if (!usable(pTextureFormats[i])) continue;
    if (pTextureFormats[i].format.alphaBits == 0) return &pTextureFormats[i].raw;
    if (fewest < 0 || pTextureFormats[i].format.alphaBits < pTextureFormats[fewest].format.alphaBits)
      fewest = static_cast<int32_t>(i);
  }
  return fewest >= 0 ? &pTextureFormats[fewest].raw : nullptr;
}

uint32_t QD3DDevice::RenderTargetSet(QDDSurface* p) {
  pTarget = p;
  return created ? 0 : Create();
}

uint32_t QD3DDevice::Release() {
  if (!created) return 0;
  if (pTarget && pTarget->pAttached == pZBuffer) pTarget->pAttached = nullptr;
  delete pZBuffer;
  pZBuffer = nullptr;
  DeleteObjects();
  std::free(pTextureFormats);
  pTextureFormats = nullptr;
  textureFormatCount = 0;
  Reset();
  created = 0;
  return 0;
}

void QD3DDevice::ObjectLink(QDDBase* p) {
  p->pOwner = this;
  p->pNext = pHead;
  p->pPrev = nullptr;
  if (pHead) pHead->pPrev = p;
  else pTail = p;
  pHead = p;
  ++count;
}

uint32_t QD3DDevice::ViewportAdd(QD3DViewport* p) {
  if (!p) return 1;
  p->created = 1;
  ObjectLink(p);
  return 0;
}

uint32_t QD3DDevice::MaterialAdd(QD3DMaterial* p) {
  if (!p) return 1;
  p->created = 1;
  ObjectLink(p);
  return p->Apply();
}

uint32_t QD3DDevice::TextureBindingAdd(QD3DTextureBinding* p) {
  if (!p) return 1;
  ObjectLink(p);
  return p->Query();
}

QD3DTextureBinding* QD3DDevice::TextureBindingCreate(QDDSurface* pSurface) {
  QD3DTextureBinding* p = new QD3DTextureBinding;
  p->owned = 1;
  p->SurfaceSet(pSurface);
  TextureBindingAdd(p);
  return p;
}

QD3DMaterial* QD3DDevice::MaterialCreate() {
  QD3DMaterial* p = new QD3DMaterial;
  p->owned = 1;
  MaterialAdd(p);
  return p;
}

uint32_t QD3DDevice::ViewportCurrentSet(QD3DViewport* p) {
  pCurrentViewport = p;
  return 0;
}

const QDLPixelFormatDesc* QD3DDevice::TextureFormat16(uint32_t alphaBits) { return TextureFormatChoose(16, alphaBits); }
const QDLPixelFormatDesc* QD3DDevice::TextureFormat32(uint32_t alphaBits) { return TextureFormatChoose(32, alphaBits); }

void QD3DDevice::SurfaceUnlink(QDDSurface* p) {
  if (pManager) pManager->Unlink(p);
}

void QD3DDevice::ObjectUnlink(QDDBase* p) {
  if (!p || p->pOwner != this) return;
  if (p->pPrev) p->pPrev->pNext = p->pNext;
  else if (pHead == p) pHead = p->pNext;
  if (p->pNext) p->pNext->pPrev = p->pPrev;
  else if (pTail == p) pTail = p->pPrev;
  p->pNext = p->pPrev = nullptr;
  if (count) --count;
  if (pCurrentViewport == p) pCurrentViewport = nullptr;
}

uint32_t QD3DDevice::WorldSet() { return 0; }
uint32_t QD3DDevice::ViewSet() { return 0; }
uint32_t QD3DDevice::ProjectionSet() { return 0; }

uint32_t QD3DDevice::RenderStateSet(uint32_t state, uint32_t value) {
  if (state >= 256) return 1;
  renderStates[state] = value;
  return 0;
}

uint32_t QD3DDevice::SceneBegin() {
  if (inScene) return 1;
  inScene = 1;
  return 0;
}

uint32_t QD3DDevice::SceneEnd() {
  if (!inScene) return 1;
  inScene = 0;
  ++scenes;
  return 0;
}

uint32_t QD3DDevice::ViewportClear() { return pCurrentViewport ? pCurrentViewport->Clear() : 1; }

uint32_t QD3DDevice::PrimitiveDraw(uint32_t, uint32_t, const void*, uint32_t, uint32_t) {
  // Drawing belongs to the renderer device of the 3D library.
  return Q2DX_E_NOTIMPL;
}

QDDSurface* QD3DDevice::SurfaceCreate(int32_t width, int32_t height, int32_t bits, uint32_t flags) {
  return pManager ? pManager->SurfaceCreate(width, height, bits, flags) : nullptr;
}

uint32_t QD3DDevice::TextureSet(uint32_t stage, QD3DTextureBinding* p) {
  if (stage >= 8) return 1;
  textures[stage] = p;
  return 0;
}

uint32_t QD3DDevice::TextureGet(uint32_t stage, QD3DTextureBinding** pp) {
  if (stage >= 8 || !pp) return 1;
  *pp = textures[stage];
  return 0;
}

uint32_t QD3DDevice::TextureStageStateSet(uint32_t stage, uint32_t state, uint32_t value) {
  if (stage >= 8 || state >= 32) return 1;
  stageStates[stage][state] = value;
  return 0;
}

uint32_t QD3DDevice::DeviceValidate(uint32_t* pPasses) {
  if (pPasses) *pPasses = 1;
  return 0;
}

uint32_t QD3DDevice::MipMapAvailable() { return 0; }
uint32_t QD3DDevice::TextureWidthMax() { return deviceDesc.maxTextureWidth ? deviceDesc.maxTextureWidth : 0x7FFFFFFFu; }
uint32_t QD3DDevice::TextureHeightMax() { return deviceDesc.maxTextureHeight ? deviceDesc.maxTextureHeight : 0x7FFFFFFFu; }
uint32_t QD3DDevice::TextureWidthMin() { return deviceDesc.minTextureWidth; }
uint32_t QD3DDevice::TextureHeightMin() { return deviceDesc.minTextureHeight; }
uint32_t QD3DDevice::TextureSquareOnly() { return (deviceDesc.textureCaps & 0x20) ? 1 : 0; }
uint32_t QD3DDevice::TextureMemoryTotal() { return pManager ? pManager->TextureMemoryTotal() : 0; }
uint32_t QD3DDevice::TextureMemoryFree() { return pManager ? pManager->TextureMemoryFree() : 0; }

uint32_t QD3DDevice::ColourStageSet(uint32_t stage, uint32_t arg1, uint32_t op, uint32_t arg2) {
  TextureStageStateSet(stage, 2, arg1);
  TextureStageStateSet(stage, 1, op);
  return TextureStageStateSet(stage, 3, arg2);
}

uint32_t QD3DDevice::AlphaStageSet(uint32_t stage, uint32_t arg1, uint32_t op, uint32_t arg2) {
  TextureStageStateSet(stage, 5, arg1);
  TextureStageStateSet(stage, 4, op);
  return TextureStageStateSet(stage, 6, arg2);
}

const QDLDeviceDesc* QD3DDevice::DeviceDescGet() { return &deviceDesc; }
QD3DViewport* QD3DDevice::ViewportCurrent() { return pCurrentViewport; }

uint32_t QD3DDevice::Open(QDDSurface* p) {
  pTarget = p;
  if (created) return 0;
  const QDLDeviceInfo* d = QDLDeviceGet(static_cast<uint32_t>(QDLCurrentDevice() < 0 ? 0 : QDLCurrentDevice()));
  if (d) {
    std::memcpy(name, d->name, sizeof name);
    std::memcpy(description, d->description, sizeof description);
    std::memcpy(guid, d->guid, sizeof guid);
    deviceDesc = d->deviceDesc;
    std::free(pModes);
    pModes = nullptr;
    modeCount = 0;
    if (d->modeCount) {
      pModes = static_cast<Q2DXMode*>(std::calloc(d->modeCount, sizeof(Q2DXMode)));
      if (pModes) {
        std::memcpy(pModes, d->modes, d->modeCount * sizeof(Q2DXMode));
        modeCount = d->modeCount;
      }
    }
    hardware = d->hardware;
    perspective = d->perspective;
    spare = d->spare;
    zBuffer = d->zBuffer;
    desktop = d->desktop;
  }
  return Create();
}
