// Wall time of histories played through the game's own frame loop, headless,
// every screen answered as a player would and every match entered by a
// results double (won 2-0 or 3-1): one edition, from the set-up screen to the
// next edition's news, and the whole campaign from 1958 to 1998 and back to
// the main menu (target under 60 s). Each run is a fresh game in a child
// process, as the game is started once per process; the start-up and the way
// to the set-up screen are not timed.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>

#include "framework/qdx_window.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "shell/global.h"
#include "support/history_driver.h"
#include "tournament/tmgame.h"
#include "tournament/tmtree.h"

namespace {

using korvena_test::HistoryDriver;

constexpr std::int32_t kSetUp = 45;
constexpr std::int32_t kHub = 47;

// What a child's run gives back.
struct RunResult {
  double dSeconds = 0;
  std::int64_t cFrames = 0;
  std::int32_t cMatches = 0;
  std::int32_t cScreens = 0;
  std::int32_t cEditions = 0;  // editions with a winner in the roll of honour
  std::int32_t cWon = 0;       // ... the human team's
  char szError[256] = {};
};

// The headless platform and the main window over a folder of the run's own
// (settings, saves); the game's data read from the bench tree.
bool Environment(const std::filesystem::path& root) {
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
  std::filesystem::create_directories(root / "run");
  setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
  setenv("XDG_DATA_HOME", (root / "share").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (root / "run").c_str(), 1);
  setenv("KORVENA_BUILD_DIR", exe.parent_path().parent_path().c_str(), 1);
  std::string why;
  if (!platform::init(platform::BackendKind::Headless, &why)) return false;
  platform::settingsReset();
  platform::settingsSetRootFile(platform::SettingsRoot::Machine, (root / "machine" / "machine.txt").string());
  platform::settingsSetRootFile(platform::SettingsRoot::User, (root / "user" / "user.txt").string());
  QDXInitWindowHooks();
  QDXInitActivateHooks();
  return QDXCreateWindow(640, 480, nullptr, 0) != nullptr;
}

// From the main menu to the history set-up: History (first column, second
// row), its film skipped; 1958 with the qualifiers, the map's first team.
// Then the player's answers through the editions: the news pages and the hub
// confirmed, the films skipped, the squad pages and the tables left.
void Answers(HistoryDriver& d) {
  using H = HistoryDriver;
  d.Answer(GAME_MODE_MAIN_MENU, [](H& h) { h.Events({H::kDown, H::kSelect}); });
  d.Answer(84, [](H& h) { h.Events({H::kSkip}); });
  d.Answer(kSetUp, [](H& h) {
    h.Events({H::kLeft, H::kLeft, H::kLeft, H::kLeft, H::kLeft, H::kLeft, H::kLeft, H::kLeft, H::kLeft, H::kLeft,
              H::kDown, H::kLeft, H::kSelect});
  });
  d.Answer(9, [](H& h) { h.Events({H::kSelect}); });
  d.Answer(GAME_MODE_NEWS, [](H& h) { h.Events({H::kSelect}); });
  d.Answer(kHub, [](H& h) { h.Events({H::kSelect}); });
  for (int e : {75, 76, 77, 78, 79}) d.Answer(e, [](H& h) { h.Events({H::kSkip}); });
  d.Answer(13, [](H& h) { h.Events({H::kBack, H::kBack}); });
  for (int e : {48, 55, 56}) d.Answer(e, [](H& h) { h.Events({H::kEscape}); });
  d.DefaultAnswer([](H& h) { h.Events({H::kSelect}); });
  d.MatchDouble([&d] { return d.Matches() % 2 ? std::pair{3, 1} : std::pair{2, 0}; });
}

// The folder of the run in process pid.
std::filesystem::path RunRoot(pid_t pid) {
  return std::filesystem::temp_directory_path() / ("korvena_bench_history_run_" + std::to_string(pid));
}

// One history in this (child) process, timed from the set-up screen until
// `done` holds.
RunResult RunHere(const std::function<bool(const HistoryDriver&)>& done, std::int32_t limit) {
  RunResult r;
  if (!Environment(RunRoot(getpid()))) {
    std::snprintf(r.szError, sizeof r.szError, "no headless platform");
    return r;
  }
  {
    HistoryDriver d;
    Answers(d);
    if (!d.Start() || !d.RunUntil([&] { return d.Mode() == kSetUp; }, 3000)) {
      std::snprintf(r.szError, sizeof r.szError, "no history set-up: %s", d.ModesText().c_str());
      return r;
    }
    const std::int64_t iFirst = d.Steps();
    const auto t0 = std::chrono::steady_clock::now();
    const bool bDone = d.RunUntil([&] { return done(d); }, limit);
    r.dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (!bDone) std::snprintf(r.szError, sizeof r.szError, "the run did not end: %.200s", d.ModesText().c_str());
    r.cFrames = d.Steps() - iFirst;
    r.cMatches = d.Matches();
    r.cScreens = static_cast<std::int32_t>(d.Modes().size());
    for (const RollOfHonourEntry& e : tmglobal.aRoll) {
      r.cEditions += e.Winner != 0;
      r.cWon += e.Winner != 0 && e.Winner == tmglobal.aHumans[0].Name;
    }
  }
  return r;
}

// One history per iteration, each in a child process.
void HistoryRun(benchmark::State& state, const std::function<bool(const HistoryDriver&)>& done, std::int32_t limit) {
  RunResult r;
  for (auto _ : state) {
    int fd[2];
    if (pipe(fd) != 0) {
      state.SkipWithError("no pipe");
      break;
    }
    const pid_t pid = fork();
    if (pid == 0) {
      close(fd[0]);
      const RunResult rChild = RunHere(done, limit);
      const ssize_t n = write(fd[1], &rChild, sizeof rChild);
      _exit(n == static_cast<ssize_t>(sizeof rChild) ? 0 : 1);
    }
    close(fd[1]);
    r = RunResult{};
    const bool bRead = pid > 0 && read(fd[0], &r, sizeof r) == static_cast<ssize_t>(sizeof r);
    close(fd[0]);
    int status = 0;
    if (pid > 0) {
      waitpid(pid, &status, 0);
      std::error_code ec;
      std::filesystem::remove_all(RunRoot(pid), ec);
    }
    if (!bRead) std::snprintf(r.szError, sizeof r.szError, "the run's process failed (status %d)", status);
    if (r.szError[0]) {
      state.SkipWithError(r.szError);
      break;
    }
    state.SetIterationTime(r.dSeconds);
  }
  state.counters["frames"] = static_cast<double>(r.cFrames);
  state.counters["matches"] = r.cMatches;
  state.counters["screens"] = r.cScreens;
  state.counters["editions"] = r.cEditions;
  state.counters["won"] = r.cWon;
  state.counters["us_per_frame"] = r.cFrames > 0 ? r.dSeconds * 1e6 / static_cast<double>(r.cFrames) : 0.0;
}

// 1958 from the set-up to the news of the team's next edition.
void BM_HistoryEditionThroughTheScreens(benchmark::State& state) {
  HistoryRun(
      state,
      [](const HistoryDriver& d) {
        return (tmglobal.iYear != 58 && d.Mode() == GAME_MODE_NEWS) || d.Mode() == GAME_MODE_MAIN_MENU;
      },
      80000);
}
BENCHMARK(BM_HistoryEditionThroughTheScreens)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// 1958 to 1998 to the end of the history, back in the main menu.
void BM_HistoryCampaignThroughTheScreens(benchmark::State& state) {
  HistoryRun(state, [](const HistoryDriver& d) { return d.Mode() == GAME_MODE_MAIN_MENU; }, 200000);
}
BENCHMARK(BM_HistoryCampaignThroughTheScreens)->Unit(benchmark::kSecond)->UseManualTime()->Iterations(1);

}  // namespace
