// Sources of the rules pages: one language's file read as the text generator
// reads it, its paragraphs encoded to Windows-1252 and split at the strings
// callers pass.
#define main gentexts_main
#include "texts/gentexts.cpp"
#undef main

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = korvena_fuzz::WriteInput(data, size, "en.txt");
  RulesBook book;
  ReadRules(path, &book);
  for (const auto& [key, page] : book) {
    if (key.iEdition < 0 || key.iEdition >= kRulesEditions || key.iKind < 0 || key.iKind > 4)
      korvena_fuzz::Fail("a page was kept with a key out of range");
    for (const Paragraph& p : page)
      if (p.iSpacing < 0 || p.iSpacing > 9) korvena_fuzz::Fail("a paragraph was kept with a bad spacing");
  }
  g_cErrors = 0;
  return 0;
}
