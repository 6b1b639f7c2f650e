#pragma once
// Message boxes with one OK button. Text and caption are Windows-1252 bytes.
// Without a screen (the headless backend, or before the layer runs) the
// message goes to stderr as "<caption>: <text>".
#include <cstdint>

namespace platform {

struct Window;

enum class MessageIcon : uint32_t { None = 0, Stop = 0x10, Question = 0x20, Warning = 0x30, Information = 0x40 };

// Shows the message and waits until it is dismissed. Returns 1 (OK).
int messageBox(Window* owner, const char* text, const char* caption, MessageIcon icon);

}  // namespace platform
