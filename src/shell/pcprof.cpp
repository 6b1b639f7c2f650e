// The frame profiler.
#include "shell/pcprof.h"

#include <cstdio>

#include "framework/qdx_time.h"
#include "frontend/frontend_services.h"
#include "scene3d/scene3d_services.h"
#include "shell/draw2d.h"

RGBAColour pcprof_aColours[PCPROF_COLOURS];

ProfileTimer::ProfileTimer(const char* pszName) { std::snprintf(szName, sizeof szName, "%s", pszName ? pszName : ""); }

void ProfileTimer::Start() {
  uStart = QDXReadTSC(nullptr);
  bRunning = true;
}

void ProfileTimer::Stop() {
  if (!bRunning) return;
  uLastInterval = QDXReadTSC(nullptr) - uStart;
  uThisFrameTotal += uLastInterval;
  uRunningSum += uLastInterval;
  bRunning = false;
}

void ProfileTimer::FrameEnd() {
  uLastFrameTotal = uThisFrameTotal;
  uThisFrameTotal = 0;
  cFrames++;
  if (cFrames >= cAverageFrames) {
    uStoredSum = uRunningSum;
    uRunningSum = 0;
    cFrames = 0;
  }
}

void ProfileTimer::SetAverageFrames(int32_t cNewFrames) { cAverageFrames = cNewFrames < 1 ? 1 : cNewFrames; }

uint64_t ProfileTimer::iGetMs() const { return uLastFrameTotal == 0 ? 0 : QDXTSCPerSecond() / uLastFrameTotal; }

uint64_t ProfileTimer::iGetAverageMs() const {
  uint64_t uAverage = uStoredSum / static_cast<uint64_t>(cAverageFrames);
  return uAverage == 0 ? 0 : QDXTSCPerSecond() / uAverage;
}

void ProfileTimerList::Append(ProfileTimer* poTimer) {
  if (!poTimer->bHasOwnColour()) {
    RGBAColour oColour = pcprof_aColours[cTimers % PCPROF_COLOURS];
    poTimer->SetColour(oColour);
  }
  poTimer->pNext = nullptr;
  ProfileTimer** ppLink = &poFirstTimer;
  while (*ppLink) ppLink = &(*ppLink)->pNext;
  *ppLink = poTimer;
  cTimers++;
}

void ProfileTimerList::Remove(ProfileTimer* poTimer) {
  for (ProfileTimer** ppLink = &poFirstTimer; *ppLink; ppLink = &(*ppLink)->pNext) {
    if (*ppLink == poTimer) {
      *ppLink = poTimer->pNext;
      poTimer->pNext = nullptr;
      cTimers--;
      return;
    }
  }
}

void ProfileTimerList::FrameEndAll() {
  for (ProfileTimer* p = poFirstTimer; p; p = p->pNext) p->FrameEnd();
}

void pcprof_ColoursInit() {
  const uint8_t aa[PCPROF_COLOURS][3] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},   {255, 255, 0},
                                         {255, 0, 255}, {0, 255, 255}, {255, 255, 255}, {0, 0, 0},
                                         {128, 0, 0},   {0, 128, 0},   {0, 0, 128},   {128, 128, 0},
                                         {128, 0, 128}, {0, 128, 128}, {255, 128, 0},  {0, 128, 255}};
  for (int32_t i = 0; i < PCPROF_COLOURS; i++) pcprof_aColours[i] = RGBAColour(aa[i][0], aa[i][1], aa[i][2], 255);
}

void pcprof_Draw(const ProfileTimerList& oList, int32_t x, int32_t y, int32_t iWidth, int32_t iScale) {
  const uint64_t uSpan = QDXTSCPerSecond() / static_cast<uint64_t>(iScale < 1 ? 1 : iScale);
  int32_t iY = y;
  for (ProfileTimer* p = oList.poFirst(); p; p = p->pNext, iY += 16) {
    uint64_t uWidth = uSpan == 0 ? 0 : p->iGetTicks() * static_cast<uint64_t>(iWidth) / uSpan;
    int32_t iSegment = uWidth > static_cast<uint64_t>(iWidth) ? iWidth : static_cast<int32_t>(uWidth);
    RGBAColour c = p->GetColour();
    pcframe_AddBox(x, iY, x + iSegment, iY + 16, 1, c.r, c.g, c.b, 255, 1);
    Draw2DColour oSaved = draw2d_oTextColour;
    draw2d_TextColourSet(255, 255, 255, 255);
    pctext_PrintLeft(p->pszGetName(), x + 2, iY + 2, 1);
    draw2d_oTextColour = oSaved;
    pcframe_AddBox(x + iSegment, iY, x + iWidth, iY + 16, 1, 32, 32, 32, 255, 1);
  }
}
