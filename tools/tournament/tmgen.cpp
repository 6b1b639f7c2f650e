// tmgen: writes the qualifying and finals year files of every edition and
// language from assets/tournament/editions.txt, the team editions of
// assets/database/teams.txt, the team and placeholder names of
// assets/texts/teams/all.txt and the stage names (front-end texts 880 to
// 885). Everything it writes is checked first: a fault fails the build.
//
// It also turns assets/tournament/stadiums.txt into the stadium table and
// city names compiled into the program.
//
//   tmgen <assets folder> <data folder> <stadium C++ file> <confederation C++ file>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tournament/fixture_lists.h"

namespace fs = std::filesystem;

namespace {

int g_cErrors = 0;
// Stadium rows by host abbreviation: id, first and last year.
struct Venue {
  int id, first, last;
};
std::map<std::string, std::vector<Venue>> g_venues;
// Stadium rows by host abbreviation with their English city.
std::map<std::string, std::vector<std::pair<std::string, Venue>>> g_cities;
// Everything written waits here until every check has passed.
std::vector<std::pair<fs::path, std::string>> g_outputs;
void Output(const fs::path& p, const std::string& text) { g_outputs.emplace_back(p, text); }
void Error(const std::string& s) {
  std::fprintf(stderr, "tmgen: %s\n", s.c_str());
  g_cErrors++;
}

// UTF-8 to Windows-1252 for the Latin-1 range.
std::string To1252(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); i++) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if ((c & 0xE0) == 0xC0 && i + 1 < s.size()) {
      const unsigned cp = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3Fu);
      if (cp >= 0xA0 && cp <= 0xFF) out += static_cast<char>(cp);
      else Error("character outside Windows-1252 in " + s);
      i++;
    } else {
      Error("character outside Windows-1252 in " + s);
    }
  }
  return out;
}

std::vector<std::string> Split(const std::string& s, char c) {
  std::vector<std::string> v;
  std::string cur;
  for (char ch : s) {
    if (ch == c) {
      v.push_back(cur);
      cur.clear();
    } else {
      cur += ch;
    }
  }
  v.push_back(cur);
  return v;
}

std::vector<std::string> Lines(const fs::path& p) {
  std::ifstream in(p);
  if (!in) Error("cannot read " + p.string());
  std::vector<std::string> v;
  std::string l;
  while (std::getline(in, l)) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    if (l.empty() || l[0] == '#') continue;
    v.push_back(l);
  }
  return v;
}

struct Team {
  int id = 0;
  std::string tla;
  std::string name;
  int number = 0;
  int rating[11] = {};
  int formation[11] = {};
  bool entered[11] = {};
  bool finals[11] = {};
};

struct Edition {
  int yy = 0;
  std::string host, holder, fmt, groupTb, koFmt, qualTb;
  int fd = 0, fm = 0, fy = 0, qd = 0, qm = 0, qy = 0;
};

