#include "groundart.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace groundart {

Picture::Picture(int32_t w, int32_t h, Rgba fill, bool alpha) : iWidth(w), iHeight(h), bAlpha(alpha) {
  aPixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), fill);
}

Rgba Picture::Get(int32_t x, int32_t y) const {
  x = ((x % iWidth) + iWidth) % iWidth;
  y = ((y % iHeight) + iHeight) % iHeight;
  return aPixels[static_cast<size_t>(y) * static_cast<size_t>(iWidth) + static_cast<size_t>(x)];
}

void Picture::Set(int32_t x, int32_t y, Rgba c) {
  if (x < 0 || y < 0 || x >= iWidth || y >= iHeight) return;
  aPixels[static_cast<size_t>(y) * static_cast<size_t>(iWidth) + static_cast<size_t>(x)] = c;
}

namespace {

uint8_t Clamp8(double v) { return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

Rgba Mix(Rgba a, Rgba b, double k) {
  return Rgba{Clamp8(a.r + (b.r - a.r) * k), Clamp8(a.g + (b.g - a.g) * k), Clamp8(a.b + (b.b - a.b) * k),
              Clamp8(a.a + (b.a - a.a) * k)};
}

Rgba Scale(Rgba c, double k) { return Rgba{Clamp8(c.r * k), Clamp8(c.g * k), Clamp8(c.b * k), c.a}; }

}  // namespace

void Picture::Blend(int32_t x, int32_t y, Rgba c, double k) {
  if (x < 0 || y < 0 || x >= iWidth || y >= iHeight) return;
  Rgba& d = aPixels[static_cast<size_t>(y) * static_cast<size_t>(iWidth) + static_cast<size_t>(x)];
  const uint8_t a = d.a;
  d = Mix(d, c, std::clamp(k, 0.0, 1.0));
  d.a = a;
}

namespace {

// A fixed integer hash: the only source of "randomness" of the art.
uint32_t Hash(uint32_t x, uint32_t y, uint32_t seed) {
  uint32_t h = x * 0x8da6b343u ^ y * 0xd8163841u ^ seed * 0xcb1ab31fu;
  h ^= h >> 15;
  h *= 0x2c1b3c6du;
  h ^= h >> 12;
  h *= 0x297a2d39u;
  h ^= h >> 15;
  return h;
}

double Unit(uint32_t x, uint32_t y, uint32_t seed) { return (Hash(x, y, seed) & 0xFFFFFF) / 16777216.0; }

// Smooth value noise that tiles with the given period (a divisor of the
// texture's size), 0..1.
double Noise(double x, double y, int32_t period, uint32_t seed) {
  const double fx = std::floor(x), fy = std::floor(y);
  const double tx = x - fx, ty = y - fy;
  auto at = [&](int32_t i, int32_t j) {
    i = ((i % period) + period) % period;
    j = ((j % period) + period) % period;
    return Unit(static_cast<uint32_t>(i), static_cast<uint32_t>(j), seed);
  };
  const int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
  const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
  const double a = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * sx;
  const double b = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * sx;
  return a + (b - a) * sy;
}

// Two octaves of tiling noise over a texture of `size` texels.
double Grain(int32_t x, int32_t y, int32_t size, int32_t cells, uint32_t seed) {
  const double k = static_cast<double>(cells) / size;
  return 0.65 * Noise(x * k, y * k, cells, seed) + 0.35 * Noise(x * k * 4, y * k * 4, cells * 4, seed + 1);
}

// ---------------------------------------------------------------- reading

bool ReadFile(const std::string& path, std::string& out) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  std::ostringstream ss;
  ss << f.rdbuf();
  out = ss.str();
  return true;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream ss(text);
  std::string line;
  while (std::getline(ss, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t s = line.find_first_not_of(" \t");
    if (s == std::string::npos || line[s] == '#') continue;
    out.push_back(line);
  }
  return out;
}

bool ReadColour(std::istream& in, Rgba& c) {
  int r = -1, g = -1, b = -1;
  if (!(in >> r >> g >> b)) return false;
  if (r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255) return false;
  c = Rgba{static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b), 255};
  return true;
}

std::string Trim(const std::string& s) {
  const size_t a = s.find_first_not_of(" \t");
  if (a == std::string::npos) return {};
  const size_t b = s.find_last_not_of(" \t");
  return s.substr(a, b - a + 1);
}

}  // namespace

const std::vector<std::string>& LookNames() {
  static const std::vector<std::string> names = {
      "gen1",  "gen2",  "gen3",  "gen4",   "gen5",     "gen6",    "gen7",     "gen9",     "gen10",    "gen11", "gen12",
      "gen13", "gen14", "gen15", "gen16",  "munich",   "stadfran", "sansiro", "wembley",  "training", "rosebowl", "fhad"};
  return names;
}

