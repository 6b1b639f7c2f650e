#pragma once
// The game-runner helpers live in the shared test-support library.
#include "support/run_game.h"
