#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/qdx_entry.h"
#include "framework/qdx_time.h"
#include "framework/qdx_window.h"
#include "platform/headless.h"
#include "platform/instance.h"
#include "platform/window.h"
#include "shell/pcmain.h"

// ---- A game shell that the tests steer ----------------------------------------

namespace {
struct FakeShell {
  std::int32_t bStartupResult = 1;
  std::function<std::int32_t(int)> fnStep;  // given the 1-based step number
  int cStartups = 0;
  int cSteps = 0;
  int cShutdowns = 0;
  bool bWindowDuringStartup = false;
};
FakeShell g_oShell;
}  // namespace

std::int32_t pcmain_Startup(std::int32_t iArgc, const char* const* ppszArgv) {
  g_oShell.cStartups++;
  EXPECT_EQ(iArgc, 1);
  EXPECT_NE(ppszArgv, nullptr);
  g_oShell.bWindowDuringStartup = QDXGetMainWindow() != nullptr;
  return g_oShell.bStartupResult;
}

std::int32_t pcmain_LoopStep() {
  g_oShell.cSteps++;
  return g_oShell.fnStep ? g_oShell.fnStep(g_oShell.cSteps) : 0;
}

void pcmain_Shutdown() { g_oShell.cShutdowns++; }

namespace {

void DrainQueue(std::vector<platform::Message>* poOut = nullptr) {
  platform::Message m;
  while (platform::pollMessage(&m))
    if (poOut) poOut->push_back(m);
}

// ---- Hook chains ----------------------------------------------------------------

std::vector<std::string> g_oCalls;

std::int64_t HookPassA(QDXMessageHookNode*, platform::Window*, std::uint32_t uMessage, std::uint64_t, std::int64_t,
                       std::int64_t iResult) {
  g_oCalls.push_back("A" + std::to_string(uMessage) + ":" + std::to_string(iResult));
  return iResult;
}

std::int64_t HookHandleClose(QDXMessageHookNode*, platform::Window*, std::uint32_t uMessage, std::uint64_t,
                             std::int64_t, std::int64_t iResult) {
  g_oCalls.push_back("B" + std::to_string(uMessage) + ":" + std::to_string(iResult));
  return uMessage == platform::kMsgClose ? 0 : iResult;
}

std::int64_t HookPassC(QDXMessageHookNode*, platform::Window*, std::uint32_t uMessage, std::uint64_t, std::int64_t,
                       std::int64_t iResult) {
  g_oCalls.push_back("C" + std::to_string(uMessage) + ":" + std::to_string(iResult));
  return iResult;
}

std::int64_t ActivateHook1(QDXMessageHookNode*, platform::Window*, std::uint32_t uMessage, std::uint64_t uWParam,
                           std::int64_t, std::int64_t iResult) {
  g_oCalls.push_back("act1:" + std::to_string(uMessage) + ":" + std::to_string(uWParam) + ":" +
                     std::to_string(iResult));
  return 5;
}

std::int64_t ActivateHook2(QDXMessageHookNode*, platform::Window*, std::uint32_t, std::uint64_t, std::int64_t,
                           std::int64_t iResult) {
  g_oCalls.push_back("act2:" + std::to_string(iResult));
  return iResult;
}

class HookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_oCalls.clear();
    DrainQueue();
    ASSERT_EQ(QDXInitWindowHooks(), 0);
    ASSERT_EQ(QDXInitActivateHooks(), 0);
  }
  void TearDown() override {
    EXPECT_EQ(QDXFreeActivateHooks(), 0);
    EXPECT_EQ(QDXFreeWindowHooks(), 0);
    DrainQueue();
  }
};

