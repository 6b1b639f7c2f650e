#pragma once
// Wrapper classes of the display context: a manager that owns the open
// display's surface objects, surface objects over the Q2DX layer's surfaces,
// and a 3D device object over the renderer the device layer chose, with its
// viewports, materials and texture bindings. Lists are doubly linked through
// the objects, newest first; objects an owner created itself are deleted by
// it at shut-down, objects handed to it are only unlinked.
#include <cstdint>

#include "display/q2dx.h"
#include "display/qdl_device.h"
#include "display/qdl_types.h"

// Pixel format record: eighteen words from a pixel format and capabilities.
struct QDDPixelFormat {
  uint32_t paletted;
  uint32_t alpha;
  uint32_t rgb;
  uint32_t yuv;
  uint32_t memoryKind;   // 1 system memory, 2 local video memory, 3 non-local, 4 managed texture, 0 other
  uint32_t bitCount;
  uint32_t redBits, greenBits, blueBits, alphaBits;
  uint32_t redLoss, greenLoss, blueLoss, alphaLoss;
  uint32_t redShift, greenShift, blueShift, alphaShift;
};
void QDDPixelFormatFill(QDDPixelFormat* pOut, const QDLPixelFormatDesc& format, uint32_t caps);

class QDDManager;
class QD3DDevice;

class QDDObject {
 public:
  virtual ~QDDObject() = default;
  virtual void Release() {}  // slot 0
  QDDManager* pManager = nullptr;
  uint32_t owned = 0;
  QDDObject* pNext = nullptr;
  QDDObject* pPrev = nullptr;
};

// Abstract surface object: every slot an empty default.
class QDDSurfaceBase : public QDDObject {
 public:
  virtual uint32_t Attach(Q2DXSurface*) { return 0; }                                   // 2
  virtual uint32_t FillFromWork(const uint8_t*, int32_t, int32_t) { return 0; }          // 3
  virtual uint32_t AttachedCount() { return 0; }                                        // 4
  virtual uint32_t AttachedGet(uint32_t, QDDSurfaceBase*) { return 0; }                  // 5
  virtual QDDSurfaceBase* AttachedCreate(uint32_t) { return nullptr; }                  // 6
  virtual uint32_t Lock() { return 1; }                                                 // 7
  virtual uint32_t Unlock() { return 0; }                                               // 8
  virtual uint32_t AddAttached(QDDSurfaceBase*) { return 0; }                            // 9
  virtual int32_t Width() { return -1; }                                                // 10
  virtual int32_t Height() { return -1; }                                               // 11
  virtual int32_t Bits() { return -1; }                                                 // 12
  virtual void Size3(int32_t* pW, int32_t* pH, int32_t* pBits) {                        // 13
    if (pW) *pW = 0;
    if (pH) *pH = 0;
    if (pBits) *pBits = 0;
  }
  virtual void Size2(int32_t* pW, int32_t* pH) {                                        // 14
    if (pW) *pW = 0;
    if (pH) *pH = 0;
  }
};

enum : uint32_t {
  QDDSURFACE_PLAIN = 1,
  QDDSURFACE_TEXTURE = 2,
  QDDSURFACE_DISPLAY = 5,   // the display's back buffer: never released by its object
};

class QDDSurface : public QDDSurfaceBase {
 public:
  QDDSurface() = default;
  ~QDDSurface() override;
  void Release() override;
  uint32_t Attach(Q2DXSurface* pSurface) override;
  uint32_t FillFromWork(const uint8_t* pWork, int32_t width, int32_t height) override;
  uint32_t AttachedCount() override;
  uint32_t AttachedGet(uint32_t n, QDDSurfaceBase* pOut) override;
  QDDSurfaceBase* AttachedCreate(uint32_t n) override;
  uint32_t Lock() override;
  uint32_t Unlock() override;
  uint32_t AddAttached(QDDSurfaceBase* pOther) override;
  int32_t Width() override;
  int32_t Height() override;
  int32_t Bits() override;
  void Size3(int32_t* pW, int32_t* pH, int32_t* pBits) override;
  void Size2(int32_t* pW, int32_t* pH) override;

