// The action program assembler: source reading, template instances,
// merging, the checks, the canonical disassembly, the review grid and the
// C++ output.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <sstream>

#include "progasm.h"
#include "zones/zonegen.h"

namespace progasm {

const std::vector<ActionName>& Vocabulary() {
  static const std::vector<ActionName> v = {
      {"STAND", 0, 0},          {"NULL", 1, -1},           {"CHASE", 2, -1},
      {"SETPIECE_EXIT", 3, -1}, {"GOALKEEPER", 4, -1},     {"ONSIDE", 5, 0},
      {"HOLDER_CHOOSE", 6, 3},  {"SUPPORT", 7, -1},        {"SETPIECE_POSITION", 8, -1},
      {"WALL_RETREAT", 9, 1},   {"RETREAT", 10, -1},       {"MARK", 12, -1},
      {"SETPIECE_MOVE", 13, 2}, {"PENALTY", 14, -1},       {"FORMATION_RETREAT", 15, 3},
      {"FREEKICK", 16, -1},     {"GOALKICK", 17, -1},      {"CORNER", 18, -1},
      {"THROWIN", 19, -1},      {"KICKOFF", 20, -1},       {"SETPIECE_ENTER", 21, -1},
      {"TOUCH", 22, -1},        {"OPTION_B", 23, 1},       {"OPTION_A", 24, 2},
      {"FACE_CENTRE", 26, -1},  {"RESERVED_27", 27, -1},   {"GOAL_REACT", 28, -1},
      {"ZONE_RUN", 29, 3},      {"USER_SUPPORT", 30, -1},  {"ATTACK_IDLE", 31, -1},
      {"GRID_SUPPORT", 32, -1}, {"SHOOT_OR_PASS", 33, -1}, {"RESERVED_34", 34, -1},
      {"HOLDER_REACT", 35, 0},  {"CLEAR", 36, 0},          {"PASS_TO_MATE", 37, 3},
      {"GOAL_CELEBRATE", 38, -1}, {"OPTION_C", 39, -1},    {"CROSS", 42, 0},
      {"SHOOT", 43, 0},         {"KEEPER_HANDS", 44, -1},  {"CLOSE_DOWN", 45, 0},
      {"TARGET_RUN", 46, 1},
  };
  return v;
}

const ActionName* FindAction(const std::string& name) {
  for (const ActionName& a : Vocabulary())
    if (name == a.name) return &a;
  return nullptr;
}

const ActionName* FindAction(int id) {
  for (const ActionName& a : Vocabulary())
    if (a.id == id) return &a;
  return nullptr;
}

namespace {

std::string At(const std::string& file, int line) { return file + ":" + std::to_string(line) + ": "; }

bool IsName(const std::string& s) {
  if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_')) return false;
  for (char c : s)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
  return true;
}

// A whole decimal number within [lo, hi].
bool ParseInt(const std::string& s, long lo, long hi, long* out) {
  if (s.empty() || s.size() > 9) return false;
  std::size_t i = s[0] == '-' ? 1 : 0;
  if (i == s.size()) return false;
  long v = 0;
  for (; i < s.size(); i++) {
    if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
    v = v * 10 + (s[i] - '0');
  }
  if (s[0] == '-') v = -v;
  if (v < lo || v > hi) return false;
  *out = v;
  return true;
}

// Class ranges: "*", "n", "n-m" and comma lists of them, over 0..7.
bool ParseClasses(const std::string& s, bool out[kClasses]) {
  for (int i = 0; i < kClasses; i++) out[i] = false;
  if (s == "*") {
    for (int i = 0; i < kClasses; i++) out[i] = true;
    return true;
  }
  std::stringstream ss(s);
  std::string part;
  bool bAny = false;
  while (std::getline(ss, part, ',')) {
    std::size_t dash = part.find('-');
    long a = 0, b = 0;
    if (dash == std::string::npos) {
      if (!ParseInt(part, 0, kClasses - 1, &a)) return false;
      b = a;
    } else if (!ParseInt(part.substr(0, dash), 0, kClasses - 1, &a) ||
               !ParseInt(part.substr(dash + 1), 0, kClasses - 1, &b) || b < a) {
      return false;
    }
    for (long i = a; i <= b; i++) out[i] = true;
    bAny = true;
  }
  return bAny;
}

struct Line {
  int number = 0;
  bool indented = false;
  std::vector<std::string> words;
};

std::vector<Line> Split(const std::string& text) {
  std::vector<Line> lines;
  std::size_t pos = 0;
  int n = 0;
  while (pos <= text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string s = text.substr(pos, end - pos);
    n++;
    pos = end + 1;
    std::size_t hash = s.find('#');
    if (hash != std::string::npos) s.resize(hash);
    Line l;
    l.number = n;
    l.indented = !s.empty() && (s[0] == ' ' || s[0] == '\t');
    std::stringstream ss(s);
    std::string w;
    while (ss >> w) l.words.push_back(w);
    if (!l.words.empty()) lines.push_back(l);
    if (end == text.size()) break;
  }
  return lines;
}

// A record as written: action and argument words (numbers, or $name in a template).
struct SourceRecord {
  int line;
  const ActionName* action;
  std::vector<std::string> args;
};

struct Definition {
  int line = 0;
  std::vector<std::string> params;  // empty for a plain program
  bool templ = false;
  std::vector<SourceRecord> records;
};

class Assembler {
 public:
  Assembler(const std::string& file, Table* out, std::vector<std::string>* errors)
      : file_(file), t_(*out), errors_(*errors) {}

