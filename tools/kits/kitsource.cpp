#include "kitsource.h"

#include <algorithm>
#include <set>
#include <sstream>

namespace kitsource {

namespace {

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> w;
  for (std::string s; in >> s;) w.push_back(s);
  return w;
}

std::string Hex(Rgb c) {
  char b[7];
  kitcolour::Name(c, b);
  return b;
}

// The kit colour table's index (1-based) nearest a colour: the first
// number of a line, which tells the game whether two home kits clash.
const Rgb kTable[12] = {{10, 10, 10},  {128, 64, 0},   {160, 40, 30}, {30, 40, 150}, {200, 200, 200}, {190, 180, 30},
                        {70, 190, 30}, {200, 0, 200}, {128, 0, 128}, {190, 140, 30}, {64, 64, 64}, {128, 0, 128}};
int Nearest(Rgb c) {
  int best = 0;
  for (int i = 1; i < 12; ++i)
    if (kitcolour::Distance(c, kTable[i]) < kitcolour::Distance(c, kTable[best])) best = i;
  return best + 1;
}

const char* const kPatterns[] = {"", "plain", "stripes", "hoops", "halves", "sleeves"};

}  // namespace

Source Read(const std::string& kits, const std::string& teams) {
  Source src;
  std::map<std::string, Rgb> colours;
  auto fault = [&](int line, const std::string& what) {
    src.asErrors.push_back("kits.txt:" + std::to_string(line) + ": " + what);
  };
  auto colour = [&](int line, const std::string& name, Rgb* out) {
    auto it = colours.find(name);
    if (it == colours.end()) {
      fault(line, "unknown colour \"" + name + "\"");
      return false;
    }
    *out = it->second;
    return true;
  };
  std::istringstream in(kits);
  int n = 0;
  std::set<std::string> seen;
  for (std::string line; std::getline(in, line);) {
    ++n;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::vector<std::string> w = Words(line);
    if (w.empty() || w[0][0] == '#') continue;
    if (w[0] == "colour") {
      int v[3];
      bool ok = w.size() == 5;
      for (int k = 0; ok && k < 3; ++k) {
        char* end = nullptr;
        const long x = std::strtol(w[2 + k].c_str(), &end, 10);
        ok = *end == 0 && x >= 0 && x <= 255;
        v[k] = static_cast<int>(x);
      }
      if (!ok) fault(n, "unreadable colour line");
      else colours[w[1]] = Rgb{static_cast<uint8_t>(v[0]), static_cast<uint8_t>(v[1]), static_cast<uint8_t>(v[2])};
      continue;
    }
    // team  shirt shorts socks | shirt shorts socks | keeper-shirt keeper-shorts
    if (w.size() != 11 || w[4] != "|" || w[8] != "|") {
      fault(n, "a team line is: team, three home colours, |, three away colours, |, two keeper colours");
      continue;
    }
    Team t;
    t.sAbbreviation = w[0];
    t.iLine = n;
    if (w[0].size() != 3 || !std::all_of(w[0].begin(), w[0].end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
      fault(n, "team \"" + w[0] + "\" is not three capital letters");
    if (!seen.insert(w[0]).second) fault(n, "team " + w[0] + " has a second line");
    bool ok = true;
    for (int k = 0; k < 2; ++k) {
      Kit& kit = t.aKits[k];
      std::string shirt = w[1 + 4 * k];
      const size_t slash = shirt.find('/'), plus = shirt.find('+');
      if (slash != std::string::npos || plus != std::string::npos) {
        if (slash == std::string::npos || plus == std::string::npos || plus > slash) {
          fault(n, "unreadable shirt \"" + shirt + "\" (colour+colour/pattern)");
          ok = false;
          continue;
        }
        const std::string pat = shirt.substr(slash + 1);
        kit.iPattern = 0;
        for (int p = 2; p <= 5; ++p)
          if (pat == kPatterns[p]) kit.iPattern = p;
        if (kit.iPattern == 0) {
          fault(n, "unknown pattern \"" + pat + "\"");
          ok = false;
        }
        ok = colour(n, shirt.substr(plus + 1, slash - plus - 1), &kit.oSecond) && ok;
        shirt = shirt.substr(0, plus);
      }
      ok = colour(n, shirt, &kit.oShirt) && ok;
      if (kit.iPattern == kPlain) kit.oSecond = kit.oShirt;
      ok = colour(n, w[2 + 4 * k], &kit.oShorts) && ok;
      ok = colour(n, w[3 + 4 * k], &kit.oSocks) && ok;
    }
    ok = colour(n, w[9], &t.oKeeperShirt) && ok;
    ok = colour(n, w[10], &t.oKeeperShorts) && ok;
    if (ok) src.aTeams.push_back(t);
  }
  // The database's teams and their editions.
  std::map<std::string, std::vector<int>> editions;
  std::vector<std::string> order;
  std::istringstream tin(teams);
  for (std::string line; std::getline(tin, line);) {
    if (line.empty() || line[0] == '#') continue;
    const std::vector<std::string> w = Words(line);
    if (w.size() < 6) continue;
    std::vector<int>& e = editions[w[1]];
    order.push_back(w[1]);
    for (size_t k = 5; k < w.size(); ++k) {
      const int yy = std::atoi(w[k].substr(0, 2).c_str());
      if (yy >= 58 && yy <= 98 && (yy - 58) % 4 == 0) e.push_back((yy - 58) / 4);
    }
  }
  for (Team& t : src.aTeams) {
    auto it = editions.find(t.sAbbreviation);
    if (it == editions.end()) fault(t.iLine, "team " + t.sAbbreviation + " is not a team of the player database");
    else t.aiEditions = it->second;
  }
  for (const std::string& abbr : order)
    if (!seen.count(abbr)) src.asErrors.push_back("kits.txt: team " + abbr + " of the player database has no kits");
  // Home and away apart in every mode they can be seen in, the keeper apart
  // from both (in colour).
  for (const Team& t : src.aTeams) {
    const bool old = std::any_of(t.aiEditions.begin(), t.aiEditions.end(), [](int e) { return e <= 1; });
    for (int m = 0; m <= (old ? 2 : 0); ++m) {
      const float d = kitcolour::Apart(t.aKits[0].oShirt, t.aKits[1].oShirt, m);
      if (d < 2.0f * kitcolour::kClash)
        fault(t.iLine, t.sAbbreviation + "'s home and away shirts are too alike (" + std::to_string(static_cast<int>(d)) +
                           (m == 0 ? " in colour" : m == 1 ? " in black and white" : " in sepia") + ")");
    }
    for (int k = 0; k < 2; ++k)
      if (kitcolour::Apart(t.oKeeperShirt, t.aKits[k].oShirt, 0) < kitcolour::kClash)
        fault(t.iLine, t.sAbbreviation + "'s keeper shirt is too like the " + (k == 0 ? "home" : "away") + " shirt");
  }
  return src;
}

std::vector<std::string> Expand(const Source& src) {
  std::vector<std::string> out;
  bool ant1966 = false;
  for (const Team& t : src.aTeams) {
    std::vector<int> eds = t.aiEditions;
    // A team of the black-and-white years only gets a colour edition for
    // matches against colour kits (Curacao plays in the Antilles' kit).
    const bool colourEdition = std::any_of(eds.begin(), eds.end(), [](int e) { return e >= 2; });
    if (!colourEdition && !eds.empty() && t.sAbbreviation != "CUR") eds.push_back(2);
    if (t.sAbbreviation == "ANT" && std::find(eds.begin(), eds.end(), 2) == eds.end()) eds.push_back(2);
    std::sort(eds.begin(), eds.end());
    eds.erase(std::unique(eds.begin(), eds.end()), eds.end());
    for (int e : eds) {
      for (int k = 0; k < 2; ++k) {
        const Kit& kit = t.aKits[k];
        std::ostringstream l;
        l << t.sAbbreviation << 1958 + 4 * e << (k == 0 ? 'H' : 'A') << ",T," << Nearest(kit.oShirt) << ','
          << (kitcolour::Luma(kit.oShirt) < 140.0 ? 5 : 1) << ",1," << (e <= 1 ? "LS" : "SS") << ',';
        // Shirt folder: the colours; parts: front and back by pattern, the
        // top, the sleeves (a second colour's sleeve, a hooped one, plain).
        l << Hex(kit.oShirt);
        if (kit.iPattern != kPlain) l << '-' << Hex(kit.oSecond);
        const int body = kit.iPattern == kSleeves ? 1 : kit.iPattern;
        const int sleeve = kit.iPattern == kSleeves ? 22 : kit.iPattern == kHoops ? 23 : 21;
        l << ',' << body << ',' << body << ",11," << sleeve << ',' << sleeve << ',' << Hex(kit.oShorts) << ",1,2,"
          << Hex(kit.oSocks) << ",1,GK" << Hex(t.oKeeperShirt) << '-' << Hex(t.oKeeperShorts);
        out.push_back(l.str());
        if (t.sAbbreviation == "ANT" && e == 2 && k == 0) ant1966 = true;
      }
    }
  }
  (void)ant1966;
  return out;
}

std::vector<std::string> Check(const std::vector<std::string>& lines) {
  std::vector<std::string> errors;
  std::set<std::string> names;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& l = lines[i];
    const std::string name = l.substr(0, l.find(','));
    const std::string where = "kit line " + std::to_string(i + 1) + " (" + name + ")";
    if (l.size() > 255) errors.push_back(where + " is longer than 255 characters");
    std::vector<std::string> f;
    std::istringstream in(l);
    for (std::string s; std::getline(in, s, ',');)
      if (!s.empty()) f.push_back(s);
    if (f.size() != 18) errors.push_back(where + " has " + std::to_string(f.size()) + " fields, not 18");
    if (name.size() != 8 || (name[7] != 'H' && name[7] != 'A')) errors.push_back(where + ": unreadable kit name");
    if (!names.insert(name).second) errors.push_back(where + " names a kit twice");
    for (size_t j = 0; j < lines.size(); ++j)
      if (j != i && lines[j].find(name) != std::string::npos)
        errors.push_back(where + ": its name occurs in line " + std::to_string(j + 1));
    Rgb c;
    if (f.size() == 18) {
      const size_t dash = f[6].find('-');
      if (!kitcolour::Parse(f[6].c_str(), &c) || (dash != std::string::npos && !kitcolour::Parse(f[6].c_str() + dash + 1, &c)) ||
          !kitcolour::Parse(f[12].c_str(), &c) || !kitcolour::Parse(f[15].c_str(), &c) || f[17].size() != 15 ||
          !kitcolour::Parse(f[17].c_str() + 2, &c) || !kitcolour::Parse(f[17].c_str() + 9, &c))
        errors.push_back(where + ": unreadable colour");
    }
  }
  // Every kit of 1958 and 1962 has a colour edition, and every home kit an
  // away kit.
  for (const std::string& name : names) {
    const std::string team = name.substr(0, 3);
    if (name.size() == 8 && name[7] == 'H' && !names.count(name.substr(0, 7) + "A"))
      errors.push_back(name + " has no away kit");
    if (name.size() == 8 && (name.compare(3, 4, "1958") == 0 || name.compare(3, 4, "1962") == 0)) {
      bool found = team == "CUR" && names.count("ANT1966H");
      for (int y = 1966; y <= 1998 && !found; y += 4) found = names.count(team + std::to_string(y) + "H") > 0;
      if (!found) errors.push_back(name + ": a black-and-white kit without a colour edition");
    }
  }
  return errors;
}

}  // namespace kitsource
