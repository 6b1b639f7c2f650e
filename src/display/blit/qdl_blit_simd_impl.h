#pragma once
// Vector bodies of the 16-bit blends and fills, written once over small
// vector traits types. Included by the SSE2 and the AVX2 translation units;
// everything here has internal linkage so that code built for one
// instruction set is never shared with the other.
//
// A traits type V provides: type T, lanes L (16-bit lanes), Load, Store
// (unaligned), Set1, Set1x32, Srli1, Srl (run-time count), And, Or, AndNot
// (~a & b), Add, Sub, CmpEq, Select (lanes of a where the mask lane is all
// ones, of b where it is 0), Reverse (the lanes in reverse order).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

namespace {

inline uint16_t ImplLoad16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}
inline void ImplStore16(uint8_t* p, uint16_t v) { std::memcpy(p, &v, 2); }

// Runs one body over n pixels with vectors of W: whole vectors, then one last
// vector that ends at pixel n and overlaps the one before it. That last
// vector is computed from the pixels as they were before the span was
// written, so the pixels written twice get the same value both times.
// Returns false (having done nothing) when n is shorter than one vector.
template <class W, bool HAS_SOURCE, class B>
inline bool ImplSpanWith(uint8_t* d, const uint8_t* s, uint32_t n, const B& body) {
  using T = typename W::T;
  if (n < W::L) return false;
  const uint32_t lastOffset = 2 * (n - W::L);
  const bool ragged = (n % W::L) != 0;
  T last{};
  if (ragged) {
    T vd = W::Load(d + lastOffset);
    last = body.template Run<W>(vd, HAS_SOURCE ? W::Load(s + lastOffset) : vd);
  }
  for (uint32_t i = 0; i + W::L <= n; i += W::L) {
    T vd = W::Load(d + 2 * i);
    W::Store(d + 2 * i, body.template Run<W>(vd, HAS_SOURCE ? W::Load(s + 2 * i) : vd));
  }
  if (ragged) W::Store(d + lastOffset, last);
  return true;
}

// Runs body over n pixels: wide vectors, else narrow ones, else (fewer
// pixels than a narrow vector) through a small buffer, so that no byte
// outside the span is read or written.
template <class V, class V128, bool HAS_SOURCE, class B>
inline void ImplSpan(uint8_t* d, const uint8_t* s, uint32_t n, const B& body) {
  if (n == 0) return;
  if (ImplSpanWith<V, HAS_SOURCE>(d, s, n, body)) return;
  if (ImplSpanWith<V128, HAS_SOURCE>(d, s, n, body)) return;
  uint8_t bd[2 * V128::L] = {};
  uint8_t bs[2 * V128::L] = {};
  std::memcpy(bd, d, 2 * n);
  if (HAS_SOURCE) std::memcpy(bs, s, 2 * n);
  V128::Store(bd, body.template Run<V128>(V128::Load(bd), V128::Load(bs)));
  std::memcpy(d, bd, 2 * n);
}

// The same over a reversed span: source pixel i lands i pixels left of
// dRight. A vector of source pixels [i, i + L) is reversed and lands on the
// L destination pixels that end at dRight - i.
template <class W, class B>
inline bool ImplSpanRevWith(uint8_t* dRight, const uint8_t* s, uint32_t n, const B& body) {
  using T = typename W::T;
  if (n < W::L) return false;
  auto dest = [dRight](uint32_t i) { return dRight - 2 * static_cast<std::ptrdiff_t>(i + W::L - 1); };
  const uint32_t lastIndex = n - W::L;
  const bool ragged = (n % W::L) != 0;
  T last{};
  if (ragged) last = body.template Run<W>(W::Load(dest(lastIndex)), W::Reverse(W::Load(s + 2 * lastIndex)));
  for (uint32_t i = 0; i + W::L <= n; i += W::L) {
    uint8_t* d = dest(i);
    W::Store(d, body.template Run<W>(W::Load(d), W::Reverse(W::Load(s + 2 * i))));
  }
  if (ragged) W::Store(dest(lastIndex), last);
  return true;
}

