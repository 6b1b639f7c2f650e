// Every vector set gives exactly the scalar set's pixels, at every length
// and alignment, and writes nothing past the pixels it is given.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "display/blit/qdl_blit_simd.h"

namespace {

struct Buffers {
  std::vector<uint8_t> d, s;
};

Buffers Random(std::mt19937& rng, size_t bytes) {
  Buffers b;
  b.d.resize(bytes);
  b.s.resize(bytes);
  for (auto& v : b.d) v = static_cast<uint8_t>(rng());
  for (auto& v : b.s) v = static_cast<uint8_t>(rng());
  return b;
}

// A key that the source holds (the pixel at byte offset `at`).
uint32_t ImplKeyOf(const std::vector<uint8_t>& s, size_t at) {
  return static_cast<uint32_t>(s[at] | (s[at + 1] << 8));
}

}  // namespace

TEST(BlitSimd, VectorSetsEqualScalar) {
  const QDLBlitSimdSet* scalar = QDLBlitSimdSetGet(0);
  ASSERT_NE(scalar, nullptr);
  std::mt19937 rng(31337);
  int compared = 0;
  for (int which = 1; which <= 3; ++which) {
    const QDLBlitSimdSet* set = QDLBlitSimdSetGet(which);
    if (!set) continue;
    for (int iter = 0; iter < 3000; ++iter) {
      const uint32_t n = static_cast<uint32_t>(rng() % 70);
      const uint32_t off = static_cast<uint32_t>(rng() % 4);
      // The two formats' masks, and now and then another one (vector sets
      // may take other paths for it).
      const uint32_t pick = static_cast<uint32_t>(rng() % 9);
      const uint32_t mask = pick < 4 ? 0x7BEF : pick < 8 ? 0xBDEF : 0x7BCF;
      const uint32_t level = static_cast<uint32_t>(rng() % 64);
      const uint32_t colour = static_cast<uint32_t>(rng());
      const uint32_t shift = (rng() & 1) ? 11 : 10;
      const uint32_t part = static_cast<uint32_t>(rng() & 0xF7BE);
      Buffers a = Random(rng, 2 * 80 + 8);
      Buffers b = a;
      auto check = [&](const char* what) {
        ASSERT_EQ(a.d, b.d) << set->name << " " << what << " n " << n << " offset " << off;
        ++compared;
      };
      scalar->half16(a.d.data() + off, a.s.data() + 1, n, mask);
      set->half16(b.d.data() + off, b.s.data() + 1, n, mask);
      check("half16");
      scalar->trans16(a.d.data() + off, a.s.data() + 3, n, level, mask);
      set->trans16(b.d.data() + off, b.s.data() + 3, n, level, mask);
      check("trans16");
      scalar->alpha16(a.d.data() + off, a.s.data(), n, colour, shift, mask);
      set->alpha16(b.d.data() + off, b.s.data(), n, colour, shift, mask);
      check("alpha16");
      {
        const uint32_t key = (rng() & 1) ? ImplKeyOf(a.s, 5) : static_cast<uint32_t>(rng());
        scalar->key16(a.d.data() + off, a.s.data() + 5, n, key);
        set->key16(b.d.data() + off, b.s.data() + 5, n, key);
        check("key16");
      }
      scalar->halfFill16(a.d.data() + off, n, part & (mask >> 1), mask);
      set->halfFill16(b.d.data() + off, n, part & (mask >> 1), mask);
      check("halfFill16");
      scalar->transFill16(a.d.data() + off, n, part, level, mask);
      set->transFill16(b.d.data() + off, n, part, level, mask);
      check("transFill16");
      {
        uint16_t table[256];
        for (uint16_t& e : table) e = static_cast<uint16_t>(rng());
        scalar->lookup16(a.d.data() + off, table, a.s.data() + 2, n);
        set->lookup16(b.d.data() + off, table, b.s.data() + 2, n);
        check("lookup16");
        // Lookups blended in one pass equal the lookup followed by the blend.
        std::vector<uint8_t> looked(2 * 80);
        scalar->lookup16(looked.data(), table, a.s.data() + 4, n);
        if (set->halfLookup16) {
          scalar->half16(a.d.data() + off, looked.data(), n, mask);
          set->halfLookup16(b.d.data() + off, table, b.s.data() + 4, n, mask);
          check("halfLookup16");
        }
        if (set->transLookup16) {
          scalar->trans16(a.d.data() + off, looked.data(), n, level, mask);
          set->transLookup16(b.d.data() + off, table, b.s.data() + 4, n, level, mask);
          check("transLookup16");
        }
      }
      // Reversed spans end at the pixel given (the rightmost one).
      if (n > 0) {
        uint8_t* ra = a.d.data() + off + 2 * (n - 1);
        uint8_t* rb = b.d.data() + off + 2 * (n - 1);
        scalar->copyRev16(ra, a.s.data() + 1, n);
        set->copyRev16(rb, b.s.data() + 1, n);
        check("copyRev16");
        scalar->halfRev16(ra, a.s.data() + 3, n, mask);
        set->halfRev16(rb, b.s.data() + 3, n, mask);
        check("halfRev16");
        scalar->transRev16(ra, a.s.data(), n, level, mask);
        set->transRev16(rb, b.s.data(), n, level, mask);
        check("transRev16");
        scalar->alphaRev16(ra, a.s.data() + 2, n, colour, shift, mask);
        set->alphaRev16(rb, b.s.data() + 2, n, colour, shift, mask);
        check("alphaRev16");
        const uint32_t key = ImplKeyOf(a.s, 7);
        scalar->keyRev16(ra, a.s.data() + 7, n, key);
        set->keyRev16(rb, b.s.data() + 7, n, key);
        check("keyRev16");
      }
      scalar->fill16(a.d.data() + off, n, static_cast<uint16_t>(colour));
      set->fill16(b.d.data() + off, n, static_cast<uint16_t>(colour));
      check("fill16");
      scalar->fill32(a.d.data() + off, n / 2, colour);
      set->fill32(b.d.data() + off, n / 2, colour);
      check("fill32");
    }
  }
  if (compared == 0) GTEST_SKIP() << "no vector set on this machine";
}

