#pragma once
// The Q3D records and the renderer device interface. This header is shared by
// the program and the renderer libraries: the program fills the records and
// hands them, by pointer, to the device, which reads them directly. Every
// record keeps the field order and the widths of its 32-bit original; our
// pointers are native, so offsets after the first pointer move (the
// static_asserts at the end pin both layouts).
//
// The records are plain structs whose first member is the common header
// (composition rather than inheritance keeps them standard-layout).
#include <cstddef>
#include <cstdint>

#include "framework/math/qmath_types.h"

// ---------------------------------------------------------------------------
// Common header.

enum : uint32_t {
  Q3D_TYPE_PLAIN = 1,
  Q3D_TYPE_IMAGE_TEXTURE = 2,
  Q3D_TYPE_FRAME = 3,
  Q3D_TYPE_TEXTURE = 4,      // a device-loaded texture (the match fonts)
  Q3D_TYPE_VERTEX_LIST = 5,
  Q3D_TYPE_SPRITE_SHEET = 6, // a device sprite sheet
};

enum { Q3D_NAME_SIZE = 256 };

struct Q3DObject {
  uint32_t uFlags;     // cleared by every constructor
  uint32_t uType;
  uint32_t uRefCount;  // 1 after construction; records are never shared
  char szName[Q3D_NAME_SIZE];

  Q3DObject();                            // named "UnNamed"
  explicit Q3DObject(const char* pName);  // null leaves the name as it was
};

// The header's own flag: clear, set to 1, read.
inline void Q3DObjectFlagClear(Q3DObject* p) { p->uFlags = 0; }
inline void Q3DObjectFlagSet(Q3DObject* p) { p->uFlags = 1; }
inline uint32_t Q3DObjectFlagGet(const Q3DObject* p) { return p->uFlags; }
// Copies a name, cut at 255 characters and terminated. Null leaves it.
void Q3DObjectNameSet(Q3DObject* p, const char* pName);

// ---------------------------------------------------------------------------
// Small value types.

struct Q3DColour {
  uint8_t r, g, b, a;
};

// A texel record: the device's own form of a texture coordinate pair. These
// renderers keep (u, v) in texture space, 0..1 across the image.
struct Q3DTexel {
  float u, v;
};

struct Q3DClipCoord {  // x, y, z, w
  float x, y, z, w;
};

struct Q3DScreenCoord {  // screen x, screen y, depth z / w, 1 / w
  float x, y, z, rhw;
};

// Outcode bits: set when the point lies outside the plane.
enum : uint32_t {
  Q3D_OUT_LEFT = 1,     // x < 0
  Q3D_OUT_RIGHT = 2,    // x > w
  Q3D_OUT_TOP = 4,      // y < 0
  Q3D_OUT_BOTTOM = 8,   // y > w
  Q3D_OUT_NEAR = 16,    // z < 0
  Q3D_OUT_FAR = 32,     // z > w
  Q3D_OUT_ALL = 63,
};

// ---------------------------------------------------------------------------
// Vertex lists.

enum : uint32_t {
  Q3D_VL_SCREEN_VALID = 1,  // screen coordinates valid for every vertex (direct projection)
  Q3D_VL_CLIP_VALID = 2,    // clip coordinates and outcodes valid (clip-space transform)
};

struct Q3DVertexList {
  Q3DObject oHeader;
  uint32_t uCount;
  uint32_t uReserved272;
  uint32_t uState;                 // Q3D_VL_*
  QMathVec3* pVertices;
  uint32_t auReserved[9];
  Q3DColour* pColours;             // one per vertex, or null
  uint32_t uReserved324;
  uint32_t* pOutcodes;
  uint32_t uOutcodeCapacity;
  uint32_t uOutcodeSpare;
  Q3DClipCoord* pClip;
  uint32_t uClipCapacity;
  uint32_t uClipSpare;
  Q3DScreenCoord* pScreen;
  uint32_t uScreenCapacity;
  uint32_t uScreenSpare;

  Q3DVertexList();
};
// Frees the three derived arrays with the aligned allocator and clears them.
void Q3DVertexListRelease(Q3DVertexList* pList);

// ---------------------------------------------------------------------------
// Face lists.

