// The blit dispatcher: clipping, wrapping views, colour tables of indexed
// banks, the choice of kernel and the lock around it.
#include "display/blit/qdl_blit.h"

#include "display/qdl.h"

namespace {

const QDLBlitTable kTables[] = {
    {0x11, 7, qdlBlitTable8To8},   {0x12, 7, qdlBlitTable8To16}, {0x22, 7, qdlBlitTable16To16},
    {0x33, 1, qdlBlitTable24To24}, {0x44, 1, qdlBlitTable32To32},
};

// Non-negative remainder of a by m (m > 0).
int32_t Wrap(int64_t a, int32_t m) {
  int64_t r = a % m;
  if (r < 0) r += m;
  return static_cast<int32_t>(r);
}

// The record a mode selects.
uint32_t RecordOfMode(uint32_t mode, uint16_t level) {
  switch (mode) {
    case QDLBLIT_PLAIN:
      return QDLBLIT_RECORD_PLAIN;
    case QDLBLIT_KEY:
      return QDLBLIT_RECORD_KEY;
    case QDLBLIT_SOLID:
      return QDLBLIT_RECORD_SOLID;
    case QDLBLIT_TRANSLUCENT:
      return level == 15 ? QDLBLIT_RECORD_HALF : QDLBLIT_RECORD_TRANS;
    case QDLBLIT_ALPHAMAP:
      return QDLBLIT_RECORD_ALPHA;
    default:
      return QDLBLIT_RECORD_PATTERN;
  }
}

// Writes the clip block for a frame of w x h at (x, y) that needs no cut.
void WholeFrameClip(QDLBlitParams* p, int32_t x, int32_t y, int32_t w, int32_t h) {
  p->clipSkipX = 0;
  p->clipSkipY = 0;
  p->clipWidth = p->clipExtentX = w;
  p->clipHeight = p->clipExtentY = h;
  p->clipX = x;
  p->clipY = y;
}

}  // namespace

const QDLBlitTable* QDLBlitTableFind(uint32_t key) {
  for (const QDLBlitTable& t : kTables) {
    if (t.key == key) return &t;
  }
  return nullptr;
}

void QDLBlitPatternCountersResetForTest() {
  qdlPatternCounter8To16 = 0;
  qdlPatternFillCounter8To16 = 0;
  qdlPatternCounter16To16 = 0;
  qdlPatternFillCounter16To16 = 0;
  qdlPatternCounter8To8 = 0;
}

