// Front-end art generator: paints the source background sheets of the front
// end (sprite-bank files "<root>/frontend/<name>.spr", 24-bit raw frames that
// the game converts to the display's format on its first run), the
// conversion screen "textures/images/gfxconvert.tga" and the outro image
// "textures/images/outro.tga".
//
// The main menu sheets (one per language) hold the backdrop as sprite 0 and
// the seven highlighted buttons as sprites 1 to 7, each cut from the backdrop
// at its button's rectangle and painted over in the highlighted style, so a
// highlighted button laid over the backdrop matches it at every edge. The
// other sheets are themed backdrops with plain panels as further sprites.
//
// Usage: korvena_fegen --data <data dir> --fonts <folder of the DejaVu fonts>
//                      --words <assets/frontend/mainmenu.txt>
//        korvena_fegen --check-words <file>   reads a word list and prints it
//                                             back in sheet order

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "art/art_image.h"
#include "../../src/frontend/mhelp_layout.h"
#include "tools/frontend/fegen_sheets.h"
#include "matchflow/options_layout.h"
#include "frontend/mfhopts_layout.h"

namespace {

using art::Image;
using art::Rgb;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "korvena_fegen: %s\n", what.c_str());
  std::exit(1);
}

// ---- Pixels ---------------------------------------------------------------

Rgb Mix(Rgb a, Rgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  auto m = [t](uint8_t x, uint8_t y) { return static_cast<uint8_t>(std::lround(x + (y - x) * t)); };
  return Rgb{m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

Rgb Scale(Rgb a, double k) {
  auto s = [k](uint8_t x) { return static_cast<uint8_t>(std::clamp(std::lround(x * k), 0L, 255L)); };
  return Rgb{s(a.r), s(a.g), s(a.b)};
}

void Blend(Image& img, int x, int y, Rgb c, double a) {
  if (x < 0 || y < 0 || x >= img.iWidth || y >= img.iHeight || a <= 0.0) return;
  img.Set(x, y, Mix(img.Get(x, y), c, a));
}

void AddLight(Image& img, int x, int y, Rgb c, double a) {
  if (x < 0 || y < 0 || x >= img.iWidth || y >= img.iHeight || a <= 0.0) return;
  Rgb p = img.Get(x, y);
  auto add = [a](uint8_t v, uint8_t w) { return static_cast<uint8_t>(std::min(255L, std::lround(v + w * a))); };
  img.Set(x, y, Rgb{add(p.r, c.r), add(p.g, c.g), add(p.b, c.b)});
}

// Fills the shape given by an inside test, anti-aliased by 4 x 4 samples per
// pixel, over the box (x0, y0)-(x1, y1), with a colour per pixel.
using Inside = std::function<bool(double, double)>;
using Paint = std::function<Rgb(int, int)>;

void FillShape(Image& img, int x0, int y0, int x1, int y1, const Inside& in, const Paint& paint, double alpha = 1.0) {
  for (int y = std::max(0, y0); y < std::min(img.iHeight, y1); ++y)
    for (int x = std::max(0, x0); x < std::min(img.iWidth, x1); ++x) {
      int n = 0;
      for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i)
          if (in(x + (i + 0.5) / 4.0, y + (j + 0.5) / 4.0)) ++n;
      if (n) Blend(img, x, y, paint(x, y), alpha * n / 16.0);
    }
}

Paint Solid(Rgb c) {
  return [c](int, int) { return c; };
}

Inside RoundRect(double x, double y, double w, double h, double r) {
  return [=](double px, double py) {
    if (px < x || py < y || px > x + w || py > y + h) return false;
    double cx = std::clamp(px, x + r, x + w - r), cy = std::clamp(py, y + r, y + h - r);
    return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r;
  };
}

Inside Circle(double cx, double cy, double r) {
  return [=](double px, double py) { return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r; };
}

Inside Ring(double cx, double cy, double r0, double r1) {
  return [=](double px, double py) {
    double d = (px - cx) * (px - cx) + (py - cy) * (py - cy);
    return d <= r1 * r1 && d >= r0 * r0;
  };
}

Inside Polygon(std::vector<std::pair<double, double>> pts) {
  return [pts](double px, double py) {
    bool in = false;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      auto [xi, yi] = pts[i];
      auto [xj, yj] = pts[j];
      if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
  };
}

Inside Segment(double x0, double y0, double x1, double y1, double w) {
  return [=](double px, double py) {
    double dx = x1 - x0, dy = y1 - y0;
    double t = std::clamp(((px - x0) * dx + (py - y0) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    double ex = x0 + t * dx - px, ey = y0 + t * dy - py;
    return ex * ex + ey * ey <= w * w / 4.0;
  };
}

// A small deterministic generator, so every build paints the same pixels.
struct Rng {
  uint32_t s;
  uint32_t Next() {
    s = s * 1664525u + 1013904223u;
    return s >> 8;
  }
  double Unit() { return (Next() & 0xFFFF) / 65535.0; }
};

// ---- Text -------------------------------------------------------------------

std::u32string Utf8ToU32(const std::string& s) {
  std::u32string out;
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    uint32_t cp;
    int n;
    if (c < 0x80) { cp = c; n = 1; }
    else if ((c & 0xE0) == 0xC0 && c >= 0xC2) { cp = c & 0x1F; n = 2; }
    else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; n = 3; }
    else if ((c & 0xF8) == 0xF0 && c <= 0xF4) { cp = c & 0x07; n = 4; }
    else Fail("bad UTF-8 in the word list");  // a stray continuation byte or an invalid lead byte
    if (i + static_cast<size_t>(n) > s.size()) Fail("bad UTF-8 in the word list");
    for (int k = 1; k < n; ++k) {
      const unsigned char t = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
      if ((t & 0xC0) != 0x80) Fail("bad UTF-8 in the word list");
      cp = (cp << 6) | (t & 0x3F);
    }
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
      Fail("bad UTF-8 in the word list");
    out.push_back(cp);
    i += static_cast<size_t>(n);
  }
  return out;
}

class Fonts {
 public:
  explicit Fonts(const std::string& dir) : m_dir(dir) {
    if (FT_Init_FreeType(&m_lib) != 0) Fail("cannot start FreeType");
  }
  ~Fonts() {
    for (auto& [k, f] : m_faces) FT_Done_Face(f);
    FT_Done_FreeType(m_lib);
  }
  FT_Face Face(const std::string& file, int size) {
    FT_Face& f = m_faces[file];
    if (!f && FT_New_Face(m_lib, (m_dir + "/" + file).c_str(), 0, &f) != 0) Fail("cannot open font " + file);
    if (FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(size)) != 0) Fail("cannot size font " + file);
    return f;
  }

 private:
  std::string m_dir;
  FT_Library m_lib{};
  std::map<std::string, FT_Face> m_faces;
};

struct TextStyle {
  std::string font = "DejaVuSans-Bold.ttf";
  int size = 16;
  Rgb colour{255, 255, 255};
  Rgb shadow{0, 0, 0};
  int shadowOffset = 1;  // 0: none
  int outline = 0;       // pixels of dark outline around the glyphs
};

int TextWidth(Fonts& fonts, const TextStyle& st, const std::u32string& text) {
  FT_Face f = fonts.Face(st.font, st.size);
  int w = 0;
  for (char32_t c : text) {
    if (FT_Load_Char(f, c, FT_LOAD_DEFAULT) != 0) continue;
    w += static_cast<int>(f->glyph->advance.x >> 6);
  }
  return w;
}

void DrawRun(Image& img, FT_Face f, const std::u32string& text, int x, int baseline, Rgb c, double alpha = 1.0) {
  for (char32_t ch : text) {
    if (FT_Load_Char(f, ch, FT_LOAD_RENDER) != 0) continue;
    FT_GlyphSlot g = f->glyph;
    for (unsigned r = 0; r < g->bitmap.rows; ++r)
      for (unsigned col = 0; col < g->bitmap.width; ++col) {
        uint8_t v = g->bitmap.buffer[r * static_cast<unsigned>(g->bitmap.pitch) + col];
        if (v) Blend(img, x + g->bitmap_left + static_cast<int>(col), baseline - g->bitmap_top + static_cast<int>(r), c,
                     alpha * v / 255.0);
      }
    x += static_cast<int>(g->advance.x >> 6);
  }
}

// Draws text centred on cx with its cap height centred on cy.
void DrawTextCentred(Image& img, Fonts& fonts, TextStyle st, const std::string& utf8, int cx, int cy, int maxWidth) {
  std::u32string t = Utf8ToU32(utf8);
  while (st.size > 8 && TextWidth(fonts, st, t) > maxWidth) --st.size;
  FT_Face f = fonts.Face(st.font, st.size);
  int w = TextWidth(fonts, st, t);
  int cap = static_cast<int>(std::lround(st.size * 0.72));
  int x = cx - w / 2, base = cy + cap / 2;
  for (int dy = -st.outline; dy <= st.outline; ++dy)
    for (int dx = -st.outline; dx <= st.outline; ++dx)
      if (dx || dy) DrawRun(img, f, t, x + dx, base + dy, st.shadow, 0.9);
  if (st.shadowOffset) DrawRun(img, f, t, x + st.shadowOffset, base + st.shadowOffset, st.shadow);
  DrawRun(img, f, t, x, base, st.colour);
}

