// The default binding tables and the game-widget map.
#include <set>

#include "ports_fixture.h"

namespace {

int32_t EntryCount(const InputPortBinding* pipb) {
  int32_t n = 0;
  while (pipb[n].eTrigger != INPUT_TRIGGER_END) ++n;
  return n;
}

TEST_F(PortsTest, FortySixDefaultTablesUnderTheirIds) {
  std::set<int32_t> registered;
  for (int32_t i = 0; i < INPUT_PORT_BINDINGS_MAX; ++i)
    if (input_apipbInputBindings[i]) registered.insert(i);
  std::set<int32_t> expected;
  for (int32_t i = 1; i <= 49; ++i)
    if (i != 5 && i != 10 && i != 21) expected.insert(i);
  EXPECT_EQ(registered, expected);
  EXPECT_EQ(registered.size(), 46u);
  EXPECT_EQ(input_apipbInputBindings[27], input_apipbInputBindings[44]);
  EXPECT_EQ(EntryCount(input_apipbInputBindings[16]), 0);
  EXPECT_EQ(EntryCount(input_apipbInputBindings[43]), 0);

  // Entry counts of every table, and a few entries word for word.
  const int32_t kCounts[50] = {0, 3, 2, 11, 23, 0, 11, 12, 9, 4, 0, 12, 14, 11, 3, 3, 0, 12, 8, 1, 8, 0, 4, 10, 5,
                               9, 10, 4, 6, 8, 2, 12, 11, 9, 1, 10, 1, 5, 5, 2, 2, 16, 12, 0, 4, 2, 7, 1, 2, 9};
  for (int32_t i : expected) EXPECT_EQ(EntryCount(input_apipbInputBindings[i]), kCounts[i]) << "table " << i;
  const InputPortBinding* pipb4 = input_apipbInputBindings[4];
  EXPECT_EQ(pipb4[10].eEvent, 153u);
  EXPECT_EQ(pipb4[10].eFunction, 4u);
  EXPECT_EQ(pipb4[10].eTrigger, INPUT_TRIGGER_DOUBLE_TAP);
  EXPECT_EQ(pipb4[22].eEvent, 156u);
  EXPECT_EQ(pipb4[22].eFunction, 61u);
  const InputPortBinding* pipb12 = input_apipbInputBindings[12];
  EXPECT_EQ(pipb12[6].eEvent, 8u);
  EXPECT_EQ(pipb12[6].eFunction, 28u);
  EXPECT_EQ(pipb12[6].eTrigger, INPUT_TRIGGER_REPEAT);
  const InputPortBinding* pipb41 = input_apipbInputBindings[41];
  EXPECT_EQ(pipb41[15].eEvent, 158u);
  EXPECT_EQ(pipb41[15].eFunction, 16u);
  EXPECT_EQ(pipb41[15].eTrigger, INPUT_TRIGGER_RELEASE);

  // Every entry names a game function that reads a widget under the defaults,
  // with a known trigger kind.
  for (int32_t i : expected)
    for (const InputPortBinding* p = input_apipbInputBindings[i]; p->eTrigger != INPUT_TRIGGER_END; ++p) {
      EXPECT_LE(p->eFunction, 72u);
      EXPECT_GE(p->eTrigger, 1u);
      EXPECT_LE(p->eTrigger, 6u);
      for (int32_t c = 0; c < GMEWIDG_CONFIGS; ++c) EXPECT_NE(gmewidg_eGetWidget(static_cast<int32_t>(p->eFunction), c), 0) << i;
    }

  input_BindingTablesClear();
  for (const InputPortBinding* pipb : input_apipbInputBindings) EXPECT_EQ(pipb, nullptr);
}

TEST_F(PortsTest, WidgetMapDefaultsAndConfigurations) {
  const int32_t kDefaults[73] = {0,  27, 16, 15, 17, 20, 19, 18, 21, 22, 1,  2,  17, 21, 18, 19, 17, 19, 17,
                                 22, 24, 0,  0,  18, 20, 20, 18, 18, 3,  4,  1,  2,  21, 20, 21, 23, 22, 21,
                                 17, 24, 23, 18, 20, 19, 17, 20, 3,  4,  1,  2,  22, 24, 20, 18, 19, 17, 21,
                                 23, 16, 0,  24, 24, 22, 24, 17, 20, 21, 23, 24, 23, 16, 21, 23};
  for (int32_t c = 0; c < GMEWIDG_CONFIGS; ++c)
    for (int32_t f = 0; f < GMEWIDG_FUNCTIONS; ++f) EXPECT_EQ(gmewidg_eGetWidget(f, c), kDefaults[f]) << c << "/" << f;
  EXPECT_EQ(gmewidg_eGetWidget(73, 0), 0);
  EXPECT_EQ(gmewidg_eGetWidget(1, 3), 0);

  ::testing::internal::CaptureStdout();
  gmewidg_ConfigSet(1);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "config: 1\n");
  const int32_t kConfig1[][2] = {{4, 17},  {5, 18},  {6, 21},  {7, 22},  {8, 20},  {9, 19},  {10, 1},
                                 {11, 2},  {12, 18}, {13, 21}, {14, 20}, {15, 17}, {25, 20}, {72, 23},
                                 {61, 24}, {44, 17}, {45, 18}, {60, 24}, {69, 23}};
  for (const auto& fw : kConfig1) EXPECT_EQ(gmewidg_eGetWidget(fw[0], 1), fw[1]) << fw[0];
  EXPECT_EQ(gmewidg_eGetWidget(5, 0), 20);  // other configurations untouched

  gmewidg_WidgetSet(69, 17, 0);
  ::testing::internal::CaptureStdout();
  gmewidg_ConfigSet(0);
  ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(gmewidg_eGetWidget(69, 0), 23);
  gmewidg_WidgetSet(69, 17, 2);
  ::testing::internal::CaptureStdout();
  gmewidg_ConfigSet(2);
  ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(gmewidg_eGetWidget(69, 2), 17);  // configuration 2 leaves 69 alone
  EXPECT_EQ(gmewidg_eGetWidget(7, 2), 20);
  EXPECT_DEATH(gmewidg_ConfigSet(3), "Assertion failed: 0");
}

// A port in configuration 1 reads function 5 from widget 18 (entry 1's key).
TEST_F(PortsTest, PortsReadThroughTheirConfiguration) {
  static const InputPortBinding kTable[] = {{90, 5, INPUT_TRIGGER_PRESS}, {0, 0, INPUT_TRIGGER_END}};
  input_BindingTableSet(kTable, 40);
  ::testing::internal::CaptureStdout();
  gmewidg_ConfigSet(1);
  ::testing::internal::GetCapturedStdout();
  InputPort* pip = input_poGetPort(0);
  pip->cConfig = 1;
  Use(0, 40);
  platform::headlessKey(0x4D, true);  // entry 1: widget 18
  Frame();
  EXPECT_EQ(Drain(pip), std::vector<int32_t>{90});
  pip->cConfig = 0;  // function 5 is widget 20 (entry 3) there
  platform::headlessKey(0x4D, false);
  Frame();
  platform::headlessKey(0x4D, true);
  Frame();
  EXPECT_TRUE(Drain(pip).empty());
}

}  // namespace
