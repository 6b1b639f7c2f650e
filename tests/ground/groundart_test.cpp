#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

#include "groundart.h"
#include "render3d/q3d_imagefile.h"
#include "support/temp_dir.h"

using namespace groundart;

namespace {

std::string Slurp(const std::string& name) {
  return korvena_test::readFile(std::string(KORVENA_SOURCE_DIR) + "/assets/ground/" + name);
}

struct Painted {
  Sources src;
  std::vector<OutFile> files;
  std::map<std::string, const Picture*> byPath;
};

const Painted& Paint() {
  static Painted p = [] {
    Painted r;
    std::string err;
    EXPECT_TRUE(SourcesRead(std::string(KORVENA_SOURCE_DIR) + "/assets/ground", r.src, err)) << err;
    EXPECT_TRUE(PaintAll(r.src, KORVENA_DEJAVU_DIR, r.files, err)) << err;
    for (const OutFile& f : r.files) r.byPath[f.sPath] = &f.picture;
    return r;
  }();
  return p;
}

const Picture& Get(const std::string& path) {
  const Painted& p = Paint();
  auto it = p.byPath.find(path);
  EXPECT_NE(it, p.byPath.end()) << path;
  static Picture empty;
  return it == p.byPath.end() ? empty : *it->second;
}

struct Mean {
  double r = 0, g = 0, b = 0, a = 0;
  double Luma() const { return 0.3 * r + 0.59 * g + 0.11 * b; }
};

Mean Average(const Picture& p, int x0, int y0, int w, int h) {
  Mean m;
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) {
      const Rgba c = p.Get(x, y);
      m.r += c.r;
      m.g += c.g;
      m.b += c.b;
      m.a += c.a;
    }
  const double n = static_cast<double>(w) * h;
  m.r /= n, m.g /= n, m.b /= n, m.a /= n;
  return m;
}

}  // namespace

TEST(GroundArt, SourcesPaintCheckedAndTheSameEveryRun) {
  const Painted& p = Paint();
  for (const OutFile& f : p.files) EXPECT_NE(f.sPath, "pitch/playshad.tga");  // one painter: the scene's art
  EXPECT_EQ(Validate(p.files), "");
  Sources again;
  std::string err;
  ASSERT_TRUE(SourcesParse(Slurp("looks.txt"), Slurp("adverts.txt"), Slurp("pitch.txt"), again, err)) << err;
  std::vector<OutFile> second;
  ASSERT_TRUE(PaintAll(again, KORVENA_DEJAVU_DIR, second, err)) << err;
  ASSERT_EQ(second.size(), p.files.size());
  for (size_t i = 0; i < second.size(); ++i) {
    EXPECT_EQ(second[i].sPath, p.files[i].sPath);
    EXPECT_TRUE(TgaBytes(second[i].picture) == TgaBytes(p.files[i].picture)) << second[i].sPath;
  }
  // Every look of the table that has files has its five pages.
  for (const std::string& look : LookNames()) {
    for (const char* light : {"day", "night"})
      for (const char* page : {"page1", "page2"})
        EXPECT_EQ(p.byPath.count("stadiums/" + look + "/" + light + "/norm/full/" + page + ".tga"), 1u) << look;
    EXPECT_EQ(p.byPath.count("stadiums/" + look + "/night/norm/full/lights.tga"), 1u) << look;
  }
  std::vector<OutFile> none;
  EXPECT_FALSE(PaintAll(again, "/nonexistent-font-folder", none, err));
}

TEST(GroundArt, BrokenSourcesRefused) {
  const std::string looks = Slurp("looks.txt"), adverts = Slurp("adverts.txt"), pitch = Slurp("pitch.txt");
  auto replace = [](std::string s, const std::string& from, const std::string& to) {
    const size_t at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) s.replace(at, from.size(), to);
    return s;
  };
  struct Case {
    const char* what;
    std::string l, a, p;
  } cases[] = {
      {"look out of order", replace(looks, "gen1 ", "gen8 "), adverts, pitch},
      {"a look missing", replace(looks, "fhad", "#fhad"), adverts, pitch},
      {"four tiers", replace(looks, "gen2       2", "gen2       4"), adverts, pitch},
      {"colour above 255", replace(looks, "150 40 40", "150 400 40"), adverts, pitch},
      {"short line", replace(looks, "90 90 95", "90 90"), adverts, pitch},
      {"extra field", replace(looks, "90 90 95", "90 90 95 7"), adverts, pitch},
      {"fifteen adverts", looks, replace(adverts, "VORTA |", "# VORTA |"), pitch},
      {"brand twice", looks, replace(adverts, "BRISKO", "VORTA"), pitch},
      {"no board colour", looks, replace(adverts, "| 200 30 30", ""), pitch},
      {"colour missing", looks, adverts, replace(pitch, "snow", "# snow")},
      {"unknown colour", looks, adverts, replace(pitch, "snow", "slush")},
  };
  for (const Case& c : cases) {
    Sources s;
    std::string err;
    EXPECT_FALSE(SourcesParse(c.l, c.a, c.p, s, err)) << c.what;
    EXPECT_FALSE(err.empty()) << c.what;
  }
}