bool SourcesParse(const std::string& sLooks, const std::string& sAdverts, const std::string& sPitch, Sources& out,
                  std::string& sError) {
  out = Sources{};
  int n = 0;
  for (const std::string& line : Lines(sLooks)) {
    ++n;
    std::istringstream in(line);
    Look l;
    if (!(in >> l.sName >> l.iTiers >> l.iRoof >> l.iOpenCorners >> l.iCrowd) || !ReadColour(in, l.seats) ||
        !ReadColour(in, l.wall) || !ReadColour(in, l.roof)) {
      sError = "looks: line " + std::to_string(n) + " is not: name tiers roof open crowd seats wall roof";
      return false;
    }
    std::string rest;
    if (in >> rest) {
      sError = "looks: line " + std::to_string(n) + " has more than the look's fields";
      return false;
    }
    if (l.iTiers < 1 || l.iTiers > 3 || l.iRoof < 0 || l.iRoof > 2 || l.iOpenCorners < 0 || l.iOpenCorners > 1 ||
        l.iCrowd < 0 || l.iCrowd > 100) {
      sError = "looks: " + l.sName + ": tiers 1-3, roof 0-2, open 0-1, crowd 0-100";
      return false;
    }
    out.aLooks.push_back(l);
  }
  const std::vector<std::string>& names = LookNames();
  if (out.aLooks.size() != names.size()) {
    sError = "looks: " + std::to_string(out.aLooks.size()) + " looks, the look table has files for " +
             std::to_string(names.size());
    return false;
  }
  for (size_t i = 0; i < names.size(); ++i)
    if (out.aLooks[i].sName != names[i]) {
      sError = "looks: look " + std::to_string(i) + " is \"" + out.aLooks[i].sName + "\", the table wants \"" +
               names[i] + "\"";
      return false;
    }

  n = 0;
  std::set<std::string> brands;
  for (const std::string& line : Lines(sAdverts)) {
    ++n;
    const size_t a = line.find('|'), b = a == std::string::npos ? a : line.find('|', a + 1);
    Advert ad;
    if (b == std::string::npos) {
      sError = "adverts: line " + std::to_string(n) + " is not: brand | ink | board";
      return false;
    }
    ad.sBrand = Trim(line.substr(0, a));
    std::istringstream ink(line.substr(a + 1, b - a - 1)), board(line.substr(b + 1));
    if (ad.sBrand.empty() || ad.sBrand.size() > 16 || !ReadColour(ink, ad.ink) || !ReadColour(board, ad.board)) {
      sError = "adverts: line " + std::to_string(n) + ": a brand of 1-16 characters and two colours";
      return false;
    }
    for (char c : ad.sBrand)
      if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126) {
        sError = "adverts: " + ad.sBrand + ": plain letters only";
        return false;
      }
    if (!brands.insert(ad.sBrand).second) {
      sError = "adverts: " + ad.sBrand + " twice";
      return false;
    }
    out.aAdverts.push_back(ad);
  }
  if (out.aAdverts.size() != 16) {
    sError = "adverts: " + std::to_string(out.aAdverts.size()) + " adverts, a hoarding texture holds 16";
    return false;
  }

  std::map<std::string, Rgba*> keys = {{"grass_light", &out.grassLight}, {"grass_dark", &out.grassDark},
                                       {"dry_light", &out.dryLight},     {"dry_dark", &out.dryDark},
                                       {"snow", &out.snow},              {"track", &out.track}};
  std::set<std::string> seen;
  for (const std::string& line : Lines(sPitch)) {
    std::istringstream in(line);
    std::string key;
    in >> key;
    auto it = keys.find(key);
    if (it == keys.end() || !seen.insert(key).second || !ReadColour(in, *it->second)) {
      sError = "pitch: \"" + line + "\": an unknown, repeated or broken colour";
      return false;
    }
  }
  if (seen.size() != keys.size()) {
    sError = "pitch: " + std::to_string(keys.size() - seen.size()) + " colours missing";
    return false;
  }
  return true;
}

bool SourcesRead(const std::string& sFolder, Sources& out, std::string& sError) {
  std::string a, b, c;
  if (!ReadFile(sFolder + "/looks.txt", a) || !ReadFile(sFolder + "/adverts.txt", b) ||
      !ReadFile(sFolder + "/pitch.txt", c)) {
    sError = "cannot read the sources in " + sFolder;
    return false;
  }
  return SourcesParse(a, b, c, out, sError);
}

namespace {

// ---------------------------------------------------------------- text

class Fonts {
 public:
  explicit Fonts(const std::string& dir) : m_dir(dir) { m_ok = FT_Init_FreeType(&m_lib) == 0; }
  ~Fonts() {
    for (auto& [k, f] : m_faces) FT_Done_Face(f);
    if (m_ok) FT_Done_FreeType(m_lib);
  }
  Fonts(const Fonts&) = delete;
  Fonts& operator=(const Fonts&) = delete;
  FT_Face Face(const std::string& file, int size) {
    if (!m_ok) return nullptr;
    FT_Face& f = m_faces[file];
    if (!f && FT_New_Face(m_lib, (m_dir + "/" + file).c_str(), 0, &f) != 0) {
      f = nullptr;
      return nullptr;
    }
    if (FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(size)) != 0) return nullptr;
    return f;
  }

