// The compiled animation rows read back against assets/anim/table.txt with a
// reader of this test's own, and the skeleton walk checked against the ball
// tracks of kicks, plain and mirrored, at several facings and places.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/anim_data.h"
#include "engine/anim_pose.h"

namespace {

std::string Source(const std::string& rel) {
  const char* dir = std::getenv("KORVENA_SOURCE_DIR");
  return std::string(dir ? dir : ".") + "/" + rel;
}

struct TextRow {
  int id, type, start, end, contact, followId, followFrame, cls;
  bool mirror, look, track;
  std::string step, hook, dispatch, clip;
};

std::vector<TextRow> ReadRows() {
  std::ifstream in(Source("assets/anim/table.txt"));
  std::vector<TextRow> rows;
  std::string line;
  const std::map<std::string, int> types = {{"gen", 0},     {"kick", 1}, {"goalie", 2},
                                            {"gesture", 3}, {"fall", 4}, {"carry", 5}};
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream w(line);
    std::string type, frames, contact, follow, flags, track;
    TextRow r{};
    w >> r.id >> type >> frames >> contact >> follow >> flags >> r.step >> r.hook >> r.dispatch >> r.cls >> track >> r.clip;
    r.type = types.at(type);
    std::sscanf(frames.c_str(), "%d-%d", &r.start, &r.end);
    r.contact = contact == "-" ? 255 : std::atoi(contact.c_str());
    r.followId = 1;
    r.followFrame = 255;
    if (follow != "-") std::sscanf(follow.c_str(), "%d@%d", &r.followId, &r.followFrame);
    r.mirror = flags.find('m') != std::string::npos;
    r.look = flags.find('L') != std::string::npos;
    r.track = track == "yes";
    rows.push_back(r);
  }
  return rows;
}

const AnimGenRow* Row(int id) {
  for (const AnimGenRow& r : anim_aGenRows) {
    if (static_cast<int>(r.id) == id) return &r;
  }
  return nullptr;
}

TEST(AnimData, CompiledRowsEqualTheirSource) {
  const std::vector<TextRow> rows = ReadRows();
  ASSERT_EQ(rows.size(), static_cast<size_t>(ANIM_GEN_ROWS));
  const std::map<std::string, AnimStepCode> steps = {
      {"loop", ANIM_STEP_LOOP},       {"holdmove", ANIM_STEP_HOLD_MOVE},          {"hold", ANIM_STEP_HOLD},
      {"contact", ANIM_STEP_CONTACT}, {"fwdmove", ANIM_STEP_FORWARD_MOVE},        {"fwdhold", ANIM_STEP_FORWARD_HOLD},
      {"fwdmovealt", ANIM_STEP_FORWARD_MOVE_ALT}};
  const std::map<std::string, AnimHookCode> hooks = {
      {"none", ANIM_HOOK_NONE},     {"play", ANIM_HOOK_PLAY},           {"take", ANIM_HOOK_TAKE},
      {"run", ANIM_HOOK_RUN},       {"tackle", ANIM_HOOK_TACKLE},       {"celebrate", ANIM_HOOK_CELEBRATE},
      {"runanim", ANIM_HOOK_RUN_ANIM}, {"stop", ANIM_HOOK_STOP}};
  const std::map<std::string, AnimDispatchCode> dispatchers = {
      {"event", ANIM_DISPATCH_EVENT}, {"now", ANIM_DISPATCH_NOW},          {"run", ANIM_DISPATCH_RUN},
      {"celebrate", ANIM_DISPATCH_CELEBRATE}, {"fall", ANIM_DISPATCH_FALL}};
  std::map<std::string, const float*> clipData;
  std::map<const float*, std::string> dataClip;
  for (size_t i = 0; i < rows.size(); ++i) {
    const TextRow& t = rows[i];
    const AnimGenRow& g = anim_aGenRows[i];
    SCOPED_TRACE("id " + std::to_string(t.id));
    EXPECT_EQ(static_cast<int>(g.id), t.id);
    if (i > 0) {
      EXPECT_GT(g.id, anim_aGenRows[i - 1].id);
    }
    EXPECT_EQ(static_cast<int>(g.type), t.type);
    EXPECT_EQ(g.start, t.start);
    EXPECT_EQ(g.end, t.end);
    EXPECT_EQ(g.contact, t.contact);
    EXPECT_EQ(g.followFrame, t.followFrame);
    EXPECT_EQ(static_cast<int>(g.followId), t.followId);
    EXPECT_EQ(g.mirror != 0, t.mirror);
    EXPECT_EQ(g.lookAtBall != 0, t.look);
    EXPECT_EQ(g.step, steps.at(t.step));
    EXPECT_EQ(g.hook, hooks.at(t.hook));
    EXPECT_EQ(g.dispatch, t.dispatch == "none" ? ANIM_DISPATCH_NONE : dispatchers.at(t.dispatch));
    EXPECT_EQ(static_cast<int>(g.moveClass), t.cls);
    EXPECT_EQ(g.pfTrack != nullptr, t.track);
    EXPECT_GE(g.cFrames, std::max(t.start, t.end) + 1);
    ASSERT_NE(g.pfPose, nullptr);
    // One clip, one block of frames: twins share theirs, others never do.
    if (clipData.count(t.clip)) {
      EXPECT_EQ(clipData[t.clip], g.pfPose);
    } else {
      EXPECT_EQ(dataClip.count(g.pfPose), 0u) << "shares frames with " << dataClip[g.pfPose];
      clipData[t.clip] = g.pfPose;
      dataClip[g.pfPose] = t.clip;
    }
    if (t.followId != 1) {
      const AnimGenRow* to = Row(t.followId);
      ASSERT_NE(to, nullptr);
      EXPECT_LT(g.followFrame, to->cFrames);
    }
  }
}

