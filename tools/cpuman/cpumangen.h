#pragma once
// The computer manager's change table: read from its readable source (one
// row per formation, the change made when level or behind and the change
// made when ahead), checked against the formations and turned into the
// word table the manager reads.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace cpumangen {

constexpr int kFormations = 19;
constexpr int kNoRowFormation = 15;  // the one formation a coach never leaves
constexpr int kRows = 18;
constexpr int kSlots = 11;
constexpr int kWords = 69;  // formation, then per kind: target and 11 x {code, action, wanted}
constexpr int kMaxCode = 24;

struct Formations {
  std::vector<std::string> names;                 // in index order
  std::vector<std::array<std::int32_t, kSlots>> codes;  // position code of each slot
  int Find(const std::string& name) const;
};

using Row = std::array<std::int32_t, kWords>;

struct Table {
  std::vector<Row> rows;  // in formation order once checked
};

// The formations source: a line per formation, its name then its slots'
// position codes (flank marks and line separators ignored).
bool ParseFormations(const std::string& text, Formations* out, std::string* error);
// The change table's source; every refusal names the file and line.
bool Parse(const std::string& text, const std::string& file, const Formations& f, Table* out, std::string* error);
// The table as C++ with its end row.
std::string EmitCpp(const Table& t);
// The table back as source text (parses to the same rows).
std::string Write(const Table& t, const Formations& f);

}  // namespace cpumangen
