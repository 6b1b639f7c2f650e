// The game executable: choose the platform backend, start the layer, then
// enter the program.
#include <cstdio>
#include <string>

#include "framework/qdx_entry.h"
#include "platform/platform.h"

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
  int code = WinMain(nullptr, nullptr, "", 1);
  platform::shutdown();
  return code;
}
