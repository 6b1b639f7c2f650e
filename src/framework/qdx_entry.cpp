#include "framework/qdx_entry.h"

#include "framework/qdx_input.h"
#include "framework/qdx_time.h"
#include "framework/qdx_window.h"
#include "platform/instance.h"
#include "shell/pcmain.h"

int WinMain(void* pvInstance, void*, const char* pszCommandLine, int) {
  platform::InstanceLock* poLock = nullptr;
  if (platform::acquireInstanceLock("QDX Mutex", &poLock) == platform::InstanceResult::AlreadyRunning) return 0;
  QDXClearQuit();

  // Each set-up step that completed is undone at the end, and only those.
  QDXInitWindowHooks();
  const bool bActivateHooks = QDXInitActivateHooks() == 0;
  QDXCalibrateTSC();

  platform::Window* poWindow = nullptr;
  bool bGameStarted = false;
  if (QDXRegisterClass(pvInstance, QDXWindowProc)) poWindow = QDXCreateWindow(640, 480, pvInstance, 1);
  // A start that fails ends the program with a code that says so.
  bool bStartFailed = poWindow == nullptr;

  if (poWindow) {
    const char* apszArgs[2] = {pszCommandLine ? pszCommandLine : "", nullptr};
    bGameStarted = true;
    bStartFailed = !pcmain_Startup(1, apszArgs);
    if (!bStartFailed) {
      for (;;) {
        QDXClearPumped();
        const std::int32_t bStepQuit = pcmain_LoopStep();
        if (!QDXPumpedThisPass()) QDXPumpMessages();
        // A quit pumped inside the step counts as much as one pumped here.
        if (bStepQuit || QDXQuitSeen()) break;
      }
    }
  }

  // The game's shut-down runs whether its start-up succeeded or not; it
  // undoes the start-up steps that completed.
  if (bGameStarted) pcmain_Shutdown();
  QDXTimerStop();
  if (bActivateHooks) QDXFreeActivateHooks();
  QDXFreeWindowHooks();
  QInputRelease();
  QDXDestroyWindow(poWindow);
  platform::releaseInstanceLock(poLock);
  if (bStartFailed) return 1;
  return QDXQuitSeen() ? QDXQuitCode() : 0;
}