 private:
  std::string m_dir;
  bool m_ok = false;
  FT_Library m_lib{};
  std::map<std::string, FT_Face> m_faces;
};

int TextWidth(FT_Face f, const std::string& text) {
  int w = 0;
  for (char c : text)
    if (FT_Load_Char(f, static_cast<unsigned char>(c), FT_LOAD_DEFAULT) == 0) w += static_cast<int>(f->glyph->advance.x >> 6);
  return w;
}

// Text fitted into a box and centred in it; with bAlphaInk the glyphs set
// the alpha of the texels (rings), else they blend their colour in.
bool Text(Picture& p, Fonts& fonts, const std::string& font, const std::string& text, int x, int y, int w, int h,
          Rgba ink, bool bAlphaInk) {
  int size = h;
  FT_Face f = fonts.Face(font, size);
  if (!f) return false;
  while (size > 6 && TextWidth(f, text) > w) f = fonts.Face(font, --size);
  const int tw = TextWidth(f, text);
  const int cap = static_cast<int>(std::lround(size * 0.73));
  int pen = x + (w - tw) / 2;
  const int base = y + (h + cap) / 2;
  for (char c : text) {
    if (FT_Load_Char(f, static_cast<unsigned char>(c), FT_LOAD_RENDER) != 0) continue;
    FT_GlyphSlot g = f->glyph;
    for (unsigned r = 0; r < g->bitmap.rows; ++r)
      for (unsigned col = 0; col < g->bitmap.width; ++col) {
        const uint8_t v = g->bitmap.buffer[r * static_cast<unsigned>(g->bitmap.pitch) + col];
        const int px = pen + g->bitmap_left + static_cast<int>(col), py = base - g->bitmap_top + static_cast<int>(r);
        if (px < x || px >= x + w || py < y || py >= y + h || !v) continue;
        if (bAlphaInk) {
          Rgba d = p.Get(px, py);
          d = Mix(d, ink, v / 255.0);
          d.a = std::max(d.a, v);
          p.Set(px, py, d);
        } else {
          p.Blend(px, py, ink, v / 255.0);
        }
      }
    pen += static_cast<int>(g->advance.x >> 6);
  }
  return true;
}

// ---------------------------------------------------------------- pitch

constexpr int32_t kPattern = 128;

// Grass: colour between the two mowing shades, with a fine tiling grain.
Rgba Grass(const Sources& s, int32_t x, int32_t y, double light, uint32_t seed) {
  const double g = Grain(x, y, kPattern, 8, seed);
  Rgba c = Mix(s.grassDark, s.grassLight, light);
  return Scale(c, 0.86 + 0.24 * g + 0.06 * (Unit(static_cast<uint32_t>(x), static_cast<uint32_t>(y), seed + 7) - 0.5));
}

Picture PitchPattern(const Sources& s, int type) {
  Picture p(kPattern, kPattern, Rgba{}, false);
  const int32_t half = kPattern / 2;
  for (int32_t y = 0; y < kPattern; ++y)
    for (int32_t x = 0; x < kPattern; ++x) {
      const bool left = x < half, top = y < half;
      Rgba c;
      switch (type) {
        case 0:  // checked: the quarters alternate
          c = Grass(s, x, y, left == top ? 1.0 : 0.0, 11);
          break;
        case 1: {  // diamonds: a square turned by 45 degrees in every quarter
          const int32_t qx = x % half, qy = y % half;
          const bool in = std::abs(qx - half / 2 + 0.5) + std::abs(qy - half / 2 + 0.5) < half / 2.0;
          c = Grass(s, x, y, in ? 1.0 : 0.0, 12);
          break;
        }
        case 2:  // stripes across the length: one light and one dark 5-yard band
          c = Grass(s, x, y, left ? 1.0 : 0.0, 13);
          break;
        case 3: {  // snow: white cover, trodden thin where the grass shows
          const double n = Grain(x, y, kPattern, 4, 14);
          const Rgba grass = Grass(s, x, y, 0.3, 15);
          c = Mix(grass, s.snow, std::clamp((n - 0.25) * 3.0, 0.55, 1.0));
          c = Scale(c, 0.95 + 0.05 * Unit(static_cast<uint32_t>(x), static_cast<uint32_t>(y), 16));
          break;
        }
        case 4: {  // dry: sand-coloured earth with tufts of burnt grass
          const double n = Grain(x, y, kPattern, 8, 17);
          c = Mix(s.dryDark, s.dryLight, n);
          if (Grain(x, y, kPattern, 16, 18) > 0.62) c = Mix(c, Scale(s.grassDark, 0.9), 0.45);
          c = Scale(c, 0.94 + 0.1 * Unit(static_cast<uint32_t>(x), static_cast<uint32_t>(y), 19));
          break;
        }
        default: {  // training: uneven grass, no mowing, worn patches
          const double n = Grain(x, y, kPattern, 4, 20);
          c = Grass(s, x, y, 0.5, 21);
          if (n < 0.3) c = Mix(c, s.dryDark, (0.3 - n) * 2.0);
          break;
        }
      }
      c.a = 255;
      p.Set(x, y, c);
    }
  return p;
}

