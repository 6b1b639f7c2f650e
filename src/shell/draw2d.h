#pragma once
// The 2D drawing state of the portable game code: current colours and a
// four-corner gradient, used by operations that add items to the frame
// packet's draw list on a given layer.
#include <cstdint>

struct Draw2DColour {
  uint8_t r, g, b, a;
};

struct Draw2DGradient {
  uint8_t aaCorner[4][3];  // red, green, blue of each corner
  uint8_t uAlpha;
};

extern Draw2DColour draw2d_oFillColour;
extern Draw2DColour draw2d_oColour2;
extern Draw2DColour draw2d_oTextColour;
extern Draw2DGradient draw2d_oGradient;

void draw2d_FillColourSet(uint8_t r, uint8_t g, uint8_t b, uint8_t a);
void draw2d_Colour2Set(uint8_t r, uint8_t g, uint8_t b, uint8_t a);
void draw2d_TextColourSet(uint8_t r, uint8_t g, uint8_t b, uint8_t a);
void draw2d_GradientSet(uint8_t r1, uint8_t g1, uint8_t b1, uint8_t r2, uint8_t g2, uint8_t b2, uint8_t r3, uint8_t g3,
                        uint8_t b3, uint8_t r4, uint8_t g4, uint8_t b4, uint8_t uAlpha);

void draw2d_RectFill(int32_t x, int32_t y, int32_t w, int32_t h, int32_t iLayer);
void draw2d_RectFill2(int32_t x, int32_t y, int32_t w, int32_t h, int32_t iLayer);
void draw2d_RectFillCorners2(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t iLayer);
void draw2d_GradientRectFill(int32_t x, int32_t y, int32_t w, int32_t h, int32_t iLayer);
void draw2d_TriangleFill(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t iLayer);
void draw2d_TextShadowDraw(const char* pszText, int32_t x, int32_t y);
void draw2d_TextShadowDrawRemapped(const char* pszText, int32_t x, int32_t y);
// The text with its dark shadow one pixel down and right, on a layer of the
// caller's choosing: x is the text's left end, its right end or its middle.
void draw2d_TextShadowLeft(const char* pszText, int32_t x, int32_t y, int32_t iLayer);
void draw2d_TextShadowRight(const char* pszText, int32_t x, int32_t y, int32_t iLayer);
void draw2d_TextShadowCentred(const char* pszText, int32_t x, int32_t y, int32_t iLayer);

// The text colour that front-end text output prints in.
Draw2DColour draw2d_oTextColourGet();
