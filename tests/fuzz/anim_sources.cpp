// Sources of the animation generator: the row table, the seams, the
// skeleton, the named poses and a clip source, each read as the generator
// reads it. A bad file must be refused with an error, never crash; a clip
// that reads is also built on the project's own skeleton.
#include <cstdlib>
#include <string>

#include "anim/animgen.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string path = korvena_fuzz::WriteInput(data + 1, size - 1, "source.txt");
  static const animgen::Skeleton* skeleton = [] {
    static animgen::Skeleton s;
    const char* src = std::getenv("KORVENA_SOURCE_DIR");
    try {
      s = animgen::ReadSkeleton(std::string(src ? src : ".") + "/assets/anim/skeleton.txt");
      return &s;
    } catch (const animgen::Error&) {
      return static_cast<animgen::Skeleton*>(nullptr);
    }
  }();
  try {
    switch (data[0] % 5) {
      case 0: {
        animgen::Table t = animgen::ReadTable(path);
        for (size_t i = 1; i < t.rows.size(); ++i) {
          if (t.rows[i].id <= t.rows[i - 1].id) korvena_fuzz::Fail("rows kept out of order");
        }
        break;
      }
      case 1: {
        animgen::Table t;
        animgen::ReadSeams(path, t);
        break;
      }
      case 2:
        animgen::ReadSkeleton(path);
        break;
      case 3:
        animgen::ReadPoses(path);
        break;
      default: {
        const animgen::ClipSource src = animgen::ReadClip(path, "fuzz");
        if (skeleton && src.copies.empty() && src.templ.empty()) {
          animgen::Built none;
          const animgen::Clip c = animgen::BuildClip(src, *skeleton, 24, none);
          if (c.pose.size() != 24u * animgen::kPoseFloats) korvena_fuzz::Fail("wrong pose size");
        }
        break;
      }
    }
  } catch (const animgen::Error&) {
  }
  return 0;
}
