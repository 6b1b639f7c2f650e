// The mouse: relative mode through the platform device, message mode through
// the window hook, the click machines and the event rings.
#include <vector>

#include "input_fixture.h"
#include "platform/window.h"

namespace {

using MouseTest = InputTest;

std::vector<int32_t> Drain(int32_t iButton, std::vector<QMousePoint>* positions = nullptr) {
  std::vector<int32_t> codes;
  QMousePoint oPos{};
  while (int32_t iCode = QInputMousePopEvent(QInputMouseGetQueue(iButton), &oPos)) {
    codes.push_back(iCode);
    if (positions) positions->push_back(oPos);
  }
  return codes;
}

TEST_F(MouseTest, QuickClickGivesOneClickAfterTheDoubleClickInterval) {
  ASSERT_EQ(QInputMouseSetup(0), 0);
  platform::headlessMouseMove(30, 40);
  platform::headlessMouseButton(0, true);
  QInputMousePoll();
  AdvanceMs(50);
  platform::headlessMouseButton(0, false);
  QInputMousePoll();
  AdvanceMs(100);  // exactly the interval: not yet past it
  QInputMousePoll();
  EXPECT_TRUE(Drain(0).empty());
  AdvanceMs(1);
  QInputMousePoll();
  std::vector<QMousePoint> positions;
  EXPECT_EQ(Drain(0, &positions), std::vector<int32_t>{QMOUSE_EVENT_CLICK});
  ASSERT_EQ(positions.size(), 1u);
  EXPECT_EQ(positions[0].x, 30);
  EXPECT_EQ(positions[0].y, 40);
  AdvanceMs(500);
  QInputMousePoll();
  EXPECT_TRUE(Drain(0).empty());
  QMousePoint oPress{}, oRelease{};
  EXPECT_EQ(QInputMouseGetPressPos(0, &oPress), 1);
  EXPECT_EQ(QInputMouseGetReleasePos(0, &oRelease), 1);
  EXPECT_EQ(oRelease.x, 30);
  QInputMouseClearReleasePos(0);
  EXPECT_EQ(QInputMouseGetReleasePos(0, &oRelease), 0);
  EXPECT_EQ(QInputMouseGetReleasePos(1, &oRelease), 0);
}

TEST_F(MouseTest, HoldingGivesHoldThenHoldReleased) {
  ASSERT_EQ(QInputMouseSetup(0), 0);
  platform::headlessMouseButton(1, true);
  QInputMousePoll();
  AdvanceMs(100);  // exactly the hold interval: not longer yet
  QInputMousePoll();
  EXPECT_TRUE(Drain(1).empty());
  AdvanceMs(1);
  QInputMousePoll();
  EXPECT_EQ(Drain(1), std::vector<int32_t>{QMOUSE_EVENT_HOLD});
  AdvanceMs(1000);
  QInputMousePoll();
  EXPECT_TRUE(Drain(1).empty());
  platform::headlessMouseMove(7, 8);
  platform::headlessMouseButton(1, false);
  QInputMousePoll();
  std::vector<QMousePoint> positions;
  EXPECT_EQ(Drain(1, &positions), std::vector<int32_t>{QMOUSE_EVENT_HOLD_RELEASE});
  EXPECT_EQ(positions[0].x, 7);
  EXPECT_EQ(positions[0].y, 8);
}

TEST_F(MouseTest, DoubleClickGivesFourFiveThenSix) {
  ASSERT_EQ(QInputMouseSetup(0), 0);
  platform::headlessMouseButton(0, true);
  QInputMousePoll();
  AdvanceMs(30);
  platform::headlessMouseButton(0, false);
  QInputMousePoll();
  AdvanceMs(30);
  platform::headlessMouseButton(0, true);
  QInputMousePoll();
  AdvanceMs(30);
  platform::headlessMouseButton(0, false);
  QInputMousePoll();
  EXPECT_EQ(Drain(0), (std::vector<int32_t>{QMOUSE_EVENT_DOUBLE_PRESS, QMOUSE_EVENT_DOUBLE_PRESS2,
                                            QMOUSE_EVENT_DOUBLE_RELEASE}));
}

// The double click's events carry the release position, then the position of
// the second press, then that of the second release; the rates set the
// intervals; activation hides the cursor in message mode.
TEST_F(MouseTest, DoubleClickPositionsRatesAndActivation) {
  ASSERT_EQ(QInputMouseSetup(0), 0);
  QMousePoint oPress{}, oRelease{};
  EXPECT_EQ(QInputMouseGetPressPos(0, &oPress), 0);
  EXPECT_EQ(QInputMouseGetReleasePos(0, &oRelease), 0);
  platform::headlessMouseMove(10, 10);
  platform::headlessMouseButton(0, true);
  QInputMousePoll();
  platform::headlessMouseMove(1, 1);  // 11, 11
  platform::headlessMouseButton(0, false);
  QInputMousePoll();
  platform::headlessMouseMove(1, 1);  // 12, 12
  platform::headlessMouseButton(0, true);
  QInputMousePoll();
  platform::headlessMouseMove(1, 1);  // 13, 13
  platform::headlessMouseButton(0, false);
  QInputMousePoll();
  std::vector<QMousePoint> positions;
  EXPECT_EQ(Drain(0, &positions), (std::vector<int32_t>{QMOUSE_EVENT_DOUBLE_PRESS, QMOUSE_EVENT_DOUBLE_PRESS2,
                                                        QMOUSE_EVENT_DOUBLE_RELEASE}));
  ASSERT_EQ(positions.size(), 3u);
  EXPECT_EQ(positions[0].x, 11);
  EXPECT_EQ(positions[1].x, 12);
  EXPECT_EQ(positions[2].x, 13);
  EXPECT_EQ(QInputMouseGetPressPos(0, &oPress), 1);
  EXPECT_EQ(oPress.x, 12);
  EXPECT_EQ(QInputMouseGetReleasePos(0, &oRelease), 1);
  EXPECT_EQ(oRelease.x, 13);
  QInputMouseClearPressPos(0);
  EXPECT_EQ(QInputMouseGetPressPos(0, &oPress), 0);

  // A fifth of a second to hold, a twentieth for the double click.
  QInputMouseSetPollRate(200);
  QInputMouseSetDoubleClickRate(50);
  platform::headlessMouseButton(1, true);
  QInputMousePoll();
  AdvanceMs(150);
  QInputMousePoll();
  EXPECT_TRUE(Drain(1).empty());
  AdvanceMs(51);
  QInputMousePoll();
  EXPECT_EQ(Drain(1), std::vector<int32_t>{QMOUSE_EVENT_HOLD});
  platform::headlessMouseButton(1, false);
  QInputMousePoll();
  EXPECT_EQ(Drain(1), std::vector<int32_t>{QMOUSE_EVENT_HOLD_RELEASE});
  platform::headlessMouseButton(1, true);
  QInputMousePoll();
  platform::headlessMouseButton(1, false);
  QInputMousePoll();
  AdvanceMs(51);
  QInputMousePoll();
  EXPECT_EQ(Drain(1), std::vector<int32_t>{QMOUSE_EVENT_CLICK});
  QInputMouseShutdown();

  ASSERT_EQ(QInputMouseSetup(QMOUSE_SETUP_MESSAGE_MODE), 0);
  QInputMouseMessageHook(platform::kMsgActivate, 0, 0, 0);  // deactivated: shown, counter 0
  EXPECT_EQ(platform::showCursor(false), -1);
  platform::showCursor(true);
  QInputMouseMessageHook(platform::kMsgActivate, 1, 0, 0);  // activated: hidden, counter -1
  EXPECT_EQ(platform::showCursor(true), 0);
  platform::showCursor(false);
  QInputMouseShutdown();
}

TEST_F(MouseTest, TheEleventhEventMarksTheNewestAsOverflow) {
  QMouseEventQueue oQueue{};
  for (int32_t i = 0; i < 10; ++i) {
    QMousePoint oPos{i, i};
    ASSERT_EQ(QInputMousePushEvent(&oQueue, 3, &oPos), 0);
  }
  QMousePoint oPos{99, 99};
  EXPECT_EQ(QInputMousePushEvent(&oQueue, 1, &oPos), 7);
  std::vector<int32_t> codes;
  QMousePoint oOut{};
  while (int32_t iCode = QInputMousePopEvent(&oQueue, &oOut)) codes.push_back(iCode);
  EXPECT_EQ(codes, (std::vector<int32_t>{3, 3, 3, 3, 3, 3, 3, 3, 3, 7}));
  EXPECT_EQ(oOut.x, 9);  // the overflow mark keeps the newest entry's position
  EXPECT_EQ(QInputMousePopEvent(&oQueue, &oOut), 0);
  // The ring goes on after being emptied.
  EXPECT_EQ(QInputMousePushEvent(&oQueue, 5, &oPos), 0);
  EXPECT_EQ(QInputMousePopEvent(&oQueue, &oOut), 5);
  EXPECT_EQ(oOut.x, 99);
}

TEST_F(MouseTest, RelativeModeAddsMotionAndStopsInTheBackground) {
  ASSERT_EQ(QInputMouseSetup(0), 0);
  QInputMouseSetPosition(100, 100);
  platform::headlessMouseMove(5, -3);
  platform::headlessMouseWheel(120);
  QInputMousePoll();
  QMousePoint oPos{};
  QInputMouseGetPosition(&oPos);
  EXPECT_EQ(oPos.x, 105);
  EXPECT_EQ(oPos.y, 97);
  platform::headlessMouseButton(2, true);
  platform::inputSetForeground(false);
  QInputMousePoll();
  EXPECT_EQ(QInputMouseGetButton(2), 0);  // lost: reads as released
  platform::inputSetForeground(true);
  QInputMousePoll();
  EXPECT_EQ(QInputMouseGetButton(2), 0x80);
}

TEST_F(MouseTest, MessageModeTakesPositionAndButtonsFromMessages) {
  ASSERT_EQ(QInputMouseSetup(QMOUSE_SETUP_MESSAGE_MODE), 0);
  EXPECT_EQ(QInputMouseIsMessageMode(), 1);
  EXPECT_LT(platform::showCursor(true), 1);  // hidden: the counter was below 0
  platform::showCursor(false);
  int64_t lResult = QInputMouseMessageHook(platform::kMsgLeftButtonDown, platform::kMouseFlagLeft | platform::kMouseFlagMiddle,
                                           (200 << 16) | 320, 999999);
  EXPECT_EQ(lResult, 999999);  // passed on with the result given
  QMousePoint oPos{};
  QInputMouseGetPosition(&oPos);
  EXPECT_EQ(oPos.x, 320);
  EXPECT_EQ(oPos.y, 200);
  EXPECT_EQ(QInputMouseGetButton(0), 128);
  EXPECT_EQ(QInputMouseGetButton(1), 0);
  EXPECT_EQ(QInputMouseGetButton(2), 128);
  QInputMousePoll();
  AdvanceMs(150);
  QInputMousePoll();
  EXPECT_EQ(Drain(0), std::vector<int32_t>{QMOUSE_EVENT_HOLD});
  QInputMouseShutdown();
  EXPECT_EQ(platform::showCursor(false), -1);  // shown again (counter back at 0)
  platform::showCursor(true);
}

}  // namespace
