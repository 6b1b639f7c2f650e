#pragma once
// Drawing primitives of the 2D display library: filled rectangles, pixels,
// lines, spans, rectangles, ellipses, circles, triangles, quadrilaterals,
// diamonds and polygons on QDLSurfaces. Colours are pixel values of the
// surface's format. Coordinates are relative to a view when the surface is a
// view; the pixels land in the view's parent.
//
// Results: 0 success; 3 null surface; 4 outside the surface, nothing to do,
// or a surface that is not 16-bit 5-6-5 / 5-5-5 where pixels are written; 1
// when a needed lock fails. An operation that had to lock the surface
// unlocks it again; a surface that was locked stays locked.
#include <cstdint>

#include "display/blit/qdl_blit.h"
#include "display/qdl_types.h"

// Blend and shape flags.
enum : uint32_t {
  QDLDRAW_FILLED = 1,         // shapes: filled
  QDLDRAW_NO_CLIP = 2,        // spans: the caller guarantees the span is inside
  QDLDRAW_ORDERED = 4,        // spans, rectangles: end points already ordered
  QDLDRAW_SOFTWARE = 8,       // fill: force the software fill
  QDLDRAW_DOTTED = 8,         // lines: every second pixel along the major axis
  QDLDRAW_MIX = 16,           // 16-bit blend: mean of pixel and colour
  QDLDRAW_DARKEN = 32,        // 16-bit blend: halve the pixel
  QDLDRAW_BRIGHTEN = 64,      // 16-bit blend: double the pixel, saturating
  QDLDRAW_LINE_UNCLIPPED = 512,
};

// A point of the triangle, quadrilateral and polygon operations.
struct QDLPoint {
  int32_t x;
  int32_t y;
};

// Extent of the span pairs: the shared extent of two spans (first and last
// coordinate, both inclusive) and whether the second span is drawn (0 for a
// single span when the two coordinates are equal).
struct QDLSpanExtent {
  int32_t first;
  int32_t last;
  int32_t bothSpans;
};

uint32_t QDLFillRect(QDLSurface* pSurface, QDLRectI16* pRect, uint32_t colour, uint32_t flags);
uint32_t QDLPutPixel(QDLSurface* pSurface, int32_t x, int32_t y, uint32_t colour, uint32_t flags);
uint32_t QDLGetPixel(QDLSurface* pSurface, int32_t x, int32_t y, uint32_t* pPixel);
uint32_t QDLGetPixelRGB(QDLSurface* pSurface, int32_t x, int32_t y, uint8_t* pR, uint8_t* pG, uint8_t* pB);
uint32_t QDLLine(QDLSurface* pSurface, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint16_t colour,
                 uint32_t flags);
uint32_t QDLLineTo(QDLSurface* pSurface, int32_t x, int32_t y, uint32_t flags);
uint32_t QDLLineBy(QDLSurface* pSurface, int32_t dx, int32_t dy, uint32_t flags);
uint32_t QDLSpanH(QDLSurface* pSurface, int32_t x1, int32_t x2, int32_t y, uint32_t colour, uint32_t flags);
uint32_t QDLSpanV(QDLSurface* pSurface, int32_t x, int32_t y1, int32_t y2, uint32_t colour, uint32_t flags);
// Two horizontal spans over one extent at rows y1 and y2 (vertical spans at
// columns x1 and x2).
uint32_t QDLSpanHPair(QDLSurface* pSurface, int32_t y1, int32_t y2, uint32_t colour, uint32_t flags,
                      const QDLSpanExtent* pExtent);
uint32_t QDLSpanVPair(QDLSurface* pSurface, int32_t x1, int32_t x2, uint32_t colour, uint32_t flags,
                      const QDLSpanExtent* pExtent);
uint32_t QDLRect(QDLSurface* pSurface, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour,
                 uint32_t flags);
uint32_t QDLRectWH(QDLSurface* pSurface, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t colour,
                   uint32_t flags);
uint32_t QDLEllipse(QDLSurface* pSurface, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour,
                    uint32_t flags);
uint32_t QDLEllipseWH(QDLSurface* pSurface, int32_t x, int32_t y, int32_t width, int32_t height,
                      uint32_t colour, uint32_t flags);
uint32_t QDLCircle(QDLSurface* pSurface, int32_t cx, int32_t cy, int32_t radius, uint32_t colour, uint32_t flags);
uint32_t QDLTriangle(QDLSurface* pSurface, const QDLPoint* pP1, const QDLPoint* pP2, const QDLPoint* pP3,
                     uint32_t colour, uint32_t flags);
uint32_t QDLQuad(QDLSurface* pSurface, const QDLPoint* pP1, const QDLPoint* pP2, const QDLPoint* pP3,
                 const QDLPoint* pP4, uint32_t colour, uint32_t flags);
uint32_t QDLPolygon(QDLSurface* pSurface, const QDLPoint* pPoints, int32_t count, uint32_t colour, uint32_t flags);
uint32_t QDLDiamond(QDLSurface* pSurface, int32_t cx, int32_t cy, int32_t halfWidth, int32_t halfHeight,
                    uint32_t colour, uint32_t flags);
uint32_t QDLDiamondHalf(QDLSurface* pSurface, int32_t apexX, int32_t apexY, int32_t halfWidth, int32_t height,
                        uint32_t colour, uint32_t flags);