// Lines split at "|", centred as a block.
void DrawLabel(Image& img, Fonts& fonts, const TextStyle& st, const std::string& utf8, int cx, int cy, int maxWidth) {
  std::vector<std::string> lines;
  std::stringstream ss(utf8);
  std::string part;
  while (std::getline(ss, part, '|')) lines.push_back(part);
  TextStyle s = st;
  if (lines.size() > 1) s.size = s.size * 5 / 6;
  // One size for every line of the block: the largest that fits them all.
  for (const std::string& l : lines)
    while (s.size > 8 && TextWidth(fonts, s, Utf8ToU32(l)) > maxWidth) --s.size;
  int lineH = s.size + 2;
  int top = cy - lineH * (static_cast<int>(lines.size()) - 1) / 2;
  for (size_t i = 0; i < lines.size(); ++i) DrawTextCentred(img, fonts, s, lines[i], cx, top + static_cast<int>(i) * lineH, maxWidth);
}

// ---- Scenery ----------------------------------------------------------------

struct Theme {
  Rgb skyTop, skyBottom, grassA, grassB;
};

const Theme kNight{{6, 10, 34}, {28, 44, 96}, {38, 118, 46}, {30, 100, 38}};

// A floodlit stadium seen from high in the stand: sky, light towers, tiers of
// crowd, advertising boards and the striped pitch with its markings.
void PaintStadium(Image& img, const Theme& th, uint32_t seed, int horizon = 250) {
  Rng rng{seed};
  const int w = img.iWidth, h = img.iHeight;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.Set(x, y, Mix(th.skyTop, th.skyBottom, y / 150.0));
  // Stars.
  for (int i = 0; i < 90; ++i) {
    int x = static_cast<int>(rng.Next() % static_cast<uint32_t>(w)), y = static_cast<int>(rng.Next() % 90);
    AddLight(img, x, y, Rgb{200, 210, 255}, 0.25 + 0.5 * rng.Unit());
  }
  // Stand: a roof band and tiers of crowd.
  const int standTop = horizon - 140;
  for (int y = standTop; y < horizon - 14; ++y)
    for (int x = 0; x < w; ++x) img.Set(x, y, Mix(Rgb{34, 36, 44}, Rgb{58, 60, 70}, (y - standTop) / 126.0));
  for (int y = standTop; y < standTop + 10; ++y)
    for (int x = 0; x < w; ++x) img.Set(x, y, Rgb{90, 96, 110});
  for (int x = 0; x < w; x += 40) FillShape(img, x, standTop, x + 4, standTop + 10, Segment(x + 2, standTop, x + 2, standTop + 10, 2), Solid({60, 64, 74}));
  const Rgb crowd[] = {{200, 40, 40}, {230, 230, 230}, {40, 80, 200}, {230, 200, 40}, {120, 120, 130}, {200, 120, 60}, {30, 140, 70}};
  for (int y = standTop + 14; y < horizon - 16; y += 3) {
    double light = 0.45 + 0.55 * (y - standTop) / 126.0;
    for (int x = 0; x < w; x += 3) {
      if (rng.Unit() < 0.12) continue;
      Rgb c = Scale(crowd[rng.Next() % 7], light * (0.6 + 0.4 * rng.Unit()));
      img.Set(x + static_cast<int>(rng.Next() % 2), y, c);
      img.Set(x + 1, y + 1, Scale(c, 0.7));
    }
    if ((y - standTop) % 18 < 3)
      for (int x = 0; x < w; ++x) img.Set(x, y, Scale(img.Get(x, y), 0.6));
  }
  // Advertising boards: plain colour panels with a light stripe.
  const Rgb boards[] = {{200, 30, 30}, {20, 60, 170}, {240, 200, 20}, {20, 140, 60}, {240, 240, 240}, {230, 110, 20}};
  for (int x = 0, k = static_cast<int>(rng.Next() % 6); x < w; x += 80, ++k)
    for (int y = horizon - 14; y < horizon; ++y)
      for (int i = x; i < std::min(w, x + 78); ++i) {
        Rgb c = boards[k % 6];
        if (y == horizon - 8 || y == horizon - 7) c = Mix(c, Rgb{255, 255, 255}, 0.6);
        img.Set(i, y, c);
      }
  // Pitch: bands widening toward the viewer.
  double y = horizon;
  for (int band = 0; y < h; ++band) {
    double bandH = 10 + band * 5.5;
    for (int yy = static_cast<int>(y); yy < std::min<double>(h, y + bandH); ++yy)
      for (int x = 0; x < w; ++x) {
        Rgb g = band % 2 ? th.grassA : th.grassB;
        double shade = 0.8 + 0.2 * (yy - horizon) / double(h - horizon);
        img.Set(x, yy, Scale(g, shade * (0.96 + 0.04 * rng.Unit())));
      }
    y += bandH;
  }
  // Markings: touch line, halfway line, centre circle.
  const Rgb line{235, 240, 235};
  FillShape(img, 0, horizon + 5, w, horizon + 9, Segment(0, horizon + 7, w, horizon + 7, 2), Solid(line), 0.9);
  FillShape(img, 310, horizon + 6, 330, h, Segment(320, horizon + 7, 320, h, 3), Solid(line), 0.85);
  auto ellipseRing = [&](double cx, double cy, double rx, double ry, double t) {
    return [=](double px, double py) {
      double d = std::hypot((px - cx) / rx, (py - cy) / ry);
      return std::abs(d - 1.0) * std::min(rx, ry) < t / 2;
    };
  };
  double cy = horizon + (h - horizon) * 0.62;
  FillShape(img, 0, horizon, w, h, ellipseRing(320, cy, 170, 62, 3), Solid(line), 0.85);
  FillShape(img, 314, static_cast<int>(cy) - 4, 326, static_cast<int>(cy) + 4, Circle(320, cy, 3.5), Solid(line));
  // Floodlight towers with the glow of their lamps.
  for (int side = 0; side < 2; ++side) {
    double tx = side ? w - 28 : 28;
    FillShape(img, static_cast<int>(tx) - 5, 30, static_cast<int>(tx) + 5, horizon, Segment(tx, 40, tx, horizon - 14, 5), Solid({70, 74, 86}));
    FillShape(img, static_cast<int>(tx) - 24, 14, static_cast<int>(tx) + 24, 44, RoundRect(tx - 22, 16, 44, 26, 3), Solid({90, 92, 100}));
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 5; ++c) FillShape(img, static_cast<int>(tx) - 22 + c * 9, 18 + r * 8, static_cast<int>(tx) - 13 + c * 9, 26 + r * 8, Circle(tx - 18 + c * 9, 22 + r * 8, 3.2), Solid({255, 252, 220}));
    for (int yy = 0; yy < 170; ++yy)
      for (int xx = static_cast<int>(tx) - 170; xx < tx + 170; ++xx) {
        double d = std::hypot(xx - tx, (yy - 29) * 1.3);
        if (d < 170) AddLight(img, xx, yy, Rgb{110, 110, 90}, std::pow(1.0 - d / 170.0, 2.2));
      }
  }
}

// The game's name across the top.
void PaintTitle(Image& img, Fonts& fonts, const std::string& subtitle) {
  TextStyle big{"DejaVuSans-BoldOblique.ttf", 40, {255, 214, 0}, {20, 16, 0}, 3, 2};
  DrawTextCentred(img, fonts, big, "KORVENA FOOTBALL", 320, 30, 560);
  if (!subtitle.empty()) {
    TextStyle sub{"DejaVuSans-Bold.ttf", 14, {230, 236, 255}, {0, 0, 0}, 1, 1};
    DrawTextCentred(img, fonts, sub, subtitle, 320, 64, 520);
  }
}

// ---- Icons of the main menu buttons ------------------------------------------