// Days since 1 January 1950, and back.
int DaysIn(int m, int y) {
  static const int k[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return (m == 2 && y % 4 == 0) ? 29 : k[m - 1];
}
std::string DateAdd(int d, int m, int y, int n) {
  d += n;
  while (d > DaysIn(m, y)) {
    d -= DaysIn(m, y);
    if (++m > 12) {
      m = 1;
      y++;
    }
  }
  char sz[16];
  std::snprintf(sz, sizeof sz, "%02d/%02d/%02d", d, m, y);
  return sz;
}

const char* const kConfs[6] = {"UEFA", "CONMEBOL", "CONCACAF", "AFC", "CAF", "OFC"};
const char* const kPrefix[6] = {"E", "S", "N", "A", "F", "O"};

// One line of a year file.
struct Row {
  std::string key, conf, group, round, longName, format, tb;
  std::string place[4];
  std::vector<std::string> dates;
  std::vector<std::string> teams;  // names (Windows-1252)
  std::string stadiums;
};

// The list of a format for n teams.
const char* ListFor(const std::string& format, int n) {
  if (n < 2 || n > 10) return nullptr;
  const bool bDouble = format == "ha" || format == "twice";
  return bDouble ? fixture_kDouble[n - 2] : fixture_kSingle[n - 2];
}
int PairCount(const std::string& format, int n) {
  const bool bDouble = format == "ha" || format == "twice";
  return bDouble ? n * (n - 1) : n * (n - 1) / 2;
}

// Dates of a round: one a pairing, the pairings of a matchday on one day.
std::vector<std::string> RoundDates(const std::string& format, int n, int d, int m, int y, int step, int offset) {
  std::vector<std::string> v;
  const int c = PairCount(format, n);
  const int perDay = n % 2 == 0 ? n / 2 : 1;
  for (int k = 0; k < c; k++) v.push_back(DateAdd(d, m, y, (k / perDay) * step + offset));
  return v;
}

struct Generator {
  std::map<int, Team> teams;
  std::map<std::string, int> byTla;
  std::map<std::string, int> nameIds;  // every team-name text to its id
  std::map<int, std::string> names;
  std::vector<Edition> editions;
  std::map<std::string, std::vector<std::string>> stages;  // language -> texts 880..885
  std::map<std::string, std::string> playOff;              // language -> text 879
  std::map<std::pair<int, int>, std::string> confOf;       // (team id, edition) -> federation

  // The confederation tables: checked against the team editions and written
  // as C++ for the team selection and the ratings.
  void Conferences(const fs::path& assets, const fs::path& out) {
    static const int kSizes[6] = {30, 54, 10, 42, 10, 46};
    std::string code = "// Generated by tmgen from assets/tournament/confederations.txt.\n"
                       "#include \"frontend/mteam_conf.h\"\n\nnamespace {\n";
    std::string tables = "const ConferenceEntry* const mteam_apConferences[MTEAM_CONFERENCES] = {";
    std::string sizes = "const std::int32_t mteam_acConferenceSizes[MTEAM_CONFERENCES] = {";
    int table = 0;
    for (const auto& l : Lines(assets / "tournament/confederations.txt")) {
      auto f = Split(l, '\t');
      if (f.size() != 4 || std::atoi(f[0].c_str()) != table) {
        Error("confederations.txt: table " + std::to_string(table) + " malformed");
        return;
      }
      std::istringstream in(f[3]);
      std::string item;
      int n = 0;
      code += "const ConferenceEntry kTable" + std::to_string(table) + "[] = {\n";
      while (in >> item) {
        auto parts = Split(item, ':');
        if (!byTla.count(parts[0])) {
          Error("confederations.txt: unknown team " + parts[0]);
          continue;
        }
        const Team& t = teams[byTla[parts[0]]];
        unsigned mask = 0;
        for (int e = 0; e < 11; e++) {
          if (!t.entered[e]) continue;
          if (parts.size() > 1) {
            bool b = false;
            for (const auto& yy : Split(parts[1], ';')) b = b || std::atoi(yy.c_str()) == 58 + 4 * e;
            if (!b) continue;
          }
          mask |= 1u << e;
          if (!confOf.emplace(std::make_pair(t.id, e), f[2]).second) Error(t.tla + " in two tables for one edition");
        }
        if (!mask) Error(t.tla + ": an entry without editions");
        char sz[256];
        int r[12] = {};
        for (int e = 0; e < 11; e++) {
          r[e] = (mask >> e) & 1 ? t.rating[e] : 0;
          if (r[e] > 15 || t.formation[e] >= 19 || t.formation[e] < 0) Error(t.tla + ": rating or formation out of range");
        }
        std::snprintf(sz, sizeof sz, "  {%d, 0x%03X, {%d, %d, %d, %d, %d, %d}, {", t.id, mask, r[0] | r[1] << 4,
                      r[2] | r[3] << 4, r[4] | r[5] << 4, r[6] | r[7] << 4, r[8] | r[9] << 4, r[10]);
        code += sz;
        for (int e = 0; e < 11; e++) code += std::to_string((mask >> e) & 1 ? t.formation[e] : 0) + (e < 10 ? ", " : "");
        code += "}, " + std::to_string(16 * t.number) + "u},\n";
        n++;
      }
      code += "};\n";
      if (n != kSizes[table]) Error("confederation table " + std::to_string(table) + " holds " + std::to_string(n));
      tables += "kTable" + std::to_string(table) + ", ";
      sizes += std::to_string(n) + ", ";
      table++;
    }
    if (table != 6) Error("six confederation tables wanted");
    // Every team edition of the database stands in exactly one table.
    for (auto& [id, t] : teams)
      for (int e = 0; e < 11; e++)
        if (t.entered[e] && !confOf.count({id, e})) Error(t.tla + " has no confederation in " + std::to_string(58 + 4 * e));
    Output(out, code + "}  // namespace\n\n" + tables + "};\n" + sizes + "};\n");
  }

  std::string Name(const std::string& tla) {
    auto it = byTla.find(tla);
    if (it == byTla.end()) {
      Error("unknown abbreviation " + tla);
      return "";
    }
    return teams[it->second].name;
  }

  void Load(const fs::path& assets) {
    for (const auto& l : Lines(assets / "texts/teams/all.txt")) {
      auto f = Split(l, '\t');
      if (f.size() < 3) continue;
      const int id = std::atoi(f[0].c_str());
      names[id] = To1252(f[2]);
      nameIds[names[id]] = id;
    }
    for (int id = 1; id <= 204; id++)
      if (!names.count(id)) Error("team name " + std::to_string(id) + " missing");
    for (const auto& l : Lines(assets / "database/teams.txt")) {
      auto f = Split(l, '\t');
      if (f.size() < 6) continue;
      Team t;
      t.id = std::atoi(f[0].c_str());
      t.tla = f[1];
      t.name = names[t.id];
      t.number = std::atoi(f[2].c_str());
      std::istringstream eds(f[5]);
      std::string e;
      while (eds >> e) {
        auto p = Split(e, ':');
        const int yy = std::atoi(p[0].c_str());
        const int ed = (yy - 58) / 4;
        if (ed < 0 || ed > 10 || p.size() < 3) {
          Error("bad edition " + e);
          continue;
        }
        t.entered[ed] = true;
        t.rating[ed] = std::atoi(p[1].c_str());
        t.formation[ed] = std::atoi(p[2].c_str());
        t.finals[ed] = p[2].find('*') != std::string::npos;
      }
      byTla[t.tla] = t.id;
      teams[t.id] = t;
    }
    for (const auto& l : Lines(assets / "tournament/editions.txt")) {
      std::istringstream in(l);
      Edition e;
      std::string fd, qd;
      in >> e.yy >> e.host >> e.holder >> fd >> qd >> e.fmt >> e.groupTb >> e.koFmt >> e.qualTb;
      std::sscanf(fd.c_str(), "%d/%d/%d", &e.fd, &e.fm, &e.fy);
      std::sscanf(qd.c_str(), "%d/%d/%d", &e.qd, &e.qm, &e.qy);
      editions.push_back(e);
    }
    if (editions.size() != 11) Error("editions.txt must hold 11 editions");
    const char* const kLangs[6] = {"en", "fr", "de", "es", "it", "pt"};
    for (const char* lang : kLangs) {
      std::map<int, std::string> t;
      for (const auto& l : Lines(assets / "texts/frontend" / (std::string(lang) + ".txt"))) {
        auto f = Split(l, '\t');
        if (f.size() < 2) continue;
        t[std::atoi(f[0].c_str())] = To1252(f.back());
      }
      for (int id = 880; id <= 885; id++) {
        if (!t.count(id)) Error(std::string("text ") + std::to_string(id) + " missing in " + lang);
        stages[lang].push_back(t[id]);
      }
      playOff[lang] = t.count(879) ? t[879] : "Play Off";
    }
  }

  std::vector<Row> Qualifying(const Edition& e, int ed) {
    std::vector<Row> rows;
    const std::string key = std::to_string(e.yy);
    for (int c = 0; c < 6; c++) {
      std::vector<int> entrants;
      int slots = 0;
      for (auto& [id, t] : teams) {
        if (!t.entered[ed] || t.tla == e.host || confOf[{id, ed}] != kConfs[c]) continue;
        entrants.push_back(id);
        if (t.finals[ed] && t.tla != e.holder) slots++;
      }
      if (entrants.empty()) continue;
      std::stable_sort(entrants.begin(), entrants.end(),
                       [&](int a, int b) { return teams[a].rating[ed] > teams[b].rating[ed]; });
      const int n = static_cast<int>(entrants.size());
      int groups = std::max(1, std::min(slots, n / 2));
      while ((n + groups - 1) / groups > 5) groups++;
      std::vector<std::vector<int>> g(static_cast<size_t>(groups));
      for (int i = 0; i < n; i++) {
        const int pot = i / groups, k = i % groups;
        g[static_cast<size_t>(pot % 2 == 0 ? k : groups - 1 - k)].push_back(entrants[static_cast<size_t>(i)]);
      }
      for (int i = 0; i < groups; i++) {
        Row r;
        r.key = key;
        r.conf = kConfs[c];
        r.group = std::string(kPrefix[c]) + std::to_string(i + 1);
        r.round = "1";
        r.format = "ha";
        r.tb = e.qualTb;
        r.place[0] = i < slots ? "w" : "o";
        const int cTeams = static_cast<int>(g[static_cast<size_t>(i)].size());
        r.dates = cTeams == 1 ? std::vector<std::string>{DateAdd(e.qd, e.qm, e.qy, 0)}
                              : RoundDates("ha", cTeams, e.qd, e.qm, e.qy, 21, (i * 3) % 14);
        // The holder goes last: the reader leaves it out unless a human team
        // holds the title, and the schedule of one team more then keeps the
        // other teams' letters.
        for (int id : g[static_cast<size_t>(i)])
          if (teams[id].tla != e.holder) r.teams.push_back(teams[id].name);
        for (int id : g[static_cast<size_t>(i)])
          if (teams[id].tla == e.holder) r.teams.push_back(teams[id].name);
        rows.push_back(r);
      }
    }
    return rows;
  }

  Row Ko(const std::string& key, const std::string& conf, const std::string& group, const std::string& round,
         const std::string& fmt, const std::string& a, const std::string& b, const std::string& date,
         const std::string& p1, const std::string& p2) {
    Row r;
    r.key = key;
    r.conf = conf;
    r.group = group;
    r.round = round;
    r.format = fmt;
    r.place[0] = p1;
    r.place[1] = p2;
    r.dates = {date};
    r.teams = {a, b};
    return r;
  }

  std::vector<Row> Finals(const Edition& e, int ed, const std::vector<std::string>& st) {
    std::vector<Row> rows;
    const std::string key = "F" + std::to_string(e.yy);
    std::vector<int> finalists;
    for (auto& [id, t] : teams)
      if (t.finals[ed] && t.tla != e.host && t.tla != e.holder) finalists.push_back(id);
    std::stable_sort(finalists.begin(), finalists.end(),
                     [&](int a, int b) { return teams[a].rating[ed] > teams[b].rating[ed]; });
    const int n = static_cast<int>(finalists.size()) + 2;
    const int expected = e.fmt.rfind("g16", 0) == 0 ? 16 : e.fmt.rfind("g24", 0) == 0 ? 24 : 32;
    if (n != expected) Error(key + ": " + std::to_string(n) + " finalists, format wants " + std::to_string(expected));
    if (!byTla.count(e.host) || !teams[byTla[e.host]].finals[ed]) Error(key + ": host not a finalist");
    if (!byTla.count(e.holder) || !teams[byTla[e.holder]].finals[ed]) Error(key + ": holder not a finalist");
    const int G = expected / 4;
    std::vector<std::vector<std::string>> g(static_cast<size_t>(G));
    g[0] = {Name(e.host), Name(e.holder)};
    size_t next = 0;
    for (int pot = 0; pot < 4; pot++)
      for (int i = 0; i < G; i++)
        if (static_cast<int>(g[static_cast<size_t>(i)].size()) == pot && next < finalists.size())
          g[static_cast<size_t>(i)].push_back(teams[finalists[next++]].name);
    for (int i = 0; i < G; i++) {
      Row r;
      r.key = key;
      r.conf = st[0];
      r.group = std::to_string(i + 1);
      r.round = "1";
      r.format = "once";
      r.tb = e.groupTb;
      r.place[0] = "*";
      r.place[1] = "*";
      r.dates = RoundDates("once", 4, e.fd, e.fm, e.fy, 4, i / 2);
      r.teams = g[static_cast<size_t>(i)];
      rows.push_back(r);
    }
    auto c = [&](const std::string& s) {
      if (!nameIds.count(s)) Error("placeholder " + s + " missing from the team names");
      return s;
    };
    auto day = [&](int n) { return DateAdd(e.fd, e.fm, e.fy, n); };
    const std::string ko = e.koFmt;
    std::string semiA1, semiA2, semiB1, semiB2;
    int d = 14;
    if (e.fmt == "g16ko") {
      const char* const qf[4][2] = {{"*1.1*a", "*2.1*b"}, {"*2.1*a", "*1.1*b"}, {"*3.1*a", "*4.1*b"}, {"*4.1*a", "*3.1*b"}};
      for (int i = 0; i < 4; i++)
        rows.push_back(Ko(key, st[2], "QF", std::to_string(i + 1), ko, c(qf[i][0]), c(qf[i][1]), day(d), "*", "o"));
      d += 4;
      semiA1 = "*QF.1*a"; semiA2 = "*QF.2*a"; semiB1 = "*QF.3*a"; semiB2 = "*QF.4*a";
    } else if (e.fmt == "g16g8") {
      const char* const sr[2][4] = {{"*1.1*a", "*2.1*b", "*3.1*a", "*4.1*b"}, {"*2.1*a", "*1.1*b", "*4.1*a", "*3.1*b"}};
      for (int i = 0; i < 2; i++) {
        Row r;
        r.key = key;
        r.conf = st[1];
        r.group = i ? "B" : "A";
        r.round = "1";
        r.format = "once";
        r.tb = e.groupTb;
        r.place[0] = "*";
        r.place[1] = "*";
        r.dates = RoundDates("once", 4, e.fd, e.fm, e.fy, 4, d);
        for (auto* s : sr[i]) r.teams.push_back(c(s));
        rows.push_back(r);
      }
      d += 12;
      rows.push_back(Ko(key, st[4], "Third", "Third", ko, c("*A.1*b"), c("*B.1*b"), day(d), "Third", "*"));
      rows.push_back(Ko(key, st[5], "Final", "Final", ko, c("*A.1*a"), c("*B.1*a"), day(d + 1), "Winner", "*"));
      return rows;
    } else if (e.fmt == "g24g12") {
      const char* const sr[4][3] = {{"*1.1*a", "*3.1*b", "*5.1*a"}, {"*2.1*a", "*4.1*b", "*6.1*a"},
                                    {"*3.1*a", "*1.1*b", "*5.1*b"}, {"*4.1*a", "*2.1*b", "*6.1*b"}};
      for (int i = 0; i < 4; i++) {
        Row r;
        r.key = key;
        r.conf = st[1];
        r.group = std::string(1, static_cast<char>('A' + i));
        r.round = "1";
        r.format = "once";
        r.tb = e.groupTb;
        r.place[0] = "*";
        r.dates = RoundDates("once", 3, e.fd, e.fm, e.fy, 4, d + i % 2);
        for (auto* s : sr[i]) r.teams.push_back(c(s));
        rows.push_back(r);
      }
      d += 13;
      semiA1 = "*A.1*a"; semiA2 = "*C.1*a"; semiB1 = "*B.1*a"; semiB2 = "*D.1*a";
    } else {
      std::vector<std::pair<std::string, std::string>> r16;
      if (e.fmt == "g24r16") {
        const std::string t = c(names.count(418) ? names[418] : std::string("*randc"));
        r16 = {{"*1.1*a", t}, {"*2.1*a", t}, {"*3.1*a", t}, {"*4.1*a", t},
               {"*5.1*a", "*6.1*b"}, {"*6.1*a", "*5.1*b"}, {"*1.1*b", "*3.1*b"}, {"*2.1*b", "*4.1*b"}};
      } else {
        for (int i = 1; i <= 8; i++) {
          const int o = i % 2 ? i + 1 : i - 1;
          r16.push_back({"*" + std::to_string(i) + ".1*a", "*" + std::to_string(o) + ".1*b"});
        }
      }
      for (int i = 0; i < 8; i++)
        rows.push_back(Ko(key, st[1], "R16", std::to_string(i + 1), ko, c(r16[static_cast<size_t>(i)].first),
                          c(r16[static_cast<size_t>(i)].second), day(d + i / 2), "*", "o"));
      d += 6;
      for (int i = 0; i < 4; i++)
        rows.push_back(Ko(key, st[2], "QF", std::to_string(i + 1), ko, c("*R16." + std::to_string(2 * i + 1) + "*a"),
                          c("*R16." + std::to_string(2 * i + 2) + "*a"), day(d + i / 2), "*", "o"));
      d += 5;
      semiA1 = "*QF.1*a"; semiA2 = "*QF.2*a"; semiB1 = "*QF.3*a"; semiB2 = "*QF.4*a";
    }
    rows.push_back(Ko(key, st[3], "Semi", "S1", ko, c(semiA1), c(semiA2), day(d), "*", "*"));
    rows.push_back(Ko(key, st[3], "Semi", "S2", ko, c(semiB1), c(semiB2), day(d + 1), "*", "*"));
    rows.push_back(Ko(key, st[4], "Third", "Third", ko, c("*Semi.S1*b"), c("*Semi.S2*b"), day(d + 4), "Third", "*"));
    rows.push_back(Ko(key, st[5], "Final", "Final", ko, c("*Semi.S1*a"), c("*Semi.S2*a"), day(d + 5), "Winner", "*"));
    return rows;
  }

  // Every finals round lists two of the host's stadiums of that year.
  void VenuesAssign(const Edition& e, std::vector<Row>& rows) {
    std::vector<int> v;
    for (const Venue& s : g_venues[e.host])
      if (1900 + e.yy >= s.first && 1900 + e.yy <= s.last) v.push_back(s.id);
    if (v.empty()) {
      Error("host " + e.host + " has no stadium in " + std::to_string(e.yy));
      return;
    }
    for (size_t i = 0; i < rows.size(); i++)
      rows[i].stadiums = std::to_string(v[i % v.size()]) + ";" + std::to_string(v[(i + 1) % v.size()]);
  }

  // ---- Readable edition sources: assets/tournament/editions/19yy.txt ----
  // A line a round, fields separated by '|':
  //   stage | zone or stage name | group | round | long name | format |
  //   tie-break | four place codes | dates | venues | teams
  struct SrcRound {
    int line = 0;
    bool bFinals = false;
    int stage = 0;  // finals: texts 880 + stage
    std::string zone, group, round, format, tb;
    bool bPlayOff = false;
    std::string place[4];
    std::vector<std::string> dates;  // dd/mm/yy
    std::vector<int> dayNumbers;     // the same dates as day counts
    std::vector<int> venues;
    std::vector<std::string> teams;  // abbreviations or placeholder codes
  };
  struct Source {
    std::string file;
    int yy = 0;
    std::string host, holder;
    std::vector<SrcRound> rounds;
  };
  std::map<int, Source> sources;
  std::map<int, std::set<std::string>> shapes;

  static std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t");
    return a == std::string::npos ? "" : s.substr(a, b - a + 1);
  }
  static std::vector<std::string> Words(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> v;
    std::string w;
    while (in >> w) v.push_back(w);
    return v;
  }
  static bool DateParse(const std::string& s, int* d, int* m, int* y) {
    char c1 = 0, c2 = 0, extra = 0;
    if (std::sscanf(s.c_str(), "%d%c%d%c%d%c", d, &c1, m, &c2, y, &extra) != 5 || c1 != '/' || c2 != '/') return false;
    return *m >= 1 && *m <= 12 && *d >= 1 && *d <= DaysIn(*m, *y) && *y >= 56 && *y <= 98;
  }
  static int DayNumber(int d, int m, int y) {
    int n = 0;
    for (int yy = 50; yy < y; yy++) n += yy % 4 == 0 ? 366 : 365;
    for (int mm = 1; mm < m; mm++) n += DaysIn(mm, y);
    return n + d;
  }
  static bool ZoneKnown(const std::string& z) {
    static const char* const k[] = {"UEFA",    "CONMEBOL",      "CONCACAF",    "AFC",           "CAF",
                                    "OFC",     "AFC-CAF",       "CAF-AFC-OFC", "AFC-OFC",       "UEFA-CONMEBOL",
                                    "UEFA-OFC", "UEFA-AFC-CAF", "CONMEBOL-OFC", "CONCACAF-OFC"};
    for (const char* p : k)
      if (z == p) return true;
    return false;
  }
  static bool ZoneHas(const std::string& zone, const std::string& conf) {
    for (const auto& part : Split(zone, '-'))
      if (part == conf) return true;
    return false;
  }
  // "*G.R*x" or "*G.R": group, round and place letter (0 when none).
  static bool CodeSplit(const std::string& code, std::string* g, std::string* r, char* place) {
    if (code.size() < 4 || code[0] != '*') return false;
    const size_t dot = code.find('.');
    if (dot == std::string::npos || dot < 2) return false;
    const size_t star = code.find('*', dot);
    *g = code.substr(1, dot - 1);
    *r = code.substr(dot + 1, star == std::string::npos ? std::string::npos : star - dot - 1);
    *place = 0;
    if (star != std::string::npos) {
      if (star + 2 != code.size()) return false;
      *place = code[star + 1];
    }
    return !g->empty() && !r->empty() && g->find('*') == std::string::npos;
  }

  void SourceRead(const fs::path& p, int yy) {
    Source src;
    src.file = "editions/" + p.filename().string();
    src.yy = yy;
    std::ifstream in(p, std::ios::binary);
    if (!in) {
      Error("cannot read " + p.string());
      return;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!text.empty() && text.back() != '\n') Error(src.file + ": the last line is cut (no line end)");
    const int ed = (yy - 58) / 4;
    std::istringstream lines(text);
    std::string l;
    int n = 0;
    bool bHeader = false;
    std::set<std::string> seen;
    while (std::getline(lines, l)) {
      n++;
      if (!l.empty() && l.back() == '\r') l.pop_back();
      const std::string where = src.file + ":" + std::to_string(n) + ": ";
      for (unsigned char c : l)
        if (c < 0x20 && c != '\t') {
          Error(where + "control character in the line");
          break;
        }
      if (Trim(l).empty() || Trim(l)[0] == '#') continue;
      if (!bHeader) {
        auto w = Words(l);
        if (w.size() != 4 || w[0] != "edition" || w[1] != std::to_string(1900 + yy)) {
          Error(where + "\"edition 19" + std::to_string(yy) + " <host> <holder>\" wanted first");
          return;
        }
        src.host = w[2];
        src.holder = w[3];
        bHeader = true;
        continue;
      }
      auto f = Split(l, '|');
      if (f.size() != 11) {
        Error(where + "11 fields separated by '|' wanted, found " + std::to_string(f.size()));
        continue;
      }
      for (auto& x : f) x = Trim(x);
      SrcRound r;
      r.line = n;
      if (f[0] != "Q" && f[0] != "F") Error(where + "stage must be Q or F, not \"" + f[0] + "\"");
      r.bFinals = f[0] == "F";
      if (r.bFinals) {
        static const char* const kStages[6] = {"first", "second", "quarter", "semi", "third", "final"};
        r.stage = -1;
        for (int i = 0; i < 6; i++)
          if (f[1] == kStages[i]) r.stage = i;
        if (r.stage < 0) Error(where + "unknown finals stage \"" + f[1] + "\"");
      } else {
        r.zone = f[1];
        if (!ZoneKnown(r.zone)) Error(where + "unknown zone \"" + r.zone + "\"");
      }
      r.group = f[2];
      r.round = f[3];
      if (r.group.empty() || r.round.empty()) Error(where + "group and round names wanted");
      if (r.group.size() > 9 || r.round.size() > 9) Error(where + "group or round name over 9 characters");
      if (!seen.insert(f[0] + "/" + r.group + "." + r.round).second) Error(where + "round " + r.group + "." + r.round + " twice");
      if (f[4] != "" && f[4] != "playoff") Error(where + "long name must be empty or \"playoff\"");
      r.bPlayOff = f[4] == "playoff";
      static const char* const kFormats[] = {"ha", "once", "ko1", "twice", "ko2", "ko", "ko3", "ko4", "ha1"};
      bool bFormat = false;
      for (const char* k : kFormats) bFormat = bFormat || f[5] == k;
      if (!bFormat) Error(where + "unknown format \"" + f[5] + "\"");
      r.format = f[5];
      static const char* const kTieBreaks[] = {"", "-", "po", "gd", "agg", "bye", "gd2", "gd1", "gd3"};
      bool bTb = false;
      for (const char* k : kTieBreaks) bTb = bTb || f[6] == k;
      if (!bTb) Error(where + "unknown tie-break \"" + f[6] + "\"");
      r.tb = f[6] == "-" ? "" : f[6];
      auto places = Words(f[7]);
      if (places.size() != 4) Error(where + "four place codes wanted ('-' for none)");
      static const size_t kPlaceMax[4] = {34, 34, 24, 27};
      for (size_t i = 0; i < 4 && i < places.size(); i++) {
        r.place[i] = places[i] == "-" ? "" : places[i];
        if (r.place[i].size() > kPlaceMax[i]) Error(where + "place code " + std::to_string(i + 1) + " too long");
        const std::string& c = r.place[i];
        if (!c.empty() && c[0] != 'o' && c[0] != 'w' && c != "*" && c != "Winner" && c != "Third")
          Error(where + "unknown place code \"" + c + "\"");
      }
      for (const auto& item : Words(f[8])) {
        std::string d = item;
        int count = 1;
        const size_t star = item.find('*');
        if (star != std::string::npos) {
          d = item.substr(0, star);
          count = std::atoi(item.c_str() + star + 1);
          if (count < 1 || count > 90) Error(where + "bad date repeat in " + item);
        }
        int dd, mm, yyy;
        if (!DateParse(d, &dd, &mm, &yyy)) {
          Error(where + "bad date " + item);
          continue;
        }
        char sz[16];
        std::snprintf(sz, sizeof sz, "%02d/%02d/%02d", dd, mm, yyy);
        for (int k = 0; k < count && k < 90; k++) {
          r.dates.push_back(sz);
          r.dayNumbers.push_back(DayNumber(dd, mm, yyy));
        }
      }
      for (auto city : Split(f[9], ',')) {
        city = Trim(city);
        if (city.empty()) continue;
        // A city, or a row number where a city has several venues.
        const bool bNumber = city.find_first_not_of("0123456789") == std::string::npos;
        int id = -1;
        for (const auto& [c, v] : g_cities[src.host])
          if ((bNumber ? std::to_string(v.id) == city : c == city) && 1900 + yy >= v.first && 1900 + yy <= v.last && id < 0)
            id = v.id;
        if (id < 0) Error(where + "no venue of " + src.host + " in " + city + " in 19" + std::to_string(yy));
        else r.venues.push_back(id);
      }
      r.teams = Words(f[10]);
      std::set<std::string> inRound;
      for (const auto& t : r.teams) {
        if (!inRound.insert(t).second) Error(where + "team " + t + " twice in the round");
        if (t[0] == '*') {
          if (!nameIds.count(t)) Error(where + "placeholder " + t + " is not a team name");
        } else if (!byTla.count(t)) {
          Error(where + "unknown team " + t);
        } else if (ed >= 0 && ed < 11 && !teams[byTla[t]].entered[ed]) {
          Error(where + "team " + t + " did not enter in 19" + std::to_string(yy));
        }
      }
      const int cTeams = static_cast<int>(r.teams.size());
      if (r.tb == "bye") {
        if (cTeams != 1 || !r.dates.empty()) Error(where + "a bye round holds one team and no dates");
      } else if (cTeams >= 2) {
        const char* list = ListFor(r.format, cTeams);
        if (!list) {
          Error(where + "no fixture list for " + std::to_string(cTeams) + " teams played " + r.format);
        } else {
          const int pairs = PairCount(r.format, cTeams);
          if (static_cast<int>(r.dates.size()) != pairs)
            Error(where + std::to_string(pairs) + " dates wanted (a date a pairing), found " + std::to_string(r.dates.size()));
          std::map<std::string, std::set<char>> perDay;
          int k = 0;
          for (const char* q = list; *q && *q != '$' && k < static_cast<int>(r.dates.size()); q++) {
            if (*q == '!') {
              k++;
              continue;
            }
            auto& day = perDay[r.dates[static_cast<size_t>(k)]];
            if (!day.insert(q[0]).second || !day.insert(q[1]).second)
              Error(where + "a team plays twice on " + r.dates[static_cast<size_t>(k)]);
            q++;
          }
        }
      } else if (cTeams == 0) {
        Error(where + "a round without teams");
      }
      if (r.tb == "agg" && (cTeams != 2 || (r.format != "ha" && r.format != "twice")))
        Error(where + "an aggregate tie is two teams over two legs (ha)");
      if (r.bFinals && r.venues.empty()) Error(where + "a finals round names its venues");
      src.rounds.push_back(r);
    }
    if (!bHeader) Error(src.file + ": no \"edition\" line");
    SourceCheck(src);
    sources[yy] = src;
  }

  const SrcRound* FindRound(const Source& s, bool bFinals, const std::string& g, const std::string& r) {
    for (const auto& x : s.rounds)
      if (x.bFinals == bFinals && x.group == g && x.round == r) return &x;
    return nullptr;
  }

  // Checks across the rounds of an edition.
  void SourceCheck(const Source& s) {
    const int ed = (s.yy - 58) / 4;
    const std::string file = s.file + ": ";
    auto at = [&](const SrcRound& r) { return s.file + ":" + std::to_string(r.line) + ": "; };
    auto lastDay = [](const SrcRound& r) { return r.dayNumbers.empty() ? -1 : *std::max_element(r.dayNumbers.begin(), r.dayNumbers.end()); };
    auto firstDay = [](const SrcRound& r) { return r.dayNumbers.empty() ? 1 << 30 : *std::min_element(r.dayNumbers.begin(), r.dayNumbers.end()); };
    std::string firstZone;
    std::map<std::string, const SrcRound*> firstOfGroup;
    std::map<std::string, int> roundIndex;  // round's place within its group
    std::map<std::string, int> cInGroup;
    for (const auto& r : s.rounds) {
      if (!r.bFinals && firstZone.empty()) firstZone = r.zone;
      const std::string key = (r.bFinals ? "F" : "Q") + r.group;
      roundIndex[key + "." + r.round] = cInGroup[key]++;
    }
    // Placeholders name rounds that exist and finish before the round using them.
    auto needRound = [&](const SrcRound& r, const std::string& g, const std::string& rn, char place, const std::string& code) {
      const SrcRound* x = FindRound(s, r.bFinals, g, rn);
      if (!x) {
        Error(at(r) + code + " names round " + g + "." + rn + ", which does not exist");
        return;
      }
      if (place) {
        const int i = place - 'a';
        if (i < 0 || i > 3 || i >= static_cast<int>(x->teams.size())) Error(at(r) + code + ": no such place in " + g + "." + rn);
        else if (x->place[i] != "*") Error(at(r) + code + ": place " + std::string(1, place) + " of " + g + "." + rn + " does not pass its team on ('*')");
      }
      if (firstDay(r) <= lastDay(*x)) Error(at(r) + code + " is played before round " + g + "." + rn + " ends");
    };
    for (const auto& r : s.rounds) {
      for (const auto& t : r.teams) {
        if (t[0] != '*') continue;
        std::string g, rn;
        char place = 0;
        if (t.rfind("*stat89", 0) == 0) {
          for (int i = 1; i <= 9; i++) needRound(r, "u" + std::to_string(i), "1", 0, t);
          const std::string key = (r.bFinals ? "F" : "Q") + r.group + "." + r.round;
          if (r.bFinals || r.zone != firstZone || roundIndex[key] != 1)
            Error(at(r) + t + " fills only the second round of a group of the first zone");
        } else if (t.rfind("*cmbsta", 0) == 0) {
          for (int i = 1; i <= 3; i++) needRound(r, "cmb" + std::to_string(i), "1", 0, t);
        } else if (t.rfind("*rand", 0) == 0) {
          if (nameIds.count(t) && nameIds[t] != 418) Error(at(r) + t + ": the best thirds fill only id 418");
          for (int i = 1; i <= 6; i++) needRound(r, std::to_string(i), "1", 0, t);
        } else if (t.rfind("*stat", 0) == 0 || t.rfind("*los", 0) == 0) {
          auto parts = Split(t.substr(1), '*');
          if (parts.size() < 3) Error(at(r) + t + ": a ranking code lists two rounds or more");
          for (size_t i = 1; i < parts.size(); i++) {
            if (!CodeSplit("*" + parts[i], &g, &rn, &place) || place) {
              Error(at(r) + t + ": \"" + parts[i] + "\" is not a group.round");
              continue;
            }
            needRound(r, g, rn, 0, t);
          }
        } else if (CodeSplit(t, &g, &rn, &place)) {
          if (place && (place < 'a' || place > 'd')) Error(at(r) + t + ": place letter a to d");
          needRound(r, g, rn, place, t);
        } else {
          Error(at(r) + t + ": placeholder of no known form");
        }
      }
    }
    // No team plays twice on a day across rounds.
    std::map<std::string, std::map<int, const SrcRound*>> busy;
    for (const auto& r : s.rounds)
      for (const auto& t : r.teams) {
        if (t[0] == '*') continue;
        for (int d : std::set<int>(r.dayNumbers.begin(), r.dayNumbers.end())) {
          auto [it, bNew] = busy[t].emplace(d, &r);
          if (!bNew && it->second != &r) Error(at(r) + t + " also plays on that day in round " + it->second->group + "." + it->second->round);
        }
      }
    // Entrants, host, holder, finalists.
    if (ed < 0 || ed > 10) {
      Error(file + "edition out of range");
      return;
    }
    if (!byTla.count(s.host) || !byTla.count(s.holder)) {
      Error(file + "unknown host or holder");
      return;
    }
    std::set<std::string> entrants, finalists;
    std::string holderZone;
    int cQualify = 0;
    bool bStat89 = false;
    for (const auto& r : s.rounds) {
      for (const auto& t : r.teams) {
        if (t.rfind("*stat89", 0) == 0) bStat89 = true;
        if (t[0] == '*') continue;
        (r.bFinals ? finalists : entrants).insert(t);
        if (!r.bFinals && t == s.holder) holderZone = r.zone;
        if (!r.bFinals && t == s.host) Error(at(r) + "the host " + t + " plays no qualifier");
      }
      if (!r.bFinals)
        for (const auto& c : r.place)
          if (!c.empty() && c[0] == 'w') cQualify++;
    }
    if (holderZone.empty()) Error(file + "the holder " + s.holder + " is missing from the qualifiers");
    else if (!ZoneHas(holderZone, confOf[{byTla[s.holder], ed}])) Error(file + "the holder plays outside its confederation's zone");
    entrants.insert(s.host);
    std::set<std::string> want, wantFinals;
    for (auto& [id, t] : teams) {
      if (t.entered[ed]) want.insert(t.tla);
      if (t.finals[ed]) wantFinals.insert(t.tla);
    }
    for (const auto& t : want)
      if (!entrants.count(t)) Error(file + t + " entered but plays no qualifier");
    for (const auto& t : entrants)
      if (!want.count(t)) Error(file + t + " plays but did not enter");
    if (finalists != wantFinals) Error(file + "the finals do not list the edition's finalists");
    const int cFinals = static_cast<int>(wantFinals.size());
    if (cFinals != 16 && cFinals != 24 && cFinals != 32) Error(file + "finals of 16, 24 or 32 teams");
    if (cQualify + (bStat89 ? 1 : 0) != cFinals - 2)
      Error(file + std::to_string(cQualify + (bStat89 ? 1 : 0)) + " qualifying places for " + std::to_string(cFinals - 2) + " finalists");
    const SrcRound* first = nullptr;
    for (const auto& r : s.rounds)
      if (r.bFinals && !first) first = &r;
    if (!first || first->teams.size() < 2 || first->teams[0] != s.host || first->teams[1] != s.holder)
      Error(file + "the finals open with the host first and the holder second");
  }

  // One language's rows of a source.
  void SourceRows(const Source& s, int lang, std::vector<Row>& q, std::vector<Row>& f) {
    const char* const kLangs[6] = {"en", "fr", "de", "es", "it", "pt"};
    for (const auto& x : s.rounds) {
      Row r;
      r.key = (x.bFinals ? "F" : "") + std::to_string(s.yy);
      r.conf = x.bFinals ? stages[kLangs[lang]][static_cast<size_t>(x.stage)] : x.zone;
      r.group = x.group;
      r.round = x.round;
      r.longName = x.bPlayOff ? playOff[kLangs[lang]] : "";
      if (r.longName.size() > 35) Error(s.file + ": long name over 35 characters in " + kLangs[lang]);
      r.format = x.format;
      r.tb = x.tb;
      for (int i = 0; i < 4; i++) r.place[i] = x.place[i];
      r.dates = x.dates;
      for (size_t i = 0; i < x.venues.size(); i++) r.stadiums += (i ? ";" : "") + std::to_string(x.venues[i]);
      for (const auto& t : x.teams) r.teams.push_back(t[0] == '*' ? t : Name(t));
      (x.bFinals ? f : q).push_back(r);
    }
  }

  // The tree a year file gives, without the names that differ by language.
  static std::string Shape(const std::vector<Row>& rows) {
    std::string s;
    for (const Row& r : rows) s += r.group + "." + r.round + ":" + std::to_string(r.teams.size()) + ";";
    return s;
  }

  // Checks a year's rows against what the reader and the pools allow.
  void Validate(const std::string& what, const std::vector<Row>& rows, int& cTeams, int& cFixtures, int& cGroups,
                int& cRounds, std::set<std::string>& confs) {
    std::set<std::string> groupRounds;
    for (const Row& r : rows) {
      const std::string where = what + " " + r.conf + "/" + r.group + "/" + r.round;
      if (r.conf.size() > 22) Error(where + ": confederation name over 22 characters");
      if (r.group.size() > 6 || r.round.size() > 6) Error(where + ": group or round name too long");
      if (r.place[2].size() > 24 || r.place[3].size() > 27) Error(where + ": place code too long");
      if (!groupRounds.insert(r.group + "." + r.round).second) Error(where + ": round twice");
      confs.insert(r.conf);
      cGroups++;
      cRounds++;
      const int n = static_cast<int>(r.teams.size());
      std::set<std::string> seen;
      for (const auto& t : r.teams) {
        if (!nameIds.count(t)) Error(where + ": unknown team " + t);
        if (t.size() > 30) Error(where + ": team name too long");
        if (!seen.insert(t).second) Error(where + ": team twice");
      }
      cTeams += n;
      if (n == 1) continue;
      const char* list = ListFor(r.format, n);
      if (!list) {
        Error(where + ": no fixture list for " + std::to_string(n) + " teams");
        continue;
      }
      const int pairs = PairCount(r.format, n);
      cFixtures += pairs;
      if (static_cast<int>(r.dates.size()) < pairs) Error(where + ": too few dates");
      // No team twice on one calendar day (the first lettering; re-lettering
      // permutes teams within matchdays).
      std::map<std::string, std::set<char>> perDay;
      int k = 0;
      for (const char* p = list; *p && *p != '$'; p++) {
        if (*p == '!') {
          k++;
          continue;
        }
        const std::string& date = r.dates[static_cast<size_t>(std::min<int>(k, static_cast<int>(r.dates.size()) - 1))];
        if (!perDay[date].insert(p[0]).second || !perDay[date].insert(p[1]).second)
          Error(where + ": a team twice on " + date);
        p++;
      }
      for (const auto& d : r.dates) {
        int dd, mm, yy;
        if (std::sscanf(d.c_str(), "%d/%d/%d", &dd, &mm, &yy) != 3 || yy < 56 || yy > 98) Error(where + ": bad date " + d);
      }
    }
  }

  std::string Text(const std::vector<Row>& rows) {
    std::string s;
    for (const Row& r : rows) {
      std::string dates, teams;
      for (size_t i = 0; i < r.dates.size(); i++) dates += (i ? ";" : "") + r.dates[i];
      for (size_t i = 0; i < r.teams.size(); i++) teams += (i ? "," : "") + r.teams[i];
      s += r.key + "," + r.conf + "," + r.group + "," + r.round + "," + r.longName + "," + r.format + ",," + r.tb +
           "," + r.place[0] + "," + r.place[1] + "," + r.place[2] + "," + r.place[3] + "," + dates + "," + r.stadiums + ",," + teams +
           "\r\n";
    }
    return s;
  }

  // Every edition with a readable source is read from it; its host and
  // holder must agree with the edition's line in editions.txt.
  void Sources(const fs::path& assets) {
    for (const Edition& e : editions) {
      const fs::path p = assets / "tournament/editions" / ("19" + std::to_string(e.yy) + ".txt");
      if (!fs::exists(p)) continue;
      SourceRead(p, e.yy);
      const Source& s = sources[e.yy];
      if (s.host != e.host || s.holder != e.holder) Error(s.file + ": host and holder differ from editions.txt");
    }
  }

  void Run(const fs::path& out) {
    const char* const kLangs[6] = {"en", "fr", "de", "es", "it", "pt"};
    const char* const kFolders[6] = {"english", "french", "german", "spanish", "italian", "portuguese"};
    for (int l = 0; l < 6; l++) {
      const fs::path dir = out / "database" / "tm" / kFolders[l];
      for (size_t ed = 0; ed < editions.size(); ed++) {
        const Edition& e = editions[ed];
        std::vector<Row> q, f;
        auto src = sources.find(e.yy);
        if (src != sources.end()) {
          SourceRows(src->second, l, q, f);
        } else {
          q = Qualifying(e, static_cast<int>(ed));
          f = Finals(e, static_cast<int>(ed), stages[kLangs[l]]);
          VenuesAssign(e, f);
        }
        shapes[e.yy].insert(Shape(q) + "|" + Shape(f));
        if (shapes[e.yy].size() != 1) Error("edition " + std::to_string(e.yy) + ": tree shape differs in " + kLangs[l]);
        int cTeams = 0, cFixtures = 0, cGroups = 0, cRounds = 0;
        std::set<std::string> cq, cf;
        Validate("year" + std::to_string(e.yy), q, cTeams, cFixtures, cGroups, cRounds, cq);
        Validate("year" + std::to_string(e.yy) + "f", f, cTeams, cFixtures, cGroups, cRounds, cf);
        // The worst case: every group's table holds each of its rounds'
        // entries once more, every round that breaks a tie by a play-off
        // adds one, and the dates come from the fixture pool as well.
        int cTable = 0, cPlayOffs = 0, cDates = 0, cLinks = 0;
        for (const auto* rows : {&q, &f}) {
          std::map<std::string, std::set<std::string>> tables;
          for (const Row& r : *rows) {
            for (const auto& t : r.teams) tables[r.group].insert(t);
            if (r.tb == "po" || r.tb == "gd" || r.tb == "gd1" || r.tb == "gd3") cPlayOffs++;
            cDates += r.tb == "bye" ? 0 : std::max<int>(1, static_cast<int>(r.dates.size()));
            if (!r.stadiums.empty()) cLinks += static_cast<int>(Split(r.stadiums, ';').size());
          }
          for (const auto& [g, t] : tables) cTable += static_cast<int>(t.size());
        }
        if (cTeams + cTable > 620 || cFixtures + cPlayOffs > 800 || cDates > 800 || cGroups > 100 || cRounds > 100 ||
            cLinks > 100 || cq.size() + cf.size() > 15)
          Error("edition " + std::to_string(e.yy) + " over the pools: " + std::to_string(cTeams + cTable) +
                " team entries (620), " + std::to_string(cFixtures + cPlayOffs) + " fixtures (800), " +
                std::to_string(cDates) + " dates (800), " + std::to_string(cGroups) + " groups and " +
                std::to_string(cRounds) + " rounds (100 each), " + std::to_string(cLinks) + " stadium links (100), " +
                std::to_string(cq.size() + cf.size()) + " confederations (15)");
        for (const auto& conf : cf) {
          bool bKnown = false;
          for (const auto& s : stages[kLangs[l]]) bKnown = bKnown || s == conf;
          if (!bKnown) Error("finals stage " + conf + " is not one of texts 880 to 885");
        }
        // The holder plays the qualifiers when it is not the host.
        bool bHolder = false;
        for (const auto& r : q)
          for (const auto& t : r.teams) bHolder = bHolder || t == Name(e.holder);
        if (!bHolder) Error("edition " + std::to_string(e.yy) + ": holder missing from the qualifiers");
        char sz[32];
        std::snprintf(sz, sizeof sz, "year%02d.csv", e.yy);
        Output(dir / sz, Text(q));
        std::snprintf(sz, sizeof sz, "year%02df.csv", e.yy);
        Output(dir / sz, Text(f));
      }
    }
  }
};

