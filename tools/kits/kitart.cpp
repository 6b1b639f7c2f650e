#include "kitart.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>

#include "art/art_image.h"
#include "scene3d/kits_colour.h"

namespace kitart {

namespace {

using art::Image;
using art::Rgb;

Rgb Of(kitcolour::Rgb c) { return Rgb{c.r, c.g, c.b}; }
Rgb Shade(Rgb c, float f) {
  auto s = [f](uint8_t v) { return static_cast<uint8_t>(std::clamp(static_cast<float>(v) * f, 0.0f, 255.0f)); };
  return Rgb{s(c.r), s(c.g), s(c.b)};
}
double Luma(Rgb c) { return 0.71516 * c.g + 0.212671 * c.r + 0.072169 * c.b; }
// A trim colour that shows on c.
Rgb Contrast(Rgb c) { return Luma(c) > 140.0 ? Rgb{28, 28, 28} : Rgb{238, 238, 238}; }

Image InMode(const Image& img, int mode) {
  Image out = img;
  for (size_t i = 0; i + 2 < out.abPixels.size(); i += 3) {
    const kitcolour::Rgb c = kitcolour::InMode(
        kitcolour::Rgb{out.abPixels[i], out.abPixels[i + 1], out.abPixels[i + 2]}, mode);
    out.abPixels[i] = c.r;
    out.abPixels[i + 1] = c.g;
    out.abPixels[i + 2] = c.b;
  }
  return out;
}

// The weave of the cloth: a faint diagonal texture over a colour.
void Cloth(Image* img, Rgb c) {
  for (int y = 0; y < img->iHeight; ++y)
    for (int x = 0; x < img->iWidth; ++x) img->Set(x, y, Shade(c, ((x + y) & 3) == 0 ? 0.94f : 1.0f));
}

Image Shirt(int pattern, Rgb a, Rgb b) {
  Image img(128, 128, a);
  Cloth(&img, a);
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) {
      bool second = false;
      switch (pattern) {
        case 2: second = (x / 16) % 2 == 1; break;   // stripes
        case 3: second = (y / 16) % 2 == 1; break;   // hoops
        case 4: second = x >= 64; break;             // halves
        default: break;
      }
      if (second) img.Set(x, y, Shade(b, ((x + y) & 3) == 0 ? 0.94f : 1.0f));
    }
  // A darker hem.
  img.Fill(0, 122, 128, 6, Shade(img.Get(0, 120), 0.8f));
  return img;
}

// The designs of the unique kits, front (or back, mirrored): a sash from
// the right shoulder to the left hip, a chevron pointing down from the
// shoulders, quarters.
Image UniqueShirt(int design, Rgb a, Rgb b, bool back) {
  Image img(128, 128, a);
  Cloth(&img, a);
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) {
      const int u = back ? 127 - x : x;
      bool second = false;
      switch (design) {
        case 0: second = std::abs(u + y - 127) < 18; break;            // sash
        case 1: second = std::abs(y - 30 - (64 - std::abs(u - 64))) < 14; break;  // chevron
        default: second = (u < 64) != (y < 64); break;                  // quarters
      }
      if (second) img.Set(x, y, Shade(b, ((x + y) & 3) == 0 ? 0.94f : 1.0f));
    }
  img.Fill(0, 122, 128, 6, Shade(img.Get(0, 120), 0.8f));
  return img;
}

Image Top(Rgb a, Rgb trim) {
  Image img(64, 64, a);
  Cloth(&img, a);
  img.Fill(0, 0, 64, 8, trim);  // the collar
  for (int y = 8; y < 24; ++y) {
    const int half = std::max(0, 12 - (y - 8));
    img.Fill(32 - half, y, 2 * half, 1, trim);
  }
  return img;
}

Image Sleeve(Rgb a, Rgb trim, bool hoops, Rgb b) {
  Image img(64, 64, a);
  Cloth(&img, a);
  if (hoops)
    for (int y = 0; y < 64; ++y)
      if ((y / 16) % 2 == 1) img.Fill(0, y, 64, 1, b);
  img.Fill(0, 56, 64, 8, trim);  // the cuff
  return img;
}

Image Shorts(Rgb c) {
  Image img(96, 96, c);
  Cloth(&img, c);
  img.Fill(0, 0, 96, 6, Shade(c, 0.8f));   // the waistband
  img.Fill(0, 90, 96, 6, Shade(c, 0.85f));  // the hem
  return img;
}

Image Socks(Rgb c) {
  Image img(64, 64, c);
  Cloth(&img, c);
  const Rgb trim = Contrast(c);
  img.Fill(0, 4, 64, 4, trim);
  img.Fill(0, 12, 64, 4, trim);
  return img;
}

