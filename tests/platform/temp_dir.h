#pragma once
// The temporary folder helper lives in the shared test-support library.
#include "support/temp_dir.h"
