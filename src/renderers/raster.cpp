// The span rasteriser.
//
// Triangles are walked row by row from their edges; every attribute is a
// plane over the screen (value at a point plus steps per pixel in x and y).
// Texture coordinates are interpolated as u/w and v/w with 1/w and divided
// back every 16 pixels, with a linear step in 16.16 fixed point in between.
// The pixel work is one template per combination of texture, colour source,
// blend and depth, chosen once per triangle.
#include "renderers/raster.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace q3dr {

void TextureFromRgba(Texture* t, const uint8_t* p, int32_t width, int32_t height, bool repeatU, bool repeatV) {
  t->iWidth = width;
  t->iHeight = height;
  t->bRepeatU = repeatU;
  t->bRepeatV = repeatV;
  const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
  t->auArgb.assign(n, 0);
  t->au565.assign(n, 0);
  t->auAlpha.assign(n, 0);
  for (size_t i = 0; i < n; ++i) {
    uint32_t r = p[i * 4], g = p[i * 4 + 1], b = p[i * 4 + 2], a = p[i * 4 + 3];
    if (r >= 248 && g < 8 && b >= 248) a = 0;  // the magenta key
    t->auArgb[i] = (a << 24) | (r << 16) | (g << 8) | b;
    t->au565[i] = Pack565(r, g, b);
    t->auAlpha[i] = static_cast<uint8_t>(a);
  }
}