// The surround: a cinder running track, one repeat per 10-yard cell.
Picture Track(const Sources& s) {
  Picture p(64, 64, Rgba{}, false);
  for (int32_t y = 0; y < 64; ++y)
    for (int32_t x = 0; x < 64; ++x) {
      const double g = Grain(x, y, 64, 8, 30);
      Rgba c = Scale(s.track, 0.82 + 0.3 * g + 0.12 * (Unit(static_cast<uint32_t>(x), static_cast<uint32_t>(y), 31) - 0.5));
      p.Set(x, y, c);
    }
  return p;
}

// Lines: the line square 1..30 and the spot 33..63 across, 1..30 down, on a
// transparent page. The software version has hard edges and the key colour.
Picture Lines(bool bSoftware) {
  Picture p(64, 64, bSoftware ? kKey : Rgba{255, 255, 255, 0}, true);
  const Rgba white{250, 250, 250, 255};
  for (int32_t y = 1; y < 30; ++y)
    for (int32_t x = 1; x < 30; ++x) p.Set(x, y, white);
  const double cx = 48.0, cy = 15.5, r = 14.0;
  for (int32_t y = 1; y < 30; ++y)
    for (int32_t x = 33; x < 63; ++x) {
      const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
      if (bSoftware) {
        if (d < r) p.Set(x, y, white);
      } else {
        const double k = std::clamp(r - d + 0.5, 0.0, 1.0);
        if (k > 0) p.Set(x, y, Rgba{250, 250, 250, Clamp8(255 * k)});
      }
    }
  return p;
}

// The corner decal: the shadow's inner corner (texel (0, 1)) rounded off by
// a dark wash that fades out over the square.
Picture Corner() {
  Picture p(64, 64, Rgba{0, 0, 0, 0}, true);
  for (int32_t y = 0; y < 64; ++y)
    for (int32_t x = 0; x < 64; ++x) {
      const double d = std::hypot((x + 0.5) / 64.0, (64 - y - 0.5) / 64.0);
      const double k = std::clamp(1.0 - d, 0.0, 1.0);
      p.Set(x, y, Rgba{0, 16, 0, Clamp8(70 * k * k)});
    }
  return p;
}

// ---------------------------------------------------------------- ball

// 64 by 64, the pattern repeating every 32 texels both ways.
Picture Ball(int kind) {
  Picture p(64, 64, Rgba{}, false);
  for (int32_t y = 0; y < 64; ++y)
    for (int32_t x = 0; x < 64; ++x) {
      const int32_t bx = x % 32, by = y % 32;
      Rgba c;
      const double grain = Grain(bx, by, 32, 4, 40 + static_cast<uint32_t>(kind));
      if (kind == 0) {  // laced leather panels, brick-laid
        const int32_t row = by / 8, off = (row % 2) * 8;
        const bool seam = by % 8 == 0 || (bx + off) % 16 == 0;
        c = seam ? Rgba{92, 56, 26, 255} : Scale(Rgba{178, 124, 64, 255}, 0.88 + 0.2 * grain);
        if (bx >= 14 && bx <= 17 && by >= 2 && by <= 6 && by % 2 == 0) c = Rgba{236, 222, 190, 255};  // lace
      } else if (kind == 1) {  // black and white checks
        const bool dark = (bx < 16) != (by < 16);
        c = dark ? Rgba{28, 28, 30, 255} : Scale(Rgba{240, 240, 236, 255}, 0.95 + 0.05 * grain);
        if (bx % 16 == 0 || by % 16 == 0) c = Rgba{120, 120, 120, 255};
      } else {  // white with dark patches, two a repeat
        c = Scale(Rgba{244, 244, 240, 255}, 0.95 + 0.05 * grain);
        auto patch = [&](double px, double py) {
          double dx = std::abs(bx + 0.5 - px), dy = std::abs(by + 0.5 - py);
          dx = std::min(dx, 32 - dx);
          dy = std::min(dy, 32 - dy);
          return std::max(dx, dy) * 0.6 + std::min(dx, dy) * 0.8;  // rounded pentagon-ish blot
        };
        const double d = std::min(patch(8, 8), patch(24, 24));
        if (d < 5.0) c = Rgba{24, 24, 28, 255};
        else if (d < 6.0) c = Rgba{140, 140, 140, 255};
      }
      p.Set(x, y, c);
    }
  return p;
}