void IconBall(Image& img, double cx, double cy, double r, bool hi) {
  FillShape(img, int(cx - r - 2), int(cy - r - 2), int(cx + r + 3), int(cy + r + 3), Circle(cx + 2, cy + 3, r), Solid({0, 0, 0}), 0.4);
  FillShape(img, int(cx - r - 1), int(cy - r - 1), int(cx + r + 2), int(cy + r + 2), Circle(cx, cy, r),
            [&](int x, int y) { return Mix(Rgb{255, 255, 255}, Rgb{170, 175, 190}, std::hypot(x - cx + r / 3, y - cy + r / 3) / (1.6 * r)); });
  auto pent = [&](double px, double py, double s) {
    std::vector<std::pair<double, double>> p;
    for (int i = 0; i < 5; ++i) p.push_back({px + s * std::sin(i * 2 * M_PI / 5), py - s * std::cos(i * 2 * M_PI / 5)});
    return p;
  };
  Rgb dark = hi ? Rgb{20, 20, 30} : Rgb{30, 30, 40};
  auto clip = Circle(cx, cy, r);
  std::vector<std::vector<std::pair<double, double>>> pents = {pent(cx, cy, r * 0.33)};
  for (int i = 0; i < 5; ++i) {
    double a = i * 2 * M_PI / 5 + M_PI / 5;
    pents.push_back(pent(cx + r * 0.86 * std::sin(a), cy - r * 0.86 * std::cos(a), r * 0.3));
  }
  for (auto& p : pents) {
    auto poly = Polygon(p);
    FillShape(img, int(cx - r), int(cy - r), int(cx + r + 1), int(cy + r + 1), [&](double x, double y) { return clip(x, y) && poly(x, y); }, Solid(dark));
  }
  for (int i = 0; i < 5; ++i) {
    double a = i * 2 * M_PI / 5;
    double a2 = a + M_PI / 5;
    auto seg = Segment(cx + r * 0.33 * std::sin(a), cy - r * 0.33 * std::cos(a), cx + r * 0.62 * std::sin(a2 - M_PI / 5),
                       cy - r * 0.62 * std::cos(a2 - M_PI / 5), 1.6);
    FillShape(img, int(cx - r), int(cy - r), int(cx + r + 1), int(cy + r + 1), [&](double x, double y) { return clip(x, y) && seg(x, y); }, Solid(dark));
  }
}

void IconStopwatch(Image& img, double cx, double cy, double r, bool hi) {
  Rgb metal = hi ? Rgb{255, 220, 60} : Rgb{200, 200, 210};
  FillShape(img, int(cx - 8), int(cy - r - 12), int(cx + 8), int(cy - r + 2), RoundRect(cx - 6, cy - r - 11, 12, 9, 2), Solid(metal));
  FillShape(img, int(cx - r - 2), int(cy - r - 2), int(cx + r + 3), int(cy + r + 3), Circle(cx, cy, r + 1), Solid(metal));
  FillShape(img, int(cx - r), int(cy - r), int(cx + r + 1), int(cy + r + 1), Circle(cx, cy, r - 4), Solid({245, 245, 240}));
  for (int i = 0; i < 12; ++i) {
    double a = i * M_PI / 6;
    FillShape(img, int(cx - r), int(cy - r), int(cx + r + 1), int(cy + r + 1),
              Segment(cx + (r - 9) * std::sin(a), cy - (r - 9) * std::cos(a), cx + (r - 5) * std::sin(a), cy - (r - 5) * std::cos(a), 2), Solid({40, 40, 50}));
  }
  FillShape(img, int(cx - r), int(cy - r), int(cx + r + 1), int(cy + r + 1), Segment(cx, cy, cx + (r - 10) * 0.7, cy - (r - 10) * 0.7, 3), Solid({200, 20, 20}));
  FillShape(img, int(cx - r), int(cy - r), int(cx + r + 1), int(cy + r + 1), Segment(cx, cy, cx, cy - (r - 8), 2.5), Solid({30, 30, 40}));
  FillShape(img, int(cx - 4), int(cy - 4), int(cx + 5), int(cy + 5), Circle(cx, cy, 3), Solid({30, 30, 40}));
}

void IconCone(Image& img, double cx, double cy, double r, bool hi) {
  Rgb orange = hi ? Rgb{255, 140, 20} : Rgb{225, 110, 20};
  FillShape(img, int(cx - r - 4), int(cy + r - 8), int(cx + r + 4), int(cy + r + 4), RoundRect(cx - r - 2, cy + r - 6, 2 * r + 4, 8, 2), Solid(Scale(orange, 0.75)));
  auto cone = Polygon({{cx - 6, cy - r}, {cx + 6, cy - r}, {cx + r * 0.8, cy + r - 5}, {cx - r * 0.8, cy + r - 5}});
  FillShape(img, int(cx - r), int(cy - r), int(cx + r + 1), int(cy + r), cone, [&](int x, int) { return Mix(orange, Scale(orange, 0.7), (x - cx + r) / (2 * r)); });
  for (double yy : {cy - r * 0.35, cy + r * 0.25}) {
    auto band = [&, yy](double x, double y) { return cone(x, y) && y > yy && y < yy + r * 0.22; };
    FillShape(img, int(cx - r), int(cy - r), int(cx + r + 1), int(cy + r), band, Solid({250, 250, 250}));
  }
}

void IconTrophy(Image& img, double cx, double cy, double r, bool hi) {
  Rgb gold = hi ? Rgb{255, 222, 60} : Rgb{220, 180, 40};
  auto paint = [&](int x, int) { return Mix(Scale(gold, 1.15), Scale(gold, 0.7), (x - cx + r) / (2 * r)); };
  auto cup = [&](double x, double y) {
    double top = cy - r, bottom = cy + r * 0.15;
    if (y < top || y > bottom) return false;
    double t = (y - top) / (bottom - top);
    double half = r * 0.75 * std::sqrt(1 - t * t * 0.85);
    return std::abs(x - cx) <= half;
  };
  FillShape(img, int(cx - r), int(cy - r), int(cx + r + 1), int(cy + r), Ring(cx - r * 0.72, cy - r * 0.55, r * 0.2, r * 0.32), Solid(Scale(gold, 0.85)));
  FillShape(img, int(cx - r), int(cy - r), int(cx + r + 1), int(cy + r), Ring(cx + r * 0.72, cy - r * 0.55, r * 0.2, r * 0.32), Solid(Scale(gold, 0.85)));
  FillShape(img, int(cx - r), int(cy - r), int(cx + r + 1), int(cy + r), cup, paint);
  FillShape(img, int(cx - 6), int(cy), int(cx + 7), int(cy + r), RoundRect(cx - 4, cy + r * 0.1, 8, r * 0.5, 2), paint);
  FillShape(img, int(cx - r), int(cy + r * 0.5), int(cx + r + 1), int(cy + r + 2), RoundRect(cx - r * 0.55, cy + r * 0.55, r * 1.1, r * 0.4, 3), Solid({110, 60, 30}));
  FillShape(img, int(cx - r), int(cy - r), int(cx + r + 1), int(cy), Segment(cx - r * 0.35, cy - r * 0.8, cx - r * 0.3, cy - r * 0.2, 3), Solid({255, 250, 210}), 0.6);
}

void IconGear(Image& img, double cx, double cy, double r, bool hi) {
  Rgb steel = hi ? Rgb{230, 235, 255} : Rgb{170, 178, 196};
  auto gear = [&](double x, double y) {
    double dx = x - cx, dy = y - cy, d = std::hypot(dx, dy);
    double a = std::atan2(dy, dx);
    double tooth = std::cos(a * 8) > 0.25 ? r : r * 0.78;
    return d <= tooth && d >= r * 0.3;
  };
  FillShape(img, int(cx - r - 1), int(cy - r - 1), int(cx + r + 2), int(cy + r + 2), gear,
            [&](int x, int y) { return Mix(steel, Scale(steel, 0.6), (x - cx + y - cy + 2 * r) / (4 * r)); });
  FillShape(img, int(cx - r), int(cy - r), int(cx + r + 1), int(cy + r + 1), Ring(cx, cy, r * 0.3, r * 0.42), Solid(Scale(steel, 0.5)));
}

void IconDisk(Image& img, double cx, double cy, double r, bool hi) {
  Rgb body = hi ? Rgb{70, 110, 230} : Rgb{50, 80, 170};
  auto shape = Polygon({{cx - r, cy - r}, {cx + r - 10, cy - r}, {cx + r, cy - r + 10}, {cx + r, cy + r}, {cx - r, cy + r}});
  FillShape(img, int(cx - r), int(cy - r), int(cx + r + 1), int(cy + r + 1), shape, Solid(body));
  FillShape(img, int(cx - r), int(cy - r), int(cx + r + 1), int(cy + r + 1), RoundRect(cx - r * 0.55, cy - r, r * 1.1, r * 0.7, 1), Solid({200, 205, 215}));
  FillShape(img, int(cx - r), int(cy - r), int(cx + r + 1), int(cy + r + 1), RoundRect(cx + r * 0.15, cy - r * 0.9, r * 0.25, r * 0.5, 1), Solid(Scale(body, 0.6)));
  FillShape(img, int(cx - r), int(cy - r), int(cx + r + 1), int(cy + r + 1), RoundRect(cx - r * 0.7, cy + r * 0.1, r * 1.4, r * 0.85, 2), Solid({245, 245, 240}));
  for (int i = 0; i < 3; ++i)
    FillShape(img, int(cx - r), int(cy - r), int(cx + r + 1), int(cy + r + 1), Segment(cx - r * 0.55, cy + r * (0.32 + i * 0.22), cx + r * 0.55, cy + r * (0.32 + i * 0.22), 1.2), Solid({150, 150, 170}));
}

