#include "scene3d/kits_table.h"

#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <map>

#include "framework/qdx_file.h"
#include "scene3d/kits_line.h"
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

// The line's entry, or false when it has too few fields for its kind.
bool EntryMake(const std::string& line, KitEntry* e) {
  e->asFields = kitline::Fields(line);
  const std::vector<std::string>& f = e->asFields;
  if (f.size() < 6) return false;
  e->cKind = kitline::Kind(f);
  if (f.size() < (e->cKind == 'U' ? kitline::kUniqueFields : kitline::kTemplateFields)) return false;
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
    KitEntry e{};
    const std::string fault = kitline::Fault(line);
    if (!fault.empty() || !EntryMake(line, &e)) {
      LeftOut("line " + std::to_string(lineNo) + " " + (fault.empty() ? "has too few fields" : fault) + "; left out");
    } else {
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

bool kits_bKitLookRead(const KitEntry* e, KitLook* out) {
  if (e == nullptr) return false;
  KitLook k{};
  if (kitline::LookRead(e->asFields, &k) != kitline::kLookReads) return false;
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
