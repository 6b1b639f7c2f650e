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
// Windows-1252 code, a language lacks an id that English has, or a text id
// named in the game's sources (IDS_FE_*, IDS_GLOBAL_*) has no English text.
//
// The gender and number of each team's name per language come from
// "grammar/<lang>.txt" (see BuildForms), which every language with team
// names must have.
//
// The rules pages of the history mode ("rules/<lang>.txt") are read as
// blocks: a line "[finals 58]", "[qual 58]", "[qual 58 conf 2]", "[noteA 70]"
// or "[noteB 82]" opens a page, and each line after it is a paragraph,
// "spacing<TAB>text", where "%s" marks a string the caller passes. Every
// text piece gets a front-end text id from 337 on, in page order (editions in
// turn: finals, qualifying, confederations by code, notes A and B); a piece
// equal in all six languages to an earlier one shares its id. The pages are
// written as tables of {text id, spacing} ended by 1007 (1006 stands for a
// passed string). The generator fails when the ids run past 838, a page has
// no English, a translation differs from the English page in paragraph
// count, spacings, passed strings or digits, an edition lacks its finals or
// qualifying page, a confederation that the edition's qualifying source
// (tournament/editions/19yy.txt beside texts/) names has no page for its
// code, or a note belongs to another edition than its kind allows. It prints
// per language how many paragraphs equal the English.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <array>
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


// ---- Rules pages ---------------------------------------------------------------------

constexpr int kRulesFirstId = 337;
constexpr int kRulesLastId = 838;
constexpr int kRulesEditions = 11;
constexpr int kPageEnd = 1007;
constexpr int kPageString = 1006;

// A page key: kind 0 finals, 1 qualifying, 2 a confederation's qualifying,
// 3 note A, 4 note B; the edition 0..10; the confederation code.
struct PageKey {
  int iKind = 0, iEdition = 0, iCode = 0;
  bool operator<(const PageKey& o) const {
    if (iEdition != o.iEdition) return iEdition < o.iEdition;
    if (iKind != o.iKind) return iKind < o.iKind;
    return iCode < o.iCode;
  }
};

struct Paragraph {
  int iSpacing = 0;
  std::vector<std::string> aoPieces;  // Windows-1252; "" is a passed string
  std::string oDigits;
  std::string oWhere;
};

using RulesBook = std::map<PageKey, std::vector<Paragraph>>;

const int kNoteAYears[] = {70, 90, 94, 98};
const int kNoteBYears[] = {82, 86, 94};

// Confederation names of the qualifying sources and their codes; "CONMEBOL"
// with the group "Group B" is code 16.
int ConfCode(const std::string& oName) {
  static const char* const kNames[] = {"UEFA", "CONMEBOL", "CONCACAF", "AFC-CAF", "CAF-AFC-OFC", "AFC-OFC", "OFC",
                                       "CAF", "AFC", "UEFA-CONMEBOL", "UEFA-OFC", "UEFA-AFC-CAF", "CONMEBOL-OFC",
                                       "CONCACAF-OFC"};
  for (int i = 0; i < 14; i++)
    if (oName == kNames[i]) return i + 1;
  return 0;
}

std::string Trim(const std::string& o) {
  size_t a = o.find_first_not_of(' '), b = o.find_last_not_of(' ');
  return a == std::string::npos ? std::string() : o.substr(a, b - a + 1);
}

bool ParseKey(const std::string& oText, PageKey* pKey) {
  std::istringstream in(oText);
  std::string oKind, oConf;
  int iYear = -1, iCode = 0;
  if (!(in >> oKind >> iYear)) return false;
  if (in >> oConf) {
    if (oKind != "qual" || oConf != "conf" || !(in >> iCode) || iCode < 1 || iCode > 99) return false;
  }
  std::string oRest;
  if (in >> oRest) return false;
  if (iYear < 58 || iYear > 98 || (iYear - 58) % 4 != 0) return false;
  pKey->iEdition = (iYear - 58) / 4;
  pKey->iCode = iCode;
  if (oKind == "finals") pKey->iKind = 0;
  else if (oKind == "qual") pKey->iKind = iCode ? 2 : 1;
  else if (oKind == "noteA") pKey->iKind = 3;
  else if (oKind == "noteB") pKey->iKind = 4;
  else return false;
  return true;
}