namespace {

constexpr int kChunk = 16;
constexpr float kInverse[kChunk + 1] = {0.0f,        1.0f,        1.0f / 2,  1.0f / 3,  1.0f / 4,  1.0f / 5,
                                        1.0f / 6,    1.0f / 7,    1.0f / 8,  1.0f / 9,  1.0f / 10, 1.0f / 11,
                                        1.0f / 12,   1.0f / 13,   1.0f / 14, 1.0f / 15, 1.0f / 16};

// ceil of a value known to be at least 0 and well inside the int range.
inline int32_t CeilNonNegative(float f) {
  const int32_t i = static_cast<int32_t>(f);
  return static_cast<float>(i) < f ? i + 1 : i;
}


struct Gradients {
  float z, rhw, s, t, r, g, b, a;
};

struct SpanSetup {
  const Target* pTarget;
  const State* pState;
  const Texture* pTex;
  Gradients dx;
  uint32_t maskU, maskV;  // width - 1 for a power-of-two repeating axis, else 0
  float flatR, flatG, flatB, flatA;
};

inline int32_t Wrap(int32_t i, int32_t size, uint32_t mask, bool repeat) {
  if (repeat) {
    if (mask) return static_cast<int32_t>(static_cast<uint32_t>(i) & mask);
    int32_t m = i % size;
    return m < 0 ? m + size : m;
  }
  return i < 0 ? 0 : (i >= size ? size - 1 : i);
}

inline uint32_t Mul8(uint32_t a, uint32_t b) { return (a * b + 255u) >> 8; }

inline uint32_t ToByte(float f) {
  if (!(f > 0.0f)) return 0;
  if (f >= 255.0f) return 255;
  return static_cast<uint32_t>(f + 0.5f);
}

// Source over destination by alpha in 33 levels, the three fields of both
// pixels spread over one word so that one multiply serves them all.
inline uint16_t BlendAlpha(uint16_t d, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
  const uint32_t src = Pack565(r, g, b);
  const uint32_t a5 = (a + 4) >> 3;  // 0..32
  const uint32_t x = (d | (static_cast<uint32_t>(d) << 16)) & 0x07E0F81Fu;
  const uint32_t y = (src | (src << 16)) & 0x07E0F81Fu;
  const uint32_t out = ((x * (32 - a5) + y * a5) >> 5) & 0x07E0F81Fu;
  return static_cast<uint16_t>(out | (out >> 16));
}

// Twice the product of the two colours (the frame's colour times the texel
// scaled so that mid grey keeps it), each channel capped at its maximum.
inline uint16_t BlendMultiply(uint16_t d, uint32_t r, uint32_t g, uint32_t b) {
  const uint32_t dr = d >> 11, dg = (d >> 5) & 63, db = d & 31;
  const uint32_t mr = std::min<uint32_t>((dr * r + 127u) >> 7, 31u);
  const uint32_t mg = std::min<uint32_t>((dg * g + 127u) >> 7, 63u);
  const uint32_t mb = std::min<uint32_t>((db * b + 127u) >> 7, 31u);
  return static_cast<uint16_t>((mr << 11) | (mg << 5) | mb);
}

// floor(f x 65536) without a library call; 0 for values out of range.
inline int64_t FloorFix(float f) {
  const float s = f * 65536.0f;
  if (!(s > -4.0e18f && s < 4.0e18f)) return 0;
  const int64_t i = static_cast<int64_t>(s);
  return static_cast<float>(i) > s ? i - 1 : i;
}

inline int64_t ToFix(float f) {
  const float s = f * 65536.0f;
  if (!(s > -4.0e18f && s < 4.0e18f)) return 0;
  return static_cast<int64_t>(s);
}

inline uint32_t Clamp255(int64_t fix) {
  const int64_t v = fix >> 16;
  return v < 0 ? 0u : (v > 255 ? 255u : static_cast<uint32_t>(v));
}

// Whether a 16.16 value stepping by d stays within 0 .. (max + 1) x 65536 over
// n steps, so that its whole part needs no clamp and its bits fit 32.
inline bool InRange(int64_t f, int64_t d, int32_t n, int64_t max) {
  if (d > (int64_t{1} << 40) || d < -(int64_t{1} << 40)) return false;
  const int64_t last = f + d * (n - 1);
  const int64_t top = (max + 1) << 16;
  return f >= 0 && last >= 0 && f < top && last < top;
}

template <bool kTex, ColourSource kCol, Blend kBlend, bool kDepth>
void Span(const SpanSetup& c, int32_t y, int32_t x0, int32_t count, Gradients v) {
  const Target& tg = *c.pTarget;
  const State& st = *c.pState;
  uint16_t* dst = tg.pPixels + static_cast<size_t>(y) * tg.iPitch + x0;
  uint16_t* zb = kDepth ? tg.pDepth + static_cast<size_t>(y) * tg.iWidth + x0 : nullptr;
  const Texture* tex = c.pTex;
  const uint32_t alphaRef = st.uAlphaRef;
  const bool depthWrite = st.bDepthWrite;
  const uint32_t slack = st.uDepthSlack;
  // Colours and depth step in 16.16 fixed point (depth scaled to 0..65535).
  int64_t cr = 0, cg = 0, cb = 0, ca = 0, dr = 0, dg = 0, db = 0, da = 0;
  if (kCol == COLOUR_VERTEX) {
    cr = ToFix(v.r) + 32768;
    cg = ToFix(v.g) + 32768;
    cb = ToFix(v.b) + 32768;
    ca = ToFix(v.a) + 32768;
    dr = ToFix(c.dx.r);
    dg = ToFix(c.dx.g);
    db = ToFix(c.dx.b);
    da = ToFix(c.dx.a);
  }
  int64_t zf = 0, dz = 0;
  if (kDepth) {
    zf = ToFix(v.z * 65535.0f) + 32768;
    dz = ToFix(c.dx.z * 65535.0f);
  }
  const uint32_t* texels = kTex ? tex->auArgb.data() : nullptr;
  const uint8_t* alphas = kTex ? tex->auAlpha.data() : nullptr;
  const uint16_t* texels565 = kTex ? tex->au565.data() : nullptr;
  // A texture repeating by powers of two on both axes is addressed by masks
  // on the low 32 bits of the coordinates.
  const bool masked = kTex && tex->bRepeatU && tex->bRepeatV && c.maskU != 0 && c.maskV != 0;
  uint32_t shiftV = 0;
  if (masked)
    while ((1 << shiftV) < tex->iWidth) ++shiftV;

  // One pixel from its depth, texel index and interpolated colour.
  auto shade = [&](int32_t i, uint32_t z16, size_t at, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    if (kDepth && z16 > static_cast<uint32_t>(zb[i]) + slack) return;
    uint16_t out;
    bool opaque = false;
    if (kTex && kCol == COLOUR_WHITE && kBlend == BLEND_KEY) {
      if (alphas[at] < 128) return;
      out = texels565[at];
      opaque = true;
    } else {
      if (kCol == COLOUR_FLAT) {
        r = static_cast<uint32_t>(c.flatR);
        g = static_cast<uint32_t>(c.flatG);
        b = static_cast<uint32_t>(c.flatB);
        a = static_cast<uint32_t>(c.flatA);
      } else if (kCol == COLOUR_WHITE) {
        r = g = b = a = 255;
      }
      if (kTex) {
        const uint32_t texel = texels[at];
        if (kCol == COLOUR_WHITE) {
          r = (texel >> 16) & 255;
          g = (texel >> 8) & 255;
          b = texel & 255;
          a = texel >> 24;
        } else {
          r = Mul8(r, (texel >> 16) & 255);
          g = Mul8(g, (texel >> 8) & 255);
          b = Mul8(b, texel & 255);
          a = Mul8(a, texel >> 24);
        }
      }
      if (kBlend == BLEND_KEY) {
        if (a < 128) return;
        out = Pack565(r, g, b);
        opaque = true;
      } else if (kBlend == BLEND_MULTIPLY) {
        if (a < 128) return;
        out = BlendMultiply(dst[i], r, g, b);
      } else {
        if (a < alphaRef || a == 0) return;
        if (a >= 255) {
          out = Pack565(r, g, b);
          opaque = true;
        } else {
          out = BlendAlpha(dst[i], r, g, b, a);
        }
      }
    }
    dst[i] = out;
    if (kDepth && depthWrite && opaque) zb[i] = static_cast<uint16_t>(z16);
  };

  int64_t S = 0, T = 0, dS = 0, dT = 0;
  // 1 / w at the start of the next chunk: each chunk's end is the next one's start.
  float rNext = kTex ? 1.0f / v.rhw : 0.0f;
  int32_t i = 0;
  while (i < count) {
    const int32_t len = std::min(kChunk, count - i);
    if (kTex) {
      const float flen = static_cast<float>(len);
      const float r0 = rNext;
      const float rhw1 = v.rhw + c.dx.rhw * flen;
      const float r1 = 1.0f / rhw1;
      rNext = r1;
      const float s0 = v.s * r0, t0 = v.t * r0;
      const float s1 = (v.s + c.dx.s * flen) * r1, t1 = (v.t + c.dx.t * flen) * r1;
      S = FloorFix(s0);
      T = FloorFix(t0);
      const float inv = kInverse[len];
      dS = ToFix((s1 - s0) * inv);
      dT = ToFix((t1 - t0) * inv);
    }
    // Within range over the whole chunk the steps run in 32 bits without
    // clamps; the values are the same.
    bool fast = !kTex || masked;
    if (kDepth) fast = fast && InRange(zf, dz, len, 65535);
    if (kCol == COLOUR_VERTEX)
      fast = fast && InRange(cr, dr, len, 255) && InRange(cg, dg, len, 255) && InRange(cb, db, len, 255) &&
             InRange(ca, da, len, 255);
    if (fast) {
      uint32_t z = static_cast<uint32_t>(zf), s = static_cast<uint32_t>(S), t = static_cast<uint32_t>(T);
      uint32_t r = static_cast<uint32_t>(cr), g = static_cast<uint32_t>(cg), b = static_cast<uint32_t>(cb),
               a = static_cast<uint32_t>(ca);
      const uint32_t zs = static_cast<uint32_t>(dz), ss = static_cast<uint32_t>(dS), ts = static_cast<uint32_t>(dT);
      const uint32_t rs = static_cast<uint32_t>(dr), gs = static_cast<uint32_t>(dg), bs = static_cast<uint32_t>(db),
                     as = static_cast<uint32_t>(da);
      uint16_t* __restrict const d = dst + i;
      uint16_t* __restrict const zd = kDepth ? zb + i : nullptr;
      const std::integral_constant<int32_t, kChunk> whole;  // a whole chunk, its length known to the compiler
      bool done = false;
      if constexpr (kTex && kCol == COLOUR_WHITE && kBlend == BLEND_MULTIPLY) {
        // The grass over its shading: the texels and the test first, then
        // the blend over the chunk without branches.
        auto run = [&](auto n) {
          uint16_t mask[kChunk], old[kChunk], outs[kChunk];
          uint8_t tr[kChunk], tgr[kChunk], tb[kChunk];
          uint32_t sk = s, tk = t, zk = z;
          for (int32_t k = 0; k < n; ++k, sk += ss, tk += ts) {
            const uint32_t texel = texels[(((tk >> 16) & c.maskV) << shiftV) | ((sk >> 16) & c.maskU)];
            tr[k] = static_cast<uint8_t>(texel >> 16);
            tgr[k] = static_cast<uint8_t>(texel >> 8);
            tb[k] = static_cast<uint8_t>(texel);
            bool pass = (texel >> 24) >= 128;
            if (kDepth) pass &= (zk >> 16) <= static_cast<uint32_t>(zd[k]) + slack;
            zk += zs;
            mask[k] = pass ? 0xFFFF : 0;
            old[k] = d[k];
          }
          for (int32_t k = 0; k < n; ++k) outs[k] = BlendMultiply(old[k], tr[k], tgr[k], tb[k]);
          for (int32_t k = 0; k < n; ++k) d[k] = static_cast<uint16_t>((outs[k] & mask[k]) | (old[k] & ~mask[k]));
        };
        if (len == kChunk) run(whole);
        else run(len);
        done = true;
      }
      if constexpr (!kTex && kCol == COLOUR_VERTEX && kBlend == BLEND_ALPHA) {
        // Opaque shading (alpha 255 from end to end): colour and depth
        // written together where the test passes.
        if ((ca >> 16) == 255 && ((ca + da * (len - 1)) >> 16) == 255 && alphaRef <= 255) {
          auto run = [&](auto writeZ, auto n) {
            uint32_t rk = r, gk = g, bk = b, zk = z;
            for (int32_t k = 0; k < n; ++k, rk += rs, gk += gs, bk += bs, zk += zs) {
              const uint16_t col = Pack565(rk >> 16, gk >> 16, bk >> 16);
              const uint32_t z16 = kDepth ? zk >> 16 : 0;
              // All ones where the pixel passes, as a mask for both writes.
              const uint16_t m = kDepth ? static_cast<uint16_t>(0u - (z16 <= static_cast<uint32_t>(zd[k]) + slack)) : 0xFFFF;
              d[k] = static_cast<uint16_t>((col & m) | (d[k] & ~m));
              if constexpr (decltype(writeZ)::value) zd[k] = static_cast<uint16_t>((z16 & m) | (zd[k] & ~m));
            }
          };
          if (kDepth && depthWrite) {
            if (len == kChunk) run(std::true_type{}, whole);
            else run(std::true_type{}, len);
          } else {
            if (len == kChunk) run(std::false_type{}, whole);
            else run(std::false_type{}, len);
          }
          done = true;
        }
      }
      if (!done)
        for (int32_t k = 0; k < len; ++k) {
          const size_t at = kTex ? ((((t >> 16) & c.maskV) << shiftV) | ((s >> 16) & c.maskU)) : 0;
          shade(i + k, z >> 16, at, r >> 16, g >> 16, b >> 16, a >> 16);
          z += zs;
          s += ss;
          t += ts;
          r += rs;
          g += gs;
          b += bs;
          a += as;
        }
      i += len;
    } else {
      for (int32_t k = 0; k < len; ++k, ++i) {
        uint32_t z16 = 0;
        if (kDepth) {
          const int64_t zi = (zf + dz * k) >> 16;
          z16 = zi < 0 ? 0u : (zi > 65535 ? 65535u : static_cast<uint32_t>(zi));
        }
        size_t at = 0;
        if (kTex) {
          const int32_t tu = Wrap(static_cast<int32_t>((S + dS * k) >> 16), tex->iWidth, c.maskU, tex->bRepeatU);
          const int32_t tv = Wrap(static_cast<int32_t>((T + dT * k) >> 16), tex->iHeight, c.maskV, tex->bRepeatV);
          at = static_cast<size_t>(tv) * tex->iWidth + tu;
        }
        if (kCol == COLOUR_VERTEX)
          shade(i, z16, at, Clamp255(cr + dr * k), Clamp255(cg + dg * k), Clamp255(cb + db * k),
                Clamp255(ca + da * k));
        else
          shade(i, z16, at, 0, 0, 0, 0);
      }
    }
    if (kDepth) zf += dz * len;
    if (kCol == COLOUR_VERTEX) {
      cr += dr * len;
      cg += dg * len;
      cb += db * len;
      ca += da * len;
    }
    if (kTex) {
      const float flen = static_cast<float>(len);
      v.rhw += c.dx.rhw * flen;
      v.s += c.dx.s * flen;
      v.t += c.dx.t * flen;
    }
  }
}

// The rows of one triangle: its corners by height and its edges.
struct Rows {
  float topX, topY, midX, midY;
  float longSlope, upperSlope, lowerSlope;
  bool midOnRight;
  float x0, y0;   // the corner the attribute planes start from
  Gradients a0;   // their values there
  Gradients dy;   // and their steps per row
  float fW;
  int32_t yStart, yEnd;
};

template <bool kTex, ColourSource kCol, Blend kBlend, bool kDepth>
void DrawRows(const SpanSetup& setup, const Rows& r) {
  for (int32_t y = r.yStart; y < r.yEnd; ++y) {
    const float yc = static_cast<float>(y) + 0.5f;
    const float xLong = r.topX + (yc - r.topY) * r.longSlope;
    const float xShort =
        yc < r.midY ? r.topX + (yc - r.topY) * r.upperSlope : r.midX + (yc - r.midY) * r.lowerSlope;
    const float xl = r.midOnRight ? xLong : xShort;
    const float xr = r.midOnRight ? xShort : xLong;
    const int32_t xs = CeilNonNegative(std::clamp(xl - 0.5f, 0.0f, r.fW));
    const int32_t xe = CeilNonNegative(std::clamp(xr - 0.5f, 0.0f, r.fW));
    if (xe <= xs) continue;
    const float px = static_cast<float>(xs) + 0.5f - r.x0, py = yc - r.y0;
    Gradients v = r.a0;
    if (kDepth) v.z = r.a0.z + setup.dx.z * px + r.dy.z * py;
    if (kTex) {
      v.rhw = r.a0.rhw + setup.dx.rhw * px + r.dy.rhw * py;
      v.s = r.a0.s + setup.dx.s * px + r.dy.s * py;
      v.t = r.a0.t + setup.dx.t * px + r.dy.t * py;
    }
    if (kCol == COLOUR_VERTEX) {
      v.r = r.a0.r + setup.dx.r * px + r.dy.r * py;
      v.g = r.a0.g + setup.dx.g * px + r.dy.g * py;
      v.b = r.a0.b + setup.dx.b * px + r.dy.b * py;
      v.a = r.a0.a + setup.dx.a * px + r.dy.a * py;
    }
    Span<kTex, kCol, kBlend, kDepth>(setup, y, xs, xe - xs, v);
  }
}

typedef void (*SpanFunc)(const SpanSetup&, const Rows&);

template <bool kTex, ColourSource kCol, Blend kBlend>
SpanFunc PickDepth(bool depth) {
  return depth ? &DrawRows<kTex, kCol, kBlend, true> : &DrawRows<kTex, kCol, kBlend, false>;
}

template <bool kTex, ColourSource kCol>
SpanFunc PickBlend(Blend b, bool depth) {
  switch (b) {
    case BLEND_KEY: return PickDepth<kTex, kCol, BLEND_KEY>(depth);
    case BLEND_MULTIPLY: return PickDepth<kTex, kCol, BLEND_MULTIPLY>(depth);
    default: return PickDepth<kTex, kCol, BLEND_ALPHA>(depth);
  }
}

template <bool kTex>
SpanFunc PickColour(ColourSource col, Blend b, bool depth) {
  switch (col) {
    case COLOUR_WHITE: return PickBlend<kTex, COLOUR_WHITE>(b, depth);
    case COLOUR_FLAT: return PickBlend<kTex, COLOUR_FLAT>(b, depth);
    default: return PickBlend<kTex, COLOUR_VERTEX>(b, depth);
  }
}

SpanFunc Pick(const State& s, bool tex, bool depth) {
  return tex ? PickColour<true>(s.eColour, s.eBlend, depth) : PickColour<false>(s.eColour, s.eBlend, depth);
}

bool Finite(const Vertex& v) {
  // Screen positions far off the frame only come from bad input: the clipper
  // keeps real geometry near the screen.
  return std::fabs(v.x) < 1e6f && std::fabs(v.y) < 1e6f && std::isfinite(v.z) && std::isfinite(v.rhw) &&
         std::isfinite(v.u) && std::isfinite(v.v);
}

// Per-corner values of the interpolated attributes.
struct Corner {
  float x, y;
  Gradients a;
};

}  // namespace

