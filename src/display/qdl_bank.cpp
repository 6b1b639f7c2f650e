// Sprite banks, the ".spr" file and bank conversion.
#include "display/qdl_bank.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "display/qdl.h"
#include "display/qdl_convert.h"
#include "display/qdl_internal.h"
#include "display/qdl_palette.h"
#include "display/qdl_pool.h"
#include "framework/qdx_chunk.h"
#include "platform/paths.h"
#include "platform/tempfiles.h"

namespace {

QDLPool qdlBankPool;
bool qdlBankPoolReady = false;

uint32_t BytesPerPixelOf(uint32_t formatCode) { return QDLFormatBitsPerPixel(formatCode) / 8; }

uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

void PutU16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}

}  // namespace

uint32_t QDLSpriteBankPoolInit() {
  if (qdlBankPoolReady) return QDL_ERR_ALREADY;
  QDLPoolInit(&qdlBankPool, sizeof(QDLSpriteBank));
  qdlBankPoolReady = true;
  return QDL_OK;
}

void QDLSpriteBankFreeAll() {
  if (!qdlBankPoolReady) return;
  while (void* p = QDLPoolFirst(&qdlBankPool)) QDLSpriteBankFree(static_cast<QDLSpriteBank*>(p));
  qdlBankPoolReady = false;
}

QDLSpriteBank* QDLSpriteBankCreate(int32_t frameCount, uint32_t pixelBytes, uint32_t creationFlags) {
  if (!qdlBankPoolReady || frameCount < 0) return nullptr;
  auto* pBank = static_cast<QDLSpriteBank*>(QDLPoolAdd(&qdlBankPool));
  if (pBank == nullptr) return nullptr;
  pBank->frameCount = frameCount;
  pBank->creationFlags = creationFlags;
  if (frameCount > 0) {
    pBank->frames = static_cast<QDLFrame*>(std::calloc(static_cast<size_t>(frameCount), sizeof(QDLFrame)));
    pBank->frameArraySize = static_cast<uint32_t>(frameCount) * 16;
  }
  if (pixelBytes > 0) {
    pBank->pixelData = static_cast<uint8_t*>(std::calloc(pixelBytes, 1));
    pBank->pixelDataSize = pixelBytes;
  }
  if ((frameCount > 0 && pBank->frames == nullptr) || (pixelBytes > 0 && pBank->pixelData == nullptr)) {
    QDLSpriteBankFree(pBank);
    return nullptr;
  }
  for (int32_t i = 0; i < frameCount; ++i) pBank->frames[i].bank = pBank;
  return pBank;
}

uint32_t QDLSpriteBankFree(QDLSpriteBank* pBank) {
  if (pBank == nullptr) return QDL_ERR_NULL_SURFACE;
  std::free(pBank->frames);
  std::free(pBank->pixelData);
  std::free(pBank->valueTable);
  // Only a palette the bank made itself goes with it: a palette handed in by
  // the caller (or shared with another bank) is not freed twice.
  if (pBank->palette != nullptr && pBank->ownsPalette) QDLPaletteFree(pBank->palette);
  QDLPoolRemove(pBank);
  return QDL_OK;
}

uint32_t QDLSpriteBankUpdateColours(QDLSpriteBank* pBank) {
  if (pBank == nullptr) return QDL_ERR_NULL_SURFACE;
  pBank->colourTable = pBank->palette != nullptr ? pBank->palette->colourTable : nullptr;
  return QDL_OK;
}

void QDLSpriteBankAdoptPalette(QDLSpriteBank* pBank, QDLPalette* pPalette) {
  if (pBank == nullptr) return;
  if (pBank->palette != nullptr && pBank->ownsPalette && pBank->palette != pPalette) QDLPaletteFree(pBank->palette);
  pBank->palette = pPalette;
  pBank->ownsPalette = pPalette != nullptr ? 1 : 0;
  QDLSpriteBankUpdateColours(pBank);
}

