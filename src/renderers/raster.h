#pragma once
// The span rasteriser shared by both renderer libraries: perspective-correct
// textured triangles and lines into a 16-bit 5-6-5 frame, with an optional
// 16-bit depth buffer.
#include <cstdint>
#include <vector>

namespace q3dr {

// A texture in the rasteriser's form: 32-bit texels 0xAARRGGBB (the magenta
// key already turned into alpha 0), their 5-6-5 values and alphas.
struct Texture {
  int32_t iWidth = 0;
  int32_t iHeight = 0;
  bool bRepeatU = false;
  bool bRepeatV = false;
  std::vector<uint32_t> auArgb;
  std::vector<uint16_t> au565;
  std::vector<uint8_t> auAlpha;
};

// Builds a texture from RGBA bytes (row 0 on top); a texel with red and blue
// of 248 or more and green below 8 becomes transparent.
void TextureFromRgba(Texture* pTex, const uint8_t* pRgba, int32_t width, int32_t height, bool repeatU,
                     bool repeatV);

// A corner after projection: screen position, depth z / w, 1 / w, texture
// coordinates (0..1 across the texture) and colour (0..255).
struct Vertex {
  float x, y, z, rhw;
  float u, v;
  float r, g, b, a;
};

struct Target {
  uint16_t* pPixels = nullptr;
  int32_t iPitch = 0;  // in pixels
  int32_t iWidth = 0;
  int32_t iHeight = 0;
  uint16_t* pDepth = nullptr;  // width x height values, null for none
};

// How a draw colours its pixels.
enum ColourSource : uint8_t { COLOUR_WHITE = 0, COLOUR_FLAT = 1, COLOUR_VERTEX = 2 };
enum Blend : uint8_t {
  BLEND_KEY = 0,       // alpha below 128 not drawn, else opaque
  BLEND_ALPHA = 1,     // blended by alpha
  BLEND_MULTIPLY = 2,  // multiplies the frame's colour
};

struct State {
  const Texture* pTexture = nullptr;  // null: untextured
  ColourSource eColour = COLOUR_VERTEX;
  Blend eBlend = BLEND_ALPHA;
  uint8_t auFlat[4] = {255, 255, 255, 255};
  bool bPerspective = true;
  bool bDepthTest = false;
  bool bDepthWrite = false;
  // Depth units (of 65535) a pixel may lie behind the stored depth and still
  // pass: layers drawn over a surface (shadows, decals, the grass over its
  // shading) come from other triangles of the same plane.
  uint32_t uDepthSlack = 0;
  bool bFlatShade = false;   // the first corner's colour for the whole face
  uint32_t uAlphaRef = 0;    // pixels with alpha below it are not drawn
};

inline uint16_t Pack565(uint32_t r, uint32_t g, uint32_t b) {
  return static_cast<uint16_t>(((r & 0xF8u) << 8) | ((g & 0xFCu) << 3) | (b >> 3));
}

// Pixel centres are at +0.5; a pixel is drawn when its centre lies inside
// the triangle, a centre on a left or top edge counting as inside.
void DrawTriangle(const Target& target, const State& state, const Vertex& a, const Vertex& b, const Vertex& c);
// One-pixel lines from a to b (the end pixel included).
void DrawLine(const Target& target, const State& state, const Vertex& a, const Vertex& b);
// Fills the frame (and the depth buffer with its farthest value).
void Clear(const Target& target, uint16_t colour);

}  // namespace q3dr
