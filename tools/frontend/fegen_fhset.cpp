// The history set-up's backdrop: one framed panel on the themed stadium, as
// dark as the hub's, with a thin rule between each two of its three rows.
#include "frontend/mfhmain_layout.h"
#include "tools/frontend/fegen_sheets.h"

using art::Rgb;
using namespace fegen_paint;

void fegen_FhsetPaint(art::Image& backdrop) {
  const MFHPanel& p = mfhsetup_aoPanels[0];
  Rect(backdrop, p.x, p.y, p.w, p.h, Rgb{24, 16, 8}, 0.7);
  Frame(backdrop, p.x, p.y, p.w, p.h, Rgb{186, 170, 118}, 2);
  for (int row = 1; row < 3; row++) Rect(backdrop, p.x + 12, p.y + 44 * row, p.w - 24, 1, Rgb{140, 120, 80}, 0.8);
}