TEST(AnimData, TheTableHasTheRowsOfTheGame) {
  // Ids without a row, and a few rows as the game lists them.
  const std::set<int> absent = {15, 16, 17, 24, 26, 34, 103, 104, 111, 126, 128, 134, 135, 150, 151, 162, 166, 176, 180, 181};
  for (int id = 2; id < 184; ++id) EXPECT_EQ(Row(id) == nullptr, absent.count(id) == 1) << id;
  EXPECT_EQ(Row(0), nullptr);
  EXPECT_EQ(Row(1), nullptr);
  struct Want {
    int id, start, end, contact, followId, followFrame, mirror;
  };
  const Want wants[] = {{6, 0, 18, 3, 1, 255, 0},     {19, 0, 23, 3, 1, 255, 1},   {44, 0, 13, 255, 1, 255, 0},
                        {2, 0, 8, 255, 102, 18, 0},   {4, 0, 15, 255, 129, 7, 0},  {77, 0, 73, 34, 1, 255, 0},
                        {119, 43, 0, 255, 1, 255, 0}, {124, 21, 0, 255, 1, 255, 0}, {86, 0, 39, 3, 1, 255, 1},
                        {87, 0, 39, 3, 1, 255, 0},    {178, 0, 110, 255, 1, 255, 0}};
  for (const Want& w : wants) {
    const AnimGenRow* r = Row(w.id);
    ASSERT_NE(r, nullptr) << w.id;
    EXPECT_EQ(r->start, w.start) << w.id;
    EXPECT_EQ(r->end, w.end) << w.id;
    EXPECT_EQ(r->contact, w.contact) << w.id;
    EXPECT_EQ(static_cast<int>(r->followId), w.followId) << w.id;
    EXPECT_EQ(r->followFrame, w.followFrame) << w.id;
    EXPECT_EQ(r->mirror, w.mirror) << w.id;
  }
  // Backward and mirrored ids play their twin's frames.
  EXPECT_EQ(Row(119)->pfPose, Row(121)->pfPose);
  EXPECT_EQ(Row(120)->pfPose, Row(122)->pfPose);
  EXPECT_EQ(Row(140)->pfPose, Row(138)->pfPose);
  EXPECT_EQ(Row(124)->pfPose, Row(123)->pfPose);
  EXPECT_EQ(Row(19)->pfPose, Row(20)->pfPose);
  EXPECT_EQ(Row(114)->pfPose, Row(113)->pfPose);
  // The ball track where a holder needs it, and only there.
  EXPECT_EQ(Row(59)->pfTrack != nullptr, true);
  EXPECT_EQ(Row(33)->pfTrack, nullptr);
  EXPECT_EQ(Row(168)->pfTrack, nullptr);
  EXPECT_NE(Row(129)->pfTrack, nullptr);
}