// ---- Main menu ----------------------------------------------------------------

struct Rect {
  int x, y, w, h;
};

// The button rectangles of the main menu per language, in sprite order:
// main, exit, friendly, qstart, options, history, training, restore. The
// game's region tables hold the same rectangles.
const Rect kMainLayouts[6][8] = {
    {{0, 0, 640, 480}, {547, 417, 34, 34}, {60, 83, 162, 131}, {238, 83, 162, 131}, {238, 266, 162, 131}, {60, 266, 162, 131}, {416, 83, 162, 131}, {416, 266, 162, 131}},
    {{0, 0, 640, 480}, {547, 417, 34, 34}, {60, 83, 162, 131}, {239, 83, 162, 131}, {238, 266, 162, 131}, {60, 266, 162, 131}, {416, 83, 162, 131}, {416, 266, 162, 131}},
    {{0, 0, 640, 480}, {547, 417, 34, 34}, {60, 83, 162, 131}, {238, 83, 162, 131}, {238, 266, 162, 131}, {60, 266, 162, 131}, {416, 83, 162, 131}, {416, 267, 162, 131}},
    {{0, 0, 640, 480}, {547, 417, 34, 34}, {60, 83, 162, 131}, {238, 83, 162, 131}, {238, 266, 162, 131}, {61, 266, 162, 131}, {416, 83, 162, 131}, {416, 266, 162, 131}},
    {{0, 0, 640, 480}, {547, 417, 34, 34}, {60, 83, 162, 131}, {238, 83, 162, 131}, {238, 267, 162, 131}, {60, 266, 162, 131}, {416, 83, 162, 131}, {416, 266, 162, 131}},
    {{0, 0, 640, 480}, {547, 417, 34, 34}, {60, 83, 162, 131}, {238, 83, 162, 131}, {238, 266, 162, 131}, {60, 266, 162, 131}, {417, 83, 162, 131}, {416, 266, 162, 131}},
};

// Word columns of the word list: friendly, qstart, training, history,
// options, restore, exit; the sprite order above maps onto them here.
enum { W_FRIENDLY, W_QSTART, W_TRAINING, W_HISTORY, W_OPTIONS, W_RESTORE, W_EXIT, W_TITLE, W_COUNT };
const int kSpriteWord[8] = {-1, W_EXIT, W_FRIENDLY, W_QSTART, W_OPTIONS, W_HISTORY, W_TRAINING, W_RESTORE};

void PaintButton(Image& img, Fonts& fonts, const Rect& r, int word, const std::string& label, bool hi) {
  const double x = r.x, y = r.y, w = r.w, h = r.h;
  // Drop shadow, frame and glassy face.
  if (!hi) FillShape(img, r.x, r.y, r.x + r.w, r.y + r.h, RoundRect(x + 3, y + 4, w - 4, h - 5, 10), Solid({0, 0, 0}), 0.45);
  Rgb frame = hi ? Rgb{255, 214, 0} : Rgb{150, 168, 200};
  FillShape(img, r.x, r.y, r.x + r.w, r.y + r.h, RoundRect(x + 1, y + 1, w - 4, h - 5, 10), Solid(frame));
  Rgb top = hi ? Rgb{70, 104, 190} : Rgb{26, 44, 98}, bottom = hi ? Rgb{24, 44, 110} : Rgb{10, 18, 50};
  double inset = hi ? 4 : 3;
  FillShape(img, r.x, r.y, r.x + r.w, r.y + r.h, RoundRect(x + 1 + inset, y + 1 + inset, w - 4 - 2 * inset, h - 5 - 2 * inset, 8),
            [&](int, int py) { return Mix(top, bottom, (py - y) / h); }, hi ? 1.0 : 0.92);
  // A sheen across the upper half.
  FillShape(img, r.x, r.y, r.x + r.w, r.y + r.h, RoundRect(x + 8, y + 7, w - 18, h * 0.32, 6), Solid({255, 255, 255}), hi ? 0.16 : 0.08);
  // Label strip and word.
  const bool twoLines = label.find('|') != std::string::npos;
  const double stripH = twoLines ? 40 : 30;
  FillShape(img, r.x, r.y, r.x + r.w, r.y + r.h, RoundRect(x + 8, y + h - 12 - stripH, w - 18, stripH, 5), Solid({0, 0, 0}), 0.35);
  TextStyle st{"DejaVuSansCondensed-Bold.ttf", 17, hi ? Rgb{255, 255, 0} : Rgb{200, 200, 200}, {0, 0, 0}, 1, 0};
  DrawLabel(img, fonts, st, label, r.x + (r.w - 2) / 2, r.y + r.h - 12 - static_cast<int>(stripH) / 2 - (twoLines ? 1 : 0), r.w - 24);
  // Icon.
  double cx = x + (w - 2) / 2, cy = y + 46, ir = 26;
  if (hi)
    for (int yy = r.y; yy < r.y + r.h - 44; ++yy)
      for (int xx = r.x + 6; xx < r.x + r.w - 8; ++xx) {
        double d = std::hypot(xx - cx, yy - cy);
        if (d < 48) AddLight(img, xx, yy, Rgb{120, 110, 40}, (1 - d / 48) * 0.8);
      }
  switch (word) {
    case W_FRIENDLY: IconBall(img, cx, cy, ir, hi); break;
    case W_QSTART: IconStopwatch(img, cx, cy + 3, ir - 2, hi); break;
    case W_TRAINING: IconCone(img, cx, cy, ir, hi); break;
    case W_HISTORY: IconTrophy(img, cx, cy, ir, hi); break;
    case W_OPTIONS: IconGear(img, cx, cy, ir, hi); break;
    case W_RESTORE: IconDisk(img, cx, cy, ir - 3, hi); break;
    default: break;
  }
}

void PaintExitButton(Image& img, const Rect& r, bool hi) {
  double cx = r.x + r.w / 2.0, cy = r.y + r.h / 2.0, rad = r.w / 2.0 - 1;
  if (hi) FillShape(img, r.x, r.y, r.x + r.w, r.y + r.h, Circle(cx, cy, rad), Solid({255, 214, 0}));
  else FillShape(img, r.x, r.y, r.x + r.w, r.y + r.h, Circle(cx + 1, cy + 1, rad), Solid({0, 0, 0}), 0.5);
  FillShape(img, r.x, r.y, r.x + r.w, r.y + r.h, Circle(cx, cy, rad - (hi ? 3 : 1)),
            [&](int, int py) { return Mix(hi ? Rgb{255, 80, 60} : Rgb{190, 30, 30}, hi ? Rgb{170, 20, 20} : Rgb{110, 10, 10}, (py - r.y) / double(r.h)); });
  Rgb cross = hi ? Rgb{255, 255, 0} : Rgb{235, 235, 235};
  FillShape(img, r.x, r.y, r.x + r.w, r.y + r.h, Segment(cx - 7, cy - 7, cx + 7, cy + 7, 4), Solid(cross));
  FillShape(img, r.x, r.y, r.x + r.w, r.y + r.h, Segment(cx + 7, cy - 7, cx - 7, cy + 7, 4), Solid(cross));
}

Image Crop(const Image& img, const Rect& r) {
  Image out(r.w, r.h, Rgb{0, 0, 0});
  for (int y = 0; y < r.h; ++y)
    for (int x = 0; x < r.w; ++x) out.Set(x, y, img.Get(r.x + x, r.y + y));
  return out;
}

// Paints the highlighted button of sprite i: the backdrop under the
// rectangle with the button in its highlighted style over it.
Image HighlightedButton(const Image& backdrop, Fonts& fonts, const Rect& r, int sprite, const std::vector<std::string>& words) {
  Image work = backdrop;
  int word = kSpriteWord[sprite];
  if (word == W_EXIT) PaintExitButton(work, r, true);
  else PaintButton(work, fonts, r, word, words[static_cast<size_t>(word)], true);
  return Crop(work, r);
}

// ---- Sprite-bank files ------------------------------------------------------------

void Put16(std::vector<uint8_t>& o, uint32_t v) {
  o.push_back(static_cast<uint8_t>(v));
  o.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& o, uint32_t v) {
  Put16(o, v & 0xFFFF);
  Put16(o, v >> 16);
}
void Chunk(std::vector<uint8_t>& o, uint16_t id, const std::vector<uint8_t>& data) {
  Put16(o, id);
  Put32(o, static_cast<uint32_t>(data.size() + 6));
  o.insert(o.end(), data.begin(), data.end());
}

constexpr uint32_t kFormatRgb24 = 8;  // 24-bit, red in the highest byte
constexpr uint16_t kEncodingRaw = 1;

