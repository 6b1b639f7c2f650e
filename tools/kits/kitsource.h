#pragma once
// The kit table's source: named colours and one line per national team
// (home, away and goalkeeper kits), read against the player database's team
// editions, checked, and expanded into the game's kit table: a home and an
// away line for every edition of every team, with colour editions for the
// teams of 1958 and 1962 only.
#include <map>
#include <string>
#include <vector>

#include "scene3d/kits_colour.h"

namespace kitsource {

using kitcolour::Rgb;

enum Pattern { kPlain = 1, kStripes = 2, kHoops = 3, kHalves = 4, kSleeves = 5 };
// Designs no template draws (a sash, a chevron, quarters): kits of their
// own, for one edition and side of a team ("unique" lines of the source).
enum UniqueDesign { kSash = 6, kChevron = 7, kQuarters = 8 };

struct Kit {
  Rgb oShirt{}, oSecond{};
  int iPattern = kPlain;
  Rgb oShorts{}, oSocks{};
};

struct Team {
  std::string sAbbreviation;
  Kit aKits[2];  // home, away
  Rgb oKeeperShirt{}, oKeeperShorts{};
  std::vector<int> aiEditions;  // 0 = 1958 .. 10 = 1998, from the database
  struct Unique {
    int iEdition, iSide;  // side 0 home, 1 away
    Kit oKit;
    int iLine;
  };
  std::vector<Unique> aUniques;
  int iLine = 0;
};

struct Source {
  std::vector<Team> aTeams;
  std::vector<std::string> asErrors;
};

// Reads the kits source and the database's team list (their texts); every
// fault goes to asErrors with its line.
Source Read(const std::string& sKits, const std::string& sTeams);
// The kit table's lines ("AUS1966H,T,..."): every edition's H and A line,
// and the colour editions ("...1966") of teams with only 1958 and 1962.
std::vector<std::string> Expand(const Source& src);
// The table's checks: every line read whole by the game's own rules
// (kitline::Fault: text, length, fields, kind, numbers, colours, unique kit
// prefixes), and beside them what the table promises: exactly the fields
// of its kind, unique kits in their year's colouring, names of a team, a
// year and H or A, no kit name inside another line nor twice, an away kit
// for every home kit, a colour edition for every black-and-white kit, home
// and away shirts apart in every mode the kit can be seen in. Empty when
// sound.
// A unique kit's line is its name, "U", the numbers, the sleeves, its name
// prefix (its colours, design and colouring: the game's clash check reads
// the shirt colour from it) and the goalkeeper folder.
std::vector<std::string> Check(const std::vector<std::string>& asLines);
// The unique kits' textures the lines name, each at its slot size, looked
// for under the textures folder. Empty when all are there.
std::vector<std::string> CheckUniqueTextures(const std::vector<std::string>& asLines, const std::string& sTexturesDir);

}  // namespace kitsource