std::string KeyText(const PageKey& k) {
  static const char* const kKinds[] = {"finals", "qual", "qual", "noteA", "noteB"};
  std::string o = std::string(kKinds[k.iKind]) + " " + std::to_string(58 + 4 * k.iEdition);
  if (k.iKind == 2) o += " conf " + std::to_string(k.iCode);
  return o;
}

// Reads one language's rules source; a missing file is an empty book.
void ReadRules(const fs::path& oPath, RulesBook* pBook) {
  std::ifstream in(oPath, std::ios::binary);
  if (!in) return;
  std::string oLine;
  int iLine = 0;
  std::vector<Paragraph>* pPage = nullptr;
  while (std::getline(in, oLine)) {
    iLine++;
    if (!oLine.empty() && oLine.back() == '\r') oLine.pop_back();
    const std::string oWhere = oPath.string() + ":" + std::to_string(iLine);
    if (oLine.empty() || oLine[0] == '#') continue;
    if (oLine[0] == '[') {
      PageKey k;
      if (oLine.back() != ']' || !ParseKey(oLine.substr(1, oLine.size() - 2), &k)) {
        Error(oWhere, "bad page key " + oLine);
        pPage = nullptr;
        continue;
      }
      if (pBook->count(k)) Error(oWhere, "page " + KeyText(k) + " is given twice");
      pPage = &(*pBook)[k];
      pPage->clear();
      continue;
    }
    if (!pPage) {
      Error(oWhere, "paragraph outside a page");
      continue;
    }
    std::vector<std::string> aoCols = Split(oLine);
    char* pEnd = nullptr;
    const long iSpacing = aoCols.size() == 2 ? std::strtol(aoCols[0].c_str(), &pEnd, 10) : -1;
    if (aoCols.size() != 2 || aoCols[0].empty() || *pEnd != '\0' || iSpacing < 0 || iSpacing > 9 ||
        aoCols[1].empty()) {
      Error(oWhere, "expected spacing 0..9, a tab and the text");
      continue;
    }
    Paragraph p;
    p.iSpacing = static_cast<int>(iSpacing);
    p.oWhere = oWhere;
    std::string oBytes, oWhy;
    if (!Encode(aoCols[1], &oBytes, &oWhy)) {
      Error(oWhere, oWhy);
      continue;
    }
    for (size_t i = 0;;) {
      size_t j = oBytes.find("%s", i);
      std::string oPiece = oBytes.substr(i, j == std::string::npos ? std::string::npos : j - i);
      if (!oPiece.empty()) p.aoPieces.push_back(oPiece);
      if (j == std::string::npos) break;
      p.aoPieces.emplace_back();
      i = j + 2;
    }
    for (char c : oBytes)
      if (c >= '0' && c <= '9') p.oDigits.push_back(c);
    if (oBytes.find('%') != std::string::npos && oBytes.find('%') != oBytes.find("%s"))
      Error(oWhere, "'%' other than a passed string %s");
    pPage->push_back(p);
  }
}

// The pieces' shape: "t" a text, "s" a passed string.
std::string Shape(const Paragraph& p) {
  std::string o;
  for (const std::string& s : p.aoPieces) o += s.empty() ? 's' : 't';
  return o;
}

// The confederation codes each edition's qualifying source names.
std::vector<std::set<int>> EditionCodes(const fs::path& oDir) {
  std::vector<std::set<int>> aCodes(kRulesEditions);
  for (int e = 0; e < kRulesEditions; e++) {
    const fs::path oPath = oDir / ("19" + std::to_string(58 + 4 * e) + ".txt");
    std::ifstream in(oPath, std::ios::binary);
    if (!in) {
      Error(oPath.string(), "the edition's qualifying source cannot be read");
      continue;
    }
    std::string oLine;
    while (std::getline(in, oLine)) {
      std::vector<std::string> aoCols;
      std::string oCur;
      for (char c : oLine) {
        if (c == '|') { aoCols.push_back(Trim(oCur)); oCur.clear(); }
        else oCur.push_back(c);
      }
      aoCols.push_back(Trim(oCur));
      if (aoCols.size() < 3 || aoCols[0] != "Q") continue;
      const int iCode = ConfCode(aoCols[1]);
      if (iCode == 0) {
        Error(oPath.string(), "unknown confederation " + aoCols[1]);
        continue;
      }
      aCodes[static_cast<size_t>(e)].insert(iCode == 2 && aoCols[2] == "Group B" ? 16 : iCode);
    }
  }
  return aCodes;
}

