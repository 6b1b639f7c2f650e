// The groups and tables sheet: a dark stadium-brown backdrop with the three
// selector bars; the five league rows, the results panel with its title strip
// and the two legs' panels cut from the backdrop and darkened; the score
// covers; the yellow arrows of the selectors and of the scrolling lists.
#include <string>

#include "frontend/mfhgroup_layout.h"
#include "tools/frontend/fegen_sheets.h"

using art::Image;
using art::Rgb;
using namespace fegen_paint;

namespace {

Image Backdrop() {
  Image img(640, 480, Rgb{0, 0, 0});
  for (int y = 0; y < 480; y++)
    for (int x = 0; x < 640; x++) {
      const int band = (y / 20) % 2 * 5;
      img.Set(x, y, Rgb{static_cast<uint8_t>(48 + band + y / 24), static_cast<uint8_t>(34 + band + y / 30), 20});
    }
  Rect(img, 50, 112, 540, 310, Rgb{0, 0, 0}, 0.45);
  Frame(img, 50, 112, 540, 310, Rgb{186, 186, 118}, 2);
  for (int i = 1; i <= 3; i++) {
    const FrontEndLayoutRecord& r = mfhgroup_aoLayout[i];
    Rect(img, r.x, r.y, r.w, r.h, Rgb{20, 14, 8}, 0.6);
    Frame(img, r.x, r.y, r.w, r.h, Rgb{186, 186, 118}, 1);
  }
  return img;
}

Image Arrow(int w, int h, const std::string& n) {
  Image img(w, h, Rgb{20, 14, 8});
  const Rgb c{255, 230, 0};
  const double W = w - 1, H = h - 1;
  if (n == "YArwU") Polygon(img, {{0, H}, {W / 2, 0}, {W, H}}, c);
  else if (n == "YArwD") Polygon(img, {{0, 0}, {W / 2, H}, {W, 0}}, c);
  else if (n[4] == 'L') Polygon(img, {{W, 0}, {0, H / 2}, {W, H}}, c);
  else Polygon(img, {{0, 0}, {W, H / 2}, {0, H}}, c);
  return img;
}

}  // namespace

std::vector<Image> fegen_FhgtSheet() {
  const Image backdrop = Backdrop();
  std::vector<Image> frames;
  for (const FrontEndLayoutRecord& r : mfhgroup_aoLayout) {
    const std::string n = r.pszName;
    Image f(r.w, r.h, Rgb{20, 14, 8});
    if (n == "Layer4") {
      f = backdrop;
    } else if (n.rfind("Layer", 0) == 0) {
      f = Crop(backdrop, r.x, r.y, r.w, r.h);
      Rect(f, 0, 0, r.w, r.h, Rgb{90, 60, 24}, 0.5);
      Frame(f, 0, 0, r.w, r.h, Rgb{186, 186, 118}, 2);
    } else if (n.rfind("League", 0) == 0) {
      f = Crop(backdrop, r.x, r.y, r.w, r.h);
      Rect(f, 0, 0, r.w, r.h, (n.back() - '0') % 2 ? Rgb{40, 60, 30} : Rgb{30, 46, 24}, 0.75);
      Frame(f, 0, 0, r.w, r.h, Rgb{120, 120, 80}, 1);
    } else if (n == "Results" || n == "Leg1" || n == "Leg2") {
      f = Crop(backdrop, r.x, r.y, r.w, r.h);
      Rect(f, 0, 0, r.w, r.h, Rgb{12, 18, 30}, 0.7);
      Frame(f, 0, 0, r.w, r.h, Rgb{186, 186, 118}, 2);
    } else if (n == "Results1") {
      f = Crop(backdrop, r.x, r.y, r.w, r.h);
      Rect(f, 0, 0, r.w, r.h, Rgb{70, 50, 20}, 0.85);
      Rect(f, 0, r.h - 2, r.w, 2, Rgb{186, 186, 118});
    } else if (n.rfind("ScoreCov", 0) == 0) {
      Rect(f, 0, 0, r.w, r.h, n == "ScoreCov" ? Rgb{24, 24, 40} : Rgb{40, 24, 24});
      Frame(f, 0, 0, r.w, r.h, Rgb{200, 200, 200}, 1);
    } else if (n.rfind("YArw", 0) == 0) {
      f = Arrow(r.w, r.h, n);
    }
    frames.push_back(f);
  }
  return frames;
}