// The highlight laid over the ball's disc: a white gleam up and to the left
// and a dark rim down and to the right, both as alpha.
Picture Highlight(double gleamRadius, double gleamStrength, double rim) {
  Picture p(64, 64, Rgba{0, 0, 0, 0}, true);
  for (int32_t y = 0; y < 64; ++y)
    for (int32_t x = 0; x < 64; ++x) {
      const double u = (x + 0.5 - 32) / 32.0, v = (y + 0.5 - 32) / 32.0;
      const double d = std::hypot(u, v);
      if (d >= 1.0) continue;
      const double gd = std::hypot(u + 0.35, v + 0.35) / gleamRadius;
      const double h = gleamStrength * std::exp(-gd * gd * 2.5);
      const double shade = rim * std::clamp((u + v) * 0.5 + d * d * 0.6, 0.0, 1.0);
      const double a = std::clamp(h + shade, 0.0, 1.0);
      const double white = h + shade > 0 ? h / (h + shade) : 0.0;
      const uint8_t grey = Clamp8(255 * white);
      p.Set(x, y, Rgba{grey, grey, grey, Clamp8(255 * a)});
    }
  return p;
}

// ---------------------------------------------------------------- markers

Picture Ring(Fonts& fonts, int number, bool& ok) {
  Picture p(32, 32, Rgba{255, 255, 255, 0}, true);
  for (int32_t y = 0; y < 32; ++y)
    for (int32_t x = 0; x < 32; ++x) {
      const double d = std::hypot(x + 0.5 - 16, y + 0.5 - 16);
      const double k = std::clamp(std::min(d - 10.5, 15.5 - d) + 0.5, 0.0, 1.0);
      const bool gap = number > 0 && std::abs(x + 0.5 - 16) < 2.5 && y > 16;  // a notch shows the turning
      if (k > 0 && !gap) p.Set(x, y, Rgba{255, 255, 255, Clamp8(230 * k)});
    }
  if (number > 0) ok = Text(p, fonts, "DejaVuSans-Bold.ttf", std::to_string(number), 9, 8, 14, 16, Rgba{255, 255, 255, 255}, true) && ok;
  return p;
}

// ---------------------------------------------------------------- goals

// Frame and flag page: the left half painted post (shaded round), the top
// right quarter the corner flag's cloth, the bottom right its pole.
Picture GoalFrame() {
  Picture p(64, 64, Rgba{}, false);
  for (int32_t y = 0; y < 64; ++y)
    for (int32_t x = 0; x < 64; ++x) {
      Rgba c;
      if (x < 32) {
        const double a = (x + 0.5) / 32.0 * 3.14159265;
        c = Scale(Rgba{246, 246, 242, 255}, 0.7 + 0.3 * std::sin(a));
      } else if (y < 32) {
        const bool check = ((x - 32) / 8 + y / 8) % 2 == 0;
        c = check ? Rgba{240, 200, 30, 255} : Rgba{210, 40, 30, 255};
        c = Scale(c, 0.9 + 0.1 * std::sin((x - 32) * 0.4));
      } else {
        c = ((y - 32) / 8) % 2 == 0 ? Rgba{240, 240, 240, 255} : Rgba{200, 40, 30, 255};
      }
      p.Set(x, y, c);
    }
  return p;
}

// One mesh cell of the net: cords along the top and the left edge.
Picture NetCell() {
  Picture p(32, 32, Rgba{255, 255, 255, 0}, true);
  for (int32_t y = 0; y < 32; ++y)
    for (int32_t x = 0; x < 32; ++x) {
      const double dx = std::min(x + 0.5, 32 - x - 0.5), dy = std::min(y + 0.5, 32 - y - 0.5);
      const double k = std::clamp(2.2 - std::min(dx, dy), 0.0, 1.0);
      if (k > 0) p.Set(x, y, Rgba{236, 236, 236, Clamp8(255 * k)});
    }
  return p;
}

// The whole net once for the software renderer: 30 cells across, 10 down,
// hard cords on the key colour.
Picture NetWhole() {
  Picture p(256, 128, kKey, true);
  for (int32_t y = 0; y < 128; ++y)
    for (int32_t x = 0; x < 256; ++x) {
      const double cx = x * 30.0 / 256.0, cy = y * 10.0 / 128.0;
      const double fx = cx - std::floor(cx), fy = cy - std::floor(cy);
      if (fx < 30.0 / 256.0 || fy < 10.0 / 128.0 || x == 255 || y == 127) p.Set(x, y, Rgba{230, 230, 230, 255});
    }
  return p;
}

// ---------------------------------------------------------------- hoardings

