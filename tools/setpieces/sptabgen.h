#pragma once
// Set-piece position table generator: reads the readable position source
// (one block per zone-tree key: throw-in, corner and free-kick options and
// defence zones), checks it against the zone table and writes the three
// C++ tables the engine's lookups read.
#include <cstdint>
#include <string>
#include <vector>

namespace zonegen {
struct Table;
}

namespace sptabgen {

constexpr int kRows = 25;
constexpr int kThrowInWords = 113;
constexpr int kCornerWords = 8;
constexpr int kFreeKickWords = 29;
constexpr int kThrowInKinds = 8;   // kinds 0..7 filled, 8..15 hold 0
constexpr int kFreeKickKinds = 7;  // kinds 9..15

// The row keys in table order; the 25th row repeats 461 (0 in the corner
// table) and is never reached by a lookup.
extern const std::int32_t kKeys[kRows];

struct Tables {
  std::int32_t throwIn[kRows][kThrowInWords] = {};
  std::int32_t corner[kRows][kCornerWords] = {};
  std::int32_t freeKick[kRows][kFreeKickWords] = {};
};

// Parses a source; on failure returns false with "file:line: reason"
// messages (one per fault) in errors.
bool Parse(const std::string& text, const std::string& file, Tables* out, std::vector<std::string>* errors);

// The zone facts the check needs: for each tree root, the ids of its group
// and whether each leaves room for a random point.
struct ZoneFacts {
  struct Zone {
    std::int32_t id;
    std::int32_t width;
    std::int32_t height;
  };
  std::vector<std::int32_t> roots;
  std::vector<std::vector<Zone>> zones;  // per root, in group order
  std::vector<std::int32_t> attackTrees, defendTrees, penaltyTrees;
  const std::vector<Zone>* Tree(std::int32_t root) const;
};
ZoneFacts FactsFromZoneTable(const zonegen::Table& t);

// Checks laid-out tables against the zones: keys and order, the fixed
// example rows, every id a zone of its key's tree (-1 none), empty throw-in
// groups of kinds 8..15, and the zones the set pieces draw random points in.
bool Validate(const Tables& t, const ZoneFacts& z, std::vector<std::string>* errors);

std::string EmitCpp(const Tables& t);

}  // namespace sptabgen
