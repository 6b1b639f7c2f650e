#include "spasm.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>

namespace spasm {

#define A(...) {__VA_ARGS__}
const OpInfo kOps[kOpCount + 1] = {
    {"", 0, A(), false, false},
    {"start", 0, A(), false, false},
    {"wait", 1, A(kAny), false, true},
    {"end", 0, A(), false, true},
    {"cam_eye", 3, A(kAny, kAny, kAny), false, false},
    {"cam_target", 3, A(kAny, kAny, kAny), false, false},
    {"set", 2, A(kWrite, kAny), false, false},
    {"add", 2, A(kWrite, kAny), false, false},
    {"subtract", 2, A(kWrite, kAny), false, false},
    {"ret", 0, A(), false, false},
    {"call", 1, A(kScript), false, false},
    {"if_ry_neg", 0, A(), true, false},
    {"if_ry_pos", 0, A(), true, false},
    {"put", 3, A(kPlayer, kAny, kAny), false, false},
    {"send", 4, A(kPlayer, kAny, kAny, kAny), false, false},
    {"get_offender", 1, A(kWrite), false, false},
    {"get_fouled", 1, A(kWrite), false, false},
    {"get_referee", 1, A(kWrite), false, false},
    {"get_taker", 1, A(kWrite), false, false},
    {"anim", 2, A(kPlayer, kAny), false, false},
    {"give_ball", 1, A(kPlayer), false, false},
    {"face", 3, A(kPlayer, kAny, kAny), false, false},
    {"neg", 1, A(kWrite), false, false},
    {"wait_anim", 1, A(kPlayer), false, true},
    {"cam_aim_goal", 0, A(), false, false},
    {"cam_restore", 0, A(), false, false},
    {"if_rx_neg", 0, A(), true, false},
    {"if_rx_pos", 0, A(), true, false},
    {"if_dir0", 1, A(kPlayer), true, false},
    {"if_dir1", 1, A(kPlayer), true, false},
    {"ball_at", 2, A(kAny, kAny), false, false},
    {"wait_frame", 2, A(kPlayer, kAny), false, true},
    {"if_ref_plain", 0, A(), true, false},
    {"if_ref_yellow", 0, A(), true, false},
    {"begin", 0, A(), false, false},
    {"close", 0, A(), false, false},
    {"loop", 0, A(), false, true},
    {"if_ref_red", 0, A(), true, false},
    {"get_sub_out", 1, A(kWrite), false, false},
    {"get_sub_spare", 1, A(kWrite), false, false},
    {"wait_arrive", 1, A(kPlayer), false, true},
    {"sub_apply", 0, A(), false, false},
    {"cam_aim_spot", 0, A(), false, false},
    {"cards", 0, A(), false, false},
    {"cam_penalty", 0, A(), false, false},
    {"get_holder", 1, A(kWrite), false, false},
    {"whistle", 0, A(), false, false},
    {"replay_stop", 0, A(), false, false},
    {"fade", 0, A(), false, false},
    {"rand", 3, A(kWrite, kAny, kAny), false, false},
    {"fade_release", 0, A(), false, false},
};
#undef A

int OpFind(const std::string& m) {
  for (int i = 1; i <= kOpCount; ++i)
    if (m == kOps[i].mnemonic) return i;
  return 0;
}

std::size_t Program::WordTotal() const {
  std::size_t n = 0;
  for (const Script& s : scripts) n += s.words.size();
  return n;
}

const Script* Program::Find(std::int32_t id) const {
  for (const Script& s : scripts)
    if (s.id == id) return &s;
  return nullptr;
}

namespace {

bool Fail(std::string* error, const std::string& origin, int line, const std::string& why) {
  if (error) *error = origin + ":" + std::to_string(line) + ": " + why;
  return false;
}

bool ParseInt(const std::string& t, std::int64_t* v) {
  if (t.empty()) return false;
  std::size_t i = (t[0] == '-' || t[0] == '+') ? 1 : 0;
  if (i == t.size() || t.size() - i > 11) return false;
  for (std::size_t k = i; k < t.size(); ++k)
    if (t[k] < '0' || t[k] > '9') return false;
  *v = std::strtoll(t.c_str(), nullptr, 10);
  return true;
}

int LineOf(const Script& s, std::size_t w) { return w < s.lines.size() ? s.lines[w] : s.line; }

}  // namespace

bool Assemble(const std::string& text, const std::string& origin, Program* out, std::string* error) {
  Program prog;
  std::map<std::string, int> aliases = {{"$rx", 23}, {"$zero", 24}, {"$ry", 25}};
  std::map<std::string, std::int32_t> consts;
  struct Pending { std::size_t script, word; std::string target; int line; };
  std::vector<Pending> calls;
  std::istringstream in(text);
  std::string raw;
  int line = 0;
  while (std::getline(in, raw)) {
    ++line;
    const std::size_t hash = raw.find('#');
    if (hash != std::string::npos) raw.resize(hash);
    std::istringstream ls(raw);
    std::vector<std::string> tok;
    for (std::string t; ls >> t;) tok.push_back(t);
    if (tok.empty()) continue;
    if (tok[0] == "alias") {
      if (tok.size() != 3 || tok[1].size() < 2 || tok[1][0] != '$' || tok[2].size() < 2 || tok[2][0] != 'v')
        return Fail(error, origin, line, "alias wants \"alias $name vN\"");
      std::int64_t slot = 0;
      if (!ParseInt(tok[2].substr(1), &slot) || slot < 0 || slot >= kVarSlots)
        return Fail(error, origin, line, "variable slot outside 0-25: " + tok[2]);
      if (aliases.count(tok[1])) return Fail(error, origin, line, "alias defined twice: " + tok[1]);
      aliases[tok[1]] = static_cast<int>(slot);
      continue;
    }
    if (tok[0] == "const") {
      std::int64_t v = 0;
      if (tok.size() != 3 || !ParseInt(tok[2], &v) || v < INT32_MIN || v > INT32_MAX ||
          IsVar(static_cast<std::int32_t>(v)) || !(std::isupper(static_cast<unsigned char>(tok[1][0]))))
        return Fail(error, origin, line, "const wants \"const NAME <number>\"");
      if (consts.count(tok[1])) return Fail(error, origin, line, "const defined twice: " + tok[1]);
      consts[tok[1]] = static_cast<std::int32_t>(v);
      continue;
    }
    if (tok[0] == "script" || tok[0] == "sub") {
      std::int64_t id = 0;
      if (tok.size() != 3 || !ParseInt(tok[1], &id) || id <= 0 || id > 1000000)
        return Fail(error, origin, line, "header wants \"" + tok[0] + " <id> <name>\" with a positive id");
      for (const Script& s : prog.scripts) {
        if (s.id == id) return Fail(error, origin, line, "script id used twice: " + tok[1]);
        if (s.name == tok[2]) return Fail(error, origin, line, "script name used twice: " + tok[2]);
      }
      Script s;
      s.id = static_cast<std::int32_t>(id);
      s.name = tok[2];
      s.top = tok[0] == "script";
      s.line = line;
      prog.scripts.push_back(std::move(s));
      continue;
    }
    if (prog.scripts.empty()) return Fail(error, origin, line, "instruction before the first script header");
    Script& s = prog.scripts.back();
    const int op = OpFind(tok[0]);
    if (op == 0) return Fail(error, origin, line, "unknown mnemonic: " + tok[0]);
    const OpInfo& info = kOps[op];
    if (static_cast<int>(tok.size()) - 1 != info.argc)
      return Fail(error, origin, line,
                  tok[0] + " takes " + std::to_string(info.argc) + " argument(s), not " + std::to_string(tok.size() - 1));
    s.words.push_back(op);
    s.lines.push_back(line);
    for (int a = 0; a < info.argc; ++a) {
      const std::string& t = tok[static_cast<std::size_t>(a) + 1];
      std::int32_t w = 0;
      if (info.args[a] == kScript) {
        std::int64_t v = 0;
        if (ParseInt(t, &v)) {
          w = static_cast<std::int32_t>(v);
        } else {
          calls.push_back({prog.scripts.size() - 1, s.words.size(), t, line});
        }
      } else if (t[0] == '$') {
        auto it = aliases.find(t);
        if (it == aliases.end()) return Fail(error, origin, line, "unknown variable: " + t);
        w = VarWord(it->second);
      } else if (std::isupper(static_cast<unsigned char>(t[0]))) {
        auto it = consts.find(t);
        if (it == consts.end()) return Fail(error, origin, line, "unknown constant: " + t);
        w = it->second;
      } else if (t[0] == 'v') {
        std::int64_t slot = 0;
        if (!ParseInt(t.substr(1), &slot) || slot < 0 || slot >= kVarSlots)
          return Fail(error, origin, line, "variable slot outside 0-25: " + t);
        w = VarWord(static_cast<int>(slot));
      } else {
        std::int64_t v = 0;
        if (!ParseInt(t, &v) || v < INT32_MIN || v > INT32_MAX)
          return Fail(error, origin, line, "bad argument: " + t);
        w = static_cast<std::int32_t>(v);
        if (IsVar(w)) return Fail(error, origin, line, "literal collides with the variable encoding: " + t);
      }
      s.words.push_back(w);
      s.lines.push_back(line);
    }
  }
  for (const Pending& p : calls) {
    const Script* target = nullptr;
    for (const Script& s : prog.scripts)
      if (s.name == p.target) target = &s;
    if (!target) return Fail(error, origin, p.line, "call to a missing script: " + p.target);
    prog.scripts[p.script].words[p.word] = target->id;
  }
  if (prog.scripts.empty()) return Fail(error, origin, line, "no scripts");
  if (!Check(prog, origin, error)) return false;
  if (out) *out = std::move(prog);
  return true;
}

bool Check(const Program& prog, const std::string& origin, std::string* error) {
  // Pass 1: instruction shapes and arguments.
  for (const Script& s : prog.scripts) {
    std::size_t pc = 0;
    int lastOp = 0;
    bool inBlock = false;
    if (s.words.empty()) return Fail(error, origin, s.line, "empty script " + s.name);
    while (pc < s.words.size()) {
      const int line = LineOf(s, pc);
      const std::int32_t op = s.words[pc];
      if (op < 1 || op > kOpCount) return Fail(error, origin, line, "opcode outside 1-50 in " + s.name);
      const OpInfo& info = kOps[op];
      if (pc + 1 + static_cast<std::size_t>(info.argc) > s.words.size())
        return Fail(error, origin, line, "truncated instruction " + std::string(info.mnemonic) + " in " + s.name);
      for (int a = 0; a < info.argc; ++a) {
        const std::int32_t w = s.words[pc + 1 + static_cast<std::size_t>(a)];
        switch (info.args[a]) {
          case kPlayer:
          case kWrite:
            if (!IsVar(w)) return Fail(error, origin, line, std::string("a literal where a variable is required: ") + info.mnemonic);
            if (VarSlot(w) >= kVarSlots) return Fail(error, origin, line, "variable slot outside 0-25");
            if (info.args[a] == kWrite && VarSlot(w) >= kFirstReadOnlySlot)
              return Fail(error, origin, line, std::string("write to the interpreter's slot 23-25: ") + info.mnemonic);
            break;
          case kScript:
            if (IsVar(w)) return Fail(error, origin, line, "call target must be a script, not a variable");
            if (!prog.Find(w)) return Fail(error, origin, line, "call to a missing script id " + std::to_string(w));
            break;
          case kAny:
            if (IsVar(w) && VarSlot(w) >= kVarSlots) return Fail(error, origin, line, "variable slot outside 0-25");
            break;
        }
      }
      if (op == 34) {
        if (inBlock) return Fail(error, origin, line, "block begun inside a block in " + s.name);
        inBlock = true;
      } else if (op == 35) {
        if (!inBlock) return Fail(error, origin, line, "block end without a begin in " + s.name);
        inBlock = false;
      } else if (inBlock && (info.waits || op == 1 || op == 9)) {
        return Fail(error, origin, line, std::string("block holds ") + info.mnemonic + " in " + s.name);
      }
      if (info.condition) {
        // The guarded instruction must be an ordinary one: a skipped block
        // edge or return would leave the machine out of step.
        const std::size_t next = pc + 1 + static_cast<std::size_t>(info.argc);
        const std::int32_t g = next < s.words.size() ? s.words[next] : 0;
        if (g == 0 || g == 34 || g == 35 || g == 36 || g == 9)
          return Fail(error, origin, line,
                      std::string(info.mnemonic) + " guards " + (g == 0 ? "nothing" : kOps[g].mnemonic) + " in " + s.name);
      }
      lastOp = op;
      pc += 1 + static_cast<std::size_t>(info.argc);
    }
    if (inBlock) return Fail(error, origin, LineOf(s, s.words.size() - 1), "unbalanced block in " + s.name);
    if (s.top) {
      if (s.words[0] != 1) return Fail(error, origin, s.line, "script " + s.name + " does not open with start");
      if (lastOp != 3) return Fail(error, origin, LineOf(s, s.words.size() - 1), "script " + s.name + " does not close with end");
    } else if (lastOp != 9) {
      return Fail(error, origin, LineOf(s, s.words.size() - 1), "subroutine " + s.name + " does not close with ret");
    }
  }
  // Pass 2: the call graph. Depth counts frames pushed below a script.
  std::map<std::int32_t, int> state;   // 1 visiting, 2 done
  std::map<std::int32_t, int> depth;
  std::map<std::int32_t, bool> stalls;  // waits, ends, loops or blocks anywhere below
  std::string failure;
  std::function<bool(const Script&)> visit = [&](const Script& s) -> bool {
    state[s.id] = 1;
    int d = 0;
    bool st = false;
    for (std::size_t pc = 0; pc < s.words.size();) {
      const std::int32_t op = s.words[pc];
      const OpInfo& info = kOps[op];
      if (info.waits || op == 34 || op == 35) st = true;
      if (op == 10) {
        const Script* t = prog.Find(s.words[pc + 1]);
        if (state[t->id] == 1) return Fail(&failure, origin, LineOf(s, pc), "recursive call of " + t->name + " from " + s.name);
        if (state[t->id] == 0 && !visit(*t)) return false;
        d = std::max(d, 1 + depth[t->id]);
        st = st || stalls[t->id];
      }
      pc += 1 + static_cast<std::size_t>(info.argc);
    }
    state[s.id] = 2;
    depth[s.id] = d;
    stalls[s.id] = st;
    if (d > kMaxDepth) return Fail(&failure, origin, s.line, "calls below " + s.name + " nest deeper than 16");
    return true;
  };
  for (const Script& s : prog.scripts)
    if (state[s.id] == 0 && !visit(s)) {
      if (error) *error = failure;
      return false;
    }
  // Pass 3: a call inside a block must not reach a wait, an end, a loop or a block.
  for (const Script& s : prog.scripts) {
    bool inBlock = false;
    for (std::size_t pc = 0; pc < s.words.size();) {
      const std::int32_t op = s.words[pc];
      if (op == 34) inBlock = true;
      if (op == 35) inBlock = false;
      if (inBlock && op == 10 && stalls[s.words[pc + 1]])
        return Fail(error, origin, LineOf(s, pc), "block in " + s.name + " calls " + prog.Find(s.words[pc + 1])->name + ", which waits");
      pc += 1 + static_cast<std::size_t>(kOps[op].argc);
    }
  }
  return true;
}

std::string Disassemble(const Program& prog) {
  std::ostringstream o;
  for (const Script& s : prog.scripts) {
    o << (s.top ? "script " : "sub ") << s.id << ' ' << s.name << '\n';
    int indent = 1;
    for (std::size_t pc = 0; pc < s.words.size();) {
      const std::int32_t op = s.words[pc];
      if (op < 1 || op > kOpCount) {
        o << "  # bad opcode " << op << '\n';
        break;
      }
      const OpInfo& info = kOps[op];
      if (op == 35) --indent;
      o << std::string(static_cast<std::size_t>(indent) * 2, ' ') << info.mnemonic;
      if (op == 34) ++indent;
      for (int a = 0; a < info.argc && pc + 1 + static_cast<std::size_t>(a) < s.words.size(); ++a) {
        const std::int32_t w = s.words[pc + 1 + static_cast<std::size_t>(a)];
        if (info.args[a] == kScript) {
          const Script* t = prog.Find(w);
          o << ' ' << (t ? t->name : std::to_string(w));
        } else if (IsVar(w)) {
          o << " v" << VarSlot(w);
        } else {
          o << ' ' << w;
        }
      }
      o << '\n';
      pc += 1 + static_cast<std::size_t>(info.argc);
    }
  }
  return o.str();
}

std::string EmitCpp(const Program& prog) {
  std::vector<const Script*> order;
  for (const Script& s : prog.scripts) order.push_back(&s);
  std::sort(order.begin(), order.end(), [](const Script* a, const Script* b) { return a->id < b->id; });
  std::ostringstream o;
  o << "// Generated from assets/setpieces/scripts.txt by spasm; do not edit.\n"
    << "#include \"engine/spscript.h\"\n\nnamespace {\n";
  for (const Script* s : order) {
    o << "// " << s->name << "\nconst std::int32_t s_aiScript" << s->id << "[] = {";
    for (std::size_t i = 0; i < s->words.size(); ++i) o << (i % 12 == 0 ? "\n    " : " ") << s->words[i] << ',';
    o << "\n};\n";
  }
  o << "}  // namespace\n\nconst SpScriptEntry spscript_List[] = {\n";
  for (const Script* s : order) o << "    {" << s->id << ", s_aiScript" << s->id << "},\n";
  o << "    {-1, nullptr},\n};\n";
  return o.str();
}

}  // namespace spasm
