// Sources of the text generator: one file read as a table reads it (named
// English files, translations, the shared team list), its fields encoded to
// Windows-1252.
#define main gentexts_main
#include "texts/gentexts.cpp"
#undef main

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks the table and whether the file is a named one (the
  // English or shared file) or a translation; the rest is the file.
  const TableDef& t = kTables[data[0] % (sizeof kTables / sizeof kTables[0])];
  const bool named = (data[0] & 0x80) == 0;
  const std::string path = korvena_fuzz::WriteInput(data + 1, size - 1, "en.txt");
  std::vector<Entry> entries(static_cast<size_t>(t.iCount));
  ReadSource(t, path, named, &entries);
  for (const Entry& e : entries)
    if (e.bPresent && e.aoFields.size() != static_cast<size_t>(t.cFields))
      korvena_fuzz::Fail("an entry was kept with the wrong number of fields");
  g_cErrors = 0;
  return 0;
}
