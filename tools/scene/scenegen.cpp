// Procedural art of the match scene: the loading screen's backdrop, the
// game's logo (two halves, upper and lower), the progress clock's face, the
// renderer's sprite sheet (frame 0 a scored and frame 1 a missed shoot-out
// mark) and the soft player shadow with its alpha.
//
// Usage: korvena_scenegen --out TEXTURES_DIR
// Writes images/loadingS.tga (256 x 256), images/dolby.tga (128 x 128),
// images/clock.tga (128 x 128), images/sprites.tga (glyph-strip sheet) and
// pitch/playshad.tga (64 x 64, 32-bit with alpha), then reads every file
// back and checks its size and format.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "art/art_image.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "korvena_scenegen: %s\n", what.c_str());
  std::exit(1);
}

uint8_t Clamp(double v) { return static_cast<uint8_t>(std::clamp(v, 0.0, 255.0)); }
art::Rgb Mix(art::Rgb a, art::Rgb b, double t) {
  return art::Rgb{Clamp(a.r + (b.r - a.r) * t), Clamp(a.g + (b.g - a.g) * t), Clamp(a.b + (b.b - a.b) * t)};
}

// A small deterministic hash for texture noise.
double Noise(int x, int y) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return static_cast<double>(h & 0xFFFF) / 65535.0;
}

// The backdrop: a dusk sky over a floodlit stand and a striped pitch.
art::Image Backdrop() {
  art::Image img(256, 256, art::Rgb{0, 0, 0});
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      art::Rgb c;
      if (y < 96) {
        c = Mix(art::Rgb{12, 18, 52}, art::Rgb{70, 60, 110}, y / 96.0);
      } else if (y < 150) {
        // The stand: rows of seats with a speckled crowd.
        const double row = (y - 96) % 6 < 4 ? 1.0 : 0.7;
        const double n = Noise(x, y);
        c = Mix(art::Rgb{40, 40, 58}, art::Rgb{150, 140, 130}, n * 0.6 * row);
      } else {
        const bool stripe = ((x + (y - 150) * 2) / 24) % 2 == 0;
        const double depth = (y - 150) / 106.0;
        c = Mix(stripe ? art::Rgb{30, 110, 40} : art::Rgb{38, 128, 48}, art::Rgb{60, 160, 70}, depth * 0.5);
      }
      img.Set(x, y, c);
    }
  // Two floodlight masts with their glow.
  for (int m : {40, 216}) {
    img.Fill(m - 1, 20, 3, 80, art::Rgb{90, 90, 100});
    for (int y = 0; y < 60; ++y)
      for (int x = m - 30; x < m + 30; ++x) {
        const double d = std::hypot(x - m, y - 18) / 30.0;
        if (d < 1.0) img.Set(x, y, Mix(img.Get(x, y), art::Rgb{255, 250, 220}, (1.0 - d) * (1.0 - d)));
      }
  }
  // The halfway line.
  img.Fill(0, 200, 256, 2, art::Rgb{220, 230, 220});
  return img;
}

// The logo: upper half a ball in a shield, lower half a band of stripes
// under a bar (drawn at two places of the loading screen).
art::Image Logo() {
  art::Image img(128, 128, art::kMagenta);
  for (int y = 2; y < 62; ++y)
    for (int x = 0; x < 128; ++x) {
      const double half = 34.0 - std::max(0, y - 34) * 1.1;
      if (std::abs(x - 63.5) < half) img.Set(x, y, art::Rgb{20, 60, 140});
      if (std::abs(x - 63.5) < half - 3 && y > 4) img.Set(x, y, art::Rgb{200, 40, 40});
    }
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 128; ++x) {
      const double d = std::hypot(x - 63.5, y - 28.0);
      if (d < 15.0) img.Set(x, y, art::Rgb{250, 250, 250});
      if (d < 5.0 || (d < 15.0 && Noise(x / 5, y / 5) > 0.75)) img.Set(x, y, art::Rgb{20, 20, 20});
    }
  // Lower half: a wordmark band.
  img.Fill(4, 76, 120, 10, art::Rgb{240, 200, 40});
  for (int k = 0; k < 8; ++k) img.Fill(8 + k * 15, 92, 11, 24, k % 2 ? art::Rgb{20, 60, 140} : art::Rgb{200, 40, 40});
  img.Fill(4, 120, 120, 4, art::Rgb{240, 200, 40});
  return img;
}

// The clock face: a white dial with twelve ticks, magenta outside.
art::Image Clock() {
  art::Image img(128, 128, art::kMagenta);
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) {
      const double d = std::hypot(x - 63.5, y - 63.5);
      if (d < 62.0) img.Set(x, y, d > 56.0 ? art::Rgb{40, 40, 40} : art::Rgb{235, 235, 225});
    }
  for (int k = 0; k < 12; ++k) {
    const double a = k * kPi / 6.0;
    for (double r = 44.0; r < 54.0; r += 0.5)
      for (int w = -1; w <= 1; ++w) {
        const int x = static_cast<int>(63.5 + r * std::sin(a) + w * std::cos(a));
        const int y = static_cast<int>(63.5 - r * std::cos(a) + w * std::sin(a));
        img.Set(x, y, art::Rgb{30, 30, 30});
      }
  }
  img.Fill(62, 62, 4, 4, art::Rgb{30, 30, 30});
  return img;
}

