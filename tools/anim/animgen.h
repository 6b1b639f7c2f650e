#pragma once
// The animation generator: reads the row table, the skeleton and the clip
// sources of assets/anim/, builds every clip's pose frames and ball track,
// checks them and writes them as C++ for the match engine.
#include <array>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace animgen {

// Every failure names the file and line, or the clip and frame, it concerns.
struct Error : std::runtime_error {
  using std::runtime_error::runtime_error;
};

constexpr int kSegments = 17;
constexpr int kPoseFloats = kSegments * 7;
constexpr double kUnits = 157.4784;  // pitch units a metre
constexpr double kBallRadius = 18.0 / kUnits;

enum RowType { kGeneral = 0, kKick = 1, kGoalie = 2, kGesture = 3, kFall = 4, kCarry = 5 };

struct Row {
  int line = 0;
  int id = 0;
  int type = 0;
  int start = 0, end = 0;
  int contact = -1;
  int followId = 1, followFrame = -1;
  bool mirror = false, look = false;
  int step = 0, hook = 0, dispatch = 0;
  int moveClass = 0;
  bool track = false;
  std::string clip;
};

struct Seam {
  int line = 0;
  int fromId = 0, fromFrame = 0;  // the frame shown last (a hold or a switch)
  int toId = 0, toFrame = 0;      // the frame the next clip starts at
};

struct Table {
  std::vector<Row> rows;
  std::vector<Seam> seams;
  const Row* Find(int id) const;
};

struct Segment {
  std::string name;
  int parent = -1;
  bool push = false, pop = false;
  double origin[3] = {};  // rest origin in the parent's space (segment 0: x, height, lateral)
  double bone[3] = {};    // the bone in the segment's own space (drawn; leaves end there)
  double maxTurn = 360;   // largest turn from the rest orientation, degrees
};

// A named point fixed to a segment (ball contacts, hands, card).
struct Point {
  std::string name;
  int segment = 0;
  double p[3] = {};
};

struct Skeleton {
  Segment seg[kSegments];
  std::vector<Point> points;
  const Point* FindPoint(const std::string& name) const;
};

// One parameter or key line of a clip source.
struct Key {
  int line = 0;
  int frame = 0;
  std::string channel;
  double value = 0;
};

struct BallKey {
  int line = 0;
  int frame = 0;
  std::string mode;  // at (x y z in the player's frame), point (a skeleton point), fly (velocity)
  std::string point;
  double p[3] = {};
};

struct PoseCopy {
  int line = 0;
  int frame = 0;
  std::string clip;
  int clipFrame = 0;
  bool keepRoot = false;
};

struct ClipSource {
  std::string name, file;
  std::string templ;
  std::map<std::string, std::pair<double, int>> params;  // value, line
  std::map<std::string, std::pair<std::string, int>> words;
  std::vector<Key> keys;
  std::vector<BallKey> balls;
  std::vector<PoseCopy> copies;
  double Param(const std::string& name, double fallback) const;
  std::string Word(const std::string& name, const std::string& fallback) const;
};

// Channel values of one frame, by name.
using Channels = std::map<std::string, double>;

struct Clip {
  std::string name;
  int frames = 0;
  bool loop = false;
  bool skid = false;      // feet may slide (a skidding stop)
  double speed = 0;       // the player's own speed while it plays, units a tick
  double dir = 0;         // and the direction he moves in, degrees from ahead toward the left
  bool hasTrack = false;
  std::vector<Channels> channels;  // per frame, as built
  std::vector<float> pose;         // frames x 119
  std::vector<float> track;        // frames x 3, or empty
  // The contact the checks verify: frame, and the skeleton point that meets the ball.
  int contactFrame = -1;
  std::string contactPoint;
  std::vector<int> bands;          // allowed height bands at contact (empty: any)
};

// Named poses (assets/anim/poses.txt): channel values a key line can set at once.
using PoseLibrary = std::map<std::string, std::map<std::string, double>>;

// Sources.
Table ReadTable(const std::string& path);
PoseLibrary ReadPoses(const std::string& path);
void ReadSeams(const std::string& path, Table& table);
Skeleton ReadSkeleton(const std::string& path);
ClipSource ReadClip(const std::string& path, const std::string& name, const PoseLibrary& poses = {});

// Parsing helpers shared by the readers (file and line in every message).
double ParseNumber(const std::string& word, const std::string& file, int line);
int ParseInt(const std::string& word, const std::string& file, int line);

// Building: clips in dependency order (pose copies refer to built clips).
struct Built {
  std::map<std::string, Clip> clips;
};
void BuildAll(const Table& table, const Skeleton& skel, const std::map<std::string, ClipSource>& sources, Built& out);
Clip BuildClip(const ClipSource& src, const Skeleton& skel, int frames, const Built& done);

// Frames a clip needs for its rows (and their follow-ons).
int FramesNeeded(const Table& table, const std::string& clip);

// Pose of one frame from channel values.
void PoseFromChannels(const Skeleton& skel, const Channels& ch, float* pose);
// The world position (metres, player frame) of a skeleton point in a pose.
// Where the keeper's save choice uses an animation: the lowest and highest
// height class that pick it (-1 when none does) and its columns (bit 0 the
// first, bit 1 the second).
struct SaveUse {
  int lo = -1, hi = -1, columns = 0;
};
SaveUse SaveUseOf(int id);
std::array<double, 3> PointInPose(const Skeleton& skel, const float* pose, const std::string& point, bool mirror);

// Checks; throw Error naming clip and frame.
void CheckAll(const Table& table, const Skeleton& skel, const Built& built);
std::vector<int> KickBands(int id);

// Output.
std::vector<std::string> SourceFiles(const Table& table, const Skeleton& skel, const Built& built, int parts);
void WriteIfChanged(const std::string& path, const std::string& text);
std::vector<std::uint8_t> Sheet(const Table& table, const Skeleton& skel, const Built& built);

// Whole run from an assets folder.
struct Loaded {
  Table table;
  PoseLibrary poses;
  Skeleton skel;
  std::map<std::string, ClipSource> sources;
  Built built;
};
void LoadAndBuild(const std::string& assets, Loaded& out, bool check = true);

}  // namespace animgen
