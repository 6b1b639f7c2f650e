// Text-table generator: turns the UTF-8 text sources of assets/texts/ into the
// Windows-1252 tables compiled into the game, one table per language.
//
//   gentexts <assets/texts> <src folder to check> <out .cpp> <out .h>
//
// Each table has one source file per language ("en.txt", "fr.txt", "de.txt",
// "es.txt", "it.txt", "pt.txt"), or a single "all.txt" for a table shared by
// every language. A line is "id<TAB>NAME<TAB>field..." in the English (or
// shared) file and "id<TAB>field..." in the others; the NAME column may be
// "-" for an id that code does not name. Blank lines and lines starting with
// '#' are skipped. In fields, \n, \t and \\ are escapes.
//
// The generator fails when a source is malformed, an id is out of range or
// given twice, a translation has no English text, a character has no
// Windows-1252 code, or a text id named in the game's sources (IDS_FE_*,
// IDS_GLOBAL_*) has no English text. Missing translations fall back to
// English; their count per language is printed.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char* const kLanguages[6] = {"en", "fr", "de", "es", "it", "pt"};
const char* const kLanguageNames[6] = {"English", "French", "German", "Spanish", "Italian", "Portuguese"};

struct TableDef {
  const char* pszFolder;    // under assets/texts/
  const char* pszSymbol;    // C++ array name
  const char* pszCount;     // C++ constant of the id count
  int32_t iCount;
  int32_t cFields;          // fields per id
  bool bPerLanguage;
  const char* pszIdPrefix;  // prefix of the generated id names
};

const TableDef kTables[] = {
    {"frontend", "festr_apszStrings", "IDS_FE_MAX", 1005, 1, true, "IDS_FE_"},
    {"global", "glstr_apszStrings", "IDS_GLOBAL_MAX", 52, 1, true, "IDS_GLOBAL_"},
    {"teams", "festr_apszTMNames", "TM_MAX", 500, 1, false, "TM_"},
    {"abbreviations", "tlastr_apszRows", "TLA_MAX", 205, 4, true, "TLA_"},
    {"videotest", "pcmain_apszVideoTestTexts", "VIDEOTEST_TEXT_MAX", 3, 1, true, "VIDEOTEST_"},
    {"ingame", "gstatso_apszStrings", "IDS_INGAME_MAX", 65, 1, true, "IDS_INGAME_"},
};

struct Entry {
  bool bPresent = false;
  std::string oName;
  std::vector<std::string> aoFields;  // Windows-1252 bytes
};

int g_cErrors = 0;

void Error(const std::string& oWhere, const std::string& oWhat) {
  std::fprintf(stderr, "gentexts: %s: %s\n", oWhere.c_str(), oWhat.c_str());
  g_cErrors++;
}

// The Windows-1252 byte of a code point, or -1 when it has none.
int ToCp1252(uint32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  static const std::map<uint32_t, int> kHigh = {
      {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85}, {0x2020, 0x86},
      {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A}, {0x2039, 0x8B}, {0x0152, 0x8C},
      {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92}, {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95},
      {0x2013, 0x96}, {0x2014, 0x97}, {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B},
      {0x0153, 0x9C}, {0x017E, 0x9E}, {0x0178, 0x9F}};
  auto it = kHigh.find(c);
  return it == kHigh.end() ? -1 : it->second;
}

// UTF-8 with escapes to Windows-1252; false on a bad sequence or character.
bool Encode(const std::string& oIn, std::string* poOut, std::string* poWhy) {
  poOut->clear();
  for (size_t i = 0; i < oIn.size();) {
    unsigned char b = static_cast<unsigned char>(oIn[i]);
    if (b == '\\' && i + 1 < oIn.size()) {
      char e = oIn[i + 1];
      if (e == 'n') poOut->push_back('\n');
      else if (e == 't') poOut->push_back('\t');
      else if (e == '\\') poOut->push_back('\\');
      else {
        *poWhy = std::string("unknown escape \\") + e;
        return false;
      }
      i += 2;
      continue;
    }
    uint32_t c;
    int cMore;
    if (b < 0x80) { c = b; cMore = 0; }
    else if ((b & 0xE0) == 0xC0) { c = b & 0x1F; cMore = 1; }
    else if ((b & 0xF0) == 0xE0) { c = b & 0x0F; cMore = 2; }
    else if ((b & 0xF8) == 0xF0) { c = b & 0x07; cMore = 3; }
    else { *poWhy = "invalid UTF-8"; return false; }
    for (int k = 1; k <= cMore; k++) {
      if (i + k >= oIn.size()) { *poWhy = "truncated UTF-8"; return false; }
      unsigned char n = static_cast<unsigned char>(oIn[i + k]);
      if ((n & 0xC0) != 0x80) { *poWhy = "invalid UTF-8"; return false; }
      c = (c << 6) | (n & 0x3F);
    }
    i += 1 + cMore;
    if (c == 0) { *poWhy = "NUL character"; return false; }
    int iByte = ToCp1252(c);
    if (iByte < 0) {
      char sz[64];
      std::snprintf(sz, sizeof sz, "U+%04X has no Windows-1252 code", c);
      *poWhy = sz;
      return false;
    }
    poOut->push_back(static_cast<char>(iByte));
  }
  return true;
}

