// The SDL backend on SDL's dummy video driver (no display needed).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/clock.h"
#include "platform/headless.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "platform/timer.h"
#include "platform/display_internal.h"
#include "platform/window.h"
#include "support/temp_dir.h"

using namespace platform;

namespace {

class SdlBackend : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    std::string why;
    ASSERT_TRUE(init(BackendKind::Sdl, &why)) << why;
  }
  void TearDown() override {
    shutdown();
    unsetenv("SDL_VIDEODRIVER");
  }
};

TEST_F(SdlBackend, RealTimeMovesByItselfAndHeadlessControlsRefuse) {
  uint64_t t0 = nowNs();
  sleepMs(2);
  uint64_t t1 = nowNs();
  EXPECT_GE(t1 - t0, 2000000u);
  idleUntil(t1 + 1000000);
  EXPECT_GE(nowNs(), t1 + 1000000);
  EXPECT_FALSE(headlessAdvanceClock(1000));
}

TEST_F(SdlBackend, TheTimerThreadTicksAndStopsCleanly) {
  std::atomic<int> ticks{0};
  PeriodicTimer* t = timerStart(1000, [](void* user) { ++*static_cast<std::atomic<int>*>(user); }, &ticks);
  ASSERT_NE(t, nullptr);
  uint64_t limit = nowNs() + 10 * kNanosecondsPerSecond;
  while (ticks.load() < 5 && nowNs() < limit) sleepMs(1);
  timerStop(t);
  int atStop = ticks.load();
  EXPECT_GE(atStop, 5);
  sleepMs(20);
  EXPECT_EQ(ticks.load(), atStop);
}

TEST_F(SdlBackend, ACallbackMayStopItsOwnTimerThread) {
  struct State {
    std::atomic<PeriodicTimer*> timer{nullptr};
    std::atomic<int> calls{0};
  } state;
  state.timer = timerStart(500, [](void* user) {
    auto* s = static_cast<State*>(user);
    while (!s->timer.load()) sleepMs(1);
    if (++s->calls == 3) timerStop(s->timer.load());
  }, &state);
  ASSERT_NE(state.timer.load(), nullptr);
  uint64_t limit = nowNs() + 10 * kNanosecondsPerSecond;
  while (state.calls.load() < 3 && nowNs() < limit) sleepMs(1);
  sleepMs(30);
  EXPECT_EQ(state.calls.load(), 3);
}

TEST_F(SdlBackend, WindowOperationsWorkAndMessageBoxesFallBackToStderr) {
  Window* w = createWindow(640, 480);
  ASSERT_NE(w, nullptr);
  setWindowTitle(w, "Korvena Football");
  showWindow(w);
  maximiseWindow(w);
  int sw = 0, sh = 0;
  screenSize(&sw, &sh);
  EXPECT_GT(sw, 0);
  EXPECT_GT(sh, 0);
  setWindowFrame(w, false);
  setWindowFrame(w, true);
  EXPECT_EQ(showCursor(false), -1);
  EXPECT_EQ(showCursor(true), 0);
  pumpEvents();
  Message m;
  while (pollMessage(&m)) {
  }
  postQuit(4);
  waitMessage();  // a queued message: returns at once
  ASSERT_TRUE(pollMessage(&m));
  EXPECT_EQ(m.code, kMsgQuit);
  EXPECT_EQ(m.wParam, 4u);
  testing::internal::CaptureStderr();
  messageBox(w, "Text", "Caption", MessageIcon::Information);
  std::string err = testing::internal::GetCapturedStderr();
  // The dummy driver has no message boxes: the text lands on stderr.
  EXPECT_NE(err.find("Caption: Text"), std::string::npos) << err;
  destroyWindow(w);
}

}  // namespace

// The sanitizer build carries the leak suppressions for the system libraries
// behind SDL in the program itself, so a run by hand on a desktop (no
// LSAN_OPTIONS) is not misled by leaks in the session bus or X libraries.
extern "C" __attribute__((weak)) const char* __lsan_default_suppressions();

namespace {

TEST(SanitizerBuild, CarriesTheSystemLibraryLeakSuppressions) {
  if (__lsan_default_suppressions == nullptr) GTEST_SKIP() << "not a sanitizer build";
  const char* pszSource = std::getenv("KORVENA_SOURCE_DIR");
  ASSERT_NE(pszSource, nullptr);
  const std::string oFile = korvena_test::readFile(std::string(pszSource) + "/cmake/lsan.supp");
  EXPECT_EQ(std::string(__lsan_default_suppressions()), oFile);
  EXPECT_NE(oFile.find("\nleak:libdbus-1.so\n"), std::string::npos);
}

}  // namespace

namespace {

// Which renderer the window gets: the setting's three answers, and the names
// software OpenGL drivers report.
TEST(SdlRendererChoice, SettingAndSoftwareDriverNames) {
  using internal::RendererChoice;
  EXPECT_EQ(internal::rendererChoiceFromEnvironment(nullptr), RendererChoice::Automatic);
  EXPECT_EQ(internal::rendererChoiceFromEnvironment(""), RendererChoice::Automatic);
  EXPECT_EQ(internal::rendererChoiceFromEnvironment("software"), RendererChoice::Software);
  EXPECT_EQ(internal::rendererChoiceFromEnvironment("accelerated"), RendererChoice::Accelerated);
  EXPECT_EQ(internal::rendererChoiceFromEnvironment("Software "), RendererChoice::Automatic);
  for (const char* soft : std::initializer_list<const char*>{"llvmpipe (LLVM 15.0.6, 256 bits)", "Mesa softpipe", "Software Rasterizer",
                           "Mesa X11 swrast", "LLVMPIPE", "", nullptr})
    EXPECT_TRUE(internal::glRendererIsSoftware(soft)) << (soft ? soft : "(none)");
  for (const char* hard : {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", "AMD Radeon RX 580 (polaris10, LLVM 15.0.6)",
                           "NVIDIA GeForce GTX 1060/PCIe/SSE2"})
    EXPECT_FALSE(internal::glRendererIsSoftware(hard)) << hard;
}

}  // namespace
