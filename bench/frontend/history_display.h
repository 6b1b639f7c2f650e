#pragma once
// The set-up shared by the history screens' frame benchmarks: a headless
// 640 x 480 display with the front end's font, so that every text is
// measured and drawn, and the 1998 qualifiers started for one human team.
// Include it from one source of each benchmark program: it defines the
// campaign driver's folders.
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "../tests/tournament/campaign_driver.h"
#include "display/qdl.h"
#include "display/qdl_device.h"
#include "display/qdl_text.h"
#include "framework/qdx_window.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "platform/platform.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmtree.h"

// The campaign driver's copy of the year files goes to a folder named after
// the program; the year files are read from the bench tree.
namespace korvena_test {
std::filesystem::path HeadlessRoot() {
  return std::filesystem::temp_directory_path() /
         ("korvena_" + std::filesystem::read_symlink("/proc/self/exe").filename().string());
}
}  // namespace korvena_test
std::filesystem::path BuildDir() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path();
}

namespace bench_history {

// The display up, the front end's scale from a (w, h) screen to 640 x 480
// and the font in every slot of the front end's set; false on failure.
inline bool DisplayUp(std::int32_t iScaleW, std::int32_t iScaleH) {
  const std::string dir = korvena_test::HeadlessRoot().string();
  std::filesystem::create_directories(dir);
  setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  setenv("XDG_DATA_HOME", dir.c_str(), 1);
  std::string why;
  if (!platform::init(platform::BackendKind::Headless, &why)) return false;
  QDXInitWindowHooks();
  QDXInitActivateHooks();
  if (!QDXCreateWindow(640, 480, nullptr, 0)) return false;
  QDLDeviceInfoFileNameSet((dir + "/dxinfo.bin").c_str());
  if (QDLSetup() != 0 || QDLOpenDisplay(0, QDLFindMode(0, 640, 480, 16, 0), QDLOPEN_WINDOWED) == nullptr) return false;
  QDLTextSetup(0);
  pcfe_ScaleSet(iScaleW, iScaleH, 640, 480);
  QDLFont* font = QDLFontCreateFromSheet(KORVENA_BENCH_FONT, 3, 0, 0);
  if (!font) return false;
  for (int i = 0; i < PCTEXT_FONTS_PER_SET; i++) pctext_aaoFontSets[PCTEXT_SET_FRONT_END][i].poFont = font;
  pctext_iCurrentSet = PCTEXT_SET_FRONT_END;
  return true;
}

// A fresh campaign of Scotland, holders playing, in the 1998 edition with
// its qualifiers.
inline void Start1998() {
  CampaignReset(1);
  tmglobal.aHumans[0].Name = static_cast<std::uint32_t>(tla_IDFind("SCO"));
  tmglobal.cHumans = 1;
  tmglobal.bHolderOption = 1;
  tmmain_YearStart(1, 1, 98);
}

}  // namespace bench_history
