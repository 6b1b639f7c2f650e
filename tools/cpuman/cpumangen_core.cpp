#include "cpumangen.h"

#include <set>
#include <sstream>

namespace cpumangen {

namespace {

std::string Trim(const std::string& s) {
  std::size_t a = s.find_first_not_of(" \t\r");
  if (a == std::string::npos) return "";
  std::size_t b = s.find_last_not_of(" \t\r");
  return s.substr(a, b - a + 1);
}

std::vector<std::string> Words(const std::string& s) {
  std::istringstream in(s);
  std::vector<std::string> v;
  std::string w;
  while (in >> w) v.push_back(w);
  return v;
}

// A whole decimal number 0..999 (no sign, no other characters).
bool Number(const std::string& s, std::int32_t* out) {
  if (s.empty() || s.size() > 3) return false;
  std::int32_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  *out = v;
  return true;
}

bool Fail(std::string* error, const std::string& file, int line, const std::string& what) {
  *error = file + ":" + std::to_string(line) + ": " + what;
  return false;
}

constexpr int kKindWords = 1 + 3 * kSlots;  // target and entries of one kind

}  // namespace

int Formations::Find(const std::string& name) const {
  for (std::size_t i = 0; i < names.size(); ++i)
    if (names[i] == name) return static_cast<int>(i);
  return -1;
}

bool ParseFormations(const std::string& text, Formations* out, std::string* error) {
  *out = Formations{};
  std::istringstream in(text);
  std::string line;
  int n = 0;
  while (std::getline(in, line)) {
    ++n;
    const std::string t = Trim(line);
    if (t.empty() || t[0] == '#' || t.rfind("table:", 0) == 0) continue;
    std::vector<std::string> w = Words(t);
    if (w.empty()) continue;  // only blanks the trim does not take (a vertical tab)
    std::array<std::int32_t, kSlots> codes{};
    int c = 0;
    for (std::size_t i = 1; i < w.size(); ++i) {
      if (w[i] == "|") continue;
      std::string code = w[i].substr(0, w[i].find(':'));
      std::int32_t v = 0;
      if (!Number(code, &v) || v > kMaxCode || c >= kSlots)
        return Fail(error, "formations", n, "bad slot \"" + w[i] + "\"");
      codes[c++] = v;
    }
    if (c != kSlots) return Fail(error, "formations", n, "a formation has 11 slots");
    out->names.push_back(w[0]);
    out->codes.push_back(codes);
  }
  if (out->names.size() != kFormations) return Fail(error, "formations", n, "19 formations expected");
  return true;
}

bool Parse(const std::string& text, const std::string& file, const Formations& f, Table* out, std::string* error) {
  *out = Table{};
  std::istringstream in(text);
  std::string line;
  int n = 0;
  std::vector<Row> rows;
  std::vector<int> rowLine;
  int haveKind = 0;  // bits: 1 behind, 2 ahead, for the open row
  auto closeRow = [&](int at) {
    if (!rows.empty() && haveKind != 3) return Fail(error, file, at, "row " + f.names[rows.back()[0]] +
                                                                         " needs one \"behind\" and one \"ahead\" line");
    return true;
  };
  while (std::getline(in, line)) {
    ++n;
    std::string t = Trim(line);
    if (t.empty() || t[0] == '#') continue;
    std::vector<std::string> w = Words(t);
    if (w.empty()) continue;  // only blanks the trim does not take (a vertical tab)
    if (w[0] == "row") {
      if (!closeRow(n)) return false;
      if (w.size() != 2) return Fail(error, file, n, "\"row\" takes one formation name");
      const int fi = f.Find(w[1]);
      if (fi < 0) return Fail(error, file, n, "unknown formation \"" + w[1] + "\"");
      if (fi == kNoRowFormation) return Fail(error, file, n, "formation " + w[1] + " has no row");
      for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i][0] == fi)
          return Fail(error, file, n, "formation " + w[1] + " again (first at line " + std::to_string(rowLine[i]) + ")");
      Row r{};
      r[0] = fi;
      rows.push_back(r);
      rowLine.push_back(n);
      haveKind = 0;
      continue;
    }
    if (w[0] != "behind" && w[0] != "ahead") return Fail(error, file, n, "unknown keyword \"" + w[0] + "\"");
    if (rows.empty()) return Fail(error, file, n, "a change line before any row");
    const int kind = w[0] == "behind" ? 1 : 2;
    if (haveKind & kind) return Fail(error, file, n, "\"" + w[0] + "\" twice in a row");
    haveKind |= kind;
    if (w.size() < 3 || w[2] != ":") return Fail(error, file, n, "expected \"" + w[0] + " <formation> : <entries>\"");
    const int target = f.Find(w[1]);
    if (target < 0) return Fail(error, file, n, "unknown target formation \"" + w[1] + "\"");
    if (w.size() != 3 + kSlots) return Fail(error, file, n, "11 change entries expected");
    Row& r = rows.back();
    const int base = 1 + (kind - 1) * kKindWords;
    r[base] = target;
    for (int i = 0; i < kSlots; ++i) {
      const std::string& e = w[3 + i];
      const std::size_t a = e.find('/');
      const std::size_t b = a == std::string::npos ? a : e.find('/', a + 1);
      std::int32_t code = 0, action = 0, wanted = 0;
      if (b == std::string::npos || !Number(e.substr(0, a), &code) || !Number(e.substr(a + 1, b - a - 1), &action) ||
          !Number(e.substr(b + 1), &wanted))
        return Fail(error, file, n, "entry \"" + e + "\" is not code/action/wanted");
      if (code > kMaxCode || wanted > kMaxCode) return Fail(error, file, n, "entry \"" + e + "\": position codes are 0-24");
      if (action < 1 || action > 3) return Fail(error, file, n, "entry \"" + e + "\": the action is 1, 2 or 3");
      if (action == 2) {
        bool found = false;
        for (std::int32_t c : f.codes[r[0]]) found = found || c == code;
        if (!found)
          return Fail(error, file, n, "entry \"" + e + "\": no slot of " + f.names[r[0]] + " plays position " +
                                          std::to_string(code));
      }
      r[base + 1 + 3 * i] = code;
      r[base + 2 + 3 * i] = action;
      r[base + 3 + 3 * i] = wanted;
    }
  }
  if (!closeRow(n)) return false;
  for (int fi = 0; fi < kFormations; ++fi) {
    if (fi == kNoRowFormation) continue;
    bool have = false;
    for (const Row& r : rows) have = have || r[0] == fi;
    if (!have) return Fail(error, file, n, "no row for formation " + f.names[fi]);
  }
  // In formation order.
  for (int fi = 0; fi < kFormations; ++fi)
    for (const Row& r : rows)
      if (r[0] == fi) out->rows.push_back(r);
  return true;
}