TEST(GroundArt, ValidatorCatchesBrokenTextures) {
  struct Case {
    const char* what;
    void (*spoil)(std::vector<OutFile>&);
  } cases[] = {
      {"wrong size", [](std::vector<OutFile>& f) { f[0].picture = Picture(64, 64, Rgba{1, 2, 3, 255}, false); }},
      {"file missing", [](std::vector<OutFile>& f) { f.pop_back(); }},
      {"file twice", [](std::vector<OutFile>& f) { f.push_back(f.front()); }},
      {"key colour drawn",
       [](std::vector<OutFile>& f) {
         for (OutFile& o : f)
           if (o.sPath == "ball/tanpc.tga") o.picture.Set(3, 3, Rgba{255, 0, 255, 255});
       }},
      {"keyed texel not key",
       [](std::vector<OutFile>& f) {
         for (OutFile& o : f)
           if (o.sPath == "goals/SWnet2.tga") o.picture.Set(40, 40, Rgba{0, 0, 0, 0});
       }},
      {"alpha lost",
       [](std::vector<OutFile>& f) {
         for (OutFile& o : f)
           if (o.sPath == "markers/ring1.tga") o.picture.bAlpha = false;
       }},
      {"player shadow painted here (the scene's generator paints it)",
       [](std::vector<OutFile>& f) { f.push_back({"pitch/playshad.tga", Picture(64, 64, Rgba{0, 0, 0, 0}, true)}); }},
      {"translucent opaque",
       [](std::vector<OutFile>& f) {
         for (OutFile& o : f)
           if (o.sPath == "pitch/track.tga") o.picture.Set(0, 0, Rgba{9, 9, 9, 100});
       }},
  };
  for (const Case& c : cases) {
    std::vector<OutFile> files = Paint().files;
    c.spoil(files);
    EXPECT_NE(Validate(files), "") << c.what;
  }
}

TEST(GroundArt, LinesTextureHoldsTheLineSquareAndTheSpot) {
  for (const char* name : {"pitch/lines.tga", "pitch/swlines.tga"}) {
    const Picture& p = Get(name);
    const bool sw = std::string(name).find("sw") != std::string::npos;
    // Inside the line square 1..30 and the middle of the spot: white, opaque.
    for (int y = 1; y < 30; ++y)
      for (int x = 1; x < 30; ++x) ASSERT_EQ(p.Get(x, y), (Rgba{250, 250, 250, 255})) << name << x << "," << y;
    EXPECT_EQ(p.Get(48, 15).a, 255) << name;
    EXPECT_EQ(p.Get(36, 15).a, 255) << name;
    // Outside both: left out (the software one in the key colour).
    for (auto [x, y] : {std::pair{0, 0}, {31, 10}, {10, 31}, {33, 1}, {62, 29}, {48, 45}, {63, 63}}) {
      EXPECT_LT(p.Get(x, y).a, 128) << name << " " << x << "," << y;
      if (sw) {
        EXPECT_EQ(p.Get(x, y), kKey) << name;
      }
    }
  }
}

TEST(GroundArt, BallPatternsRepeatEveryHalfTexture) {
  for (const char* name : {"ball/tanpc.tga", "ball/chekpc.tga", "ball/ball7.tga"}) {
    const Picture& p = Get(name);
    int differs16 = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        ASSERT_EQ(p.Get(x, y), p.Get(x + 32, y)) << name;
        ASSERT_EQ(p.Get(x, y), p.Get(x, y + 32)) << name;
        differs16 += !(p.Get(x, y) == p.Get(x + 7, y + 5));
      }
    EXPECT_GT(differs16, 100) << name << ": a pattern, not a plain colour";
  }
  // Highlights: clear outside the disc, a bright gleam up and to the left,
  // a dark rim down and to the right.
  for (const char* name : {"ball/PChilight1.tga", "ball/PChilight4b.tga"}) {
    const Picture& p = Get(name);
    EXPECT_EQ(p.Get(0, 0).a, 0) << name;
    EXPECT_EQ(p.Get(63, 63).a, 0) << name;
    const Rgba gleam = p.Get(21, 21), rim = p.Get(50, 50);
    EXPECT_GT(gleam.a, 100) << name;
    EXPECT_GT(gleam.r, 200) << name;
    EXPECT_GT(rim.a, 60) << name;
    EXPECT_LT(rim.r, 60) << name;
  }
}

