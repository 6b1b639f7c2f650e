// The roll of honour sheet: the themed backdrop with a panel behind the
// title and the four places and a plate under "Exit"; the arrows left and
// right beside the title.
#include "frontend/mfhfixtr_layout.h"
#include "tools/frontend/fegen_sheets.h"

using art::Image;
using art::Rgb;
using namespace fegen_paint;

namespace {

const Rgb kEdge{150, 168, 200}, kArrow{255, 220, 40};

Image Arrow(const Image& backdrop, const FrontEndLayoutRecord& at, bool left) {
  Image img = Crop(backdrop, at.x, at.y, at.w, at.h);
  const double w = at.w, h = at.h;
  Polygon(img, left ? std::vector<Pt>{{0, h / 2}, {w, 0}, {w, h}} : std::vector<Pt>{{0, 0}, {w, h / 2}, {0, h}}, kArrow);
  return img;
}

}  // namespace

std::vector<Image> fegen_RollSheet(const Image& themed) {
  Image main = themed;
  // The title (y 75 of the 512 x 240 layout), the places (y 99 to 155) and "Exit" (y 170).
  const MFHRoleBox& p = MFHROLE_PANEL;
  Rect(main, p.x, p.y, p.w, p.h, Rgb{0, 0, 0}, 0.45);
  Frame(main, p.x, p.y, p.w, p.h, kEdge, 1);
  Rect(main, p.x + 4, 184, p.w - 8, 1, kEdge, 0.6);
  const MFHRoleBox& e = MFHROLE_EXIT_PLATE;
  Rect(main, e.x, e.y, e.w, e.h, Rgb{40, 70, 150}, 0.8);
  Frame(main, e.x, e.y, e.w, e.h, kEdge, 1);
  std::vector<Image> frames{main};
  frames.push_back(Arrow(main, mfhrole_aoLayout[1], true));
  frames.push_back(Arrow(main, mfhrole_aoLayout[2], false));
  return frames;
}
