// The headless environment of the audio tests: the game folder whose data
// folder is the pseudo disc's.
#include "support/headless_env.h"

namespace {
const bool g_bEnvironment = korvena_test::AddHeadlessEnvironment({"korvena-audio"});
}  // namespace
