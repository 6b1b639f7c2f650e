// Player database generator: builds the squads of every team edition from the
// compact sources in assets/ and writes the database file, its block index and
// the formation and team-edition tables as C++ sources.
//
//   dbgen [--complete] <assets> <dump.dat> <generated folder>
//
// Sources: assets/match/formations.txt, assets/database/teams.txt,
// profiles.txt, unique_heads.txt, names/<pool>.txt, and the English
// abbreviations of assets/texts/abbreviations/en.txt (the ids and
// abbreviations of teams.txt must agree with them). It also checks the team
// names of every language (assets/texts/abbreviations/, teams/all.txt).
//
// Everything is drawn from generators seeded per team and edition, so two runs
// give the same bytes. What is written is read back and checked against the
// rules the game relies on; any inconsistency is an error and nothing is
// written. --complete adds the checks that only hold for the whole data set:
// the pinned keys, the finals sizes and the quick-match team editions.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kEditions = 11;
constexpr int kFormations = 19;
constexpr int kSlots = 11;
constexpr int kTableSize = 31;
constexpr int kRecord = 112;
constexpr int kAlign = 2048;
constexpr int kNameMax = 31;

int g_cErrors = 0;

void Error(const std::string& oWhere, const std::string& oWhat) {
  std::fprintf(stderr, "dbgen: %s: %s\n", oWhere.c_str(), oWhat.c_str());
  g_cErrors++;
}

// ---- Small helpers ---------------------------------------------------------------

std::vector<std::string> SplitWs(const std::string& o) {
  std::vector<std::string> ao;
  std::istringstream ss(o);
  std::string w;
  while (ss >> w) ao.push_back(w);
  return ao;
}

std::vector<std::string> SplitChar(const std::string& o, char c) {
  std::vector<std::string> ao;
  std::string cur;
  for (char ch : o) {
    if (ch == c) { ao.push_back(cur); cur.clear(); }
    else cur.push_back(ch);
  }
  ao.push_back(cur);
  return ao;
}

std::string Trim(const std::string& o) {
  size_t b = o.find_first_not_of(" \t\r");
  if (b == std::string::npos) return "";
  size_t e = o.find_last_not_of(" \t\r");
  return o.substr(b, e - b + 1);
}

bool ToInt(const std::string& o, int* pi) {
  if (o.empty()) return false;
  char* pEnd = nullptr;
  long v = std::strtol(o.c_str(), &pEnd, 10);
  if (*pEnd != '\0') return false;
  *pi = static_cast<int>(v);
  return true;
}

// Lines of a source without comments and blank lines, with their numbers.
std::vector<std::pair<int, std::string>> ReadLines(const fs::path& oPath) {
  std::vector<std::pair<int, std::string>> a;
  std::ifstream in(oPath, std::ios::binary);
  if (!in) {
    Error(oPath.string(), "cannot be read");
    return a;
  }
  std::string line;
  int n = 0;
  while (std::getline(in, line)) {
    n++;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (Trim(line).empty() || Trim(line)[0] == '#') continue;
    a.push_back({n, line});
  }
  return a;
}

// UTF-8 to Windows-1252 for the Latin-1 range and the few letters above it the
// sources use; false for anything else.
bool ToCp1252(const std::string& oIn, std::string* poOut) {
  poOut->clear();
  for (size_t i = 0; i < oIn.size();) {
    unsigned char b = static_cast<unsigned char>(oIn[i]);
    if (b < 0x80) {
      if (b < 0x20) return false;
      poOut->push_back(static_cast<char>(b));
      i++;
      continue;
    }
    if ((b & 0xE0) != 0xC0 || i + 1 >= oIn.size()) return false;
    unsigned c = ((b & 0x1Fu) << 6) | (static_cast<unsigned char>(oIn[i + 1]) & 0x3Fu);
    i += 2;
    if (c >= 0xA0 && c <= 0xFF) poOut->push_back(static_cast<char>(c));
    else if (c == 0x160) poOut->push_back(static_cast<char>(0x8A));
    else if (c == 0x161) poOut->push_back(static_cast<char>(0x9A));
    else if (c == 0x17D) poOut->push_back(static_cast<char>(0x8E));
    else if (c == 0x17E) poOut->push_back(static_cast<char>(0x9E));
    else return false;
  }
  return true;
}

// A 64-bit generator seeded per team and edition.
struct Rng {
  std::uint64_t s;
  explicit Rng(std::uint64_t seed) : s(seed * 0x9E3779B97F4A7C15ull + 0x243F6A8885A308D3ull) {}
  std::uint32_t Next() {
    s += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = s;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 16);
  }
  int Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
  int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }  // inclusive
  int Weighted(const std::vector<int>& aw) {
    int total = 0;
    for (int w : aw) total += w;
    int r = Below(total);
    for (size_t i = 0; i < aw.size(); i++) {
      if (r < aw[i]) return static_cast<int>(i);
      r -= aw[i];
    }
    return 0;
  }
};

// ---- Positions -------------------------------------------------------------------

// Alternatives of each position code (code 0, the goalkeeper, has none).
const std::map<int, std::vector<int>> kCompat = {
    {2, {13, 8, 12, 7, 24}}, {13, {2, 8, 12, 7, 24}}, {12, {2, 13, 8, 7, 24}}, {8, {2, 13, 12, 7, 24}},
    {7, {2, 13, 8, 12, 24}}, {24, {2, 13, 8, 12, 7, 11, 16, 4, 10}}, {1, {6, 18, 3, 9, 12, 7, 23}},
    {6, {1, 18, 3, 9, 23}}, {11, {16, 17, 4, 10, 15, 24}}, {15, {16, 17, 4, 10, 11}}, {10, {16, 17, 4, 15, 11}},
    {9, {18, 17, 3, 15, 11, 14, 6}}, {4, {16, 17, 10, 15, 11, 14}}, {3, {18, 17, 9, 23, 21, 14, 6}},
    {16, {17, 4, 10, 15, 11, 14}}, {17, {16, 4, 10, 15, 11, 14}}, {18, {17, 3, 9, 23, 21, 14, 6}},
    {14, {21, 23, 16, 17, 4, 3, 10, 9}}, {19, {5, 20, 21, 22, 23}}, {5, {19, 20, 21, 22, 23, 14}},
    {20, {5, 19, 21, 22, 23}}, {21, {5, 19, 20, 23, 22, 18, 3, 14}}, {22, {20, 21, 5, 19, 23, 18, 3, 14}},
    {23, {20, 21, 5, 19, 22, 18, 3, 14}}};

enum Role { kKeeper, kDefender, kMidfield, kForward };
Role RoleOf(int code) {
  switch (code) {
    case 0: return kKeeper;
    case 1: case 2: case 6: case 7: case 8: case 12: case 13: case 24: return kDefender;
    case 5: case 19: case 20: case 21: case 22: case 23: return kForward;
    default: return kMidfield;
  }
}