// Checks the six books against one another, gives the pieces their ids and
// writes the pages; the ids' texts go into the front-end table.
void BuildRules(const fs::path& oRulesDir, const fs::path& oEditionsDir, std::vector<std::vector<Entry>>* paaFrontEnd,
                std::ostringstream& cpp, std::ostringstream& hdr) {
  std::vector<RulesBook> aBooks(6);
  if (fs::exists(oRulesDir)) {
    for (int l = 0; l < 6; l++) ReadRules(oRulesDir / (std::string(kLanguages[l]) + ".txt"), &aBooks[static_cast<size_t>(l)]);
    const RulesBook& en = aBooks[0];
    for (int e = 0; e < kRulesEditions; e++) {
      if (!en.count(PageKey{0, e, 0})) Error(oRulesDir.string(), "no finals page for 19" + std::to_string(58 + 4 * e));
      if (!en.count(PageKey{1, e, 0})) Error(oRulesDir.string(), "no qualifying page for 19" + std::to_string(58 + 4 * e));
    }
    for (int y : kNoteAYears)
      if (!en.count(PageKey{3, (y - 58) / 4, 0})) Error(oRulesDir.string(), "no note A for 19" + std::to_string(y));
    for (int y : kNoteBYears)
      if (!en.count(PageKey{4, (y - 58) / 4, 0})) Error(oRulesDir.string(), "no note B for 19" + std::to_string(y));
    for (const auto& [k, page] : en) {
      const int y = 58 + 4 * k.iEdition;
      if ((k.iKind == 3 && std::find(std::begin(kNoteAYears), std::end(kNoteAYears), y) == std::end(kNoteAYears)) ||
          (k.iKind == 4 && std::find(std::begin(kNoteBYears), std::end(kNoteBYears), y) == std::end(kNoteBYears)))
        Error(oRulesDir.string(), "page " + KeyText(k) + ": that edition has no such note");
      if (page.empty()) Error(oRulesDir.string(), "page " + KeyText(k) + " is empty");
    }
    const std::vector<std::set<int>> aCodes = EditionCodes(oEditionsDir);
    for (int e = 0; e < kRulesEditions; e++)
      for (int c : aCodes[static_cast<size_t>(e)])
        if (!en.count(PageKey{2, e, c}))
          Error(oRulesDir.string(), "no page qual " + std::to_string(58 + 4 * e) + " conf " + std::to_string(c) +
                                        " for a confederation of that edition");
    for (int l = 1; l < 6; l++) {
      const RulesBook& tr = aBooks[static_cast<size_t>(l)];
      const std::string oFile = (oRulesDir / (std::string(kLanguages[l]) + ".txt")).string();
      int cSame = 0, cAll = 0;
      for (const auto& [k, page] : tr)
        if (!en.count(k)) Error(oFile, "page " + KeyText(k) + " has no English");
      for (const auto& [k, enPage] : en) {
        auto it = tr.find(k);
        if (it == tr.end()) {
          Error(oFile, "page " + KeyText(k) + " is missing");
          continue;
        }
        if (it->second.size() != enPage.size()) {
          Error(oFile, "page " + KeyText(k) + " has " + std::to_string(it->second.size()) + " paragraphs, English " +
                           std::to_string(enPage.size()));
          continue;
        }
        for (size_t i = 0; i < enPage.size(); i++) {
          const Paragraph& a = enPage[i];
          const Paragraph& b = it->second[i];
          if (a.iSpacing != b.iSpacing) Error(b.oWhere, "spacing differs from the English");
          if (Shape(a) != Shape(b)) Error(b.oWhere, "passed strings differ from the English");
          if (a.oDigits != b.oDigits) Error(b.oWhere, "digits " + b.oDigits + " differ from the English " + a.oDigits);
          cAll++;
          if (a.aoPieces == b.aoPieces) cSame++;
        }
      }
      std::printf("gentexts: rules: %d of %d paragraphs in %s equal the English\n", cSame, cAll, kLanguageNames[l]);
    }
  }
  // Ids in page order; a piece equal in all six languages shares its id.
  std::map<std::array<std::string, 6>, int> oIds;
  int iNext = kRulesFirstId;
  std::vector<int> aiEntries;
  std::map<PageKey, int> oStarts;
  for (const auto& [k, enPage] : aBooks[0]) {
    if (g_cErrors > 0) break;
    oStarts[k] = static_cast<int>(aiEntries.size() / 2);
    for (size_t i = 0; i < enPage.size(); i++) {
      const Paragraph& p = enPage[i];
      for (size_t n = 0; n < p.aoPieces.size(); n++) {
        const int iSpacing = n + 1 == p.aoPieces.size() ? p.iSpacing : -1;
        if (p.aoPieces[n].empty()) {
          aiEntries.insert(aiEntries.end(), {kPageString, iSpacing});
          continue;
        }
        std::array<std::string, 6> aTexts;
        for (int l = 0; l < 6; l++) aTexts[static_cast<size_t>(l)] = aBooks[static_cast<size_t>(l)].at(k)[i].aoPieces[n];
        auto it = oIds.find(aTexts);
        int iId = it != oIds.end() ? it->second : iNext++;
        if (it == oIds.end()) {
          oIds[aTexts] = iId;
          if (iId > kRulesLastId) {
            Error(oRulesDir.string(), "the rules pages need text ids past " + std::to_string(kRulesLastId));
            break;
          }
          for (int l = 0; l < 6; l++) {
            Entry& en = (*paaFrontEnd)[static_cast<size_t>(l)][static_cast<size_t>(iId)];
            if (l == 0 && en.bPresent) Error(oRulesDir.string(), "text id " + std::to_string(iId) + " is also a front-end text");
            en.bPresent = true;
            en.aoFields = {aTexts[static_cast<size_t>(l)]};
          }
        }
        aiEntries.insert(aiEntries.end(), {iId, iSpacing});
      }
    }
    aiEntries.insert(aiEntries.end(), {kPageEnd, 0});
  }
  if (fs::exists(oRulesDir) && g_cErrors == 0)
    std::printf("gentexts: rules: %zu pages, text ids %d to %d\n", oStarts.size(), kRulesFirstId, iNext - 1);
  if (aiEntries.empty()) aiEntries = {kPageEnd, 0};
  // The tables: entry pairs, then per edition the start of each page (-1 none).
  int cConfMax = 1;
  for (int e = 0; e < kRulesEditions; e++) {
    int c = 0;
    for (const auto& [k, s] : oStarts) c += k.iKind == 2 && k.iEdition == e;
    cConfMax = std::max(cConfMax, c + 1);
  }
  hdr << "// The history mode's rules pages: {text id, spacing} pairs, each page ended by\n"
         "// 1007; 1006 takes the caller's next string. Starts are pair indexes, -1 none.\n";
  hdr << "constexpr int32_t RULES_EDITIONS = " << kRulesEditions << ";\n";
  hdr << "constexpr int32_t RULES_CONF_PAGES = " << cConfMax << ";\n";
  hdr << "constexpr int32_t RULES_ENTRY_COUNT = " << aiEntries.size() / 2 << ";\n";
  hdr << "struct RulesConfPage {\n  int16_t iCode;  // 0 ends the table\n  int16_t iStart;\n};\n";
  hdr << "struct MHelpEntry {\n  int16_t iText;\n  int16_t iSpacing;  // negative: runs on into the next entry\n};\n";
  hdr << "extern const MHelpEntry rules_aoEntries[RULES_ENTRY_COUNT];\n";
  hdr << "extern const int16_t rules_aiFinals[RULES_EDITIONS];\n";
  hdr << "extern const int16_t rules_aiQual[RULES_EDITIONS];\n";
  hdr << "extern const RulesConfPage rules_aaoConf[RULES_EDITIONS][RULES_CONF_PAGES];\n";
  hdr << "extern const int16_t rules_aiNoteA[RULES_EDITIONS];\n";
  hdr << "extern const int16_t rules_aiNoteB[RULES_EDITIONS];\n\n";
  cpp << "const MHelpEntry rules_aoEntries[RULES_ENTRY_COUNT] = {\n";
  for (size_t i = 0; i < aiEntries.size(); i += 2) {
    cpp << "{" << aiEntries[i] << ", " << aiEntries[i + 1] << "},";
    cpp << (aiEntries[i] == kPageEnd ? "\n" : " ");
  }
  cpp << "};\n";
  auto Start = [&](int iKind, int e) {
    auto it = oStarts.find(PageKey{iKind, e, 0});
    return it == oStarts.end() ? -1 : it->second;
  };
  const char* const kNames[] = {"rules_aiFinals", "rules_aiQual", "", "rules_aiNoteA", "rules_aiNoteB"};
  for (int iKind : {0, 1, 3, 4}) {
    cpp << "const int16_t " << kNames[iKind] << "[RULES_EDITIONS] = {";
    for (int e = 0; e < kRulesEditions; e++) cpp << Start(iKind, e) << (e + 1 < kRulesEditions ? ", " : "};\n");
  }
  cpp << "const RulesConfPage rules_aaoConf[RULES_EDITIONS][RULES_CONF_PAGES] = {\n";
  for (int e = 0; e < kRulesEditions; e++) {
    cpp << "  {";
    for (const auto& [k, s] : oStarts)
      if (k.iKind == 2 && k.iEdition == e) cpp << "{" << k.iCode << ", " << s << "}, ";
    cpp << "{0, -1}},\n";
  }
  cpp << "};\n\n";
}

