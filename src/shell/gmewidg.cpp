// The game-widget map and its three control configurations.
#include "shell/gmewidg.h"


#include "framework/qdx_assert.h"
#include "shell/debuglog.h"

int32_t gmewidg_aaeWidgetMap[GMEWIDG_CONFIGS][GMEWIDG_FUNCTIONS];

namespace {

// Game function -> widget, the same for every configuration at start;
// functions 0, 21, 22 and 59 are read from no widget.
constexpr int32_t kDefaultMap[GMEWIDG_FUNCTIONS] = {
    0,  27, 16, 15, 17, 20, 19, 18, 21, 22,  //  0- 9
    1,  2,  17, 21, 18, 19, 17, 19, 17, 22,  // 10-19
    24, 0,  0,  18, 20, 20, 18, 18, 3,  4,   // 20-29
    1,  2,  21, 20, 21, 23, 22, 21, 17, 24,  // 30-39
    23, 18, 20, 19, 17, 20, 3,  4,  1,  2,   // 40-49
    22, 24, 20, 18, 19, 17, 21, 23, 16, 0,   // 50-59
    24, 24, 22, 24, 17, 20, 21, 23, 24, 23,  // 60-69
    16, 21, 23,                              // 70-72
};

struct ConfigRow {
  int32_t eFunction;
  int32_t aeWidget[GMEWIDG_CONFIGS];  // 0: unchanged in that configuration
};

constexpr ConfigRow kConfigRows[] = {
    {4, {17, 17, 17}},  {5, {20, 18, 18}},  {6, {19, 21, 19}},  {7, {18, 22, 20}},  {8, {21, 20, 21}},
    {9, {22, 19, 22}},  {10, {1, 1, 1}},    {11, {2, 2, 2}},    {12, {17, 18, 17}}, {13, {21, 21, 21}},
    {14, {18, 20, 20}}, {15, {19, 17, 19}}, {25, {20, 20, 20}}, {72, {23, 23, 23}}, {61, {24, 24, 24}},
    {44, {17, 17, 17}}, {45, {20, 18, 18}}, {60, {24, 24, 24}}, {69, {23, 0, 0}},
};

}  // namespace

void gmewidg_DefaultsSet() {
  for (int32_t c = 0; c < GMEWIDG_CONFIGS; ++c)
    for (int32_t f = 0; f < GMEWIDG_FUNCTIONS; ++f) gmewidg_aaeWidgetMap[c][f] = kDefaultMap[f];
}

void gmewidg_WidgetSet(int32_t eFunction, int32_t eWidget, int32_t cConfig) {
  QDX_ASSERT(eFunction >= 0 && eFunction < GMEWIDG_FUNCTIONS);
  QDX_ASSERT(cConfig >= 0 && cConfig < GMEWIDG_CONFIGS);
  QDX_ASSERT(eWidget >= 0 && eWidget <= 27);
  gmewidg_aaeWidgetMap[cConfig][eFunction] = eWidget;
}

int32_t gmewidg_eGetWidget(int32_t eFunction, int32_t cConfig) {
  if (eFunction < 0 || eFunction >= GMEWIDG_FUNCTIONS || cConfig < 0 || cConfig >= GMEWIDG_CONFIGS) return 0;
  return gmewidg_aaeWidgetMap[cConfig][eFunction];
}

void gmewidg_ConfigSet(int32_t n) {
  debuglog_Printf("config: %d\n", n);
  if (n < 0 || n >= GMEWIDG_CONFIGS) QDX_ASSERT(0);
  for (const ConfigRow& row : kConfigRows)
    if (row.aeWidget[n] != 0) gmewidg_aaeWidgetMap[n][row.eFunction] = row.aeWidget[n];
}