struct Q3DFace {  // 40 bytes
  uint32_t auIndex[3];
  Q3DTexel aTexel[3];
  uint32_t uSpare;
};

struct Q3DQuad {  // 48 bytes
  uint16_t auIndex[4];
  Q3DTexel aTexel[4];
  uint32_t auSpare[2];
};

// Flags word of the face and quad lists.
enum : uint32_t {
  // Kept by a textured mesh without vertex colours; cleared by an owner that
  // supplies per-vertex colours (the device then reads the vertex list's
  // colour array).
  Q3D_FACES_NO_COLOURS = 1,
  // The faces are one-sided: a face whose corners run anticlockwise on the
  // screen (x right, y down) as the viewer sees it is a back face and is not
  // drawn. Without this bit both sides are drawn. Players, stadium and goal
  // frames set it; ground, markings, markers, shadows, nets and hoardings
  // leave it clear.
  Q3D_FACES_ONE_SIDED = 2,
};

struct Q3DFaceList {
  Q3DObject oHeader;
  uint32_t uCount;
  uint32_t uFlags;
  Q3DVertexList* pVertexList;
  Q3DFace* pFaces;

  Q3DFaceList();
};

struct Q3DQuadList {
  Q3DObject oHeader;
  uint32_t uCount;
  uint32_t uFlags;
  Q3DVertexList* pVertexList;
  Q3DQuad* pQuads;

  Q3DQuadList();
};

struct Q3DEdgeList {
  Q3DObject oHeader;
  uint32_t uCount;
  uint32_t (*pEdges)[2];
  Q3DVertexList* pVertexList;

  Q3DEdgeList();
};

// ---------------------------------------------------------------------------
// Materials and textures.

struct Q3DImageTexture;

struct Q3DMaterial {
  Q3DObject oHeader;
  Q3DImageTexture* pTexture;
  uint32_t auReserved[7];
  Q3DColour oColour;   // white after construction and reset
  uint32_t bTextured;  // 1 when built with a texture

  Q3DMaterial();
  explicit Q3DMaterial(Q3DImageTexture* pTexture);
};
void Q3DMaterialReset(Q3DMaterial* pMaterial);

class Q3DImage;

enum : uint32_t {
  Q3D_ADDRESS_REPEAT = 1,
  Q3D_ADDRESS_CLAMP = 2,
  Q3D_IMAGE_SLOTS = 8,
  Q3D_SLOT_NAME_SIZE = 255,
};

struct Q3DImageTexture {
  Q3DObject oHeader;
  uint32_t uReserved268;
  uint32_t uReserved272;
  uint32_t uReserved276;
  int32_t iHandle;            // -1 until the device registers it
  uint32_t uWidth;
  uint32_t uHeight;
  int32_t iMipLevels;
  uint32_t uAddressU;         // Q3D_ADDRESS_*
  uint32_t uAddressV;
  uint32_t uLoaded;           // set to 1 by the texture loader
  uint32_t uReserved308;      // 1
  uint32_t uReserved312;
  char aszSlotName[Q3D_IMAGE_SLOTS][Q3D_SLOT_NAME_SIZE];
  uint32_t auSlotFlags[Q3D_IMAGE_SLOTS];
  Q3DImage* apSlotImage[Q3D_IMAGE_SLOTS];

  Q3DImageTexture();
  // Names the texture after the file and reads the file's TGA header for
  // width and height (0 when the header cannot be read).
  explicit Q3DImageTexture(const char* pPath);
};

// A texture the device fills from an image file (the match fonts): the
// header, then a nested record whose three words the device fills.
struct Q3DTexture {
  Q3DObject oHeader;
  Q3DObject oNested;
  int32_t iHandle;   // the device's handle, -1 when not loaded
  uint32_t uWidth;   // the cell width text is drawn in
  uint32_t uHeight;
  uint32_t uSpare;

  Q3DTexture();
};

// A device sprite sheet (SheetCreate fills it).
struct Q3DSpriteSheet {
  Q3DObject oHeader;
  int32_t iHandle;  // -1 when not created
  uint32_t uFrameCount;

  Q3DSpriteSheet();
};

// ---------------------------------------------------------------------------
// Frames, camera, screen records, lines and bounds.

