#pragma once
// Vector bodies of the 16-bit blends and fills, written once over a small
// vector traits type. Included by the SSE2 and the AVX2 translation units;
// everything here has internal linkage so that code built for one
// instruction set is never shared with the other.
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

// V provides: type T, lanes L (16-bit lanes), Load, Store, Set1, Srli1, And,
// Or, AndNot (~a & b), Add, Sub, CmpEq, Srl (by a run-time count).
template <class V>
void ImplHalf16(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t mask) {
  using T = typename V::T;
  const T m = V::Set1(static_cast<uint16_t>(mask));
  ImplSpan<V, true>(d, s, n, [m](T vd, T vs) {
    return V::Add(V::And(V::Srli1(vs), m), V::And(V::Srli1(vd), m));
  });
}

template <class V>
void ImplHalfFill16(uint8_t* d, uint32_t n, uint32_t sourceHalf, uint32_t mask) {
  using T = typename V::T;
  const T m = V::Set1(static_cast<uint16_t>(mask));
  const T sh = V::Set1(static_cast<uint16_t>(sourceHalf));
  ImplSpan<V, false>(d, nullptr, n, [m, sh](T vd, T) { return V::Add(sh, V::And(V::Srli1(vd), m)); });
}

// Adds to acc the halving steps of every lane of r that BITS selects (bit 4
// the first halving, bit 0 the fifth); the chain stops after the last one.
template <class V, unsigned BITS>
inline typename V::T ImplChainOf(typename V::T r, typename V::T m, typename V::T acc) {
  for (int k = 0; k < 5; ++k) {
    if ((BITS & ((1u << (5 - k)) - 1)) == 0) break;
    typename V::T h = V::And(V::Srli1(r), m);
    if ((BITS >> (4 - k)) & 1u) acc = V::Add(acc, h);
    r = V::Sub(r, h);
  }
  return acc;
}

// Runs body(dv, sv) -> result over n pixels, whole vectors first, then the
// remainder through a small buffer so that no byte past the span is touched.
template <class V, bool HAS_SOURCE, class F>
inline void ImplSpan(uint8_t* d, const uint8_t* s, uint32_t n, F body) {
  using T = typename V::T;
  uint32_t i = 0;
  for (; i + V::L <= n; i += V::L) {
    T vd = V::Load(d + 2 * i);
    T vs = HAS_SOURCE ? V::Load(s + 2 * i) : vd;
    V::Store(d + 2 * i, body(vd, vs));
  }
  if (i < n) {
    uint8_t bd[2 * V::L] = {};
    uint8_t bs[2 * V::L] = {};
    const uint32_t rest = 2 * (n - i);
    std::memcpy(bd, d + 2 * i, rest);
    if (HAS_SOURCE) std::memcpy(bs, s + 2 * i, rest);
    V::Store(bd, body(V::Load(bd), V::Load(bs)));
    std::memcpy(d + 2 * i, bd, rest);
  }
}

template <class V, unsigned LV>
void ImplTrans16Level(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t mask) {
  using T = typename V::T;
  const T m = V::Set1(static_cast<uint16_t>(mask));
  ImplSpan<V, true>(d, s, n, [m](T vd, T vs) {
    T acc = ImplChainOf<V, LV>(vs, m, V::Set1(0));
    return ImplChainOf<V, (~LV & 31u)>(vd, m, acc);
  });
}

template <class V, unsigned LV>
void ImplTransFill16Level(uint8_t* d, uint32_t n, uint32_t sourcePart, uint32_t mask) {
  using T = typename V::T;
  const T m = V::Set1(static_cast<uint16_t>(mask));
  const T sp = V::Set1(static_cast<uint16_t>(sourcePart));
  ImplSpan<V, false>(d, nullptr, n,
                     [m, sp](T vd, T) { return ImplChainOf<V, (~LV & 31u)>(vd, m, sp); });
}

// Tables of the 32 level bodies (plain arrays: nothing here may be shared
// with code built for another instruction set).
template <class V>
struct ImplTransTables {
  void (*span[32])(uint8_t*, const uint8_t*, uint32_t, uint32_t);
  void (*fill[32])(uint8_t*, uint32_t, uint32_t, uint32_t);
};
template <class V, unsigned... L>
constexpr ImplTransTables<V> ImplMakeTransTables(std::integer_sequence<unsigned, L...>) {
  return ImplTransTables<V>{{&ImplTrans16Level<V, L>...}, {&ImplTransFill16Level<V, L>...}};
}

// Translucent blend: one body per level, chosen once per span.
template <class V>
void ImplTrans16(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t level, uint32_t mask) {
  static constexpr ImplTransTables<V> kTables =
      ImplMakeTransTables<V>(std::make_integer_sequence<unsigned, 32>{});
  kTables.span[level & 31u](d, s, n, mask);
}

template <class V>
void ImplTransFill16(uint8_t* d, uint32_t n, uint32_t sourcePart, uint32_t level, uint32_t mask) {
  static constexpr ImplTransTables<V> kTables =
      ImplMakeTransTables<V>(std::make_integer_sequence<unsigned, 32>{});
  kTables.fill[level & 31u](d, n, sourcePart, mask);
}

template <class V>
void ImplAlpha16(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t colour, uint32_t shift,
                 uint32_t mask) {
  using T = typename V::T;
  const T m = V::Set1(static_cast<uint16_t>(mask));
  const T k31 = V::Set1(31);
  const T zero = V::Set1(0);
  const T col = V::Set1(static_cast<uint16_t>(colour));
  // The five halvings of the colour, once for the span.
  T hk[5];
  {
    uint32_t r = colour & 0xFFFFu;
    for (int k = 0; k < 5; ++k) {
      uint32_t h = (r >> 1) & mask;
      hk[k] = V::Set1(static_cast<uint16_t>(h));
      r -= h;
    }
  }
  ImplSpan<V, true>(d, s, n, [&](T vd, T vs) {
    T cov = V::And(V::Srl(vs, shift), k31);
    T acc = zero;
    T r = vd;
    for (int k = 0; k < 5; ++k) {
      T bit = V::Set1(static_cast<uint16_t>(16 >> k));
      T sel = V::CmpEq(V::And(cov, bit), bit);
      T h = V::And(V::Srli1(r), m);
      acc = V::Add(acc, V::Or(V::And(sel, hk[k]), V::AndNot(sel, h)));
      r = V::Sub(r, h);
    }
    T isZero = V::CmpEq(cov, zero);
    T isFull = V::CmpEq(cov, k31);
    T out = V::Or(V::And(isZero, vd), V::AndNot(isZero, acc));
    return V::Or(V::And(isFull, col), V::AndNot(isFull, out));
  });
}

template <class V>
void ImplFill16(uint8_t* d, uint32_t n, uint16_t v) {
  using T = typename V::T;
  const T vv = V::Set1(v);
  uint32_t i = 0;
  for (; i + V::L <= n; i += V::L) V::Store(d + 2 * i, vv);
  for (; i < n; ++i) ImplStore16(d + 2 * i, v);
}

template <class V>
void ImplFill32(uint8_t* d, uint32_t n, uint32_t v) {
  using T = typename V::T;
  const T vv = V::Set1x32(v);
  uint32_t i = 0;
  const uint32_t l32 = V::L / 2;
  for (; i + l32 <= n; i += l32) V::Store(d + 4 * i, vv);
  for (; i < n; ++i) std::memcpy(d + 4 * i, &v, 4);
}

}  // namespace