// A sprite-bank file of 24-bit raw frames: chunks 1 (header), 2 (frame
// count), 3 (format), 4 (pixel data size), 6 (frame table), 7 (pixels).
// Each raw row starts with a u16 giving the bytes to the next row (0 on the
// last row) and is padded to an even length.
std::vector<uint8_t> SpriteBankBytes(const std::vector<Image>& frames) {
  std::vector<uint8_t> pixels;
  std::vector<uint32_t> offsets;
  for (const Image& f : frames) {
    if (pixels.size() & 1) pixels.push_back(0);
    offsets.push_back(static_cast<uint32_t>(pixels.size()));
    for (int y = 0; y < f.iHeight; ++y) {
      size_t start = pixels.size();
      Put16(pixels, 0);
      for (int x = 0; x < f.iWidth; ++x) {
        Rgb c = f.Get(x, y);
        pixels.push_back(c.b);
        pixels.push_back(c.g);
        pixels.push_back(c.r);
      }
      if ((pixels.size() - start) & 1) pixels.push_back(0);
      uint32_t len = y == f.iHeight - 1 ? 0 : static_cast<uint32_t>(pixels.size() - start);
      pixels[start] = static_cast<uint8_t>(len);
      pixels[start + 1] = static_cast<uint8_t>(len >> 8);
    }
  }
  std::vector<uint8_t> out, d;
  d.assign(294, 0);
  d[0] = 3;
  d[34] = 1;
  Chunk(out, 1, d);
  d.clear();
  Put16(d, static_cast<uint32_t>(frames.size()));
  Chunk(out, 2, d);
  d.clear();
  Put32(d, kFormatRgb24);
  Chunk(out, 3, d);
  d.clear();
  Put32(d, static_cast<uint32_t>(pixels.size()));
  Chunk(out, 4, d);
  d.clear();
  for (size_t i = 0; i < frames.size(); ++i) {
    Put16(d, static_cast<uint32_t>(frames[i].iWidth));
    Put16(d, static_cast<uint32_t>(frames[i].iHeight));
    Put16(d, kEncodingRaw);
    Put32(d, offsets[i]);
  }
  Chunk(out, 6, d);
  Chunk(out, 7, pixels);
  return out;
}

void WriteBank(const std::string& path, const std::vector<Image>& frames) {
  if (!art::WriteFileAtomic(path, SpriteBankBytes(frames))) Fail("cannot write " + path);
}

// ---- Other sheets ------------------------------------------------------------------

struct SheetInfo {
  const char* name;
  int sprites;
  Theme theme;
  std::vector<Rect> rects;  // sizes of sprites 1.. where known
};

// A themed backdrop: the stadium in the sheet's colours under a large
// translucent panel that the screens print on.
Image ThemedBackdrop(Fonts& fonts, const Theme& th, uint32_t seed) {
  Image img(640, 480, Rgb{0, 0, 0});
  PaintStadium(img, th, seed, 250);
  PaintTitle(img, fonts, "");
  FillShape(img, 30, 70, 610, 462, RoundRect(34, 74, 574, 384, 14), Solid({0, 0, 0}), 0.5);
  const Inside outer = RoundRect(34, 74, 574, 384, 14), inner = RoundRect(37, 77, 568, 378, 12);
  FillShape(img, 30, 70, 610, 462, [&](double x, double y) { return outer(x, y) && !inner(x, y); },
            Solid({150, 168, 200}), 0.8);
  return img;
}

// A plain panel sprite: a framed button face.
Image Panel(int w, int h, Rgb face, uint32_t seed) {
  Image img(w, h, Rgb{12, 20, 48});
  Rng rng{seed};
  FillShape(img, 0, 0, w, h, RoundRect(0.5, 0.5, w - 1, h - 1, std::min(w, h) / 5.0), Solid({150, 168, 200}));
  FillShape(img, 0, 0, w, h, RoundRect(2.5, 2.5, w - 5, h - 5, std::min(w, h) / 6.0),
            [&](int, int y) { return Mix(face, Scale(face, 0.55), y / double(h)); });
  (void)rng;
  return img;
}

// The rules screen's sheet: a reading panel framing the text window and
// arrows up and down (sprites 1, 2 dim, 3, 4 lit) beside it.
void RulesSheetPaint(std::vector<Image>& frames) {
  const double x0 = MHELP_PANEL_X0, y0 = MHELP_PANEL_Y0, w = MHELP_PANEL_X1 - x0, h = MHELP_PANEL_Y1 - y0;
  FillShape(frames[0], MHELP_PANEL_X0 - 4, MHELP_PANEL_Y0 - 4, MHELP_PANEL_X1 + 4, MHELP_PANEL_Y1 + 4,
            RoundRect(x0, y0, w, h, 8), Solid({16, 12, 8}), 0.7);
  const Inside outer = RoundRect(x0, y0, w, h, 8), inner = RoundRect(x0 + 2, y0 + 2, w - 4, h - 4, 7);
  FillShape(frames[0], MHELP_PANEL_X0 - 4, MHELP_PANEL_Y0 - 4, MHELP_PANEL_X1 + 4, MHELP_PANEL_Y1 + 4,
            [&](double x, double y) { return outer(x, y) && !inner(x, y); }, Solid({186, 186, 118}));
  for (int i = 1; i <= 4; ++i) {
    Image& img = frames[static_cast<size_t>(i)];
    const FrontEndLayoutRecord& at = mhelp_aoLayout[i];
    img = Image(at.w, at.h, Rgb{0, 0, 0});
    for (int y = 0; y < at.h; ++y)
      for (int x = 0; x < at.w; ++x) img.Set(x, y, frames[0].Get(at.x + x, at.y + y));
    const bool up = i % 2 == 1;
    const Rgb c = i >= 3 ? Rgb{255, 255, 0} : Rgb{90, 90, 60};
    FillShape(img, 0, 0, 24, 24, up ? Polygon({{12, 3}, {22, 20}, {2, 20}}) : Polygon({{2, 4}, {22, 4}, {12, 21}}), Solid(c));
  }
}

// The history options' arrows up and down (sprites 1 and 2, 17 x 9) on the
// backdrop at their places, (72, 130) and (72, 392), beside the rows.
void OptionsArrowsPaint(std::vector<Image>& frames) {
  const int aiY[2] = {130, 392};
  for (int i = 1; i <= 2; ++i) {
    Image& img = frames[static_cast<size_t>(i)];
    const int w = img.iWidth, h = img.iHeight;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) img.Set(x, y, frames[0].Get(72 + x, aiY[i - 1] + y));
    const std::vector<std::pair<double, double>> tri =
        i == 1 ? std::vector<std::pair<double, double>>{{w / 2.0, 0}, {double(w), double(h)}, {0, double(h)}}
               : std::vector<std::pair<double, double>>{{0, 0}, {double(w), 0}, {w / 2.0, double(h)}};
    FillShape(img, 0, 0, w, h, Polygon(tri), Solid({255, 220, 40}));
  }
}

// The options screen's reading panels, as dark as the hub's, framed in the
// backdrop's own blue-grey: the rows with their sliders on one, Exit on the
// other, so no stand or hoarding shows through a label.
void OptionsPanelsPaint(Image& backdrop) {
  for (const OptionsPanel& p : options_aoPanels) {
    fegen_paint::Rect(backdrop, p.x, p.y, p.w, p.h, Rgb{8, 10, 24}, 0.7);
    fegen_paint::Frame(backdrop, p.x, p.y, p.w, p.h, Rgb{150, 168, 200}, 2);
  }
}

// The history options' reading panels, as dark as the hub's and framed in
// its sand colour: the rows with their values on one, Exit on the other.
void HistoryOptionsPanelsPaint(Image& backdrop) {
  for (const MFHOptsPanel& p : mfhopts_aoPanels) {
    fegen_paint::Rect(backdrop, p.x, p.y, p.w, p.h, Rgb{24, 16, 8}, 0.7);
    fegen_paint::Frame(backdrop, p.x, p.y, p.w, p.h, Rgb{186, 170, 118}, 2);
  }
}