TEST(BlitSimd, WritesStayInsideTheSpan) {
  std::mt19937 rng(5);
  for (int which = 0; which <= 3; ++which) {
    const QDLBlitSimdSet* set = QDLBlitSimdSetGet(which);
    if (!set) continue;
    for (uint32_t n = 0; n < 40; ++n) {
      std::vector<uint8_t> d(2 * n + 64, 0xCD), s(2 * n + 64, 0x5A);
      set->half16(d.data() + 32, s.data(), n, 0x7BEF);
      set->trans16(d.data() + 32, s.data(), n, 9, 0x7BEF);
      set->alpha16(d.data() + 32, s.data(), n, 0xFFFF, 11, 0x7BEF);
      set->key16(d.data() + 32, s.data(), n, 0x1234);
      set->halfFill16(d.data() + 32, n, 0x1234, 0x7BEF);
      set->transFill16(d.data() + 32, n, 0x1234, 9, 0x7BEF);
      set->fill16(d.data() + 32, n, 0x1111);
      set->fill32(d.data() + 32, n / 2, 0x22222222);
      uint16_t table[256];
      for (int i = 0; i < 256; ++i) table[i] = static_cast<uint16_t>(i * 3);
      set->lookup16(d.data() + 32, table, s.data(), n);
      if (set->halfLookup16) set->halfLookup16(d.data() + 32, table, s.data(), n, 0x7BEF);
      if (set->transLookup16) set->transLookup16(d.data() + 32, table, s.data(), n, 9, 0x7BEF);
      if (n > 0) {
        uint8_t* right = d.data() + 32 + 2 * (n - 1);
        set->copyRev16(right, s.data(), n);
        set->halfRev16(right, s.data(), n, 0x7BEF);
        set->transRev16(right, s.data(), n, 9, 0x7BEF);
        set->alphaRev16(right, s.data(), n, 0xFFFF, 11, 0x7BEF);
        set->keyRev16(right, s.data(), n, 0x5A5A);
      }
      for (size_t i = 0; i < 32; ++i) ASSERT_EQ(d[i], 0xCD) << set->name << " " << n;
      for (size_t i = 32 + 2 * n; i < d.size(); ++i) ASSERT_EQ(d[i], 0xCD) << set->name << " " << n;
    }
  }
}
