#pragma once
// Shared records of the 2D display library: surfaces, sprite banks and their
// frames, palettes and fonts. Every drawing, printing and blitting operation
// of the library works on these records.
#include <cstdint>

#include "framework/qdx_list.h"

// Links at the front of every pooled record: the records live in the
// framework's pooled lists (owning list, next node, previous node).
typedef QDXListNode QDLListLinks;

struct QDLSurface;
struct QDLPalette;
struct QDLSpriteBank;
struct Q2DXSurface;   // a surface of the presentation layer (the back buffer or an off-screen buffer)
struct Q2DXPalette;   // an 8-bit hardware-style palette of 256 entries

// ---------------------------------------------------------------------------
// Result codes of the library.
enum : uint32_t {
  QDL_OK = 0,
  QDL_ERR_GENERAL = 1,
  QDL_ERR_NO_MEMORY = 2,
  QDL_ERR_NULL_SURFACE = 3,
  QDL_ERR_INVALID = 4,       // invalid for this kind of surface, or outside the parent
  QDL_ERR_ALREADY = 6,
  QDL_ERR_FAILED = 7,        // lock or present failure, or nothing done
};

// ---------------------------------------------------------------------------
// Pixel-format codes, shared by surfaces, sprite banks and the blitters.
enum : uint32_t {
  QDLFORMAT_INDEXED8 = 1,    // 8-bit palette indices
  QDLFORMAT_RGB16 = 2,       // 16-bit with one 6-bit component
  QDLFORMAT_RGB15 = 4,       // 16-bit 5-5-5
  QDLFORMAT_RGB24 = 8,
  QDLFORMAT_RGB32 = 16,
  QDLFORMAT_SIZE_MASK = 0x1F,
  QDLFORMAT_SIX_RED = 0x80,  // which component has 6 bits (code 2 only)
  QDLFORMAT_SIX_GREEN = 0x40,
  QDLFORMAT_SIX_BLUE = 0x20,
  QDLFORMAT_ORDER_MASK = 0x700,  // component order by shift, highest first
  QDLFORMAT_ORDER_RGB = 0x000,
  QDLFORMAT_ORDER_RBG = 0x100,
  QDLFORMAT_ORDER_GRB = 0x200,
  QDLFORMAT_ORDER_GBR = 0x300,
  QDLFORMAT_ORDER_BRG = 0x400,
  QDLFORMAT_ORDER_BGR = 0x500,
  QDLFORMAT_CLASS_MASK = 0xF81F, // keeps the size class, drops 6-bit and order bits
  QDLFORMAT_RGB565 = 0x42,       // the usual 5-6-5 layout
};

// Surface flags (QDLSurface::flags).
enum : uint32_t {
  QDLSURF_OWN = 0x1,          // a surface of its own (created or wrapped)
  QDLSURF_NO_PIXELS = 0x2,    // record only
  QDLSURF_VIDEO = 0x4,
  QDLSURF_SYSTEM = 0x8,
  QDLSURF_DISPLAY = 0x10,     // the back buffer of the open display
  QDLSURF_VIEW = 0x20,
  QDLSURF_PALETTED = 0x40,
  QDLSURF_FLAG32 = 0x80,      // created with creation flag 32
  QDLSURF_MEMORY = 0x100,     // plain memory buffer
  QDLSURF_CALLER_OWNED = 0x200,
  QDLSURF_WRAP_VIEW = 0x400,
};

// Creation flags of QDLSurfaceCreate / QDLSurfaceWrap / QDLSurfaceCreateView.
enum : uint32_t {
  QDLCREATE_NO_PIXELS = 0x1,
  QDLCREATE_VIDEO = 0x2,
  QDLCREATE_SYSTEM = 0x4,
  QDLCREATE_FLAG32 = 0x20,
  QDLCREATE_TEXTURE = 0x80,
  QDLCREATE_PALETTED = 0x100,
  QDLCREATE_MEMORY = 0x200,
  QDLCREATE_CALLER_OWNED = 0x800,
  QDLCREATE_WRAP_VIEW = 0x1000,
};

// Frame encodings of a QDLFrame's pixel data.
enum : int16_t {
  QDLENC_NONE = 0,
  QDLENC_RAW = 1,
  QDLENC_RLE = 2,
  QDLENC_RLE_FILL = 3,
};

// ---------------------------------------------------------------------------
// Pixel format of a surface description: bit count and colour masks.
enum : uint32_t {
  QDLPF_PALETTEINDEXED8 = 0x20,
  QDLPF_RGB = 0x40,
  QDLPF_ALPHAPIXELS = 0x1,
};
struct QDLPixelFormatDesc {
  uint32_t flags;      // QDLPF_*
  uint32_t bitCount;
  uint32_t redMask;
  uint32_t greenMask;
  uint32_t blueMask;
  uint32_t alphaMask;
};