// 3 x 5 digits.
const char* const kDigits[10] = {"111101101101111", "010110010010111", "111001111100111", "111001111001111",
                                 "101101111001001", "111100111001111", "111100111101111", "111001001001001",
                                 "111101111101111", "111101111001111"};

Image Number(int n) {
  Image img(32, 32, art::kMagenta);
  const std::string s = std::to_string(n);
  // Bold digits filling the square, so that they survive smaller copies.
  const int scale = s.size() > 1 ? 5 : 6, w = 3 * scale, gap = 2;
  const int total = static_cast<int>(s.size()) * w + (static_cast<int>(s.size()) - 1) * gap;
  int x0 = (32 - total) / 2;
  const int y0 = (32 - 5 * scale + 1) / 2;
  for (char ch : s) {
    const char* g = kDigits[ch - '0'];
    for (int r = 0; r < 5; ++r)
      for (int c = 0; c < 3; ++c)
        if (g[r * 3 + c] == '1') img.Fill(x0 + c * scale, y0 + r * scale, scale, scale, Rgb{235, 235, 235});
    x0 += w + gap;
  }
  return img;
}

// Skin and hair by the appearance word's colour files.
const char* const kColourFiles[8] = {"african", "asian", "black", "blonde", "brown", "dark", "ginger", "white"};
const Rgb kSkin[8] = {{95, 60, 40},    {215, 170, 120}, {80, 52, 36},   {235, 190, 160},
                      {225, 175, 135}, {150, 100, 65},  {240, 195, 170}, {240, 200, 175}};
const Rgb kHair[8] = {{25, 20, 18},   {20, 18, 18},  {25, 20, 18},   {225, 195, 110},
                      {95, 60, 30},   {35, 25, 20},  {190, 90, 35},  {110, 80, 50}};

Image Skin(Rgb c) {
  Image img(32, 32, c);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) img.Set(x, y, Shade(c, 0.92f + 0.08f * static_cast<float>(y % 8) / 8.0f));
  return img;
}

// Head pieces: what of the 32 x 32 square is hair.
enum Piece { kTop, kBack, kSide, kFace };
Image Head(Piece piece, const std::string& style, const std::string& facial, int colour) {
  const Rgb skin = kSkin[colour], hair = kHair[colour];
  Image img = Skin(skin);
  const bool bald = style == "bald";
  const int fringe = bald ? 0 : style == "afro" ? 12 : style == "long" ? 9 : 7;
  switch (piece) {
    case kTop:
      if (!bald) img.Fill(0, 0, 32, 32, hair);
      break;
    case kBack:
      if (!bald) img.Fill(0, 0, 32, style == "short" ? 20 : 32, hair);
      break;
    case kSide:
      img.Fill(0, 0, 32, fringe, hair);
      if (style == "long" || style == "afro") img.Fill(style == "afro" ? 0 : 16, 0, 16, 32, hair);
      if (facial == "sideburn" || facial == "beard") img.Fill(2, fringe, 5, 16, hair);
      if (facial == "beard") img.Fill(0, 22, 20, 10, hair);
      img.Fill(12, 12, 5, 8, Shade(skin, 0.8f));  // the ear
      break;
    case kFace:
      img.Fill(0, 0, 32, fringe, hair);
      if (style == "long") {
        img.Fill(0, 0, 4, 32, hair);
        img.Fill(28, 0, 4, 32, hair);
      }
      img.Fill(8, 13, 5, 3, Rgb{240, 240, 240});  // eyes
      img.Fill(19, 13, 5, 3, Rgb{240, 240, 240});
      img.Fill(10, 13, 2, 3, Rgb{30, 25, 20});
      img.Fill(21, 13, 2, 3, Rgb{30, 25, 20});
      img.Fill(8, 10, 6, 1, Shade(hair, 0.9f));  // brows
      img.Fill(18, 10, 6, 1, Shade(hair, 0.9f));
      img.Fill(15, 15, 2, 6, Shade(skin, 0.85f));  // nose
      img.Fill(11, 24, 10, 2, Shade(skin, 0.65f));  // mouth
      if (facial == "tache") img.Fill(10, 21, 12, 2, hair);
      if (facial == "beard") {
        img.Fill(4, 21, 24, 11, hair);
        img.Fill(11, 24, 10, 2, Shade(skin, 0.65f));
      }
      break;
  }
  return img;
}

struct Writer {
  std::string sDir;
  int iCount = 0;
  bool bFailed = false;
  std::set<std::string> written;
  void operator()(const std::string& rel, const Image& img) {
    if (bFailed || !written.insert(rel).second) return;
    const std::string path = sDir + "/" + rel;
    if (!art::MakeParentDirs(path) || !art::WriteTGA24(img, path)) bFailed = true;
    else ++iCount;
  }
};

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> f;
  std::istringstream in(line);
  for (std::string s; std::getline(in, s, ',');)
    if (!s.empty()) f.push_back(s);
  return f;
}

