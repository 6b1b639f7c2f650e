#pragma once
// Runs the real game executable headless with its own environment and
// collects its exit code and output.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace korvena_test {

struct GameRun {
  int exitCode = -1;  // -1: killed after the time limit or by a signal
  bool timedOut = false;
  std::string out;
  std::string err;
};

// env: variables to set ("" as value removes the variable).
inline GameRun runGame(const std::string& exe, const std::map<std::string, std::string>& env,
                       const std::string& outputDir, int timeLimitSeconds = 120) {
  GameRun run;
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
  pid_t pid = fork();
  if (pid == 0) {
    int o = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int e = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int in = open("/dev/null", O_RDONLY);
    dup2(o, 1);
    dup2(e, 2);
    dup2(in, 0);
    char* argv[] = {const_cast<char*>(exe.c_str()), nullptr};
    execve(exe.c_str(), argv, envp.data());
    _exit(127);
  }
  auto start = std::chrono::steady_clock::now();
  int status = 0;
  for (;;) {
    pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid) break;
    if (std::chrono::steady_clock::now() - start > std::chrono::seconds(timeLimitSeconds)) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      run.timedOut = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (!run.timedOut && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  auto slurp = [](const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  };
  run.out = slurp(outPath);
  run.err = slurp(errPath);
  return run;
}

}  // namespace korvena_test
