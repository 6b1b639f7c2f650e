#pragma once
// Kit colour arithmetic shared by the kit table's generator and the game:
// the colouring of the old editions, how far apart two shirts look in a
// colour mode, and the six-digit colour names of the table's folders.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace kitcolour {

struct Rgb {
  uint8_t r, g, b;
};

// Two shirts closer than this (in the match's colour mode) clash; a team's
// own home and away shirts stay twice as far apart, so that when the away
// side's home shirt clashes its away shirt cannot.
inline constexpr float kClash = 80.0f;

inline double Luma(Rgb c) { return 0.71516 * c.g + 0.212671 * c.r + 0.072169 * c.b; }

// The colour as a match of colour mode m shows it (0 colour, 1 black and
// white, 2 sepia).
inline Rgb InMode(Rgb c, int m) {
  if (m != 1 && m != 2) return c;
  const double y = Luma(c);
  if (m == 2)
    return Rgb{static_cast<uint8_t>(y * (232.0f / 255.0f)), static_cast<uint8_t>(y * (224.0f / 255.0f)),
               static_cast<uint8_t>(y * (209.0f / 255.0f))};
  const uint8_t v = static_cast<uint8_t>(y);
  return Rgb{v, v, v};
}

inline float Distance(Rgb a, Rgb b) {
  const float dr = static_cast<float>(a.r) - b.r, dg = static_cast<float>(a.g) - b.g, db = static_cast<float>(a.b) - b.b;
  return std::sqrt(dr * dr + dg * dg + db * db);
}

// How far apart two shirts look in colour mode m: in colour the distance
// of the colours, in the old editions their difference of brightness (as
// the mode shows them) weighted 1.7.
inline float Apart(Rgb a, Rgb b, int m) {
  if (m != 1 && m != 2) return Distance(a, b);
  return static_cast<float>(std::fabs(Luma(InMode(a, m)) - Luma(InMode(b, m))) * 1.7);
}

// "C81E23" from a colour; a colour from the first six characters of a text
// (false when they are not six hexadecimal digits).
inline void Name(Rgb c, char out[7]) { std::snprintf(out, 7, "%02X%02X%02X", c.r, c.g, c.b); }
inline bool Parse(const char* s, Rgb* out) {
  if (s == nullptr) return false;
  uint8_t v[3];
  for (int i = 0; i < 6; ++i) {
    const char ch = s[i];
    int d;
    if (ch >= '0' && ch <= '9') d = ch - '0';
    else if (ch >= 'A' && ch <= 'F') d = ch - 'A' + 10;
    else if (ch >= 'a' && ch <= 'f') d = ch - 'a' + 10;
    else return false;
    if (i % 2 == 0) v[i / 2] = static_cast<uint8_t>(d << 4);
    else v[i / 2] = static_cast<uint8_t>(v[i / 2] | d);
  }
  *out = Rgb{v[0], v[1], v[2]};
  return true;
}

// A unique kit's name prefix: its shirt, second, shorts and socks colours,
// its design and the colouring it is drawn in, as a folder of its own
// ("FFFFFF-C81E23-FFFFFF-FFFFFF-sash\\", "...-chevron-bw\\"). False when the
// prefix is not one the kit art draws.
inline constexpr const char* kUniqueDesigns[3] = {"sash", "chevron", "quarters"};
struct UniqueLook {
  Rgb aColours[4];  // shirt, second, shorts, socks
  int iDesign;      // index of kUniqueDesigns
  int iMode;        // 0 colour, 1 black and white, 2 sepia
};
inline bool ParseUnique(const char* s, UniqueLook* out) {
  if (s == nullptr) return false;
  UniqueLook u{};
  // Parse stops at the first byte that is not a digit, so never passes the end.
  for (int k = 0; k < 4; ++k)
    if (!Parse(s + 7 * k, &u.aColours[k]) || s[7 * k + 6] != '-') return false;
  static const char* const kModes[3] = {"\\", "-bw\\", "-sepia\\"};
  for (int k = 0; k < 3; ++k) {
    const size_t n = std::strlen(kUniqueDesigns[k]);
    if (std::strncmp(s + 28, kUniqueDesigns[k], n) != 0) continue;
    for (int m = 0; m < 3; ++m)
      if (std::strcmp(s + 28 + n, kModes[m]) == 0) {
        u.iDesign = k;
        u.iMode = m;
        *out = u;
        return true;
      }
  }
  return false;
}

}  // namespace kitcolour
