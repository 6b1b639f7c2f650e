// Readers of the row table, the seams, the skeleton and the clip sources.
// Every malformed line is refused with its file and line.
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "animgen.h"

namespace animgen {
namespace {

[[noreturn]] void Fail(const std::string& file, int line, const std::string& what) {
  throw Error(file + ":" + std::to_string(line) + ": " + what);
}

// Lines without comments, split into words; empty lines are skipped.
struct Line {
  int number;
  std::vector<std::string> words;
};

std::vector<Line> ReadLines(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw Error(path + ": cannot open");
  std::vector<Line> lines;
  std::string text;
  int number = 0;
  while (std::getline(in, text)) {
    ++number;
    const auto hash = text.find('#');
    if (hash != std::string::npos) text.erase(hash);
    std::istringstream words(text);
    Line line{number, {}};
    std::string w;
    while (words >> w) line.words.push_back(w);
    if (!line.words.empty()) lines.push_back(std::move(line));
  }
  if (in.bad()) throw Error(path + ": read error");
  return lines;
}

int Lookup(const std::string& word, const std::vector<std::string>& names, const std::string& what,
           const std::string& file, int line) {
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == word) return static_cast<int>(i);
  }
  Fail(file, line, "unknown " + what + " \"" + word + "\"");
}

// "a@b" into two integers.
void ParseAt(const std::string& word, int& a, int& b, const std::string& file, int line) {
  const auto at = word.find('@');
  if (at == std::string::npos) Fail(file, line, "expected id@frame, got \"" + word + "\"");
  a = ParseInt(word.substr(0, at), file, line);
  b = ParseInt(word.substr(at + 1), file, line);
}

}  // namespace

double ParseNumber(const std::string& word, const std::string& file, int line) {
  if (word.empty()) Fail(file, line, "missing number");
  const char* begin = word.c_str();
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(begin, &end);
  if (end != begin + word.size() || errno == ERANGE) Fail(file, line, "bad number \"" + word + "\"");
  if (!std::isfinite(v)) Fail(file, line, "number not finite \"" + word + "\"");
  // strtod also reads hexadecimal and "nan(...)" forms; plain decimals only.
  for (char c : word) {
    if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E')) {
      Fail(file, line, "bad number \"" + word + "\"");
    }
  }
  return v;
}

int ParseInt(const std::string& word, const std::string& file, int line) {
  const double v = ParseNumber(word, file, line);
  if (v != std::floor(v) || v < -100000 || v > 100000) Fail(file, line, "bad integer \"" + word + "\"");
  return static_cast<int>(v);
}

const Row* Table::Find(int id) const {
  for (const Row& r : rows) {
    if (r.id == id) return &r;
  }
  return nullptr;
}

