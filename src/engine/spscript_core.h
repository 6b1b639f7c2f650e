#pragma once
// The set-piece script machine: driver, one-step rules, variables, call stack
// and the opcodes that touch only the machine. Everything that reaches the
// match (players, camera, ball, referee) goes through SpScriptHost, so the
// machine runs the same against the match and against a test double.
//
// A variable naming a player holds a handle: 1..22 the players, 23 the
// referee, 24 the spare record, 0 nobody.
#include <cstdint>
#include <string>

#include "engine/spscript.h"

constexpr std::int32_t SPSCRIPT_VAR_BASE = static_cast<std::int32_t>(0xBABEBEA5u);
constexpr int SPSCRIPT_VARS = 26;
constexpr int SPSCRIPT_STACK = 16;
constexpr int SPSCRIPT_OPS = 50;
constexpr std::int32_t SPSCRIPT_HANDLE_REFEREE = 23;
constexpr std::int32_t SPSCRIPT_HANDLE_SPARE = 24;

inline bool SPSCRIPT_IS_VAR(std::int32_t w) {
  const std::uint32_t u = static_cast<std::uint32_t>(w);
  return u >= 0xBABEBEA5u && u <= 0xBABEBEBEu;
}

// Argument words of each opcode (index 1..50).
extern const std::uint8_t spscript_aArgc[SPSCRIPT_OPS + 1];

enum SpScriptState : std::int32_t {
  SPSCRIPT_RUNNING = 1,
  SPSCRIPT_WAITING = 2,
  SPSCRIPT_RESUME = 3,
  SPSCRIPT_FINISHED = 4,
};

class SpScriptHost {
 public:
  virtual ~SpScriptHost() = default;
  virtual std::int32_t RestartX() = 0;
  virtual std::int32_t RestartY() = 0;
  virtual std::int32_t RefereeAction() = 0;
  // Handles fetched by 15, 16, 17, 18, 38, 39 (0: nobody).
  virtual std::int32_t Fetch(std::int32_t op) = 0;
  virtual std::int32_t Direction(std::int32_t handle) = 0;
  virtual bool AnimFinished(std::int32_t handle) = 0;
  virtual std::int32_t AnimFrame(std::int32_t handle) = 0;
  virtual bool NearTarget(std::int32_t handle) = 0;  // within 72 units
  virtual std::int32_t Random(std::int32_t lo, std::int32_t hi) = 0;
  // Every instruction acting on the match: op with its argument values
  // (variables read, players as handles). bPenalty / bThrowIn tell the
  // running script is the penalty or the throw-in script.
  virtual void Effect(std::int32_t op, const std::int32_t* args, bool bPenalty, bool bThrowIn) = 0;
  virtual void Finished() = 0;  // each step after the end: referee stands still
  virtual void Log(const char* text) = 0;
};

struct SpScriptFrame {
  std::int32_t pc;
  std::int32_t loopStart;
  const std::int32_t* script;
};

class SpScriptMachine {
 public:
  constexpr SpScriptMachine(const SpScriptEntry* list, SpScriptHost* host) : list_(list), host_(host) {}

  void Reset();
  void Call(std::int32_t id);
  void Return();
  void Run();     // one step
  void Update();  // the driver: one tick
  void HolderSet(std::int32_t handle) { holder_ = handle; }

  std::int32_t State() const { return state_; }
  std::int32_t Pc() const { return pc_; }
  std::int32_t Sp() const { return sp_; }
  std::int32_t Var(int slot) const { return vars_[slot]; }
  void VarSet(int slot, std::int32_t v) { vars_[slot] = v; }
  bool SkipFlag() const { return skip_ != 0; }
  bool LoopFlag() const { return loop_ != 0; }
  const std::int32_t* Script() const { return script_; }
  void StateSet(std::int32_t s) { state_ = s; }  // for tests of the invalid states

  static constexpr int kStepCap = 4096;  // steps one tick may take

 private:
  const std::int32_t* Lookup(std::int32_t id) const;
  std::int32_t Value(std::int32_t w) const;
  std::int32_t* VarRef(std::int32_t w);
  bool Condition(std::int32_t op, const std::int32_t* a);
  bool WaitMet(std::int32_t op, const std::int32_t* a);
  void End();

  const SpScriptEntry* list_;
  SpScriptHost* host_;
  std::int32_t vars_[SPSCRIPT_VARS] = {};
  std::int32_t state_ = SPSCRIPT_RUNNING;
  std::int32_t pc_ = 0;
  std::int32_t loopStart_ = 0;
  std::int32_t loop_ = 0;
  std::int32_t skip_ = 0;
  std::int32_t wait_ = 0;
  std::int32_t sp_ = -1;
  std::int32_t holder_ = 0;
  const std::int32_t* script_ = nullptr;
  SpScriptFrame stack_[SPSCRIPT_STACK] = {};
};
