// Speed of the drawing primitives, the text printer and font building.
#include <benchmark/benchmark.h>

#include <string>

#include "display/qdl.h"
#include "display/qdl_bank.h"
#include "display/qdl_draw.h"
#include "display/qdl_palette.h"
#include "display/qdl_sheet.h"
#include "display/qdl_text.h"

namespace {

struct Library {
  Library() {
    QDLSurfacePoolInit();
    QDLPalettePoolInit();
    QDLSpriteBankPoolInit();
    QDLTextSetup(0);
  }
};

QDLSurface* Screen() {
  static Library lib;
  static QDLSurface* s = QDLSurfaceCreate(640, 480, 16, QDLCREATE_MEMORY);
  return s;
}

std::string FontPath(const char* name) { return std::string(KORVENA_BENCH_DATA_DIR) + "/textures/Fonts/" + name; }

QDLFont* Font(const char* name) {
  Screen();
  const std::string path = FontPath(name);
  const QDLSheetDesc list[2] = {{path.c_str(), QDLSHEET_MODE_STRIPS, 0, 0, nullptr}, {nullptr, 0, 0, 0, nullptr}};
  QDLSpriteBank* b = QDLSpriteBankFromSheets(list, QDLFORMAT_RGB565);
  return b ? QDLFontCreate(b) : nullptr;
}

void BM_FillScreen(benchmark::State& state) {
  QDLSurface* s = Screen();
  uint32_t c = 0;
  for (auto _ : state) QDLFillRect(s, nullptr, ++c, 0);
  state.SetBytesProcessed(state.iterations() * 640 * 480 * 2);
}
BENCHMARK(BM_FillScreen);

void BM_DarkenScreen(benchmark::State& state) {
  QDLSurface* s = Screen();
  for (auto _ : state) QDLFillRect(s, nullptr, 0, QDLDRAW_DARKEN);
  state.SetBytesProcessed(state.iterations() * 640 * 480 * 2);
}
BENCHMARK(BM_DarkenScreen);

void BM_FilledCircle(benchmark::State& state) {
  QDLSurface* s = Screen();
  for (auto _ : state) QDLCircle(s, 320, 240, 200, 0xFFFF, QDLDRAW_FILLED);
}
BENCHMARK(BM_FilledCircle);

void BM_Lines(benchmark::State& state) {
  QDLSurface* s = Screen();
  for (auto _ : state)
    for (int i = 0; i < 100; ++i) QDLLine(s, -50, i * 5, 700, 479 - i * 5, 0xFFFF, 0);
}
BENCHMARK(BM_Lines);

// A page of anti-aliased text: 20 justified lines in the small front-end font.
void BM_PrintPage(benchmark::State& state) {
  QDLSurface* s = Screen();
  static QDLFont* f = Font("SWfont18pt.bmp");
  if (f == nullptr) {
    state.SkipWithError("font not generated");
    return;
  }
  std::string text;
  for (int i = 0; i < 60; ++i) text += "The history mode replays eleven editions. ";
  for (auto _ : state)
    QDLPrintText(s, f, 0, 0, 0xFFFF, 0, QDLLAYOUT_JUSTIFIED, QDLSTYLE_SOLID | QDLSTYLE_ALPHAMAP, text.c_str());
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_PrintPage);

// Building a font from its glyph-strip sheet, as the front end does on entry.
void BM_FontFromSheet(benchmark::State& state) {
  Screen();
  const std::string path = FontPath("SW24pt.bmp");
  const QDLSheetDesc list[2] = {{path.c_str(), QDLSHEET_MODE_STRIPS, 0, 0, nullptr}, {nullptr, 0, 0, 0, nullptr}};
  for (auto _ : state) {
    QDLSpriteBank* b = QDLSpriteBankFromSheets(list, QDLFORMAT_RGB565);
    if (b == nullptr) {
      state.SkipWithError("font not generated");
      return;
    }
    QDLSpriteBankFree(b);
  }
}
BENCHMARK(BM_FontFromSheet);

}  // namespace