  bool Run(const std::string& text) {
    t_ = Table{};
    // The empty program first, at offset 0.
    AddBytes({0, 0}, "empty", 0);
    std::vector<Line> lines = Split(text);
    std::size_t i = 0;
    bool seen[kSets] = {};
    bool ended = false;
    while (i < lines.size()) {
      const Line& l = lines[i];
      if (l.indented) {
        Error(l.number, "an indented line outside any program, template or set");
        i++;
        continue;
      }
      const std::string& kw = l.words[0];
      if (kw == "end") {
        if (l.words.size() != 1 || i + 1 != lines.size()) Error(l.number, "\"end\" must stand alone on the last line");
        ended = true;
        break;
      }
      std::size_t body = i + 1;
      while (body < lines.size() && lines[body].indented) body++;
      if (kw == "program" || kw == "template") {
        Define(l, lines, i + 1, body, kw == "template");
      } else if (kw == "set") {
        long s = 0;
        if (l.words.size() != 2 || !ParseInt(l.words[1], 0, kSets - 1, &s)) {
          Error(l.number, "a set is \"set <0.." + std::to_string(kSets - 1) + ">\"");
        } else if (seen[s]) {
          Error(l.number, "set " + std::to_string(s) + " given twice");
        } else {
          seen[s] = true;
          t_.setLine[s] = l.number;
          Set(static_cast<int>(s), l, lines, i + 1, body);
        }
      } else {
        Error(l.number, "unknown word \"" + Printable(kw) + "\" (program, template or set)");
      }
      i = body;
      if (errors_.size() > 50) break;
    }
    if (!ended && errors_.empty()) errors_.push_back(file_ + ": no \"end\" line closes the source (cut short?)");
    std::string missing;
    for (int s = 0; s < kSets; s++)
      if (!seen[s]) missing += (missing.empty() ? "" : " ") + std::to_string(s);
    if (!missing.empty() && errors_.empty()) errors_.push_back(file_ + ": sets missing: " + missing);
    if (errors_.empty()) Compact();
    if (t_.bytes.size() > 65535 && errors_.empty()) errors_.push_back(file_ + ": the records exceed 65535 bytes");
    return errors_.empty();
  }