struct Q3DFrame {
  Q3DObject oHeader;
  QMathMatrix mMatrix;
  QMathMatrix mMatrix2;

  Q3DFrame();
};

// Change flags of the camera.
enum : uint32_t {
  Q3DCAM_VIEW = 2,
  Q3DCAM_WINDOW = 4,
  Q3DCAM_FOV = 8,
  Q3DCAM_FOV2 = 16,
  Q3DCAM_SCREEN = 32,
};

// The camera: a frame whose first matrix is the view matrix V, then the
// projection and the products the transforms use. No pointers: its layout is
// the same in every build.
struct Q3DCamera {
  Q3DObject oHeader;
  QMathMatrix mView;       // V: world to camera space
  QMathMatrix mFrame2;     // the frame's second matrix (identity)
  QMathMatrix mProj;       // P
  QMathMatrix mViewProj;   // VP = V x P
  QMathMatrix mViewport;   // S: clip space to screen pixels
  QMathMatrix mScreen;     // VPS = VP x S
  float fLeft, fTop, fRight, fBottom;              // window on the projection plane
  float fClampLeft, fClampTop, fClampRight, fClampBottom;
  float fOne;
  uint16_t uFov;           // horizontal opening, 65536 a turn
  uint16_t uPad;
  float fNear;
  float fFar;
  uint32_t uWidth, uHeight;
  float fAspect;
  QMathMatrix mNorm;       // N
  int32_t aiScreenRect[4]; // x, y, width, height
  uint32_t uChanged;       // Q3DCAM_* flags, all set after construction

  Q3DCamera();
};

struct Q3DScreenQuad {
  Q3DObject oHeader;
  uint32_t uKind;         // 0 per-corner colours, 1 flat colour, 2 textured
  int32_t aiRect[4];      // left, top, right, bottom in pixels
  Q3DColour aColour[4];
  Q3DTexel aTexel[4];

  Q3DScreenQuad();
};

enum : uint32_t {
  Q3D_QUAD_SHADED = 0,
  Q3D_QUAD_FLAT = 1,
  Q3D_QUAD_TEXTURED = 2,
};

struct Q3DScreenVertex {  // 24 bytes, no header
  float x, y;
  Q3DColour oColour;
  float u, v;
  uint32_t uWord;
};
void Q3DScreenVertexReset(Q3DScreenVertex* p);

struct Q3DLine {
  Q3DObject oHeader;
  QMathMatrix mMatrix;
  float afA[2];
  float afB[2];
  uint32_t uOutcodeA;
  uint32_t uOutcodeB;

  Q3DLine();
};

struct Q3DBounds {  // 128 bytes, no header
  QMathVec3 aCorner[8];
  uint32_t bStale;
  QMathVec3 oMin;
  QMathVec3 oMax;
  float fRadius;
};

// ---------------------------------------------------------------------------
// Images: the device's pixel images (ImageCreate), opaque black when made.
// Texels are four bytes red, green, blue, alpha; row 0 is the top row; the
// put-pixel operation writes red, green and blue and keeps the alpha.

class Q3DImage {
 public:
  virtual int32_t RowCount() const = 0;     // height
  virtual int32_t ColumnCount() const = 0;  // width
  // Loads an image file of exactly this size (0). Any other size, or a file
  // that cannot be read, is refused (non-zero) and the pixels stay as they were.
  virtual uint32_t Load(const char* pPath) = 0;
  virtual void PixelGet(int32_t row, int32_t column, uint8_t* pTexel) const = 0;
  virtual void PixelPut(int32_t row, int32_t column, const uint8_t* pTexel) = 0;
  // Copies this whole image into pDest with its top-left corner at column x,
  // row y, clipped to pDest.
  virtual void CopyTo(Q3DImage* pDest, int32_t x, int32_t y) const = 0;
  virtual void Fill(uint8_t r, uint8_t g, uint8_t b, uint8_t a) = 0;

  // A mark owners may set on an image (the stadium pages' loader marks the
  // images it loads); the device keeps it and does not read it.
  uint32_t uFlag = 0;

 protected:
  virtual ~Q3DImage() = default;
};