TEST_F(HookTest, UnhandledMessageReachesTheDefaultProcedure) {
  QDXAddWindowHook(HookPassA);
  QDXAddWindowHook(HookPassC);
  // The default procedure turns a close into a quit message.
  EXPECT_EQ(QDXWindowProc(nullptr, platform::kMsgClose, 0, 0), 0);
  EXPECT_EQ(g_oCalls, (std::vector<std::string>{"A16:999999", "C16:999999"}));
  std::vector<platform::Message> oQueued;
  DrainQueue(&oQueued);
  ASSERT_EQ(oQueued.size(), 1u);
  EXPECT_EQ(oQueued[0].code, platform::kMsgQuit);
}

TEST_F(HookTest, AHookReturningZeroWins) {
  QDXAddWindowHook(HookPassA);
  QDXMessageHookNode* poB = QDXAddWindowHook(HookHandleClose);
  QDXAddWindowHook(HookPassC);
  EXPECT_EQ(QDXWindowProc(nullptr, platform::kMsgClose, 0, 0), 0);
  // Every hook runs in order, each given the result so far.
  EXPECT_EQ(g_oCalls, (std::vector<std::string>{"A16:999999", "B16:999999", "C16:0"}));
  std::vector<platform::Message> oQueued;
  DrainQueue(&oQueued);
  EXPECT_TRUE(oQueued.empty());  // the default procedure never saw it

  // Removed, the chain no longer handles it.
  g_oCalls.clear();
  QDXRemoveWindowHook(poB);
  QDXWindowProc(nullptr, platform::kMsgClose, 0, 0);
  EXPECT_EQ(g_oCalls, (std::vector<std::string>{"A16:999999", "C16:999999"}));
  DrainQueue(&oQueued);
  ASSERT_EQ(oQueued.size(), 1u);
  EXPECT_EQ(oQueued[0].code, platform::kMsgQuit);
}

TEST_F(HookTest, ScreenSaverAndMonitorPowerAreRefusedBeforeTheHooks) {
  QDXAddWindowHook(HookPassA);
  EXPECT_EQ(QDXWindowProc(nullptr, platform::kMsgSysCommand, 0xF140, 0), 0);
  EXPECT_EQ(QDXWindowProc(nullptr, platform::kMsgSysCommand, 0xF142, 0), 0);  // low bits are masked
  EXPECT_EQ(QDXWindowProc(nullptr, platform::kMsgSysCommand, 0xF170, 2), 0);
  EXPECT_TRUE(g_oCalls.empty());
  QDXWindowProc(nullptr, platform::kMsgSysCommand, 0xF060, 0);  // other commands reach the hooks
  EXPECT_EQ(g_oCalls, (std::vector<std::string>{"A274:999999"}));
}

TEST_F(HookTest, ActivationHooksAreToldAndTheActiveFlagFollows) {
  QDXAddWindowHook(HookPassA);
  QDXAddActivateHook(ActivateHook1);
  QDXAddActivateHook(ActivateHook2);
  // The dispatcher is the first window hook; it returns 0 for the message.
  EXPECT_EQ(QDXWindowProc(nullptr, platform::kMsgActivateApp, 0, 0), 0);
  EXPECT_EQ(QDXIsAppActive(), 0);
  EXPECT_EQ(g_oCalls, (std::vector<std::string>{"act1:28:0:999999", "act2:5", "A28:0"}));
  g_oCalls.clear();
  QDXWindowProc(nullptr, platform::kMsgActivateApp, 1, 0);
  EXPECT_EQ(QDXIsAppActive(), 1);
  // Other messages pass the dispatcher unchanged.
  g_oCalls.clear();
  QDXWindowProc(nullptr, platform::kMsgPaint, 0, 0);
  EXPECT_EQ(g_oCalls, (std::vector<std::string>{"A15:999999"}));
}

