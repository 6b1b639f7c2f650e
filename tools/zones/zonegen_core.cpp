// Zone source parsing, layout, checks and output.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "zonegen.h"

namespace zonegen {
namespace {

// The 100 trees of the role table and the twelve special trees.
const int kSpecialRoots[] = {194, 201, 468, 551, 720, 884, 1072, 1407, 1500, 1964, 2016, 2207};

// Trees whose ids are pinned exactly (the corner aims and their kin).
struct Exact {
  int root;
  std::vector<int> ids;
};
const Exact kExact[] = {
    {201, {1, 9, 16, 129, 3}},       {1964, {1, 9, 16, 129, 10, 17}}, {1407, {1, 9, 16, 129, 10, 17}},
    {468, {1, 9, 16, 129, 10, 17}},  {2207, {1, 9, 16, 129, 10, 17}}, {720, {8, 15}},
    {1500, {1, 9, 16, 130}},         {194, {8, 15, 9, 16}},           {1072, {1, 9, 16, 10, 17}},
};
struct AtLeast {
  int root;
  std::vector<int> ids;
};
const AtLeast kAtLeast[] = {
    {551, {1, 2, 3, 4, 8}},
    {884, {1, 2, 3, 4}},
    {2016, {70, 71, 72, 73, 74, 75}},
};

int RoundHalfDown(long num, long den) {
  // Nearest integer to num / den (den > 0), halves toward minus infinity.
  long n2 = 2 * num - den;
  long d2 = 2 * den;
  long q = n2 / d2;
  if (n2 % d2 != 0 && n2 > 0) q++;
  return static_cast<int>(q);
}

struct Node {
  int id = 0;
  int c0 = 0, c1 = 0, r0 = 0, r1 = 0;
  bool raw = false;
  int x = 0, y = 0, w = 0, h = 0;
  int line = 0;
  std::vector<Node> kids;
};

struct Fill {
  std::string name;
  bool flipY = false;
  int dx = 0, dy = 0;
  int line = 0;
};

struct SrcTree {
  int root = 0;
  std::string label;
  int line = 0;
  std::vector<Node> nodes;
  std::vector<Fill> fills;
};

int CountNodes(const std::vector<Node>& v) {
  int n = 0;
  for (const Node& nd : v) n += 1 + CountNodes(nd.kids);
  return n;
}

void Transform(Node* nd, bool flipY, int dx, int dy) {
  if (!nd->raw) {
    if (flipY) {
      int a = kRows - nd->r1, b = kRows - nd->r0;
      nd->r0 = a;
      nd->r1 = b;
    }
    // A shift keeps the box's size and stops at the pitch's edges.
    int w = nd->c1 - nd->c0, h = nd->r1 - nd->r0;
    nd->c0 = std::clamp(nd->c0 + dx, 0, std::max(0, kCols - w));
    nd->c1 = nd->c0 + w;
    nd->r0 = std::clamp(nd->r0 + dy, 0, std::max(0, kRows - h));
    nd->r1 = nd->r0 + h;
  }
  for (Node& k : nd->kids) Transform(&k, flipY, dx, dy);
}

bool ParseRange(const std::string& s, int* a, int* b) {
  size_t p = s.find('-');
  if (p == std::string::npos || p == 0) return false;
  try {
    size_t n1 = 0, n2 = 0;
    *a = std::stoi(s.substr(0, p), &n1);
    *b = std::stoi(s.substr(p + 1), &n2);
    return n1 == p && n2 == s.size() - p - 1;
  } catch (...) {
    return false;
  }
}

bool ParseInt(const std::string& s, int* v) {
  try {
    size_t n = 0;
    *v = std::stoi(s, &n);
    return n == s.size();
  } catch (...) {
    return false;
  }
}

// Options after "use name" / "fill name": [flip y] [shift dx dy].
bool ParseOptions(const std::vector<std::string>& w, size_t i, bool* flipY, int* dx, int* dy) {
  while (i < w.size()) {
    if (w[i] == "flip" && i + 1 < w.size() && w[i + 1] == "y") {
      *flipY = true;
      i += 2;
    } else if (w[i] == "shift" && i + 2 < w.size() && ParseInt(w[i + 1], dx) && ParseInt(w[i + 2], dy)) {
      i += 3;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

int EdgeX(int k) { return RoundHalfDown(static_cast<long>(kRootX) * kCols + static_cast<long>(kRootW) * k, kCols); }
int EdgeY(int k) { return RoundHalfDown(static_cast<long>(kRootY) * kRows + static_cast<long>(kRootH) * k, kRows); }

bool Build(const std::string& text, Table* out, std::vector<std::string>* errors) {
  std::map<std::string, std::vector<Node>> templates;
  std::vector<SrcTree> trees;
  std::map<int, RoleRow> roles;
  std::istringstream in(text);
  std::string raw;
  int lineNo = 0;
  // The list being filled and the nesting stack (indent, list).
  std::vector<Node>* top = nullptr;
  std::vector<std::pair<int, std::vector<Node>*>> stack;
  SrcTree* tree = nullptr;
  auto err = [&](const std::string& m) { errors->push_back("line " + std::to_string(lineNo) + ": " + m); };
  while (std::getline(in, raw)) {
    lineNo++;
    std::string s = raw.substr(0, raw.find('#'));
    while (!s.empty() && (s.back() == ' ' || s.back() == '\r' || s.back() == '\t')) s.pop_back();
    if (s.empty()) continue;
    int indent = 0;
    while (indent < static_cast<int>(s.size()) && s[indent] == ' ') indent++;
    std::istringstream ws(s);
    std::vector<std::string> w;
    for (std::string t; ws >> t;) w.push_back(t);
    if (indent == 0) {
      tree = nullptr;
      top = nullptr;
      stack.clear();
      if (w[0] == "template" && w.size() == 2) {
        if (templates.count(w[1])) err("template " + w[1] + " defined twice");
        top = &templates[w[1]];
      } else if (w[0] == "tree" && w.size() >= 2) {
        SrcTree t;
        if (!ParseInt(w[1], &t.root)) err("bad root index '" + w[1] + "'");
        for (size_t i = 2; i < w.size(); i++) t.label += (i > 2 ? " " : "") + w[i];
        t.line = lineNo;
        trees.push_back(t);
        tree = &trees.back();
        top = &tree->nodes;
      } else if (w[0] == "role" && w.size() == 9) {
        int code = 0;
        RoleRow row{};
        bool ok = ParseInt(w[1], &code) && code >= 0 && code < 25;
        for (int i = 0; i < 7 && ok; i++) ok = ParseInt(w[2 + i], &row.aw[i]);
        if (!ok) err("bad role row");
        else if (roles.count(code)) err("role " + std::to_string(code) + " given twice");
        else roles[code] = row;
      } else {
        err("expected 'template', 'tree' or 'role'");
      }
      continue;
    }
    if (!top) {
      err("indented line outside a tree or template");
      continue;
    }
    while (!stack.empty() && stack.back().first >= indent) stack.pop_back();
    std::vector<Node>* list = stack.empty() ? top : stack.back().second;
    if (w[0] == "use") {
      bool fy = false;
      int dx = 0, dy = 0;
      if (w.size() < 2 || !templates.count(w[1])) {
        err("unknown template '" + (w.size() > 1 ? w[1] : std::string()) + "'");
        continue;
      }
      if (!ParseOptions(w, 2, &fy, &dx, &dy)) {
        err("bad options of 'use'");
        continue;
      }
      for (Node nd : templates[w[1]]) {
        Transform(&nd, fy, dx, dy);
        list->push_back(nd);
      }
      continue;
    }
    if (w[0] == "fill") {
      Fill f;
      f.line = lineNo;
      if (!tree || !stack.empty()) {
        err("'fill' only at the top of a tree");
        continue;
      }
      if (w.size() < 2 || !ParseOptions(w, 2, &f.flipY, &f.dx, &f.dy)) {
        err("bad 'fill'");
        continue;
      }
      f.name = w[1];
      tree->fills.push_back(f);
      continue;
    }
    Node nd;
    nd.line = lineNo;
    if (!ParseInt(w[0], &nd.id)) {
      err("expected a zone id, 'use' or 'fill'");
      continue;
    }
    if (w.size() == 5 && w[1] == "x" && w[3] == "y") {
      if (!ParseRange(w[2], &nd.c0, &nd.c1) || !ParseRange(w[4], &nd.r0, &nd.r1)) {
        err("bad cell range");
        continue;
      }
    } else if (w.size() == 6 && w[1] == "raw") {
      nd.raw = true;
      if (!ParseInt(w[2], &nd.x) || !ParseInt(w[3], &nd.y) || !ParseInt(w[4], &nd.w) || !ParseInt(w[5], &nd.h)) {
        err("bad raw box");
        continue;
      }
    } else {
      err("expected '<id> x c0-c1 y r0-r1' or '<id> raw x y w h'");
      continue;
    }
    list->push_back(nd);
    stack.push_back({indent, &list->back().kids});
  }
  // Pointers into the lists stay valid only while nothing is appended to them;
  // the stack is rebuilt for every line, so only the current chain is held.

  // Fills: as many entries of the template as the tree's pinned size needs.
  std::vector<int> roots;
  for (const SrcTree& t : trees) roots.push_back(t.root);
  std::sort(roots.begin(), roots.end());
  for (size_t i = 1; i < roots.size(); i++)
    if (roots[i] == roots[i - 1]) errors->push_back("tree " + std::to_string(roots[i]) + ": given twice");
  if (!errors->empty()) return false;
  std::sort(trees.begin(), trees.end(), [](const SrcTree& a, const SrcTree& b) { return a.root < b.root; });
  int base = 0;
  out->records.assign(0, Record{});
  out->trees.clear();
  for (SrcTree& t : trees) {
    int size = t.root - base + 1;
    std::string where = "tree " + std::to_string(t.root) + ": ";
    if (size < 2) {
      errors->push_back(where + "no room for a group before this root");
      base = t.root + 1;
      continue;
    }
    for (const Fill& f : t.fills) {
      if (!templates.count(f.name)) {
        errors->push_back(where + "unknown template '" + f.name + "'");
        continue;
      }
      int need = size - 1 - CountNodes(t.nodes);
      for (Node nd : templates[f.name]) {
        int n = 1 + CountNodes(nd.kids);
        if (n > need) break;
        Transform(&nd, f.flipY, f.dx, f.dy);
        t.nodes.push_back(nd);
        need -= n;
      }
    }
    int have = CountNodes(t.nodes) + 1;
    if (have != size) {
      errors->push_back(where + std::to_string(have) + " records where the next root leaves room for " +
                        std::to_string(size));
      base = t.root + 1;
      continue;
    }
    // Layout: top-level zones just below the root, first one nearest it;
    // nested lists in blocks from the group's start, each block's first zone
    // at its top.
    out->records.resize(t.root + 1);
    int low = base;
    std::vector<std::pair<const std::vector<Node>*, int>> pending;  // list, parent index
    auto place = [&](const std::vector<Node>& list, int hi, int parent) {
      int n = static_cast<int>(list.size());
      for (int i = 0; i < n; i++) {
        const Node& nd = list[i];
        Record r{};
        r.id = nd.id;
        if (nd.raw) {
          r.x = nd.x, r.y = nd.y, r.w = nd.w, r.h = nd.h, r.raw = true;
          r.c0 = r.c1 = r.r0 = r.r1 = -1;
        } else {
          r.c0 = nd.c0, r.c1 = nd.c1, r.r0 = nd.r0, r.r1 = nd.r1;
          bool ok = nd.c0 >= 0 && nd.c1 <= kCols && nd.r0 >= 0 && nd.r1 <= kRows && nd.c0 < nd.c1 && nd.r0 < nd.r1;
          if (ok) {
            r.x = EdgeX(nd.c0), r.w = EdgeX(nd.c1) - r.x;
            r.y = EdgeY(nd.r0), r.h = EdgeY(nd.r1) - r.y;
          }
        }
        r.hit = -1;
        r.miss = static_cast<std::int16_t>(i + 1 < n ? hi - i - 1 : -1);
        out->records[hi - i] = r;
        if (!nd.kids.empty()) pending.push_back({&nd.kids, hi - i});
      }
      if (parent >= 0 && n > 0) out->records[parent].hit = static_cast<std::int16_t>(hi);
    };
    int nTop = static_cast<int>(t.nodes.size());
    Record root{0, kRootX, kRootY, kRootW, kRootH, -1, -1, 0, kCols, 0, kRows, false};
    out->records[t.root] = root;
    place(t.nodes, t.root - 1, t.root);
    for (size_t p = 0; p < pending.size(); p++) {
      int n = static_cast<int>(pending[p].first->size());
      place(*pending[p].first, low + n - 1, pending[p].second);
      low += n;
    }
    (void)nTop;
    out->trees.push_back({t.root, t.label});
    base = t.root + 1;
  }
  out->roles.clear();
  for (int c = 0; c < 25; c++) {
    if (!roles.count(c)) {
      errors->push_back("role " + std::to_string(c) + " missing");
      continue;
    }
    out->roles.push_back(roles[c]);
  }
  return errors->empty();
}

bool Validate(const Table& t, std::vector<std::string>* errors) {
  size_t before = errors->size();
  auto fail = [&](const std::string& m) { errors->push_back(m); };
  if (static_cast<int>(t.records.size()) != kRecords)
    fail("the table holds " + std::to_string(t.records.size()) + " records, not " + std::to_string(kRecords));
  // The pinned roots.
  std::set<int> pinned(std::begin(kSpecialRoots), std::end(kSpecialRoots));
  if (t.roles.size() == 25)
    for (const RoleRow& r : t.roles)
      for (int i = 0; i < 4; i++) pinned.insert(r.aw[i]);
  if (pinned.size() != 112) fail("the role table and the special trees name " + std::to_string(pinned.size()) + " roots, not 112");
  for (const RoleRow& r : t.roles)
    for (int i = 4; i < 7; i++)
      if (r.aw[i] < 0 || r.aw[i] > 75) fail("set index " + std::to_string(r.aw[i]) + " outside 0..75");
  std::set<int> actual;
  for (size_t i = 0; i < t.records.size(); i++)
    if (t.records[i].id == 0) actual.insert(static_cast<int>(i));
  for (int r : pinned)
    if (!actual.count(r)) fail("tree " + std::to_string(r) + ": no root at this index");
  for (int r : actual)
    if (!pinned.count(r)) fail("record " + std::to_string(r) + ": a root where none is pinned");
  if (!errors->empty() && errors->size() > before) return false;
  auto validId = [](int id) {
    return (id >= 1 && id <= 19) || (id >= 21 && id <= 23) || (id >= 35 && id <= 63) || (id >= 70 && id <= 131);
  };
  int base = 0;
  std::map<int, std::vector<int>> idsOf;     // root -> ids of its group
  for (int root : actual) {
    std::string where = "tree " + std::to_string(root) + ": ";
    const Record& rr = t.records[root];
    if (rr.x != kRootX || rr.y != kRootY || rr.w != kRootW || rr.h != kRootH || rr.miss != -1)
      fail(where + "root values differ from the whole pitch");
    // Walk the links: inside the group, acyclic, every record once.
    std::vector<int> seen(root - base + 1, 0);
    std::vector<int> todo{root};
    seen[root - base] = 1;
    bool bad = false;
    while (!todo.empty() && !bad) {
      int i = todo.back();
      todo.pop_back();
      for (int nx : {static_cast<int>(t.records[i].hit), static_cast<int>(t.records[i].miss)}) {
        if (nx == -1) continue;
        if (nx < base || nx >= root) {
          fail(where + "record " + std::to_string(i) + " links outside its group");
          bad = true;
          break;
        }
        if (seen[nx - base]++) {
          fail(where + "record " + std::to_string(nx) + " reached twice");
          bad = true;
          break;
        }
        todo.push_back(nx);
      }
    }
    for (int i = base; i <= root && !bad; i++)
      if (!seen[i - base]) {
        fail(where + "record " + std::to_string(i) + " never reached");
        break;
      }
    for (int i = base; i < root; i++) {
      const Record& r = t.records[i];
      std::string rw = where + "record " + std::to_string(i) + " (id " + std::to_string(r.id) + "): ";
      if (!validId(r.id)) fail(rw + "id outside 1..19, 21..23, 35..63, 70..131");
      idsOf[root].push_back(r.id);
      if (r.x < kRootX || r.y < kRootY || r.x + r.w > kRootX + kRootW || r.y + r.h > kRootY + kRootH)
        fail(rw + "box outside the pitch");
      if (r.raw) {
        if (r.w < 727 || r.h < 727) fail(rw + "narrower than one cell");
        continue;
      }
      if (!(r.c0 >= 0 && r.c1 <= kCols && r.r0 >= 0 && r.r1 <= kRows))
        fail(rw + "cells outside the grid");
      else if (r.c0 >= r.c1 || r.r0 >= r.r1)
        fail(rw + "narrower than one cell");
      else if (r.x != EdgeX(r.c0) || r.w != EdgeX(r.c1) - r.x || r.y != EdgeY(r.r0) || r.h != EdgeY(r.r1) - r.y)
        fail(rw + "box off the grid");
    }
    base = root + 1;
  }
  if (errors->size() > before) return false;
  auto has = [&](int root, int id) {
    const std::vector<int>& v = idsOf[root];
    return std::find(v.begin(), v.end(), id) != v.end();
  };
  // Class zones of the outfield trees cover the pitch once.
  auto coverage = [&](int root, const char* what, int code) {
    int count[kCols][kRows] = {};
    int b = root;
    while (b > 0 && t.records[b - 1].id != 0) b--;
    for (int i = b; i < root; i++) {
      const Record& r = t.records[i];
      if (r.id < 1 || r.id > 7 || r.raw) continue;
      for (int c = r.c0; c < r.c1; c++)
        for (int w = r.r0; w < r.r1; w++) count[c][w]++;
    }
    for (int c = 0; c < kCols; c++)
      for (int w = 0; w < kRows; w++)
        if (count[c][w] != 1) {
          fail("tree " + std::to_string(root) + " (" + what + " of role " + std::to_string(code) + "): cell (" +
               std::to_string(c) + ", " + std::to_string(w) + ") lies in " + std::to_string(count[c][w]) +
               " class zones");
          return;
        }
  };
  for (int code = 0; code < static_cast<int>(t.roles.size()); code++) {
    const RoleRow& r = t.roles[code];
    for (int k = 0; k < 2; k++) {
      for (int id : {35, 36})
        if (!has(r.aw[k], id))
          fail("tree " + std::to_string(r.aw[k]) + ": role " + std::to_string(code) + " lacks zone " + std::to_string(id));
    }
    for (int id : {113, 114})
      if (!has(r.aw[0], id))
        fail("tree " + std::to_string(r.aw[0]) + ": role " + std::to_string(code) + " lacks zone " + std::to_string(id));
    if (code != 0) {
      coverage(r.aw[0], "attacking tree", code);
      coverage(r.aw[1], "defending tree", code);
      coverage(r.aw[2], "on-the-ball tree", code);
    }
  }
  for (const Exact& e : kExact) {
    std::set<int> want(e.ids.begin(), e.ids.end());
    std::set<int> got(idsOf[e.root].begin(), idsOf[e.root].end());
    if (want != got) fail("tree " + std::to_string(e.root) + ": its zone ids differ from the pinned list");
  }
  for (const AtLeast& e : kAtLeast)
    for (int id : e.ids)
      if (!has(e.root, id)) fail("tree " + std::to_string(e.root) + ": lacks zone " + std::to_string(id));
  return errors->size() == before;
}

std::string Show(const Table& t, int root, int flip) {
  std::ostringstream o;
  if (root < 0 || root >= static_cast<int>(t.records.size()) || t.records[root].id != 0) return "no tree at that index\n";
  int b = root;
  while (b > 0 && t.records[b - 1].id != 0) b--;
  auto mc = [&](int c) { return (flip & 1) ? kCols - 1 - c : c; };
  auto mr = [&](int r) { return (flip & 2) ? kRows - 1 - r : r; };
  // Classes first, then every other zone on its own line of the legend.
  char map[kRows][kCols];
  for (auto& row : map)
    for (char& ch : row) ch = '.';
  for (int i = b; i < root; i++) {
    const Record& r = t.records[i];
    if (r.id < 1 || r.id > 7 || r.raw) continue;
    for (int c = r.c0; c < r.c1; c++)
      for (int w = r.r0; w < r.r1; w++) map[mr(w)][mc(c)] = static_cast<char>('0' + r.id);
  }
  const char* mark = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ@$%&*+=?!";
  int m = 0;
  std::ostringstream legend;
  char over[kRows][kCols];
  for (auto& row : over)
    for (char& ch : row) ch = ' ';
  for (int i = root - 1; i >= b; i--) {
    const Record& r = t.records[i];
    if ((r.id >= 1 && r.id <= 7) && !r.raw) continue;
    char ch = mark[m % 61];
    m++;
    legend << "  " << ch << " = zone " << r.id << " (record " << i << ")\n";
    int c0 = r.raw ? (r.x - kRootX) * kCols / kRootW : r.c0, c1 = r.raw ? (r.x + r.w - kRootX) * kCols / kRootW : r.c1;
    int r0 = r.raw ? (r.y - kRootY) * kRows / kRootH : r.r0, r1 = r.raw ? (r.y + r.h - kRootY) * kRows / kRootH : r.r1;
    for (int c = c0; c < c1; c++)
      for (int w = r0; w < r1; w++) over[mr(w)][mc(c)] = ch;
  }
  std::string label;
  for (const Tree& tr : t.trees)
    if (tr.root == root) label = tr.label;
  o << "tree " << root << " " << label << " (flip " << flip << "), attacking toward +x\n";
  o << "classes" << std::string(kCols - 5, ' ') << "other zones\n";
  for (int w = 0; w < kRows; w++) {
    o << std::string(map[w], kCols) << "  |" << std::string(over[w], kCols) << "|\n";
  }
  o << legend.str();
  return o.str();
}

std::string EmitRecords(const Table& t) {
  std::ostringstream o;
  o << "// Generated from assets/match/zones.txt; do not edit.\n#include \"engine/zone.h\"\n\n";
  o << "const ZoneBox zone_aBoxes[ZONE_BOX_COUNT] = {\n";
  for (size_t i = 0; i < t.records.size(); i++) {
    const Record& r = t.records[i];
    o << "    {" << r.id << ", " << r.x << ", " << r.y << ", " << r.w << ", " << r.h << ", " << r.hit << ", " << r.miss
      << "},  // " << i << "\n";
  }
  o << "};\n";
  return o.str();
}

std::string EmitRoles(const Table& t) {
  std::ostringstream o;
  o << "// Generated from assets/match/zones.txt; do not edit.\n#include \"engine/zone.h\"\n\n";
  o << "const std::int32_t roles_aTable[ROLES_TABLE_ROWS][7] = {\n";
  for (const RoleRow& r : t.roles) {
    o << "    {";
    for (int i = 0; i < 7; i++) o << (i ? ", " : "") << r.aw[i];
    o << "},\n";
  }
  for (int i = static_cast<int>(t.roles.size()); i < 30; i++) o << "    {0, 0, 0, 0, 0, 0, 0},\n";
  o << "};\n\nconst std::int16_t zone_aTreeRoots[ZONE_TREE_COUNT] = {";
  for (size_t i = 0; i < t.trees.size(); i++) o << (i % 12 ? " " : "\n    ") << t.trees[i].root << ",";
  o << "\n};\n";
  return o.str();
}

// ---- Support grid ----------------------------------------------------------------
namespace {
const int kGivenRows[5] = {0, 12, 24, 36, 47};
const int kGivenCols[3] = {0, 72, 144};
int Lerp(int a, int b, int t, int n) {
  // Nearest integer to a + (b - a) t / n, halves up.
  long num = 2L * (static_cast<long>(a) * (n - t) + static_cast<long>(b) * t) + n;
  return static_cast<int>(num / (2L * n));
}
}  // namespace

bool BuildGrid(const std::string& text, std::vector<std::uint8_t>* grid, std::vector<std::string>* errors) {
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  int given[5][36];
  bool have[5] = {};
  size_t before = errors->size();
  while (std::getline(in, line)) {
    lineNo++;
    std::string s = line.substr(0, line.find('#'));
    std::istringstream ws(s);
    std::vector<int> v;
    std::string tok;
    bool ok = true;
    while (ws >> tok) {
      int x;
      if (!ParseInt(tok, &x)) ok = false;
      v.push_back(x);
    }
    if (v.empty() && ok) continue;
    if (!ok || v.size() != 37) {
      errors->push_back("line " + std::to_string(lineNo) + ": expected a row number and 36 values");
      continue;
    }
    int k = -1;
    for (int i = 0; i < 5; i++)
      if (kGivenRows[i] == v[0]) k = i;
    if (k < 0 || have[k]) {
      errors->push_back("line " + std::to_string(lineNo) + ": row " + std::to_string(v[0]) + " is not a given row or is given twice");
      continue;
    }
    have[k] = true;
    for (int i = 0; i < 36; i++) given[k][i] = v[1 + i];
  }
  for (int k = 0; k < 5; k++)
    if (!have[k]) errors->push_back("row " + std::to_string(kGivenRows[k]) + " missing");
  if (errors->size() > before) return false;
  // Along the columns of the given rows, then along the rows.
  int full[5][156];
  for (int k = 0; k < 5; k++) {
    for (int w = 0; w < 3; w++)
      for (int i = 0; i < 12; i++) full[k][kGivenCols[w] + i] = given[k][w * 12 + i];
    for (int w = 0; w < 2; w++) {
      int c0 = kGivenCols[w] + 11, c1 = kGivenCols[w + 1];
      for (int c = c0 + 1; c < c1; c++) full[k][c] = Lerp(full[k][c0], full[k][c1], c - c0, c1 - c0);
    }
  }
  grid->assign(48 * 156, 0);
  for (int r = 0; r < 48; r++) {
    int k = 0;
    while (k < 3 && kGivenRows[k + 1] < r) k++;
    int r0 = kGivenRows[k], r1 = kGivenRows[k + 1];
    for (int c = 0; c < 156; c++) {
      int v = Lerp(full[k][c], full[k + 1][c], r - r0, r1 - r0);
      (*grid)[r * 156 + c] = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
      if (v < 5 || v > 254) {
        errors->push_back("cell (" + std::to_string(c) + ", " + std::to_string(r) + ") = " + std::to_string(v) + " outside 5..254");
        return false;
      }
    }
  }
  for (int k = 0; k < 5; k++)
    for (int w = 0; w < 3; w++)
      for (int i = 0; i < 12; i++)
        if ((*grid)[kGivenRows[k] * 156 + kGivenCols[w] + i] != given[k][w * 12 + i]) {
          errors->push_back("given cell of row " + std::to_string(kGivenRows[k]) + " not kept");
          return false;
        }
  for (int r = 0; r < 48; r++)
    for (int c = 1; c < 156; c++)
      if ((*grid)[r * 156 + c] <= (*grid)[r * 156 + c - 1]) {
        errors->push_back("row " + std::to_string(r) + " does not rise at column " + std::to_string(c));
        return false;
      }
  return true;
}

std::string EmitGrid(const std::vector<std::uint8_t>& grid) {
  std::ostringstream o;
  o << "// Generated from assets/match/support_grid.txt; do not edit.\n#include \"engine/grid.h\"\n\n";
  o << "const std::uint8_t grid_aSupport[GRID_ROWS][GRID_COLUMNS] = {\n";
  for (int r = 0; r < 48; r++) {
    o << "    {";
    for (int c = 0; c < 156; c++) o << (c ? (c % 26 ? ", " : ",\n     ") : "") << static_cast<int>(grid[r * 156 + c]);
    o << "},\n";
  }
  o << "};\n";
  return o.str();
}

bool ReadFile(const std::string& path, std::string* out) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  std::ostringstream s;
  s << f.rdbuf();
  *out = s.str();
  return true;
}

bool WriteIfChanged(const std::string& path, const std::string& text) {
  std::string old;
  if (ReadFile(path, &old) && old == text) return true;
  std::string tmp = path + ".tmp";
  {
    std::ofstream f(tmp, std::ios::binary);
    if (!f) return false;
    f << text;
    if (!f) return false;
  }
  return std::rename(tmp.c_str(), path.c_str()) == 0;
}

}  // namespace zonegen
