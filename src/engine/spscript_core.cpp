#include "engine/spscript_core.h"

#include "framework/qdx_assert.h"

const std::uint8_t spscript_aArgc[SPSCRIPT_OPS + 1] = {
    0,                             // (none)
    0, 1, 0, 3, 3, 2, 2, 2, 0, 1,  // 1-10
    0, 0, 3, 4, 1, 1, 1, 1, 2, 1,  // 11-20
    3, 1, 1, 0, 0, 0, 0, 1, 1, 2,  // 21-30
    2, 0, 0, 0, 0, 0, 0, 1, 1, 1,  // 31-40
    0, 0, 0, 0, 1, 0, 0, 0, 3, 0,  // 41-50
};

namespace {

bool IsCondition(std::int32_t op) {
  return op == 11 || op == 12 || op == 26 || op == 27 || op == 28 || op == 29 || op == 32 || op == 33 ||
         op == 37;
}
bool IsWaitFor(std::int32_t op) { return op == 23 || op == 31 || op == 40; }

const std::int32_t* Find(const SpScriptEntry* list, std::int32_t id) {
  for (int i = 0; list[i].id != -1; ++i)
    if (list[i].id == id) return list[i].code;
  return nullptr;
}

}  // namespace

void SpScriptMachine::Reset() {
  for (std::int32_t& v : vars_) v = 0;
  wait_ = 0;
  pc_ = 0;
  loopStart_ = 0;
  loop_ = 0;
  skip_ = 0;
  state_ = SPSCRIPT_RUNNING;
  sp_ = -1;
  script_ = nullptr;  // no script until the start operation calls one
}

const std::int32_t* SpScriptMachine::Lookup(std::int32_t id) const {
  const SpScriptEntry* spscript_List = list_;
  int i = 0;
  while (spscript_List[i].id != id) {
    QDX_ASSERT(spscript_List[i].id != -1);
    ++i;
  }
  return spscript_List[i].code;
}

void SpScriptMachine::Call(std::int32_t id) {
  const std::int32_t* code = Lookup(id);
  if (sp_ + 1 >= SPSCRIPT_STACK) {
    host_->Log("Korvena Football Log\n\n*** spscript_iSP >= 16\n");
    End();
    return;
  }
  ++sp_;
  stack_[sp_] = {pc_, loopStart_, script_};
  script_ = code;
  pc_ = 0;
  loopStart_ = 0;
}

void SpScriptMachine::Return() {
  if (sp_ < 0) {
    host_->Log("Korvena Football Log\n\n*** spscript_iSP < 0\n");
    End();
    return;
  }
  pc_ = stack_[sp_].pc;
  loopStart_ = stack_[sp_].loopStart;
  script_ = stack_[sp_].script;
  --sp_;
}

std::int32_t SpScriptMachine::Value(std::int32_t w) const {
  return SPSCRIPT_IS_VAR(w) ? vars_[static_cast<std::uint32_t>(w) - 0xBABEBEA5u] : w;
}

std::int32_t* SpScriptMachine::VarRef(std::int32_t w) {
  QDX_ASSERT(SPSCRIPT_IS_VAR(w));
  return &vars_[static_cast<std::uint32_t>(w) - 0xBABEBEA5u];
}

void SpScriptMachine::End() {
  host_->Effect(3, nullptr, script_ != nullptr && script_ == Find(list_, 22), false);
  state_ = SPSCRIPT_FINISHED;
}

bool SpScriptMachine::Condition(std::int32_t op, const std::int32_t* a) {
  switch (op) {
    case 11: return host_->RestartY() < 0;
    case 12: return host_->RestartY() >= 0;
    case 26: return host_->RestartX() < 0;
    case 27: return host_->RestartX() > 0;
    case 28:
    case 29: {
      // Nobody in the variable: the test fails.
      const std::int32_t h = Value(a[0]);
      return h != 0 && host_->Direction(h) == (op == 28 ? 0 : 1);
    }
    case 32: return host_->RefereeAction() == 4;
    case 33: return host_->RefereeAction() == 2;
    case 37: return host_->RefereeAction() == 3;
    default: return false;
  }
}

bool SpScriptMachine::WaitMet(std::int32_t op, const std::int32_t* a) {
  const std::int32_t h = Value(a[0]);
  if (h == 0) return true;
  if (op == 23) return host_->AnimFinished(h);
  if (op == 31) return host_->AnimFrame(h) >= Value(a[1]);
  return host_->NearTarget(h);
}

