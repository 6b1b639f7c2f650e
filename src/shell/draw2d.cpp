// The 2D drawing state.
#include "shell/draw2d.h"

#include "frontend/frontend_services.h"
#include "scene3d/scene3d_services.h"

Draw2DColour draw2d_oFillColour;
Draw2DColour draw2d_oColour2;
Draw2DColour draw2d_oTextColour = {255, 255, 255, 255};
Draw2DGradient draw2d_oGradient;

void draw2d_FillColourSet(uint8_t r, uint8_t g, uint8_t b, uint8_t a) { draw2d_oFillColour = {r, g, b, a}; }
void draw2d_Colour2Set(uint8_t r, uint8_t g, uint8_t b, uint8_t a) { draw2d_oColour2 = {r, g, b, a}; }
void draw2d_TextColourSet(uint8_t r, uint8_t g, uint8_t b, uint8_t a) { draw2d_oTextColour = {r, g, b, a}; }
Draw2DColour draw2d_oTextColourGet() { return draw2d_oTextColour; }

void draw2d_GradientSet(uint8_t r1, uint8_t g1, uint8_t b1, uint8_t r2, uint8_t g2, uint8_t b2, uint8_t r3, uint8_t g3,
                        uint8_t b3, uint8_t r4, uint8_t g4, uint8_t b4, uint8_t uAlpha) {
  draw2d_oGradient = {{{r1, g1, b1}, {r2, g2, b2}, {r3, g3, b3}, {r4, g4, b4}}, uAlpha};
}

void draw2d_RectFill(int32_t x, int32_t y, int32_t w, int32_t h, int32_t iLayer) {
  const Draw2DColour& c = draw2d_oFillColour;
  bool bHalf = c.a < 255;
  pcframe_AddBox(x, y, x + w, y + h, iLayer, c.r, c.g, c.b, bHalf ? 128 : 255, bHalf ? 17 : 1);
}

void draw2d_RectFill2(int32_t x, int32_t y, int32_t w, int32_t h, int32_t iLayer) {
  const Draw2DColour& c = draw2d_oColour2;
  pcframe_AddBox(x, y, x + w, y + h, iLayer, c.r, c.g, c.b, 255, 0);
}

void draw2d_RectFillCorners2(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t iLayer) {
  const Draw2DColour& c = draw2d_oColour2;
  pcframe_AddBox(x1, y1, x2, y2, iLayer, c.r, c.g, c.b, c.a < 255 ? 128 : 255, 0);
}

// A corner of the gradient as the frame packet takes it: bytes red, green,
// blue, alpha, with the gradient's one alpha in every corner.
static uint32_t draw2d_uPackCorner(int32_t i) {
  const uint8_t* p = draw2d_oGradient.aaCorner[i];
  return pcframe_uCornerColour(p[0], p[1], p[2], draw2d_oGradient.uAlpha);
}

void draw2d_GradientRectFill(int32_t x, int32_t y, int32_t w, int32_t h, int32_t iLayer) {
  pcframe_AddShadedBox(x, y, x + w, y + h, iLayer, draw2d_uPackCorner(0), draw2d_uPackCorner(1), draw2d_uPackCorner(2),
                       draw2d_uPackCorner(3), 1);
}

void draw2d_TriangleFill(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t iLayer) {
  const Draw2DColour& c = draw2d_oFillColour;
  pcframe_AddTriangle(x1, y1, x2, y2, x3, y3, iLayer, c.r, c.g, c.b, c.a < 255 ? 128 : 255, 1);
}

// The text in the current colour with a black copy one pixel down and right,
// both on layer iLayer, placed by pfnPrint; the text colour is left as it
// was. The copy goes in after the text, so that the text is drawn over it.
static void draw2d_TextShadowPrint(void (*pfnPrint)(const char*, int32_t, int32_t, int32_t), const char* pszText,
                                   int32_t x, int32_t y, int32_t iLayer) {
  Draw2DColour oSaved = draw2d_oTextColour;
  pfnPrint(pszText, x, y, iLayer);
  draw2d_TextColourSet(0, 0, 0, 255);
  pfnPrint(pszText, x + 1, y + 1, iLayer);
  draw2d_oTextColour = oSaved;
}

void draw2d_TextShadowDraw(const char* pszText, int32_t x, int32_t y) {
  draw2d_TextShadowPrint(pctext_PrintCentred, pszText, x, y, 1);
}

void draw2d_TextShadowDrawRemapped(const char* pszText, int32_t x, int32_t y) {
  draw2d_TextShadowPrint(pctext_PrintLeft, pszText, x, y, 1);
}

void draw2d_TextShadowLeft(const char* pszText, int32_t x, int32_t y, int32_t iLayer) {
  draw2d_TextShadowPrint(pctext_PrintLeft, pszText, x, y, iLayer);
}

void draw2d_TextShadowRight(const char* pszText, int32_t x, int32_t y, int32_t iLayer) {
  draw2d_TextShadowPrint(pctext_PrintRight, pszText, x, y, iLayer);
}

void draw2d_TextShadowCentred(const char* pszText, int32_t x, int32_t y, int32_t iLayer) {
  draw2d_TextShadowPrint(pctext_PrintCentred, pszText, x, y, iLayer);
}