void Clear(const Target& t, uint16_t colour) {
  if (t.pPixels == nullptr) return;
  for (int32_t y = 0; y < t.iHeight; ++y) std::fill_n(t.pPixels + static_cast<size_t>(y) * t.iPitch, t.iWidth, colour);
  if (t.pDepth) std::fill_n(t.pDepth, static_cast<size_t>(t.iWidth) * t.iHeight, static_cast<uint16_t>(0xFFFF));
}

void DrawTriangle(const Target& target, const State& state, const Vertex& va, const Vertex& vb, const Vertex& vc) {
  if (target.pPixels == nullptr || !Finite(va) || !Finite(vb) || !Finite(vc)) return;
  const Texture* tex = state.pTexture;
  const bool textured = tex != nullptr && tex->iWidth > 0 && tex->iHeight > 0;
  const bool depth = state.bDepthTest && target.pDepth != nullptr;
  const bool persp = state.bPerspective;
  const bool colours = state.eColour == COLOUR_VERTEX;

  Corner c[3];
  const Vertex* in[3] = {&va, &vb, &vc};
  for (int k = 0; k < 3; ++k) {
    const Vertex& v = *in[k];
    const float w = persp ? v.rhw : 1.0f;
    c[k].x = v.x;
    c[k].y = v.y;
    c[k].a.z = v.z;
    c[k].a.rhw = w;
    c[k].a.s = textured ? v.u * static_cast<float>(tex->iWidth) * w : 0.0f;
    c[k].a.t = textured ? v.v * static_cast<float>(tex->iHeight) * w : 0.0f;
    const Vertex& cv = state.bFlatShade ? va : v;
    c[k].a.r = cv.r;
    c[k].a.g = cv.g;
    c[k].a.b = cv.b;
    c[k].a.a = cv.a;
  }
  const float area = (c[1].x - c[0].x) * (c[2].y - c[0].y) - (c[2].x - c[0].x) * (c[1].y - c[0].y);
  if (!(std::fabs(area) > 1e-12f)) return;

  // Attribute planes from the three corners.
  SpanSetup setup;
  setup.pTarget = &target;
  setup.pState = &state;
  setup.pTex = textured ? tex : nullptr;
  Gradients dy;
  {
    const float x10 = c[1].x - c[0].x, x20 = c[2].x - c[0].x, y10 = c[1].y - c[0].y, y20 = c[2].y - c[0].y;
    const float inv = 1.0f / area;
    auto plane = [&](float a0, float a1, float a2, float* pdx, float* pdy) {
      *pdx = ((a1 - a0) * y20 - (a2 - a0) * y10) * inv;
      *pdy = ((a2 - a0) * x10 - (a1 - a0) * x20) * inv;
    };
    // Only the planes the pixel work reads.
    setup.dx = Gradients{0, 0, 0, 0, 0, 0, 0, 0};
    dy = setup.dx;
    if (depth) plane(c[0].a.z, c[1].a.z, c[2].a.z, &setup.dx.z, &dy.z);
    if (textured) {
      plane(c[0].a.rhw, c[1].a.rhw, c[2].a.rhw, &setup.dx.rhw, &dy.rhw);
      plane(c[0].a.s, c[1].a.s, c[2].a.s, &setup.dx.s, &dy.s);
      plane(c[0].a.t, c[1].a.t, c[2].a.t, &setup.dx.t, &dy.t);
    }
    if (colours) {
      plane(c[0].a.r, c[1].a.r, c[2].a.r, &setup.dx.r, &dy.r);
      plane(c[0].a.g, c[1].a.g, c[2].a.g, &setup.dx.g, &dy.g);
      plane(c[0].a.b, c[1].a.b, c[2].a.b, &setup.dx.b, &dy.b);
      plane(c[0].a.a, c[1].a.a, c[2].a.a, &setup.dx.a, &dy.a);
    }
  }
  setup.maskU = setup.maskV = 0;
  if (textured) {
    if ((tex->iWidth & (tex->iWidth - 1)) == 0) setup.maskU = static_cast<uint32_t>(tex->iWidth - 1);
    if ((tex->iHeight & (tex->iHeight - 1)) == 0) setup.maskV = static_cast<uint32_t>(tex->iHeight - 1);
  }
  setup.flatR = state.auFlat[0];
  setup.flatG = state.auFlat[1];
  setup.flatB = state.auFlat[2];
  setup.flatA = state.auFlat[3];
  const SpanFunc span = Pick(state, textured, depth);

  // Corners by y.
  int i0 = 0, i1 = 1, i2 = 2;
  if (c[i1].y < c[i0].y) std::swap(i0, i1);
  if (c[i2].y < c[i0].y) std::swap(i0, i2);
  if (c[i2].y < c[i1].y) std::swap(i1, i2);
  const Corner& top = c[i0];
  const Corner& mid = c[i1];
  const Corner& bot = c[i2];
  const float longDy = bot.y - top.y;
  if (!(longDy > 0.0f)) return;
  const float longSlope = (bot.x - top.x) / longDy;
  const float xLongAtMid = top.x + (mid.y - top.y) * longSlope;
  const bool midOnRight = mid.x > xLongAtMid;

  const float fH = static_cast<float>(target.iHeight);
  Rows rows;
  rows.topX = top.x;
  rows.topY = top.y;
  rows.midX = mid.x;
  rows.midY = mid.y;
  rows.longSlope = longSlope;
  const float upperDy = mid.y - top.y, lowerDy = bot.y - mid.y;
  rows.upperSlope = upperDy > 0.0f ? (mid.x - top.x) / upperDy : 0.0f;
  rows.lowerSlope = lowerDy > 0.0f ? (bot.x - mid.x) / lowerDy : 0.0f;
  rows.midOnRight = midOnRight;
  rows.x0 = c[0].x;
  rows.y0 = c[0].y;
  rows.a0 = c[0].a;
  rows.dy = dy;
  rows.fW = static_cast<float>(target.iWidth);
  rows.yStart = CeilNonNegative(std::clamp(top.y - 0.5f, 0.0f, fH));
  rows.yEnd = CeilNonNegative(std::clamp(bot.y - 0.5f, 0.0f, fH));
  span(setup, rows);
}