void SpScriptMachine::Run() {
  QDX_ASSERT(state_ != 0);
  QDX_ASSERT(state_ <= 4);
  switch (state_) {
    case SPSCRIPT_WAITING:
      if (--wait_ < 0) state_ = SPSCRIPT_RESUME;
      return;
    case SPSCRIPT_RESUME:
      state_ = SPSCRIPT_RUNNING;
      return;
    case SPSCRIPT_FINISHED:
      host_->Finished();
      return;
    default:
      break;
  }
  for (int guard = 0;; ++guard) {
    QDX_ASSERT(guard < kStepCap);
    const std::int32_t op = script_[pc_];
    QDX_ASSERT(op >= 1 && op <= SPSCRIPT_OPS);
    const std::int32_t len = 1 + spscript_aArgc[op];
    const std::int32_t* a = script_ + pc_ + 1;
    if (skip_ && op != 34 && op != 35 && op != 36) {
      if (op == 3) {
        skip_ = 0;  // a skipped end stays and runs next tick
      } else {
        if (!IsCondition(op) && !IsWaitFor(op)) skip_ = 0;
        pc_ += len;
      }
      return;
    }
    if (IsCondition(op)) {
      pc_ += len;
      if (Condition(op, a)) continue;
      skip_ = 1;
      return;
    }
    if (IsWaitFor(op)) {
      if (!WaitMet(op, a)) return;
      pc_ += len;
      continue;
    }
    // Ordinary instructions: one per step.
    pc_ += len;
    switch (op) {
      case 1:
        vars_[23] = host_->RestartX();
        vars_[25] = host_->RestartY();
        host_->Effect(op, nullptr, script_ == Find(list_, 22), script_ == Find(list_, 1));
        return;
      case 2:
        wait_ = Value(a[0]);
        state_ = SPSCRIPT_WAITING;
        return;
      case 3:
        pc_ -= len;
        End();
        return;
      case 6: *VarRef(a[0]) = Value(a[1]); return;
      case 7: *VarRef(a[0]) += Value(a[1]); return;
      case 8: *VarRef(a[0]) -= Value(a[1]); return;
      case 9: Return(); return;
      case 10: Call(Value(a[0])); return;
      case 15:
      case 16:
      case 17:
      case 18:
      case 38:
      case 39: {
        const std::int32_t h = host_->Fetch(op);
        if (op == 17) QDX_ASSERT(h != 0 && "&aRefPlayer");
        if (op == 18) QDX_ASSERT(h != 0 && "setp_poGetKickTaker()");
        *VarRef(a[0]) = h;
        return;
      }
      case 22: *VarRef(a[0]) = -*VarRef(a[0]); return;
      case 34: loop_ = 0; return;
      case 35:
        if (loop_) pc_ = loopStart_;
        return;
      case 36:
        loopStart_ = pc_ - len;
        loop_ = 1;
        return;
      case 45: *VarRef(a[0]) = holder_; return;
      case 49: *VarRef(a[0]) = host_->Random(Value(a[1]), Value(a[2])); return;
      default: {
        std::int32_t v[4] = {};
        for (std::int32_t i = 0; i + 1 < len; ++i) v[i] = Value(a[i]);
        // Players absent: these do nothing (20 with nobody frees the ball).
        if ((op == 13 || op == 14 || op == 19 || op == 21) && v[0] == 0) return;
        host_->Effect(op, v, script_ == Find(list_, 22), script_ == Find(list_, 1));
        return;
      }
    }
  }
}

void SpScriptMachine::Update() {
  if (state_ == SPSCRIPT_WAITING) {
    Run();
    return;
  }
  const std::int32_t op = script_[pc_];
  if (op == 34) {
    int guard = 0;
    do {
      QDX_ASSERT(++guard < kStepCap);
      Run();
    } while (state_ == SPSCRIPT_RUNNING && script_[pc_] != 35);
    return;
  }
  if (op == 36 && loop_) {
    int guard = 0;
    do {
      QDX_ASSERT(++guard < kStepCap);
      Run();
    } while (loop_ && state_ != SPSCRIPT_FINISHED);
    return;
  }
  // Everything else, and a loop start met with a clear flag, takes one step.
  Run();
}
