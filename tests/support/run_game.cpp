#include "support/run_game.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

extern char** environ;

namespace korvena_test {

GameProcess startGame(const std::string& exe, const std::map<std::string, std::string>& env,
                      const std::string& outputDir, const std::string& workingDir) {
  std::map<std::string, std::string> all;
  for (char** e = environ; *e; ++e) {
    const char* eq = std::strchr(*e, '=');
    if (eq) all[std::string(*e, static_cast<size_t>(eq - *e))] = eq + 1;
  }
  for (const auto& [k, v] : env) {
    if (v.empty())
      all.erase(k);
    else
      all[k] = v;
  }
  std::vector<std::string> strings;
  for (const auto& [k, v] : all) strings.push_back(k + "=" + v);
  std::vector<char*> envp;
  for (std::string& s : strings) envp.push_back(s.data());
  envp.push_back(nullptr);
  std::string outPath = outputDir + "/stdout.txt";
  std::string errPath = outputDir + "/stderr.txt";
  GameProcess process;
  process.outputDir = outputDir;
  process.pid = fork();
  if (process.pid == 0) {
    int o = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int e = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int in = open("/dev/null", O_RDONLY);
    dup2(o, 1);
    dup2(e, 2);
    dup2(in, 0);
    if (!workingDir.empty() && chdir(workingDir.c_str()) != 0) _exit(126);
    char* argv[] = {const_cast<char*>(exe.c_str()), nullptr};
    execve(exe.c_str(), argv, envp.data());
    _exit(127);
  }
  return process;
}

GameRun finishGame(const GameProcess& process, int timeLimitSeconds) {
  GameRun run;
  const pid_t pid = process.pid;
  auto start = std::chrono::steady_clock::now();
  int status = 0;
  for (;;) {
    pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid || r < 0) break;
    if (std::chrono::steady_clock::now() - start > std::chrono::seconds(timeLimitSeconds)) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      run.timedOut = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (!run.timedOut && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  run.out = readFile(process.outputDir + "/stdout.txt");
  run.err = readFile(process.outputDir + "/stderr.txt");
  return run;
}

GameRun runGame(const std::string& exe, const std::map<std::string, std::string>& env,
                const std::string& outputDir, int timeLimitSeconds) {
  return finishGame(startGame(exe, env, outputDir), timeLimitSeconds);
}

ToolRun runTool(const std::string& commandLine) {
  ToolRun run;
  const std::string command = commandLine + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) run.out += buffer;
  const int status = pclose(pipe);
  run.exitCode = status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

void GameRunner::SetUp() {
  const char* build = std::getenv("KORVENA_BUILD_DIR");
  ASSERT_NE(build, nullptr);
  exe_ = std::string(build) + "/bin/korvena";
  ASSERT_TRUE(std::filesystem::exists(exe_)) << exe_;
  env_ = {{"KORVENA_BACKEND", "headless"},
          {"XDG_CONFIG_HOME", home_ / "config"},
          {"XDG_DATA_HOME", home_ / "share"},
          {"XDG_RUNTIME_DIR", home_ / "run"},
          {"KORVENA_MACHINE_SETTINGS", home_ / "machine.txt"},
          {"HOME", home_.path()}};
  std::filesystem::create_directories(home_ / "run");
}

GameRun GameRunner::run(const std::string& script) { return runWithIntro(script + "\n" + kSkipIntro); }

GameRun GameRunner::runWithIntro(const std::string& script) {
  home_.write("script.txt", script);
  env_["KORVENA_SCRIPT"] = home_ / "script.txt";
  return runGame(exe_, env_, home_.path(), timeLimitSeconds_);
}

}  // namespace korvena_test