void DrawLine(const Target& target, const State& state, const Vertex& a, const Vertex& b) {
  if (target.pPixels == nullptr || !Finite(a) || !Finite(b)) return;
  const float dx = b.x - a.x, dy = b.y - a.y;
  const float len = std::max(std::fabs(dx), std::fabs(dy));
  if (len > 8192.0f) return;  // the clipper keeps lines on screen
  const int32_t steps = static_cast<int32_t>(std::ceil(len));
  const bool depth = state.bDepthTest && target.pDepth != nullptr;
  for (int32_t k = 0; k <= steps; ++k) {
    const float t = steps > 0 ? static_cast<float>(k) / static_cast<float>(steps) : 0.0f;
    const int32_t x = static_cast<int32_t>(std::floor(a.x + dx * t));
    const int32_t y = static_cast<int32_t>(std::floor(a.y + dy * t));
    if (x < 0 || y < 0 || x >= target.iWidth || y >= target.iHeight) continue;
    uint32_t r, g, bl, al;
    if (state.eColour == COLOUR_VERTEX) {
      r = ToByte(a.r + (b.r - a.r) * t);
      g = ToByte(a.g + (b.g - a.g) * t);
      bl = ToByte(a.b + (b.b - a.b) * t);
      al = ToByte(a.a + (b.a - a.a) * t);
    } else if (state.eColour == COLOUR_FLAT) {
      r = state.auFlat[0];
      g = state.auFlat[1];
      bl = state.auFlat[2];
      al = state.auFlat[3];
    } else {
      r = g = bl = al = 255;
    }
    if (al < state.uAlphaRef || al == 0) continue;
    uint16_t* p = target.pPixels + static_cast<size_t>(y) * target.iPitch + x;
    uint32_t z16 = 0;
    if (depth) {
      const float zf = (a.z + (b.z - a.z) * t) * 65535.0f;
      z16 = zf <= 0.0f ? 0u : (zf >= 65535.0f ? 65535u : static_cast<uint32_t>(zf + 0.5f));
      if (z16 > static_cast<uint32_t>(target.pDepth[static_cast<size_t>(y) * target.iWidth + x]) + state.uDepthSlack)
        continue;
    }
    *p = al >= 255 ? Pack565(r, g, bl) : BlendAlpha(*p, r, g, bl, al);
    if (depth && state.bDepthWrite && al >= 255) target.pDepth[static_cast<size_t>(y) * target.iWidth + x] = static_cast<uint16_t>(z16);
  }
}

}  // namespace q3dr