// ---- Formations ------------------------------------------------------------------

struct Slot {
  int iSlot, iSide, iPosition, iFlip, iColumn, iRow, iNumber;
};
struct Formation {
  std::string oName;
  std::array<Slot, kSlots> aSlots;
};

const int kColumns[6][5] = {{0}, {4}, {2, 6}, {2, 4, 6}, {1, 3, 5, 7}, {0, 2, 4, 6, 8}};
const int kRows[6][5] = {{0}, {5}, {3, 7}, {2, 5, 8}, {2, 4, 6, 8}, {1, 3, 5, 7, 9}};

bool ReadFormations(const fs::path& oPath, std::vector<Formation>* pa, std::vector<int>* paiTable) {
  for (auto& [n, line] : ReadLines(oPath)) {
    std::string where = oPath.string() + ":" + std::to_string(n);
    std::string t = Trim(line);
    if (t.rfind("table:", 0) == 0) {
      for (auto& w : SplitWs(t.substr(6))) {
        int v;
        if (!ToInt(w, &v)) Error(where, "table word '" + w + "' is not a number");
        else paiTable->push_back(v);
      }
      continue;
    }
    std::vector<std::string> aw = SplitWs(t);
    if (aw.empty()) continue;
    Formation f;
    f.oName = aw[0];
    std::vector<std::string> aLines = SplitChar(t.substr(t.find(aw[0]) + aw[0].size()), '|');
    int iSlot = 0;
    bool bBad = false;
    const int cGroups = static_cast<int>(aLines.size()) - 1;  // outfield lines
    if (cGroups < 1 || cGroups > 5) {
      Error(where, "a formation has 1 to 5 outfield lines");
      continue;
    }
    for (int g = 0; g <= cGroups && !bBad; g++) {
      std::vector<std::string> aTok = SplitWs(aLines[static_cast<size_t>(g)]);
      if (aTok.empty() || aTok.size() > 5) {
        Error(where, "a line holds 1 to 5 slots");
        bBad = true;
        break;
      }
      for (size_t k = 0; k < aTok.size(); k++) {
        if (iSlot >= kSlots) {
          Error(where, "more than 11 slots");
          bBad = true;
          break;
        }
        std::string tok = aTok[k];
        int side = 0, flip = 0;
        if (tok.size() > 2 && tok.substr(tok.size() - 2) == ":R") { side = 1; tok.resize(tok.size() - 2); }
        else if (tok.size() > 2 && tok.substr(tok.size() - 2) == ":L") { side = 2; flip = 2; tok.resize(tok.size() - 2); }
        int pos;
        if (!ToInt(tok, &pos) || pos < 0 || pos > 24) {
          Error(where, "slot '" + aTok[k] + "' is no position code 0-24");
          bBad = true;
          break;
        }
        Slot s{iSlot, side, pos, flip, g == 0 ? 4 : kColumns[aTok.size()][k], g == 0 ? 0 : kRows[cGroups][g - 1],
               iSlot + 1};
        f.aSlots[static_cast<size_t>(iSlot)] = s;
        iSlot++;
      }
    }
    if (bBad) continue;
    if (iSlot != kSlots) {
      Error(where, "formation " + f.oName + " has " + std::to_string(iSlot) + " slots, not 11");
      continue;
    }
    pa->push_back(f);
  }
  return true;
}

// The rules every formation keeps; the squads' first pass relies on them.
void CheckFormations(const std::string& where, const std::vector<Formation>& a, const std::vector<int>& aiTable) {
  if (a.size() != kFormations) Error(where, "there are " + std::to_string(a.size()) + " formations, not 19");
  if (aiTable.size() != kTableSize) Error(where, "the table has " + std::to_string(aiTable.size()) + " words, not 31");
  for (const Formation& f : a) {
    const std::string w = where + ": " + f.oName;
    const Slot& k = f.aSlots[0];
    if (k.iPosition != 0 || k.iSide != 0 || k.iNumber != 1) Error(w, "slot 0 must be position 0, side 0, number 1");
    std::set<int> numbers;
    std::set<std::pair<int, int>> seen;
    std::map<int, int> rowCount;
    for (int i = 0; i < kSlots; i++) {
      const Slot& s = f.aSlots[static_cast<size_t>(i)];
      numbers.insert(s.iNumber);
      if (i > 0 && s.iPosition == 0) Error(w, "only slot 0 is the goalkeeper's");
      if ((s.iSide == 2) != (s.iFlip == 2)) Error(w, "side 2 goes with flip 2 and only with it");
      if (!seen.insert({s.iPosition, s.iFlip}).second)
        Error(w, "two slots share position " + std::to_string(s.iPosition) + " and flip");
      if (s.iColumn < 0 || s.iColumn > 9 || s.iRow < 0 || s.iRow > 9) Error(w, "columns and rows are 0-9");
      if (i > 0) rowCount[s.iRow]++;
    }
    if (numbers.size() != kSlots || *numbers.begin() != 1 || *numbers.rbegin() != 11)
      Error(w, "numbers 1-11 each once");
    std::string digits;
    for (auto& [row, c] : rowCount) digits += std::to_string(c);
    if (digits != f.oName) Error(w, "its lines from the back count " + digits + ", not its name");
  }
}

// ---- Teams, pools, profiles, unique heads ------------------------------------------------

struct Edition {
  bool bIn = false;
  bool bFinals = false;
  int iRating = 0;
  int iFormation = 0;
};
struct Team {
  int iId = 0;
  std::string oTLA;
  int iNumber = 0;
  std::string oPool, oProfile;
  std::array<Edition, kEditions> aEd{};
};
struct Pool {
  bool bFamilyFirst = false;
  std::vector<std::string> aGiven, aPrefix, aStart, aMiddle, aEnd;
};
struct Profile {
  std::vector<int> aColour, aHair, aFacial, aBuild;
};
struct UniqueHead {
  std::string oFolder, oName, oTLA;
  std::vector<int> aEditions;
  int iPosition = 0;
  int iLowByte = -1;  // appearance low byte, or -1
};

std::map<int, std::string> ReadAbbreviations(const fs::path& oPath) {
  std::map<int, std::string> m;
  for (auto& [n, line] : ReadLines(oPath)) {
    std::vector<std::string> c = SplitChar(line, '\t');
    int id;
    if (c.size() >= 3 && ToInt(c[0], &id)) m[id] = c[2];
  }
  return m;
}

