#include "frontend_env.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "display/qdl.h"
#include "display/qdl_bank.h"
#include "display/qdl_device.h"
#include "display/qdl_text.h"
#include "frontend/pctext.h"
#include "scene3d/pcframe.h"
#include "shell/input.h"
#include "support/headless_env.h"

namespace {

// After the shared headless environment and its main window are up: the data
// tree's front-end folder, the 640 x 480 16-bit display, text, ports and frames.
void FrontEndUp() {
  std::filesystem::create_directories(korvena_test::HeadlessRoot() / "data" / "frontend");
  QDLDeviceInfoFileNameSet((korvena_test::HeadlessRoot() / "dxinfo.bin").c_str());
  ASSERT_EQ(QDLSetup(), 0u);
  int32_t mode = QDLFindMode(0, 640, 480, 16, 0);
  ASSERT_GE(mode, 0);
  ASSERT_NE(QDLOpenDisplay(0, mode, QDLOPEN_WINDOWED), nullptr);
  QDLTextSetup(0);
  input_PortsInit();
  pcframe_Init();
}

void FrontEndDown() {
  pcframe_Shutdown();
  QDLTextShutdown();
  QDLShutdown();
}

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-frontend", true, FrontEndUp, FrontEndDown});

}  // namespace

std::filesystem::path FrontEndTestRoot() { return korvena_test::HeadlessRoot(); }

std::filesystem::path FrontEndBuildData() {
  const char* build = std::getenv("KORVENA_BUILD_DIR");
  return std::filesystem::path(build != nullptr ? build : ".") / "data";
}

FrontEndFont::FrontEndFont(const char* sheet) {
  const std::filesystem::path file = FrontEndBuildData() / "textures" / "Fonts" / sheet;
  font_ = QDLFontCreateFromSheet(file.c_str(), 3, 0, 0);
  if (font_ == nullptr) return;
  FontEntry& entry = pctext_aaoFontSets[PCTEXT_SET_FRONT_END][0];
  saved_ = entry.poFont;
  entry.poFont = font_;
  pctext_iCurrentSet = PCTEXT_SET_FRONT_END;
}

FrontEndFont::~FrontEndFont() {
  if (font_ == nullptr) return;
  pctext_aaoFontSets[PCTEXT_SET_FRONT_END][0].poFont = saved_;
  QDLFontFree(font_);
}

QDLSpriteBank* FrontEndSolidBank(int w, int h, uint16_t v) {
  const uint32_t rowBytes = 2 + 2 * static_cast<uint32_t>(w);
  QDLSpriteBank* b = QDLSpriteBankCreate(1, rowBytes * static_cast<uint32_t>(h), 0);
  if (b == nullptr) return nullptr;
  b->formatCode = QDLDisplaySurface()->formatCode;
  b->sourceBytesPerPixel = 2;
  uint8_t* p = b->pixelData;
  for (int y = 0; y < h; ++y, p += rowBytes) {
    const uint32_t len = y == h - 1 ? 0 : rowBytes;  // the last row's length word is 0
    p[0] = static_cast<uint8_t>(len);
    p[1] = static_cast<uint8_t>(len >> 8);
    for (int x = 0; x < w; ++x) {
      p[2 + 2 * x] = static_cast<uint8_t>(v);
      p[3 + 2 * x] = static_cast<uint8_t>(v >> 8);
    }
  }
  b->frames[0] = QDLFrame{static_cast<int16_t>(w), static_cast<int16_t>(h), QDLENC_RAW, b->pixelData, b};
  return b;
}