  // Keeps the programs the sets use, the empty one first and the others in
  // the order the sets first use them: the canonical order, so that the
  // canonical source assembles to the same bytes.
  void Compact() {
    std::vector<int> order{0};
    std::vector<int> newIndex(t_.programs.size(), -1);
    newIndex[0] = 0;
    for (int s = 0; s < kSets; s++)
      for (int e = 0; e < kEntries; e++) {
        int i = t_.sets[s][e];
        if (newIndex[i] < 0) {
          newIndex[i] = static_cast<int>(order.size());
          order.push_back(i);
        }
      }
    Table old = t_;
    t_.bytes.clear();
    t_.programs.clear();
    for (int i : order) {
      Program p = old.programs[i];
      std::uint32_t from = p.offset;
      p.offset = static_cast<std::uint32_t>(t_.bytes.size());
      t_.bytes.insert(t_.bytes.end(), old.bytes.begin() + from, old.bytes.begin() + from + p.length);
      t_.programs.push_back(p);
    }
    for (int s = 0; s < kSets; s++)
      for (int e = 0; e < kEntries; e++) t_.sets[s][e] = newIndex[old.sets[s][e]];
  }

 private:
  static std::string Printable(const std::string& s) {
    std::string o;
    for (char c : s.substr(0, 40)) o += std::isprint(static_cast<unsigned char>(c)) ? c : '?';
    return o;
  }

  void Error(int line, const std::string& what) { errors_.push_back(At(file_, line) + what); }

  void Define(const Line& head, const std::vector<Line>& lines, std::size_t from, std::size_t to, bool templ) {
    if (head.words.size() < 2 || !IsName(head.words[1])) {
      Error(head.number, std::string(templ ? "template" : "program") + " needs a name");
      return;
    }
    const std::string& name = head.words[1];
    if (defs_.count(name)) {
      Error(head.number, "\"" + name + "\" defined twice (first on line " + std::to_string(defs_[name].line) + ")");
      return;
    }
    if (!templ && head.words.size() != 2) {
      Error(head.number, "a program takes no parameters (a template does)");
      return;
    }
    Definition d;
    d.line = head.number;
    d.templ = templ;
    for (std::size_t k = 2; k < head.words.size(); k++) {
      if (!IsName(head.words[k]) ||
          std::find(d.params.begin(), d.params.end(), head.words[k]) != d.params.end()) {
        Error(head.number, "bad or repeated template parameter \"" + Printable(head.words[k]) + "\"");
        return;
      }
      d.params.push_back(head.words[k]);
    }
    if (from == to) {
      Error(head.number, "\"" + name + "\" has no records");
      return;
    }
    for (std::size_t k = from; k < to; k++) {
      const Line& l = lines[k];
      const ActionName* a = FindAction(l.words[0]);
      if (!a) {
        Error(l.number, "unknown action \"" + Printable(l.words[0]) + "\"");
        return;
      }
      SourceRecord r{l.number, a, {}};
      for (std::size_t w = 1; w < l.words.size(); w++) {
        const std::string& arg = l.words[w];
        long v = 0;
        if (arg[0] == '$') {
          if (std::find(d.params.begin(), d.params.end(), arg.substr(1)) == d.params.end()) {
            Error(l.number, "\"" + Printable(arg) + "\" is no parameter of \"" + name + "\"");
            return;
          }
        } else if (!ParseInt(arg, -128, 255, &v)) {
          Error(l.number, "parameter \"" + Printable(arg) + "\" is not a byte (-128..255)");
          return;
        }
        r.args.push_back(arg);
      }
      if (r.args.size() > 255) {
        Error(l.number, "too many parameters");
        return;
      }
      d.records.push_back(r);
    }
    defs_[name] = d;
  }

