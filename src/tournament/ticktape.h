#pragma once
// The results ticker of a history-mode match: the day's other results of the
// human team's group, goal by goal at random minutes, scrolled along a band at
// the top of the screen.
#include <cstdint>

#include "tournament/tmtree.h"

constexpr std::int32_t TICKTAPE_RESULTS = 15;
constexpr std::int32_t TICKTAPE_EVENTS = 30;

struct TickResult {
  std::uint32_t TeamA;
  std::uint16_t uFinalA, uShownA;
  std::uint32_t TeamB;
  std::uint16_t uFinalB, uShownB;
};
struct TickEvent {
  std::int32_t iMinute;  // -1 once shown
  std::uint32_t uResult;
  std::uint32_t uSide;  // 0 team A, 1 team B
};
struct TickTape {
  TickResult aResults[TICKTAPE_RESULTS];
  std::int32_t cResults;
  TickEvent aEvents[TICKTAPE_EVENTS];
  std::int32_t cEvents;
  std::int32_t iState;  // 0 idle, 1 waiting, 2 formatting, 3 scrolling
  std::int32_t iEvent;
  char szText[160];
  std::int32_t iWidth;
  std::int32_t iX;
};
extern TickTape ticktape;

// Stores the running index of group g among all groups of year y (0 when
// absent) as the human team's group index.
void history_GroupIndexFind(const Year* y, const Group* g);
void ticktape_Init();
void ticktape_Update();