TEST(AnimData, SkeletonFollowsTheWalk) {
  // Saves before 1, 3, 6, 11; restores after 5, 8, 10, 13; chains from the root.
  const int parents[ANIM_SEGMENTS] = {-1, 0, 1, 2, 3, 4, 2, 6, 7, 2, 9, 0, 11, 12, 0, 14, 15};
  const std::set<int> push = {1, 3, 6, 11}, pop = {5, 8, 10, 13};
  for (int s = 0; s < ANIM_SEGMENTS; ++s) {
    EXPECT_EQ(anim_aSkeleton[s].parent, parents[s]) << s;
    EXPECT_EQ(anim_aSkeleton[s].push != 0, push.count(s) == 1) << s;
    EXPECT_EQ(anim_aSkeleton[s].pop != 0, pop.count(s) == 1) << s;
  }
  // Standing 1.80 m: the head's top above 1.7 m when every turn is the rest one.
  EXPECT_NEAR(anim_aSkeleton[0].restOrigin[1], 1.0f, 0.05f);
}

// The world point of a pose's root plus its track the way the game places
// the ball: components in metres times 157.4784 truncated, the lateral one
// negated when mirrored, turned about the vertical axis, then moved.
void BallWorld(const AnimGenRow& r, int frame, std::uint16_t angle, int x, int h, int y, double out[3]) {
  const float* p = r.pfPose + frame * ANIM_POSE_FLOATS;
  const float* t = r.pfTrack + frame * ANIM_TRACK_FLOATS;
  double v[3];
  for (int c = 0; c < 3; ++c) {
    v[c] = static_cast<int>(p[c] * ANIM_METRES_TO_UNITS) + static_cast<int>(t[c] * ANIM_METRES_TO_UNITS);
  }
  if (r.mirror) v[2] = -v[2];
  const double a = angle * (2 * 3.14159265358979 / 65536.0);
  out[0] = v[0] * std::cos(a) + v[2] * std::sin(a) + x;
  out[1] = v[1] + h;
  out[2] = -v[0] * std::sin(a) + v[2] * std::cos(a) + y;
}

TEST(AnimData, TheSideDivesHaveTheirRowsAndTheirHeights) {
  // The keeper's full-length dives: the high one (save row 0) 25 frames, the
  // low one (save row 7) 22, both meeting the ball at frame 9; the first id
  // of each pair dives to his right as the clip does, mirrored.
  struct Want {
    int id, start, end, contact, mirror;
  };
  const Want wants[] = {{38, 0, 24, 9, 1}, {39, 0, 24, 9, 0}, {51, 0, 21, 9, 1}, {52, 0, 21, 9, 0}};
  for (const Want& w : wants) {
    const AnimGenRow* r = Row(w.id);
    ASSERT_NE(r, nullptr) << w.id;
    EXPECT_EQ(r->type, 2u) << w.id;
    EXPECT_EQ(r->start, w.start) << w.id;
    EXPECT_EQ(r->end, w.end) << w.id;
    EXPECT_EQ(r->contact, w.contact) << w.id;
    EXPECT_EQ(r->mirror, w.mirror) << w.id;
    EXPECT_EQ(static_cast<int>(r->followId), 1) << w.id;
    EXPECT_EQ(r->moveClass, 5u) << w.id;
    EXPECT_EQ(r->cFrames, w.end + 1) << w.id;
    ASSERT_NE(r->pfTrack, nullptr) << w.id;
  }
  EXPECT_EQ(Row(38)->pfPose, Row(39)->pfPose);
  EXPECT_EQ(Row(51)->pfPose, Row(52)->pfPose);
  // The high dive takes the ball well above the keeper's head, the low one
  // near the ground, each to the side of its column.
  double hi[3], lo[3], hiMirror[3];
  BallWorld(*Row(39), 9, 0, 0, 0, 0, hi);
  BallWorld(*Row(52), 9, 0, 0, 0, 0, lo);
  BallWorld(*Row(38), 9, 0, 0, 0, 0, hiMirror);
  EXPECT_GT(hi[1], 1.6 * ANIM_METRES_TO_UNITS);
  EXPECT_LT(lo[1], 0.5 * ANIM_METRES_TO_UNITS);
  EXPECT_LT(hi[2] * hiMirror[2], 0.0);
}