// Capabilities of a surface description.
enum : uint32_t {
  QDLCAPS_SYSTEMMEMORY = 0x800,
  QDLCAPS_VIDEOMEMORY = 0x4000,
  QDLCAPS_TEXTURE = 0x1000,
};

// What is known of a surface's memory: size, pitch, pixels and format.
struct QDLSurfaceDesc {
  uint32_t flags;
  int32_t height;
  int32_t width;
  int32_t pitch;
  void* surface;       // pixel memory while locked (or of a memory surface)
  QDLPixelFormatDesc pixelFormat;
  uint32_t caps;
};

typedef void (*QDLRestoreCallback)(QDLSurface* pSurface);

// ---------------------------------------------------------------------------
// QDLSurface: one pooled record per 2D surface.
struct QDLSurface {
  QDLListLinks links;
  int32_t width;
  int32_t height;
  int32_t bitsPerPixel;          // 8, 15, 16, 24 or 32
  uint32_t flags;                // QDLSURF_*
  QDLPalette* palette;
  int32_t penX;
  int32_t penY;
  uint32_t penColour;
  QDLSurface* parent;            // for views: the surface looked into (never a view)
  int32_t viewX;
  int32_t viewY;
  Q2DXSurface* ddSurface;        // surface of the presentation layer, or null
  uint8_t* block;                // pixel block of a memory surface
  void* texture;                 // texture interface (none here; kept null)
  QDLSurfaceDesc desc;
  QDLRestoreCallback restoreCallback;
  uint32_t restorePending;
  uint32_t locked;
  uint8_t* pixels;               // pixel at column 0, row 0 while locked
  int32_t pitch;                 // bytes from one row to the next while locked
  uint16_t formatCode;
  uint16_t bytesPerPixel;
  uint16_t redLoss;
  uint16_t greenLoss;
  uint16_t blueLoss;
  uint16_t redShift;
  uint16_t greenShift;
  uint16_t blueShift;
  uint32_t colourKey;
  uint32_t colourKeySet;
  uint32_t lockCount;            // locks this record holds (QDLSurfaceLock calls not yet undone)
  uint32_t baseLockCount;        // a base surface: locks held on it and its views together
};

// ---------------------------------------------------------------------------
// Palettes: entries as {red, green, blue, flags}.
struct QDLPaletteEntry {
  uint8_t red;
  uint8_t green;
  uint8_t blue;
  uint8_t flags;   // 1 for entries set through QDLPaletteSetEntries
};

struct QDLPalette {
  QDLListLinks links;
  uint32_t entryCount;     // default 256
  uint32_t paletteCount;   // default 1
  QDLPaletteEntry* entries;  // entryCount x paletteCount records
  void* colourTable;       // one display pixel per entry: u16 (15/16-bit) or u32 (24/32-bit); null on 8-bit
  Q2DXPalette* ddPalette;  // 256-entry palette for 8-bit surfaces
};

// ---------------------------------------------------------------------------
// Sprite banks and frames.
struct QDLFrame {
  int16_t width;
  int16_t height;
  int16_t encoding;        // QDLENC_*
  uint8_t* pixels;         // encoded data inside the bank's pixel block
  QDLSpriteBank* bank;
};

struct QDLSpriteBank {
  QDLListLinks links;
  int32_t frameCount;
  uint32_t formatCode;
  uint32_t sourceBytesPerPixel;  // bytes per source pixel, 1..4; 0 when not set
  uint32_t frameArraySize;       // bytes (16 per frame)
  uint32_t pixelDataSize;        // bytes
  uint32_t creationFlags;        // 1024 for banks built from sheets, else 0
  QDLFrame* frames;
  uint8_t* pixelData;
  void* colourTable;             // the palette's colour table, or null
  QDLPalette* palette;
  int32_t* valueTable;           // one value per frame from a position table, or null
  uint32_t ownsPalette;          // 1 when the bank made its palette: freeing the bank frees it
};

// ---------------------------------------------------------------------------
// Fonts: a sprite bank whose frame n is the glyph of character code n.
enum : uint32_t {
  QDLFONT_OWNS_BANK = 4,
};
struct QDLFont {
  QDLListLinks links;
  QDLSpriteBank* bank;
  QDLFrame* frames;
  uint32_t flags;      // QDLFONT_OWNS_BANK
  uint16_t tabWidth;   // 32 on creation
  int16_t spacing;     // -1 on creation
};

// A display mode of a device's mode list.
struct QDLMode {
  int32_t width;
  int32_t height;
  int32_t bitsPerPixel;
};
