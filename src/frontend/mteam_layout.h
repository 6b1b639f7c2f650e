#pragma once
// The layouts of the team selection sheet ("team", sheet 9) and the team
// sheet ("tactics", sheet 8): one record per region and per sprite of the
// sheet, in sprite order, in 640 x 480 units. The screens add their regions
// from these records and the art generator paints each sprite at this size.
#include <cstdint>
#include <string_view>

struct FrontEndLayoutRecord {
  const char* pszName;
  std::int16_t x, y, w, h;
  std::uint8_t bVisible;
  std::uint8_t uAlpha;
};

constexpr int MTEAM_LAYOUT_RECORDS = 31;
// The team sheet's 31 records, then the sprites of the history squad pages.
constexpr int MTATDISP_LAYOUT_RECORDS = 40;

inline constexpr FrontEndLayoutRecord mteam_aoLayout[MTEAM_LAYOUT_RECORDS] = {
    {"main", 0, 0, 640, 480, 1, 255},       {"GREENLAND", 219, 59, 70, 59, 1, 255},
    {"EURO", 279, 65, 271, 109, 1, 255},    {"ASIA", 348, 140, 153, 90, 1, 255},
    {"AFRIC", 281, 168, 91, 98, 1, 255},    {"OZ", 455, 217, 85, 71, 1, 255},
    {"SAM", 204, 205, 56, 102, 1, 255},     {"USA", 89, 62, 145, 150, 1, 255},
    {"USAB", 89, 62, 145, 150, 0, 255},     {"EUROB", 279, 65, 271, 109, 0, 255},
    {"ASIAB", 348, 140, 153, 90, 0, 255},   {"SAMB", 204, 205, 56, 102, 0, 255},
    {"OZB", 455, 217, 85, 71, 0, 255},      {"AFRICB", 281, 168, 91, 98, 0, 255},
    {"redbox", 28, 334, 295, 102, 1, 255},  {"bluebox", 323, 334, 289, 102, 1, 255},
    {"4", 34, 371, 34, 31, 0, 255},         {"3", 571, 370, 34, 31, 0, 255},
    {"2", 567, 371, 45, 29, 0, 255},        {"1", 28, 371, 47, 29, 0, 255},
    {"circles", 181, 320, 281, 130, 0, 255}, {"rarrup", 189, 331, 17, 9, 0, 255},
    {"rarrdown", 190, 430, 17, 9, 0, 255},  {"barrup", 437, 331, 17, 9, 0, 255},
    {"barrdown", 437, 431, 17, 9, 0, 255},  {"ASIAR", 348, 140, 153, 90, 0, 255},
    {"EUROR", 279, 65, 271, 109, 0, 255},   {"USAR", 89, 62, 145, 150, 0, 255},
    {"SAMR", 204, 205, 56, 102, 0, 255},    {"AFRICR", 281, 168, 91, 98, 0, 255},
    {"OZR", 455, 217, 85, 71, 0, 255},
};

inline constexpr FrontEndLayoutRecord mtatdisp_aoLayout[MTATDISP_LAYOUT_RECORDS] = {
    {"main", 0, 0, 640, 480, 1, 255},      {"title", 488, 107, 120, 30, 0, 0},
    {"pitchr", 325, 107, 156, 256, 0, 255}, {"gr", 215, 107, 100, 30, 0, 0},
    {"gl", 115, 107, 100, 30, 0, 0},       {"br", 215, 144, 100, 30, 0, 0},
    {"bl", 115, 144, 100, 30, 0, 0},       {"rr", 215, 182, 100, 30, 0, 0},
    {"rl", 115, 182, 100, 30, 0, 0},       {"pr", 215, 333, 100, 30, 0, 0},
    {"pl", 115, 333, 100, 30, 0, 0},       {"Number", 76, 333, 37, 30, 0, 0},
    {"GreenS", 32, 107, 42, 30, 0, 0},     {"BlueS", 32, 144, 42, 30, 0, 0},
    {"RedS", 32, 182, 42, 30, 0, 0},       {"PurpleS", 32, 333, 42, 30, 0, 0},
    {"Blackbar", 32, 296, 283, 30, 0, 0},  {"xl", 115, 221, 100, 30, 0, 0},
    {"xr", 215, 221, 100, 30, 0, 0},       {"header", 325, 51, 283, 44, 0, 0},
    {"box", 32, 378, 576, 44, 0, 0},       {"downred", 409, 297, 23, 12, 0, 255},
    {"upred", 373, 292, 23, 12, 0, 255},   {"downyel", 375, 218, 23, 12, 0, 255},
    {"upyel", 411, 217, 23, 12, 0, 255},   {"redcross", 293, 335, 20, 26, 0, 255},
    {"yelcard", 293, 184, 20, 26, 0, 255}, {"redcard", 293, 258, 20, 26, 0, 255},
    {"di", 32, 107, 283, 219, 0, 0},       {"data", 32, 107, 283, 219, 0, 0},
    {"csquadbar", 32, 378, 576, 44, 0, 0},
    // The squad pages: the bar under their header, and the two ends of a
    // row's skill bars in each position colour.
    {"opbar", 32, 36, 576, 30, 0, 0},
    {"gl_1", 106, 108, 80, 30, 0, 0},      {"gr_1", 186, 108, 20, 30, 0, 0},
    {"bl_1", 106, 146, 80, 30, 0, 0},      {"br_1", 186, 146, 20, 30, 0, 0},
    {"pl_1", 106, 184, 80, 30, 0, 0},      {"pr_1", 186, 184, 20, 30, 0, 0},
    {"rl_1", 106, 222, 80, 30, 0, 0},      {"rr_1", 186, 222, 20, 30, 0, 0},
};

// The two team names on the team sheet's bottom bar ("box"): centred at these
// x (512 x 240 units) and kept this far inside the bar's ends (640 x 480
// units); a name wider than that is fitted to it.
inline constexpr std::int16_t MTATDISP_BAR_NAME_X[2] = {100, 403};
inline constexpr std::int16_t MTATDISP_BAR_NAME_MARGIN = 6;

// The bottom bar's record.
inline constexpr const FrontEndLayoutRecord& mtatdisp_BarRecord() {
  for (const FrontEndLayoutRecord& r : mtatdisp_aoLayout)
    if (std::string_view(r.pszName) == "box") return r;
  return mtatdisp_aoLayout[0];
}
