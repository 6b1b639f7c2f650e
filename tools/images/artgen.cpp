// Procedural art of the display library's own files: the software pointer
// image "Pointer.bmp" (an arrow on the pointer's key colour 0, 130, 132) and
// a small demonstration sheet of sprites cut in grid mode (32 x 32 cells,
// magenta background) that tests and tools use to build a sprite bank.
//
// Usage: korvena_artgen --pointer FILE.bmp | --demo-sheet FILE.bmp
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "art/art_image.h"

namespace {

constexpr art::Rgb kKey{0, 130, 132};

art::Image Pointer() {
  // A 16 x 24 arrow: black outline, white body, hot spot at the tip (0, 0).
  static const char* const kRows[] = {
      "X               ", "XX              ", "X.X             ", "X..X            ",
      "X...X           ", "X....X          ", "X.....X         ", "X......X        ",
      "X.......X       ", "X........X      ", "X.........X     ", "X..........X    ",
      "X......XXXXX    ", "X...X..X        ", "X..XX..X        ", "X.X  X..X       ",
      "XX   X..X       ", "X     X..X      ", "      X..X      ", "       X..X     ",
      "       X..X     ", "        XX      ", "                ", "                "};
  art::Image img(16, 24, kKey);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 16; ++x) {
      const char c = kRows[y][x];
      if (c == 'X') img.Set(x, y, art::Rgb{0, 0, 0});
      else if (c == '.') img.Set(x, y, art::Rgb{255, 255, 255});
    }
  return img;
}

void Disc(art::Image& img, int cx, int cy, double r, art::Rgb c) {
  for (int y = static_cast<int>(cy - r - 1); y <= cy + r + 1; ++y)
    for (int x = static_cast<int>(cx - r - 1); x <= cx + r + 1; ++x)
      if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r) img.Set(x, y, c);
}

art::Image DemoSheet() {
  // Eight 32 x 32 cells in a 4 x 2 grid.
  art::Image img(128, 64, art::kMagenta);
  // 0: a ball, white with dark patches.
  Disc(img, 16, 16, 13.5, art::Rgb{245, 245, 245});
  Disc(img, 16, 16, 4.5, art::Rgb{30, 30, 30});
  const double kPi = 3.14159265358979;
  for (int k = 0; k < 5; ++k)
    Disc(img, static_cast<int>(16 + 10 * std::cos(k * 2 * kPi / 5 - kPi / 2)),
         static_cast<int>(16 + 10 * std::sin(k * 2 * kPi / 5 - kPi / 2)), 3.0, art::Rgb{30, 30, 30});
  // 1: a corner flag.
  img.Fill(32 + 8, 3, 2, 27, art::Rgb{220, 220, 220});
  for (int y = 0; y < 10; ++y) img.Fill(32 + 10, 3 + y, 14 - y, 1, art::Rgb{230, 40, 30});
  // 2: a yellow star.
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const double dx = x - 15.5, dy = y - 16.5;
      const double a = std::atan2(dy, dx), d = std::sqrt(dx * dx + dy * dy);
      const double r = 8 + 6 * std::cos(5 * (a + kPi / 2));
      if (d <= r) img.Set(64 + x, y, art::Rgb{250, 210, 40});
    }
  // 3: a shirt in two colours.
  img.Fill(96 + 9, 6, 14, 22, art::Rgb{20, 70, 200});
  img.Fill(96 + 3, 6, 6, 8, art::Rgb{20, 70, 200});
  img.Fill(96 + 23, 6, 6, 8, art::Rgb{20, 70, 200});
  img.Fill(96 + 14, 6, 4, 22, art::Rgb{250, 250, 250});
  // 4: a solid green box (one colour: fill runs).
  img.Fill(4, 32 + 4, 24, 24, art::Rgb{20, 160, 60});
  // 5: an opaque gradient (raw rows).
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      img.Set(32 + x, 32 + y, art::Rgb{static_cast<uint8_t>(x * 8), static_cast<uint8_t>(y * 8), 128});
  // 6: a ring.
  Disc(img, 64 + 16, 32 + 16, 13, art::Rgb{255, 140, 0});
  Disc(img, 64 + 16, 32 + 16, 9, art::kMagenta);
  // 7: an arrow pointing right.
  for (int y = 0; y < 20; ++y) {
    const int w = y < 10 ? y : 19 - y;
    img.Fill(96 + 16, 32 + 6 + y, w + 1, 1, art::Rgb{240, 240, 240});
  }
  img.Fill(96 + 4, 32 + 13, 12, 6, art::Rgb{240, 240, 240});
  return img;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: korvena_artgen --pointer FILE.bmp | --demo-sheet FILE.bmp\n");
    return 1;
  }
  const std::string what = argv[1], out = argv[2];
  bool ok;
  if (what == "--pointer") ok = art::WriteBMP24(Pointer(), out);
  else if (what == "--demo-sheet") ok = art::WriteBMP24(DemoSheet(), out);
  else {
    std::fprintf(stderr, "korvena_artgen: unknown output %s\n", what.c_str());
    return 1;
  }
  return ok ? 0 : 1;
}
