// The team selection sheet: a stylised world map (ocean, a graticule, the
// confederations' land and Greenland) as the backdrop; each confederation
// button cut from it; the red and blue markers, which tint only their own
// confederation's land with an outline; the two text boxes; the numbers
// "1" to "4"; and the circles and arrows the screen keeps but does not draw.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "frontend/mteam_layout.h"
#include "tools/frontend/fegen_sheets.h"

using art::Image;
using art::Rgb;
using namespace fegen_paint;

namespace fegen_paint {

void Blend(Image& img, int x, int y, Rgb c, double a) {
  if (x < 0 || y < 0 || x >= img.iWidth || y >= img.iHeight) return;
  const Rgb o = img.Get(x, y);
  auto mix = [a](uint8_t p, uint8_t q) { return static_cast<uint8_t>(std::lround(p * (1 - a) + q * a)); };
  img.Set(x, y, Rgb{mix(o.r, c.r), mix(o.g, c.g), mix(o.b, c.b)});
}

void Polygon(Image& img, const std::vector<Pt>& pts, Rgb c, double alpha) {
  for (int y = 0; y < img.iHeight; y++) {
    const double fy = y + 0.5;
    std::vector<double> xs;
    for (size_t i = 0; i < pts.size(); i++) {
      const Pt a = pts[i], b = pts[(i + 1) % pts.size()];
      if ((a.second <= fy) != (b.second <= fy)) xs.push_back(a.first + (fy - a.second) * (b.first - a.first) / (b.second - a.second));
    }
    std::sort(xs.begin(), xs.end());
    for (size_t i = 0; i + 1 < xs.size(); i += 2)
      for (int x = static_cast<int>(std::ceil(xs[i] - 0.5)); x < static_cast<int>(std::ceil(xs[i + 1] - 0.5)); x++)
        Blend(img, x, y, c, alpha);
  }
}

void Outline(Image& img, const std::vector<Pt>& pts, Rgb c) {
  for (size_t i = 0; i < pts.size(); i++) {
    const Pt a = pts[i], b = pts[(i + 1) % pts.size()];
    const int n = static_cast<int>(std::max(std::fabs(b.first - a.first), std::fabs(b.second - a.second))) + 1;
    for (int k = 0; k <= n; k++)
      Blend(img, static_cast<int>(a.first + (b.first - a.first) * k / n), static_cast<int>(a.second + (b.second - a.second) * k / n), c, 1.0);
  }
}

void Rect(Image& img, int x, int y, int w, int h, Rgb c, double alpha) {
  for (int j = y; j < y + h; j++)
    for (int i = x; i < x + w; i++) Blend(img, i, j, c, alpha);
}

void Frame(Image& img, int x, int y, int w, int h, Rgb c, int t) {
  Rect(img, x, y, w, t, c);
  Rect(img, x, y + h - t, w, t, c);
  Rect(img, x, y, t, h, c);
  Rect(img, x + w - t, y, t, h, c);
}

Image Crop(const Image& img, int x, int y, int w, int h) {
  Image o(w, h, Rgb{0, 0, 0});
  for (int j = 0; j < h; j++)
    for (int i = 0; i < w; i++)
      if (x + i < img.iWidth && y + j < img.iHeight) o.Set(i, j, img.Get(x + i, y + j));
  return o;
}

void Digit(Image& img, int d, int x, int y, int w, int h, Rgb c) {
  // Segments a (top), b, c (right), d (bottom), e, f (left), g (middle).
  static const char* const kSegs[10] = {"abcdef", "bc", "abged", "abgcd", "fgbc", "afgcd", "afgedc", "abc", "abcdefg", "abcfgd"};
  const int t = std::max(2, w / 5), m = y + h / 2;
  for (const char* s = kSegs[d % 10]; *s; s++) switch (*s) {
      case 'a': Rect(img, x, y, w, t, c); break;
      case 'b': Rect(img, x + w - t, y, t, h / 2 + t / 2, c); break;
      case 'c': Rect(img, x + w - t, m - t / 2, t, h - h / 2 + t / 2, c); break;
      case 'd': Rect(img, x, y + h - t, w, t, c); break;
      case 'e': Rect(img, x, m - t / 2, t, h - h / 2 + t / 2, c); break;
      case 'f': Rect(img, x, y, t, h / 2 + t / 2, c); break;
      case 'g': Rect(img, x, m - t / 2, w, t, c); break;
      default: break;
    }
}

}  // namespace fegen_paint

namespace {

struct Land {
  std::string owner;
  std::vector<Pt> pts;
};

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "korvena_fegen: %s\n", what.c_str());
  std::exit(1);
}