void WriteOtherSheets(Fonts& fonts, const std::string& dir) {
  const Theme dusk{{40, 20, 50}, {120, 60, 70}, {44, 120, 50}, {36, 104, 42}};
  const Theme sepia{{60, 44, 26}, {140, 110, 70}, {120, 118, 70}, {104, 102, 60}};
  const std::vector<SheetInfo> sheets = {
      // Sprite sizes in the screens' record order.
      {"fhfl", 1, sepia, {}},
      {"fhnews", 5, sepia, {{0, 0, 24, 24}, {0, 0, 24, 24}, {0, 0, 24, 24}, {0, 0, 24, 24}}},
      // The history options: the arrows "YArrowU" and "YArrowD" beside the rows.
      {"fhops", 3, sepia, {{0, 0, 17, 9}, {0, 0, 17, 9}}},
      {"fhroh", 1, sepia, {}},
      {"fhset", 1, sepia, {}},
      // The options screen: a slider track and the knobs "Slider1" (effects) and "Slider2" (music).
      {"options", 4, dusk, {{0, 0, 240, 10}, {0, 0, 14, 20}, {0, 0, 14, 20}}},
      {"fhmain", 1, sepia, {}},
  };
  uint32_t seed = 77;
  for (const SheetInfo& s : sheets) {
    std::vector<Image> frames;
    frames.push_back(ThemedBackdrop(fonts, s.theme, seed++));
    const Rgb faces[] = {{40, 70, 150}, {150, 40, 40}, {40, 120, 60}, {160, 130, 30}};
    for (int i = 1; i < s.sprites; ++i) {
      Rect r = static_cast<size_t>(i - 1) < s.rects.size() ? s.rects[static_cast<size_t>(i - 1)] : Rect{0, 0, 96, 32};
      frames.push_back(Panel(r.w, r.h, faces[i % 4], seed++));
    }
    if (std::string(s.name) == "fhnews") RulesSheetPaint(frames);
    if (std::string(s.name) == "fhops") HistoryOptionsPanelsPaint(frames[0]);
    if (std::string(s.name) == "fhops") OptionsArrowsPaint(frames);
    if (std::string(s.name) == "options") OptionsPanelsPaint(frames[0]);
    if (std::string(s.name) == "fhset") fegen_FhsetPaint(frames[0]);
    if (std::string(s.name) == "fhmain") fegen_FhmainPaint(frames[0]);
    if (std::string(s.name) == "fhfl") frames = fegen_FixturesSheet(frames[0]);
    if (std::string(s.name) == "fhroh") frames = fegen_RollSheet(frames[0]);
    WriteBank(dir + "/" + s.name + ".spr", frames);
  }
}

// ---- Load and save screens --------------------------------------------------------

// The regions of the "loadsave" sheet in record order: the backdrop, the
// icons 5 to 1, the arrows down and up. Sprite i is region i's size.
const Rect kLoadSaveRegions[8] = {{0, 0, 640, 480},    {436, 311, 122, 35}, {436, 270, 122, 35}, {436, 229, 122, 35},
                                  {436, 189, 122, 35}, {436, 149, 122, 35}, {391, 325, 38, 20},  {388, 152, 38, 20}};

// A scroll arrow pointing up or down on a small dark plate.
Image ScrollArrow(int w, int h, bool up) {
  Image img(w, h, Rgb{12, 20, 48});
  FillShape(img, 0, 0, w, h, RoundRect(0.5, 0.5, w - 1, h - 1, 4), Solid({150, 168, 200}));
  FillShape(img, 0, 0, w, h, RoundRect(2, 2, w - 4, h - 4, 3), Solid({16, 24, 56}));
  const double cx = w / 2.0, top = 4, bottom = h - 4;
  const std::vector<std::pair<double, double>> tri =
      up ? std::vector<std::pair<double, double>>{{cx, top}, {cx + 11, bottom}, {cx - 11, bottom}}
         : std::vector<std::pair<double, double>>{{cx - 11, top}, {cx + 11, top}, {cx, bottom}};
  FillShape(img, 0, 0, w, h, Polygon(tri), Solid({255, 220, 40}));
  return img;
}

// The backdrop has the three button faces under "icon1" to "icon3" (their
// words are the game's, printed over them) and a framed panel for the nine
// rows of the save list, the arrows beside it; no words, so one sheet serves
// every language.
void WriteLoadSaveSheet(Fonts& fonts, const std::string& dir) {
  Image backdrop = ThemedBackdrop(fonts, kNight, 190);
  const Inside outer = RoundRect(68, 144, 318, 212, 8), inner = RoundRect(71, 147, 312, 206, 6);
  FillShape(backdrop, 64, 140, 390, 360, inner, Solid({8, 12, 30}), 0.8);
  FillShape(backdrop, 64, 140, 390, 360, [&](double x, double y) { return outer(x, y) && !inner(x, y); },
            Solid({150, 168, 200}));
  for (int r = 1; r < 9; ++r)
    FillShape(backdrop, 76, 156 + 20 * r, 380, 158 + 20 * r, RoundRect(78, 156.5 + 20 * r, 300, 1, 0),
              Solid({60, 76, 120}), 0.6);
  const Rgb faces[5] = {{90, 90, 100}, {90, 90, 100}, {150, 40, 40}, {40, 120, 60}, {40, 70, 150}};
  std::vector<Image> frames{backdrop};
  for (int i = 1; i <= 5; ++i) {
    const Rect& r = kLoadSaveRegions[i];
    frames.push_back(Panel(r.w, r.h, faces[i - 1], 300 + static_cast<uint32_t>(i)));
    // "icon3" to "icon1" (sprites 3 to 5) show on the backdrop itself.
    if (i >= 3)
      for (int y = 0; y < r.h; ++y)
        for (int x = 0; x < r.w; ++x) frames[0].Set(r.x + x, r.y + y, frames.back().Get(x, y));
  }
  frames.push_back(ScrollArrow(kLoadSaveRegions[6].w, kLoadSaveRegions[6].h, false));
  frames.push_back(ScrollArrow(kLoadSaveRegions[7].w, kLoadSaveRegions[7].h, true));
  for (size_t i = 0; i < frames.size(); ++i)
    if (frames[i].iWidth != kLoadSaveRegions[i].w || frames[i].iHeight != kLoadSaveRegions[i].h)
      Fail("loadsave sprite " + std::to_string(i) + " is not its region's size");
  WriteBank(dir + "/loadsave.spr", frames);
}

// ---- Controls sheet ("cont") -------------------------------------------------------

// The controls screen: sprite 0 the backdrop with a panel behind the function
// rows and the key column, 1 a keyboard and 2 a joypad drawn below the rows,
// 3 the button face under "Exit" (the region sizes of the screen's layout).
void WriteControlsSheet(Fonts& fonts, const std::string& dir) {
  const Theme dusk{{40, 20, 50}, {120, 60, 70}, {44, 120, 50}, {36, 104, 42}};
  const Rgb ground{12, 20, 48}, body{58, 62, 74}, edge{150, 168, 200}, cap{206, 210, 220};
  Image main = ThemedBackdrop(fonts, dusk, 1818);
  FillShape(main, 76, 142, 606, 412, RoundRect(80, 146, 522, 262, 10), Solid({0, 0, 16}), 0.45);

  Image keyboard(320, 56, ground);
  FillShape(keyboard, 0, 0, 320, 56, RoundRect(1, 1, 318, 54, 8), Solid(edge));
  FillShape(keyboard, 0, 0, 320, 56, RoundRect(3, 3, 314, 50, 7), Solid(body));
  for (int row = 0; row < 3; ++row)
    for (int k = 0; k < 20; ++k)
      FillShape(keyboard, 0, 0, 320, 56, RoundRect(10 + k * 15 + (row % 2) * 4, 7 + row * 11, 12, 9, 2), Solid(cap));
  FillShape(keyboard, 0, 0, 320, 56, RoundRect(86, 40, 148, 9, 2), Solid(cap));  // the space bar

  Image joypad(160, 64, ground);
  FillShape(joypad, 0, 0, 160, 64, Circle(38, 36, 26), Solid(edge));
  FillShape(joypad, 0, 0, 160, 64, Circle(122, 36, 26), Solid(edge));
  FillShape(joypad, 0, 0, 160, 64, RoundRect(30, 10, 100, 42, 16), Solid(edge));
  FillShape(joypad, 0, 0, 160, 64, Circle(38, 36, 24), Solid(body));
  FillShape(joypad, 0, 0, 160, 64, Circle(122, 36, 24), Solid(body));
  FillShape(joypad, 0, 0, 160, 64, RoundRect(32, 12, 96, 38, 14), Solid(body));
  FillShape(joypad, 0, 0, 160, 64, RoundRect(27, 31, 22, 7, 1), Solid(cap));
  FillShape(joypad, 0, 0, 160, 64, RoundRect(34.5, 24, 7, 22, 1), Solid(cap));
  const Rgb buttons[4] = {{200, 60, 60}, {60, 170, 80}, {70, 110, 210}, {220, 190, 60}};
  const double bx[4] = {122, 132, 112, 122}, by[4] = {44, 34, 34, 24};
  for (int b = 0; b < 4; ++b) FillShape(joypad, 0, 0, 160, 64, Circle(bx[b], by[b], 4.5), Solid(buttons[b]));
  FillShape(joypad, 0, 0, 160, 64, RoundRect(70, 30, 8, 4, 2), Solid(cap));
  FillShape(joypad, 0, 0, 160, 64, RoundRect(82, 30, 8, 4, 2), Solid(cap));

  WriteBank(dir + "/cont.spr", {main, keyboard, joypad, Panel(100, 40, {40, 70, 150}, 1819)});
}

// ---- Choose sides and match conditions -----------------------------------------------

