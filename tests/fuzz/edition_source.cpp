// Edition sources: every text tmgen reads either gives year files that pass
// all its checks or is refused with its faults named; the same text always
// gives the same answer.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"

std::string tmgen_EditionCheck(const char* pszAssets, int yy, const std::string& text);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  // The year the text's edition line names, when it is one of the editions.
  int yy = 98;
  const size_t at = text.find("edition 19");
  if (at != std::string::npos && at + 12 <= text.size()) {
    const int y = std::atoi(text.substr(at + 10, 2).c_str());
    if (y >= 58 && y <= 98 && (y - 58) % 4 == 0) yy = y;
  }
  const std::string first = tmgen_EditionCheck(KORVENA_SOURCE_DIR "/assets", yy, text);
  if (first.rfind("the assets do not read", 0) == 0) korvena_fuzz::Fail(first.c_str());
  if (tmgen_EditionCheck(KORVENA_SOURCE_DIR "/assets", yy, text) != first) korvena_fuzz::Fail("a second reading differs");
  return 0;
}
