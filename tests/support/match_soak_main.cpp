// make soak: seeded whole matches between computer sides in the optimised
// tree, each seed printed before its match so that an abort names it; then
// the match statistics per 90 minutes against real football's bands. Then
// matches with a person on one side (a pass-tapper or the monkey), a quarter
// as many unless the third argument says otherwise. Every match is watched
// tick by tick for play left unjudged (support/match_watch.h).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/match_soak.h"
#include "support/match_watch.h"

namespace {

// match_soak carries N [FIRST]: the keepers' carries over N seeds of the
// pass-tapper, the monkey and the computer on both sides, each printed.
int Carries(long n, long first) {
  namespace mh = match_harness;
  long acCarries[3] = {}, acFaults[3] = {}, acHolds[3] = {};
  const mh::SideKind aeKind[3] = {mh::SideKind::User, mh::SideKind::Monkey, mh::SideKind::Computer};
  const char* const apszKind[3] = {"pass-tapper", "monkey", "computer"};
  for (int i = 0; i < 3; i++) {
    for (long s = first; s < first + n; s++) {
      const mh::Config c = mh::CarryConfig(static_cast<std::uint32_t>(s), aeKind[i]);
      mh::MatchWatch w(c);
      const mh::Result r = mh::RunWatched(c, &w);
      acHolds[i] += w.acKeeperHolds[0] + w.acKeeperHolds[1];
      for (const mh::MatchWatch::Worst& o : w.aoCarries) {
        acCarries[i]++;
        std::printf("%s seed %ld %s keeper (%s): %s%s\n", apszKind[i], s, o.iSide == 0 ? "home" : "away",
                    w.abPerson[o.iSide] ? "person" : "computer", o.Text().c_str(), w.CarryIsFault(o) ? " FAULT" : "");
      }
      std::printf("%s seed %ld: %s\n", apszKind[i], s, r.Describe(c).c_str());
      // The match's other faults, besides the carries said above.
      std::string other;
      acFaults[i] += mh::CarryMatchFaults(w, r, &other);
      if (!other.empty()) std::printf("  FAULT: %s\n", other.c_str());
      std::fflush(stdout);
    }
  }
  long cFaults = 0;
  for (int i = 0; i < 3; i++) {
    std::printf("%s: %ld keeper holds, %ld carries, %ld faults (faulty carries and matches with other faults)\n",
                apszKind[i], acHolds[i], acCarries[i], acFaults[i]);
    cFaults += acFaults[i];
  }
  return cFaults ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  namespace mh = match_harness;
  if (argc > 1 && std::string(argv[1]) == "carries") {
    std::string why;
    if (!mh::Setup(&why)) {
      std::fprintf(stderr, "soak: %s\n", why.c_str());
      return 2;
    }
    return Carries(argc > 2 ? std::strtol(argv[2], nullptr, 10) : 40, argc > 3 ? std::strtol(argv[3], nullptr, 10) : 1);
  }
  const long n = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1000;
  const long first = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 1;
  const long persons = argc > 3 ? std::strtol(argv[3], nullptr, 10) : (n + 3) / 4;
  std::string why;
  if (!mh::Setup(&why)) {
    std::fprintf(stderr, "soak: %s\n", why.c_str());
    return 2;
  }
  mh::SoakTotals t;
  mh::SoakStats st;
  long cWatched = 0, cFaults = 0;
  std::string oFirstFault;
  // Runs a match under the watch and prints it with what the watch found.
  const auto watched = [&](const mh::Config& c) {
    mh::MatchWatch w(c);
    const mh::Result r = mh::RunWatched(c, &w);
    std::printf("  %s\n", r.Describe(c).c_str());
    const std::string f = w.Faults(r);
    cWatched++;
    if (!f.empty()) {
      std::printf("  FAULT: %s\n", f.c_str());
      if (cFaults++ == 0) oFirstFault = "seed " + std::to_string(c.uSeed) + ": " + f;
    }
    std::fflush(stdout);
    return r;
  };
  for (long s = first; s < first + n; s++) {
    std::printf("seed %ld\n", s);
    std::fflush(stdout);
    const mh::Config c = mh::StatsConfig(static_cast<std::uint32_t>(s));
    const mh::Result r = watched(c);
    t.Add(c, r);
    st.Add(c, r);
  }
  for (long s = first; s < first + persons; s++) {
    const mh::Config c = mh::PersonConfig(static_cast<std::uint32_t>(s));
    std::printf("person seed %ld (%s %s)\n", s, c.aeSide[0] != mh::SideKind::Computer ? "home" : "away",
                c.aeSide[0] == mh::SideKind::Monkey || c.aeSide[1] == mh::SideKind::Monkey ? "monkey" : "pass-tapper");
    std::fflush(stdout);
    watched(c);
  }
  std::printf("%s\n", t.Describe().c_str());
  std::printf("%s", st.Report().c_str());
  std::printf("%ld matches watched, %ld with play left unjudged\n", cWatched, cFaults);
  if (cFaults) {
    std::printf("first: %s\n", oFirstFault.c_str());
    return 1;
  }
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