  QDDPixelFormat format = {};
  uint32_t type = QDDSURFACE_PLAIN;
  QDLSurfaceDesc desc = {};
  Q2DXSurface* pSurface = nullptr;
  QDDSurface* pAttached = nullptr;   // the one attached surface (a z-buffer), not owned
  uint32_t ownsSurface = 0;
};

class QDDTextureSurface : public QDDSurface {
 public:
  QDDTextureSurface() { type = QDDSURFACE_TEXTURE; }
  ~QDDTextureSurface() override;
  uint32_t textureFields[8] = {};
};

class QDDManager {
 public:
  virtual ~QDDManager();
  virtual void Unlink(QDDObject* pObject);   // slot 0
  uint32_t Init();
  uint32_t Shutdown();
  uint32_t TextureMemoryTotal();
  uint32_t TextureMemoryFree();
  uint32_t SurfaceRegister(QDDSurface* pObject, int32_t width, int32_t height, int32_t bits, uint32_t flags);
  QDDSurface* SurfaceCreate(int32_t width, int32_t height, int32_t bits, uint32_t flags);
  QDDSurface* DisplaySurfaceCreate();

  uint32_t initialised = 0;
  uint32_t initialised2 = 0;
  char driverDescription[256] = {};
  char driverName[256] = {};
  uint8_t driverGuid[16] = {};
  uint32_t modeCount = 0;
  Q2DXMode* pModes = nullptr;
  QDDObject* pHead = nullptr;
  QDDObject* pTail = nullptr;
  uint32_t count = 0;
  uint32_t textureMemory = 0;
};

class QDDBase {
 public:
  virtual ~QDDBase() = default;
  virtual void Release() {}   // slot 0
  void Unlink();
  uint32_t owned = 0;
  QD3DDevice* pOwner = nullptr;
  QDDBase* pNext = nullptr;
  QDDBase* pPrev = nullptr;
};

struct QD3DViewportRecord {
  int32_t x, y, width, height;
  float clipX, clipY, clipWidth, clipHeight, minZ, maxZ;
};

class QD3DViewport : public QDDBase {
 public:
  QD3DViewport();
  ~QD3DViewport() override = default;
  void Release() override;                          // 0
  virtual void ClearRectUpdate();                   // 1
  virtual void SetBackground(uint32_t handle);      // 2
  virtual uint32_t Clear();                         // 4
  virtual void SetSize(int32_t width, int32_t height);  // 5
  QD3DViewportRecord viewport;
  uint32_t created = 0;
  uint32_t background = 0;
  Q2DXRect clearRect = {};
};

class QD3DMaterial : public QDDBase {
 public:
  QD3DMaterial();
  ~QD3DMaterial() override = default;
  void Release() override;                                   // 0
  virtual uint32_t Apply();                                  // 2
  virtual uint32_t SetColour(uint8_t r, uint8_t g, uint8_t b);  // 3
  virtual uint32_t SetColourF(float r, float g, float b, float a);  // 4
  uint32_t created = 0;
  uint32_t handle = 0;
  float diffuse[4] = {}, ambient[4] = {}, specular[4] = {};
  float power = 0;
  uint32_t rampSize = 0;
};

class QD3DTextureBinding : public QDDBase {
 public:
  ~QD3DTextureBinding() override = default;
  void Release() override;                          // 0
  virtual void SurfaceSet(QDDSurface* pSurface);    // 2
  virtual uint32_t Query();                         // 3
  virtual QDDSurface* Surface();                    // 4
  QDDSurface* pSurface = nullptr;
  uint32_t hasTexture = 0;
};

// Texture pixel formats a renderer offers (RGB, not paletted).
struct QD3DTextureFormat {
  QDLPixelFormatDesc raw;
  QDDPixelFormat format;
};