// The game's rows kind by kind: each kind's stepping, per-tick hook, event
// dispatcher, movement class and (where the kind fixes it) type, then its
// ids as "id start-end [cN] [fID@N] [m] [L] [-]" with "-" for no ball track.
struct RowKind {
  AnimStepCode step;
  AnimHookCode hook;
  AnimDispatchCode dispatch;
  int cls, type;  // type -1: not fixed by the kind
  const char* rows;
};

const RowKind kGameRows[] = {
    // Kicks.
    {ANIM_STEP_CONTACT, ANIM_HOOK_PLAY, ANIM_DISPATCH_EVENT, 0, 1,
     "6 0-18 c3, 19 0-23 c3 m, 20 0-23 c3, 21 0-39 c4, 22 0-27 c3, 23 0-27 c3 m, 27 0-22 c4, 28 0-22 c4,"
     "29 0-27 c3, 30 0-27 c3 m, 31 0-22 c5 m, 32 0-22 c5, 68 0-59 c33, 69 0-96 c66, 70 0-64 c36, 75 0-24 c5,"
     "76 0-24 c5, 77 0-73 c34, 88 0-22 c5 m, 89 0-22 c5, 106 0-22 c4, 108 0-32 c5, 109 0-24 c5 m, 110 0-24 c5,"
     "113 0-18 c6, 114 0-18 c6 m, 115 0-21 c5, 116 0-21 c5 m, 117 0-15 c5 m, 118 0-15 c5, 130 0-20 c6 m,"
     "131 0-20 c6, 132 0-15 c5 m, 133 0-15 c5, 144 0-15 c5, 145 0-21 c5 m, 147 0-25 c14, 148 0-31 c25,"
     "156 0-20 c4 m, 157 0-20 c4, 158 0-19 c5 m, 159 0-19 c5, 182 0-20 c6 m, 183 0-20 c6"},
    // A kick taking the ball; headers, volleys and chest play.
    {ANIM_STEP_CONTACT, ANIM_HOOK_TAKE, ANIM_DISPATCH_EVENT, 0, 1, "112 0-20 c6"},
    {ANIM_STEP_CONTACT, ANIM_HOOK_NONE, ANIM_DISPATCH_EVENT, 0, 0,
     "90 0-21 c6, 91 0-16 c4, 92 0-24 c7, 93 0-29 c7 m, 94 0-29 c7, 95 0-24 c7, 96 0-24 c6 m, 97 0-24 c6,"
     "98 0-17 c6, 99 0-29 c7"},
    // Running, walking, turning; the idles; standing and other loops.
    {ANIM_STEP_LOOP, ANIM_HOOK_RUN, ANIM_DISPATCH_NOW, 0, -1,
     "7 0-24 L -, 10 0-69 -, 11 0-19 -, 18 0-18 -, 57 0-18 -, 59 0-32, 102 0-22 L -, 127 0-14 L -,"
     "146 0-22 L -, 160 0-32 L -, 161 0-31"},
    {ANIM_STEP_LOOP, ANIM_HOOK_RUN, ANIM_DISPATCH_NOW, 1, -1, "168 0-34 L -, 169 0-30 L -, 170 0-35 L -, 171 0-30 L -"},
    {ANIM_STEP_LOOP, ANIM_HOOK_NONE, ANIM_DISPATCH_EVENT, 1, -1, "136 0-1, 152 0-1"},
    {ANIM_STEP_LOOP, ANIM_HOOK_NONE, ANIM_DISPATCH_EVENT, 0, -1, "37 0-14 -, 100 0-40 m -, 107 0-1"},
    {ANIM_STEP_LOOP, ANIM_HOOK_NONE, ANIM_DISPATCH_NOW, 0, -1, "105 0-21 c4"},
    {ANIM_STEP_LOOP, ANIM_HOOK_NONE, ANIM_DISPATCH_RUN, 0, -1, "129 0-44"},
    // Challenges, tackles and taking the ball.
    {ANIM_STEP_FORWARD_MOVE, ANIM_HOOK_TACKLE, ANIM_DISPATCH_EVENT, 0, -1,
     "8 0-19, 9 0-19, 78 0-32, 79 0-32 m, 143 0-28 -, 154 0-34 -"},
    {ANIM_STEP_FORWARD_MOVE, ANIM_HOOK_TAKE, ANIM_DISPATCH_EVENT, 0, -1, "33 0-21 c10 -"},
    // Start-up clips, stopping, celebrations, the knock-on, referee and script clips, falls.
    {ANIM_STEP_HOLD_MOVE, ANIM_HOOK_NONE, ANIM_DISPATCH_EVENT, 0, -1,
     "2 0-8 f102@18 -, 3 0-8 f105@18, 4 0-15 f129@7, 5 0-21 f129@5, 25 0-23 -, 36 0-9 m -, 101 0-14 m -"},
    {ANIM_STEP_HOLD_MOVE, ANIM_HOOK_RUN, ANIM_DISPATCH_NOW, 0, -1, "137 0-15"},
    {ANIM_STEP_HOLD_MOVE, ANIM_HOOK_RUN, ANIM_DISPATCH_NOW, 2, -1, "71 0-52"},
    {ANIM_STEP_HOLD_MOVE, ANIM_HOOK_CELEBRATE, ANIM_DISPATCH_CELEBRATE, 0, -1, "12 0-49 -, 13 0-69 -, 14 0-80 -, 172 0-80 -"},
    {ANIM_STEP_HOLD_MOVE, ANIM_HOOK_RUN_ANIM, ANIM_DISPATCH_EVENT, 0, -1, "167 0-26 -"},
    {ANIM_STEP_HOLD_MOVE, ANIM_HOOK_NONE, ANIM_DISPATCH_EVENT, 1, -1, "173 0-81, 177 0-34 -, 178 0-110 -"},
    {ANIM_STEP_HOLD_MOVE, ANIM_HOOK_NONE, ANIM_DISPATCH_FALL, 0, 4, "35 0-49 -, 155 0-25 -"},
    {ANIM_STEP_HOLD_MOVE, ANIM_HOOK_TACKLE, ANIM_DISPATCH_FALL, 0, 4, "142 0-37 -"},
    // The goalkeeper: stance, dives, saves, falls, movement, getting up.
    {ANIM_STEP_FORWARD_HOLD, ANIM_HOOK_RUN, ANIM_DISPATCH_NOW, 7, 2, "58 0-1, 72 0-37, 73 0-74 c4, 74 0-49 c3"},
    {ANIM_STEP_FORWARD_MOVE_ALT, ANIM_HOOK_NONE, ANIM_DISPATCH_EVENT, 5, 2,
     "38 0-24 c9 m, 39 0-24 c9, 42 0-26 c5, 43 0-30 c7, 51 0-21 c9 m, 52 0-21 c9, 55 0-28 c6 m, 56 0-28 c6,"
     "80 0-39 c3 m, 81 0-39 c3, 82 0-39 c3 m, 83 0-39 c3, 84 0-39 c3 m, 85 0-39 c3, 86 0-39 c3 m, 87 0-39 c3"},
    {ANIM_STEP_FORWARD_MOVE_ALT, ANIM_HOOK_NONE, ANIM_DISPATCH_EVENT, 6, 2,
     "40 0-24 c7, 41 0-24 c7 m, 45 0-19 c6, 48 0-25 c7 m, 49 0-25 c7, 53 0-17 c7 m, 54 0-17 c7, 66 0-16 c6"},
    {ANIM_STEP_FORWARD_MOVE_ALT, ANIM_HOOK_RUN, ANIM_DISPATCH_EVENT, 6, 2, "44 0-13 c24, 50 0-23 c6"},
    {ANIM_STEP_FORWARD_MOVE_ALT, ANIM_HOOK_NONE, ANIM_DISPATCH_EVENT, 8, 2, "46 0-39 -, 47 0-39 m -"},
    {ANIM_STEP_HOLD_MOVE, ANIM_HOOK_RUN, ANIM_DISPATCH_EVENT, 2, 2, "60 0-39 m, 61 0-39, 64 0-34 m"},
    {ANIM_STEP_HOLD_MOVE, ANIM_HOOK_NONE, ANIM_DISPATCH_EVENT, 1, 2, "62 0-29 m -, 63 0-29 -, 65 0-25 m -, 67 0-51 -"},
    // Gathering the ball into the hands.
    {ANIM_STEP_HOLD_MOVE, ANIM_HOOK_RUN, ANIM_DISPATCH_NOW, 2, 5, "149 0-37 c13"},
    {ANIM_STEP_HOLD_MOVE, ANIM_HOOK_STOP, ANIM_DISPATCH_EVENT, 0, 5, "153 0-11 c4, 163 0-15 c3, 164 0-15 c2, 165 0-20 c4"},
    {ANIM_STEP_HOLD_MOVE, ANIM_HOOK_NONE, ANIM_DISPATCH_EVENT, 1, 5, "174 0-97 c36, 175 0-97 c36 m, 179 0-104 c20"},
    // Gestures, some played backward.
    {ANIM_STEP_HOLD, ANIM_HOOK_NONE, ANIM_DISPATCH_EVENT, 12, 3,
     "121 0-44 -, 122 0-44 m -, 119 43-0 -, 120 43-0 m -, 138 0-47 -, 139 0-47 m -, 140 46-0 -, 141 46-0 m -"},
    {ANIM_STEP_HOLD, ANIM_HOOK_NONE, ANIM_DISPATCH_EVENT, 13, 3, "123 0-22 -, 124 21-0 -"},
    {ANIM_STEP_HOLD, ANIM_HOOK_NONE, ANIM_DISPATCH_EVENT, 13, 0, "125 0-1 -"},
};