std::vector<Team> ReadTeams(const fs::path& oPath, const std::map<int, std::string>& tla) {
  std::vector<Team> a;
  for (auto& [n, line] : ReadLines(oPath)) {
    std::string where = oPath.string() + ":" + std::to_string(n);
    std::vector<std::string> c = SplitChar(line, '\t');
    if (c.size() != 6) {
      Error(where, "expected 6 tab-separated columns");
      continue;
    }
    Team t;
    if (!ToInt(c[0], &t.iId) || t.iId < 1 || t.iId > 204) {
      Error(where, "team id must be 1-204");
      continue;
    }
    t.oTLA = c[1];
    auto it = tla.find(t.iId);
    if (it == tla.end() || it->second != t.oTLA) Error(where, "id " + c[0] + " is not abbreviated " + t.oTLA);
    if (!ToInt(c[2], &t.iNumber) || t.iNumber < 0 || t.iNumber > 1000) Error(where, "bad database number");
    t.oPool = c[3];
    t.oProfile = c[4];
    for (auto& tok : SplitWs(c[5])) {
      std::string s = tok;
      bool fin = !s.empty() && s.back() == '*';
      if (fin) s.pop_back();
      std::vector<std::string> p = SplitChar(s, ':');
      int yy, r, f;
      if (p.size() != 3 || !ToInt(p[0], &yy) || !ToInt(p[1], &r) || !ToInt(p[2], &f) || yy < 58 || yy > 98 ||
          (yy - 58) % 4 != 0) {
        Error(where, "edition '" + tok + "' is not yy:rating:formation");
        continue;
      }
      Edition& e = t.aEd[static_cast<size_t>((yy - 58) / 4)];
      if (e.bIn) Error(where, "edition " + p[0] + " given twice");
      if (r < 1 || r > 10) Error(where, "edition " + p[0] + ": rating must be 1-10");
      if (f < 0 || f >= kFormations) Error(where, "edition " + p[0] + ": formation must be 0-18");
      e = Edition{true, fin, r, f};
    }
    a.push_back(t);
  }
  return a;
}

void ReadPool(const fs::path& oPath, Pool* p) {
  for (auto& [n, line] : ReadLines(oPath)) {
    std::string where = oPath.string() + ":" + std::to_string(n);
    size_t colon = line.find(':');
    if (colon == std::string::npos) {
      Error(where, "expected 'key: words'");
      continue;
    }
    std::string key = Trim(line.substr(0, colon));
    std::string rest = line.substr(colon + 1);
    std::vector<std::string> aw;
    for (auto& w : SplitWs(rest)) {
      std::string o;
      if (!ToCp1252(w, &o)) Error(where, "'" + w + "' has a character outside Windows-1252");
      aw.push_back(o);
    }
    if (key == "given") p->aGiven = aw;
    else if (key == "start") p->aStart = aw;
    else if (key == "middle") p->aMiddle = aw;
    else if (key == "end") p->aEnd = aw;
    else if (key == "order") p->bFamilyFirst = Trim(rest) == "family first";
    else if (key == "prefix") {
      std::string o;
      if (!ToCp1252(Trim(rest), &o)) Error(where, "prefix outside Windows-1252");
      p->aPrefix = SplitChar(o, '|');
    } else Error(where, "unknown key '" + key + "'");
  }
  if (p->aGiven.size() < 8 || p->aStart.empty() || p->aEnd.empty())
    Error(oPath.string(), "a pool needs at least 8 given names, starts and ends");
}

std::map<std::string, Profile> ReadProfiles(const fs::path& oPath) {
  std::map<std::string, Profile> m;
  for (auto& [n, line] : ReadLines(oPath)) {
    std::string where = oPath.string() + ":" + std::to_string(n);
    std::vector<std::string> aw = SplitWs(line);
    if (aw.empty()) continue;
    Profile pr;
    std::vector<int>* cur = nullptr;
    for (size_t i = 1; i < aw.size(); i++) {
      if (aw[i] == "colour:") cur = &pr.aColour;
      else if (aw[i] == "hair:") cur = &pr.aHair;
      else if (aw[i] == "facial:") cur = &pr.aFacial;
      else if (aw[i] == "build:") cur = &pr.aBuild;
      else {
        int v;
        if (!cur || !ToInt(aw[i], &v) || v < 0) Error(where, "bad weight '" + aw[i] + "'");
        else cur->push_back(v);
      }
    }
    auto positive = [](const std::vector<int>& a) {
      int s = 0;
      for (int v : a) s += v;
      return s > 0;
    };
    if (pr.aColour.size() != 8 || pr.aHair.size() != 5 || pr.aFacial.size() != 4 || pr.aBuild.size() != 3 ||
        !positive(pr.aColour) || !positive(pr.aHair) || !positive(pr.aFacial) || !positive(pr.aBuild))
      Error(where, "a profile has 8 colour, 5 hair, 4 facial and 3 build weights, each group above 0");
    m[aw[0]] = pr;
  }
  return m;
}

std::vector<UniqueHead> ReadUniqueHeads(const fs::path& oPath) {
  std::vector<UniqueHead> a;
  for (auto& [n, line] : ReadLines(oPath)) {
    std::string where = oPath.string() + ":" + std::to_string(n);
    std::vector<std::string> c = SplitChar(line, '\t');
    if (c.size() != 7) {
      Error(where, "expected 7 tab-separated columns");
      continue;
    }
    UniqueHead u;
    u.oFolder = c[0];
    if (!ToCp1252(c[1], &u.oName) || u.oName.empty() || u.oName.size() > kNameMax) Error(where, "bad name");
    u.oTLA = c[2];
    for (auto& w : SplitWs(c[3])) {
      int y;
      if (!ToInt(w, &y) || y < 58 || y > 98 || (y - 58) % 4) Error(where, "bad edition " + w);
      else u.aEditions.push_back((y - 58) / 4);
    }
    if (!ToInt(c[4], &u.iPosition) || u.iPosition < 1 || u.iPosition > 24) Error(where, "bad position");
    if (c[5] != "black" && c[5] != "dark" && c[5] != "gingwhit") Error(where, "skin set is black, dark or gingwhit");
    if (c[6] == "162" || c[6] == "164" || c[6] == "165") u.iLowByte = std::stoi(c[6]);
    else if (c[6] != "name" && c[6] != "none") Error(where, "recognised by name, 162, 164, 165 or none");
    a.push_back(u);
  }
  return a;
}

// ---- Team names ---------------------------------------------------------------------

