// The team sheet: a dark green backdrop with the two list areas and the
// tactics panel; a pitch seen from above; the position markers, the two-colour
// badges that form a plate behind a name beside the "Number" plate; bars,
// header and box panels; the squad pages' bar and skill-bar ends; the up and
// down markers of the pitch; the card and cross marks.
#include <cmath>
#include <string>

#include "frontend/mteam_layout.h"
#include "tools/frontend/fegen_sheets.h"

using art::Image;
using art::Rgb;
using namespace fegen_paint;

namespace {

Rgb BadgeColour(char c) {
  switch (c) {
    case 'g': case 'G': return Rgb{30, 150, 50};
    case 'b': case 'B': return Rgb{40, 80, 200};
    case 'r': case 'R': return Rgb{190, 40, 40};
    default: return Rgb{130, 50, 160};
  }
}

Image Backdrop() {
  Image img(640, 480, Rgb{0, 0, 0});
  for (int y = 0; y < 480; y++)
    for (int x = 0; x < 640; x++) img.Set(x, y, Rgb{10, static_cast<uint8_t>(40 + (y / 24) % 2 * 6), 22});
  // The list areas under the two sheets (512 x 240 units x 1.25, x 2) and the panel rows.
  for (int side = 0; side < 2; side++) {
    const int x = side ? 325 : 31;
    Rect(img, x, 100, 295, 280, Rgb{0, 0, 0}, 0.45);
    Frame(img, x, 100, 295, 280, Rgb{150, 168, 200}, 1);
    for (int row = 0; row < 7; row++) Rect(img, x + 4, 108 + 38 * row, 287, 32, Rgb{30, 70, 40}, 0.35);
  }
  Rect(img, 32, 384, 576, 40, Rgb{0, 0, 0}, 0.4);
  return img;
}

Image Pitch(int w, int h) {
  Image img(w, h, Rgb{0, 0, 0});
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) img.Set(x, y, (y / 16) % 2 ? Rgb{40, 130, 50} : Rgb{48, 144, 58});
  const Rgb line{235, 235, 235};
  Frame(img, 6, 6, w - 12, h - 12, line, 1);
  Rect(img, 6, h / 2, w - 12, 1, line);
  Frame(img, w / 2 - 36, 6, 72, 34, line, 1);
  Frame(img, w / 2 - 36, h - 40, 72, 34, line, 1);
  std::vector<Pt> circle;
  for (int a = 0; a < 40; a++) circle.push_back({w / 2 + 20 * std::cos(a * 3.14159265 / 20), h / 2 + 20 * std::sin(a * 3.14159265 / 20)});
  Outline(img, circle, line);
  return img;
}

Image Plate(int w, int h, Rgb c, bool roundLeft, bool roundRight) {
  Image img(w, h, Rgb{12, 20, 30});
  for (int y = 2; y < h - 2; y++)
    for (int x = 0; x < w; x++) {
      const bool cut = (roundLeft && x < 4 && (y < 4 + (4 - x) || y > h - 5 - (4 - x))) ||
                       (roundRight && x > w - 5 && (y < 4 + (x - w + 5) || y > h - 5 - (x - w + 5)));
      if (cut) continue;
      const double t = (y - 2) / double(h - 4);
      img.Set(x, y, Rgb{static_cast<uint8_t>(c.r * (1 - 0.4 * t)), static_cast<uint8_t>(c.g * (1 - 0.4 * t)), static_cast<uint8_t>(c.b * (1 - 0.4 * t))});
    }
  return img;
}

}  // namespace

std::vector<Image> fegen_TacticsSheet() {
  const Image backdrop = Backdrop();
  std::vector<Image> frames;
  for (const FrontEndLayoutRecord& r : mtatdisp_aoLayout) {
    const std::string n = r.pszName;
    Image f(r.w, r.h, Rgb{20, 24, 30});
    if (n == "main") f = backdrop;
    else if (n == "pitchr") f = Pitch(r.w, r.h);
    else if (n.size() == 2 && (n[1] == 'l' || n[1] == 'r') && n != "xl" && n != "xr")
      f = Plate(r.w, r.h, BadgeColour(n[0]), n[1] == 'l', n[1] == 'r');
    else if (n.size() == 4 && n.substr(2) == "_1")  // a skill bar's end on the squad pages
      f = Plate(r.w, r.h, BadgeColour(n[0]), n[1] == 'l', n[1] == 'r');
    else if (n.size() > 1 && n.back() == 'S')
      f = Plate(r.w, r.h, BadgeColour(n[0]), true, true);
    else if (n == "Number") f = Plate(r.w, r.h, Rgb{150, 150, 160}, true, true);
    else if (n == "title") f = Plate(r.w, r.h, Rgb{30, 60, 40}, true, true);
    else if (n == "Blackbar" || n == "xl" || n == "xr") f = Plate(r.w, r.h, Rgb{24, 24, 24}, true, true);
    else if (n == "header" || n == "box" || n == "csquadbar" || n == "opbar") {
      f = Crop(backdrop, r.x, r.y, r.w, r.h);
      Rect(f, 0, 0, r.w, r.h, Rgb{16, 30, 60}, 0.8);
      Frame(f, 0, 0, r.w, r.h, Rgb{150, 168, 200}, 2);
    } else if (n == "upred" || n == "upyel" || n == "downred" || n == "downyel") {
      f = Image(r.w, r.h, Rgb{10, 40, 22});
      const Rgb c = n.find("red") != std::string::npos ? Rgb{210, 36, 36} : Rgb{230, 210, 30};
      Polygon(f, n[0] == 'u' ? std::vector<Pt>{{1, 11}, {11.5, 1}, {22, 11}} : std::vector<Pt>{{1, 1}, {11.5, 11}, {22, 1}}, c);
    } else if (n == "redcross") {
      Rect(f, 8, 3, 4, 20, Rgb{210, 36, 36});
      Rect(f, 2, 11, 16, 4, Rgb{210, 36, 36});
    } else if (n == "yelcard" || n == "redcard") {
      Rect(f, 4, 3, 12, 20, n[0] == 'y' ? Rgb{230, 210, 30} : Rgb{210, 36, 36});
    } else if (n == "di" || n == "data") {
      Rect(f, 0, 0, r.w, r.h, Rgb{8, 16, 30});
      Frame(f, 0, 0, r.w, r.h, Rgb{150, 168, 200}, 1);
    }
    frames.push_back(f);
  }
  return frames;
}