// The sprite sheet: one strip of two 24 x 24 frames in the glyph-strip
// layout (magenta background, cyan marker rows, a cyan pixel in the top and
// bottom row of every frame column, column 0 free).
constexpr int kMark = 24;
art::Image Sprites() {
  const int stripHeight = kMark + 2;
  art::Image img(64, stripHeight + 2, art::kMagenta);
  img.Fill(0, 0, 64, 1, art::kCyan);
  img.Fill(0, stripHeight + 1, 64, 1, art::kCyan);
  for (int f = 0; f < 2; ++f) {
    const int fx = 1 + f * (kMark + 1);
    img.Fill(fx, 1, kMark, 1, art::kCyan);
    img.Fill(fx, stripHeight, kMark, 1, art::kCyan);
    for (int y = 0; y < kMark - 2; ++y)
      for (int x = 0; x < kMark; ++x) {
        const double d = std::hypot(x - 11.5, y - 10.5);
        if (d > 10.5) continue;
        art::Rgb c = f == 0 ? art::Rgb{30, 170, 50} : art::Rgb{200, 30, 30};
        if (d > 9.0) c = art::Rgb{250, 250, 250};
        if (f == 0) {  // a tick
          const bool tick = (std::abs((y - 11) - (x - 5)) <= 1 && x >= 5 && x <= 9) ||
                            (std::abs((y - 15) + (x - 9)) <= 1 && x >= 9 && x <= 17);
          if (tick) c = art::Rgb{250, 250, 250};
        } else {  // a cross
          if ((std::abs(x - y - 1) <= 1 || std::abs(x + y - 22) <= 1) && d < 7.5) c = art::Rgb{250, 250, 250};
        }
        img.Set(fx + x, 2 + y, c);
      }
  }
  return img;
}

// 32-bit TGA (type 2), top row first, with an alpha plane.
bool WriteTGA32(int w, int h, const std::vector<uint8_t>& rgba, const std::string& path) {
  std::vector<uint8_t> b(18, 0);
  b[2] = 2;
  b[12] = static_cast<uint8_t>(w);
  b[13] = static_cast<uint8_t>(w >> 8);
  b[14] = static_cast<uint8_t>(h);
  b[15] = static_cast<uint8_t>(h >> 8);
  b[16] = 32;
  b[17] = 0x28;  // top row first, 8 alpha bits
  for (size_t i = 0; i < rgba.size(); i += 4) {
    b.push_back(rgba[i + 2]);
    b.push_back(rgba[i + 1]);
    b.push_back(rgba[i]);
    b.push_back(rgba[i + 3]);
  }
  return art::MakeParentDirs(path) && art::WriteFileAtomic(path, b);
}

// The player shadow: black, alpha falling off softly from the centre.
std::vector<uint8_t> Shadow() {
  std::vector<uint8_t> px(64 * 64 * 4, 0);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const double d = std::hypot((x - 31.5) / 30.0, (y - 31.5) / 30.0);
      const double a = d >= 1.0 ? 0.0 : (1.0 - d * d) * (1.0 - d * d);
      px[static_cast<size_t>(y * 64 + x) * 4 + 3] = Clamp(a * 255.0);
    }
  return px;
}

// Reads a written TGA's header back: type 2, size and depth as intended.
void Check(const std::string& path, int w, int h, int bits) {
  std::ifstream f(path, std::ios::binary);
  std::vector<uint8_t> b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  if (b.size() < 18) Fail(path + ": not written");
  const int fw = b[12] | b[13] << 8, fh = b[14] | b[15] << 8;
  if (b[2] != 2 || fw != w || fh != h || b[16] != bits)
    Fail(path + ": written as " + std::to_string(fw) + " x " + std::to_string(fh) + " x " + std::to_string(b[16]));
  if (b.size() != 18 + static_cast<size_t>(w) * h * bits / 8) Fail(path + ": pixel data of the wrong length");
}

void Write(const art::Image& img, const std::string& path) {
  if (!art::MakeParentDirs(path) || !art::WriteTGA24(img, path)) Fail(path + ": cannot be written");
  Check(path, img.iWidth, img.iHeight, 24);
}

}  // namespace

int main(int argc, char** argv) {
  std::string out;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--out" && i + 1 < argc) out = argv[++i];
    else Fail("usage: --out TEXTURES_DIR");
  }
  if (out.empty()) Fail("usage: --out TEXTURES_DIR");
  Write(Backdrop(), out + "/images/loadingS.tga");
  Write(Logo(), out + "/images/dolby.tga");
  Write(Clock(), out + "/images/clock.tga");
  const art::Image sheet = Sprites();
  Write(sheet, out + "/images/sprites.tga");
  const std::string shadow = out + "/pitch/playshad.tga";
  if (!WriteTGA32(64, 64, Shadow(), shadow)) Fail(shadow + ": cannot be written");
  Check(shadow, 64, 64, 32);
  std::printf("korvena_scenegen: loading screen, logo, clock, sprite sheet and player shadow written to %s\n",
              out.c_str());
  return 0;
}
