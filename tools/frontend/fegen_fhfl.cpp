// The history fixtures sheet: the themed backdrop with a panel behind the
// five fixture rows and plates under "Fixtures" and "Exit"; the highlight
// plates of a row and of its venue; the arrows up and down beside the rows.
#include "frontend/mfhfixtr_layout.h"
#include "tools/frontend/fegen_sheets.h"

using art::Image;
using art::Rgb;
using namespace fegen_paint;

namespace {

const Rgb kEdge{150, 168, 200}, kArrow{255, 220, 40};

Image Plate(const FrontEndLayoutRecord& at) {
  Image img(at.w, at.h, Rgb{20, 40, 96});
  Frame(img, 0, 0, at.w, at.h, kEdge, 2);
  return img;
}

Image Arrow(const Image& backdrop, const FrontEndLayoutRecord& at, bool up) {
  Image img = Crop(backdrop, at.x, at.y, at.w, at.h);
  const double w = at.w, h = at.h;
  Polygon(img, up ? std::vector<Pt>{{w / 2, 0}, {w, h}, {0, h}} : std::vector<Pt>{{0, 0}, {w, 0}, {w / 2, h}}, kArrow);
  return img;
}

}  // namespace

std::vector<Image> fegen_FixturesSheet(const Image& themed) {
  Image main = themed;
  // The rows (y 82 to 143 of the 512 x 240 layout) and the two buttons at y 179.
  Rect(main, 120, 150, 480, 160, Rgb{0, 0, 0}, 0.45);
  Frame(main, 120, 150, 480, 160, kEdge, 1);
  for (int x : {255, 456}) {
    Rect(main, x, 350, 120, 34, Rgb{40, 70, 150}, 0.8);
    Frame(main, x, 350, 120, 34, kEdge, 1);
  }
  std::vector<Image> frames{main};
  frames.push_back(Plate(mfhfixtr_aoLayout[1]));
  frames.push_back(Plate(mfhfixtr_aoLayout[2]));
  frames.push_back(Arrow(main, mfhfixtr_aoLayout[3], true));
  frames.push_back(Arrow(main, mfhfixtr_aoLayout[4], false));
  return frames;
}