std::vector<std::string> Split(const std::string& oLine) {
  std::vector<std::string> ao;
  std::string oCur;
  for (char c : oLine) {
    if (c == '\t') { ao.push_back(oCur); oCur.clear(); }
    else oCur.push_back(c);
  }
  ao.push_back(oCur);
  return ao;
}

bool IsName(const std::string& o) {
  if (o == "-") return true;
  if (o.empty()) return false;
  for (char c : o)
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
  return true;
}

// Reads one source file into the entries; a missing file is an empty table.
void ReadSource(const TableDef& t, const fs::path& oPath, bool bNamed, std::vector<Entry>* paoEntries) {
  std::ifstream in(oPath, std::ios::binary);
  if (!in) return;
  std::string oLine;
  int iLine = 0;
  while (std::getline(in, oLine)) {
    iLine++;
    if (!oLine.empty() && oLine.back() == '\r') oLine.pop_back();
    std::string oWhere = oPath.string() + ":" + std::to_string(iLine);
    if (oLine.empty() || oLine[0] == '#') continue;
    std::vector<std::string> aoCols = Split(oLine);
    size_t cWanted = static_cast<size_t>(t.cFields) + (bNamed ? 2 : 1);
    if (aoCols.size() != cWanted) {
      Error(oWhere, "expected " + std::to_string(cWanted) + " tab-separated columns, found " + std::to_string(aoCols.size()));
      continue;
    }
    char* pEnd = nullptr;
    long iID = std::strtol(aoCols[0].c_str(), &pEnd, 10);
    if (aoCols[0].empty() || *pEnd != '\0' || iID < 0 || iID >= t.iCount) {
      Error(oWhere, "id '" + aoCols[0] + "' is not in 0.." + std::to_string(t.iCount - 1));
      continue;
    }
    Entry& e = (*paoEntries)[static_cast<size_t>(iID)];
    if (e.bPresent) {
      Error(oWhere, "id " + std::to_string(iID) + " is given twice");
      continue;
    }
    if (bNamed) {
      if (!IsName(aoCols[1])) {
        Error(oWhere, "name '" + aoCols[1] + "' must be upper case letters, digits and '_', or '-'");
        continue;
      }
      if (aoCols[1] != "-") e.oName = aoCols[1];
    }
    e.bPresent = true;
    for (size_t k = bNamed ? 2 : 1; k < aoCols.size(); k++) {
      std::string oBytes, oWhy;
      if (!Encode(aoCols[k], &oBytes, &oWhy)) Error(oWhere, oWhy);
      e.aoFields.push_back(oBytes);
    }
  }
}

std::string Literal(const std::string& oBytes) {
  std::string o = "\"";
  for (char ch : oBytes) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') { o.push_back('\\'); o.push_back(static_cast<char>(c)); }
    else if (c >= 0x20 && c < 0x7F && c != '?') o.push_back(static_cast<char>(c));
    else {
      char sz[8];
      std::snprintf(sz, sizeof sz, "\\%03o", c);
      o += sz;
    }
  }
  return o + "\"";
}

