// Art of the ground: the pitch patterns and markings, the ball and its
// highlights, the players' rings, the goals' frame and nets, the hoardings
// and the stadium pages of every stadium look. Everything is painted from
// the parameters in assets/ground and a fixed integer hash, so the same
// sources give the same bytes on every run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace groundart {

struct Rgba {
  uint8_t r = 0, g = 0, b = 0, a = 255;
  bool operator==(const Rgba&) const = default;
};

// The colour of texels a keyed (software) texture leaves out.
inline constexpr Rgba kKey{255, 0, 255, 0};

struct Picture {
  int32_t iWidth = 0;
  int32_t iHeight = 0;
  bool bAlpha = false;           // written as 32-bit TGA when set
  std::vector<Rgba> aPixels;     // top row first

  Picture() = default;
  Picture(int32_t w, int32_t h, Rgba fill, bool alpha);
  Rgba Get(int32_t x, int32_t y) const;               // wraps around
  void Set(int32_t x, int32_t y, Rgba c);             // ignores points outside
  void Blend(int32_t x, int32_t y, Rgba c, double k);  // colour over, k 0..1
};

// One stadium look: what makes its stands and roofs look like themselves.
struct Look {
  std::string sName;
  int32_t iTiers = 1;       // 1 to 3 bands of seats
  int32_t iRoof = 0;        // 0 none, 1 over the back rows, 2 over every row
  int32_t iOpenCorners = 0; // 1: the corners between the stands are open
  int32_t iCrowd = 80;      // percent of seats taken
  Rgba seats, wall, roof;
};

struct Advert {
  std::string sBrand;
  Rgba ink, board;
};

struct Sources {
  std::vector<Look> aLooks;      // the 22 looks that have files
  std::vector<Advert> aAdverts;  // 16 adverts, in board order
  Rgba grassLight, grassDark, dryLight, dryDark, snow, track;
};

// Reads assets/ground/looks.txt and adverts.txt and pitch.txt; on a broken
// source returns false and says why in sError.
bool SourcesRead(const std::string& sFolder, Sources& out, std::string& sError);
bool SourcesParse(const std::string& sLooks, const std::string& sAdverts, const std::string& sPitch, Sources& out,
                  std::string& sError);

// The names of the looks that have files, in the order of the look table
// (gen1 to gen7, gen9 to gen16, then the named grounds).
const std::vector<std::string>& LookNames();

struct OutFile {
  std::string sPath;  // relative to the textures folder, forward slashes
  Picture picture;
};

// Paints every texture. sFontDir is the folder of the DejaVu fonts (adverts
// and ring numbers). Returns false with a message when a font is missing.
bool PaintAll(const Sources& src, const std::string& sFontDir, std::vector<OutFile>& out, std::string& sError);

// Checks what PaintAll made: the sizes, the alpha and key colour of each
// kind, every file present once. Empty when sound.
std::string Validate(const std::vector<OutFile>& files);

// TGA bytes (image type 2, 24 or 32 bits, bottom row first).
std::vector<uint8_t> TgaBytes(const Picture& p);

// Stadium page layout (256 by 256 texels), shared with the stadium models:
// page1 rows [0, 192) are the seating bands, [192, 256) the stand's back
// wall; page2 rows [0, 96) the roof, [96, 160) the floodlight pylon lattice
// (transparent between the steel), [160, 224) the corner terraces and
// [224, 256) the outer walls.
inline constexpr int32_t kPageSize = 256;
inline constexpr int32_t kSeatRows = 192;
inline constexpr int32_t kRoofRows = 96;
inline constexpr int32_t kPylonTop = 96, kPylonBottom = 160;
inline constexpr int32_t kTerraceTop = 160, kTerraceBottom = 224;

}  // namespace groundart