template <class V, class V128, class B>
inline void ImplSpanRev(uint8_t* dRight, const uint8_t* s, uint32_t n, const B& body) {
  if (n == 0) return;
  if (ImplSpanRevWith<V>(dRight, s, n, body)) return;
  if (ImplSpanRevWith<V128>(dRight, s, n, body)) return;
  // Fewer pixels than a narrow vector: the destination run, left to right,
  // takes the source pixels in reverse order.
  uint8_t* dLeft = dRight - 2 * static_cast<std::ptrdiff_t>(n - 1);
  uint8_t bd[2 * V128::L] = {};
  uint8_t bs[2 * V128::L] = {};
  std::memcpy(bd, dLeft, 2 * n);
  for (uint32_t i = 0; i < n; ++i) std::memcpy(bs + 2 * (n - 1 - i), s + 2 * i, 2);
  V128::Store(bd, body.template Run<V128>(V128::Load(bd), V128::Load(bs)));
  std::memcpy(dLeft, bd, 2 * n);
}

// Adds to acc the halving steps of every lane of r that BITS selects (bit 4
// the first halving, bit 0 the fifth); the chain stops after the last one.
template <class W, unsigned BITS>
inline typename W::T ImplChainOf(typename W::T r, typename W::T m, typename W::T acc) {
  for (int k = 0; k < 5; ++k) {
    if ((BITS & ((1u << (5 - k)) - 1)) == 0) break;
    typename W::T h = W::And(W::Srli1(r), m);
    if ((BITS >> (4 - k)) & 1u) acc = W::Add(acc, h);
    r = W::Sub(r, h);
  }
  return acc;
}

// ---------------------------------------------------------------------------
// Bodies: what one vector of pixels becomes.

struct HalfBody {
  uint16_t mask;
  template <class W>
  typename W::T Run(typename W::T vd, typename W::T vs) const {
    const typename W::T m = W::Set1(mask);
    return W::Add(W::And(W::Srli1(vs), m), W::And(W::Srli1(vd), m));
  }
};

struct HalfFillBody {
  uint16_t mask;
  uint16_t sourceHalf;
  template <class W>
  typename W::T Run(typename W::T vd, typename W::T) const {
    return W::Add(W::Set1(sourceHalf), W::And(W::Srli1(vd), W::Set1(mask)));
  }
};

template <unsigned LV>
struct TransBody {
  uint16_t mask;
  template <class W>
  typename W::T Run(typename W::T vd, typename W::T vs) const {
    const typename W::T m = W::Set1(mask);
    typename W::T acc = ImplChainOf<W, LV>(vs, m, W::Set1(0));
    return ImplChainOf<W, (~LV & 31u)>(vd, m, acc);
  }
};

template <unsigned LV>
struct TransFillBody {
  uint16_t mask;
  uint16_t sourcePart;
  template <class W>
  typename W::T Run(typename W::T vd, typename W::T) const {
    return ImplChainOf<W, (~LV & 31u)>(vd, W::Set1(mask), W::Set1(sourcePart));
  }
};

// Coverage blend: the coverage (red field of the source) picks, step by step,
// the colour's halving or the destination's; coverage 0 keeps the
// destination and 31 gives the colour.
struct AlphaBody {
  uint16_t mask;
  uint16_t colour;
  uint32_t shift;
  uint16_t colourSteps[5];
  template <class W>
  typename W::T Run(typename W::T vd, typename W::T vs) const {
    using T = typename W::T;
    const T m = W::Set1(mask);
    const T k31 = W::Set1(31);
    const T zero = W::Set1(0);
    const T cov = W::And(W::Srl(vs, shift), k31);
    T acc = zero;
    T r = vd;
    for (int k = 0; k < 5; ++k) {
      const T bit = W::Set1(static_cast<uint16_t>(16 >> k));
      const T sel = W::CmpEq(W::And(cov, bit), bit);
      const T h = W::And(W::Srli1(r), m);
      acc = W::Add(acc, W::Select(sel, W::Set1(colourSteps[k]), h));
      r = W::Sub(r, h);
    }
    const T isZero = W::CmpEq(cov, zero);
    const T isFull = W::CmpEq(cov, k31);
    return W::Select(isFull, W::Set1(colour), W::Select(isZero, vd, acc));
  }
};