bool Hoardings(const Sources& s, Fonts& fonts, bool bOld, Picture& p) {
  p = Picture(256, 256, Rgba{}, false);
  bool ok = true;
  for (int k = 0; k < 16; ++k) {
    const Advert& ad = s.aAdverts[static_cast<size_t>(k)];
    const int x0 = (k % 2) * 128, y0 = (k / 2) * 32;
    Rgba board = ad.board, ink = ad.ink;
    if (bOld) {  // painted boards: cream and dark paint, a ruled border
      board = Rgba{226, 214, 186, 255};
      ink = Rgba{40, 34, 28, 255};
      if (k % 2) std::swap(board, ink);
    }
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 128; ++x) {
        Rgba c = Scale(board, 0.93 + 0.07 * Unit(static_cast<uint32_t>(x0 + x), static_cast<uint32_t>(y0 + y), 50));
        if (y < 1 || y > 30 || x < 1 || x > 126) c = Scale(board, 0.55);
        if (bOld && (y == 3 || y == 28) && x > 3 && x < 124) c = Mix(c, ink, 0.8);
        p.Set(x0 + x, y0 + y, c);
      }
    ok = Text(p, fonts, bOld ? "DejaVuSerif-Bold.ttf" : "DejaVuSans-Bold.ttf", ad.sBrand, x0 + 6, y0 + 5, 116, 22, ink,
              false) && ok;
  }
  return ok;
}

// ---------------------------------------------------------------- stadium

Rgba Night(Rgba c, double k) {  // darker and bluer
  return Rgba{Clamp8(c.r * k * 0.8), Clamp8(c.g * k * 0.85), Clamp8(c.b * k * 1.05 + 6), c.a};
}

// Seating bands with the crowd: each tier a band of seat rows under a
// front wall; spectators are small blocks of shirt colour and a face.
void Seats(const Look& l, uint32_t seed, Picture& p) {
  const int32_t band = kSeatRows / l.iTiers;
  static const Rgba shirts[] = {{200, 40, 40, 255}, {240, 240, 240, 255}, {40, 60, 160, 255}, {240, 200, 40, 255},
                                {40, 40, 40, 255},  {60, 140, 60, 255},   {150, 150, 160, 255}, {220, 120, 40, 255}};
  for (int32_t t = 0; t < l.iTiers; ++t) {
    const int32_t top = t * band;
    for (int32_t y = top; y < top + band; ++y)
      for (int32_t x = 0; x < kPageSize; ++x) {
        const int32_t ry = y - top;
        Rgba c;
        if (ry >= band - 8) {  // the tier's front wall with a fascia stripe
          c = ry == band - 5 || ry == band - 4 ? Scale(l.roof, 0.9) : l.wall;
        } else {
          const int32_t row = ry / 6, seatX = x / 5, inRow = ry % 6;
          const bool taken = static_cast<int32_t>(Hash(static_cast<uint32_t>(seatX), static_cast<uint32_t>(row + t * 40), seed) % 100) < l.iCrowd;
          c = inRow == 5 ? Scale(l.wall, 0.6) : l.seats;  // the step below each row
          if (taken && inRow < 5 && x % 5 != 4) {
            const uint32_t h = Hash(static_cast<uint32_t>(seatX), static_cast<uint32_t>(row + t * 40), seed + 1);
            c = inRow < 2 ? Rgba{static_cast<uint8_t>(170 + h % 60), static_cast<uint8_t>(120 + h % 50), 90, 255}
                          : shirts[(h >> 8) % 8];
          }
        }
        p.Set(x, y, c);
      }
  }
  for (int32_t y = kSeatRows; y < kPageSize; ++y)  // back wall: panels and gates
    for (int32_t x = 0; x < kPageSize; ++x) {
      Rgba c = Scale(l.wall, 0.9 + 0.1 * Grain(x, y, kPageSize, 16, seed + 2));
      if (x % 32 == 0 || y == kSeatRows) c = Scale(l.wall, 0.7);
      if (y > kSeatRows + 28 && x % 64 > 20 && x % 64 < 44) c = Rgba{50, 48, 46, 255};
      p.Set(x, y, c);
    }
}

