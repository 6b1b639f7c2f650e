#pragma once
// Vector bodies of the 16-bit blends and fills, written once over a small
// vector traits type. Included by the SSE2 and the AVX2 translation units;
// everything here has internal linkage so that code built for one
// instruction set is never shared with the other.
#include <cstdint>
#include <cstring>

namespace {

inline uint16_t ImplLoad16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}
inline void ImplStore16(uint8_t* p, uint16_t v) { std::memcpy(p, &v, 2); }

inline uint32_t ImplHalvingSum(uint32_t p, uint32_t bits, uint32_t mask) {
  uint32_t acc = 0;
  uint32_t r = p;
  for (int b = 4; b >= 0; --b) {
    uint32_t h = (r >> 1) & mask;
    if ((bits >> b) & 1u) acc += h;
    r -= h;
  }
  return acc;
}

inline uint16_t ImplAlpha(uint32_t coverage, uint32_t colour, uint32_t d, uint32_t mask) {
  if (coverage == 0) return static_cast<uint16_t>(d);
  if (coverage == 31) return static_cast<uint16_t>(colour);
  return static_cast<uint16_t>(ImplHalvingSum(colour & 0xFFFFu, coverage, mask) +
                               ImplHalvingSum(d, ~coverage & 31u, mask));
}

// V provides: type T, lanes L (16-bit lanes), Load, Store, Set1, Srli1, And,
// Or, AndNot (~a & b), Add, Sub, CmpEq, Srl (by a run-time count).
template <class V>
void ImplHalf16(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t mask) {
  using T = typename V::T;
  const T m = V::Set1(static_cast<uint16_t>(mask));
  uint32_t i = 0;
  for (; i + V::L <= n; i += V::L) {
    T vs = V::Load(s + 2 * i);
    T vd = V::Load(d + 2 * i);
    V::Store(d + 2 * i, V::Add(V::And(V::Srli1(vs), m), V::And(V::Srli1(vd), m)));
  }
  for (; i < n; ++i) {
    uint32_t sv = ImplLoad16(s + 2 * i), dv = ImplLoad16(d + 2 * i);
    ImplStore16(d + 2 * i, static_cast<uint16_t>(((sv >> 1) & mask) + ((dv >> 1) & mask)));
  }
}

template <class V>
void ImplHalfFill16(uint8_t* d, uint32_t n, uint32_t sourceHalf, uint32_t mask) {
  using T = typename V::T;
  const T m = V::Set1(static_cast<uint16_t>(mask));
  const T sh = V::Set1(static_cast<uint16_t>(sourceHalf));
  uint32_t i = 0;
  for (; i + V::L <= n; i += V::L) {
    T vd = V::Load(d + 2 * i);
    V::Store(d + 2 * i, V::Add(sh, V::And(V::Srli1(vd), m)));
  }
  for (; i < n; ++i) {
    uint32_t dv = ImplLoad16(d + 2 * i);
    ImplStore16(d + 2 * i, static_cast<uint16_t>(sourceHalf + ((dv >> 1) & mask)));
  }
}

// Sum of the halving steps of every lane of r chosen by the lanes of sel
// (all ones: taken), five steps in order; `acc` receives the sum.
template <class V>
inline typename V::T ImplChain(typename V::T r, const typename V::T* sel, typename V::T m,
                               typename V::T acc) {
  for (int k = 0; k < 5; ++k) {
    typename V::T h = V::And(V::Srli1(r), m);
    acc = V::Add(acc, V::And(h, sel[k]));
    r = V::Sub(r, h);
  }
  return acc;
}

template <class V>
void ImplTrans16(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t level, uint32_t mask) {
  using T = typename V::T;
  const T m = V::Set1(static_cast<uint16_t>(mask));
  T selS[5], selD[5];
  for (int k = 0; k < 5; ++k) {
    bool set = (level >> (4 - k)) & 1u;
    selS[k] = V::Set1(set ? 0xFFFF : 0);
    selD[k] = V::Set1(set ? 0 : 0xFFFF);
  }
  uint32_t i = 0;
  for (; i + V::L <= n; i += V::L) {
    T acc = ImplChain<V>(V::Load(s + 2 * i), selS, m, V::Set1(0));
    acc = ImplChain<V>(V::Load(d + 2 * i), selD, m, acc);
    V::Store(d + 2 * i, acc);
  }
  for (; i < n; ++i) {
    uint32_t sv = ImplLoad16(s + 2 * i), dv = ImplLoad16(d + 2 * i);
    ImplStore16(d + 2 * i, static_cast<uint16_t>(ImplHalvingSum(sv, level & 31u, mask) +
                                                 ImplHalvingSum(dv, ~level & 31u, mask)));
  }
}

template <class V>
void ImplTransFill16(uint8_t* d, uint32_t n, uint32_t sourcePart, uint32_t level, uint32_t mask) {
  using T = typename V::T;
  const T m = V::Set1(static_cast<uint16_t>(mask));
  const T sp = V::Set1(static_cast<uint16_t>(sourcePart));
  T selD[5];
  for (int k = 0; k < 5; ++k) selD[k] = V::Set1(((level >> (4 - k)) & 1u) ? 0 : 0xFFFF);
  uint32_t i = 0;
  for (; i + V::L <= n; i += V::L) {
    V::Store(d + 2 * i, ImplChain<V>(V::Load(d + 2 * i), selD, m, sp));
  }
  for (; i < n; ++i) {
    uint32_t dv = ImplLoad16(d + 2 * i);
    ImplStore16(d + 2 * i,
                static_cast<uint16_t>(sourcePart + ImplHalvingSum(dv, ~level & 31u, mask)));
  }
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
  uint32_t i = 0;
  for (; i + V::L <= n; i += V::L) {
    T vs = V::Load(s + 2 * i);
    T vd = V::Load(d + 2 * i);
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
    out = V::Or(V::And(isFull, col), V::AndNot(isFull, out));
    V::Store(d + 2 * i, out);
  }
  for (; i < n; ++i) {
    uint32_t sv = ImplLoad16(s + 2 * i), dv = ImplLoad16(d + 2 * i);
    ImplStore16(d + 2 * i, ImplAlpha((sv >> shift) & 31u, colour, dv, mask));
  }
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