std::string EmitCpp(const Table& t) {
  std::ostringstream o;
  o << "// Generated from assets/match/cpuman.txt by cpumangen. Do not edit.\n";
  o << "#include <cstdint>\n\n";
  o << "extern const std::int32_t cpuman_aTable[" << kRows + 1 << "][" << kWords << "];\n";
  o << "const std::int32_t cpuman_aTable[" << kRows + 1 << "][" << kWords << "] = {\n";
  for (const Row& r : t.rows) {
    o << "    {";
    for (int i = 0; i < kWords; ++i) o << (i ? ", " : "") << r[i];
    o << "},\n";
  }
  o << "    {-1},  // end row\n};\n";
  return o.str();
}

std::string Write(const Table& t, const Formations& f) {
  std::ostringstream o;
  for (const Row& r : t.rows) {
    o << "row " << f.names[r[0]] << "\n";
    for (int kind = 1; kind <= 2; ++kind) {
      const int base = 1 + (kind - 1) * kKindWords;
      o << "  " << (kind == 1 ? "behind " : "ahead ") << f.names[r[base]] << " :";
      for (int i = 0; i < kSlots; ++i)
        o << ' ' << r[base + 1 + 3 * i] << '/' << r[base + 2 + 3 * i] << '/' << r[base + 3 + 3 * i];
      o << "\n";
    }
  }
  return o.str();
}

}  // namespace cpumangen