void Page2(const Look& l, uint32_t seed, bool night, Picture& p) {
  for (int32_t y = 0; y < kRoofRows; ++y)  // roof sheets with trusses
    for (int32_t x = 0; x < kPageSize; ++x) {
      Rgba c = Scale(l.roof, 0.85 + 0.15 * ((x / 4) % 2));
      if (y >= kRoofRows / 2) c = Scale(l.roof, 0.45);  // underside
      if (x % 32 < 2) c = Scale(l.roof, 0.3);
      if (l.iRoof == 0 && y < kRoofRows / 2) c = Scale(l.wall, 0.8);  // open stands: a parapet instead
      p.Set(x, y, c);
    }
  for (int32_t y = kPylonTop; y < kPylonBottom; ++y)  // lattice: transparent between the steel
    for (int32_t x = 0; x < kPageSize; ++x) {
      // One braced cell of 64 texels, its steel wide enough to stay whole
      // when a distant pylon shrinks it.
      const int32_t lx = x % 64, ly = (y - kPylonTop) % 64;
      const bool steel = lx < 6 || lx > 57 || std::abs(lx - ly) < 4 || std::abs(lx + ly - 63) < 4 || ly < 5;
      p.Set(x, y, steel ? (night ? Rgba{60, 62, 70, 255} : Rgba{130, 132, 140, 255}) : Rgba{0, 0, 0, 0});
    }
  for (int32_t y = kTerraceTop; y < kTerraceBottom; ++y)  // corner terraces: open steps or closed walls
    for (int32_t x = 0; x < kPageSize; ++x) {
      const int32_t ry = y - kTerraceTop;
      Rgba c = l.iOpenCorners ? (ry % 8 < 6 ? Rgba{150, 146, 136, 255} : Rgba{96, 92, 86, 255}) : Scale(l.wall, 0.85);
      if (l.iOpenCorners && ry % 8 < 4 &&
          static_cast<int32_t>(Hash(static_cast<uint32_t>(x / 4), static_cast<uint32_t>(ry / 8), seed + 3) % 100) < l.iCrowd / 2)
        c = Rgba{90, 70, 60, 255};
      p.Set(x, y, c);
    }
  for (int32_t y = kTerraceBottom; y < kPageSize; ++y)
    for (int32_t x = 0; x < kPageSize; ++x)
      p.Set(x, y, Scale(l.wall, 0.75 + 0.2 * Grain(x, y, kPageSize, 16, seed + 4)));
}

Picture StadiumPage(const Look& l, uint32_t seed, int page, bool night) {
  Picture p(kPageSize, kPageSize, Rgba{}, page == 2);
  if (page == 1) Seats(l, seed, p);
  else Page2(l, seed, night, p);
  if (night)
    for (Rgba& c : p.aPixels)
      if (c.a) c = Night(c, 0.62);
  return p;
}

// Floodlights: a bank of lamps with a wide halo, white over transparent.
Picture Lights() {
  Picture p(256, 256, Rgba{255, 255, 255, 0}, true);
  for (int32_t y = 0; y < 256; ++y)
    for (int32_t x = 0; x < 256; ++x) {
      const double d = std::hypot(x + 0.5 - 128, (y + 0.5 - 128) * 1.6) / 128.0;
      double a = std::clamp(0.75 * std::exp(-d * d * 4.0), 0.0, 1.0);
      const bool lamp = x >= 64 && x < 192 && y >= 96 && y < 160 && (x - 64) % 16 >= 3 && (x - 64) % 16 < 13 &&
                        (y - 96) % 16 >= 3 && (y - 96) % 16 < 13;
      if (lamp) a = 1.0;
      const uint8_t b = lamp ? 255 : 236;
      p.Set(x, y, Rgba{255, 255, b, Clamp8(255 * a)});
    }
  return p;
}

}  // namespace

bool PaintAll(const Sources& src, const std::string& sFontDir, std::vector<OutFile>& out, std::string& sError) {
  out.clear();
  Fonts fonts(sFontDir);
  static const char* patterns[] = {"tartan", "diamond", "stripes", "snow1", "african", "training"};
  for (int t = 0; t < 6; ++t) out.push_back({std::string("pitch/") + patterns[t] + ".tga", PitchPattern(src, t)});
  out.push_back({"pitch/track.tga", Track(src)});
  out.push_back({"pitch/lines.tga", Lines(false)});
  out.push_back({"pitch/swlines.tga", Lines(true)});
  out.push_back({"pitch/LMCorner.tga", Corner()});
  out.push_back({"ball/tanpc.tga", Ball(0)});
  out.push_back({"ball/chekpc.tga", Ball(1)});
  out.push_back({"ball/ball7.tga", Ball(2)});
  out.push_back({"ball/PChilight1.tga", Highlight(0.35, 0.95, 0.55)});
  out.push_back({"ball/PChilight4b.tga", Highlight(0.55, 0.7, 0.35)});
  bool ok = true;
  for (int i = 1; i <= 4; ++i) out.push_back({"markers/ring" + std::to_string(i) + ".tga", Ring(fonts, i, ok)});
  out.push_back({"markers/plainring.tga", Ring(fonts, 0, ok)});
  out.push_back({"goals/goalpopo.tga", GoalFrame()});
  out.push_back({"goals/net.tga", NetCell()});
  out.push_back({"goals/SWnet2.tga", NetWhole()});
  Picture h1, h2;
  ok = Hoardings(src, fonts, false, h1) && ok;
  ok = Hoardings(src, fonts, true, h2) && ok;
  out.push_back({"stadiums/misc/hord1.tga", h1});
  out.push_back({"stadiums/misc/hord2.tga", h2});
  for (size_t i = 0; i < src.aLooks.size(); ++i) {
    const Look& l = src.aLooks[i];
    const uint32_t seed = 1000 + static_cast<uint32_t>(i) * 17;
    for (int night = 0; night < 2; ++night) {
      const std::string base = "stadiums/" + l.sName + (night ? "/night" : "/day") + "/norm/full/";
      out.push_back({base + "page1.tga", StadiumPage(l, seed, 1, night != 0)});
      out.push_back({base + "page2.tga", StadiumPage(l, seed, 2, night != 0)});
    }
    out.push_back({"stadiums/" + l.sName + "/night/norm/full/lights.tga", Lights()});
  }
  if (!ok) {
    sError = "cannot draw text with the fonts in " + sFontDir;
    return false;
  }
  return true;
}

