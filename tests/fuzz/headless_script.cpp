// Headless scripts: parsed as the game loads KORVENA_SCRIPT.
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/headless/script.h"

void KorvenaFuzzSeeds(const std::string& dir) {
  const std::string a =
      "# <when> <command> [arguments]\n"
      "1    echo started         # at the first pump\n"
      "@500 capture shot.tga\n"
      "10   activate 0\n"
      "12   activate 1\n"
      "@12.5 advance 16.667\n"
      "100  quit-after 30\n";
  korvena_fuzz::WriteSeed(dir, "core.txt", a.data(), a.size());
  const std::string b = "1 close\r\n2 quit 7\r\n3 echo \"quoted text\" and more\r\n";
  korvena_fuzz::WriteSeed(dir, "crlf.txt", b.data(), b.size());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<platform::headless::ScriptLine> lines;
  std::string why;
  if (platform::headless::parseScript(text, &lines, &why)) {
    for (const auto& line : lines)
      if (line.command.empty()) korvena_fuzz::Fail("a script line without a command was accepted");
  } else if (why.empty()) {
    korvena_fuzz::Fail("a refused script says nothing");
  }
  return 0;
}
