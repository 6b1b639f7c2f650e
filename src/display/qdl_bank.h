#pragma once
// Sprite banks: frames sharing one block of pixel data in one pixel format,
// the sprite-bank file ".spr", conversion of a bank to another format, and
// the surface-to-surface copies and image saving of the library.
//
// The ".spr" file is a run of chunks (u16 id, u32 length counting the 6-byte
// header), little-endian, written in the order 1, 2, 3, 4, 6, 7 and, when the
// bank has a palette, 8:
//   1 header (294 bytes: u16 3, 32 zero bytes, u16 1, u16 0, zeros)
//   2 frame count (u16)       3 format code (u32)     4 pixel data size (u32)
//   6 frame table: per frame u16 width, u16 height, u16 encoding, u32 offset
//   7 pixel data              8 palette: 256 x (red, green, blue)
// A bank of n frames, p pixel bytes and no palette makes a file of
// 340 + 10 n + p bytes (1114 + 10 n + p with a palette).
#include <cstdint>

#include "display/blit/qdl_blit.h"
#include "display/qdl_types.h"

// Chunk ids of the sprite-bank file.
enum : uint16_t {
  QDLSPR_CHUNK_HEADER = 1,
  QDLSPR_CHUNK_FRAME_COUNT = 2,
  QDLSPR_CHUNK_FORMAT = 3,
  QDLSPR_CHUNK_PIXEL_SIZE = 4,
  QDLSPR_CHUNK_FRAMES = 6,
  QDLSPR_CHUNK_PIXELS = 7,
  QDLSPR_CHUNK_PALETTE = 8,
};
enum : uint32_t {
  QDLSPR_HEADER_BYTES = 294,
  QDLSPR_FRAME_RECORD_BYTES = 10,
  QDLSPR_PALETTE_BYTES = 768,
};

// Creation flag of banks built from sheets.
enum : uint32_t { QDLBANK_FROM_SHEETS = 1024 };
// Flag of QDLSpriteBankConvert: dither when packing pixels.
enum : uint32_t { QDLCONVERT_DITHER = 0x2000 };
// Flags of the surface blits and copies.
enum : uint32_t {
  QDLSURFBLIT_NO_CLIP = 1,
  QDLSURFBLIT_KEY = 2,
};

uint32_t QDLSpriteBankPoolInit();   // 0, or 6 when already initialised
void QDLSpriteBankFreeAll();
QDLSpriteBank* QDLSpriteBankCreate(int32_t frameCount, uint32_t pixelBytes, uint32_t creationFlags);
uint32_t QDLSpriteBankFree(QDLSpriteBank* pBank);
uint32_t QDLSpriteBankUpdateColours(QDLSpriteBank* pBank);
// Attaches a palette the bank owns: freeing the bank frees it. A palette
// attached by other means (a load's palette argument, for example) belongs to
// the caller and is never freed with the bank.
void QDLSpriteBankAdoptPalette(QDLSpriteBank* pBank, QDLPalette* pPalette);

// Loads a ".spr" file; null for a missing, truncated or inconsistent file.
// With a palette the bank uses it (and the file's palette chunk is skipped).
QDLSpriteBank* QDLSpriteBankLoad(const char* pFileName, QDLPalette* pPalette, uint32_t unused);
// Saves a bank: 0, 3 for a null bank or name, 7 when the file could not be
// written completely (the previous file, if any, is kept).
uint32_t QDLSpriteBankSave(QDLSpriteBank* pBank, const char* pFileName);
// A new bank with every frame re-encoded for another format (0: the
// display's), keeping the encodings; null on failure.
QDLSpriteBank* QDLSpriteBankConvert(QDLSpriteBank* pBank, uint32_t formatCode, uint32_t flags);

// Bytes of one frame's encoded data (its rows walked by their lengths, the
// last row by its content); 0 for encoding 0 or bad data.
uint32_t QDLFrameDataSize(const QDLFrame* pFrame, uint32_t bytesPerPixel, uint32_t available);

// Surface copies and blits. Rectangles are position and size; a width or
// height of 0 means the source's.
uint32_t QDLSurfaceCopy(QDLSurface* pDest, QDLSurface* pSource, uint32_t flags);
uint32_t QDLSurfaceBlit(QDLSurface* pDest, int32_t x, int32_t y, QDLSurface* pSource,
                        const QDLRectI16* pSourceRect, uint32_t flags);
uint32_t QDLSurfaceBlitXY(QDLSurface* pDest, int32_t x, int32_t y, QDLSurface* pSource, int32_t sourceX,
                          int32_t sourceY, int32_t width, int32_t height, uint32_t flags);
uint32_t QDLSurfaceBlitStretch(QDLSurface* pDest, const QDLRectI16* pDestRect, QDLSurface* pSource,
                               const QDLRectI16* pSourceRect, uint32_t flags);
uint32_t QDLSurfaceSaveTGA(QDLSurface* pSurface, const char* pFileName, const QDLRectI16* pRect);
uint32_t QDLSurfaceSaveBMP(QDLSurface* pSurface, const char* pFileName, const QDLRectI16* pRect);
