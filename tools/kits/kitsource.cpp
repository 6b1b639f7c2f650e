#include "kitsource.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "scene3d/kits_line.h"

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

const char* const kPatterns[] = {"", "plain", "stripes", "hoops", "halves", "sleeves", "sash", "chevron", "quarters"};

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
  // A shirt: a colour, or colour+colour/pattern (a template's pattern, or a
  // unique design when the kit is one of a kind).
  auto shirtRead = [&](int line, std::string shirt, Kit* kit, bool unique) {
    bool ok = true;
    const size_t slash = shirt.find('/'), plus = shirt.find('+');
    if (slash != std::string::npos || plus != std::string::npos) {
      if (slash == std::string::npos || plus == std::string::npos || plus > slash) {
        fault(line, "unreadable shirt \"" + shirt + "\" (colour+colour/pattern)");
        return false;
      }
      const std::string pat = shirt.substr(slash + 1);
      kit->iPattern = 0;
      for (int p = unique ? 6 : 2; p <= (unique ? 8 : 5); ++p)
        if (pat == kPatterns[p]) kit->iPattern = p;
      if (kit->iPattern == 0) {
        fault(line, std::string(unique ? "unknown unique design" : "unknown pattern") + " \"" + pat + "\"");
        ok = false;
      }
      ok = colour(line, shirt.substr(plus + 1, slash - plus - 1), &kit->oSecond) && ok;
      shirt = shirt.substr(0, plus);
    } else if (unique) {
      fault(line, "a unique kit's shirt is colour+colour/design");
      ok = false;
    }
    ok = colour(line, shirt, &kit->oShirt) && ok;
    if (kit->iPattern == kPlain) kit->oSecond = kit->oShirt;
    return ok;
  };
  struct Pending {
    std::string sTeam;
    Team::Unique u;
  };
  std::vector<Pending> uniques;
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
    // unique  team year H|A  shirt shorts socks
    if (w[0] == "unique") {
      Pending p;
      p.u.iLine = n;
      const int year = w.size() == 7 ? std::atoi(w[2].c_str()) : 0;
      if (w.size() != 7 || year < 1958 || year > 1998 || (year - 1958) % 4 != 0 || (w[3] != "H" && w[3] != "A")) {
        fault(n, "a unique line is: unique, team, year, H or A, shirt, shorts, socks");
        continue;
      }
      p.sTeam = w[1];
      p.u.iEdition = (year - 1958) / 4;
      p.u.iSide = w[3] == "H" ? 0 : 1;
      bool ok = shirtRead(n, w[4], &p.u.oKit, true);
      ok = colour(n, w[5], &p.u.oKit.oShorts) && ok;
      ok = colour(n, w[6], &p.u.oKit.oSocks) && ok;
      if (ok) uniques.push_back(p);
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
      ok = shirtRead(n, w[1 + 4 * k], &kit, false) && ok;
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
  for (const Pending& p : uniques) {
    auto t = std::find_if(src.aTeams.begin(), src.aTeams.end(), [&](const Team& x) { return x.sAbbreviation == p.sTeam; });
    const std::string kit = p.sTeam + std::to_string(1958 + 4 * p.u.iEdition) + (p.u.iSide == 0 ? "H" : "A");
    if (t == src.aTeams.end()) fault(p.u.iLine, "unique kit " + kit + ": no team " + p.sTeam);
    else if (std::find(t->aiEditions.begin(), t->aiEditions.end(), p.u.iEdition) == t->aiEditions.end())
      fault(p.u.iLine, "unique kit " + kit + ": the team has no such edition");
    else if (std::any_of(t->aUniques.begin(), t->aUniques.end(),
                         [&](const Team::Unique& u) { return u.iEdition == p.u.iEdition && u.iSide == p.u.iSide; }))
      fault(p.u.iLine, "unique kit " + kit + " has a second line");
    else t->aUniques.push_back(p.u);
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
    // A unique kit against the edition's other kit (in colour and in the
    // edition's own colouring), and against the keeper.
    for (const Team::Unique& u : t.aUniques) {
      Rgb other = t.aKits[1 - u.iSide].oShirt;
      for (const Team::Unique& v : t.aUniques)
        if (v.iEdition == u.iEdition && v.iSide != u.iSide) other = v.oKit.oShirt;
      const int mode = u.iEdition == 0 ? 2 : u.iEdition == 1 ? 1 : 0;
      for (int m : {0, mode}) {
        const float d = kitcolour::Apart(u.oKit.oShirt, other, m);
        if (d < 2.0f * kitcolour::kClash)
          fault(u.iLine, "unique kit of " + t.sAbbreviation + " clashes with its other kit (" +
                             std::to_string(static_cast<int>(d)) + ")");
      }
      if (kitcolour::Apart(t.oKeeperShirt, u.oKit.oShirt, 0) < kitcolour::kClash)
        fault(u.iLine, "unique kit of " + t.sAbbreviation + " clashes with its keeper's shirt");
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
        const auto unique = std::find_if(t.aUniques.begin(), t.aUniques.end(),
                                         [&](const Team::Unique& u) { return u.iEdition == e && u.iSide == k; });
        if (unique != t.aUniques.end()) {
          // A kit of its own: its colours, design and colouring name its
          // textures' folder.
          const Kit& u = unique->oKit;
          l << t.sAbbreviation << 1958 + 4 * e << (k == 0 ? 'H' : 'A') << ",U," << Nearest(u.oShirt) << ','
            << (kitcolour::Luma(u.oShirt) < 140.0 ? 5 : 1) << ",1," << (e <= 1 ? "LS" : "SS") << ',' << Hex(u.oShirt)
            << '-' << Hex(u.oSecond) << '-' << Hex(u.oShorts) << '-' << Hex(u.oSocks) << '-'
            << kPatterns[u.iPattern] << (e == 0 ? "-sepia" : e == 1 ? "-bw" : "") << "\\,GK" << Hex(t.oKeeperShirt)
            << '-' << Hex(t.oKeeperShorts);
          out.push_back(l.str());
          continue;
        }
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
    // The rules the game reads a line by (scene3d/kits_line.h) ...
    const std::string fault = kitline::Fault(l);
    if (!fault.empty()) errors.push_back(where + " " + fault);
    // ... and what the table writes beside them: no field the game does not
    // read, and a unique kit in its year's colouring.
    const std::vector<std::string> f = kitline::Fields(l);
    const bool unique = kitline::Kind(f) == 'U';
    const size_t want = unique ? kitline::kUniqueFields : kitline::kTemplateFields;
    if (fault.empty() && f.size() != want)
      errors.push_back(where + " has " + std::to_string(f.size()) + " fields, not " + std::to_string(want));
    kitcolour::UniqueLook u{};
    if (fault.empty() && unique && kitcolour::ParseUnique(f[6].c_str(), &u) &&
        u.iMode != (name.size() < 7 ? 0 : name.compare(3, 4, "1958") == 0 ? 2 : name.compare(3, 4, "1962") == 0 ? 1 : 0))
      errors.push_back(where + ": a unique kit drawn in another colouring than its year's");
    if (name.size() != 8 || (name[7] != 'H' && name[7] != 'A')) errors.push_back(where + ": unreadable kit name");
    if (!names.insert(name).second) errors.push_back(where + " names a kit twice");
    for (size_t j = 0; j < lines.size(); ++j)
      if (j != i && lines[j].find(name) != std::string::npos)
        errors.push_back(where + ": its name occurs in line " + std::to_string(j + 1));
  }
  // The home and away shirts of an edition apart, in colour and in the
  // edition's own colouring (as the game reads them: a unique kit's from
  // its prefix).
  std::map<std::string, Rgb> shirts;
  for (const std::string& l : lines) {
    const std::vector<std::string> f = kitline::Fields(l);
    kitline::Look look{};
    if (kitline::Fault(l).empty() && kitline::LookRead(f, &look) == kitline::kLookReads) shirts[f[0]] = look.oShirt;
  }
  for (const auto& [name, shirt] : shirts) {
    if (name.size() != 8 || name[7] != 'H') continue;
    const auto away = shirts.find(name.substr(0, 7) + "A");
    if (away == shirts.end()) continue;
    const int mode = name.compare(3, 4, "1958") == 0 ? 2 : name.compare(3, 4, "1962") == 0 ? 1 : 0;
    for (int m : {0, mode})
      if (kitcolour::Apart(shirt, away->second, m) < kitcolour::kClash)
        errors.push_back(name + " and its away kit clash");
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

std::vector<std::string> CheckUniqueTextures(const std::vector<std::string>& lines, const std::string& dir) {
  std::vector<std::string> errors;
  for (const std::string& l : lines) {
    const std::vector<std::string> f = kitline::Fields(l);
    if (f.size() < kitline::kUniqueFields || kitline::Kind(f) != 'U') continue;
    std::string prefix = f[6];
    std::replace(prefix.begin(), prefix.end(), '\\', '/');
    const bool longSleeves = f[5].find("SS") == std::string::npos;
    const std::pair<const char*, int> parts[8] = {{"front", 128},  {"back", 128},   {"top", 64},
                                                   {longSleeves ? "lsleevbt" : "sleevr", 64},
                                                   {longSleeves ? "lsleevl" : "sleevl", 64},
                                                   {"shortf", 96}, {"shortb", 96}, {"socks", 64}};
    for (const auto& [part, size] : parts) {
      const std::string rel = "kits/uniques/" + prefix + part + ".tga";
      std::ifstream t(dir + "/" + rel, std::ios::binary);
      unsigned char h[18] = {};
      if (!t.read(reinterpret_cast<char*>(h), 18)) {
        errors.push_back(f[0] + ": missing texture " + rel);
        continue;
      }
      if (h[12] + 256 * h[13] != size || h[14] + 256 * h[15] != size)
        errors.push_back(f[0] + ": texture " + rel + " is not " + std::to_string(size) + " square");
    }
  }
  return errors;
}

}  // namespace kitsource
