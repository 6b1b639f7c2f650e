// make soak: seeded whole matches between computer sides in the optimised
// tree, each seed printed before its match so that an abort names it; then
// the match statistics per 90 minutes against real football's bands.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/match_soak.h"

int main(int argc, char** argv) {
  namespace mh = match_harness;
  const long n = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1000;
  const long first = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 1;
  std::string why;
  if (!mh::Setup(&why)) {
    std::fprintf(stderr, "soak: %s\n", why.c_str());
    return 2;
  }
  mh::SoakTotals t;
  mh::SoakStats st;
  for (long s = first; s < first + n; s++) {
    std::printf("seed %ld\n", s);
    std::fflush(stdout);
    const mh::Config c = mh::StatsConfig(static_cast<std::uint32_t>(s));
    const mh::Result r = mh::Run(c);
    t.Add(c, r);
    st.Add(c, r);
    std::printf("  %s\n", r.Describe(c).c_str());
    std::fflush(stdout);
  }
  std::printf("%s\n", t.Describe().c_str());
  std::printf("%s", st.Report().c_str());
  if (t.cUnfinished) {
    std::printf("first unfinished: %s\n", t.oFirstFault.c_str());
    return 1;
  }
  const std::string restarts = t.OutOfBands();
  if (!restarts.empty()) {
    std::printf("out of band: %s\n", restarts.c_str());
    return 1;
  }
  const std::string bands = st.Failures();
  if (!bands.empty()) {
    std::printf("out of band: %s\n", bands.c_str());
    return 1;
  }
  return 0;
}