class QD3DDevice {
 public:
  QD3DDevice();
  virtual ~QD3DDevice();
  virtual void Reset();                                                   // 0
  virtual uint32_t Create();                                              // 1
  virtual void DeleteObjects();                                           // 2
  virtual uint32_t TextureFormatsEnumerate();                             // 3
  virtual const QDLPixelFormatDesc* TextureFormatChoose(uint32_t bits, uint32_t alphaBits);  // 4
  virtual uint32_t RenderTargetSet(QDDSurface* pTarget);                  // 6
  virtual uint32_t Release();                                             // 7
  virtual uint32_t ViewportAdd(QD3DViewport* pViewport);                  // 8
  virtual uint32_t MaterialAdd(QD3DMaterial* pMaterial);                  // 9
  virtual uint32_t TextureBindingAdd(QD3DTextureBinding* pBinding);       // 10
  virtual QD3DTextureBinding* TextureBindingCreate(QDDSurface* pSurface); // 11
  virtual QD3DMaterial* MaterialCreate();                                 // 12
  virtual uint32_t ViewportCurrentSet(QD3DViewport* pViewport);           // 13
  virtual const QDLPixelFormatDesc* TextureFormat16(uint32_t alphaBits);  // 14
  virtual const QDLPixelFormatDesc* TextureFormat32(uint32_t alphaBits);  // 15
  virtual void SurfaceUnlink(QDDSurface* pSurface);                       // 16
  virtual void ObjectUnlink(QDDBase* pObject);                            // 17
  virtual uint32_t WorldSet();                                            // 18
  virtual uint32_t ViewSet();                                             // 19
  virtual uint32_t ProjectionSet();                                       // 20
  virtual uint32_t RenderStateSet(uint32_t state, uint32_t value);        // 21
  virtual uint32_t SceneBegin();                                          // 22
  virtual uint32_t SceneEnd();                                            // 23
  virtual uint32_t ViewportClear();                                       // 24
  virtual uint32_t PrimitiveDraw(uint32_t type, uint32_t vertexType, const void* pVertices,
                                 uint32_t count, uint32_t flags);         // 25
  virtual QDDSurface* SurfaceCreate(int32_t width, int32_t height, int32_t bits, uint32_t flags);  // 26
  virtual uint32_t TextureSet(uint32_t stage, QD3DTextureBinding* pTexture);      // 27
  virtual uint32_t TextureGet(uint32_t stage, QD3DTextureBinding** ppTexture);    // 28
  virtual uint32_t TextureStageStateSet(uint32_t stage, uint32_t state, uint32_t value);  // 29
  virtual uint32_t DeviceValidate(uint32_t* pPasses);                     // 30
  virtual uint32_t MipMapAvailable();                                     // 31
  virtual uint32_t TextureWidthMax();                                     // 32
  virtual uint32_t TextureHeightMax();                                    // 33
  virtual uint32_t TextureWidthMin();                                     // 34
  virtual uint32_t TextureHeightMin();                                    // 35
  virtual uint32_t TextureSquareOnly();                                   // 36
  virtual uint32_t TextureMemoryTotal();                                  // 37
  virtual uint32_t TextureMemoryFree();                                   // 38
  virtual uint32_t ColourStageSet(uint32_t stage, uint32_t arg1, uint32_t op, uint32_t arg2);  // 39
  virtual uint32_t AlphaStageSet(uint32_t stage, uint32_t arg1, uint32_t op, uint32_t arg2);   // 40
  virtual const QDLDeviceDesc* DeviceDescGet();                           // 41
  virtual QD3DViewport* ViewportCurrent();                                // 42
  uint32_t Open(QDDSurface* pTarget);
  // Puts an object at the head of the device's object list.
  void ObjectLink(QDDBase* pObject);

  uint32_t created = 0;
  char name[256] = {};
  char description[256] = {};
  uint8_t guid[16] = {};
  QDLDeviceDesc deviceDesc = {};
  uint32_t modeCount = 0;
  Q2DXMode* pModes = nullptr;
  uint32_t hardware = 0, perspective = 0, spare = 0, zBuffer = 0, desktop = 0;
  QDDSurface* pTarget = nullptr;
  QDDSurface* pZBuffer = nullptr;
  uint32_t zBufferDepth = 0;
  int32_t targetWidth = 0, targetHeight = 0, targetBits = 0;
  uint32_t textureFormatCount = 0;
  QD3DTextureFormat* pTextureFormats = nullptr;
  QD3DViewport defaultViewport;
  QD3DViewport* pCurrentViewport = nullptr;
  QDDBase* pHead = nullptr;
  QDDBase* pTail = nullptr;
  uint32_t count = 0;
  float world[16], view[16], projection[16];
  uint32_t renderStates[256] = {};
  uint32_t stageStates[8][32] = {};
  QD3DTextureBinding* textures[8] = {};
  uint32_t inScene = 0;
  uint32_t scenes = 0;
  QDDManager* pManager = nullptr;
};