Table ReadTable(const std::string& path) {
  static const std::vector<std::string> types = {"gen", "kick", "goalie", "gesture", "fall", "carry"};
  static const std::vector<std::string> steps = {"none",    "loop",    "holdmove",   "hold",
                                                 "contact", "fwdmove", "fwdmovealt", "fwdhold"};
  static const std::vector<std::string> hooks = {"none", "play", "take", "run", "tackle", "celebrate", "runanim", "stop"};
  static const std::vector<std::string> dispatchers = {"none", "event", "now", "run", "celebrate", "fall"};
  Table table;
  for (const Line& l : ReadLines(path)) {
    if (l.words.size() != 12) Fail(path, l.number, "expected 12 columns, got " + std::to_string(l.words.size()));
    Row r;
    r.line = l.number;
    r.id = ParseInt(l.words[0], path, l.number);
    if (r.id < 2 || r.id > 183) Fail(path, l.number, "id out of range");
    if (!table.rows.empty() && r.id <= table.rows.back().id) Fail(path, l.number, "ids must ascend");
    r.type = Lookup(l.words[1], types, "type", path, l.number);
    const std::string& frames = l.words[2];
    const auto dash = frames.find('-');
    if (dash == std::string::npos || dash == 0) Fail(path, l.number, "frames must be start-end");
    r.start = ParseInt(frames.substr(0, dash), path, l.number);
    r.end = ParseInt(frames.substr(dash + 1), path, l.number);
    if (r.start < 0 || r.start > 254 || r.end < 0 || r.end > 254 || r.start == r.end) {
      Fail(path, l.number, "bad frame range");
    }
    if (l.words[3] != "-") {
      r.contact = ParseInt(l.words[3], path, l.number);
      if (r.contact < 0 || r.contact > 127) Fail(path, l.number, "bad contact frame");
    }
    if (l.words[4] != "-") {
      ParseAt(l.words[4], r.followId, r.followFrame, path, l.number);
      if (r.followFrame < 0 || r.followFrame > 254) Fail(path, l.number, "bad follow-on frame");
    }
    if (l.words[5] != "-") {
      for (char c : l.words[5]) {
        if (c == 'm') {
          r.mirror = true;
        } else if (c == 'L') {
          r.look = true;
        } else {
          Fail(path, l.number, std::string("unknown flag ") + c);
        }
      }
    }
    r.step = Lookup(l.words[6], steps, "stepping callback", path, l.number);
    r.hook = Lookup(l.words[7], hooks, "hook", path, l.number);
    r.dispatch = Lookup(l.words[8], dispatchers, "dispatcher", path, l.number);
    r.moveClass = ParseInt(l.words[9], path, l.number);
    if (r.moveClass < 0 || r.moveClass > 31) Fail(path, l.number, "bad movement class");
    if (l.words[10] != "yes" && l.words[10] != "no") Fail(path, l.number, "track must be yes or no");
    r.track = l.words[10] == "yes";
    r.clip = l.words[11];
    for (char c : r.clip) {
      if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) Fail(path, l.number, "bad clip name");
    }
    table.rows.push_back(r);
  }
  return table;
}

void ReadSeams(const std::string& path, Table& table) {
  for (const Line& l : ReadLines(path)) {
    if (l.words.size() != 3 || l.words[0] != "seam") Fail(path, l.number, "expected: seam id@frame id@frame");
    Seam s;
    s.line = l.number;
    ParseAt(l.words[1], s.fromId, s.fromFrame, path, l.number);
    ParseAt(l.words[2], s.toId, s.toFrame, path, l.number);
    if (!table.Find(s.fromId) || !table.Find(s.toId)) Fail(path, l.number, "seam names an id without a row");
    table.seams.push_back(s);
  }
}

const Point* Skeleton::FindPoint(const std::string& name) const {
  for (const Point& p : points) {
    if (p.name == name) return &p;
  }
  return nullptr;
}

Skeleton ReadSkeleton(const std::string& path) {
  Skeleton skel;
  int count = 0;
  for (const Line& l : ReadLines(path)) {
    if (l.words[0] == "point") {
      if (l.words.size() != 6) Fail(path, l.number, "expected: point name segment x y z");
      Point p;
      p.name = l.words[1];
      p.segment = ParseInt(l.words[2], path, l.number);
      if (p.segment < 0 || p.segment >= kSegments) Fail(path, l.number, "bad segment");
      for (int c = 0; c < 3; ++c) p.p[c] = ParseNumber(l.words[3 + c], path, l.number);
      skel.points.push_back(p);
      continue;
    }
    if (l.words.size() != 12) Fail(path, l.number, "expected 12 columns, got " + std::to_string(l.words.size()));
    const int s = ParseInt(l.words[0], path, l.number);
    if (s != count) Fail(path, l.number, "segments must be listed 0 to 16 in order");
    if (count >= kSegments) Fail(path, l.number, "more than 17 segments");
    Segment& g = skel.seg[s];
    g.name = l.words[1];
    g.parent = ParseInt(l.words[2], path, l.number);
    g.push = ParseInt(l.words[3], path, l.number) != 0;
    g.pop = ParseInt(l.words[4], path, l.number) != 0;
    for (int c = 0; c < 3; ++c) g.origin[c] = ParseNumber(l.words[5 + c], path, l.number);
    for (int c = 0; c < 3; ++c) g.bone[c] = ParseNumber(l.words[8 + c], path, l.number);
    g.maxTurn = ParseNumber(l.words[11], path, l.number);
    ++count;
  }
  if (count != kSegments) throw Error(path + ": expected 17 segments, got " + std::to_string(count));
  // The parents must be those of the stack walk: the previous segment, or
  // the one saved by the matching push.
  std::vector<int> stack;
  int current = -1;
  for (int s = 0; s < kSegments; ++s) {
    if (skel.seg[s].push) stack.push_back(current);
    if (skel.seg[s].parent != current) {
      throw Error(path + ": segment " + std::to_string(s) + " hangs on " + std::to_string(skel.seg[s].parent) +
                  " but the walk gives " + std::to_string(current));
    }
    current = s;
    if (skel.seg[s].pop) {
      if (stack.empty()) throw Error(path + ": unbalanced pop after segment " + std::to_string(s));
      current = stack.back();
      stack.pop_back();
    }
  }
  for (const char* name : {"hand_l", "hand_r"}) {
    if (!skel.FindPoint(name)) throw Error(path + ": point " + name + " missing");
  }
  return skel;
}

