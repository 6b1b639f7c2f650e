#pragma once
// The game-widget map: for each of three control configurations, the widget
// (0 none, 1..27) each of the 73 game functions is read from.
#include <cstdint>

constexpr int32_t GMEWIDG_CONFIGS = 3;
constexpr int32_t GMEWIDG_FUNCTIONS = 73;

extern int32_t gmewidg_aaeWidgetMap[GMEWIDG_CONFIGS][GMEWIDG_FUNCTIONS];

void gmewidg_DefaultsSet();
void gmewidg_WidgetSet(int32_t eFunction, int32_t eWidget, int32_t cConfig);
int32_t gmewidg_eGetWidget(int32_t eFunction, int32_t cConfig);
void gmewidg_ConfigSet(int32_t n);