// The abbreviation tables of the six languages and the team-name table: every
// language's abbreviations and full names are unique, short names at most 12
// characters and full names at most 24, and the team-name table's ids 1-204
// are the English full names. A row missing from a translation is English.
void CheckTeamTexts(const fs::path& texts) {
  const char* const langs[6] = {"en", "fr", "de", "es", "it", "pt"};
  std::map<int, std::array<std::string, 4>> english;
  for (int l = 0; l < 6; l++) {
    const fs::path p = texts / "abbreviations" / (std::string(langs[l]) + ".txt");
    std::map<int, std::array<std::string, 4>> rows = english;
    for (auto& [n, line] : ReadLines(p)) {
      const std::string where = p.string() + ":" + std::to_string(n);
      std::vector<std::string> c = SplitChar(line, '\t');
      const size_t first = l == 0 ? 2 : 1;
      int id;
      if (c.size() != first + 4 || !ToInt(c[0], &id) || id < 0 || id > 204) {
        Error(where, "expected an id 0-204 and " + std::to_string(first + 4) + " columns");
        continue;
      }
      std::array<std::string, 4> f;
      for (int k = 0; k < 4; k++)
        if (!ToCp1252(c[first + static_cast<size_t>(k)], &f[static_cast<size_t>(k)]))
          Error(where, "a character outside Windows-1252");
      if (f[1].size() > 12) Error(where, "short name '" + c[first + 1] + "' is longer than 12");
      if (f[2].size() > 24) Error(where, "full name '" + c[first + 2] + "' is longer than 24");
      rows[id] = f;
    }
    if (l == 0) {
      english = rows;
      if (english.size() != 205) Error(p.string(), "the English table needs all 205 ids");
    }
    std::map<std::string, int> abbr, full;
    for (auto& [id, f] : rows) {
      if (!abbr.emplace(f[0], id).second)
        Error(p.string(), "abbreviation " + f[0] + " of ids " + std::to_string(abbr[f[0]]) + " and " + std::to_string(id));
      if (!full.emplace(f[2], id).second)
        Error(p.string(), "full name " + f[2] + " of ids " + std::to_string(full[f[2]]) + " and " + std::to_string(id));
    }
  }
  const fs::path all = texts / "teams" / "all.txt";
  std::map<int, std::string> names;
  for (auto& [n, line] : ReadLines(all)) {
    std::vector<std::string> c = SplitChar(line, '\t');
    int id;
    std::string o;
    if (c.size() == 3 && ToInt(c[0], &id) && ToCp1252(c[2], &o)) names[id] = o;
  }
  for (int id = 1; id <= 204; id++) {
    auto it = english.find(id);
    if (it == english.end()) continue;
    if (names[id] != it->second[2])
      Error(all.string(), "team name " + std::to_string(id) + " is not the English full name " + it->second[2]);
  }
}

// ---- Squads ----------------------------------------------------------------------

struct Player {
  std::string oName;  // Windows-1252
  std::uint32_t uFlags = 0;
  int aiPos[3] = {0, 0, 0};
  int iSide = 0;
  std::uint8_t ab[19] = {};  // bytes 52..70
  std::uint16_t uAppearance = 0;
  std::uint16_t uPenalty = 11;
  std::uint32_t uNumber = 0;
  int iCareer = 1;     // editions played, this one included
  int iLastEdition = -1;
  int iKey = -1;       // identity within the team's history
};

enum : std::uint32_t {
  kStarter = 1u << 0,
  kSetPieceTaker = 1u << 5,
  kReserve = 1u << 13,
  kReserve2 = 1u << 14,
  kBench = 1u << 15,
};

int BenchSize(int e) { return e <= 2 ? 0 : (e <= 8 ? 5 : 7); }

std::string Capitalised(std::string o) {
  if (!o.empty() && o[0] >= 'a' && o[0] <= 'z') o[0] = static_cast<char>(o[0] - 'a' + 'A');
  return o;
}

std::string MakeSurname(const Pool& p, Rng& r) {
  std::string start = p.aStart[static_cast<size_t>(r.Below(static_cast<int>(p.aStart.size())))];
  bool bCap = !start.empty() && start.back() == '+';
  if (bCap) start.pop_back();
  std::string rest;
  if (!p.aMiddle.empty() && r.Below(3) == 0) rest += p.aMiddle[static_cast<size_t>(r.Below(static_cast<int>(p.aMiddle.size())))];
  rest += p.aEnd[static_cast<size_t>(r.Below(static_cast<int>(p.aEnd.size())))];
  std::string s = start + (bCap ? Capitalised(rest) : rest);
  if (!p.aPrefix.empty() && r.Below(4) == 0)
    s = p.aPrefix[static_cast<size_t>(r.Below(static_cast<int>(p.aPrefix.size())))] + " " + Capitalised(s);
  return s;
}

std::string MakeName(const Pool& p, Rng& r) {
  std::string given = p.aGiven[static_cast<size_t>(r.Below(static_cast<int>(p.aGiven.size())))];
  std::string sur = MakeSurname(p, r);
  std::string full = p.bFamilyFirst ? sur + " " + given : given + " " + sur;
  if (full.size() > kNameMax) full = sur.size() <= kNameMax ? sur : sur.substr(0, kNameMax);
  return full;
}

std::uint16_t MakeAppearance(const Profile& pr, Rng& r) {
  int colour = r.Weighted(pr.aColour);
  std::vector<int> hair = pr.aHair;
  // An afro only for the darker colours (african, black, dark).
  if (colour != 0 && colour != 2 && colour != 5) hair[1] = 0;
  int style = r.Weighted(hair);
  int facial = r.Weighted(pr.aFacial);
  int build = r.Weighted(pr.aBuild);
  const int kBuild[3] = {0, 2048, 4096};
  return static_cast<std::uint16_t>((colour << 3) | (style << 6) | (facial << 9) | kBuild[build]);
}

// Skills by team rating, role and rank in the squad (0 starter, 1 bench, 2 reserve).
void MakeSkills(Player* p, int rating, int rank, Rng& r) {
  const Role role = RoleOf(p->aiPos[0]);
  const int base = 36 + rating * 4 + (rank == 0 ? 4 : rank == 1 ? 0 : -5);
  auto skill = [&](int bias, int lo = 30) { return static_cast<std::uint8_t>(std::clamp(base + bias + r.Between(-8, 8), lo, 99)); };
  // Outfielders tackle cleanly (a clean tackler's challenge from behind is a
  // foul, seldom a sending-off) and strike the ball hard and true, heading it
  // on target too; a keeper is beaten often enough for football's goals:
  // his keeping skills sit low and his handling lowest, so that he parries
  // and spills a shot he would otherwise have held.
  int speed = 0, control = 0, power = 0, acc = 0, head = 0, pass = 0, creat = 0, aware = 0, tack = 0, gk = -40;
  int hand = 0;  // a keeper's handling, against his other keeping skills
  switch (role) {
    case kKeeper: speed = -10; control = -12; power = 0; acc = -15; head = -10; pass = -10; creat = -20; aware = 4; tack = -15; gk = -46; hand = -10; break;
    case kDefender: speed = 0; control = -4; power = 14; acc = 5; head = 15; pass = -2; creat = -8; aware = 4; tack = 30; break;
    case kMidfield: speed = 2; control = 6; power = 25; acc = 30; head = 10; pass = 8; creat = 6; aware = 4; tack = 20; break;
    case kForward: speed = 8; control = 6; power = 31; acc = 40; head = 25; pass = 0; creat = 4; aware = 2; tack = 10; break;
  }
  std::uint8_t* b = p->ab;  // b[i] is record byte 52 + i
  b[0] = skill(speed);
  b[1] = skill(0);
  b[2] = skill(control);
  b[3] = skill(power);
  b[4] = skill(acc);
  b[5] = skill(head);
  b[6] = skill(pass);
  b[7] = skill(creat);
  b[8] = skill(aware);
  b[9] = skill(tack);
  b[14] = skill(2);  // stamina
  for (int i = 15; i <= 18; i++) b[i] = skill(i == 16 ? gk + hand : gk, 5);  // reactions, handling, judgement, diving
}

