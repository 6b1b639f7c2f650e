#include "scene3d/kits_table.h"

#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <map>
#include <span>

#include "framework/qdx_file.h"
#include "shell/saidonce.h"

const kitcolour::Rgb kits_aoKitColourTable[12] = {
    {10, 10, 10},  {128, 64, 0},   {160, 40, 30}, {30, 40, 150}, {200, 200, 200}, {190, 180, 30},
    {70, 190, 30}, {200, 0, 200}, {128, 0, 128}, {190, 140, 30}, {64, 64, 64},    {128, 0, 128}};

namespace {

struct Table {
  std::vector<std::string> asLines;
  std::vector<KitEntry> aoEntries;
  // The lines by their first field and by that field less its last letter:
  // found before the substring search every other name needs.
  std::map<std::string, size_t> oIndex;
  std::string sProblem;
  // The faulty lines, each said as "line <n> <what>; left out".
  std::vector<std::string> asLeftOut;
};
Table g_oTable;

// Faulty lines named one by one; the rest are counted.
constexpr size_t kLeftOutShown = 5;

void Problem(const std::string& what) {
  if (g_oTable.sProblem.empty()) g_oTable.sProblem = what;
}

// A line left out: kept for the report of the file.
void LeftOut(const std::string& what) {
  Problem(what);
  g_oTable.asLeftOut.push_back(what);
}

// Says on standard error what is wrong with the table read from the file
// (the first faulty lines named, then how many lines were left out), unless
// the same was last said of that file.
void Report(const std::string& file) {
  // "kit table <file>, line 3 ..." and "kit table <file>: ..."; a table
  // parsed from memory is "kit table: ...".
  const std::string line = file.empty() ? "kit table: " : "kit table " + file + ", ";
  const std::string whole = file.empty() ? "kit table: " : "kit table " + file + ": ";
  const std::vector<std::string>& a = g_oTable.asLeftOut;
  std::string said;
  for (size_t i = 0; i < a.size() && i < kLeftOutShown; ++i) said += line + a[i] + "\n";
  if (a.size() > kLeftOutShown)
    said += whole + std::to_string(a.size() - kLeftOutShown) + " more faulty lines were left out (" +
            std::to_string(a.size()) + " in all)\n";
  else if (!a.empty())
    said += whole + std::to_string(a.size()) + (a.size() == 1 ? " faulty line was" : " faulty lines were") +
            " left out\n";
  else if (!g_oTable.sProblem.empty() && !file.empty() && g_oTable.sProblem.compare(0, file.size(), file) == 0)
    said = "kit table " + g_oTable.sProblem + "\n";  // it names the file itself
  else if (!g_oTable.sProblem.empty())
    said = whole + g_oTable.sProblem + "\n";
  // The table is read afresh for every match: what is said of a file ("" for
  // a table parsed from memory) is said again only when it changes.
  saidonce_Say("kit table", file, said);
}

int32_t Parse(const char* text, size_t n, const std::string& file);

// A whole number of at most four digits, as the table's numbers are.
bool WholeNumber(const std::string& s) {
  if (s.empty() || s.size() > 4) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// The fields of a line that hold numbers (0-based): the three numbers, then
// a template kit's shirt, shorts and socks part numbers.
constexpr size_t kTemplateNumbers[] = {2, 3, 4, 7, 8, 9, 10, 11, 13, 14, 16};
constexpr size_t kUniqueNumbers[] = {2, 3, 4};

// What is wrong with a line that has its fields: its first value that does
// not read ("" when every value does).
std::string Unreadable(const KitEntry& e);

// The line's entry, or false when it has too few fields for its kind.
bool EntryMake(const std::string& line, KitEntry* e) {
  e->asFields.clear();
  size_t at = 0;
  while (at <= line.size()) {
    const size_t comma = line.find(',', at);
    const size_t end = comma == std::string::npos ? line.size() : comma;
    if (end > at) e->asFields.push_back(line.substr(at, end - at));
    if (comma == std::string::npos) break;
    at = comma + 1;
  }
  const std::vector<std::string>& f = e->asFields;
  if (f.size() < 6) return false;
  e->cKind = f[1][0];
  if (f.size() < (e->cKind == 'U' ? 8u : 18u)) return false;
  std::snprintf(e->szName, sizeof e->szName, "%s", f[0].c_str());
  e->iNumber1 = std::atoi(f[2].c_str()) - 1;
  e->iColour = std::atoi(f[3].c_str()) - 1;
  e->iNumber3 = std::atoi(f[4].c_str()) - 1;
  e->bLongSleeves = f[5].find("SS") == std::string::npos ? 1 : 0;
  return true;
}

const KitEntry* Find(const char* name) {
  if (name == nullptr || name[0] == 0) return nullptr;
  auto it = g_oTable.oIndex.find(name);
  if (it != g_oTable.oIndex.end()) return &g_oTable.aoEntries[it->second];
  const KitEntry* found = nullptr;
  for (size_t i = 0; i < g_oTable.asLines.size(); ++i)
    if (g_oTable.asLines[i].find(name) != std::string::npos) found = &g_oTable.aoEntries[i];
  return found;
}

}  // namespace

int32_t kits_TableParse(const char* text, size_t n) { return Parse(text, n, ""); }

namespace {

int32_t Parse(const char* text, size_t n, const std::string& file) {
  g_oTable = Table{};
  size_t at = 0;
  int32_t lineNo = 0;
  while (at < n) {
    size_t end = at;
    while (end < n && text[end] != '\n') ++end;
    ++lineNo;
    std::string line(text + at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    bool binary = false;
    for (char c : line)
      if (static_cast<unsigned char>(c) < 32 && c != '\t') binary = true;
    KitEntry e{};
    std::string unreadable;
    if (binary) LeftOut("line " + std::to_string(lineNo) + " holds bytes that are not text; left out");
    else if (line.size() > 255) LeftOut("line " + std::to_string(lineNo) + " is longer than 255 characters; left out");
    else if (!EntryMake(line, &e)) LeftOut("line " + std::to_string(lineNo) + " has too few fields; left out");
    else if (!(unreadable = Unreadable(e)).empty()) LeftOut("line " + std::to_string(lineNo) + " has " + unreadable + "; left out");
    else {
      g_oTable.asLines.push_back(line);
      g_oTable.aoEntries.push_back(e);
      const std::string name = e.asFields[0];
      g_oTable.oIndex[name] = g_oTable.aoEntries.size() - 1;
      if (name.size() > 1) g_oTable.oIndex[name.substr(0, name.size() - 1)] = g_oTable.aoEntries.size() - 1;
    }
  }
  if (g_oTable.asLines.empty() && g_oTable.sProblem.empty()) Problem("the table holds no kits");
  Report(file);
  return static_cast<int32_t>(g_oTable.asLines.size());
}

}  // namespace

int32_t kits_TableLoad(const char* path) {
  QDXFile* f = QDXFileOpenRead(path, 0);
  if (f == nullptr) {
    g_oTable = Table{};
    Problem(std::string(path) + " cannot be opened");
    Report(path);
    return 0;
  }
  std::vector<char> bytes;
  char buf[4096];
  for (size_t got; (got = QDXFileRead(f, buf, sizeof buf)) > 0;) bytes.insert(bytes.end(), buf, buf + got);
  QDXFileClose(f);
  return Parse(bytes.data(), bytes.size(), path);
}

const char* kits_pszTableProblem() { return g_oTable.sProblem.c_str(); }
int32_t kits_TableLineCount() { return static_cast<int32_t>(g_oTable.asLines.size()); }
int32_t kits_bKitExists(const char* name) { return Find(name) != nullptr ? 1 : 0; }
const KitEntry* kits_poKitEntryFind(const char* name) { return Find(name); }

namespace {

// A keeper's folder: two letters, his shirt's colour, a dash, his shorts'.
bool KeeperRead(const std::string& gk, KitLook* k) {
  return gk.size() >= 15 && kitcolour::Parse(gk.c_str() + 2, &k->oKeeperShirt) &&
         kitcolour::Parse(gk.c_str() + 9, &k->oKeeperShorts);
}

// What LookRead answers besides the index of a field.
constexpr int kLookReads = -1, kLookTooFewFields = -2;

// Reads the kit's colours into k; the index of the first field that does
// not read (1 for a kind that is neither T nor U), or kLookReads when all do.
int LookRead(const KitEntry& e, KitLook* k) {
  const std::vector<std::string>& f = e.asFields;
  *k = KitLook{};
  if (e.cKind == 'U') {
    // A unique kit carries its colours in its name prefix; its design
    // counts as a plain shirt.
    if (f.size() < 8) return kLookTooFewFields;
    kitcolour::UniqueLook u{};
    if (!kitcolour::ParseUnique(f[6].c_str(), &u)) return 6;
    if (!KeeperRead(f[7], k)) return 7;
    k->oShirt = u.aColours[0];
    k->oSecond = u.aColours[1];
    k->oShorts = u.aColours[2];
    k->oSocks = u.aColours[3];
    k->iPattern = 1;
    return kLookReads;
  }
  if (e.cKind != 'T') return 1;
  if (f.size() < 18) return kLookTooFewFields;
  const size_t dash = f[6].find('-');
  if (!kitcolour::Parse(f[6].c_str(), &k->oShirt)) return 6;
  k->oSecond = k->oShirt;
  if (dash != std::string::npos && (dash + 7 > f[6].size() || !kitcolour::Parse(f[6].c_str() + dash + 1, &k->oSecond)))
    return 6;
  k->iPattern = f[10] == "22" ? 5 : std::atoi(f[7].c_str());
  if (k->iPattern < 1 || k->iPattern > 5) k->iPattern = 1;
  if (!kitcolour::Parse(f[12].c_str(), &k->oShorts)) return 12;
  if (!kitcolour::Parse(f[15].c_str(), &k->oSocks)) return 15;
  if (!KeeperRead(f[17], k)) return 17;
  return kLookReads;
}

std::string Unreadable(const KitEntry& e) {
  const std::vector<std::string>& f = e.asFields;
  KitLook look{};
  const int colour = LookRead(e, &look);
  if (colour == kLookTooFewFields) return "too few fields";
  if (colour == 1) return "a kind that is neither T nor U (\"" + f[1] + "\")";
  const bool unique = e.cKind == 'U';
  for (size_t i : unique ? std::span<const size_t>(kUniqueNumbers) : std::span<const size_t>(kTemplateNumbers))
    if (!WholeNumber(f[i])) return "a number that cannot be read (\"" + f[i] + "\")";
  // The second number picks the numbers' tint from the twelve kit colours.
  const int tint = std::atoi(f[3].c_str());
  if (tint < 1 || tint > 12) return "a kit colour number outside 1 to 12 (\"" + f[3] + "\")";
  if (colour >= 0) {
    const std::string what = unique && colour == 6 ? "a unique kit prefix" : "a colour";
    return what + " that cannot be read (\"" + f[static_cast<size_t>(colour)] + "\")";
  }
  return "";
}

}  // namespace

bool kits_bKitLookRead(const KitEntry* e, KitLook* out) {
  if (e == nullptr) return false;
  KitLook k{};
  if (LookRead(*e, &k) != kLookReads) return false;
  *out = k;
  return true;
}

namespace {

void NameMake(char* out, const char* team, int32_t edition, const char* letter) {
  std::snprintf(out, 12, "%.3s%d%.1s", team, 1958 + 4 * (edition < 0 ? 0 : edition > 10 ? 10 : edition), letter);
}

// A kit the table lacks for the edition asked: the team's nearest edition
// that it has (reported); unchanged when it has none.
void NearestEdition(char* name, int32_t* edition, const char* team, const char* letter) {
  if (kits_bKitExists(name)) return;
  for (int32_t d = 1; d <= 10; ++d)
    for (int32_t e : {*edition - d, *edition + d}) {
      if (e < 0 || e > 10) continue;
      char n[12];
      NameMake(n, team, e, letter);
      if (kits_bKitExists(n)) {
        std::fprintf(stderr, "kit table: no kit %s; wearing %s\n", name, n);
        std::memcpy(name, n, 12);
        *edition = e;
        return;
      }
    }
  std::fprintf(stderr, "kit table: no kit %s\n", name);
}

// The colour edition of a black-and-white kit ("CUR1958" plays in
// "ANT1966"); false when the team has none.
bool ColourEdition(char* name, int32_t* edition, const char* team, const char* letter) {
  if (std::strncmp(team, "CUR", 3) == 0 && *edition == 0) {
    std::snprintf(name, 12, "ANT1966%s", letter);
    *edition = 2;
    return true;
  }
  for (int32_t e = 2; e <= 10; ++e) {
    char n[12];
    NameMake(n, team, e, "");
    if (kits_bKitExists(n)) {
      NameMake(name, team, e, letter);
      *edition = e;
      return true;
    }
  }
  return false;
}

kitcolour::Rgb ShirtOf(const char* name) {
  KitLook k{};
  if (kits_bKitLookRead(Find(name), &k)) return k.oShirt;
  return kitcolour::Rgb{128, 128, 128};
}

}  // namespace

void kits_ColourEquivalentsFind(KitChoice* out, const char* home, int32_t homeEd, const char* away, int32_t awayEd,
                                int32_t training) {
  homeEd = homeEd < 0 ? 0 : homeEd > 10 ? 10 : homeEd;
  awayEd = awayEd < 0 ? 0 : awayEd > 10 ? 10 : awayEd;
  char* hn = out->aszName[0];
  char* an = out->aszName[1];
  NameMake(hn, home, homeEd, "H");
  // A black-and-white home kit against a colour kit: its colour edition
  // (not in training, where there is no other kit).
  if (!training && homeEd <= 1 && awayEd >= 2) {
    char keep[12];
    std::memcpy(keep, hn, 12);
    const int32_t keepEd = homeEd;
    if (!ColourEdition(hn, &homeEd, home, "H")) {
      std::memcpy(hn, keep, 12);
      homeEd = keepEd;
      std::fprintf(stderr, "Couldnt find colour equivalent of %s's B+W home kit\n", hn);
    }
  }
  NearestEdition(hn, &homeEd, home, "H");
  const int32_t mode = homeEd == 0 ? 2 : homeEd == 1 ? 1 : 0;
  if (training) {
    an[0] = 0;
    out->aiEdition[0] = out->aiEdition[1] = homeEd;
    out->iColourMode = mode;
    return;
  }
  bool homeLetter = true;
  if (mode == 0) {
    if (awayEd <= 1) {
      char keep[12];
      NameMake(keep, away, awayEd, "H");
      const int32_t keepEd = awayEd;
      if (!ColourEdition(an, &awayEd, away, "H")) {
        std::memcpy(an, keep, 12);
        awayEd = keepEd;
        std::fprintf(stderr, "Couldnt find colour equivalent of %s's B+W away kit\n", an);
      }
    } else {
      NameMake(an, away, awayEd, "H");
    }
    NearestEdition(an, &awayEd, away, "H");
  } else {
    // Historic match: the away side in its kit of the home side's edition,
    // or the home team's away kit when it has none.
    char n[12];
    NameMake(n, away, homeEd, "");
    if (kits_bKitExists(n)) {
      NameMake(an, away, homeEd, "H");
      awayEd = homeEd;
    } else {
      std::snprintf(an, 12, "%s", hn);
      an[std::strlen(an) - 1] = 'A';
      awayEd = homeEd;
      homeLetter = false;
    }
  }
  if (homeLetter) {
    // The away side changes when the two home kits clash: the table's first
    // numbers agree, or the shirts look too alike in the match's colouring.
    const KitEntry* h = Find(hn);
    const KitEntry* a = Find(an);
    const bool same = h != nullptr && a != nullptr && h->iNumber1 == a->iNumber1;
    if (same || kitcolour::Apart(ShirtOf(hn), ShirtOf(an), mode) < kitcolour::kClash) {
      char alt[12];
      std::memcpy(alt, an, 12);
      alt[std::strlen(alt) - 1] = 'A';
      if (kits_bKitExists(alt)) std::memcpy(an, alt, 12);
    }
  }
  out->aiEdition[0] = homeEd;
  out->aiEdition[1] = awayEd;
  out->iColourMode = mode;
}
