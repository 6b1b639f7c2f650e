// Set-piece position sources: the parser refuses with a reason or fills the
// tables so that every row carries its key in all three tables.
#include "fuzz_support.h"
#include "setpieces/sptabgen.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  sptabgen::Tables t;
  std::vector<std::string> errors;
  if (!sptabgen::Parse(text, "fuzz", &t, &errors)) {
    if (errors.empty()) korvena_fuzz::Fail("a refusal without a reason");
    return 0;
  }
  for (int r = 0; r < sptabgen::kRows; r++) {
    if (t.throwIn[r][0] != t.freeKick[r][0]) korvena_fuzz::Fail("row keys differ between tables");
    if (r + 1 < sptabgen::kRows && t.corner[r][0] != t.throwIn[r][0]) korvena_fuzz::Fail("corner key differs");
  }
  // Without zone facts nothing passes the check, and it says why.
  sptabgen::ZoneFacts none;
  errors.clear();
  if (sptabgen::Validate(t, none, &errors) || errors.empty()) korvena_fuzz::Fail("checked without zones");
  return 0;
}
