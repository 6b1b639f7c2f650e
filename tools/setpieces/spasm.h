#pragma once
// Set-piece script assembler: reads the readable script source (one header
// per script, one mnemonic per instruction), checks it and turns it into the
// word arrays the interpreter runs; also turns words back into text.
#include <cstdint>
#include <string>
#include <vector>

namespace spasm {

constexpr std::int32_t kVarBase = static_cast<std::int32_t>(0xBABEBEA5u);
constexpr int kVarSlots = 26;
constexpr int kFirstReadOnlySlot = 23;  // 23..25 belong to the interpreter
constexpr int kMaxDepth = 16;
constexpr int kOpCount = 50;

inline bool IsVar(std::int32_t w) {
  const std::uint32_t u = static_cast<std::uint32_t>(w);
  return u >= 0xBABEBEA5u && u <= 0xBABEBEBEu;
}
inline std::int32_t VarWord(int slot) {
  return static_cast<std::int32_t>(0xBABEBEA5u + static_cast<std::uint32_t>(slot));
}
inline int VarSlot(std::int32_t w) {
  return static_cast<int>(static_cast<std::uint32_t>(w) - 0xBABEBEA5u);
}

enum ArgKind : std::uint8_t {
  kAny = 0,      // literal or variable read
  kPlayer = 1,   // variable holding a player
  kWrite = 2,    // variable written
  kScript = 3,   // call target
};

struct OpInfo {
  const char* mnemonic;
  int argc;
  ArgKind args[4];
  bool condition;
  bool waits;  // instructions that let ticks pass
};

// Opcode n (1..50) is kOps[n].
extern const OpInfo kOps[kOpCount + 1];
int OpFind(const std::string& mnemonic);  // 0 when unknown

struct Script {
  std::int32_t id = 0;
  std::string name;
  bool top = false;  // top-level script ("script") or subroutine ("sub")
  int line = 0;      // line of its header
  std::vector<std::int32_t> words;
  std::vector<int> lines;  // source line of each word
};

struct Program {
  std::vector<Script> scripts;  // in source order
  std::size_t WordTotal() const;
  const Script* Find(std::int32_t id) const;
};

// Parses and checks a source; on failure returns false and sets error to
// "<origin>:<line>: <reason>".
bool Assemble(const std::string& text, const std::string& origin, Program* out, std::string* error);
// Checks an assembled program (Assemble runs it too).
bool Check(const Program& prog, const std::string& origin, std::string* error);
// Readable text that assembles back to the same words.
std::string Disassemble(const Program& prog);
// C++ source defining spscript_List (ids ascending, then {-1, nullptr}).
std::string EmitCpp(const Program& prog);

}  // namespace spasm