struct GameRow {
  int id, start, end, contact = 255, followId = 1, followFrame = 255;
  bool mirror = false, look = false, track = true;
};

GameRow ParseGameRow(const std::string& text) {
  std::istringstream w(text);
  GameRow r{};
  std::string frames, tok;
  w >> r.id >> frames;
  EXPECT_EQ(std::sscanf(frames.c_str(), "%d-%d", &r.start, &r.end), 2) << text;
  while (w >> tok) {
    if (tok == "m") {
      r.mirror = true;
    } else if (tok == "L") {
      r.look = true;
    } else if (tok == "-") {
      r.track = false;
    } else if (tok[0] == 'c') {
      r.contact = std::atoi(tok.c_str() + 1);
    } else if (tok[0] == 'f') {
      EXPECT_EQ(std::sscanf(tok.c_str() + 1, "%d@%d", &r.followId, &r.followFrame), 2) << text;
    } else {
      ADD_FAILURE() << "bad token " << tok << " in " << text;
    }
  }
  return r;
}

TEST(AnimData, EveryRowIsTheGamesRow) {
  std::set<int> listed;
  for (const RowKind& k : kGameRows) {
    std::istringstream rows(k.rows);
    std::string text;
    while (std::getline(rows, text, ',')) {
      const GameRow want = ParseGameRow(text);
      SCOPED_TRACE("id " + std::to_string(want.id));
      EXPECT_TRUE(listed.insert(want.id).second) << "listed twice";
      const AnimGenRow* r = Row(want.id);
      ASSERT_NE(r, nullptr);
      if (k.type >= 0) {
        EXPECT_EQ(static_cast<int>(r->type), k.type);
      }
      EXPECT_EQ(r->start, want.start);
      EXPECT_EQ(r->end, want.end);
      // A contact frame the clip never reaches (at or past its end) is kept
      // as none: the keeper's catching step lists one past its end.
      const int last = std::max(want.start, want.end);
      EXPECT_EQ(r->contact, want.contact < last ? want.contact : 255);
      EXPECT_EQ(static_cast<int>(r->followId), want.followId);
      EXPECT_EQ(r->followFrame, want.followFrame);
      EXPECT_EQ(r->mirror != 0, want.mirror);
      EXPECT_EQ(r->lookAtBall != 0, want.look);
      EXPECT_EQ(r->pfTrack != nullptr, want.track);
      EXPECT_EQ(r->step, k.step);
      EXPECT_EQ(r->hook, k.hook);
      EXPECT_EQ(r->dispatch, k.dispatch);
      EXPECT_EQ(static_cast<int>(r->moveClass), k.cls);
      EXPECT_GE(r->cFrames, last + 1);
    }
  }
  // Every filled row is listed: 162 of them.
  EXPECT_EQ(listed.size(), static_cast<size_t>(ANIM_GEN_ROWS));
  for (const AnimGenRow& r : anim_aGenRows) {
    EXPECT_EQ(listed.count(static_cast<int>(r.id)), 1u) << r.id;
  }
}

