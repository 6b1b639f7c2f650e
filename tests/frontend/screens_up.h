#pragma once
// The set-up the history screen tests share: headless with a 640 x 480
// display (the screens' drawing is looked at), the input ports, the frame
// packet and the generated player database.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "display/qdl.h"
#include "display/qdl_device.h"
#include "scene3d/pcframe.h"
#include "shell/input.h"
#include "support/headless_env.h"

inline void FrontEndScreensUp() {
  namespace fs = std::filesystem;
  const fs::path dump = korvena_test::HeadlessRoot() / "data" / "database" / "dump";
  fs::create_directories(dump);
  fs::copy_file(fs::path(korvena_test::BuildDir()) / "data" / "database" / "dump" / "dump.dat", dump / "dump.dat");
  QDLDeviceInfoFileNameSet((korvena_test::HeadlessRoot() / "dxinfo.bin").c_str());
  ASSERT_EQ(QDLSetup(), 0u);
  const std::int32_t mode = QDLFindMode(0, 640, 480, 16, 0);
  ASSERT_GE(mode, 0);
  ASSERT_NE(QDLOpenDisplay(0, mode, QDLOPEN_WINDOWED), nullptr);
  input_PortsInit();
  pcframe_Init();
}

inline void FrontEndScreensDown() {
  pcframe_Shutdown();
  QDLShutdown();
}
