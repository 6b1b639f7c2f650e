#pragma once
// The front-end tests run on the headless backend with a 640 x 480 16-bit
// display open, the executable's folder at <root>/bin and the data tree at
// <root>/data (the game's "..\data\").
#include <cstdint>
#include <filesystem>

struct QDLFont;
struct QDLSpriteBank;

std::filesystem::path FrontEndTestRoot();
// The generated data tree of the build (<build>/data).
std::filesystem::path FrontEndBuildData();
// A one-frame bank in the display's pixel format: w x h raw pixels of value v.
QDLSpriteBank* FrontEndSolidBank(int w, int h, uint16_t v);

// While it lives, the build's font sheet textures/Fonts/<sheet> is the front
// end's font 0 and the front-end font set is current; the font that was there
// comes back at the end, however the test ends.
class FrontEndFont {
 public:
  explicit FrontEndFont(const char* sheet);
  ~FrontEndFont();
  FrontEndFont(const FrontEndFont&) = delete;
  FrontEndFont& operator=(const FrontEndFont&) = delete;
  QDLFont* get() const { return font_; }  // null: the sheet did not load

 private:
  QDLFont* font_ = nullptr;
  QDLFont* saved_ = nullptr;
};