// A shirt: body, sleeves and a collar, centred on cx with its top at y.
void PaintShirt(Image& img, double cx, double y, double s, Rgb body, Rgb trim) {
  const std::vector<std::pair<double, double>> shape = {
      {cx - 0.30 * s, y},          {cx - 0.62 * s, y + 0.22 * s}, {cx - 0.48 * s, y + 0.46 * s},
      {cx - 0.34 * s, y + 0.38 * s}, {cx - 0.34 * s, y + s},        {cx + 0.34 * s, y + s},
      {cx + 0.34 * s, y + 0.38 * s}, {cx + 0.48 * s, y + 0.46 * s}, {cx + 0.62 * s, y + 0.22 * s},
      {cx + 0.30 * s, y}};
  std::vector<std::pair<double, double>> shadow;
  for (auto [x, yy] : shape) shadow.push_back({x + 2, yy + 2});
  const int x0 = int(cx - s), y0 = int(y - 2), x1 = int(cx + s + 3), y1 = int(y + s + 4);
  FillShape(img, x0, y0, x1, y1, Polygon(shadow), Solid({0, 0, 0}), 0.45);
  FillShape(img, x0, y0, x1, y1, Polygon(shape), [&](int, int py) { return Mix(body, Scale(body, 0.6), (py - y) / s); });
  FillShape(img, x0, y0, x1, y1, Ring(cx, y - 0.02 * s, 0.14 * s, 0.22 * s), Solid(trim));
}

// A badge with a digit: the home "1" painted on the backdrop, the away "2"
// as its own sprite.
void PaintBadge(Image& img, Fonts& fonts, int x, int y, int w, int h, Rgb face, const char* digit) {
  FillShape(img, x, y, x + w, y + h, RoundRect(x + 1.5, y + 1.5, w - 3, h - 3, 8), Solid({235, 235, 235}));
  FillShape(img, x, y, x + w, y + h, RoundRect(x + 4, y + 4, w - 8, h - 8, 6),
            [&](int, int py) { return Mix(face, Scale(face, 0.55), (py - y) / double(h)); });
  TextStyle st{"DejaVuSans-Bold.ttf", 34, {255, 255, 255}, {0, 0, 0}, 2, 0};
  DrawTextCentred(img, fonts, st, digit, x + w / 2, y + h / 2, w - 6);
}

// A side's column: a tinted panel with its shirt on top.
void PaintColumn(Image& img, int x, int y, int w, int h, Rgb tint, Rgb shirt, Rgb trim) {
  FillShape(img, x, y, x + w, y + h, RoundRect(x + 1, y + 1, w - 2, h - 2, 12), Solid(tint), 0.55);
  const Inside outer = RoundRect(x + 1, y + 1, w - 2, h - 2, 12), inner = RoundRect(x + 4, y + 4, w - 8, h - 8, 10);
  FillShape(img, x, y, x + w, y + h, [&](double px, double py) { return outer(px, py) && !inner(px, py); },
            Solid(Mix(tint, {255, 255, 255}, 0.45)));
  PaintShirt(img, x + w / 2.0, y + 6, 26, shirt, trim);
}

// A controller tile of w x h with its number in the corner; kind 0 keyboard,
// 1 joypad, 2 joystick.
Image ControllerIcon(Fonts& fonts, int kind, int w, int h, int number) {
  Image img(w, h, Rgb{12, 20, 48});
  FillShape(img, 0, 0, w, h, RoundRect(0.5, 0.5, w - 1, h - 1, 8), Solid({150, 168, 200}));
  FillShape(img, 0, 0, w, h, RoundRect(2.5, 2.5, w - 5, h - 5, 7), [&](int, int y) {
    return Mix(Rgb{40, 56, 110}, Rgb{16, 24, 60}, y / double(h));
  });
  const Rgb body{210, 214, 224}, dark{40, 44, 56};
  if (kind == 0) {
    FillShape(img, 0, 0, w, h, RoundRect(6, 12, w - 22, h - 20, 4), Solid(body));
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 6; ++c)
        FillShape(img, 0, 0, w, h, RoundRect(9 + c * 9.5 + (r == 1 ? 3 : 0), 15 + r * 7.5, 7, 5.5, 1), Solid(dark));
    FillShape(img, 0, 0, w, h, RoundRect(20, 15 + 3 * 7.5, 30, 4, 1), Solid(dark));
  } else if (kind == 1) {
    const double cy = h / 2.0 + 2;
    auto pad = [&](double x, double y) {
      return RoundRect(10, cy - 10, w - 30, 20, 9)(x, y) || Circle(16, cy + 6, 9)(x, y) || Circle(w - 26, cy + 6, 9)(x, y);
    };
    FillShape(img, 0, 0, w, h, pad, Solid(body));
    FillShape(img, 0, 0, w, h, RoundRect(13, cy - 3, 12, 4, 1), Solid(dark));
    FillShape(img, 0, 0, w, h, RoundRect(17, cy - 7, 4, 12, 1), Solid(dark));
    const Rgb buttons[4] = {{200, 40, 40}, {40, 160, 60}, {40, 80, 200}, {220, 190, 30}};
    for (int i = 0; i < 4; ++i)
      FillShape(img, 0, 0, w, h, Circle(w - 32 + (i % 2) * 8, cy - 4 + (i / 2) * 8, 3), Solid(buttons[i]));
  } else {
    FillShape(img, 0, 0, w, h, RoundRect(10, h - 22, w - 26, 12, 4), Solid(body));
    FillShape(img, 0, 0, w, h, Segment((w - 16) / 2.0 + 2, h - 18, (w - 16) / 2.0 - 2, 14, 4), Solid(dark));
    FillShape(img, 0, 0, w, h, Circle((w - 16) / 2.0 - 2, 13, 6), Solid({200, 40, 40}));
  }
  TextStyle st{"DejaVuSans-Bold.ttf", 16, {255, 214, 0}, {0, 0, 0}, 1, 0};
  DrawTextCentred(img, fonts, st, std::to_string(number), w - 10, 11, 16);
  return img;
}

// "Choose sides" (sheet 7): the backdrop with the home column (blue, shirt,
// badge "1") and the middle column (grey) with the four players' slots, then
// in the screen's record order the away column, its badge "2", the joypads,
// joysticks and keyboards 1 to 4 and the markers "P1" to "P4". The away
// column, its badge and the markers are cut from the backdrop at their own
// places with their art over it.
std::vector<Image> SidesSheet(Fonts& fonts) {
  Image backdrop(640, 480, Rgb{0, 0, 0});
  PaintStadium(backdrop, kNight, 4711, 250);
  PaintTitle(backdrop, fonts, "");
  PaintColumn(backdrop, 33, 46, 135, 388, {30, 70, 190}, {40, 90, 220}, {255, 255, 255});
  PaintBadge(backdrop, fonts, 176, 370, 40, 64, {30, 70, 190}, "1");
  FillShape(backdrop, 250, 46, 390, 434, RoundRect(251, 47, 138, 386, 12), Solid({20, 24, 36}), 0.6);
  const int markerY[4] = {87, 171, 257, 341};
  for (int y : markerY)
    FillShape(backdrop, 280, y - 6, 360, y + 58, RoundRect(284, y - 3, 70, 56, 8), Solid({90, 96, 120}), 0.5);
  std::vector<Image> frames{backdrop};
  Image work = backdrop;
  PaintColumn(work, 472, 46, 135, 388, {180, 30, 36}, {210, 40, 44}, {255, 255, 255});
  frames.push_back(Crop(work, {472, 46, 135, 388}));
  PaintBadge(work, fonts, 424, 370, 40, 64, {180, 30, 36}, "2");
  frames.push_back(Crop(work, {424, 370, 40, 64}));
  for (int n = 1; n <= 4; ++n) frames.push_back(ControllerIcon(fonts, 1, 78, 60, n));
  for (int n = 1; n <= 4; ++n) frames.push_back(ControllerIcon(fonts, 2, 60, 60, n));
  for (int n = 1; n <= 4; ++n) frames.push_back(ControllerIcon(fonts, 0, 85, 48, n));
  for (int n = 1; n <= 4; ++n) {
    Image m = backdrop;
    const Rect r{291, markerY[n - 1], 56, 50};
    FillShape(m, r.x, r.y, r.x + r.w, r.y + r.h, RoundRect(r.x + 1.5, r.y + 1.5, r.w - 3, r.h - 3, 10), Solid({235, 235, 235}));
    FillShape(m, r.x, r.y, r.x + r.w, r.y + r.h, RoundRect(r.x + 4, r.y + 4, r.w - 8, r.h - 8, 8),
              [&](int, int py) { return Mix(Rgb{90, 96, 120}, Rgb{40, 44, 60}, (py - r.y) / double(r.h)); });
    TextStyle st{"DejaVuSans-Bold.ttf", 22, {255, 214, 0}, {0, 0, 0}, 2, 0};
    DrawTextCentred(m, fonts, st, "P" + std::to_string(n), r.x + r.w / 2, r.y + r.h / 2, r.w - 8);
    frames.push_back(Crop(m, r));
  }
  return frames;
}

