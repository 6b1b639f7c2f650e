#pragma once
// TGA and BMP files: read into surfaces of the Q2DX layer (or plain 32-bit
// memory buffers) and write any rectangle of a surface as a 24-bit file.
// Every image passes through a work buffer of 32-bit pixels in the byte
// order red, green, blue, alpha.
#include <cstddef>
#include <cstdint>

#include "display/q2dx.h"
#include "display/qdl_types.h"

// Reading flags.
enum : uint32_t {
  QDLIMG_VIDEO = 0x10,
  QDLIMG_SYSTEM = 0x20,
  QDLIMG_TEXTURE = 0x40,
  QDLIMG_PALETTED = 0x400,   // an 8-bit paletted surface for images of at most 8 bits
  QDLIMG_MEMORY = 0x800,     // a new memory buffer of 32-bit pixels instead of a surface
};

// Header readers: 0, 4 for a null name or a file that cannot be opened, 7 for
// a short header (and, for BMP, a file that does not start with "BM").
uint32_t QDLTGAGetInfo(const char* pFileName, int32_t* pWidth, int32_t* pHeight, int32_t* pBits);
uint32_t QDLTGAGetInfo24(const char* pFileName, int32_t* pWidth, int32_t* pHeight, int32_t* pBits);
uint32_t QDLBMPGetInfo(const char* pFileName, int32_t* pWidth, int32_t* pHeight, int32_t* pBits);

// Readers: the target surface (given, or created), or with QDLIMG_MEMORY a
// malloc'd block of width x height x 4 bytes (free with std::free) described
// in *pDesc; null on failure (QDLImageLastError says why).
void* QDLTGARead(const char* pFileName, Q2DXSurface* pSurface, QDLSurfaceDesc* pDesc, uint32_t flags);
void* QDLBMPRead(const char* pFileName, Q2DXSurface* pSurface, QDLSurfaceDesc* pDesc, uint32_t flags);
// The same from bytes in memory (the file readers read the file and call these).
void* QDLTGAReadMemory(const uint8_t* pData, size_t size, Q2DXSurface* pSurface,
                       QDLSurfaceDesc* pDesc, uint32_t flags);
void* QDLBMPReadMemory(const uint8_t* pData, size_t size, Q2DXSurface* pSurface,
                       QDLSurfaceDesc* pDesc, uint32_t flags);

// Writers: the rectangle (left, top, right, bottom; null for the whole
// surface) as an uncompressed 24-bit file, bottom row first; 0 or 7.
uint32_t QDLTGAWrite(const char* pFileName, Q2DXSurface* pSurface, const Q2DXRect* pRect, uint32_t unused);
uint32_t QDLBMPWrite(const char* pFileName, Q2DXSurface* pSurface, const Q2DXRect* pRect, uint32_t unused);
// A buffer of work pixels, top row first, as an uncompressed 32-bit TGA.
uint32_t QDLTGAWriteBuffer(const char* pFileName, const uint8_t* pPixels, int32_t width, int32_t height);
// Box-filter scaling of 32-bit pixels; the destination width is at most 1024.
uint32_t QDLImageScale(uint8_t* pDest, int32_t destWidth, int32_t destHeight, const uint8_t* pSource,
                       int32_t sourceWidth, int32_t sourceHeight);

// Why the last read or write failed ("" after a success).
const char* QDLImageLastError();