uint32_t QDLFrameDataSize(const QDLFrame* pFrame, uint32_t bpp, uint32_t available) {
  if (pFrame == nullptr || pFrame->encoding == QDLENC_NONE) return 0;
  if (pFrame->width <= 0 || pFrame->height <= 0 || bpp < 1 || bpp > 4 || pFrame->pixels == nullptr) return 0;
  const uint8_t* p = pFrame->pixels;
  const uint32_t w = static_cast<uint32_t>(pFrame->width);
  uint32_t pos = 0;
  for (int32_t row = 0; row < pFrame->height; ++row) {
    if (pos + 2 > available) return 0;
    const uint32_t len = GetU16(p + pos);
    const bool last = row == pFrame->height - 1;
    // The row's content, walked within what is available.
    uint32_t used = 2;
    if (pFrame->encoding == QDLENC_RAW) {
      used += w * bpp;
      if (pos + used > available) return 0;
    } else if (pFrame->encoding == QDLENC_RLE || pFrame->encoding == QDLENC_RLE_FILL) {
      uint32_t x = 0;
      for (;;) {
        if (pos + used + 1 > available) return 0;
        const int8_t c = static_cast<int8_t>(p[pos + used]);
        ++used;
        if (c == 0) break;
        if (c < 0) {
          x += static_cast<uint32_t>(-c);
        } else {
          x += static_cast<uint32_t>(c);
          used += pFrame->encoding == QDLENC_RLE ? static_cast<uint32_t>(c) * bpp : bpp;
        }
        if (x > w) return 0;  // runs may not pass the row's end
      }
      if (pos + used > available) return 0;
    } else {
      return 0;
    }
    if (last) {
      // The last row keeps its even padding when the byte is there.
      if (len == 0 && (used & 1) && pos + used + 1 <= available) ++used;
      pos += len == 0 ? used : len;
      if (len != 0 && len < used) return 0;
    } else {
      if (len < used) return 0;
      pos += len;
    }
    if (pos > available) return 0;
  }
  return pos;
}

// ---------------------------------------------------------------------------
// Loading.

