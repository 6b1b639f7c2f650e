// make soak: seeded whole matches between computer sides in the optimised
// tree, SOAK seeds for each length the match conditions offer (5, 10 and 15
// minutes: seeds FIRST.. cycle through them), every match watched tick by
// tick for play left unjudged (support/match_watch.h); then the match
// statistics at full time, per length and over all, each mean with its
// standard error beside football's band. Then matches with a person on one
// side (a pass-tapper or the monkey), a quarter as many as the computer's
// unless the third argument says otherwise. It fails when a match did not
// end, a watch found a fault, or a band is out (not the bands of the figures
// the rules hold out of them, corners and penalties: reported apart).
//
// SOAK_JOBS=n plays the matches on n worker processes (default: the
// processors online); the report is the same whatever n. SOAK_CSV=path
// writes one line a match (its figures at full time and after) for analysis.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
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

std::int32_t JobsFromEnvironment() {
  const char* psz = std::getenv("SOAK_JOBS");
  long n = psz && *psz ? std::strtol(psz, nullptr, 10) : sysconf(_SC_NPROCESSORS_ONLN);
  return n < 1 ? 1 : static_cast<std::int32_t>(n);
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
  const long n = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 400;  // seeds a length
  const long first = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 1;
  const long cLengths = static_cast<long>(std::size(mh::kSoakLengths));
  const long persons = argc > 3 ? std::strtol(argv[3], nullptr, 10) : (n * cLengths + 3) / 4;
  std::string why;
  if (!mh::Setup(&why)) {
    std::fprintf(stderr, "soak: %s\n", why.c_str());
    return 2;
  }
  std::vector<mh::Config> ao;
  for (long s = first; s < first + n * cLengths; s++) ao.push_back(mh::StatsConfig(static_cast<std::uint32_t>(s)));
  for (long s = first; s < first + persons; s++) ao.push_back(mh::PersonConfig(static_cast<std::uint32_t>(s)));
  const std::int32_t cJobs = JobsFromEnvironment();
  std::printf("soak: %ld seeds a length (%ld to %ld), %ld person matches, %d jobs\n", n, first, first + n * cLengths - 1,
              persons, cJobs);
  std::fflush(stdout);
  const std::vector<mh::MatchRecord> a = mh::PlayRecords(ao, cJobs, &why);
  if (a.empty()) {
    std::printf("soak: %s\n", why.empty() ? "no matches" : why.c_str());
    return 2;
  }
  mh::SoakTotals t;
  long cWatched = 0, cFaults = 0;
  std::string oFirstFault;
  for (std::size_t i = 0; i < a.size(); i++) {
    const mh::MatchRecord& o = a[i];
    const mh::Config& c = ao[i];
    if (o.iKind == 0) {
      std::printf("seed %u\n", o.uSeed);
      t.Add(o);
    } else {
      std::printf("person seed %u (%s %s)\n", o.uSeed, c.aeSide[0] != mh::SideKind::Computer ? "home" : "away",
                  c.aeSide[0] == mh::SideKind::Monkey || c.aeSide[1] == mh::SideKind::Monkey ? "monkey" : "pass-tapper");
    }
    std::printf("  %s\n", o.sDescribe.c_str());
    cWatched++;
    if (!o.sFault.empty()) {
      std::printf("  FAULT: %s\n", o.sFault.c_str());
      if (cFaults++ == 0) oFirstFault = "seed " + std::to_string(o.uSeed) + ": " + o.sFault;
    }
  }
  if (const char* psz = std::getenv("SOAK_CSV"); psz && *psz) {
    std::ofstream out(psz);
    out << mh::CsvHeader() << "\n";
    for (const mh::MatchRecord& o : a) out << mh::CsvLine(o) << "\n";
    out.close();
    if (!out) std::printf("soak: could not write %s\n", psz);
    else std::printf("soak: %zu matches written to %s\n", a.size(), psz);
  }
  std::printf("%s\n", t.Describe().c_str());
  std::printf("%s", mh::FullTimeReport(a).c_str());
  std::printf("%ld matches watched, %ld with play left unjudged\n", cWatched, cFaults);
  int status = 0;
  if (cFaults) {
    std::printf("first: %s\n", oFirstFault.c_str());
    status = 1;
  }
  if (t.cUnfinished) {
    std::printf("first unfinished: %s\n", t.oFirstFault.c_str());
    status = 1;
  }
  const std::string restarts = t.OutOfBands();
  if (!restarts.empty()) {
    std::printf("out of band (restarts a match): %s\n", restarts.c_str());
    status = 1;
  }
  const std::string bands = mh::FullTimeFailures(a);
  if (!bands.empty()) {
    std::printf("out of band: %s\n", bands.c_str());
    status = 1;
  }
  return status;
}