std::vector<Land> ReadMap(const std::string& path) {
  std::ifstream in(path);
  if (!in) Fail("cannot read " + path);
  std::vector<Land> out;
  std::string line;
  for (int n = 1; std::getline(in, line); n++) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    std::istringstream ls(line);
    Land l;
    ls >> l.owner;
    bool known = l.owner == "GREENLAND";
    for (const auto& r : mteam_aoLayout) known = known || (l.owner == r.pszName && r.bVisible && l.owner != "main");
    if (!known) Fail(path + ":" + std::to_string(n) + ": unknown region " + l.owner);
    std::string p;
    while (ls >> p) {
      double x = 0, y = 0;
      char comma = 0, extra = 0;
      std::istringstream ps(p);
      if (!(ps >> x >> comma >> y) || comma != ',' || (ps >> extra) || x < 0 || x > 640 || y < 0 || y > 480)
        Fail(path + ":" + std::to_string(n) + ": bad corner " + p);
      l.pts.push_back({x, y});
    }
    if (l.pts.size() < 3) Fail(path + ":" + std::to_string(n) + ": a polygon needs three corners");
    out.push_back(l);
  }
  if (out.empty()) Fail(path + ": no land");
  return out;
}

const FrontEndLayoutRecord& Record(const std::string& name) {
  for (const auto& r : mteam_aoLayout)
    if (name == r.pszName) return r;
  Fail("no layout record " + name);
}

constexpr Rgb kLand{196, 178, 118}, kCoast{70, 58, 34};

Image Backdrop(const std::vector<Land>& lands) {
  Image img(640, 480, Rgb{0, 0, 0});
  for (int y = 0; y < 480; y++) {
    const double t = y / 479.0;
    const Rgb c{static_cast<uint8_t>(14 + 10 * t), static_cast<uint8_t>(52 + 30 * t), static_cast<uint8_t>(104 + 36 * t)};
    for (int x = 0; x < 640; x++) img.Set(x, y, c);
  }
  for (int x = 20; x < 640; x += 40) Rect(img, x, 40, 1, 290, Rgb{90, 130, 180}, 0.35);
  for (int y = 40; y < 330; y += 36) Rect(img, 0, y, 640, 1, Rgb{90, 130, 180}, 0.35);
  for (const Land& l : lands) Polygon(img, l.pts, kLand);
  for (const Land& l : lands) Outline(img, l.pts, kCoast);
  return img;
}

Image Marker(const Image& backdrop, const std::vector<Land>& lands, const std::string& owner, Rgb tint) {
  const FrontEndLayoutRecord& r = Record(owner);
  Image img = backdrop;
  for (const Land& l : lands)
    if (l.owner == owner) Polygon(img, l.pts, tint, 0.75);
  for (const Land& l : lands)
    if (l.owner == owner) Outline(img, l.pts, Rgb{250, 250, 230});
  return Crop(img, r.x, r.y, r.w, r.h);
}

Image TextBox(const Image& backdrop, const FrontEndLayoutRecord& r, Rgb edge) {
  Image img = Crop(backdrop, r.x, r.y, r.w, r.h);
  Rect(img, 0, 0, r.w, r.h, Rgb{8, 16, 40}, 0.7);
  Frame(img, 0, 0, r.w, r.h, edge, 3);
  return img;
}

}  // namespace

void fegen_WorldMapCheck(const std::string& worldmapPath) { ReadMap(worldmapPath); }

std::vector<Image> fegen_TeamSheet(const std::string& worldmapPath) {
  const std::vector<Land> lands = ReadMap(worldmapPath);
  const Image backdrop = Backdrop(lands);
  std::vector<Image> frames;
  for (const FrontEndLayoutRecord& r : mteam_aoLayout) {
    const std::string name = r.pszName;
    const char last = name.back();
    Image f;
    if (name == "main") f = backdrop;
    else if (name == "redbox") f = TextBox(backdrop, r, Rgb{200, 40, 40});
    else if (name == "bluebox") f = TextBox(backdrop, r, Rgb{50, 90, 220});
    else if (name.size() > 1 && (last == 'R' || last == 'B') && name != "GREENLAND")
      f = Marker(backdrop, lands, name.substr(0, name.size() - 1), last == 'R' ? Rgb{210, 36, 36} : Rgb{40, 80, 220});
    else if (name.size() == 1) {
      f = Crop(backdrop, r.x, r.y, r.w, r.h);
      Rect(f, 0, 0, r.w, r.h, Rgb{10, 10, 10}, 0.8);
      Digit(f, name[0] - '0', r.w / 2 - 6, 5, 12, r.h - 10, Rgb{230, 230, 230});
    } else if (name == "circles") {
      f = Crop(backdrop, r.x, r.y, r.w, r.h);
      for (int k = 0; k < 4; k++) {
        std::vector<Pt> ring;
        for (int a = 0; a < 48; a++)
          ring.push_back({r.w / 2 + (20 + 14 * k) * std::cos(a * M_PI / 24), r.h / 2 + (12 + 12 * k) * std::sin(a * M_PI / 24)});
        Outline(f, ring, Rgb{230, 230, 230});
      }
    } else if (name.find("arr") != std::string::npos) {
      f = Crop(backdrop, r.x, r.y, r.w, r.h);
      const bool up = name.find("up") != std::string::npos;
      Polygon(f, up ? std::vector<Pt>{{0, 9}, {8.5, 0}, {17, 9}} : std::vector<Pt>{{0, 0}, {8.5, 9}, {17, 0}},
              name[0] == 'r' ? Rgb{210, 36, 36} : Rgb{40, 80, 220});
    } else {
      f = Crop(backdrop, r.x, r.y, r.w, r.h);  // the buttons and Greenland: the map itself
    }
    frames.push_back(f);
  }
  return frames;
}