std::string Validate(const std::vector<OutFile>& files) {
  std::set<std::string> seen;
  for (const OutFile& f : files) {
    const Picture& p = f.picture;
    if (!seen.insert(f.sPath).second) return f.sPath + ": painted twice";
    if (p.aPixels.size() != static_cast<size_t>(p.iWidth) * static_cast<size_t>(p.iHeight)) return f.sPath + ": bad size";
    int32_t w = 64, h = 64;
    bool alpha = false, keyed = false;
    const std::string& s = f.sPath;
    if (s.rfind("stadiums/", 0) == 0) {
      w = h = 256;
      alpha = s.ends_with("lights.tga") || s.ends_with("page2.tga");
    } else if (s.rfind("pitch/", 0) == 0) {
      // The player shadow belongs to the scene's art (its generator is
      // the one painter of that file).
      if (s.ends_with("playshad.tga")) return s + ": painted by the scene's generator";
      const bool pattern = !(s.ends_with("track.tga") || s.ends_with("lines.tga") || s.ends_with("LMCorner.tga"));
      if (pattern) w = h = kPattern;
      alpha = s.ends_with("lines.tga") || s.ends_with("LMCorner.tga");
      keyed = s.ends_with("swlines.tga");
    } else if (s.rfind("ball/", 0) == 0) {
      alpha = s.find("hilight") != std::string::npos;
    } else if (s.rfind("markers/", 0) == 0) {
      w = h = 32;
      alpha = true;
    } else if (s == "goals/net.tga") {
      w = h = 32;
      alpha = true;
    } else if (s == "goals/SWnet2.tga") {
      w = 256;
      h = 128;
      alpha = keyed = true;
    }
    if (p.iWidth != w || p.iHeight != h)
      return s + ": " + std::to_string(p.iWidth) + "x" + std::to_string(p.iHeight) + ", wanted " + std::to_string(w) +
             "x" + std::to_string(h);
    if (p.bAlpha != alpha) return s + (alpha ? ": needs an alpha channel" : ": must be opaque");
    bool anyClear = false, anyDrawn = false;
    for (const Rgba& c : p.aPixels) {
      if (c.a < 128) anyClear = true;
      if (c.a > 0) anyDrawn = true;
      if (c.a >= 128 && c.r == 255 && c.g == 0 && c.b == 255) return s + ": the key colour in a drawn texel";
      if (keyed && c.a < 128 && !(c == kKey)) return s + ": a left-out texel not in the key colour";
      if (!alpha && c.a != 255) return s + ": a translucent texel in an opaque texture";
    }
    if (!anyDrawn) return s + ": nothing drawn";
    if (keyed && !anyClear) return s + ": keyed but nothing left out";
  }
  size_t want = 10 + 5 + 5 + 3 + 2 + LookNames().size() * 5;
  if (files.size() != want) return "painted " + std::to_string(files.size()) + " textures, wanted " + std::to_string(want);
  return {};
}

std::vector<uint8_t> TgaBytes(const Picture& p) {
  std::vector<uint8_t> out(18, 0);
  out[2] = 2;
  out[12] = static_cast<uint8_t>(p.iWidth);
  out[13] = static_cast<uint8_t>(p.iWidth >> 8);
  out[14] = static_cast<uint8_t>(p.iHeight);
  out[15] = static_cast<uint8_t>(p.iHeight >> 8);
  out[16] = p.bAlpha ? 32 : 24;
  out[17] = p.bAlpha ? 8 : 0;  // alpha bits; rows bottom first
  out.reserve(out.size() + p.aPixels.size() * 4);
  for (int32_t y = p.iHeight - 1; y >= 0; --y)
    for (int32_t x = 0; x < p.iWidth; ++x) {
      const Rgba c = p.aPixels[static_cast<size_t>(y) * static_cast<size_t>(p.iWidth) + static_cast<size_t>(x)];
      out.push_back(c.b);
      out.push_back(c.g);
      out.push_back(c.r);
      if (p.bAlpha) out.push_back(c.a);
    }
  return out;
}

}  // namespace groundart
