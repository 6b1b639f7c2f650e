#include "platform/tempfiles.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::string temporaryPathFor(const std::string& hostPath) {
  return hostPath + ".tmp." + std::to_string(static_cast<long>(getpid()));
}

bool processRunning(long pid) {
  if (pid <= 0) return false;
  if (kill(static_cast<pid_t>(pid), 0) == 0) return true;
  // EPERM: it exists, under another user.
  return errno != ESRCH;
}

namespace {

// The process id of a name "<something>.tmp.<digits>", or 0.
long OwnerOf(const std::string& name) {
  const size_t at = name.rfind(".tmp.");
  if (at == std::string::npos || at == 0) return 0;
  const std::string digits = name.substr(at + 5);
  if (digits.empty() || digits.size() > 10) return 0;
  for (char c : digits)
    if (c < '0' || c > '9') return 0;
  return std::strtol(digits.c_str(), nullptr, 10);
}

}  // namespace

int removeStaleTemporaries(const std::string& hostDir) {
  DIR* d = opendir(hostDir.empty() ? "." : hostDir.c_str());
  if (!d) return 0;
  int removed = 0;
  while (dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    const long pid = OwnerOf(name);
    if (pid <= 0 || processRunning(pid)) continue;
    const std::string path = (hostDir.empty() ? std::string(".") : hostDir) + "/" + name;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    if (std::remove(path.c_str()) == 0) ++removed;
  }
  closedir(d);
  return removed;
}

int removeStaleTemporariesBeside(const std::string& hostFile) {
  const size_t slash = hostFile.find_last_of('/');
  if (slash == std::string::npos) return removeStaleTemporaries(".");
  return removeStaleTemporaries(slash == 0 ? "/" : hostFile.substr(0, slash));
}

}  // namespace platform