// The gender and number of every team's full name in each language
// ("grammar/<lang>.txt"), for the sentences whose words agree with the team
// they name. A name is masculine singular, or feminine when its first word
// (cut at a space or hyphen) ends in one of the "feminine-ending" lines'
// letters; the lines "masculine", "feminine", "masculine-plural" and
// "feminine-plural" then name, by their English abbreviations, the teams
// the rule gets wrong. Every language with team names needs the file (an
// empty one says its sentences never agree with a team): without it every
// name would pass as masculine singular, so a missing file fails the build.
// Written as tlastr_aauForms[language][team]: 0 masculine, 1 feminine, 2
// masculine plural, 3 feminine plural.
void BuildForms(const fs::path& oDir, const std::vector<std::vector<Entry>>& aaTeams, int32_t cTeams,
                std::ostringstream& cpp, std::ostringstream& hdr) {
  static const char* const kKinds[4] = {"masculine", "feminine", "masculine-plural", "feminine-plural"};
  std::map<std::string, int32_t> oIds;
  for (int32_t i = 1; i < cTeams; i++) {
    const Entry& e = aaTeams[0][static_cast<size_t>(i)];
    if (e.bPresent && !e.aoFields.empty()) oIds[e.aoFields[0]] = i;
  }
  hdr << "extern const std::uint8_t tlastr_aauForms[TEXT_LANGUAGE_MAX][" << cTeams << "];\n\n";
  cpp << "const std::uint8_t tlastr_aauForms[TEXT_LANGUAGE_MAX][" << cTeams << "] = {\n";
  for (int l = 0; l < 6; l++) {
    const fs::path oPath = oDir / (std::string(kLanguages[l]) + ".txt");
    std::ifstream in(oPath, std::ios::binary);
    const auto& aTeams = aaTeams[static_cast<size_t>(l)];
    if (!in && std::any_of(aTeams.begin(), aTeams.end(), [](const Entry& e) { return e.bPresent; }))
      Error(oPath.string(), std::string("missing: the gender and number of the ") + kLanguageNames[l] +
                                " team names (an empty file if no sentence agrees with a team)");
    std::vector<std::string> aoEndings;
    std::map<int32_t, int> oListed;
    std::string oLine;
    for (int iLine = 1; std::getline(in, oLine); iLine++) {
      if (!oLine.empty() && oLine.back() == '\r') oLine.pop_back();
      if (oLine.empty() || oLine[0] == '#') continue;
      const std::string oWhere = oPath.string() + ":" + std::to_string(iLine);
      const std::vector<std::string> aoCols = Split(oLine);
      if (aoCols.size() != 2) {
        Error(oWhere, "expected a kind and its values, tab-separated");
        continue;
      }
      if (aoCols[0] == "feminine-ending") {
        aoEndings.push_back(aoCols[1]);
        continue;
      }
      const int iKind = static_cast<int>(std::find(kKinds, kKinds + 4, aoCols[0]) - kKinds);
      if (iKind == 4) {
        Error(oWhere, "unknown kind '" + aoCols[0] + "'");
        continue;
      }
      std::istringstream ss(aoCols[1]);
      for (std::string oCode; ss >> oCode;) {
        const auto it = oIds.find(oCode);
        if (it == oIds.end()) Error(oWhere, "no team has the abbreviation " + oCode);
        else if (!oListed.emplace(it->second, iKind).second) Error(oWhere, oCode + " is listed twice");
      }
    }
    cpp << "  {";
    for (int32_t i = 0; i < cTeams; i++) {
      int iForm = 0;
      const Entry& e = aaTeams[static_cast<size_t>(l)][static_cast<size_t>(i)];
      if (e.bPresent && e.aoFields.size() > 2) {
        const std::string& oName = e.aoFields[2];
        const std::string oWord = oName.substr(0, oName.find_first_of(" -"));
        for (const std::string& oEnd : aoEndings)
          if (oWord.size() >= oEnd.size() && oWord.compare(oWord.size() - oEnd.size(), oEnd.size(), oEnd) == 0) iForm = 1;
      }
      const auto it = oListed.find(i);
      if (it != oListed.end()) iForm = it->second;
      cpp << (i % 32 == 0 ? "\n    " : " ") << iForm << ",";
    }
    cpp << "\n  },\n";
  }
  cpp << "};\n\n";
}