double ClipSource::Param(const std::string& name, double fallback) const {
  const auto it = params.find(name);
  return it == params.end() ? fallback : it->second.first;
}

std::string ClipSource::Word(const std::string& name, const std::string& fallback) const {
  const auto it = words.find(name);
  return it == words.end() ? fallback : it->second.first;
}

// Clip source lines:
//   template NAME                 how the clip is made (pose when absent)
//   set NAME VALUE                a numeric parameter of the template
//   use NAME WORD                 a word parameter of the template
//   key FRAME CHANNEL=VALUE|@POSE ...   channel keys (added to the template's; at the
//                                 same frame they win); @POSE sets every channel of a named pose;
//                                 dx=, dz= move the line's root, feet and hands
//   ball FRAME at X Y Z | ball FRAME point NAME | ball FRAME fly VX VY VZ (metres a frame)
//   copy FRAME CLIP@FRAME [mirror] [root]   all channels from another clip's frame
PoseLibrary ReadPoses(const std::string& path) {
  PoseLibrary poses;
  for (const Line& l : ReadLines(path)) {
    if (l.words[0] != "pose" || l.words.size() < 3) Fail(path, l.number, "expected: pose NAME CHANNEL=VALUE ...");
    auto& pose = poses[l.words[1]];
    for (size_t i = 2; i < l.words.size(); ++i) {
      if (l.words[i][0] == '@') {
        // Another pose's values first.
        const std::string base = l.words[i].substr(1);
        if (!poses.count(base)) Fail(path, l.number, "unknown pose \"" + base + "\"");
        for (const auto& [c, v] : poses.at(base)) pose[c] = v;
        continue;
      }
      const auto eq = l.words[i].find('=');
      if (eq == std::string::npos || eq == 0) Fail(path, l.number, "expected CHANNEL=VALUE, got \"" + l.words[i] + "\"");
      pose[l.words[i].substr(0, eq)] = ParseNumber(l.words[i].substr(eq + 1), path, l.number);
    }
  }
  return poses;
}