// "Match conditions" (sheet 0): the backdrop with a panel behind the ten
// rows (labels from x 95, values from x 347, rows 28 apart from y 126), the
// last row, "Kick Off", set apart by a line.
std::vector<Image> CondiSheet(Fonts& fonts) {
  Image img(640, 480, Rgb{0, 0, 0});
  PaintStadium(img, Theme{{60, 110, 190}, {150, 190, 230}, {60, 150, 60}, {50, 132, 50}}, 2024, 250);
  PaintTitle(img, fonts, "");
  FillShape(img, 60, 100, 580, 420, RoundRect(66, 106, 508, 306, 14), Solid({0, 0, 20}), 0.6);
  const Inside outer = RoundRect(66, 106, 508, 306, 14), inner = RoundRect(69, 109, 502, 300, 12);
  FillShape(img, 60, 100, 580, 420, [&](double x, double y) { return outer(x, y) && !inner(x, y); },
            Solid({150, 168, 200}), 0.85);
  FillShape(img, 60, 100, 580, 420, RoundRect(330, 116, 3, 246, 1), Solid({150, 168, 200}), 0.35);
  FillShape(img, 60, 100, 580, 420, RoundRect(84, 368, 472, 2, 1), Solid({150, 168, 200}), 0.7);
  return {img};
}

void WriteSidesSheets(Fonts& fonts, const std::string& dir) {
  WriteBank(dir + "/sides.spr", SidesSheet(fonts));
  WriteBank(dir + "/condi.spr", CondiSheet(fonts));
}

// ---- Conversion and outro screens -------------------------------------------------

Image ConversionScreen(Fonts& fonts) {
  Image img(640, 480, Rgb{0, 0, 0});
  PaintStadium(img, Theme{{4, 8, 24}, {18, 30, 70}, {30, 96, 38}, {24, 82, 32}}, 4242, 300);
  PaintTitle(img, fonts, "");
  // A dark panel behind the three message lines and a frame for the bar.
  FillShape(img, 40, 100, 600, 210, RoundRect(44, 104, 552, 102, 12), Solid({0, 0, 0}), 0.55);
  FillShape(img, 160, 430, 480, 470, RoundRect(166, 434, 308, 32, 6), Solid({0, 0, 0}), 0.6);
  const Inside barOuter = RoundRect(166, 434, 308, 32, 6), barInner = RoundRect(169, 437, 302, 26, 4);
  FillShape(img, 160, 430, 480, 470, [&](double x, double y) { return barOuter(x, y) && !barInner(x, y); },
            Solid({150, 168, 200}));
  IconBall(img, 320, 300, 44, false);
  return img;
}

Image OutroScreen(Fonts& fonts) {
  Image img(640, 480, Rgb{0, 0, 0});
  PaintStadium(img, kNight, 9001, 260);
  PaintTitle(img, fonts, "1958 - 1998");
  IconTrophy(img, 320, 180, 60, true);
  TextStyle st{"DejaVuSans-Bold.ttf", 26, {255, 255, 255}, {0, 0, 0}, 2, 1};
  DrawTextCentred(img, fonts, st, "THANKS FOR PLAYING", 320, 420, 600);
  return img;
}

// The language codes of the word list, in the order of the main menu sheets.
const char* const kLanguageCodes[6] = {"eng", "fra", "ger", "spa", "ita", "por"};

// Reads the word list: one line per language, its code first, lines in any
// order, each language exactly once; every word non-empty, valid UTF-8.
std::vector<std::vector<std::string>> ReadWords(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("cannot read " + path);
  std::vector<std::vector<std::string>> langs(6);
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const std::string where = path + " line " + std::to_string(lineNo);
    std::vector<std::string> cols;
    size_t at = 0;
    for (size_t tab; (tab = line.find('\t', at)) != std::string::npos; at = tab + 1) cols.push_back(line.substr(at, tab - at));
    cols.push_back(line.substr(at));
    if (cols.size() != 1 + W_COUNT) Fail("bad line in " + where + ": " + std::to_string(cols.size()) + " columns, not 9");
    int lang = -1;
    for (int l = 0; l < 6; ++l)
      if (cols[0] == kLanguageCodes[l]) lang = l;
    if (lang < 0) Fail("unknown language \"" + cols[0] + "\" in " + where);
    if (!langs[static_cast<size_t>(lang)].empty()) Fail("language " + cols[0] + " given twice, again in " + where);
    for (size_t c = 1; c < cols.size(); ++c) {
      if (cols[c].empty()) Fail("an empty word in " + where);
      (void)Utf8ToU32(cols[c]);
    }
    langs[static_cast<size_t>(lang)] = std::vector<std::string>(cols.begin() + 1, cols.end());
  }
  for (int l = 0; l < 6; ++l)
    if (langs[static_cast<size_t>(l)].empty()) Fail(std::string("the word list has no line for ") + kLanguageCodes[l]);
  return langs;
}

}  // namespace

int main(int argc, char** argv) {
  std::string data, fontsDir, words, check;
  for (int i = 1; i < argc; i += 2) {
    std::string a = argv[i];
    if (i + 1 >= argc) Fail("no value after " + a);
    if (a == "--data") data = argv[i + 1];
    else if (a == "--fonts") fontsDir = argv[i + 1];
    else if (a == "--words") words = argv[i + 1];
    else if (a == "--check-words") check = argv[i + 1];
    else Fail("unknown argument " + a);
  }
  if (!check.empty()) {
    // Reads a word list and prints it back in sheet order, painting nothing.
    const auto langs = ReadWords(check);
    for (int l = 0; l < 6; ++l) {
      std::string out = kLanguageCodes[l];
      for (const std::string& w : langs[static_cast<size_t>(l)]) out += "\t" + w;
      std::printf("%s\n", out.c_str());
    }
    return 0;
  }
  if (data.empty() || fontsDir.empty() || words.empty())
    Fail("usage: korvena_fegen --data DIR --fonts DIR --words FILE | --check-words FILE");
  const auto langs = ReadWords(words);
  // The world map lies beside the word list; a damaged one stops the generator before it paints.
  const std::string worldmap = words.substr(0, words.find_last_of('/') + 1) + "worldmap.txt";
  fegen_WorldMapCheck(worldmap);
  // The team selection and the team sheet have painters of their own.
  WriteBank(data + "/frontend/team.spr", fegen_TeamSheet(worldmap));
  WriteBank(data + "/frontend/tactics.spr", fegen_TacticsSheet());
  WriteBank(data + "/frontend/fhgt.spr", fegen_FhgtSheet());
  Fonts fonts(fontsDir);
  const char* names[6] = {"maineng", "mainfra", "mainger", "mainspa", "mainita", "mainpor"};
  for (int l = 0; l < 6; ++l) {
    const auto& w = langs[static_cast<size_t>(l)];
    const Rect* lay = kMainLayouts[l];
    Image backdrop(640, 480, Rgb{0, 0, 0});
    PaintStadium(backdrop, kNight, 1998, 250);
    // Darken behind the button grid so the buttons stand out.
    FillShape(backdrop, 40, 74, 600, 410, RoundRect(44, 76, 552, 330, 16), Solid({0, 0, 20}), 0.35);
    PaintTitle(backdrop, fonts, w[W_TITLE]);
    for (int s = 2; s < 8; ++s) PaintButton(backdrop, fonts, lay[s], kSpriteWord[s], w[static_cast<size_t>(kSpriteWord[s])], false);
    PaintExitButton(backdrop, lay[1], false);
    TextStyle st{"DejaVuSans-Bold.ttf", 15, {230, 230, 230}, {0, 0, 0}, 1, 1};
    int tw = TextWidth(fonts, st, Utf8ToU32(w[W_EXIT]));
    DrawTextCentred(backdrop, fonts, st, w[W_EXIT], lay[1].x - 8 - tw / 2, lay[1].y + lay[1].h / 2, 200);
    std::vector<Image> frames{backdrop};
    for (int s = 1; s < 8; ++s) frames.push_back(HighlightedButton(backdrop, fonts, lay[s], s, w));
    WriteBank(data + "/frontend/" + names[l] + ".spr", frames);
  }
  WriteOtherSheets(fonts, data + "/frontend");
  WriteLoadSaveSheet(fonts, data + "/frontend");
  WriteControlsSheet(fonts, data + "/frontend");
  WriteSidesSheets(fonts, data + "/frontend");
  if (!art::WriteTGA24(ConversionScreen(fonts), data + "/textures/images/gfxconvert.tga")) Fail("cannot write gfxconvert.tga");
  if (!art::WriteTGA24(OutroScreen(fonts), data + "/textures/images/outro.tga")) Fail("cannot write outro.tga");
  return 0;
}