TEST(AnimData, JointsMeetTheContactTrackAtEveryFacing) {
  // Kicks and headers with their mirrored twins: the striking joint (ankle
  // or head) keeps the same distance to the ball whatever the facing and
  // place, and a mirrored twin's joints and ball are the plain ones
  // reflected in the facing line.
  struct Case {
    int plain, mirrored, joint;
  };
  const Case cases[] = {{131, 130, 16}, {113, 114, 16}, {32, 31, 16}, {29, 30, 16},
                        {97, 96, 10},   {94, 93, 16},   {183, 182, 16}, {159, 158, 16}};
  const std::uint16_t angles[] = {0, 9000, 16384, 32768, 47000, 65535};
  const int places[][3] = {{0, 0, 0}, {5000, 40, -3000}, {-10800, 0, 7200}};
  for (const Case& k : cases) {
    const AnimGenRow* a = Row(k.plain);
    const AnimGenRow* b = Row(k.mirrored);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(a->contact, b->contact);
    ASSERT_NE(a->pfTrack, nullptr);
    const int f = a->contact;
    double base = -1;
    for (std::uint16_t angle : angles) {
      for (const auto& pl : places) {
        SCOPED_TRACE("ids " + std::to_string(k.plain) + "/" + std::to_string(k.mirrored) + " angle " + std::to_string(angle));
        std::int32_t ja[17][3], jb[17][3];
        animpose_JointsWorld(a->pfPose + f * ANIM_POSE_FLOATS, a->mirror, angle, pl[0], pl[1], pl[2], ja);
        animpose_JointsWorld(b->pfPose + f * ANIM_POSE_FLOATS, b->mirror, angle, pl[0], pl[1], pl[2], jb);
        double ba[3], bb[3];
        BallWorld(*a, f, angle, pl[0], pl[1], pl[2], ba);
        BallWorld(*b, f, angle, pl[0], pl[1], pl[2], bb);
        const double da = std::hypot(ja[k.joint][0] - ba[0], ja[k.joint][1] - ba[1], ja[k.joint][2] - ba[2]);
        const double db = std::hypot(jb[k.joint][0] - bb[0], jb[k.joint][1] - bb[1], jb[k.joint][2] - bb[2]);
        // Near the striking joint: within a foot's length and the ball's radius.
        EXPECT_LT(da, 0.36 * ANIM_METRES_TO_UNITS);
        if (base < 0) base = da;
        EXPECT_NEAR(da, base, 3.0);
        EXPECT_NEAR(db, base, 3.0);
        // The mirror reflects in the facing line through the player.
        const double a0 = angle * (2 * 3.14159265358979 / 65536.0);
        const double fx = std::cos(a0), fz = -std::sin(a0);
        auto reflect = [&](const double p[3], double out[3]) {
          const double dx = p[0] - pl[0], dz = p[2] - pl[2];
          const double along = dx * fx + dz * fz;
          out[0] = pl[0] + 2 * along * fx - dx;
          out[1] = p[1];
          out[2] = pl[2] + 2 * along * fz - dz;
        };
        double rb[3];
        reflect(ba, rb);
        EXPECT_NEAR(rb[0], bb[0], 3.0);
        EXPECT_NEAR(rb[2], bb[2], 3.0);
        for (int s = 0; s < 17; ++s) {
          const double p[3] = {double(ja[s][0]), double(ja[s][1]), double(ja[s][2])};
          double r[3];
          reflect(p, r);
          EXPECT_NEAR(r[0], jb[s][0], 3.0) << "segment " << s;
          EXPECT_NEAR(r[1], jb[s][1], 1.0) << "segment " << s;
          EXPECT_NEAR(r[2], jb[s][2], 3.0) << "segment " << s;
        }
      }
    }
  }
}

