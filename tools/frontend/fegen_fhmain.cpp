// The history hub's backdrop: three framed panels on the themed stadium, under
// the team and date line, the eight items and the next fixture.
#include "frontend/mfhmain_layout.h"
#include "tools/frontend/fegen_sheets.h"

using art::Rgb;
using namespace fegen_paint;

void fegen_FhmainPaint(art::Image& backdrop) {
  for (int i = 0; i < MFHMAIN_PANELS; i++) {
    const MFHPanel& p = mfhmain_aoPanels[i];
    Rect(backdrop, p.x, p.y, p.w, p.h, Rgb{24, 16, 8}, 0.7);
    Frame(backdrop, p.x, p.y, p.w, p.h, Rgb{186, 170, 118}, 2);
  }
  // The menu's two columns apart, and a rule under the fixture's teams.
  const MFHPanel& m = mfhmain_aoPanels[1];
  Rect(backdrop, m.x + m.w / 2 - 14, m.y + 10, 1, m.h - 20, Rgb{140, 120, 80}, 0.8);
  const MFHPanel& f = mfhmain_aoPanels[2];
  Rect(backdrop, f.x + 12, f.y + 44, f.w - 24, 1, Rgb{140, 120, 80}, 0.8);
}