uint32_t QDLBlit(QDLSurface* pSurface, QDLFrame* pFrame, int32_t x, int32_t y, uint32_t flags,
                 QDLBlitParams* pParams) {
  if (!pSurface || !pFrame || !pFrame->bank || !pFrame->pixels) return QDLBLIT_NOTHING_DRAWN;
  if (pFrame->encoding < QDLENC_RAW || pFrame->encoding > QDLENC_RLE_FILL) {
    return QDLBLIT_NOTHING_DRAWN;
  }
  const int32_t w = pFrame->width;
  const int32_t h = pFrame->height;
  if (w < 0 || h < 0) return QDLBLIT_NOTHING_DRAWN;

  const uint32_t mode = flags & QDLBLIT_MODE_MASK;
  // Modes that read fields only the caller fills need the caller's block.
  const bool needsCallerBlock = mode == QDLBLIT_KEY || mode == QDLBLIT_SOLID ||
                                mode == QDLBLIT_TRANSLUCENT || mode == QDLBLIT_ALPHAMAP ||
                                (flags & QDLBLIT_PALETTE) != 0;
  if (needsCallerBlock && !pParams) return QDLBLIT_NOTHING_DRAWN;

  QDLBlitParams own{};
  QDLBlitParams* block = pParams;
  uint32_t clip = 0;
  QDLSurface* dest = pSurface;
  const bool mirrorX = (flags & QDLBLIT_MIRROR_X) != 0;
  const bool mirrorY = (flags & QDLBLIT_MIRROR_Y) != 0;

  if (!(flags & QDLBLIT_UNCLIPPED)) {
    const int32_t W = pSurface->width;
    const int32_t H = pSurface->height;
    if (W <= 0 || H <= 0) return QDLBLIT_NOTHING_DRAWN;
    const int64_t x1 = static_cast<int64_t>(x) + w;
    const int64_t y1 = static_cast<int64_t>(y) + h;
    if (y >= H || x >= W || y1 < 0 || x1 < 0) return QDLBLIT_NOTHING_DRAWN;
    if (x1 > W) clip |= QDLCLIP_RIGHT;
    if (x < 0) clip |= QDLCLIP_LEFT;
    if (y1 > H) clip |= QDLCLIP_BOTTOM;
    if (y < 0) clip |= QDLCLIP_TOP;
    if (clip) {
      if (!block) block = &own;
      WholeFrameClip(block, x, y, w, h);
      const bool left = (clip & QDLCLIP_LEFT) != 0;
      const bool right = (clip & QDLCLIP_RIGHT) != 0;
      if (left && right) {
        block->clipSkipX = mirrorX ? w - W + x : -x;
        block->clipWidth = block->clipExtentX = W;
        block->clipX = 0;
      } else if (left) {
        block->clipSkipX = mirrorX ? 0 : -x;
        block->clipWidth += x;
        block->clipExtentX += x;
        block->clipX = 0;
      } else if (right) {
        if (mirrorX) block->clipSkipX = w - W + x;
        block->clipWidth += W - w - x;
        block->clipExtentX += W - w - x;
      }
      const bool top = (clip & QDLCLIP_TOP) != 0;
      const bool bottom = (clip & QDLCLIP_BOTTOM) != 0;
      if (top && bottom) {
        block->clipSkipY = mirrorY ? h - H + y : -y;
        block->clipHeight = block->clipExtentY = H;
        block->clipY = 0;
      } else if (top) {
        block->clipSkipY = mirrorY ? 0 : -y;
        block->clipHeight += y;
        block->clipExtentY += y;
        block->clipY = 0;
      } else if (bottom) {
        if (mirrorY) block->clipSkipY = h - H + y;
        block->clipHeight += H - h - y;
        block->clipExtentY += H - h - y;
      }
    }

    // A wrapping view: move into the parent and split at its edges.
    if ((pSurface->flags & QDLSURF_VIEW) && (pSurface->flags & QDLSURF_WRAP_VIEW)) {
      QDLSurface* parent = pSurface->parent;
      // A wrapping view always has its parent's size; any other would draw
      // past the parent's edges.
      if (!parent || parent->width != W || parent->height != H) return QDLBLIT_NOTHING_DRAWN;
      if (!block) block = &own;
      x = Wrap(static_cast<int64_t>(x) + pSurface->viewX, W);
      y = Wrap(static_cast<int64_t>(y) + pSurface->viewY, H);
      if (clip) {
        block->clipX = Wrap(static_cast<int64_t>(block->clipX) + pSurface->viewX, W);
        block->clipY = Wrap(static_cast<int64_t>(block->clipY) + pSurface->viewY, H);
      } else {
        WholeFrameClip(block, x, y, w, h);
      }
      dest = parent;
      if (block->clipWidth + block->clipX > parent->width) {
        block->wrapWidth = parent->width - block->clipX;
        clip |= QDLCLIP_WRAP_X;
      }
      if (block->clipHeight + block->clipY > parent->height) {
        block->wrapHeight = parent->height - block->clipY;
        clip |= QDLCLIP_WRAP_Y;
      }
    }
  }

  // Format fields come from the surface that owns the pixels: a view takes
  // them from its parent.
  const QDLSurface* format = dest;
  if ((dest->flags & QDLSURF_VIEW) && dest->parent) format = dest->parent;

  QDLSpriteBank* bank = pFrame->bank;
  const bool indexed = (bank->formatCode & 1u) != 0;
  if (indexed) {
    flags |= QDLBLIT_INDEXED;
    if (!block) block = &own;
    if (flags & QDLBLIT_PALETTE) {
      block->colourTablePalette = pParams->palette;
      block->colourTable = pParams->palette
                               ? static_cast<const uint16_t*>(pParams->palette->colourTable)
                               : nullptr;
    } else {
      block->colourTable = static_cast<const uint16_t*>(bank->colourTable);
      block->colourTablePalette = bank->palette;
    }
  }

  // The source pixel size follows the bank's format code when the bank has
  // none recorded; the value stays in the bank.
  if (bank->sourceBytesPerPixel == 0) {
    const uint32_t bytes = QDLFormatBitsPerPixel(bank->formatCode) / 8;
    if (bytes == 0) return QDLBLIT_NOTHING_DRAWN;
    bank->sourceBytesPerPixel = bytes;
  }

  const uint32_t key = (bank->sourceBytesPerPixel << 4) | format->bytesPerPixel;
  const QDLBlitTable* table = QDLBlitTableFind(key);
  if (!table) return QDLBLIT_NOTHING_DRAWN;

  const uint32_t flip = (flags >> 24) & 3u;
  const uint32_t record = RecordOfMode(mode, pParams ? pParams->level : 0);
  if (mode == QDLBLIT_TRANSLUCENT || mode == QDLBLIT_ALPHAMAP) {
    if (format->bytesPerPixel == 2) {
      block->halveMask = (format->formatCode & 0xF81Fu) == 4 ? 0xBDEF : 0x7BEF;
    }
    if (mode == QDLBLIT_ALPHAMAP) block->level = format->redShift;
  }
  if (record >= table->recordCount) return QDLBLIT_NOTHING_DRAWN;
  const QDLBlitKernel kernel =
      table->records[record].kernel[flip * 4 + static_cast<uint32_t>(pFrame->encoding)];
  if (!kernel) return QDLBLIT_NOTHING_DRAWN;

  // Kernels that translate indices need a colour table.
  if (table->key == 0x12 && record != QDLBLIT_RECORD_SOLID && record != QDLBLIT_RECORD_PATTERN &&
      (!block || !block->colourTable)) {
    return QDLBLIT_NOTHING_DRAWN;
  }

  // Lock what is not locked. A view is always locked for the call (and
  // released after it): that aims its pixel pointer at its parent's current
  // memory, and its parent stays locked if the caller had locked it.
  bool lockedHere = false;
  if ((dest->flags & QDLSURF_VIEW) || !dest->locked) {
    if (QDLSurfaceLock(dest) != 0) return QDLBLIT_LOCK_FAILED;
    lockedHere = true;
  }
  if (!dest->pixels) {
    if (lockedHere) QDLSurfaceUnlock(dest);
    return QDLBLIT_LOCK_FAILED;
  }

  const uint32_t result = kernel(dest, pFrame, x, y, flags, block, clip);
  if (lockedHere) QDLSurfaceUnlock(dest);
  return result;
}
