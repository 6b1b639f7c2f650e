#pragma once
// A small frame profiler: named timers measured on the framework's clock and
// drawn as coloured bars. Nothing in the game starts one; the colour record
// serves the 3D presentation too.
#include <cstdint>

struct RGBAColour {
  uint8_t r = 0, g = 0, b = 0, a = 0;
  RGBAColour() = default;
  RGBAColour(uint8_t uR, uint8_t uG, uint8_t uB, uint8_t uA) : r(uR), g(uG), b(uB), a(uA) {}
};

constexpr int32_t PCPROF_NAME_SIZE = 32;
constexpr int32_t PCPROF_COLOURS = 16;

class ProfileTimer {
 public:
  explicit ProfileTimer(const char* pszName);
  void Start();
  void Stop();
  void FrameEnd();
  void SetAverageFrames(int32_t cFrames);
  uint64_t iGetTicks() const { return uLastFrameTotal; }
  uint64_t iGetMs() const;
  uint64_t iGetAverageTicks() const { return uStoredSum; }
  uint64_t iGetAverageMs() const;
  const char* pszGetName() const { return szName; }
  void SetColour(const RGBAColour& oColour) {
    oColourValue = oColour;
    bHasColour = true;
  }
  RGBAColour GetColour() const { return oColourValue; }
  bool bHasOwnColour() const { return bHasColour; }

  ProfileTimer* pNext = nullptr;

 private:
  char szName[PCPROF_NAME_SIZE] = {};
  uint64_t uStart = 0;
  uint64_t uLastInterval = 0;
  uint64_t uThisFrameTotal = 0;
  uint64_t uLastFrameTotal = 0;
  uint64_t uRunningSum = 0;
  uint64_t uStoredSum = 0;
  int32_t cFrames = 0;
  int32_t cAverageFrames = 8;
  bool bRunning = false;
  bool bHasColour = false;
  RGBAColour oColourValue;
};

class ProfileTimerList {
 public:
  // Appends at the end; a timer without a colour of its own takes entry
  // (count mod 16) of the colour table.
  void Append(ProfileTimer* poTimer);
  void Remove(ProfileTimer* poTimer);
  void FrameEndAll();
  ProfileTimer* poFirst() const { return poFirstTimer; }
  int32_t iCount() const { return cTimers; }

 private:
  ProfileTimer* poFirstTimer = nullptr;
  int32_t cTimers = 0;
};

extern RGBAColour pcprof_aColours[PCPROF_COLOURS];
void pcprof_ColoursInit();
// One bar 16 high per timer from (x, y): each timer's segment as a box in its
// colour, its width the timer's share of 1/scale of a second of width pixels,
// with its name in white, then a closing box to the bar's end.
void pcprof_Draw(const ProfileTimerList& oList, int32_t x, int32_t y, int32_t iWidth, int32_t iScale);