struct CopyBody {
  template <class W>
  typename W::T Run(typename W::T, typename W::T vs) const {
    return vs;
  }
};

// Colour key: a source pixel equal to the key leaves the destination's value.
struct KeyBody {
  uint16_t key;
  template <class W>
  typename W::T Run(typename W::T vd, typename W::T vs) const {
    const typename W::T keyed = W::CmpEq(vs, W::Set1(key));
    return W::Select(keyed, vd, vs);
  }
};

// ---------------------------------------------------------------------------
// The entry points of a set: V the wide vectors, V128 the narrow ones.

template <class V, class V128>
void ImplHalf16(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t mask) {
  ImplSpan<V, V128, true>(d, s, n, HalfBody{static_cast<uint16_t>(mask)});
}

template <class V, class V128>
void ImplKey16(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t key) {
  ImplSpan<V, V128, true>(d, s, n, KeyBody{static_cast<uint16_t>(key)});
}

template <class V, class V128>
void ImplHalfFill16(uint8_t* d, uint32_t n, uint32_t sourceHalf, uint32_t mask) {
  ImplSpan<V, V128, false>(
      d, nullptr, n, HalfFillBody{static_cast<uint16_t>(mask), static_cast<uint16_t>(sourceHalf)});
}

template <class V, class V128, unsigned LV>
void ImplTrans16Level(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t mask) {
  ImplSpan<V, V128, true>(d, s, n, TransBody<LV>{static_cast<uint16_t>(mask)});
}

template <class V, class V128, unsigned LV>
void ImplTransRev16Level(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t mask) {
  ImplSpanRev<V, V128>(d, s, n, TransBody<LV>{static_cast<uint16_t>(mask)});
}

template <class V, class V128, unsigned LV>
void ImplTransFill16Level(uint8_t* d, uint32_t n, uint32_t sourcePart, uint32_t mask) {
  ImplSpan<V, V128, false>(
      d, nullptr, n,
      TransFillBody<LV>{static_cast<uint16_t>(mask), static_cast<uint16_t>(sourcePart)});
}

// Tables of the 32 level bodies (plain arrays: nothing here may be shared
// with code built for another instruction set).
template <class V, class V128>
struct ImplTransTables {
  void (*span[32])(uint8_t*, const uint8_t*, uint32_t, uint32_t);
  void (*fill[32])(uint8_t*, uint32_t, uint32_t, uint32_t);
  void (*rev[32])(uint8_t*, const uint8_t*, uint32_t, uint32_t);
};
template <class V, class V128, unsigned... L>
constexpr ImplTransTables<V, V128> ImplMakeTransTables(std::integer_sequence<unsigned, L...>) {
  return ImplTransTables<V, V128>{{&ImplTrans16Level<V, V128, L>...},
                                  {&ImplTransFill16Level<V, V128, L>...},
                                  {&ImplTransRev16Level<V, V128, L>...}};
}

// Translucent blend: one body per level, chosen once per span.
template <class V, class V128>
void ImplTrans16(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t level, uint32_t mask) {
  static constexpr ImplTransTables<V, V128> kTables =
      ImplMakeTransTables<V, V128>(std::make_integer_sequence<unsigned, 32>{});
  kTables.span[level & 31u](d, s, n, mask);
}