void SetPreferences(Player* p, Rng& r) {
  if (p->aiPos[0] == 0) {
    p->aiPos[1] = p->aiPos[2] = 0;
    return;
  }
  const std::vector<int>& alt = kCompat.at(p->aiPos[0]);
  p->aiPos[1] = alt[static_cast<size_t>(r.Below(static_cast<int>(alt.size())))];
  p->aiPos[2] = alt[static_cast<size_t>(r.Below(static_cast<int>(alt.size())))];
}

// Positions (with sides) that the bench and the reserves cover, in order.
const int kCover[][2] = {{0, 0}, {2, 0}, {4, 0}, {5, 0}, {1, 1}, {3, 2}, {11, 0}, {13, 0}, {16, 0},
                         {19, 0}, {1, 2}, {3, 1}, {0, 0}, {14, 0}, {21, 1}, {6, 1}, {10, 0}, {9, 2}};

struct TeamHistory {
  std::vector<Player> aPast;  // the last edition's squad
  int iNextKey = 0;
};

std::vector<Player> MakeSquad(const Team& t, int e, const Formation& f, const Pool& pool, const Profile& prof,
                              const std::vector<UniqueHead>& heads, TeamHistory* ph) {
  Rng r(static_cast<std::uint64_t>(t.iId) * 97 + static_cast<std::uint64_t>(e));
  const Edition& ed = t.aEd[static_cast<size_t>(e)];
  const int bench = BenchSize(e);
  const int minSize = std::max(16, 11 + bench + 2);
  const int n = ed.bFinals ? 22 : r.Between(minSize, 22);

  // Roles: eleven starters from the formation, the bench, then the reserves.
  struct RoleDef {
    int pos, side, rank;
  };
  std::vector<RoleDef> roles;
  for (const Slot& s : f.aSlots) roles.push_back({s.iPosition, s.iSide, 0});
  for (int i = 0; i < bench; i++) roles.push_back({kCover[i][0], kCover[i][1], 1});
  for (int i = 0; static_cast<int>(roles.size()) < n; i++) {
    // Without a bench the reserves start with the second keeper; with one, a third.
    int k = bench == 0 ? i : (i == 0 ? 12 : (bench + i) % 18);
    if (bench > 0 && k == 0) k = 1;
    roles.push_back({kCover[k][0], kCover[k][1], 2});
  }

  // Players of the last edition carry on (careers of up to three editions).
  // The players with heads of their own are placed below, edition by edition.
  std::set<std::string> names;
  for (const UniqueHead& u : heads) names.insert(u.oName);
  std::vector<Player> carry;
  for (const Player& p : ph->aPast)
    if (!names.count(p.oName) && p.iCareer < 3 && p.iLastEdition >= e - 2 && r.Below(100) < 45) carry.push_back(p);
  for (const Player& p : carry) names.insert(p.oName);

  std::vector<Player> squad;
  for (size_t i = 0; i < roles.size(); i++) {
    const RoleDef& rd = roles[i];
    Player p;
    bool found = false;
    for (size_t k = 0; k < carry.size(); k++) {
      if (RoleOf(carry[k].aiPos[0]) == RoleOf(rd.pos) && (rd.pos != 0 || carry[k].aiPos[0] == 0)) {
        p = carry[k];
        carry.erase(carry.begin() + static_cast<long>(k));
        p.iCareer++;
        found = true;
        break;
      }
    }
    if (!found) {
      p = Player{};
      p.iKey = ph->iNextKey++;
      p.uAppearance = MakeAppearance(prof, r);
      do p.oName = MakeName(pool, r);
      while (names.count(p.oName));
    }
    names.insert(p.oName);
    p.aiPos[0] = rd.pos;
    p.iSide = rd.side;
    SetPreferences(&p, r);
    p.uFlags = rd.rank == 0 ? std::uint32_t{kStarter} : rd.rank == 1 ? std::uint32_t{kBench} : 0u;
    p.iLastEdition = e;
    MakeSkills(&p, ed.iRating, rd.rank, r);
    squad.push_back(p);
  }
  // Reserves: the first half first-choice, the rest second-choice.
  const int cReserves = n - 11 - bench;
  for (int i = 0; i < cReserves; i++)
    squad[static_cast<size_t>(11 + bench + i)].uFlags = i < (cReserves + 1) / 2 ? kReserve : kReserve2;

  // The players with heads of their own take the first starting slot of their position.
  for (const UniqueHead& u : heads) {
    if (u.oTLA != t.oTLA || std::find(u.aEditions.begin(), u.aEditions.end(), e) == u.aEditions.end()) continue;
    for (int i = 1; i < 11; i++) {
      Player& p = squad[static_cast<size_t>(i)];
      if (p.aiPos[0] != u.iPosition) continue;
      names.erase(p.oName);
      p.oName = u.oName;
      if (u.iLowByte >= 0) p.uAppearance = static_cast<std::uint16_t>((p.uAppearance & 0xFE00u) | static_cast<unsigned>(u.iLowByte));
      break;
    }
  }

  // Numbers: starters wear their slot's, then the bench and the reserves count on.
  for (int i = 0; i < n; i++) squad[static_cast<size_t>(i)].uNumber = static_cast<std::uint32_t>(i < 11 ? f.aSlots[static_cast<size_t>(i)].iNumber : i + 1);
  // Penalty orders 1-5 for the five most accurate outfield starters; the most
  // powerful outfield starter takes the set pieces.
  std::vector<int> outfield;
  for (int i = 1; i < 11; i++) outfield.push_back(i);
  std::stable_sort(outfield.begin(), outfield.end(), [&](int a, int b) {
    return squad[static_cast<size_t>(a)].ab[4] > squad[static_cast<size_t>(b)].ab[4];
  });
  for (Player& p : squad) p.uPenalty = 11;
  for (int k = 0; k < 5; k++) squad[static_cast<size_t>(outfield[static_cast<size_t>(k)])].uPenalty = static_cast<std::uint16_t>(k + 1);
  int best = 1;
  for (int i = 1; i < 11; i++)
    if (squad[static_cast<size_t>(i)].ab[3] > squad[static_cast<size_t>(best)].ab[3]) best = i;
  squad[static_cast<size_t>(best)].uFlags |= kSetPieceTaker;

  ph->aPast = squad;
  return squad;
}