QDLSpriteBank* QDLSpriteBankLoad(const char* pFileName, QDLPalette* pPalette, uint32_t unused) {
  (void)unused;
  if (pFileName == nullptr || !qdlBankPoolReady) return nullptr;
  FILE* f = platform::openFile(pFileName, "rb");
  if (f == nullptr) return nullptr;

  QDLSpriteBank* pBank = QDLSpriteBankCreate(0, 0, 0);
  if (pBank == nullptr) {
    std::fclose(f);
    return nullptr;
  }
  pBank->palette = pPalette;  // the caller's: not freed with the bank
  std::vector<uint8_t> table;
  bool bad = false, haveCount = false, haveFormat = false, haveSize = false, haveFrames = false, havePixels = false;
  bool first = true;
  QDXChunk chunk;
  QDXChunkReset(&chunk);
  for (;;) {
    const uint16_t id = QDXChunkReadHeader(&chunk, f);
    if (id == 0) {
      // The end of the file, or a header that cannot be trusted.
      if (chunk.eError != QDX_CHUNK_END) bad = true;
      if (chunk.eError == QDX_CHUNK_OK) bad = true;  // a chunk with id 0
      break;
    }
    const uint32_t dataLen = chunk.uLength - QDX_CHUNK_HEADER_SIZE;
    uint8_t buf[QDLSPR_PALETTE_BYTES];
    switch (id) {
      case QDLSPR_CHUNK_HEADER:
        // Only meaningful first; read and not interpreted.
        if (first && (dataLen != QDLSPR_HEADER_BYTES || QDXChunkRead(&chunk, buf, 1, 1) != 1)) bad = true;
        break;
      case QDLSPR_CHUNK_FRAME_COUNT:
        if (haveCount || dataLen != 2 || QDXChunkRead(&chunk, buf, 2, 1) != 1) bad = true;
        else pBank->frameCount = GetU16(buf);
        haveCount = true;
        break;
      case QDLSPR_CHUNK_FORMAT:
        if (haveFormat || dataLen != 4 || QDXChunkRead(&chunk, buf, 4, 1) != 1) bad = true;
        else pBank->formatCode = QDXGetU32(buf);
        haveFormat = true;
        break;
      case QDLSPR_CHUNK_PIXEL_SIZE:
        if (haveSize || haveFrames || havePixels || dataLen != 4 || QDXChunkRead(&chunk, buf, 4, 1) != 1) bad = true;
        else pBank->pixelDataSize = QDXGetU32(buf);
        haveSize = true;
        break;
      case QDLSPR_CHUNK_FRAMES: {
        // The frame count must come first and fix the table's size.
        const uint32_t n = static_cast<uint32_t>(pBank->frameCount);
        if (!haveCount || haveFrames || dataLen != n * QDLSPR_FRAME_RECORD_BYTES) {
          bad = true;
          break;
        }
        table.resize(dataLen);
        if (n > 0 && QDXChunkRead(&chunk, table.data(), dataLen, 1) != 1) bad = true;
        haveFrames = true;
        break;
      }
      case QDLSPR_CHUNK_PIXELS:
        if (!haveSize || havePixels || dataLen != pBank->pixelDataSize) {
          bad = true;
          break;
        }
        if (dataLen > 0) {
          pBank->pixelData = static_cast<uint8_t*>(std::malloc(dataLen));
          if (pBank->pixelData == nullptr || QDXChunkRead(&chunk, pBank->pixelData, dataLen, 1) != 1) bad = true;
        }
        havePixels = true;
        break;
      case QDLSPR_CHUNK_PALETTE:
        if (dataLen != QDLSPR_PALETTE_BYTES) {
          bad = true;
          break;
        }
        if (pBank->palette == nullptr) {
          if (QDXChunkRead(&chunk, buf, QDLSPR_PALETTE_BYTES, 1) != 1) {
            bad = true;
            break;
          }
          QDLPalette* pNew = QDLPaletteCreate(256, 1, 0);
          if (pNew == nullptr) {
            bad = true;
            break;
          }
          QDLPaletteEntry entries[256];
          for (int i = 0; i < 256; ++i) entries[i] = QDLPaletteEntry{buf[i * 3], buf[i * 3 + 1], buf[i * 3 + 2], 1};
          QDLPaletteSetEntries(pNew, entries, 0, 256);
          pBank->palette = pNew;
          pBank->ownsPalette = 1;
        }
        break;
      default:
        std::printf("Unrecognised Chunk - %d\n", id);
        break;
    }
    first = false;
    if (bad) break;
    if (QDXChunkSkip(&chunk) != 0) {
      bad = true;
      break;
    }
  }
  std::fclose(f);

  // Consistency: frames need their table and pixels; offsets and rows must
  // lie inside the pixel data.
  const uint32_t bpp = BytesPerPixelOf(pBank->formatCode);
  // The frame count, format and pixel size are always written: a file
  // without them (an empty or cut-off file) is not a bank.
  if (!haveCount || !haveFormat || !haveSize) bad = true;
  if (!bad && pBank->frameCount > 0 && !haveFrames) bad = true;
  if (!bad && pBank->pixelDataSize > 0 && !havePixels) bad = true;
  if (!bad && pBank->frameCount > 0) {
    pBank->frames = static_cast<QDLFrame*>(std::calloc(static_cast<size_t>(pBank->frameCount), sizeof(QDLFrame)));
    pBank->frameArraySize = static_cast<uint32_t>(pBank->frameCount) * 16;
    if (pBank->frames == nullptr) bad = true;
    for (int32_t i = 0; !bad && i < pBank->frameCount; ++i) {
      const uint8_t* r = table.data() + static_cast<size_t>(i) * QDLSPR_FRAME_RECORD_BYTES;
      QDLFrame& fr = pBank->frames[i];
      fr.width = static_cast<int16_t>(GetU16(r));
      fr.height = static_cast<int16_t>(GetU16(r + 2));
      fr.encoding = static_cast<int16_t>(GetU16(r + 4));
      const uint32_t offset = QDXGetU32(r + 6);
      fr.bank = pBank;
      if (fr.width < 0 || fr.height < 0 || fr.encoding < QDLENC_NONE || fr.encoding > QDLENC_RLE_FILL) {
        bad = true;
        break;
      }
      if (fr.encoding == QDLENC_NONE) continue;
      if (bpp == 0 || offset >= pBank->pixelDataSize) {
        bad = true;
        break;
      }
      fr.pixels = pBank->pixelData + offset;
      if (QDLFrameDataSize(&fr, bpp, pBank->pixelDataSize - offset) == 0) bad = true;
    }
  }
  if (bad) {
    std::fprintf(stderr, "QDLSpriteBankLoad: %s is not a valid sprite-bank file\n", pFileName);
    QDLSpriteBankFree(pBank);
    return nullptr;
  }
  QDLSpriteBankUpdateColours(pBank);
  pBank->sourceBytesPerPixel = bpp;
  return pBank;
}

// ---------------------------------------------------------------------------
// Saving.

