#pragma once
// The zone table generator: reads the zone source (trees of named boxes on the
// 26 x 16 grid, templates, the role table), lays every tree out as one group
// of records ending with its root, checks the result and writes C++ tables.
#include <cstdint>
#include <string>
#include <vector>

namespace zonegen {

constexpr int kRecords = 2293;
constexpr int kCols = 26;
constexpr int kRows = 16;
constexpr int kRootX = -9453;
constexpr int kRootY = -5817;
constexpr int kRootW = 18907;
constexpr int kRootH = 11635;

struct Record {
  std::int32_t id, x, y, w, h;
  std::int16_t hit, miss;
  // Cell edges of the box (c0 < c1, r0 < r1); raw records carry the cells
  // their units round to.
  int c0, c1, r0, r1;
  bool raw;
};

struct RoleRow {
  std::int32_t aw[7];
};

struct Tree {
  int root;
  std::string label;
};

struct Table {
  std::vector<Record> records;
  std::vector<Tree> trees;       // in root order
  std::vector<RoleRow> roles;    // 25 rows
};

// X and y cell edges in pitch units.
int EdgeX(int k);
int EdgeY(int k);

// Parses and lays out a source; on failure returns false with messages
// ("line N: ..." or "tree R: ...") in errors.
bool Build(const std::string& text, Table* out, std::vector<std::string>* errors);
// Checks a laid-out table; messages in errors.
bool Validate(const Table& t, std::vector<std::string>* errors);
// An ASCII map of one tree (flip bits 1 and 2 mirror it).
std::string Show(const Table& t, int root, int flip);
// The C++ sources of the table: the records, and the roots and role table.
std::string EmitRecords(const Table& t);
std::string EmitRoles(const Table& t);

// The support grid: five given rows of 36 values (three windows of 12).
bool BuildGrid(const std::string& text, std::vector<std::uint8_t>* grid, std::vector<std::string>* errors);
std::string EmitGrid(const std::vector<std::uint8_t>& grid);

// A whole file; false when it cannot be read.
bool ReadFile(const std::string& path, std::string* out);
// Writes through a temporary file, and only when the text differs from the
// file's, so that an unchanged table does not rebuild what includes it.
bool WriteIfChanged(const std::string& path, const std::string& text);

}  // namespace zonegen