TEST_F(HookTest, InitTwiceDoesNothingAndFreedListsTakeNoHooks) {
  QDXAddWindowHook(HookPassA);
  EXPECT_EQ(QDXInitWindowHooks(), 0);
  QDXWindowProc(nullptr, platform::kMsgPaint, 0, 0);
  EXPECT_EQ(g_oCalls.size(), 1u);  // the hook survived the second init
  EXPECT_EQ(QDXFreeActivateHooks(), 0);
  EXPECT_EQ(QDXFreeWindowHooks(), 0);
  EXPECT_EQ(QDXAddWindowHook(HookPassA), nullptr);
  EXPECT_EQ(QDXAddActivateHook(ActivateHook1), nullptr);
  g_oCalls.clear();
  QDXWindowProc(nullptr, platform::kMsgPaint, 0, 0);
  EXPECT_TRUE(g_oCalls.empty());
  ASSERT_EQ(QDXInitWindowHooks(), 0);  // for TearDown
  ASSERT_EQ(QDXInitActivateHooks(), 0);
}

// ---- Program entry ---------------------------------------------------------------

class EntryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_oShell = FakeShell{};
    DrainQueue();
    std::string oWhy;
    ASSERT_TRUE(platform::headlessLoadScriptText("", &oWhy)) << oWhy;
  }
  void TearDown() override { g_oShell = FakeShell{}; }
};

TEST_F(EntryTest, LoopEndsOnTheStepResult) {
  g_oShell.fnStep = [](int n) { return n == 5 ? 1 : 0; };
  EXPECT_EQ(WinMain(nullptr, nullptr, "", 1), 0);
  EXPECT_EQ(g_oShell.cStartups, 1);
  EXPECT_TRUE(g_oShell.bWindowDuringStartup);
  EXPECT_EQ(g_oShell.cSteps, 5);
  EXPECT_EQ(g_oShell.cShutdowns, 1);
  // Everything was undone: no window, no hooks, no timer.
  EXPECT_EQ(QDXGetMainWindow(), nullptr);
  EXPECT_EQ(platform::mainWindow(), nullptr);
  EXPECT_EQ(QDXAddWindowHook(HookPassA), nullptr);
  EXPECT_FALSE(QDXTimerIsRunning());
}

TEST_F(EntryTest, LoopEndsOnAPumpedQuitWithItsCode) {
  // Script steps count the pumps since the program started.
  const std::uint64_t uStepBefore = platform::headlessStep();
  std::string oWhy;
  ASSERT_TRUE(platform::headlessLoadScriptText(std::to_string(uStepBefore + 3) + " quit 7\n", &oWhy)) << oWhy;
  EXPECT_EQ(WinMain(nullptr, nullptr, "", 1), 7);
  EXPECT_EQ(g_oShell.cSteps, 3);
  EXPECT_EQ(platform::headlessStep() - uStepBefore, 3u);
  EXPECT_EQ(g_oShell.cShutdowns, 1);
}

TEST_F(EntryTest, AQuitPumpedInsideTheStepIsNotLost) {
  // The step pumps itself (as a long loading step would) and sees the quit,
  // yet returns 0: the loop still ends.
  g_oShell.fnStep = [](int n) {
    if (n == 2) {
      platform::postQuit(4);
      QDXPumpMessages();
    }
    return n >= 50 ? 1 : 0;
  };
  EXPECT_EQ(WinMain(nullptr, nullptr, "", 1), 4);
  EXPECT_EQ(g_oShell.cSteps, 2);
}

TEST_F(EntryTest, ActivationMessagesReachTheHooksThroughThePump) {
  std::string oWhy;
  const std::uint64_t uBase = platform::headlessStep();
  ASSERT_TRUE(platform::headlessLoadScriptText(std::to_string(uBase + 2) + " activate 0\n" +
                                                   std::to_string(uBase + 4) + " activate 1\n",
                                               &oWhy))
      << oWhy;
  std::vector<std::int32_t> oActive;
  g_oShell.fnStep = [&](int n) {
    oActive.push_back(QDXIsAppActive());
    return n == 5 ? 1 : 0;
  };
  WinMain(nullptr, nullptr, "", 1);
  EXPECT_EQ(oActive, (std::vector<std::int32_t>{1, 1, 0, 0, 1}));
}