// ---------------------------------------------------------------------------
// The renderer device.
//
// Render states (RenderStateSet):
//   2   shading: 0 smooth (vertex colours interpolated), 1 flat (the first
//       corner's colour for the whole face).
//   3   alpha reference: a pixel whose final alpha is below the value is
//       not drawn (the game sets 8).
//   4   the drawing mode of the next draws:
//        3  flat colour (ParameterSet 1), blended by its alpha
//        4  vertex colours, blended by their alpha
//       12  vertex colours (screen shapes), as 4
//       16  textured: texel colour; texels with alpha below 128 (the
//           magenta key among them) are not drawn
//       17  textured times the flat colour, blended by texel x flat alpha
//       18  textured, multiplying the colour already in the frame by
//           twice the texel (mid grey keeps it; capped at white)
//       20  textured times the vertex colours where the faces supply them
//           (the surround's light and shade), as 16 otherwise
//       32  textured, blended by the texel's alpha
//       33  as 17 (font text)
//       36  textured times the vertex colours where the faces supply them,
//           else times the flat colour; blended by the product's alpha
//       Without a texture set, the textured modes draw their colour part
//       alone (white for 16, 18, 32). Other values draw as 36.
//   9   kept; no effect in these renderers (the game sets 0).
//   10  perspective-correct texturing: 1 on (the game's value), 0 affine.
//   11  1 for the 3D scene, 0 for 2D drawing: the z-buffered device neither
//       tests nor writes depth while it is 0.
// The z-buffered device tests depth (less or equal) for 3D faces and lines
// and writes it in the opaque modes (3, 4, 12, 16 and 17 with an alpha of
// 255); the other modes draw layers over surfaces (shadows, decals, grass
// over its shading) and pass up to 24 depth units (of 65535) behind what is
// stored. The software device keeps no depth at all.
//
// Parameters (ParameterSet): 1 the flat colour, four bytes r, g, b, a;
// 6 two floats, width / 640 and height / 480 (kept); 100 the image file
// reader (a pointer to a Q3DImageReadFunc) that Q3DImage::Load uses, so that
// images keep the alpha of 32-bit files (Q3DDeviceInitialise hands it over).
// Without a reader, images load through the display's TGA reader, opaque.
//
// Texture handles (TextureSet): a Q3DMaterial (its texture, and its colour
// becomes the flat colour), a Q3DImageTexture, a Q3DTexture, a
// Q3DSpriteSheet, or null for none. The record's type code tells them apart.
//
// Sprite sheets (SheetCreate): a TGA sheet in the glyph-strip layout of the
// font sheets: magenta (255, 0, 255) background, a cyan (0, 255, 255) marker
// row above and below every strip of frames and a cyan pixel in the top and
// bottom row of every column of a frame; frame n is the n-th frame in strip
// order, left to right, top to bottom. Magenta is transparent.
//
// Text (TextDraw): the font texture's characters in fixed 16-pixel cells,
// each glyph centred in its cell, in the flat colour; alignment 0 starts at
// x, 1 ends at x, 2 is centred on x.
//
// VertexListDraw: count 3 draws a triangle, 4 a quad, more a fan from the
// first vertex (at most 34).

struct QDLContext;