TEST(GroundArt, PitchPatternsReadAsGrassAndShowTheirShape) {
  const int h = 64;  // a quarter: 5 yards
  struct Case {
    const char* name;
    bool green;
    int light[4];  // quarters tl, tr, bl, br: 1 lighter, 0 darker, -1 any
  } cases[] = {
      {"pitch/tartan.tga", true, {1, 0, 0, 1}},
      {"pitch/stripes.tga", true, {1, 0, 1, 0}},
      {"pitch/diamond.tga", true, {-1, -1, -1, -1}},
      {"pitch/training.tga", true, {-1, -1, -1, -1}},
      {"pitch/snow1.tga", false, {-1, -1, -1, -1}},
      {"pitch/african.tga", false, {-1, -1, -1, -1}},
  };
  for (const Case& c : cases) {
    const Picture& p = Get(c.name);
    const Mean all = Average(p, 0, 0, 128, 128);
    if (c.green) {
      EXPECT_GT(all.g, all.r + 20) << c.name;
      EXPECT_GT(all.g, all.b + 40) << c.name;
    }
    const Mean q[4] = {Average(p, 0, 0, h, h), Average(p, h, 0, h, h), Average(p, 0, h, h, h), Average(p, h, h, h, h)};
    for (int i = 0; i < 4; ++i)
      for (int j = 0; j < 4; ++j)
        if (c.light[i] == 1 && c.light[j] == 0) {
          EXPECT_GT(q[i].Luma(), q[j].Luma() + 10) << c.name << i << j;
        }
    // It tiles: the step across the wrap is no larger than the step between
    // the two halves (both are quarter edges).
    double wrap = 0, inside = 0;
    for (int y = 0; y < 128; ++y) {
      const Rgba a = p.Get(127, y), b = p.Get(0, y), m0 = p.Get(63, y), m1 = p.Get(64, y);
      wrap += std::abs(a.g - b.g);
      inside += std::abs(m0.g - m1.g);
    }
    EXPECT_LT(wrap, inside * 2 + 128 * 8) << c.name;
  }
  // The diamond pattern is lighter in the middle of a quarter than at its corner.
  const Picture& d = Get("pitch/diamond.tga");
  EXPECT_GT(Average(d, 28, 28, 8, 8).Luma(), Average(d, 0, 0, 6, 6).Luma() + 10);
  // Snow is white, dry ground is sand.
  EXPECT_GT(Average(Get("pitch/snow1.tga"), 0, 0, 128, 128).Luma(), 180);
  const Mean dry = Average(Get("pitch/african.tga"), 0, 0, 128, 128);
  EXPECT_GT(dry.r, dry.b + 40);
}

TEST(GroundArt, HoardingsHoldSixteenDifferentAdverts) {
  for (const char* name : {"stadiums/misc/hord1.tga", "stadiums/misc/hord2.tga"}) {
    const Picture& p = Get(name);
    for (int k = 0; k < 16; ++k) {
      const int x0 = (k % 2) * 128, y0 = (k / 2) * 32;
      int ink = 0;
      const Rgba board = p.Get(x0 + 2, y0 + 2);
      for (int y = 4; y < 28; ++y)
        for (int x = 6; x < 122; ++x) {
          const Rgba c = p.Get(x0 + x, y0 + y);
          ink += std::abs(c.r - board.r) + std::abs(c.g - board.g) + std::abs(c.b - board.b) > 120;
        }
      EXPECT_GT(ink, 60) << name << " advert " << k << " has its brand";
      if (std::string(name).ends_with("hord1.tga")) {
        const Rgba want = Paint().src.aAdverts[static_cast<size_t>(k)].board;
        EXPECT_LT(std::abs(board.r - want.r) + std::abs(board.g - want.g) + std::abs(board.b - want.b), 60) << k;
      }
    }
  }
  // Consecutive adverts differ (the boards round the pitch change every board).
  const Picture& p = Get("stadiums/misc/hord1.tga");
  for (int k = 0; k < 16; ++k) {
    const int n = (k + 1) % 16;
    const Mean a = Average(p, (k % 2) * 128, (k / 2) * 32, 128, 32), b = Average(p, (n % 2) * 128, (n / 2) * 32, 128, 32);
    EXPECT_GT(std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b), 20) << k;
  }
}

