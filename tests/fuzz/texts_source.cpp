// Sources of the text generator: one file read as every kind of table reads
// it (named English files, translations, the shared team list), and its
// fields encoded to Windows-1252.
#define main gentexts_main
#include "texts/gentexts.cpp"
#undef main

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = korvena_fuzz::WriteInput(data, size, "en.txt");
  for (const TableDef& t : kTables) {
    for (bool named : {true, false}) {
      std::vector<Entry> entries(static_cast<size_t>(t.iCount));
      ReadSource(t, path, named, &entries);
      for (const Entry& e : entries)
        if (e.bPresent && e.aoFields.size() != static_cast<size_t>(t.cFields))
          korvena_fuzz::Fail("an entry was kept with the wrong number of fields");
    }
  }
  std::string out, why;
  Encode(std::string(reinterpret_cast<const char*>(data), size), &out, &why);
  g_cErrors = 0;
  return 0;
}
