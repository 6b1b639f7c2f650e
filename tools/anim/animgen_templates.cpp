// Templates: the clips that follow a pattern are made from a few parameters.
#include "animgen_internal.h"

namespace animgen {

void ExpandTemplate(const ClipSource& src, int frames, const Skeleton& skel, const Built& done, Curves& out) {
  const std::string t = src.templ;
  if (t.empty() || t == "pose") return;
  throw Error(src.file + ": unknown template \"" + t + "\"");
}

}  // namespace animgen