TEST_F(EntryTest, FailedStartupSkipsTheLoopButShutsDown) {
  g_oShell.bStartupResult = 0;
  EXPECT_EQ(WinMain(nullptr, nullptr, "", 1), 1);  // a failed start is no success
  EXPECT_EQ(g_oShell.cStartups, 1);
  EXPECT_EQ(g_oShell.cSteps, 0);
  EXPECT_EQ(g_oShell.cShutdowns, 1);
  EXPECT_EQ(platform::mainWindow(), nullptr);
}

TEST_F(EntryTest, NoWindowMeansNoGameAndEverythingStartedIsUndone) {
  // The one main window exists already: the entry cannot create its own.
  platform::Window* poOther = platform::createWindow(320, 200);
  ASSERT_NE(poOther, nullptr);
  EXPECT_EQ(WinMain(nullptr, nullptr, "", 1), 1);
  EXPECT_EQ(g_oShell.cStartups, 0);
  EXPECT_EQ(g_oShell.cShutdowns, 0);  // the game never started: nothing to shut down
  EXPECT_EQ(QDXAddWindowHook(HookPassA), nullptr);  // hooks freed
  EXPECT_EQ(platform::mainWindow(), poOther);       // someone else's window left alone
  platform::destroyWindow(poOther);
  DrainQueue();
  // The instance lock was released: the next run works.
  g_oShell.fnStep = [](int) { return 1; };
  EXPECT_EQ(WinMain(nullptr, nullptr, "", 1), 0);
  EXPECT_EQ(g_oShell.cStartups, 1);
}

TEST_F(EntryTest, ASecondInstanceEndsAtOnce) {
  platform::InstanceLock* poLock = nullptr;
  ASSERT_EQ(platform::acquireInstanceLock("QDX Mutex", &poLock), platform::InstanceResult::Acquired);
  EXPECT_EQ(WinMain(nullptr, nullptr, "", 1), 0);
  EXPECT_EQ(g_oShell.cStartups, 0);
  EXPECT_EQ(g_oShell.cShutdowns, 0);
  EXPECT_EQ(platform::mainWindow(), nullptr);
  platform::releaseInstanceLock(poLock);
}

// ---- Window operations ----------------------------------------------------------

TEST(QDXWindow, ShowStatesFollowTheOperations) {
  QDXRegisterClass(nullptr, QDXWindowProc);
  platform::Window* poWindow = QDXCreateWindow(640, 480, nullptr, 1);
  ASSERT_NE(poWindow, nullptr);
  EXPECT_EQ(QDXGetMainWindow(), poWindow);
  EXPECT_EQ(QDXGetWindowState(), QDX_WINDOW_HIDDEN);
  EXPECT_FALSE(platform::isWindowVisible(poWindow));
  QDXShowWindow(poWindow);
  EXPECT_EQ(QDXGetWindowState(), QDX_WINDOW_SHOWN);
  EXPECT_TRUE(platform::isWindowVisible(poWindow));
  QDXMaximiseWindow(poWindow);
  EXPECT_EQ(QDXGetWindowState(), QDX_WINDOW_MAXIMISED);
  QDXMarkWindowState(poWindow);
  EXPECT_EQ(QDXGetWindowState(), QDX_WINDOW_MARKED);
  QDXHideWindow(poWindow);
  EXPECT_EQ(QDXGetWindowState(), QDX_WINDOW_HIDDEN);
  EXPECT_EQ(QDXSetWindowFrame(1), 1);
  QDXSetWindowTitle(nullptr, "nothing happens");
  QDXShowWindow(nullptr);
  EXPECT_EQ(QDXGetWindowState(), QDX_WINDOW_HIDDEN);
  QDXDestroyWindow(poWindow);
  EXPECT_EQ(QDXGetMainWindow(), nullptr);
  EXPECT_EQ(QDXSetWindowFrame(0), 0);
  DrainQueue();
}

}  // namespace