ClipSource ReadClip(const std::string& path, const std::string& name, const PoseLibrary& poses) {
  ClipSource src;
  src.name = name;
  src.file = path;
  for (const Line& l : ReadLines(path)) {
    const auto& w = l.words;
    if (w[0] == "template") {
      if (w.size() != 2) Fail(path, l.number, "expected: template NAME");
      src.templ = w[1];
    } else if (w[0] == "set") {
      if (w.size() != 3) Fail(path, l.number, "expected: set NAME VALUE");
      src.params[w[1]] = {ParseNumber(w[2], path, l.number), l.number};
    } else if (w[0] == "use") {
      if (w.size() != 3) Fail(path, l.number, "expected: use NAME WORD");
      src.words[w[1]] = {w[2], l.number};
    } else if (w[0] == "key") {
      if (w.size() < 3) Fail(path, l.number, "expected: key FRAME CHANNEL=VALUE ...");
      const int frame = ParseInt(w[1], path, l.number);
      if (frame < 0 || frame > 254) Fail(path, l.number, "bad frame");
      const size_t first = src.keys.size();
      double shift[2] = {0, 0};
      for (size_t i = 2; i < w.size(); ++i) {
        if (w[i].rfind("dx=", 0) == 0 || w[i].rfind("dz=", 0) == 0) {
          shift[w[i][1] == 'x' ? 0 : 1] = ParseNumber(w[i].substr(3), path, l.number);
          continue;
        }
        if (w[i][0] == '@') {
          const auto it = poses.find(w[i].substr(1));
          if (it == poses.end()) Fail(path, l.number, "unknown pose \"" + w[i].substr(1) + "\"");
          for (const auto& [c, v] : it->second) src.keys.push_back({l.number, frame, c, v});
          continue;
        }
        const auto eq = w[i].find('=');
        if (eq == std::string::npos || eq == 0) Fail(path, l.number, "expected CHANNEL=VALUE, got \"" + w[i] + "\"");
        src.keys.push_back({l.number, frame, w[i].substr(0, eq), ParseNumber(w[i].substr(eq + 1), path, l.number)});
      }
      // dx= and dz= move the whole line's body: root, feet and hands.
      for (int axis = 0; axis < 2; ++axis) {
        if (shift[axis] == 0) continue;
        const char a = axis == 0 ? 'x' : 'z';
        bool root = false;
        for (size_t i = first; i < src.keys.size(); ++i) {
          Key& k = src.keys[i];
          const std::string& c = k.channel;
          if (c == std::string("root.") + a) root = true;
          if (c == std::string("root.") + a || c == std::string("l.foot.") + a || c == std::string("r.foot.") + a ||
              c == std::string("l.hand.") + a || c == std::string("r.hand.") + a) {
            k.value += shift[axis];
          }
        }
        if (!root) src.keys.push_back({l.number, frame, std::string("root.") + a, shift[axis]});
      }
    } else if (w[0] == "ball") {
      if (w.size() < 3) Fail(path, l.number, "expected: ball FRAME MODE ...");
      BallKey b;
      b.line = l.number;
      b.frame = ParseInt(w[1], path, l.number);
      if (b.frame < 0 || b.frame > 254) Fail(path, l.number, "bad frame");
      b.mode = w[2];
      if (b.mode == "at") {
        if (w.size() != 6) Fail(path, l.number, "expected: ball FRAME at X Y Z");
        for (int c = 0; c < 3; ++c) b.p[c] = ParseNumber(w[3 + c], path, l.number);
      } else if (b.mode == "point") {
        if (w.size() != 4) Fail(path, l.number, "expected: ball FRAME point NAME");
        b.point = w[3];
      } else if (b.mode == "fly") {
        if (w.size() != 6) Fail(path, l.number, "expected: ball FRAME fly VX VY VZ");
        for (int c = 0; c < 3; ++c) b.p[c] = ParseNumber(w[3 + c], path, l.number);
      } else {
        Fail(path, l.number, "unknown ball mode \"" + b.mode + "\"");
      }
      src.balls.push_back(b);
    } else if (w[0] == "copy") {
      if (w.size() < 3 || w.size() > 5) Fail(path, l.number, "expected: copy FRAME CLIP@FRAME [mirror] [root]");
      PoseCopy c;
      c.line = l.number;
      c.frame = ParseInt(w[1], path, l.number);
      const auto at = w[2].find('@');
      if (at == std::string::npos || at == 0) Fail(path, l.number, "expected CLIP@FRAME");
      c.clip = w[2].substr(0, at);
      c.clipFrame = ParseInt(w[2].substr(at + 1), path, l.number);
      bool mirror = false;
      for (size_t i = 3; i < w.size(); ++i) {
        if (w[i] == "mirror") {
          mirror = true;
        } else if (w[i] == "root") {
          c.keepRoot = true;
        } else {
          Fail(path, l.number, "unknown copy option \"" + w[i] + "\"");
        }
      }
      if (mirror) c.clip = "~" + c.clip;  // marked: copy mirrored
      src.copies.push_back(c);
    } else {
      Fail(path, l.number, "unknown line \"" + w[0] + "\"");
    }
  }
  return src;
}

}  // namespace animgen