// The stadium table: checks the rows and writes them as C++.
void Stadiums(const fs::path& assets, const fs::path& out) {
  std::map<std::string, int> ids;  // abbreviation -> team id
  for (const auto& l : Lines(assets / "texts/abbreviations/en.txt")) {
    auto f = Split(l, '\t');
    if (f.size() >= 3 && std::atoi(f[0].c_str()) > 0) ids[f[2]] = std::atoi(f[0].c_str());
  }
  const std::map<int, int> kSpecial = {{71, 20}, {107, 18}, {117, 17}, {125, 17}, {157, 19}, {174, 23}, {300, 22}};
  const std::map<int, std::pair<std::string, std::string>> kPinned = {
      {0, {"AFG", "Kabul"}}, {1, {"AGO", "Luanda"}}, {2, {"ALB", "Tirana"}}, {3, {"ALG", "Algiers"}},
      {50, {"CRC", "San Jose"}}, {100, {"FRA", "Lens"}}, {322, {"ZIM", "Harare"}}};
  std::string rows, cities[6];
  std::string last;
  std::set<int> homes;
  int n = 0;
  for (const auto& l : Lines(assets / "tournament/stadiums.txt")) {
    auto f = Split(l, '\t');
    const std::string where = "stadium row " + std::to_string(n);
    if (f.size() != 8) {
      Error(where + ": 8 fields wanted");
      continue;
    }
    if (std::atoi(f[0].c_str()) != n) Error(where + ": ids must run from 0 in order");
    const std::string& host = f[1];
    if (!ids.count(host)) Error(where + ": unknown host " + host);
    if (host < last) Error(where + ": rows not sorted by host");
    last = host;
    const int type = std::atoi(f[2].c_str()), pitch = std::atoi(f[3].c_str()), look = std::atoi(f[4].c_str());
    int first = 0, lastYear = 0;
    std::sscanf(f[5].c_str(), "%d-%d", &first, &lastYear);
    const int special = std::atoi(f[6].c_str());
    if (type < 0 || type > 3) Error(where + ": type 0 to 3");
    if (pitch < 0 || pitch > 4) Error(where + ": pitch 0 to 4");
    if (first < 1958 || lastYear > 1998 || first > lastYear) Error(where + ": years 1958 to 1998");
    if (special != (kSpecial.count(n) ? 1 : 0) && n != 247) Error(where + ": special flag");
    if (special && n != 247 && look != kSpecial.at(n)) Error(where + ": look of a special row");
    if (!special && (look < 1 || look > 16 || look == 8)) Error(where + ": look 1-7 or 9-16");
    if (type == 1 || type == 2) homes.insert(ids[host]);
    g_venues[host].push_back({n, first, lastYear});
    auto names = Split(f[7], '|');
    g_cities[host].push_back({names[0], {n, first, lastYear}});
    if (names.size() != 1 && names.size() != 6) Error(where + ": one city name or six");
    if (kPinned.count(n) && (kPinned.at(n).first != host || kPinned.at(n).second != names[0]))
      Error(where + ": must be " + kPinned.at(n).first + " " + kPinned.at(n).second);
    char sz[160];
    std::snprintf(sz, sizeof sz, "  {%d, %d, %d, %d, %d, %d, %d},\n", ids[host], type, pitch, first, lastYear, look, special);
    rows += sz;
    for (int lang = 0; lang < 6; lang++) {
      const std::string c = To1252(names[names.size() == 6 ? static_cast<size_t>(lang) : 0]);
      if (c.size() > 19) Error(where + ": city name over 19 characters");
      std::string esc;
      for (char ch : c) {
        if (ch == '"' || ch == '\\') esc += '\\';
        if (static_cast<unsigned char>(ch) >= 0x80) {
          std::snprintf(sz, sizeof sz, "\\%03o", static_cast<unsigned char>(ch));
          esc += sz;
        } else {
          esc += ch;
        }
      }
      cities[lang] += "  \"" + esc + "\",\n";
    }
    n++;
  }
  if (n != 323) Error("the stadium table holds " + std::to_string(n) + " rows, not 323");
  for (const auto& [tla, id] : ids)
    if (!homes.count(id)) Error("team " + tla + " has no home stadium");
  std::ostringstream o;
  o << "// Generated by tmgen from assets/tournament/stadiums.txt.\n#include \"tournament/stadium.h\"\n\n"
       "const StadiumRow stadium_aTable[STADIUM_COUNT] = {\n"
    << rows << "};\n\nconst char* const stadium_aszCities[6][STADIUM_COUNT] = {\n";
  for (auto& c : cities) o << " {\n" << c << " },\n";
  o << "};\n";
  Output(out, o.str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: tmgen <assets folder> <data folder> <stadium C++ file> <confederation C++ file>\n");
    return 2;
  }
  Generator g;
  g.Load(argv[1]);
  g.Conferences(argv[1], argv[4]);
  Stadiums(argv[1], argv[3]);
  if (g_cErrors == 0) g.Sources(argv[1]);
  if (g_cErrors == 0) g.Run(argv[2]);
  if (g_cErrors) return 1;
  for (const auto& [path, text] : g_outputs) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }
  return 0;
}
