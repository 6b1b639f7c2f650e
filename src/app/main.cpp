// The game executable: choose the platform backend, then enter the program.
#include <cstdio>
#include <string>

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
  if (!platform::init(kind)) return 1;
  platform::shutdown();
  return 0;
}
