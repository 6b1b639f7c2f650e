// Message boxes; stderr when there is no screen to show them on.
#include "platform/messagebox.h"

#include <cstdio>

#include "platform/internal.h"
#include "platform/paths.h"

namespace platform {

int messageBox(Window* owner, const char* text, const char* caption, MessageIcon icon) {
  std::string t = cp1252ToUtf8(text ? text : "");
  std::string c = cp1252ToUtf8(caption ? caption : "");
  if (internal::initialised() && internal::ops().messageBox(t.c_str(), c.c_str(), static_cast<uint32_t>(icon)))
    return 1;
  std::fprintf(stderr, "%s: %s\n", c.c_str(), t.c_str());
  std::fflush(stderr);
  return 1;
}

}  // namespace platform
