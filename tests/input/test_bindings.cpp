// The default binding tables and the game-widget map.
#include <stdlib.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ports_fixture.h"
#include "shell/debuglog.h"
#include "support/temp_dir.h"

namespace {

// What a call writes to the debug log; it must write nothing to standard
// output (a benchmark's report goes there).
std::string DebugLogOf(const std::function<void()>& fn) {
  const korvena_test::TempDir dir;
  const std::string path = dir / "debuglog.txt";
  setenv("KORVENA_DEBUG_LOG", path.c_str(), 1);
  debuglog_Reset();
  ::testing::internal::CaptureStdout();
  fn();
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  unsetenv("KORVENA_DEBUG_LOG");
  debuglog_Reset();
  std::ifstream in(path);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

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
  const int32_t kCounts[50] = {0, 3, 2, 11, 23, 0, 11, 12, 9, 4, 0, 12, 14, 11, 3, 3, 0, 12, 8, 2, 8, 0, 4, 10, 5,
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

// Every default table word for word, in table order: {event, function, kind}.
struct ExpectedTable {
  int32_t id;
  std::vector<std::array<uint32_t, 3>> entries;
};

TEST_F(PortsTest, EveryDefaultTableEntryByEntry) {
  constexpr uint32_t A = INPUT_TRIGGER_ALWAYS, P = INPUT_TRIGGER_PRESS, R = INPUT_TRIGGER_RELEASE,
                     H = INPUT_TRIGGER_HELD, T = INPUT_TRIGGER_REPEAT, D = INPUT_TRIGGER_DOUBLE_TAP;
  const ExpectedTable kTables[] = {
    {1, {{83, 3, R}, {83, 4, R}, {1, 3, R}}},
    {2, {{23, 1, A}, {37, 16, R}}},
    {3, {{137, 2, R}, {4, 3, R}, {33, 9, H}, {23, 1, A}, {25, 15, P}, {42, 14, P}, {127, 44, R}, {128, 45, R}, {46, 10, R}, {47, 11, R}, {168, 72, H}}},
    {4, {{137, 2, R}, {4, 3, R}, {23, 1, A}, {33, 9, H}, {53, 5, P}, {54, 5, H}, {55, 5, R}, {29, 7, P}, {30, 7, H}, {31, 7, R}, {153, 4, D}, {26, 4, P}, {27, 4, H}, {28, 4, R}, {48, 6, P}, {49, 6, H}, {50, 6, R}, {58, 8, P}, {59, 8, H}, {60, 8, R}, {45, 1, A}, {167, 69, D}, {156, 61, P}}},
    {6, {{137, 2, R}, {25, 15, P}, {33, 9, H}, {4, 3, R}, {23, 1, A}, {40, 12, P}, {41, 13, P}, {42, 14, P}, {46, 10, R}, {47, 11, R}, {168, 72, H}}},
    {7, {{137, 2, R}, {33, 9, H}, {4, 3, R}, {23, 1, A}, {25, 15, P}, {127, 44, R}, {128, 45, R}, {41, 13, P}, {42, 14, P}, {46, 10, R}, {47, 11, R}, {168, 72, H}}},
    {8, {{5, 3, R}, {6, 16, R}, {7, 17, R}, {34, 16, R}, {8, 28, P}, {9, 29, P}, {10, 30, P}, {11, 31, P}, {61, 33, R}}},
    {9, {{137, 2, R}, {23, 1, A}, {4, 3, R}, {25, 15, P}}},
    {11, {{37, 16, R}, {38, 17, R}, {35, 31, R}, {36, 30, R}, {98, 9, R}, {114, 2, R}, {56, 3, R}, {8, 28, R}, {9, 28, R}, {10, 30, R}, {11, 31, R}, {152, 58, R}}},
    {12, {{37, 16, R}, {38, 17, R}, {114, 70, R}, {169, 71, R}, {98, 9, R}, {56, 3, R}, {8, 28, T}, {9, 29, T}, {10, 30, T}, {11, 31, T}, {164, 66, R}, {165, 67, R}, {166, 68, R}, {152, 58, R}}},
    {13, {{37, 16, R}, {38, 17, R}, {56, 3, R}, {97, 8, R}, {98, 9, R}, {114, 2, R}, {8, 28, R}, {9, 29, R}, {10, 30, R}, {11, 31, R}, {152, 58, R}}},
    {14, {{23, 1, A}, {39, 16, R}, {38, 17, R}}},
    {15, {{23, 1, A}, {39, 16, H}, {38, 17, H}}},
    {16, {}},
    {17, {{37, 16, R}, {38, 17, R}, {57, 32, R}, {56, 3, R}, {61, 33, R}, {62, 26, R}, {114, 2, R}, {8, 28, T}, {9, 29, T}, {10, 30, R}, {11, 31, R}, {152, 58, R}}},
    {18, {{5, 3, R}, {6, 16, H}, {7, 17, R}, {34, 16, R}, {8, 28, H}, {9, 29, H}, {10, 30, H}, {11, 31, H}}},
    {19, {{63, 16, R}, {1, 3, R}}},
    {20, {{23, 1, A}, {64, 7, P}, {65, 7, H}, {66, 7, R}, {64, 4, P}, {65, 4, H}, {66, 4, R}, {4, 3, R}}},
    {22, {{23, 1, A}, {25, 15, P}, {4, 3, R}, {33, 9, H}}},
    {23, {{29, 7, P}, {30, 7, H}, {31, 7, R}, {26, 4, P}, {27, 4, H}, {28, 4, R}, {23, 1, A}, {33, 9, H}, {25, 15, P}, {4, 3, R}}},
    {24, {{23, 1, A}, {25, 15, P}, {4, 3, R}, {33, 9, H}, {40, 12, P}}},
    {25, {{71, 4, P}, {72, 4, H}, {73, 4, R}, {23, 1, A}, {93, 34, R}, {94, 19, R}, {25, 15, P}, {4, 3, R}, {33, 9, H}}},
    {26, {{137, 2, R}, {4, 3, R}, {77, 7, P}, {78, 7, H}, {79, 7, R}, {74, 4, P}, {75, 4, H}, {76, 4, R}, {45, 1, A}, {95, 25, R}}},
    {27, {{37, 16, R}, {6, 16, R}, {8, 28, R}, {9, 29, R}}},
    {28, {{23, 1, A}, {80, 16, R}, {82, 24, R}, {81, 23, R}, {96, 17, R}, {83, 3, R}}},
    {29, {{23, 1, A}, {88, 34, H}, {89, 35, H}, {90, 19, H}, {91, 20, H}, {92, 18, H}, {113, 43, R}, {83, 3, R}}},
    {30, {{4, 3, R}, {83, 2, R}}},
    {31, {{106, 30, H}, {107, 31, H}, {104, 28, H}, {105, 29, H}, {99, 36, R}, {100, 37, R}, {101, 38, R}, {83, 3, R}, {102, 39, H}, {103, 40, H}, {109, 42, R}, {113, 43, R}}},
    {32, {{29, 7, P}, {30, 7, H}, {31, 7, R}, {26, 4, P}, {27, 4, H}, {28, 4, R}, {4, 3, R}, {23, 1, A}, {33, 9, H}, {25, 15, P}, {152, 58, R}}},
    {33, {{23, 1, A}, {129, 5, P}, {130, 5, H}, {131, 5, R}, {129, 4, P}, {130, 4, H}, {131, 4, R}, {4, 3, R}, {152, 58, R}}},
    {34, {{1, 4, R}}},
    {35, {{23, 1, A}, {83, 3, R}, {120, 4, R}, {121, 5, R}, {122, 6, R}, {123, 7, R}, {124, 9, H}, {125, 60, H}, {4, 3, R}, {152, 58, R}}},
    {36, {{83, 4, R}}},
    {37, {{129, 5, P}, {130, 5, H}, {131, 5, R}, {45, 1, A}, {4, 3, R}}},
    {38, {{4, 3, P}, {23, 1, A}, {135, 4, P}, {135, 4, H}, {135, 4, R}}},
    {39, {{4, 3, R}, {23, 1, A}}},
    {40, {{37, 16, R}, {138, 3, R}}},
    {41, {{139, 3, R}, {140, 46, H}, {141, 47, H}, {142, 48, H}, {143, 49, H}, {144, 56, H}, {145, 57, H}, {146, 52, H}, {147, 53, H}, {148, 54, H}, {149, 55, H}, {150, 50, H}, {151, 51, H}, {152, 58, R}, {158, 3, R}, {158, 16, R}}},
    {42, {{37, 16, R}, {38, 17, R}, {56, 3, R}, {97, 8, R}, {98, 9, R}, {114, 2, R}, {157, 27, R}, {8, 28, T}, {9, 29, T}, {10, 30, T}, {11, 31, T}, {152, 58, R}}},
    {43, {}},
    {44, {{37, 16, R}, {6, 16, R}, {8, 28, R}, {9, 29, R}}},
    {45, {{158, 3, R}, {158, 16, R}}},
    {46, {{8, 28, H}, {9, 29, H}, {37, 16, R}, {38, 17, R}, {114, 2, R}, {98, 9, R}, {56, 3, P}}},
    {47, {{161, 3, R}}},
    {48, {{162, 64, P}, {23, 1, A}}},
    {49, {{4, 3, R}, {23, 1, A}, {29, 7, P}, {30, 7, H}, {31, 7, R}, {26, 4, P}, {27, 4, H}, {28, 4, R}, {163, 65, R}}},
  };
  EXPECT_EQ(std::size(kTables), 46u);
  for (const ExpectedTable& t : kTables) {
    const InputPortBinding* pipb = input_apipbInputBindings[t.id];
    ASSERT_NE(pipb, nullptr) << "table " << t.id;
    for (size_t i = 0; i < t.entries.size(); ++i) {
      EXPECT_EQ(pipb[i].eEvent, t.entries[i][0]) << "table " << t.id << " entry " << i;
      EXPECT_EQ(pipb[i].eFunction, t.entries[i][1]) << "table " << t.id << " entry " << i;
      EXPECT_EQ(pipb[i].eTrigger, t.entries[i][2]) << "table " << t.id << " entry " << i;
    }
    EXPECT_EQ(pipb[t.entries.size()].eTrigger, INPUT_TRIGGER_END) << "table " << t.id << " ends";
  }
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

  EXPECT_EQ(DebugLogOf([] { gmewidg_ConfigSet(1); }), "config: 1\n");
  const int32_t kConfig1[][2] = {{4, 17},  {5, 18},  {6, 21},  {7, 22},  {8, 20},  {9, 19},  {10, 1},
                                 {11, 2},  {12, 18}, {13, 21}, {14, 20}, {15, 17}, {25, 20}, {72, 23},
                                 {61, 24}, {44, 17}, {45, 18}, {60, 24}, {69, 23}};
  for (const auto& fw : kConfig1) EXPECT_EQ(gmewidg_eGetWidget(fw[0], 1), fw[1]) << fw[0];
  EXPECT_EQ(gmewidg_eGetWidget(5, 0), 20);  // other configurations untouched

  // Configurations 0 and 2 rewritten from values that differ from theirs.
  const int32_t kConfigFunctions[] = {4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 25, 72, 61, 44, 45, 60};
  const int32_t kConfig0[] = {17, 20, 19, 18, 21, 22, 1, 2, 17, 21, 18, 19, 20, 23, 24, 17, 20, 24};
  const int32_t kConfig1b[] = {17, 18, 21, 22, 20, 19, 1, 2, 18, 21, 20, 17, 20, 23, 24, 17, 18, 24};
  const int32_t kConfig2[] = {17, 18, 19, 20, 21, 22, 1, 2, 17, 21, 20, 19, 20, 23, 24, 17, 18, 24};
  for (int32_t c : {0, 1, 2})
    for (int32_t f : kConfigFunctions) gmewidg_WidgetSet(f, 5, c);
  EXPECT_EQ(DebugLogOf([] {
              gmewidg_ConfigSet(0);
              gmewidg_ConfigSet(1);
              gmewidg_ConfigSet(2);
            }),
            "config: 0\nconfig: 1\nconfig: 2\n");
  for (size_t i = 0; i < std::size(kConfigFunctions); ++i) {
    EXPECT_EQ(gmewidg_eGetWidget(kConfigFunctions[i], 0), kConfig0[i]) << kConfigFunctions[i];
    EXPECT_EQ(gmewidg_eGetWidget(kConfigFunctions[i], 1), kConfig1b[i]) << kConfigFunctions[i];
    EXPECT_EQ(gmewidg_eGetWidget(kConfigFunctions[i], 2), kConfig2[i]) << kConfigFunctions[i];
  }
  EXPECT_EQ(gmewidg_eGetWidget(3, 0), 15);  // functions outside the rows keep their widgets

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

namespace {

// Each default key of the keyboard port drives its own widget and no other
// (the stick follows the direction keys).
TEST_F(PortsTest, EveryKeyboardEntryReadsItsWidget) {
  InputPort* pip = input_poGetPort(0);
  // Map entry -> widget: 0..7 -> 17..24, 8 -> 15, 9 -> 16, 10..13 -> 1..4.
  const int32_t kWidgetOfEntry[14] = {17, 18, 19, 20, 21, 22, 23, 24, 15, 16, 1, 2, 3, 4};
  const int32_t kStickOfEntry[14] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, (90 << 16) | 128, (270 << 16) | 128, 128, (180 << 16) | 128};
  for (int32_t e = 0; e < 14; ++e) {
    platform::headlessKey(pip->aoKeyMap[e].cKey, true);
    QKeyboardPoll();
    for (int32_t w = 0; w <= 27; ++w) {
      int32_t iExpected = w == kWidgetOfEntry[e] ? 1 : 0;
      if (w == INPUT_WIDGET_STICK) iExpected = kStickOfEntry[e];
      EXPECT_EQ(input_PCControllerRead(w, pip), iExpected) << "entry " << e << " widget " << w;
    }
    platform::headlessKey(pip->aoKeyMap[e].cKey, false);
    QKeyboardPoll();
  }
  // An entry with neither flag reads 0 even when its key is down.
  pip->aoKeyMap[0].cFlags = 0;
  platform::headlessKey(pip->aoKeyMap[0].cKey, true);
  QKeyboardPoll();
  EXPECT_EQ(input_PCControllerRead(17, pip), 0);
}

// A joystick port: buttons read as the device's button bytes, the directions
// from the axes past their thresholds, the analogue axes only with their own
// entries' joystick flags.
TEST_F(PortsTest, JoystickEntriesReadButtonsAxesAndThresholds) {
  platform::headlessJoystickPlug("Pad", 6, 12, 1);
  QInputJoystickCloseAll();
  input_PortsInit();
  input_DefaultBindingsRegister();
  InputPort* pip = Use(1, 13);
  const int32_t kWidgetOfButton[10] = {17, 18, 19, 20, 21, 22, 23, 24, 15, 16};
  for (int32_t b = 0; b < 10; ++b) {
    platform::headlessJoystickButton(0, b, true);
    Frame();
    for (int32_t w = 15; w <= 24; ++w)
      EXPECT_EQ(input_PCControllerRead(w, pip), w == kWidgetOfButton[b] ? 0x80 : 0) << "button " << b << " widget " << w;
    platform::headlessJoystickButton(0, b, false);
  }
  // The lowest button down is the first pressed one.
  platform::headlessJoystickButton(0, 5, true);
  platform::headlessJoystickButton(0, 3, true);
  input_iGetFirstPressedButton(pip);
  Frame();
  EXPECT_EQ(input_iGetFirstPressedButton(pip), 3);
  platform::headlessJoystickButton(0, 5, false);
  platform::headlessJoystickButton(0, 3, false);

  struct Case {
    int32_t x, y;
    int32_t left, right, up, down;
  };
  const Case kCases[] = {{-16384, -16384, 1, 0, 1, 0}, {16384, 16384, 0, 1, 0, 1}, {-16383, -16383, 0, 0, 0, 0},
                         {16383, 16383, 0, 0, 0, 0},   {0, 0, 0, 0, 0, 0}};
  for (const Case& c : kCases) {
    platform::headlessJoystickAxis(0, 0, c.x);
    platform::headlessJoystickAxis(0, 1, c.y);
    Frame();
    EXPECT_EQ(input_PCControllerRead(INPUT_WIDGET_LEFT, pip), c.left) << c.x;
    EXPECT_EQ(input_PCControllerRead(INPUT_WIDGET_RIGHT, pip), c.right) << c.x;
    EXPECT_EQ(input_PCControllerRead(INPUT_WIDGET_UP, pip), c.up) << c.y;
    EXPECT_EQ(input_PCControllerRead(INPUT_WIDGET_DOWN, pip), c.down) << c.y;
  }
  platform::headlessJoystickAxis(0, 0, 20000);
  platform::headlessJoystickAxis(0, 1, -30000);
  Frame();
  pip->aoKeyMap[14].cFlags = 0;  // X off: widget 11 reads 0 and the stick comes from the directions
  EXPECT_EQ(input_PCControllerRead(INPUT_WIDGET_ANALOGUE_X, pip), 0);
  EXPECT_EQ(input_PCControllerRead(INPUT_WIDGET_ANALOGUE_Y, pip), 30000);
  EXPECT_EQ(input_PCControllerRead(INPUT_WIDGET_STICK, pip), (315 << 16) | 128);
  pip->aoKeyMap[14].cFlags = INPUT_KEYMAP_JOYSTICK;
  pip->aoKeyMap[15].cFlags = 0;  // Y off
  EXPECT_EQ(input_PCControllerRead(INPUT_WIDGET_ANALOGUE_X, pip), 20000);
  EXPECT_EQ(input_PCControllerRead(INPUT_WIDGET_ANALOGUE_Y, pip), 0);
  EXPECT_EQ(input_PCControllerRead(INPUT_WIDGET_UP, pip), 1);  // the directions keep their own entries
}

// A switch of tables leaves alone a widget whose double tap was reported in
// this very frame, and the stick.
TEST_F(PortsTest, SwitchingTablesKeepsThisFramesDoubleTapAndTheStick) {
  static const InputPortBinding kTap[] = {{13, 4, INPUT_TRIGGER_DOUBLE_TAP}, {14, 1, INPUT_TRIGGER_ALWAYS}, {0, 0, INPUT_TRIGGER_END}};
  static const InputPortBinding kNext[] = {{20, 4, INPUT_TRIGGER_RELEASE}, {21, 1, INPUT_TRIGGER_ALWAYS}, {0, 0, INPUT_TRIGGER_END}};
  input_BindingTableSet(kTap, 40);
  input_BindingTableSet(kNext, 41);
  InputPort* pip = Use(0, 40);
  const bool abDown[] = {true, false, true, false};
  for (bool bDown : abDown) {
    platform::headlessKey(kKeyEntry0, bDown);
    platform::headlessKey(kKeyLeft, true);
    Frame();
  }
  EXPECT_EQ(Drain(pip), (std::vector<int32_t>{14, 14, 14, 13, 14}));
  ASSERT_EQ(pip->aoWidget[17].iTapState, 2);
  input_PortBindingSet(41, pip);
  EXPECT_EQ(pip->aoWidget[17].iTapState, 2);
  EXPECT_EQ(pip->aoWidget[17].iPrevious, 0x1);
  EXPECT_EQ(pip->aoWidget[INPUT_WIDGET_STICK].iCurrent, (90 << 16) | 128);
  // One frame later the same switch clears it.
  input_PortBindingSet(40, pip);
  Frame();
  pip->aoWidget[17].iPrevious = 1;
  pip->aoWidget[17].iTapState = 2;
  pip->aoWidget[17].iTapStamp = input_iGetFrame() - 1;
  input_PortBindingSet(41, pip);
  EXPECT_EQ(pip->aoWidget[17].iTapState, 0);
  EXPECT_EQ(pip->aoWidget[17].iPrevious, 0);
  EXPECT_EQ(pip->aoWidget[INPUT_WIDGET_STICK].iCurrent, (90 << 16) | 128);
  Drain(pip);

  // Re-initialising the ports empties their queues.
  Frame();
  EXPECT_NE(pip->oEvents.pHead, nullptr);
  input_PortsReinit();
  EXPECT_EQ(pip->oEvents.pHead, nullptr);
  EXPECT_EQ(input_iGetFreeEventCount(), INPUT_EVENT_POOL_SIZE);
}

// The assertions name what failed: a binding id past the table of tables, a
// port in use without an active table.
TEST_F(PortsTest, AssertionsNameTheirConditions) {
  InputPort* pip = input_poGetPort(0);
  EXPECT_DEATH(input_PortBindingSet(50, pip), "Assertion failed: eBinding < INPUT_PORT_BINDINGS_MAX,");
  pip->bInUse = 1;
  pip->pipbInputPortBinding = nullptr;
  EXPECT_DEATH(input_PortsRead(), "Assertion failed: pipbInputPortBinding != NULL,");
}

// After a restore the active table is the saved one even though the id was
// not restored: setting the id in between makes its table active again. A
// port that never had a table takes one for id 0.
TEST_F(PortsTest, SettingAnIdAfterARestoreMakesItsTableActive) {
  InputPort* pip = Use(0, 13);
  input_PortBindingSave(pip);
  input_PortBindingSet(8, pip);
  EXPECT_EQ(pip->pipbInputPortBinding, input_apipbInputBindings[8]);
  input_PortBindingRestore(pip);
  EXPECT_EQ(pip->pipbInputPortBinding, input_apipbInputBindings[13]);
  input_PortBindingSet(8, pip);
  EXPECT_EQ(pip->pipbInputPortBinding, input_apipbInputBindings[8]);
  EXPECT_EQ(pip->eBinding, 8);

  InputPort* pFresh = input_poGetPort(1);
  ASSERT_EQ(pFresh->pipbInputPortBinding, nullptr);
  input_PortBindingSet(0, pFresh);
  EXPECT_EQ(pFresh->pipbInputPortBinding, input_apipbInputBindings[1]);
}

// Tap state 2 lasts only the frame of the double tap: a press in the next
// frame is a press again. Clearing and re-initialising the ports.
TEST_F(PortsTest, DoubleTapStateLastsItsFrameAndPortsClearAndReinit) {
  static const InputPortBinding kTable[] = {{13, 4, INPUT_TRIGGER_DOUBLE_TAP}, {10, 4, INPUT_TRIGGER_PRESS}, {0, 0, INPUT_TRIGGER_END}};
  input_BindingTableSet(kTable, 40);
  InputPort* pip = Use(0, 40);
  const bool abDown[] = {true, false, true, false, true};
  const std::vector<int32_t> kExpected[] = {{10}, {}, {10}, {13}, {10}};
  for (size_t f = 0; f < std::size(abDown); ++f) {
    platform::headlessKey(kKeyEntry0, abDown[f]);
    Frame();
    EXPECT_EQ(Drain(pip), kExpected[f]) << "frame " << f;
  }

  User oUser{};
  pip->pusr = &oUser;
  pip->iIndex = 7;
  input_PortsClear();
  EXPECT_EQ(pip->iIndex, 0);
  EXPECT_EQ(pip->bInUse, 0);
  EXPECT_EQ(pip->bEventsEnabled, 0);
  EXPECT_EQ(pip->pusr, nullptr);
  EXPECT_EQ(input_poGetPort(7)->iIndex, 7);
  pip->pusr = &oUser;
  input_PortsReinit();
  EXPECT_EQ(pip->bInUse, 1);
  EXPECT_EQ(pip->bEventsEnabled, 1);
  EXPECT_EQ(pip->pusr, nullptr);
  EXPECT_EQ(input_poGetPort(1)->bInUse, 0);  // only ports below the port count
}

}  // namespace
