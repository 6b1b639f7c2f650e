#pragma once
// Private to src/platform/: which backend runs. Never include this outside
// the platform folder.
#include "platform/platform.h"

namespace platform::internal {
BackendKind backend();
bool initialised();
}  // namespace platform::internal