TEST(GroundArt, StadiumLooksDifferAndNightIsDarker) {
  const std::vector<std::string>& looks = LookNames();
  for (size_t i = 0; i < looks.size(); ++i) {
    const std::string day = "stadiums/" + looks[i] + "/day/norm/full/", night = "stadiums/" + looks[i] + "/night/norm/full/";
    for (const char* page : {"page1.tga", "page2.tga"})
      EXPECT_LT(Average(Get(night + page), 0, 0, 256, 256).Luma() * 1.2, Average(Get(day + page), 0, 0, 256, 256).Luma())
          << looks[i] << page;
    // The pylon lattice is see-through between the steel; seats are opaque.
    const Picture& p2 = Get(day + "page2.tga");
    EXPECT_EQ(p2.Get(10, kPylonTop + 15).a, 0) << looks[i];
    EXPECT_EQ(p2.Get(0, kPylonTop + 15).a, 255) << looks[i];
    for (size_t j = 0; j < i; ++j) {
      const Mean a = Average(Get(day + "page1.tga"), 0, 0, 256, kSeatRows);
      const Mean b = Average(Get("stadiums/" + looks[j] + "/day/norm/full/page1.tga"), 0, 0, 256, kSeatRows);
      const Mean ra = Average(Get(day + "page2.tga"), 0, 0, 256, kRoofRows);
      const Mean rb = Average(Get("stadiums/" + looks[j] + "/day/norm/full/page2.tga"), 0, 0, 256, kRoofRows);
      const double seats = std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
      const double roofs = std::abs(ra.r - rb.r) + std::abs(ra.g - rb.g) + std::abs(ra.b - rb.b);
      EXPECT_GT(seats + roofs, 6) << looks[i] << " looks like " << looks[j];
    }
  }
  const Picture& lights = Get("stadiums/gen1/night/norm/full/lights.tga");
  EXPECT_EQ(lights.Get(128 - 64 + 8, 128 - 32 + 8).a, 255);
  EXPECT_EQ(lights.Get(0, 0).a, 0);
}

TEST(GroundArt, FilesReadBackThroughTheRenderersDecoder) {
  for (const char* name : {"pitch/tartan.tga", "pitch/lines.tga", "goals/SWnet2.tga", "markers/ring3.tga"}) {
    const Picture& p = Get(name);
    const std::vector<uint8_t> bytes = TgaBytes(p);
    std::vector<uint8_t> rgba;
    int32_t w = 0, h = 0;
    ASSERT_EQ(Q3DImageDecodeTGA(bytes.data(), bytes.size(), &rgba, &w, &h), 0u) << name;
    ASSERT_EQ(w, p.iWidth);
    ASSERT_EQ(h, p.iHeight);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)) * 4;
        const Rgba c = p.Get(x, y);
        ASSERT_EQ((Rgba{rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]}), c) << name << " " << x << "," << y;
      }
  }
}

TEST(GroundArt, NumberedRingsShowTheirNumbers) {
  const Picture& plain = Get("markers/plainring.tga");
  for (int i = 1; i <= 4; ++i) {
    const Picture& r = Get("markers/ring" + std::to_string(i) + ".tga");
    int centre = 0, differs = 0;
    for (int y = 8; y < 24; ++y)
      for (int x = 9; x < 23; ++x) centre += r.Get(x, y).a > 128;
    EXPECT_GT(centre, 10) << i;
    EXPECT_EQ(plain.Get(16, 16).a, 0);
    for (int j = 1; j < i; ++j) {
      const Picture& o = Get("markers/ring" + std::to_string(j) + ".tga");
      for (int y = 8; y < 24; ++y)
        for (int x = 9; x < 23; ++x) differs += r.Get(x, y).a != o.Get(x, y).a;
      EXPECT_GT(differs, 5) << i << " vs " << j;
    }
    // The ring band itself is drawn on every ring.
    EXPECT_GT(r.Get(16, 3).a, 200) << i;
  }
}