void Put16(std::vector<std::uint8_t>& b, size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::vector<std::uint8_t>& b, size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; i++) b[at + static_cast<size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint32_t Get32(const std::vector<std::uint8_t>& b, size_t at) {
  return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
         (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint32_t Get16(const std::vector<std::uint8_t>& b, size_t at) {
  return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8);
}

std::vector<std::uint8_t> EncodeBlock(const std::vector<Player>& squad) {
  std::vector<std::uint8_t> b(4 + kRecord * squad.size(), 0);
  Put16(b, 2, static_cast<std::uint32_t>(squad.size()));
  for (size_t i = 0; i < squad.size(); i++) {
    const Player& p = squad[i];
    size_t at = 4 + kRecord * i;
    std::memcpy(&b[at], p.oName.data(), p.oName.size());
    Put32(b, at + 32, p.uFlags);
    for (int k = 0; k < 3; k++) Put32(b, at + 36 + 4 * static_cast<size_t>(k), static_cast<std::uint32_t>(p.aiPos[k]));
    Put32(b, at + 48, static_cast<std::uint32_t>(p.iSide));
    for (int k = 0; k < 19; k++) b[at + 52 + static_cast<size_t>(k)] = p.ab[k];
    Put16(b, at + 74, p.uAppearance);
    Put16(b, at + 76, p.uPenalty);
    Put32(b, at + 88, p.uNumber);
  }
  return b;
}

// Reads one block back and checks it against the rules the game relies on.
void CheckBlock(const std::string& where, const std::vector<std::uint8_t>& file, std::uint32_t off,
                std::uint32_t size, int e, bool bFinals, const Formation& f) {
  if (off % kAlign != 0 || off + size > file.size()) {
    Error(where, "block outside the file or not on a 2048-byte boundary");
    return;
  }
  const int n = static_cast<int>(static_cast<std::int16_t>(Get16(file, off + 2)));
  if (size != static_cast<std::uint32_t>(4 + kRecord * n)) Error(where, "size is not 4 + 112 x the header's count");
  if (n < 16 || n > 22 || (bFinals && n != 22)) Error(where, "squads hold 16-22 players, finals sides 22");
  std::set<std::string> names;
  std::set<std::uint32_t> numbers;
  std::multiset<std::pair<int, int>> starters;
  int cStarters = 0, cBench = 0, cBenchKeepers = 0, cPenalty = 0, cKeepers = 0;
  std::set<int> penalties;
  for (int i = 0; i < n && static_cast<std::uint32_t>(4 + kRecord * (i + 1)) <= size; i++) {
    const size_t at = off + 4 + static_cast<size_t>(kRecord * i);
    const std::string w = where + " player " + std::to_string(i);
    const char* psz = reinterpret_cast<const char*>(&file[at]);
    size_t len = strnlen(psz, 32);
    if (len == 0 || len > kNameMax) Error(w, "name must be 1-31 bytes with its NUL");
    std::string name(psz, len);
    for (unsigned char c : name)
      if (c < 0x20 || c == 0x7F) Error(w, "name has a control byte");
    if (!names.insert(name).second) Error(w, "name " + name + " twice in the squad");
    const std::uint32_t flags = Get32(file, at + 32);
    const int lists = ((flags & kStarter) != 0) + ((flags & kBench) != 0) + ((flags & kReserve) != 0) + ((flags & kReserve2) != 0);
    if (lists != 1) Error(w, "one list flag each");
    if ((flags & 0xF0000u) != 0 || (flags & ((1u << 6) | (1u << 8) | (1u << 9) | (1u << 10) | (1u << 11) | (1u << 12))) != 0)
      Error(w, "cards and injuries start clear");
    const std::uint32_t pos = Get32(file, at + 36), side = Get32(file, at + 48);
    if (pos > 24 || Get32(file, at + 40) > 24 || Get32(file, at + 44) > 24) Error(w, "positions are 0-24");
    if (side > 2) Error(w, "side is 0-2");
    for (int k = 52; k <= 70; k++) {
      if (k >= 62 && k <= 65) continue;
      // The keeping skills (67-70) reach down to 5: an outfielder in goal, or a keeper who fumbles.
      const int lo = k >= 67 ? 5 : 30;
      if (file[at + static_cast<size_t>(k)] < lo || file[at + static_cast<size_t>(k)] > 99) Error(w, k >= 67 ? "keeping skills are 5-99" : "skills are 30-99");
    }
    const std::uint32_t app = Get16(file, at + 74);
    if (((app >> 6) & 7) > 4) Error(w, "hair style is 0-4");
    const std::uint32_t pen = Get16(file, at + 76);
    const std::uint32_t num = Get32(file, at + 88);
    if (num < 1 || num > 22 || !numbers.insert(num).second) Error(w, "numbers unique, 1-22");
    for (size_t k : {92u, 96u, 100u, 104u, 108u})
      if (Get32(file, at + k) != 0) Error(w, "links, cards and injury dates are 0 in the file");
    if (pos == 0) cKeepers++;
    if (flags & kStarter) {
      cStarters++;
      starters.insert({static_cast<int>(pos), static_cast<int>(side)});
      if (pen >= 1 && pen <= 5) {
        cPenalty++;
        penalties.insert(static_cast<int>(pen));
        if (pos == 0) Error(w, "the goalkeeper has no penalty order");
      } else if (pen != 11) Error(w, "penalty orders are 1-5 or 11");
    } else if (pen != 11) Error(w, "only starters have penalty orders");
    if (flags & kBench) {
      cBench++;
      if (pos == 0) cBenchKeepers++;
    }
  }
  if (cStarters != 11) Error(where, "11 starters");
  std::multiset<std::pair<int, int>> slots;
  for (const Slot& s : f.aSlots) slots.insert({s.iPosition, s.iSide});
  if (starters != slots) Error(where, "the starters do not fill formation " + f.oName + " in the first pass");
  if (cBench != BenchSize(e)) Error(where, "bench of " + std::to_string(cBench) + ", the edition has " + std::to_string(BenchSize(e)));
  if (cBench > 0 && cBenchKeepers == 0) Error(where, "a keeper on the bench");
  if (cKeepers < 2) Error(where, "at least two keepers");
  if (cPenalty != 5 || penalties.size() != 5) Error(where, "penalty orders 1-5 for five starters");
}

void WriteIfChanged(const fs::path& oPath, const std::string& text) {
  std::ifstream in(oPath, std::ios::binary);
  if (in) {
    std::stringstream ss;
    ss << in.rdbuf();
    if (ss.str() == text) return;
  }
  fs::create_directories(oPath.parent_path());
  fs::path tmp = oPath;
  tmp += ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) {
      Error(tmp.string(), "cannot write");
      return;
    }
  }
  fs::rename(tmp, oPath);
}

