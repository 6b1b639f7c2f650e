// The main window and its messages on the headless backend.
#include <gtest/gtest.h>

#include "platform/messagebox.h"
#include "platform/platform.h"
#include "platform/window.h"

using namespace platform;

namespace {

class HeadlessWindow : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(init(BackendKind::Headless)); }
  void TearDown() override { shutdown(); }
  std::vector<Message> drain() {
    std::vector<Message> out;
    Message m;
    while (pollMessage(&m)) out.push_back(m);
    return out;
  }
};

TEST_F(HeadlessWindow, StartsHiddenAndShowingItActivatesTheApplication) {
  Window* w = createWindow(640, 480);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(mainWindow(), w);
  EXPECT_EQ(createWindow(640, 480), nullptr);  // one main window
  EXPECT_FALSE(isWindowVisible(w));
  EXPECT_TRUE(drain().empty());
  setWindowTitle(w, "Korvena Football");
  showWindow(w);
  EXPECT_TRUE(isWindowVisible(w));
  std::vector<Message> msgs = drain();
  ASSERT_EQ(msgs.size(), 2u);
  EXPECT_EQ(msgs[0].code, kMsgActivateApp);
  EXPECT_EQ(msgs[0].wParam, 1u);
  EXPECT_EQ(msgs[0].window, w);
  EXPECT_EQ(msgs[1].code, kMsgActivate);
  hideWindow(w);
  EXPECT_FALSE(isWindowVisible(w));
  showWindow(w);
  EXPECT_TRUE(drain().empty());  // still the foreground application
  destroyWindow(w);
  EXPECT_EQ(mainWindow(), nullptr);
  msgs = drain();
  ASSERT_EQ(msgs.size(), 1u);
  EXPECT_EQ(msgs[0].code, kMsgDestroy);
  // Null windows are ignored.
  showWindow(nullptr);
  setWindowTitle(nullptr, "x");
  maximiseWindow(nullptr);
  destroyWindow(nullptr);
}

TEST_F(HeadlessWindow, MaximisingFillsTheScreenAndReportsMoveAndSize) {
  Window* w = createWindow(320, 200);
  int sw = 0, sh = 0;
  screenSize(&sw, &sh);
  EXPECT_EQ(sw, 640);
  EXPECT_EQ(sh, 480);
  maximiseWindow(w);
  int ww = 0, wh = 0;
  windowSize(w, &ww, &wh);
  EXPECT_EQ(ww, 640);
  EXPECT_EQ(wh, 480);
  std::vector<Message> msgs = drain();
  ASSERT_EQ(msgs.size(), 1u);  // already at 0,0: no move
  EXPECT_EQ(msgs[0].code, kMsgSize);
  EXPECT_EQ(msgs[0].lParam, 640 | (480 << 16));
  maximiseWindow(w);
  EXPECT_TRUE(drain().empty());
  setWindowFrame(w, false);
  setWindowFrame(w, true);
  destroyWindow(w);
}

TEST_F(HeadlessWindow, ClosingQueuesQuitAndQuitCarriesTheExitCode) {
  Window* w = createWindow(640, 480);
  Message close;
  close.window = w;
  close.code = kMsgClose;
  EXPECT_EQ(defaultWindowProc(close), 0);
  Message sys;
  sys.code = kMsgSysCommand;
  sys.wParam = kSysCommandClose | 0x3;
  defaultWindowProc(sys);
  postQuit(7);
  std::vector<Message> msgs = drain();
  ASSERT_EQ(msgs.size(), 3u);
  EXPECT_EQ(msgs[0].code, kMsgQuit);
  EXPECT_EQ(msgs[0].wParam, 0u);
  EXPECT_EQ(msgs[1].code, kMsgClose);
  EXPECT_EQ(msgs[2].code, kMsgQuit);
  EXPECT_EQ(msgs[2].wParam, 7u);
  // Other messages are left alone by default.
  Message paint;
  paint.code = kMsgPaint;
  EXPECT_EQ(defaultWindowProc(paint), 0);
  EXPECT_TRUE(drain().empty());
  destroyWindow(w);
}

TEST_F(HeadlessWindow, WaitingNeverBlocksAndTheCursorCounts) {
  waitMessage();  // returns at once with an empty queue
  EXPECT_EQ(showCursor(false), -1);
  EXPECT_EQ(showCursor(false), -2);
  EXPECT_EQ(showCursor(true), -1);
  EXPECT_EQ(showCursor(true), 0);
}

TEST_F(HeadlessWindow, MessageBoxesGoToStderr) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(messageBox(nullptr, "Couldn't determine install type.", "Error!", MessageIcon::Stop), 1);
  EXPECT_EQ(messageBox(nullptr, "Caf\xE9", "QDX Error", MessageIcon::Warning), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Error!: Couldn't determine install type.\nQDX Error: Caf\xC3\xA9\n");
}

TEST(Backend, TheChoiceFollowsTheEnvironment) {
  BackendKind kind;
  std::string why;
  setenv("KORVENA_BACKEND", "headless", 1);
  EXPECT_TRUE(chooseBackend(&kind, &why));
  EXPECT_EQ(kind, BackendKind::Headless);
  setenv("KORVENA_BACKEND", "sdl", 1);
  EXPECT_TRUE(chooseBackend(&kind, &why));
  EXPECT_EQ(kind, BackendKind::Sdl);
  setenv("KORVENA_BACKEND", "opengl", 1);
  EXPECT_FALSE(chooseBackend(&kind, &why));
  EXPECT_NE(why.find("opengl"), std::string::npos);
  unsetenv("KORVENA_BACKEND");
  std::string display = getenv("DISPLAY") ? getenv("DISPLAY") : "";
  std::string wayland = getenv("WAYLAND_DISPLAY") ? getenv("WAYLAND_DISPLAY") : "";
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  EXPECT_FALSE(chooseBackend(&kind, &why));
  EXPECT_NE(why.find("KORVENA_BACKEND=headless"), std::string::npos);
  setenv("DISPLAY", ":99", 1);
  EXPECT_TRUE(chooseBackend(&kind, &why));
  EXPECT_EQ(kind, BackendKind::Sdl);
  if (display.empty()) unsetenv("DISPLAY"); else setenv("DISPLAY", display.c_str(), 1);
  if (!wayland.empty()) setenv("WAYLAND_DISPLAY", wayland.c_str(), 1);
  setenv("KORVENA_BACKEND", "headless", 1);
}

}  // namespace