// A text whose words agree with a team holds its forms apart by '|': two
// (singular, plural) or four (masculine, feminine, masculine plural,
// feminine plural).
void CheckForms(const std::vector<std::vector<Entry>>& aaLang, const char* pszFolder) {
  for (size_t l = 0; l < aaLang.size(); l++)
    for (size_t i = 0; i < aaLang[l].size(); i++)
      for (const std::string& o : aaLang[l][i].aoFields) {
        const auto c = std::count(o.begin(), o.end(), '|');
        if (c != 0 && c != 1 && c != 3)
          Error(std::string(pszFolder) + "/" + kLanguages[l] + ".txt",
                "id " + std::to_string(i) + " has " + std::to_string(c + 1) + " forms; a text has 1, 2 or 4");
      }
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
      if (std::string(t.pszFolder) == "frontend")
        BuildRules(oAssets / "rules", oAssets.parent_path() / "tournament" / "editions", &aaLang, cpp, hdr);
    } else {
      ReadSource(t, oDir / "all.txt", true, &aaLang[0]);
    }
    CheckForms(aaLang, t.pszFolder);
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
    // Every language has exactly the ids English has: a text shown in English
    // in another language's game is a fault of the sources (a text equal in
    // every language, such as a key's letter, is written in each file).
    if (t.bPerLanguage) {
      for (int l = 1; l < 6; l++) {
        const std::string oFile = (oDir / (std::string(kLanguages[l]) + ".txt")).string();
        std::string oMissing;
        int cMissing = 0;
        for (int32_t i = 0; i < t.iCount; i++) {
          const Entry& e = aaLang[static_cast<size_t>(l)][static_cast<size_t>(i)];
          if (e.bPresent && !aEn[static_cast<size_t>(i)].bPresent) Error(oFile, "id " + std::to_string(i) + " has no English text");
          if (!e.bPresent && aEn[static_cast<size_t>(i)].bPresent) {
            oMissing += (cMissing++ ? ", " : "") + std::to_string(i);
          }
        }
        if (cMissing > 0)
          Error(oFile, std::to_string(cMissing) + " id(s) with English text have no " + kLanguageNames[l] + " text: " + oMissing);
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
    if (std::string(t.pszFolder) == "abbreviations") BuildForms(oAssets / "grammar", aaLang, t.iCount, cpp, hdr);
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
