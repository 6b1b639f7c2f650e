#pragma once
// The action program assembler: reads the program source (actions by name
// with their parameters, named programs, parameterised templates and one
// block per set mapping player-class and ball-class ranges to programs),
// merges identical programs, checks the result against the zone and role
// tables and writes the record bytes and the set table as C++.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace zonegen {
struct Table;
}

namespace progasm {

constexpr int kSets = 76;
constexpr int kClasses = 8;
constexpr int kEntries = kClasses * kClasses;  // player class x 8 + ball class

// One action of the table: its source name (without the ACTION_ prefix), id,
// the parameter count a shipped program gives it (-1: never shipped).
struct ActionName {
  const char* name;
  int id;
  int params;
};
const std::vector<ActionName>& Vocabulary();
const ActionName* FindAction(const std::string& name);
const ActionName* FindAction(int id);

struct Program {
  std::uint32_t offset = 0;  // first record in the bytes
  std::uint32_t length = 0;  // bytes up to and including the closing record
  std::string name;          // as first referenced (template instances with their arguments)
  int line = 0;              // source line of that reference (0: none)
};

struct Table {
  std::vector<std::uint8_t> bytes;  // records of every distinct program, the empty one first
  std::vector<Program> programs;    // in offset order; [0] is the empty program {0, 0}
  int sets[kSets][kEntries] = {};   // program index per entry
  int setLine[kSets] = {};          // source line of each set block
};

// Assembles a source. On failure returns false with "file:line: reason"
// messages. The result still has to pass Validate.
bool Assemble(const std::string& text, const std::string& file, Table* out, std::vector<std::string>* errors);

// The canonical source of a table: programs p0.. in offset order, one row
// line per player class. Assembling it gives the same table back.
std::string Disassemble(const Table& t);

// A table read back from compiled record bytes and set offsets; false when
// an offset or a program runs outside the bytes.
bool FromArrays(const std::uint8_t* bytes, std::size_t count, const std::uint16_t (*sets)[kEntries], Table* out,
                std::string* error);

// Who uses each set, from the role table: role code and state (0 attacking,
// 1 defending, 2 on the ball) and that state's tree root; the zone ids of
// every tree.
struct SetUse {
  int role;
  int state;
  int tree;
};
struct Roles {
  std::vector<SetUse> uses[kSets];
  std::map<int, std::set<int>> treeIds;  // by root index
};
Roles RolesFromZones(const zonegen::Table& zones);

// Every rule a shipped table keeps (messages name set, entry and program).
bool Validate(const Table& t, const Roles& roles, const std::string& file, std::vector<std::string>* errors);

// Counts for the build's report.
int DistinctPrograms(const Table& t);
int EmptyEntries(const Table& t);

// A set as an 8 x 8 grid of program names (rows: player class, columns: ball
// class), with the programs spelled out below.
std::string Explain(const Table& t, int set);

// The C++ source of the record bytes and the set table.
std::string Emit(const Table& t);

// ---- The team trap table: a taking animation (or none) per ball height class.
constexpr int kTrapClasses = 8;
constexpr int kAnimNone = 1;
struct TrapTable {
  int anim[kTrapClasses] = {};
  int line[kTrapClasses] = {};
};
bool ReadTraps(const std::string& text, const std::string& file, TrapTable* out, std::vector<std::string>* errors);
// What the check needs of an animation: whether it takes the ball and the
// ball's height over the ground (pitch units) at its contact frame.
struct AnimContact {
  bool takes = false;
  int height = -1;  // -1: no contact frame or no ball track
};
bool CheckTraps(const TrapTable& t, const std::map<int, AnimContact>& anims, const std::string& file,
                std::vector<std::string>* errors);
std::string EmitTraps(const TrapTable& t);

}  // namespace progasm