template <class V, class V128>
void ImplTransFill16(uint8_t* d, uint32_t n, uint32_t sourcePart, uint32_t level, uint32_t mask) {
  static constexpr ImplTransTables<V, V128> kTables =
      ImplMakeTransTables<V, V128>(std::make_integer_sequence<unsigned, 32>{});
  kTables.fill[level & 31u](d, n, sourcePart, mask);
}

inline AlphaBody ImplAlphaBody(uint32_t colour, uint32_t shift, uint32_t mask) {
  AlphaBody body{static_cast<uint16_t>(mask), static_cast<uint16_t>(colour), shift, {}};
  uint32_t r = colour & 0xFFFFu;
  for (int k = 0; k < 5; ++k) {
    const uint32_t h = (r >> 1) & mask;
    body.colourSteps[k] = static_cast<uint16_t>(h);
    r -= h;
  }
  return body;
}

template <class V, class V128>
void ImplAlpha16(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t colour, uint32_t shift,
                 uint32_t mask) {
  ImplSpan<V, V128, true>(d, s, n, ImplAlphaBody(colour, shift, mask));
}

template <class V, class V128>
void ImplCopyRev16(uint8_t* d, const uint8_t* s, uint32_t n) {
  ImplSpanRev<V, V128>(d, s, n, CopyBody{});
}

template <class V, class V128>
void ImplHalfRev16(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t mask) {
  ImplSpanRev<V, V128>(d, s, n, HalfBody{static_cast<uint16_t>(mask)});
}

template <class V, class V128>
void ImplTransRev16(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t level, uint32_t mask) {
  static constexpr ImplTransTables<V, V128> kTables =
      ImplMakeTransTables<V, V128>(std::make_integer_sequence<unsigned, 32>{});
  kTables.rev[level & 31u](d, s, n, mask);
}

template <class V, class V128>
void ImplAlphaRev16(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t colour, uint32_t shift,
                    uint32_t mask) {
  ImplSpanRev<V, V128>(d, s, n, ImplAlphaBody(colour, shift, mask));
}

template <class V, class V128>
void ImplKeyRev16(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t key) {
  ImplSpanRev<V, V128>(d, s, n, KeyBody{static_cast<uint16_t>(key)});
}

// Stores of one value: whole vectors, the last one overlapping the one
// before it (storing a value twice changes nothing); short runs with narrow
// vectors, then single pixels.
template <class V, class V128>
void ImplFill16(uint8_t* d, uint32_t n, uint16_t v) {
  if (n >= V::L) {
    const typename V::T vv = V::Set1(v);
    for (uint32_t i = 0; i + V::L <= n; i += V::L) V::Store(d + 2 * i, vv);
    V::Store(d + 2 * (n - V::L), vv);
  } else if (n >= V128::L) {
    const typename V128::T vv = V128::Set1(v);
    V128::Store(d, vv);
    V128::Store(d + 2 * (n - V128::L), vv);
  } else {
    for (uint32_t i = 0; i < n; ++i) ImplStore16(d + 2 * i, v);
  }
}

template <class V, class V128>
void ImplFill32(uint8_t* d, uint32_t n, uint32_t v) {
  const uint32_t wide = V::L / 2, narrow = V128::L / 2;
  if (n >= wide) {
    const typename V::T vv = V::Set1x32(v);
    for (uint32_t i = 0; i + wide <= n; i += wide) V::Store(d + 4 * i, vv);
    V::Store(d + 4 * (n - wide), vv);
  } else if (n >= narrow) {
    const typename V128::T vv = V128::Set1x32(v);
    for (uint32_t i = 0; i + narrow <= n; i += narrow) V128::Store(d + 4 * i, vv);
    V128::Store(d + 4 * (n - narrow), vv);
  } else {
    for (uint32_t i = 0; i < n; ++i) std::memcpy(d + 4 * i, &v, 4);
  }
}

}  // namespace