TEST(AnimData, JointsWorldTruncatesAndMoves) {
  // A pose at rest: the root's origin comes out truncated toward zero and
  // moved; the turn by a quarter takes ahead to the player's left (-z).
  float pose[ANIM_POSE_FLOATS] = {};
  for (int s = 0; s < ANIM_SEGMENTS; ++s) {
    pose[s * 7 + 6] = 1.0f;
    for (int c = 0; c < 3; ++c) pose[s * 7 + c] = anim_aSkeleton[s].restOrigin[c];
  }
  // The root's rest turn: the body's (back, left, down) onto (ahead, up, right).
  pose[3] = 0.0f;
  pose[4] = std::sqrt(0.5f);
  pose[5] = -std::sqrt(0.5f);
  pose[6] = 0.0f;
  pose[0] = 0.5f;
  pose[2] = -0.25f;
  std::int32_t j[17][3];
  animpose_JointsWorld(pose, 0, 0, 100, 10, -200, j);
  EXPECT_EQ(j[0][0], static_cast<std::int32_t>(0.5f * ANIM_METRES_TO_UNITS) + 100);
  EXPECT_EQ(j[0][1], static_cast<std::int32_t>(anim_aSkeleton[0].restOrigin[1] * ANIM_METRES_TO_UNITS) + 10);
  EXPECT_EQ(j[0][2], static_cast<std::int32_t>(-0.25f * ANIM_METRES_TO_UNITS) - 200);  // toward zero: -39
  animpose_JointsWorld(pose, 1, 0, 0, 0, 0, j);
  EXPECT_EQ(j[0][2], 39);
  animpose_JointsWorld(pose, 0, 16384, 0, 0, 0, j);
  EXPECT_NEAR(j[0][0], -39, 1);
  EXPECT_NEAR(j[0][2], -78, 1);
  // Segments hang on their parents: the left hip is beside the root.
  animpose_JointsWorld(pose, 0, 0, 0, 0, 0, j);
  EXPECT_EQ(j[11][1], j[0][1]);
  EXPECT_NE(j[11][2], j[0][2]);
  EXPECT_EQ(j[14][2] - j[0][2], -(j[11][2] - j[0][2]));
}

}  // namespace