class Q3DDevice {
 public:
  virtual void Destroy() = 0;
  virtual void CameraSet(const Q3DCamera* pCamera) = 0;
  // The display context (software and z-buffered devices): the device sets
  // it up, draws into its display surface and presents through it. 0 on success.
  virtual uint32_t Initialise(void* pTarget) = 0;
  virtual void DisplayShut() = 0;
  virtual void BatchBegin(uint32_t uFlags) = 0;
  virtual void BatchEnd() = 0;
  virtual void SceneBegin() = 0;
  // Flag 1 (hardware renderers' frames, every first frame): after presenting,
  // the frame is cleared to the background colour and the depth buffer to its
  // farthest value, ready for the next frame. Flag 0 (software frames,
  // loading): the frame is kept.
  virtual void Present(uint32_t uFlag) = 0;
  virtual void BackgroundSet(uint8_t r, uint8_t g, uint8_t b, uint8_t a) = 0;
  virtual void Clear() = 0;
  virtual void SceneEnd() = 0;
  virtual void ObjectDraw(const Q3DEdgeList* pEdges, const Q3DCamera* pCamera, uint32_t uClip) = 0;
  virtual void MeshDraw(const Q3DFaceList* pFaces, const Q3DCamera* pCamera, uint32_t uClip) = 0;
  virtual void FaceListDraw(const Q3DQuadList* pQuads, const Q3DCamera* pCamera, uint32_t uClip) = 0;
  virtual void ScreenQuadDraw(const Q3DScreenQuad* pQuad, const Q3DCamera* pCamera, uint32_t uClip) = 0;
  virtual void VertexListDraw(const Q3DScreenVertex* pVertices, uint32_t uCount, const Q3DCamera* pCamera,
                              uint32_t uClip) = 0;
  virtual void TextureSet(const void* pHandle) = 0;
  virtual void TextureRegister(Q3DImageTexture* pTexture) = 0;
  virtual void ParameterSet(uint32_t uId, const void* pValue) = 0;
  virtual void RenderStateSet(uint32_t uState, uint32_t uValue) = 0;
  // pSource: a (u, v) pair in texture space; width and height: the image's.
  virtual void TexelMap(Q3DTexel* pDest, const float* pSource, uint32_t uWidth, uint32_t uHeight) = 0;
  virtual uint32_t SheetCreate(Q3DSpriteSheet* pSheet, const char* pPath) = 0;
  virtual void SheetFree(Q3DSpriteSheet* pSheet) = 0;
  virtual void SheetSpriteDraw(Q3DSpriteSheet* pSheet, uint32_t uFrame, int32_t x, int32_t y) = 0;
  virtual uint32_t TextureLoad(Q3DTexture* pTexture, const char* pPath) = 0;
  // A Q3DTexture, a registered Q3DImageTexture or null.
  virtual void TextureFree(void* pTexture) = 0;
  virtual void TextDraw(Q3DTexture* pFont, int32_t x, int32_t y, uint32_t uAlign, const char* pText) = 0;
  virtual Q3DImage* ImageCreate(int32_t iWidth, int32_t iHeight) = 0;
  virtual void ImageRelease(Q3DImage* pImage) = 0;
  virtual void Flush() = 0;

 protected:
  virtual ~Q3DDevice() = default;
};

enum : uint32_t {
  Q3D_PARAM_FLAT_COLOUR = 1,
  Q3D_PARAM_SCALE = 6,
  Q3D_PARAM_IMAGE_READER = 100,
};

// Reads an image file of exactly width x height into RGBA bytes (row 0 on
// top): 0; 4 when it cannot be opened; 7 for a bad file or another size.
typedef uint32_t (*Q3DImageReadFunc)(const char* pPath, int32_t iWidth, int32_t iHeight, uint8_t* pOut);

// The one export of a renderer library.
extern "C" {
typedef Q3DDevice* (*Q3DCreateDeviceFunc)(uint32_t uFlags);
}

// ---------------------------------------------------------------------------
// Layout: offsets of the 32-bit original where no pointer precedes them.

#define Q3D_AT(off32, off64) (sizeof(void*) == 4 ? (off32) : (off64))

static_assert(sizeof(Q3DObject) == 268);
static_assert(offsetof(Q3DObject, szName) == 12);
static_assert(sizeof(Q3DColour) == 4 && sizeof(Q3DTexel) == 8);
static_assert(sizeof(Q3DFace) == 40 && sizeof(Q3DQuad) == 48);
static_assert(offsetof(Q3DFace, aTexel) == 12 && offsetof(Q3DQuad, aTexel) == 8);
static_assert(sizeof(Q3DScreenVertex) == 24 && offsetof(Q3DScreenVertex, u) == 12);
static_assert(sizeof(Q3DBounds) == 128 && offsetof(Q3DBounds, bStale) == 96 && offsetof(Q3DBounds, fRadius) == 124);

