// The default binding tables: each entry is {event code, game function,
// trigger kind}; every table ends with an explicit terminator.
#include "shell/input.h"

namespace {

constexpr uint32_t kAlways = INPUT_TRIGGER_ALWAYS;
constexpr uint32_t kPress = INPUT_TRIGGER_PRESS;
constexpr uint32_t kRelease = INPUT_TRIGGER_RELEASE;
constexpr uint32_t kHeld = INPUT_TRIGGER_HELD;
constexpr uint32_t kRepeat = INPUT_TRIGGER_REPEAT;
constexpr uint32_t kDoubleTap = INPUT_TRIGGER_DOUBLE_TAP;
constexpr InputPortBinding kEnd = {0, 0, INPUT_TRIGGER_END};

// 1: made active for front-end entry, title, intro, history hub, replay mode 1, in-match set-up
constexpr InputPortBinding s_aipb01[] = {{83, 3, kRelease}, {83, 4, kRelease}, {1, 3, kRelease}, kEnd};
// 2: made active for goal celebration
constexpr InputPortBinding s_aipb02[] = {{23, 1, kAlways}, {37, 16, kRelease}, kEnd};
// 3: made active for open play: team attacks, ball held by another
constexpr InputPortBinding s_aipb03[] = {{137, 2, kRelease}, {4, 3, kRelease}, {33, 9, kHeld}, {23, 1, kAlways}, {25, 15, kPress}, {42, 14, kPress}, {127, 44, kRelease}, {128, 45, kRelease}, {46, 10, kRelease}, {47, 11, kRelease}, {168, 72, kHeld}, kEnd};
// 4: made active for open play: user holds the ball
constexpr InputPortBinding s_aipb04[] = {{137, 2, kRelease}, {4, 3, kRelease}, {23, 1, kAlways}, {33, 9, kHeld}, {53, 5, kPress}, {54, 5, kHeld}, {55, 5, kRelease}, {29, 7, kPress}, {30, 7, kHeld}, {31, 7, kRelease}, {153, 4, kDoubleTap}, {26, 4, kPress}, {27, 4, kHeld}, {28, 4, kRelease}, {48, 6, kPress}, {49, 6, kHeld}, {50, 6, kRelease}, {58, 8, kPress}, {59, 8, kHeld}, {60, 8, kRelease}, {45, 1, kAlways}, {167, 69, kDoubleTap}, {156, 61, kPress}, kEnd};
// 6: made active for open play: team defends, ball held; free kick; keeper with the ball
constexpr InputPortBinding s_aipb06[] = {{137, 2, kRelease}, {25, 15, kPress}, {33, 9, kHeld}, {4, 3, kRelease}, {23, 1, kAlways}, {40, 12, kPress}, {41, 13, kPress}, {42, 14, kPress}, {46, 10, kRelease}, {47, 11, kRelease}, {168, 72, kHeld}, kEnd};
// 7: made active for open play: nobody holds the ball
constexpr InputPortBinding s_aipb07[] = {{137, 2, kRelease}, {33, 9, kHeld}, {4, 3, kRelease}, {23, 1, kAlways}, {25, 15, kPress}, {127, 44, kRelease}, {128, 45, kRelease}, {41, 13, kPress}, {42, 14, kPress}, {46, 10, kRelease}, {47, 11, kRelease}, {168, 72, kHeld}, kEnd};
// 8: made active for pause menu, substitutions, formation change
constexpr InputPortBinding s_aipb08[] = {{5, 3, kRelease}, {6, 16, kRelease}, {7, 17, kRelease}, {34, 16, kRelease}, {8, 28, kPress}, {9, 29, kPress}, {10, 30, kPress}, {11, 31, kPress}, {61, 33, kRelease}, kEnd};
// 9: made active for open play start and user input; marker homing
constexpr InputPortBinding s_aipb09[] = {{137, 2, kRelease}, {23, 1, kAlways}, {4, 3, kRelease}, {25, 15, kPress}, kEnd};
// 11: made active for choose sides
constexpr InputPortBinding s_aipb11[] = {{37, 16, kRelease}, {38, 17, kRelease}, {35, 31, kRelease}, {36, 30, kRelease}, {98, 9, kRelease}, {114, 2, kRelease}, {56, 3, kRelease}, {8, 28, kRelease}, {9, 28, kRelease}, {10, 30, kRelease}, {11, 31, kRelease}, {152, 58, kRelease}, kEnd};
// 12: made active for history hub and roll of honour
constexpr InputPortBinding s_aipb12[] = {{37, 16, kRelease}, {38, 17, kRelease}, {114, 70, kRelease}, {169, 71, kRelease}, {98, 9, kRelease}, {56, 3, kRelease}, {8, 28, kRepeat}, {9, 29, kRepeat}, {10, 30, kRepeat}, {11, 31, kRepeat}, {164, 66, kRelease}, {165, 67, kRelease}, {166, 68, kRelease}, {152, 58, kRelease}, kEnd};
// 13: made active for menus (main menu, options, conditions, save, load, controls, history screens)
constexpr InputPortBinding s_aipb13[] = {{37, 16, kRelease}, {38, 17, kRelease}, {56, 3, kRelease}, {97, 8, kRelease}, {98, 9, kRelease}, {114, 2, kRelease}, {8, 28, kRelease}, {9, 29, kRelease}, {10, 30, kRelease}, {11, 31, kRelease}, {152, 58, kRelease}, kEnd};
// 14
constexpr InputPortBinding s_aipb14[] = {{23, 1, kAlways}, {39, 16, kRelease}, {38, 17, kRelease}, kEnd};
// 15
constexpr InputPortBinding s_aipb15[] = {{23, 1, kAlways}, {39, 16, kHeld}, {38, 17, kHeld}, kEnd};
// 16: made active for open play start
constexpr InputPortBinding s_aipb16[] = {kEnd};
// 17: made active for team-sheet display
constexpr InputPortBinding s_aipb17[] = {{37, 16, kRelease}, {38, 17, kRelease}, {57, 32, kRelease}, {56, 3, kRelease}, {61, 33, kRelease}, {62, 26, kRelease}, {114, 2, kRelease}, {8, 28, kRepeat}, {9, 29, kRepeat}, {10, 30, kRelease}, {11, 31, kRelease}, {152, 58, kRelease}, kEnd};
// 18
constexpr InputPortBinding s_aipb18[] = {{5, 3, kRelease}, {6, 16, kHeld}, {7, 17, kRelease}, {34, 16, kRelease}, {8, 28, kHeld}, {9, 29, kHeld}, {10, 30, kHeld}, {11, 31, kHeld}, kEnd};
// 19
// Start released opens the pause menu at the kick-off for the side in
// possession too, as it does for the other side (event 1 of table 1).
constexpr InputPortBinding s_aipb19[] = {{63, 16, kRelease}, {1, 3, kRelease}, kEnd};
// 20
constexpr InputPortBinding s_aipb20[] = {{23, 1, kAlways}, {64, 7, kPress}, {65, 7, kHeld}, {66, 7, kRelease}, {64, 4, kPress}, {65, 4, kHeld}, {66, 4, kRelease}, {4, 3, kRelease}, kEnd};
// 22: made active for corner, goal kick, keeper's hands
constexpr InputPortBinding s_aipb22[] = {{23, 1, kAlways}, {25, 15, kPress}, {4, 3, kRelease}, {33, 9, kHeld}, kEnd};
// 23: made active for corner
constexpr InputPortBinding s_aipb23[] = {{29, 7, kPress}, {30, 7, kHeld}, {31, 7, kRelease}, {26, 4, kPress}, {27, 4, kHeld}, {28, 4, kRelease}, {23, 1, kAlways}, {33, 9, kHeld}, {25, 15, kPress}, {4, 3, kRelease}, kEnd};
// 24
constexpr InputPortBinding s_aipb24[] = {{23, 1, kAlways}, {25, 15, kPress}, {4, 3, kRelease}, {33, 9, kHeld}, {40, 12, kPress}, kEnd};
// 25
constexpr InputPortBinding s_aipb25[] = {{71, 4, kPress}, {72, 4, kHeld}, {73, 4, kRelease}, {23, 1, kAlways}, {93, 34, kRelease}, {94, 19, kRelease}, {25, 15, kPress}, {4, 3, kRelease}, {33, 9, kHeld}, kEnd};
// 26: made active for keeper with the ball
constexpr InputPortBinding s_aipb26[] = {{137, 2, kRelease}, {4, 3, kRelease}, {77, 7, kPress}, {78, 7, kHeld}, {79, 7, kRelease}, {74, 4, kPress}, {75, 4, kHeld}, {76, 4, kRelease}, {45, 1, kAlways}, {95, 25, kRelease}, kEnd};
// 27: made active for walk-on
constexpr InputPortBinding s_aipb27[] = {{37, 16, kRelease}, {6, 16, kRelease}, {8, 28, kRelease}, {9, 29, kRelease}, kEnd};
// 28
constexpr InputPortBinding s_aipb28[] = {{23, 1, kAlways}, {80, 16, kRelease}, {82, 24, kRelease}, {81, 23, kRelease}, {96, 17, kRelease}, {83, 3, kRelease}, kEnd};
// 29
constexpr InputPortBinding s_aipb29[] = {{23, 1, kAlways}, {88, 34, kHeld}, {89, 35, kHeld}, {90, 19, kHeld}, {91, 20, kHeld}, {92, 18, kHeld}, {113, 43, kRelease}, {83, 3, kRelease}, kEnd};
// 30: made active for return to positions, set-piece script
constexpr InputPortBinding s_aipb30[] = {{4, 3, kRelease}, {83, 2, kRelease}, kEnd};
// 31: made active for replay
constexpr InputPortBinding s_aipb31[] = {{106, 30, kHeld}, {107, 31, kHeld}, {104, 28, kHeld}, {105, 29, kHeld}, {99, 36, kRelease}, {100, 37, kRelease}, {101, 38, kRelease}, {83, 3, kRelease}, {102, 39, kHeld}, {103, 40, kHeld}, {109, 42, kRelease}, {113, 43, kRelease}, kEnd};
// 32: made active for free kick
constexpr InputPortBinding s_aipb32[] = {{29, 7, kPress}, {30, 7, kHeld}, {31, 7, kRelease}, {26, 4, kPress}, {27, 4, kHeld}, {28, 4, kRelease}, {4, 3, kRelease}, {23, 1, kAlways}, {33, 9, kHeld}, {25, 15, kPress}, {152, 58, kRelease}, kEnd};
// 33: made active for penalty, shoot-out
constexpr InputPortBinding s_aipb33[] = {{23, 1, kAlways}, {129, 5, kPress}, {130, 5, kHeld}, {131, 5, kRelease}, {129, 4, kPress}, {130, 4, kHeld}, {131, 4, kRelease}, {4, 3, kRelease}, {152, 58, kRelease}, kEnd};
// 34
constexpr InputPortBinding s_aipb34[] = {{1, 4, kRelease}, kEnd};
// 35: made active for goal celebration
constexpr InputPortBinding s_aipb35[] = {{23, 1, kAlways}, {83, 3, kRelease}, {120, 4, kRelease}, {121, 5, kRelease}, {122, 6, kRelease}, {123, 7, kRelease}, {124, 9, kHeld}, {125, 60, kHeld}, {4, 3, kRelease}, {152, 58, kRelease}, kEnd};
// 36
constexpr InputPortBinding s_aipb36[] = {{83, 4, kRelease}, kEnd};
// 37
constexpr InputPortBinding s_aipb37[] = {{129, 5, kPress}, {130, 5, kHeld}, {131, 5, kRelease}, {45, 1, kAlways}, {4, 3, kRelease}, kEnd};
// 38
constexpr InputPortBinding s_aipb38[] = {{4, 3, kPress}, {23, 1, kAlways}, {135, 4, kPress}, {135, 4, kHeld}, {135, 4, kRelease}, kEnd};
// 39
constexpr InputPortBinding s_aipb39[] = {{4, 3, kRelease}, {23, 1, kAlways}, kEnd};
// 40
constexpr InputPortBinding s_aipb40[] = {{37, 16, kRelease}, {138, 3, kRelease}, kEnd};
// 41
constexpr InputPortBinding s_aipb41[] = {{139, 3, kRelease}, {140, 46, kHeld}, {141, 47, kHeld}, {142, 48, kHeld}, {143, 49, kHeld}, {144, 56, kHeld}, {145, 57, kHeld}, {146, 52, kHeld}, {147, 53, kHeld}, {148, 54, kHeld}, {149, 55, kHeld}, {150, 50, kHeld}, {151, 51, kHeld}, {152, 58, kRelease}, {158, 3, kRelease}, {158, 16, kRelease}, kEnd};
// 42: made active for groups and tables
constexpr InputPortBinding s_aipb42[] = {{37, 16, kRelease}, {38, 17, kRelease}, {56, 3, kRelease}, {97, 8, kRelease}, {98, 9, kRelease}, {114, 2, kRelease}, {157, 27, kRelease}, {8, 28, kRepeat}, {9, 29, kRepeat}, {10, 30, kRepeat}, {11, 31, kRepeat}, {152, 58, kRelease}, kEnd};
// 43: made active for team-sheet display, World Cup screens
constexpr InputPortBinding s_aipb43[] = {kEnd};
// 45: made active for demo set-up, attract movie start, open play start
constexpr InputPortBinding s_aipb45[] = {{158, 3, kRelease}, {158, 16, kRelease}, kEnd};
// 46: made active for news, rules help
constexpr InputPortBinding s_aipb46[] = {{8, 28, kHeld}, {9, 29, kHeld}, {37, 16, kRelease}, {38, 17, kRelease}, {114, 2, kRelease}, {98, 9, kRelease}, {56, 3, kPress}, kEnd};
// 47: made active for history intro, attract movie, World Cup intro
constexpr InputPortBinding s_aipb47[] = {{161, 3, kRelease}, kEnd};
// 48: made active for penalty, shoot-out
constexpr InputPortBinding s_aipb48[] = {{162, 64, kPress}, {23, 1, kAlways}, kEnd};
// 49
constexpr InputPortBinding s_aipb49[] = {{4, 3, kRelease}, {23, 1, kAlways}, {29, 7, kPress}, {30, 7, kHeld}, {31, 7, kRelease}, {26, 4, kPress}, {27, 4, kHeld}, {28, 4, kRelease}, {163, 65, kRelease}, kEnd};

}  // namespace