  // The bytes of a reference "name [args]"; false (with an error) when it is bad.
  bool Instance(int line, const std::vector<std::string>& words, std::size_t from, std::vector<std::uint8_t>* out,
                std::string* label) {
    if (from >= words.size()) {
      Error(line, "a program name is missing");
      return false;
    }
    const std::string& name = words[from];
    auto it = defs_.find(name);
    if (it == defs_.end()) {
      Error(line, "no program or template \"" + Printable(name) + "\" defined before this line");
      return false;
    }
    const Definition& d = it->second;
    std::size_t nArgs = words.size() - from - 1;
    if (nArgs != d.params.size()) {
      Error(line, "\"" + name + "\" takes " + std::to_string(d.params.size()) + " argument(s), given " +
                      std::to_string(nArgs));
      return false;
    }
    std::map<std::string, long> values;
    *label = name;
    for (std::size_t k = 0; k < nArgs; k++) {
      long v = 0;
      if (!ParseInt(words[from + 1 + k], -128, 255, &v)) {
        Error(line, "argument \"" + Printable(words[from + 1 + k]) + "\" is not a byte (-128..255)");
        return false;
      }
      values[d.params[k]] = v;
      *label += (k == 0 ? "(" : ",") + std::to_string(v);
    }
    if (nArgs) *label += ")";
    out->clear();
    for (const SourceRecord& r : d.records) {
      out->push_back(static_cast<std::uint8_t>(r.action->id));
      out->push_back(static_cast<std::uint8_t>(r.args.size()));
      for (const std::string& a : r.args) {
        long v = 0;
        if (a[0] == '$') v = values[a.substr(1)];
        else ParseInt(a, -128, 255, &v);
        out->push_back(static_cast<std::uint8_t>(v & 0xFF));
      }
    }
    return true;
  }

  int AddBytes(const std::vector<std::uint8_t>& b, const std::string& label, int line) {
    auto it = byBytes_.find(b);
    if (it != byBytes_.end()) return it->second;
    Program p;
    p.offset = static_cast<std::uint32_t>(t_.bytes.size());
    p.length = static_cast<std::uint32_t>(b.size());
    p.name = label;
    p.line = line;
    t_.bytes.insert(t_.bytes.end(), b.begin(), b.end());
    t_.programs.push_back(p);
    int index = static_cast<int>(t_.programs.size()) - 1;
    byBytes_[b] = index;
    return index;
  }

  void Set(int s, const Line& head, const std::vector<Line>& lines, std::size_t from, std::size_t to) {
    int entry[kEntries];
    for (int& e : entry) e = -1;
    int dflt = -1;
    for (std::size_t k = from; k < to; k++) {
      const Line& l = lines[k];
      std::vector<std::uint8_t> bytes;
      std::string label;
      if (l.words[0] == "default") {
        if (dflt >= 0) {
          Error(l.number, "a second default");
          return;
        }
        if (!Instance(l.number, l.words, 1, &bytes, &label)) return;
        dflt = AddBytes(bytes, label, l.number);
      } else if (l.words[0] == "row") {
        long p = 0;
        if (l.words.size() != 2 + kClasses || !ParseInt(l.words[1], 0, kClasses - 1, &p)) {
          Error(l.number, "a row is \"row <player class> <eight program names>\"");
          return;
        }
        for (int b = 0; b < kClasses; b++) {
          std::vector<std::string> one{l.words[2 + b]};
          if (!Instance(l.number, one, 0, &bytes, &label)) return;
          entry[p * kClasses + b] = AddBytes(bytes, label, l.number);
        }
      } else {
        bool pc[kClasses], bc[kClasses];
        if (l.words.size() < 3 || !ParseClasses(l.words[0], pc) || !ParseClasses(l.words[1], bc)) {
          Error(l.number, "expected \"<player classes> <ball classes> <program>\", \"row\" or \"default\"");
          return;
        }
        if (!Instance(l.number, l.words, 2, &bytes, &label)) return;
        int idx = AddBytes(bytes, label, l.number);
        for (int p = 0; p < kClasses; p++)
          for (int b = 0; b < kClasses; b++)
            if (pc[p] && bc[b]) entry[p * kClasses + b] = idx;
      }
    }
    std::string missing;
    for (int e = 0; e < kEntries; e++) {
      if (entry[e] < 0) {
        if (dflt < 0) {
          if (missing.size() < 60) missing += " " + std::to_string(e / kClasses) + "/" + std::to_string(e % kClasses);
          continue;
        }
        entry[e] = dflt;
      }
      t_.sets[s][e] = entry[e];
    }
    if (!missing.empty())
      Error(head.number, "set " + std::to_string(s) + " is incomplete (no default); entries without a program:" + missing);
  }