static_assert(offsetof(Q3DVertexList, uCount) == 268 && offsetof(Q3DVertexList, uState) == 276);
static_assert(offsetof(Q3DVertexList, pVertices) == 280);
static_assert(offsetof(Q3DVertexList, pColours) == Q3D_AT(320, 328));
static_assert(offsetof(Q3DVertexList, pOutcodes) == Q3D_AT(328, 344));
static_assert(offsetof(Q3DVertexList, uOutcodeCapacity) == Q3D_AT(332, 352));
static_assert(offsetof(Q3DVertexList, pClip) == Q3D_AT(340, 360));
static_assert(offsetof(Q3DVertexList, pScreen) == Q3D_AT(352, 376));
static_assert(sizeof(Q3DVertexList) == Q3D_AT(364, 392));

static_assert(offsetof(Q3DFaceList, uCount) == 268 && offsetof(Q3DFaceList, uFlags) == 272);
static_assert(offsetof(Q3DFaceList, pVertexList) == Q3D_AT(276, 280));
static_assert(offsetof(Q3DFaceList, pFaces) == Q3D_AT(280, 288));
static_assert(offsetof(Q3DQuadList, pQuads) == offsetof(Q3DFaceList, pFaces));
static_assert(offsetof(Q3DEdgeList, pEdges) == 272 && offsetof(Q3DEdgeList, pVertexList) == Q3D_AT(276, 280));

static_assert(offsetof(Q3DMaterial, pTexture) == Q3D_AT(268, 272));
static_assert(offsetof(Q3DMaterial, oColour) == Q3D_AT(300, 308));
static_assert(offsetof(Q3DMaterial, bTextured) == Q3D_AT(304, 312));

static_assert(offsetof(Q3DImageTexture, iHandle) == 280 && offsetof(Q3DImageTexture, uWidth) == 284);
static_assert(offsetof(Q3DImageTexture, uAddressU) == 296 && offsetof(Q3DImageTexture, uReserved312) == 312);
static_assert(offsetof(Q3DImageTexture, aszSlotName) == 316);
static_assert(offsetof(Q3DImageTexture, auSlotFlags) == 316 + 8 * 255);
static_assert(offsetof(Q3DImageTexture, apSlotImage) == Q3D_AT(2388, 2392));

static_assert(sizeof(Q3DTexture) == 552 && offsetof(Q3DTexture, iHandle) == 536);

static_assert(offsetof(Q3DFrame, mMatrix) == 268 && offsetof(Q3DFrame, mMatrix2) == 332 && sizeof(Q3DFrame) == 396);

static_assert(sizeof(Q3DCamera) == 796);
static_assert(offsetof(Q3DCamera, mView) == 268 && offsetof(Q3DCamera, mFrame2) == 332);
static_assert(offsetof(Q3DCamera, mProj) == 396 && offsetof(Q3DCamera, mViewProj) == 460);
static_assert(offsetof(Q3DCamera, mViewport) == 524 && offsetof(Q3DCamera, mScreen) == 588);
static_assert(offsetof(Q3DCamera, fLeft) == 652 && offsetof(Q3DCamera, fBottom) == 664);
static_assert(offsetof(Q3DCamera, fClampLeft) == 668 && offsetof(Q3DCamera, fOne) == 684);
static_assert(offsetof(Q3DCamera, uFov) == 688 && offsetof(Q3DCamera, fNear) == 692);
static_assert(offsetof(Q3DCamera, fFar) == 696 && offsetof(Q3DCamera, uWidth) == 700);
static_assert(offsetof(Q3DCamera, uHeight) == 704 && offsetof(Q3DCamera, fAspect) == 708);
static_assert(offsetof(Q3DCamera, mNorm) == 712 && offsetof(Q3DCamera, aiScreenRect) == 776);
static_assert(offsetof(Q3DCamera, uChanged) == 792);

static_assert(offsetof(Q3DScreenQuad, uKind) == 268 && offsetof(Q3DScreenQuad, aiRect) == 272);
static_assert(offsetof(Q3DScreenQuad, aColour) == 288 && offsetof(Q3DScreenQuad, aTexel) == 304);
static_assert(sizeof(Q3DScreenQuad) == 336);

static_assert(offsetof(Q3DLine, mMatrix) == 268 && offsetof(Q3DLine, afA) == 332 && offsetof(Q3DLine, afB) == 340);
static_assert(offsetof(Q3DLine, uOutcodeA) == 348 && offsetof(Q3DLine, uOutcodeB) == 352);
