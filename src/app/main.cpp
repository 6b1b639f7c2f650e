// The game executable: choose the platform backend, start the layer, then
// enter the program.
#include <cstdio>
#include <string>

#include "platform/instance.h"
#include "platform/platform.h"
#include "platform/window.h"

namespace {

// A minimal program entry until the framework's lands: one instance, a
// hidden window, the message loop until quit.
int runProgram() {
  platform::InstanceLock* lock = nullptr;
  if (platform::acquireInstanceLock("QDX Mutex", &lock) == platform::InstanceResult::AlreadyRunning) return 0;
  platform::Window* window = platform::createWindow(640, 480);
  if (!window) {
    platform::releaseInstanceLock(lock);
    return 0;
  }
  platform::setWindowTitle(window, "Korvena Football");
  platform::showWindow(window);
  int exitCode = 0;
  bool quit = false;
  while (!quit) {
    platform::pumpEvents();
    platform::Message m;
    while (platform::pollMessage(&m)) {
      if (m.code == platform::kMsgQuit) {
        quit = true;
        exitCode = static_cast<int>(m.wParam);
      } else {
        platform::defaultWindowProc(m);
      }
    }
    if (!quit) platform::waitMessage();
  }
  platform::destroyWindow(window);
  platform::releaseInstanceLock(lock);
  return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  (void)argc;
  (void)argv;
  platform::BackendKind kind;
  std::string why;
  if (!platform::chooseBackend(&kind, &why)) {
    std::fprintf(stderr, "Korvena Football: %s\n", why.c_str());
    return 1;
  }
  if (!platform::init(kind, &why)) {
    std::fprintf(stderr, "Korvena Football: %s\n", why.c_str());
    return 1;
  }
  int code = runProgram();
  platform::shutdown();
  return code;
}