  std::string file_;
  Table& t_;
  std::vector<std::string>& errors_;
  std::map<std::string, Definition> defs_;
  std::map<std::vector<std::uint8_t>, int> byBytes_;
};

// Records of a program as (id, params) pairs.
struct Rec {
  int id;
  std::vector<int> params;
};
std::vector<Rec> Records(const Table& t, const Program& p) {
  std::vector<Rec> v;
  std::uint32_t i = p.offset, end = p.offset + p.length;
  while (i + 2 <= end) {
    Rec r{t.bytes[i], {}};
    std::uint32_t n = t.bytes[i + 1];
    for (std::uint32_t k = 0; k < n && i + 2 + k < end; k++) r.params.push_back(t.bytes[i + 2 + k]);
    v.push_back(r);
    i += 2 + n;
  }
  return v;
}

std::string RecordText(const Rec& r) {
  const ActionName* a = FindAction(r.id);
  std::string s = a ? a->name : "ACTION_" + std::to_string(r.id);
  for (int p : r.params) s += " " + std::to_string(p);
  return s;
}

}  // namespace

bool Assemble(const std::string& text, const std::string& file, Table* out, std::vector<std::string>* errors) {
  std::vector<std::string> mine;
  Assembler a(file, out, &mine);
  bool ok = a.Run(text);
  errors->insert(errors->end(), mine.begin(), mine.end());
  return ok;
}

std::string Disassemble(const Table& t) {
  std::ostringstream o;
  o << "# Canonical form: " << t.programs.size() << " programs, one row per player class.\n";
  for (std::size_t i = 0; i < t.programs.size(); i++) {
    o << "program p" << i << "\n";
    for (const Rec& r : Records(t, t.programs[i])) o << "  " << RecordText(r) << "\n";
  }
  for (int s = 0; s < kSets; s++) {
    o << "set " << s << "\n";
    for (int p = 0; p < kClasses; p++) {
      o << "  row " << p;
      for (int b = 0; b < kClasses; b++) o << " p" << t.sets[s][p * kClasses + b];
      o << "\n";
    }
  }
  o << "end\n";
  return o.str();
}

bool FromArrays(const std::uint8_t* bytes, std::size_t count, const std::uint16_t (*sets)[kEntries], Table* out,
                std::string* error) {
  *out = Table{};
  out->bytes.assign(bytes, bytes + count);
  // Every referenced offset, and offset 0, starts a program that runs to its {0, 0}.
  std::set<std::uint32_t> starts{0};
  for (int s = 0; s < kSets; s++)
    for (int e = 0; e < kEntries; e++) starts.insert(sets[s][e]);
  std::map<std::uint32_t, int> index;
  for (std::uint32_t off : starts) {
    std::uint32_t i = off;
    for (;;) {
      if (i + 2 > count) {
        *error = "the program at " + std::to_string(off) + " runs past the records";
        return false;
      }
      std::uint32_t n = bytes[i + 1];
      bool bEnd = bytes[i] == 0 && n == 0;
      i += 2 + n;
      if (bEnd) break;
    }
    Program p;
    p.offset = off;
    p.length = i - off;
    p.name = "p" + std::to_string(out->programs.size());
    index[off] = static_cast<int>(out->programs.size());
    out->programs.push_back(p);
  }
  for (int s = 0; s < kSets; s++)
    for (int e = 0; e < kEntries; e++) out->sets[s][e] = index[sets[s][e]];
  return true;
}

Roles RolesFromZones(const zonegen::Table& z) {
  Roles r;
  int prev = -1;
  for (const zonegen::Tree& tr : z.trees) {
    std::set<int>& ids = r.treeIds[tr.root];
    for (int i = prev + 1; i <= tr.root && i < static_cast<int>(z.records.size()); i++) ids.insert(z.records[i].id);
    prev = tr.root;
  }
  for (std::size_t code = 0; code < z.roles.size(); code++) {
    const std::int32_t* w = z.roles[code].aw;
    for (int state = 0; state < 3; state++) {
      int s = w[4 + state];
      // The on-the-ball set names the on-the-ball tree (the third); the
      // attacking and defending sets their own trees.
      int tree = w[state];
      if (s >= 0 && s < kSets) r.uses[s].push_back(SetUse{static_cast<int>(code), state, tree});
    }
  }
  return r;
}

namespace {

bool IsGuardedHolder(int id) { return id == 6 || id == 36 || id == 37 || id == 42 || id == 43; }
const char* kStates[3] = {"attacking", "defending", "on the ball"};

// The zone-id parameter of a record, or -1.
int ZoneParam(const Rec& r) {
  switch (r.id) {
    case 9: case 15: case 24: case 29:
      return r.params.empty() ? -1 : r.params[0];
    case 23:
      return r.params.empty() || r.params[0] == 0 ? -1 : r.params[0];
    default:
      return -1;
  }
}

// The parameter ranges of the shipped vocabulary; empty when they hold.
std::string RangeFault(const Rec& r) {
  const std::vector<int>& p = r.params;
  switch (r.id) {
    case 6:
      if (p[0] < 1 || p[0] > 8) return "sector " + std::to_string(p[0]) + " outside 1..8";
      if (p[1] != 2 && p[1] != 3) return "pass kind " + std::to_string(p[1]) + " is neither 2 nor 3";
      if (p[2] != 10 && p[2] != 50 && p[2] != 100) return "free-space threshold " + std::to_string(p[2]) + " not 10, 50 or 100";
      return "";
    case 15:
      if (p[2] >= 120) return "angle byte " + std::to_string(p[2]) + " is 360 degrees or more";
      return "";
    case 23:
      if (p[0] != 0 && p[0] != 2) return "zone byte " + std::to_string(p[0]) + " is neither 0 nor 2";
      return "";
    case 37:
      if (p[0] < 1 || p[0] > 8) return "sector " + std::to_string(p[0]) + " outside 1..8";
      if (p[1] >= p[2]) return "least distance " + std::to_string(p[1]) + " not below greatest " + std::to_string(p[2]);
      return "";
    case 46:
      if (p[0] != 0 && p[0] != 1) return "flag " + std::to_string(p[0]) + " is neither 0 nor 1";
      return "";
    default:
      return "";
  }
}

}  // namespace

bool Validate(const Table& t, const Roles& roles, const std::string& file, std::vector<std::string>* errors) {
  std::size_t before = errors->size();
  auto where = [&](const Program& p) { return p.line ? At(file, p.line) : file + ": "; };
  // Each program on its own.
  std::vector<std::vector<Rec>> recs;
  for (const Program& p : t.programs) {
    recs.push_back(Records(t, p));
    const std::vector<Rec>& v = recs.back();
    std::string name = "program " + p.name;
    if (v.empty() || v.back().id != 0 || !v.back().params.empty()) {
      errors->push_back(where(p) + name + " does not end with STAND");
      continue;
    }
    for (std::size_t k = 0; k < v.size(); k++) {
      const Rec& r = v[k];
      const ActionName* a = FindAction(r.id);
      std::string what = a ? std::string(a->name) + " (" + std::to_string(r.id) + ")" : "action " + std::to_string(r.id);
      if (r.id == 0 && k + 1 < v.size()) {
        errors->push_back(where(p) + name + ": records after STAND are never reached");
        break;
      }
      if (!a || a->params < 0) {
        errors->push_back(where(p) + name + ": " + what + " is not an action a program may hold");
        continue;
      }
      if (static_cast<int>(r.params.size()) != a->params) {
        errors->push_back(where(p) + name + ": " + what + " takes " + std::to_string(a->params) + " parameter(s), given " +
                          std::to_string(r.params.size()));
        continue;
      }
      std::string fault = RangeFault(r);
      if (!fault.empty()) errors->push_back(where(p) + name + ": " + what + ": " + fault);
    }
  }
  // Programs in the sets that use them.
  for (int s = 0; s < kSets; s++) {
    std::set<int> seen;
    for (int e = 0; e < kEntries; e++) {
      int idx = t.sets[s][e];
      if (idx < 0 || idx >= static_cast<int>(t.programs.size())) {
        errors->push_back(file + ": set " + std::to_string(s) + " entry " + std::to_string(e) + " has no program");
        continue;
      }
      if (!seen.insert(idx).second) continue;
      const Program& p = t.programs[idx];
      std::string at = t.setLine[s] ? At(file, t.setLine[s]) : file + ": ";
      for (const Rec& r : recs[idx]) {
        const ActionName* a = FindAction(r.id);
        std::string what = (a ? std::string(a->name) : "action") + " (" + std::to_string(r.id) + ")";
        for (const SetUse& u : roles.uses[s]) {
          std::string user = "set " + std::to_string(s) + " (role " + std::to_string(u.role) + " " + kStates[u.state] + ")";
          if (IsGuardedHolder(r.id) && u.state != 2)
            errors->push_back(at + user + ", program " + p.name + ": " + what + " acts only for the ball holder");
          if ((r.id == 35 || r.id == 45) && u.state == 2)
            errors->push_back(at + user + ", program " + p.name + ": " + what + " never takes the ball holder");
          int zone = ZoneParam(r);
          if (zone > 0) {
            auto it = roles.treeIds.find(u.tree);
            if (it == roles.treeIds.end() || !it->second.count(zone))
              errors->push_back(at + user + ", program " + p.name + ": " + what + " names zone " + std::to_string(zone) +
                                ", absent from tree " + std::to_string(u.tree));
          }
        }
        if (roles.uses[s].empty() && (IsGuardedHolder(r.id) || ZoneParam(r) > 0))
          errors->push_back(at + "set " + std::to_string(s) + " is used by no role: program " + p.name + " holds " +
                            what);
      }
    }
  }
  return errors->size() == before;
}

int DistinctPrograms(const Table& t) {
  std::set<int> used;
  for (int s = 0; s < kSets; s++)
    for (int e = 0; e < kEntries; e++) used.insert(t.sets[s][e]);
  return static_cast<int>(used.size());
}

int EmptyEntries(const Table& t) {
  int n = 0;
  for (int s = 0; s < kSets; s++)
    for (int e = 0; e < kEntries; e++) n += t.sets[s][e] == 0;
  return n;
}

std::string Explain(const Table& t, int set) {
  std::ostringstream o;
  if (set < 0 || set >= kSets) return "no set " + std::to_string(set) + "\n";
  std::size_t w = 5;
  std::vector<int> used;
  for (int e = 0; e < kEntries; e++) {
    const Program& p = t.programs[t.sets[set][e]];
    w = std::max(w, p.name.size());
    if (std::find(used.begin(), used.end(), t.sets[set][e]) == used.end()) used.push_back(t.sets[set][e]);
  }
  w += 1;
  auto pad = [&](const std::string& s) { return s + std::string(w > s.size() ? w - s.size() : 1, ' '); };
  o << "set " << set << ": rows are the player's class, columns the ball's\n";
  o << "   ";
  for (int b = 0; b < kClasses; b++) o << pad("ball " + std::to_string(b));
  o << "\n";
  for (int p = 0; p < kClasses; p++) {
    o << p << ": ";
    for (int b = 0; b < kClasses; b++) o << pad(t.programs[t.sets[set][p * kClasses + b]].name);
    o << "\n";
  }
  o << "\n";
  for (int idx : used) {
    o << t.programs[idx].name << ":";
    for (const Rec& r : Records(t, t.programs[idx])) o << " {" << RecordText(r) << "}";
    o << "\n";
  }
  return o.str();
}

std::string Emit(const Table& t) {
  std::ostringstream o;
  o << "// Generated by progasm from assets/match/programs.txt; do not edit.\n"
       "#include <cstdint>\n\n"
       "#include \"engine/action_programs.h\"\n\n";
  o << "const std::int32_t action_iProgramBytes = " << t.bytes.size() << ";\n";
  o << "const std::uint8_t action_abProgramRecords[" << t.bytes.size() << "] = {\n";
  for (std::size_t i = 0; i < t.programs.size(); i++) {
    const Program& p = t.programs[i];
    o << "    // " << p.name << "\n   ";
    for (std::uint32_t k = 0; k < p.length; k++) o << " " << static_cast<int>(t.bytes[p.offset + k]) << ",";
    o << "\n";
  }
  o << "};\n\n";
  o << "const std::uint16_t action_aauProgramSets[ACTION_PROGRAM_SETS][ACTION_PROGRAM_ENTRIES] = {\n";
  for (int s = 0; s < kSets; s++) {
    o << "    {  // set " << s << "\n";
    for (int p = 0; p < kClasses; p++) {
      o << "       ";
      for (int b = 0; b < kClasses; b++) o << " " << t.programs[t.sets[s][p * kClasses + b]].offset << ",";
      o << "\n";
    }
    o << "    },\n";
  }
  o << "};\n";
  return o.str();
}

// ---- Trap table --------------------------------------------------------------------

bool ReadTraps(const std::string& text, const std::string& file, TrapTable* out, std::vector<std::string>* errors) {
  std::size_t before = errors->size();
  *out = TrapTable{};
  bool seen[kTrapClasses] = {};
  for (const Line& l : Split(text)) {
    long c = 0, a = 0;
    if (l.words.size() != 3 || l.words[0] != "height" || !ParseInt(l.words[1], 0, kTrapClasses - 1, &c)) {
      errors->push_back(At(file, l.number) + "expected \"height <class 0..7> <animation id or none>\"");
      continue;
    }
    if (l.words[2] == "none") a = kAnimNone;
    else if (!ParseInt(l.words[2], 0, 255, &a)) {
      errors->push_back(At(file, l.number) + "\"" + l.words[2].substr(0, 20) + "\" is no animation id");
      continue;
    }
    if (seen[c]) {
      errors->push_back(At(file, l.number) + "height class " + std::to_string(c) + " given twice");
      continue;
    }
    seen[c] = true;
    out->anim[c] = static_cast<int>(a);
    out->line[c] = l.number;
  }
  for (int c = 0; c < kTrapClasses; c++)
    if (!seen[c]) errors->push_back(file + ": height class " + std::to_string(c) + " missing");
  return errors->size() == before;
}

bool CheckTraps(const TrapTable& t, const std::map<int, AnimContact>& anims, const std::string& file,
                std::vector<std::string>* errors) {
  std::size_t before = errors->size();
  for (int c = 0; c < kTrapClasses; c++) {
    int a = t.anim[c];
    if (a == kAnimNone) continue;
    std::string at = At(file, t.line[c]) + "height class " + std::to_string(c) + ": animation " + std::to_string(a);
    auto it = anims.find(a);
    if (it == anims.end()) {
      errors->push_back(at + " has no row");
      continue;
    }
    if (!it->second.takes) {
      errors->push_back(at + " does not take the ball");
      continue;
    }
    if (it->second.height < 0) {
      errors->push_back(at + " has no ball at a contact frame");
      continue;
    }
    int band = it->second.height / 24;
    if (band != c && band != c + 1)
      errors->push_back(at + " meets the ball " + std::to_string(it->second.height) + " units up (class " +
                        std::to_string(band) + "), not in class " + std::to_string(c) + " or the next");
  }
  return errors->size() == before;
}

std::string EmitTraps(const TrapTable& t) {
  std::ostringstream o;
  o << "// Generated by progasm from assets/match/traps.txt; do not edit.\n"
       "#include <cstdint>\n\n"
       "#include \"engine/action_programs.h\"\n\n"
       "const std::uint32_t trap_auAnims[TRAP_HEIGHT_CLASSES] = {";
  for (int c = 0; c < kTrapClasses; c++) o << (c ? ", " : "") << t.anim[c];
  o << "};\n";
  return o.str();
}

}  // namespace progasm