const char* const kQuickMatch =
    "ARG78 ARG86 BRA58 BRA62 BRA70 BRA82 BRA94 ENG66 ENG70 FRA82 FRG74 FRG90 HOL74 HOL78 ITA70 ITA82 POL82 ARG90 "
    "BRA78 CZH62 ENG90 FRA58 FRA86 FRG66 FRG70 FRG82 FRG86 ITA90 ITA94 POL74 POR66 SWE58 SWE94 USR66 YUG62 BEL86 "
    "BGR94 BRA74 BRA86 CHI62 ENG82 FRG58 FRG78 HOL94 ITA78 POL78 SCO78 URU70 ARG66 ARG74 ARG82 ARG94 ARG98 AUT78 "
    "AUT82 BEL82 BEL90 BRA66 BRA90 BRA98 CMR90 CZH58 CZH90 DDR74 DEN86 ENG58 ENG62 ENG86 ENG98 ESP66 ESP82 ESP86 "
    "ESP94 ESP98 FRA78 FRA98 FRG62 GER94 GER98 HOL90 HOL98 HUN58 HUN62 HUN66 IRL90 ITA74 ITA86 ITA98 MEX70 MEX86 "
    "NGA94 NGA98 NIR58 NIR82 PER70 PER78 ROM94 SCO74 SWE74 URU66 USR58 USR62 USR70 USR82 USR86 WAL58 YUG58 YUG74 "
    "YUG90 ESP62 ESP78 ESP90 FRA66 HRV98 IRL94 IRN98 ITA62 ITA66 JAM98 JPN98 KOR86 KOR90 KOR94 KOR98 KSA94 KSA98 "
    "MEX98 MOR98 NOR98 PAR98 PRK66 ROM98 RSA98 SCO58 SCO82 SCO86 SCO90 SCO98 TUN98 USA94 USA98 YUG98 ENG74 ENG78 "
    "ENG94 ESP58 ESP70 ESP74 FRA62 FRA90 ITA58 WAL82 WAL86 WAL94";

// Keys the team-selection tables pin: database number = key / 16.
const std::map<std::string, int> kPinned = {{"BRA", 24}, {"CUR", 38}, {"ENG", 51}, {"FRG", 59},
                                            {"GER", 63}, {"RHO", 141}, {"SOL", 155}};
const int kFinalsSize[kEditions] = {16, 16, 16, 16, 16, 16, 24, 24, 24, 24, 32};

}  // namespace

