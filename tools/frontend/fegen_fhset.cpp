// The history set-up's backdrop: one framed panel on the themed stadium with
// a band behind each of its three rows.
#include "frontend/mfhmain_layout.h"
#include "tools/frontend/fegen_sheets.h"

using art::Rgb;
using namespace fegen_paint;

void fegen_FhsetPaint(art::Image& backdrop) {
  const MFHPanel& p = mfhsetup_aoPanels[0];
  Rect(backdrop, p.x, p.y, p.w, p.h, Rgb{24, 16, 8}, 0.7);
  Frame(backdrop, p.x, p.y, p.w, p.h, Rgb{186, 170, 118}, 2);
  for (int row = 0; row < 3; row++) Rect(backdrop, p.x + 8, p.y + 8 + 44 * row, p.w - 16, 36, Rgb{90, 70, 40}, 0.35);
}