void input_DefaultBindingsRegister() {
  input_BindingTableSet(s_aipb01, 1);
  input_BindingTableSet(s_aipb02, 2);
  input_BindingTableSet(s_aipb03, 3);
  input_BindingTableSet(s_aipb04, 4);
  input_BindingTableSet(s_aipb06, 6);
  input_BindingTableSet(s_aipb07, 7);
  input_BindingTableSet(s_aipb08, 8);
  input_BindingTableSet(s_aipb09, 9);
  input_BindingTableSet(s_aipb11, 11);
  input_BindingTableSet(s_aipb12, 12);
  input_BindingTableSet(s_aipb13, 13);
  input_BindingTableSet(s_aipb14, 14);
  input_BindingTableSet(s_aipb15, 15);
  input_BindingTableSet(s_aipb16, 16);
  input_BindingTableSet(s_aipb17, 17);
  input_BindingTableSet(s_aipb18, 18);
  input_BindingTableSet(s_aipb19, 19);
  input_BindingTableSet(s_aipb20, 20);
  for (int32_t i = 22; i <= 49; ++i) {
    static const InputPortBinding* const kTables[] = {
        s_aipb22, s_aipb23, s_aipb24, s_aipb25, s_aipb26, s_aipb27, s_aipb28, s_aipb29, s_aipb30, s_aipb31,
        s_aipb32, s_aipb33, s_aipb34, s_aipb35, s_aipb36, s_aipb37, s_aipb38, s_aipb39, s_aipb40, s_aipb41,
        s_aipb42, s_aipb43, s_aipb27 /* 44 shares the walk-on table */, s_aipb45, s_aipb46, s_aipb47, s_aipb48, s_aipb49};
    input_BindingTableSet(kTables[i - 22], i);
  }
}
