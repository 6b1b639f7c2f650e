// Message boxes, and their text on stderr.
#include "platform/messagebox.h"

#include <cstdio>

#include "platform/internal.h"
#include "platform/paths.h"

namespace platform {

int messageBox(Window* owner, const char* text, const char* caption, MessageIcon icon) {
  std::string t = cp1252ToUtf8(text ? text : "");
  std::string c = cp1252ToUtf8(caption ? caption : "");
  // Always on stderr as well: a box may be closed unread, a terminal keeps it.
  std::fprintf(stderr, "%s: %s\n", c.c_str(), t.c_str());
  std::fflush(stderr);
  if (internal::initialised()) internal::ops().messageBox(t.c_str(), c.c_str(), static_cast<uint32_t>(icon));
  return 1;
}

}  // namespace platform