uint32_t QDLSpriteBankSave(QDLSpriteBank* pBank, const char* pFileName) {
  if (pBank == nullptr || pFileName == nullptr) return QDL_ERR_NULL_SURFACE;
  const std::string path = platform::resolvePath(pFileName);
  const std::string tmp = platform::temporaryPathFor(path);
  FILE* f = std::fopen(tmp.c_str(), "wb");
  if (f == nullptr) return QDL_ERR_FAILED;

  bool ok = true;
  QDXChunk c;
  QDXChunkReset(&c);
  auto chunk = [&](uint16_t id, const void* p, size_t n) {
    if (!ok) return;
    if (QDXChunkBegin(&c, id, f) != id) ok = false;
    else if (n > 0 && QDXChunkWrite(&c, p, n, 1) != 1) ok = false;
    else if (QDXChunkEnd(&c) != n + QDX_CHUNK_HEADER_SIZE) ok = false;
  };
  uint8_t header[QDLSPR_HEADER_BYTES] = {};
  QDXPutU16(header, 3);
  QDXPutU16(header + 34, 1);
  chunk(QDLSPR_CHUNK_HEADER, header, sizeof header);
  uint8_t word[4];
  QDXPutU16(word, static_cast<uint16_t>(pBank->frameCount));
  chunk(QDLSPR_CHUNK_FRAME_COUNT, word, 2);
  QDXPutU32(word, pBank->formatCode);
  chunk(QDLSPR_CHUNK_FORMAT, word, 4);
  QDXPutU32(word, pBank->pixelDataSize);
  chunk(QDLSPR_CHUNK_PIXEL_SIZE, word, 4);
  std::vector<uint8_t> table;
  table.reserve(static_cast<size_t>(pBank->frameCount) * QDLSPR_FRAME_RECORD_BYTES);
  for (int32_t i = 0; i < pBank->frameCount; ++i) {
    const QDLFrame& fr = pBank->frames[i];
    PutU16(table, static_cast<uint16_t>(fr.width));
    PutU16(table, static_cast<uint16_t>(fr.height));
    PutU16(table, static_cast<uint16_t>(fr.encoding));
    const uint32_t offset =
        fr.pixels != nullptr && pBank->pixelData != nullptr ? static_cast<uint32_t>(fr.pixels - pBank->pixelData) : 0;
    PutU16(table, offset & 0xFFFF);
    PutU16(table, offset >> 16);
  }
  chunk(QDLSPR_CHUNK_FRAMES, table.data(), table.size());
  chunk(QDLSPR_CHUNK_PIXELS, pBank->pixelData, pBank->pixelData ? pBank->pixelDataSize : 0);
  if (pBank->palette != nullptr && pBank->palette->entries != nullptr) {
    uint8_t pal[QDLSPR_PALETTE_BYTES] = {};
    const uint32_t n = std::min<uint32_t>(256, pBank->palette->entryCount * pBank->palette->paletteCount);
    for (uint32_t i = 0; i < n; ++i) {
      pal[i * 3] = pBank->palette->entries[i].red;
      pal[i * 3 + 1] = pBank->palette->entries[i].green;
      pal[i * 3 + 2] = pBank->palette->entries[i].blue;
    }
    chunk(QDLSPR_CHUNK_PALETTE, pal, sizeof pal);
  }
  if (std::fclose(f) != 0) ok = false;
  if (ok && std::rename(tmp.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) {
    std::remove(tmp.c_str());
    return QDL_ERR_FAILED;
  }
  return QDL_OK;
}

// ---------------------------------------------------------------------------
// Conversion.

namespace {

// Pixels read from a bank's data and packed for the target format, a run
// at a time. An 8-bit source takes its colour from the bank's palette (grey
// i, i, i when it has none), so indexed banks keep their colours.
struct PixelConverter {
  QDLPixelConverter conv;
  uint32_t srcBpp, dstBpp;

  void Write(std::vector<uint8_t>& out, const uint8_t* p, uint32_t n) const {
    const size_t at = out.size();
    out.resize(at + static_cast<size_t>(n) * dstBpp);
    QDLPixelConvertRow(&conv, out.data() + at, p, n);
  }
};

bool ConvertFrame(const QDLFrame& fr, const PixelConverter& cv, uint32_t available, std::vector<uint8_t>& out) {
  if (QDLFrameDataSize(&fr, cv.srcBpp, available) == 0) return false;
  const uint8_t* p = fr.pixels;
  for (int32_t row = 0; row < fr.height; ++row) {
    const size_t start = out.size();
    PutU16(out, 0);
    const uint32_t len = GetU16(p);
    uint32_t used = 2;
    if (fr.encoding == QDLENC_RAW) {
      if (fr.width > 0) {
        cv.Write(out, p + used, static_cast<uint32_t>(fr.width));
        used += static_cast<uint32_t>(fr.width) * cv.srcBpp;
      }
    } else {
      for (;;) {
        const int8_t c = static_cast<int8_t>(p[used++]);
        out.push_back(static_cast<uint8_t>(c));
        if (c == 0) break;
        if (c < 0) continue;
        const uint32_t n = fr.encoding == QDLENC_RLE ? static_cast<uint32_t>(c) : 1u;
        cv.Write(out, p + used, n);
        used += n * cv.srcBpp;
      }
    }
    if ((out.size() - start) & 1) out.push_back(0);  // rows padded to even length
    const bool last = row == fr.height - 1;
    const size_t rowLen = last ? 0 : out.size() - start;
    if (rowLen > 0xFFFF) {
      // The row's length field has 16 bits: such a row cannot be stored.
      std::fprintf(stderr, "QDLSpriteBankConvert: row %d converts to %zu bytes, more than a row may hold (65535)\n",
                   static_cast<int>(row), rowLen);
      return false;
    }
    out[start] = static_cast<uint8_t>(rowLen);
    out[start + 1] = static_cast<uint8_t>(rowLen >> 8);
    p += len;
  }
  return true;
}

}  // namespace

QDLSpriteBank* QDLSpriteBankConvert(QDLSpriteBank* pBank, uint32_t formatCode, uint32_t flags) {
  if (pBank == nullptr) return nullptr;
  if (formatCode == 0) {
    QDLSurface* pDisplay = qdlGlobals.pDisplay;
    if (pDisplay == nullptr) return nullptr;
    formatCode = pDisplay->formatCode;
  }
  PixelConverter cv{{}, BytesPerPixelOf(pBank->formatCode), BytesPerPixelOf(formatCode)};
  if (cv.srcBpp == 0 || cv.dstBpp == 0) return nullptr;
  const QDLPalette* pPalette = pBank->palette;
  QDLPixelConverterForFormats(&cv.conv, pBank->formatCode, formatCode, pPalette,
                              pPalette != nullptr ? pPalette->entryCount * pPalette->paletteCount : 0,
                              (flags & QDLCONVERT_DITHER) != 0, pPalette != nullptr);
  std::vector<uint8_t> data;
  data.reserve(static_cast<size_t>(pBank->pixelDataSize) / cv.srcBpp * cv.dstBpp + 64);
  std::vector<uint32_t> offsets(static_cast<size_t>(pBank->frameCount), 0);
  for (int32_t i = 0; i < pBank->frameCount; ++i) {
    const QDLFrame& fr = pBank->frames[i];
    if (fr.encoding == QDLENC_NONE) continue;
    if (data.size() & 1) data.push_back(0);
    offsets[static_cast<size_t>(i)] = static_cast<uint32_t>(data.size());
    const uint32_t available = static_cast<uint32_t>(pBank->pixelDataSize - (fr.pixels - pBank->pixelData));
    if (!ConvertFrame(fr, cv, available, data)) {
      std::fprintf(stderr, "QDLSpriteBankConvert: frame %d cannot be converted\n", static_cast<int>(i));
      return nullptr;
    }
  }
  if (data.size() > UINT32_MAX) return nullptr;  // offsets and the pixel size have 32 bits
  QDLSpriteBank* pNew = QDLSpriteBankCreate(pBank->frameCount, static_cast<uint32_t>(data.size()), 0);
  if (pNew == nullptr) return nullptr;
  if (!data.empty()) std::memcpy(pNew->pixelData, data.data(), data.size());
  for (int32_t i = 0; i < pBank->frameCount; ++i) {
    const QDLFrame& src = pBank->frames[i];
    QDLFrame& dst = pNew->frames[i];
    dst.width = src.width;
    dst.height = src.height;
    dst.encoding = src.encoding;
    dst.bank = pNew;
    dst.pixels = src.encoding == QDLENC_NONE ? nullptr : pNew->pixelData + offsets[static_cast<size_t>(i)];
  }
  pNew->formatCode = formatCode;
  pNew->sourceBytesPerPixel = cv.dstBpp;
  if ((formatCode & QDLFORMAT_SIZE_MASK) == QDLFORMAT_INDEXED8 && pBank->palette != nullptr) {
    // An indexed bank keeps its colours: the new bank gets its own copy.
    QDLPalette* pPal = QDLPaletteCreate(256, 1, 0);
    if (pPal != nullptr) {
      QDLPaletteEntry entries[256];
      QDLPaletteGetEntries(pBank->palette, entries, 0, 256);
      QDLPaletteSetEntries(pPal, entries, 0, 256);
      QDLSpriteBankAdoptPalette(pNew, pPal);
    }
  }
  if (pBank->valueTable != nullptr && pBank->frameCount > 0) {
    pNew->valueTable = static_cast<int32_t*>(std::malloc(sizeof(int32_t) * static_cast<size_t>(pBank->frameCount)));
    if (pNew->valueTable != nullptr)
      std::memcpy(pNew->valueTable, pBank->valueTable, sizeof(int32_t) * static_cast<size_t>(pBank->frameCount));
  }
  return pNew;
}