Rgb Hex(const std::string& s, size_t at = 0) {
  kitcolour::Rgb c{128, 128, 128};
  if (s.size() >= at + 6) kitcolour::Parse(s.c_str() + at, &c);
  return Of(c);
}

std::string Part(const std::string& p) { return p.size() < 2 ? "0" + p : p; }

}  // namespace

std::vector<unsigned char> NumberTexels(int n) { return Number(n).abPixels; }

int WriteAll(const std::vector<std::string>& lines, const std::vector<std::string>& uniques, const std::string& dir) {
  Writer w;
  w.sDir = dir;
  static const char* const kModeFolder[3] = {"", "b+w/", "sepia/"};
  auto keeper = [&](const std::string& gk, Rgb gkShirt, Rgb gkShorts, int mode) {
    auto put = [&](const std::string& rel, const Image& img) { w(rel, InMode(img, mode)); };
    Image front = Shirt(1, gkShirt, gkShirt);
    front.Fill(0, 40, 128, 10, Shade(gkShirt, 0.8f));
    put(gk + "front.tga", front);
    put(gk + "back.tga", front);
    put(gk + "top.tga", Top(gkShirt, Contrast(gkShirt)));
    put(gk + "lsleevbt.tga", Sleeve(gkShirt, Shade(gkShirt, 0.7f), false, gkShirt));
    put(gk + "lsleevl.tga", Sleeve(gkShirt, Shade(gkShirt, 0.85f), false, gkShirt));
    put(gk + "shortf.tga", Shorts(gkShorts));
    put(gk + "shortb.tga", Shorts(gkShorts));
  };
  for (const std::string& line : lines) {
    const std::vector<std::string> f = Fields(line);
    if (f.size() < 18 || f[1] != "T") continue;
    const bool old = f[0].compare(3, 4, "1958") == 0 || f[0].compare(3, 4, "1962") == 0;
    const Rgb a = Hex(f[6]);
    const Rgb b = f[6].size() >= 13 ? Hex(f[6], 7) : a;
    const int pattern = std::atoi(f[7].c_str());
    const Rgb shorts = Hex(f[12]), socks = Hex(f[15]);
    const Rgb gkShirt = Hex(f[17], 2), gkShorts = Hex(f[17], 9);
    for (int mode = 0; mode <= (old ? 2 : 0); ++mode) {
      const std::string m = kModeFolder[mode];
      auto put = [&](const std::string& rel, const Image& img) { w(rel, InMode(img, mode)); };
      const std::string shirts = "kits/templates/shirts/" + m + f[6] + "/";
      put(shirts + Part(f[7]) + ".tga", Shirt(pattern, a, b));
      put(shirts + Part(f[9]) + ".tga", Top(a, pattern == 1 ? Contrast(a) : b));
      put(shirts + Part(f[10]) + ".tga", Sleeve(f[10] == "22" ? b : a, Contrast(f[10] == "22" ? b : a), f[10] == "23", b));
      put(shirts + Part(f[11]) + ".tga", Sleeve(f[11] == "22" ? b : a, Contrast(f[11] == "22" ? b : a), f[11] == "23", b));
      const std::string sh = "kits/templates/shorts/" + m + f[12] + "/";
      put(sh + Part(f[13]) + ".tga", Shorts(shorts));
      put(sh + Part(f[14]) + ".tga", Shorts(shorts));
      put("kits/templates/socks/" + m + f[15] + "/" + Part(f[16]) + ".tga", Socks(socks));
      keeper("kits/goalies/" + m + f[17] + "/", gkShirt, gkShorts, mode);
    }
  }
  // The unique kits, in the colouring their prefix names.
  for (const std::string& line : lines) {
    const std::vector<std::string> f = Fields(line);
    kitcolour::UniqueLook u{};
    if (f.size() < 8 || f[1] != "U" || !kitcolour::ParseUnique(f[6].c_str(), &u)) continue;
    std::string prefix = f[6];
    std::replace(prefix.begin(), prefix.end(), '\\', '/');
    const std::string p = "kits/uniques/" + prefix;
    const Rgb a = Of(u.aColours[0]), b = Of(u.aColours[1]), shorts = Of(u.aColours[2]), socks = Of(u.aColours[3]);
    auto put = [&](const std::string& part, const Image& img) { w(p + part + ".tga", InMode(img, u.iMode)); };
    put("front", UniqueShirt(u.iDesign, a, b, false));
    put("back", UniqueShirt(u.iDesign, a, b, true));
    put("top", Top(a, b));
    // Quarters: the sleeves take the colour of the quarter they meet.
    const Rgb right = u.iDesign == 2 ? b : a;
    const bool longSleeves = f[5].find("SS") == std::string::npos;
    put(longSleeves ? "lsleevbt" : "sleevr", Sleeve(longSleeves ? a : right, b, false, a));
    put(longSleeves ? "lsleevl" : "sleevl", Sleeve(a, b, false, a));
    put("shortf", Shorts(shorts));
    put("shortb", Shorts(shorts));
    put("socks", Socks(socks));
    const std::string m = u.iMode == 1 ? "b+w/" : u.iMode == 2 ? "sepia/" : "";
    const Rgb gkShirt = Hex(f[7], 2), gkShorts = Hex(f[7], 9);
    keeper("kits/goalies/" + m + f[7] + "/", gkShirt, gkShorts, u.iMode);
  }
  // The referee in black with white trim, the manager in a navy tracksuit.
  const Rgb black{28, 28, 28}, white{238, 238, 238}, navy{20, 30, 95};
  const std::string ref = "kits/referees/98/refblack/";
  w(ref + "front.tga", Shirt(1, black, black));
  w(ref + "back.tga", Shirt(1, black, black));
  w(ref + "top.tga", Top(black, white));
  w(ref + "sleevr.tga", Sleeve(black, white, false, black));
  w(ref + "sleevl.tga", Sleeve(black, white, false, black));
  w(ref + "shortf.tga", Shorts(black));
  w(ref + "shortb.tga", Shorts(black));
  w(ref + "socks.tga", Socks(black));
  const std::string man = "kits/uniques/manager/";
  w(man + "front.tga", Shirt(1, navy, navy));
  w(man + "back.tga", Shirt(1, navy, navy));
  w(man + "top.tga", Top(navy, white));
  w(man + "lsleevbt.tga", Sleeve(navy, white, false, navy));
  w(man + "lsleevl.tga", Sleeve(navy, white, false, navy));
  // Boots: black with white stripes and a sole.
  Image boots(32, 32, black);
  for (int k = 0; k < 3; ++k) boots.Fill(8 + 6 * k, 4, 3, 18, white);
  boots.Fill(0, 26, 32, 6, Rgb{60, 60, 60});
  w("kits/boots.tga", boots);
  for (int n = 1; n <= 22; ++n) w("numbers/n" + std::to_string(n) + ".tga", Number(n));
  // Heads, in the folders the appearance words name.
  for (int c = 0; c < 8; ++c) {
    const std::string file = std::string(kColourFiles[c]) + ".tga";
    for (const char* s : {"bald", "short"}) w("head/headtop/" + std::string(s) + "/" + file, Head(kTop, s, "", c));
    for (const char* s : {"bald", "long", "short"}) w("head/headback/" + std::string(s) + "/" + file, Head(kBack, s, "", c));
    for (const char* s : {"bald/", "afro/", "long/", "short/", "short/beard/", "short/sideburn/"}) {
      const std::string p = s;
      const std::string style = p.substr(0, p.find('/'));
      const std::string facial = p.size() > style.size() + 1 ? p.substr(style.size() + 1, p.size() - style.size() - 2) : "";
      w("head/faceside/" + p + file, Head(kSide, style, facial, c));
    }
    for (const char* s : {"bald/", "short/", "short/beard/", "short/tache/", "long/", "long/beard/", "long/tache/"}) {
      const std::string p = s;
      const std::string style = p.substr(0, p.find('/'));
      const std::string facial = p.size() > style.size() + 1 ? p.substr(style.size() + 1, p.size() - style.size() - 2) : "";
      w("head/face/" + p + file, Head(kFace, style, facial, c));
    }
  }
  // Skin sets.
  const char* const kSets[6] = {"african", "asian", "black", "blndbrwn", "dark", "gingwhit"};
  const int kSetColour[6] = {0, 1, 2, 4, 5, 7};
  for (int s = 0; s < 6; ++s)
    for (const char* part : {"arm", "legback", "legfront", "hand"})
      w("skin/" + std::string(kSets[s]) + "/" + part + ".tga", Skin(kSkin[kSetColour[s]]));
  // Unique heads: "folder skin" pairs, short dark hair on the set's skin.
  for (const std::string& u : uniques) {
    std::istringstream in(u);
    std::string folder, set;
    in >> folder >> set;
    const int c = set == "black" ? 2 : set == "dark" ? 5 : 7;
    const std::string p = "head/uniques/" + folder + "/";
    w(p + "top.tga", Head(kTop, "short", "", c));
    w(p + "back.tga", Head(kBack, "short", "", c));
    w(p + "side.tga", Head(kSide, "short", folder.size() % 2 == 0 ? "sideburn" : "", c));
    w(p + "face.tga", Head(kFace, "short", folder.size() % 3 == 0 ? "tache" : "", c));
  }
  return w.bFailed ? -1 : w.iCount;
}

}  // namespace kitart