void WriteIfChanged(const fs::path& oPath, const std::string& oText) {
  std::ifstream in(oPath, std::ios::binary);
  if (in) {
    std::stringstream ss;
    ss << in.rdbuf();
    if (ss.str() == oText) return;
  }
  fs::create_directories(oPath.parent_path());
  std::ofstream out(oPath, std::ios::binary | std::ios::trunc);
  out << oText;
  if (!out) Error(oPath.string(), "cannot write");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: gentexts <assets/texts> <src folder> <out.cpp> <out.h>\n");
    return 2;
  }
  fs::path oAssets = argv[1];
  fs::path oSrc = argv[2];
  std::ostringstream cpp, hdr;
  hdr << "#pragma once\n// Generated by tools/texts/gentexts from assets/texts/: do not edit.\n#include <cstdint>\n\n";
  hdr << "constexpr int32_t TEXT_LANGUAGE_MAX = 6;\n";
  cpp << "// Generated by tools/texts/gentexts from assets/texts/: do not edit.\n#include \"shell/texts_data.h\"\n\n";
  std::set<std::string> oDefinedNames;

  for (const TableDef& t : kTables) {
    hdr << "constexpr int32_t " << t.pszCount << " = " << t.iCount << ";\n";
    std::vector<std::vector<Entry>> aaLang(t.bPerLanguage ? 6 : 1, std::vector<Entry>(static_cast<size_t>(t.iCount)));
    fs::path oDir = oAssets / t.pszFolder;
    if (t.bPerLanguage) {
      for (int l = 0; l < 6; l++) ReadSource(t, oDir / (std::string(kLanguages[l]) + ".txt"), l == 0, &aaLang[static_cast<size_t>(l)]);
    } else {
      ReadSource(t, oDir / "all.txt", true, &aaLang[0]);
    }
    // Names of the English (or shared) entries become id constants.
    std::vector<Entry>& aEn = aaLang[0];
    std::set<std::string> oNamesHere;
    hdr << "enum : int32_t {\n";
    for (int32_t i = 0; i < t.iCount; i++) {
      const Entry& e = aEn[static_cast<size_t>(i)];
      if (!e.bPresent || e.oName.empty()) continue;
      std::string oFull = std::string(t.pszIdPrefix) + e.oName;
      if (!oNamesHere.insert(oFull).second) Error(oDir.string(), "name " + oFull + " is given twice");
      oDefinedNames.insert(oFull);
      hdr << "  " << oFull << " = " << i << ",\n";
    }
    hdr << "};\n";
    // Translations must have English text; missing ones fall back to English.
    if (t.bPerLanguage) {
      for (int l = 1; l < 6; l++) {
        int cMissing = 0;
        for (int32_t i = 0; i < t.iCount; i++) {
          const Entry& e = aaLang[static_cast<size_t>(l)][static_cast<size_t>(i)];
          if (e.bPresent && !aEn[static_cast<size_t>(i)].bPresent)
            Error((oDir / (std::string(kLanguages[l]) + ".txt")).string(), "id " + std::to_string(i) + " has no English text");
          if (!e.bPresent && aEn[static_cast<size_t>(i)].bPresent) cMissing++;
        }
        if (cMissing > 0)
          std::printf("gentexts: %s: %d text(s) missing in %s, English used\n", t.pszFolder, cMissing, kLanguageNames[l]);
      }
    }
    // The table: [language][id] or [id], with [field] for multi-field rows.
    std::string oDims = std::string(t.bPerLanguage ? "[TEXT_LANGUAGE_MAX]" : "") + "[" + t.pszCount + "]" +
                        (t.cFields > 1 ? "[" + std::to_string(t.cFields) + "]" : "");
    hdr << "extern const char* const " << t.pszSymbol << oDims << ";\n\n";
    cpp << "const char* const " << t.pszSymbol << oDims << " = {\n";
    for (size_t l = 0; l < aaLang.size(); l++) {
      if (t.bPerLanguage) cpp << "  {  // " << kLanguageNames[l] << "\n";
      for (int32_t i = 0; i < t.iCount; i++) {
        const Entry* pe = &aaLang[l][static_cast<size_t>(i)];
        if (!pe->bPresent) pe = &aEn[static_cast<size_t>(i)];
        if (t.cFields > 1) cpp << "    {";
        else cpp << "    ";
        for (int32_t k = 0; k < t.cFields; k++) {
          cpp << (pe->bPresent ? Literal(pe->aoFields[static_cast<size_t>(k)]) : std::string("\"\""));
          if (k + 1 < t.cFields) cpp << ", ";
        }
        cpp << (t.cFields > 1 ? "},\n" : ",\n");
      }
      if (t.bPerLanguage) cpp << "  },\n";
    }
    cpp << "};\n\n";
  }

  // Every text id that the game's sources name must have English text.
  std::regex oUse(R"(\b(IDS_FE_|IDS_GLOBAL_)[A-Z0-9_]+\b)");
  std::set<std::string> oReserved = {"IDS_FE_MAX", "IDS_GLOBAL_MAX"};
  if (fs::exists(oSrc)) {
    for (const auto& de : fs::recursive_directory_iterator(oSrc)) {
      if (!de.is_regular_file()) continue;
      std::string oExt = de.path().extension().string();
      if (oExt != ".cpp" && oExt != ".h") continue;
      std::ifstream in(de.path(), std::ios::binary);
      std::stringstream ss;
      ss << in.rdbuf();
      std::string oText = ss.str();
      for (auto it = std::sregex_iterator(oText.begin(), oText.end(), oUse); it != std::sregex_iterator(); ++it) {
        std::string oName = it->str();
        if (oReserved.count(oName) || oDefinedNames.count(oName)) continue;
        Error(de.path().string(), "uses " + oName + ", which has no English text in assets/texts");
      }
    }
  }

  if (g_cErrors > 0) {
    std::fprintf(stderr, "gentexts: %d error(s)\n", g_cErrors);
    return 1;
  }
  WriteIfChanged(argv[3], cpp.str());
  WriteIfChanged(argv[4], hdr.str());
  return 0;
}