int main(int argc, char** argv) {
  int a = 1;
  bool bComplete = false;
  if (argc > 1 && std::string(argv[1]) == "--complete") {
    bComplete = true;
    a++;
  }
  if (argc - a != 3) {
    std::fprintf(stderr, "usage: dbgen [--complete] <assets> <dump.dat> <generated folder>\n");
    return 2;
  }
  const fs::path assets = argv[a], dump = argv[a + 1], gen = argv[a + 2];

  std::vector<Formation> formations;
  std::vector<int> table;
  const fs::path formPath = assets / "match" / "formations.txt";
  ReadFormations(formPath, &formations, &table);
  CheckFormations(formPath.string(), formations, table);

  const auto tla = ReadAbbreviations(assets / "texts" / "abbreviations" / "en.txt");
  CheckTeamTexts(assets / "texts");
  const fs::path teamsPath = assets / "database" / "teams.txt";
  std::vector<Team> teams = ReadTeams(teamsPath, tla);
  const auto profiles = ReadProfiles(assets / "database" / "profiles.txt");
  const auto heads = ReadUniqueHeads(assets / "database" / "unique_heads.txt");
  std::map<std::string, Pool> pools;
  std::set<int> numbers, ids;
  std::map<std::string, const Team*> byTLA;
  for (const Team& t : teams) {
    const std::string w = teamsPath.string() + ": " + t.oTLA;
    if (!ids.insert(t.iId).second) Error(w, "team given twice");
    if (!numbers.insert(t.iNumber).second) Error(w, "database number " + std::to_string(t.iNumber) + " given twice");
    byTLA[t.oTLA] = &t;
    auto pin = kPinned.find(t.oTLA);
    if (pin != kPinned.end() && pin->second != t.iNumber)
      Error(w, "database number must be " + std::to_string(pin->second) + " (key " + std::to_string(16 * pin->second) + ")");
    if (!profiles.count(t.oProfile)) Error(w, "no appearance profile " + t.oProfile);
    if (!pools.count(t.oPool)) {
      const fs::path p = assets / "database" / "names" / (t.oPool + ".txt");
      if (!fs::exists(p)) Error(w, "no name pool " + t.oPool);
      else ReadPool(p, &pools[t.oPool]);
    }
    bool any = false;
    for (const Edition& e : t.aEd) any = any || e.bIn;
    if (!any) Error(w, "a team enters at least one edition");
  }
  for (const UniqueHead& u : heads) {
    auto it = byTLA.find(u.oTLA);
    if (it == byTLA.end()) {
      Error("unique_heads.txt: " + u.oName, "no team " + u.oTLA);
      continue;
    }
    for (int e : u.aEditions) {
      const Edition& ed = it->second->aEd[static_cast<size_t>(e)];
      bool has = false;
      if (ed.bIn && ed.iFormation < static_cast<int>(formations.size()))
        for (int i = 1; i < kSlots; i++)
          has = has || formations[static_cast<size_t>(ed.iFormation)].aSlots[static_cast<size_t>(i)].iPosition == u.iPosition;
      if (!has) Error("unique_heads.txt: " + u.oName, "his team's formation of that edition has no slot of his position");
    }
  }
  if (bComplete) {
    for (auto& [k, v] : kPinned)
      if (!byTLA.count(k)) Error(teamsPath.string(), k + " is missing");
    for (auto& tok : SplitWs(kQuickMatch)) {
      auto it = byTLA.find(tok.substr(0, 3));
      const int e = (std::stoi(tok.substr(3)) - 58) / 4;
      if (it == byTLA.end() || !it->second->aEd[static_cast<size_t>(e)].bIn)
        Error(teamsPath.string(), "quick-match team edition " + tok + " is missing");
    }
    for (int e = 0; e < kEditions; e++) {
      int c = 0;
      for (const Team& t : teams) c += t.aEd[static_cast<size_t>(e)].bFinals;
      if (c != kFinalsSize[e])
        Error(teamsPath.string(), "finals of 19" + std::to_string(58 + 4 * e) + " have " + std::to_string(c) +
                                      " teams, not " + std::to_string(kFinalsSize[e]));
    }
  }
  if (g_cErrors > 0) {
    std::fprintf(stderr, "dbgen: %d error(s)\n", g_cErrors);
    return 1;
  }

  // Build the squads, team by team in number order, editions in order.
  std::vector<const Team*> order;
  for (const Team& t : teams) order.push_back(&t);
  std::sort(order.begin(), order.end(), [](const Team* x, const Team* y) { return x->iNumber < y->iNumber; });
  const int rows = order.empty() ? 0 : order.back()->iNumber + 1;
  std::vector<std::array<std::array<std::uint32_t, 2>, kEditions>> index(static_cast<size_t>(rows));
  for (auto& row : index)
    for (auto& pair : row) pair = {0, 0};
  std::vector<std::uint8_t> file;
  for (const Team* t : order) {
    TeamHistory hist;
    for (int e = 0; e < kEditions; e++) {
      const Edition& ed = t->aEd[static_cast<size_t>(e)];
      if (!ed.bIn) continue;
      std::vector<Player> squad = MakeSquad(*t, e, formations[static_cast<size_t>(ed.iFormation)], pools.at(t->oPool),
                                            profiles.at(t->oProfile), heads, &hist);
      std::vector<std::uint8_t> block = EncodeBlock(squad);
      index[static_cast<size_t>(t->iNumber)][static_cast<size_t>(e)] = {static_cast<std::uint32_t>(file.size()),
                                                                          static_cast<std::uint32_t>(block.size())};
      file.insert(file.end(), block.begin(), block.end());
      file.resize((file.size() + kAlign - 1) / kAlign * kAlign, 0);
    }
  }

  // Read everything back: the index against the file and the team editions.
  std::uint32_t last = 0;
  bool first = true;
  for (int row = 0; row < rows; row++) {
    const Team* t = nullptr;
    for (const Team* x : order)
      if (x->iNumber == row) t = x;
    for (int e = 0; e < kEditions; e++) {
      const auto& pair = index[static_cast<size_t>(row)][static_cast<size_t>(e)];
      const std::string w = "index row " + std::to_string(row) + " edition " + std::to_string(e);
      const bool in = t && t->aEd[static_cast<size_t>(e)].bIn;
      if (!in) {
        if (pair[0] != 0 || pair[1] != 0) Error(w, "a block where the team has no squad");
        continue;
      }
      if (pair[1] == 0) Error(w, "no block for a team edition");
      if (!first && pair[0] <= last) Error(w, "offsets must ascend");
      first = false;
      last = pair[0];
      CheckBlock(w + " (" + t->oTLA + ")", file, pair[0], pair[1], e, t->aEd[static_cast<size_t>(e)].bFinals,
                 formations[static_cast<size_t>(t->aEd[static_cast<size_t>(e)].iFormation)]);
    }
  }
  for (const UniqueHead& u : heads) {
    const Team* t = byTLA.at(u.oTLA);
    for (int e : u.aEditions) {
      const auto& pair = index[static_cast<size_t>(t->iNumber)][static_cast<size_t>(e)];
      bool found = false;
      for (std::uint32_t at = pair[0] + 4; at + kRecord <= pair[0] + pair[1]; at += kRecord)
        found = found || std::string(reinterpret_cast<const char*>(&file[at])) == u.oName;
      if (!found) Error("unique_heads.txt: " + u.oName, "not in his squad of edition " + std::to_string(e));
    }
  }
  if (g_cErrors > 0) {
    std::fprintf(stderr, "dbgen: %d error(s)\n", g_cErrors);
    return 1;
  }

  // ---- Outputs -------------------------------------------------------------------
  {
    fs::create_directories(dump.parent_path());
    std::string bytes(file.begin(), file.end());
    WriteIfChanged(dump, bytes);
  }
  std::ostringstream ix;
  ix << "// Generated by tools/database/dbgen from assets/: do not edit.\n#include \"tournament/dbindex.h\"\n\n";
  ix << "const std::int32_t director_cDumpIndexRows = " << rows << ";\n";
  ix << "const std::uint32_t director_auDumpIndex[][DB_EDITIONS][2] = {\n";
  for (int row = 0; row < rows; row++) {
    ix << "  {";
    for (int e = 0; e < kEditions; e++)
      ix << "{" << index[static_cast<size_t>(row)][static_cast<size_t>(e)][0] << "u, "
         << index[static_cast<size_t>(row)][static_cast<size_t>(e)][1] << "u}" << (e + 1 < kEditions ? ", " : "");
    ix << "},\n";
  }
  ix << "};\n";
  WriteIfChanged(gen / "tournament" / "dbindex_data.cpp", ix.str());

  std::ostringstream te;
  te << "// Generated by tools/database/dbgen from assets/database/teams.txt: do not edit.\n"
        "#include \"tournament/dbindex.h\"\n\n";
  std::vector<const Team*> byId = order;
  std::sort(byId.begin(), byId.end(), [](const Team* x, const Team* y) { return x->iId < y->iId; });
  te << "const std::int32_t dbteams_cTeams = " << byId.size() << ";\n";
  te << "const DBTeamEditions dbteams_aTeams[] = {\n";
  for (const Team* t : byId) {
    unsigned mask = 0, fin = 0;
    std::string r, f;
    for (int e = 0; e < kEditions; e++) {
      const Edition& ed = t->aEd[static_cast<size_t>(e)];
      if (ed.bIn) mask |= 1u << e;
      if (ed.bFinals) fin |= 1u << e;
      r += std::to_string(ed.bIn ? ed.iRating : 0) + (e + 1 < kEditions ? ", " : "");
      f += std::to_string(ed.bIn ? ed.iFormation : 0) + (e + 1 < kEditions ? ", " : "");
    }
    te << "  {" << t->iId << ", " << t->iNumber << ", 0x" << std::hex << mask << ", 0x" << fin << std::dec << ", {" << r
       << "}, {" << f << "}},  // " << t->oTLA << "\n";
  }
  te << "};\n";
  WriteIfChanged(gen / "tournament" / "dbteams_data.cpp", te.str());

  std::ostringstream fo;
  fo << "// Generated by tools/database/dbgen from assets/match/formations.txt: do not edit.\n"
        "#include \"engine/formation.h\"\n\n";
  fo << "const FormationSlot formation_aRecords[FORMATION_MAX][FORMATION_SLOTS] = {\n";
  for (const Formation& f : formations) {
    fo << "  {  // " << f.oName << "\n";
    for (const Slot& s : f.aSlots)
      fo << "    {" << s.iSlot << ", " << s.iSide << ", " << s.iPosition << ", " << s.iFlip << ", " << s.iColumn << ", "
         << s.iRow << ", " << s.iNumber << "},\n";
    fo << "  },\n";
  }
  fo << "};\n\nconst std::int32_t formation_aiTable[FORMATION_TABLE_SIZE] = {";
  for (size_t i = 0; i < table.size(); i++) fo << table[i] << (i + 1 < table.size() ? ", " : "");
  fo << "};\n";
  WriteIfChanged(gen / "engine" / "formation_data.cpp", fo.str());

  if (g_cErrors > 0) return 1;
  std::printf("dbgen: %zu teams, %zu bytes of squads\n", teams.size(), file.size());
  return 0;
}
