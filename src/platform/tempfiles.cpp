#include "platform/tempfiles.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
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

namespace {
FolderSyncFn s_pfnFolderSync = nullptr;
}  // namespace

void folderSyncFnSet(FolderSyncFn fn) { s_pfnFolderSync = fn; }

bool syncFolderOf(const std::string& hostFile) {
  const size_t slash = hostFile.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : hostFile.substr(0, slash);
  const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  int rc = -1;
  if (fd >= 0) {
    rc = s_pfnFolderSync ? s_pfnFolderSync(fd, dir.c_str()) : fsync(fd);
    const int e = errno;
    close(fd);
    errno = e;
  }
  if (rc != 0) {
    std::fprintf(stderr, "platform: the folder %s could not be synced (%s); %s may not survive a power cut\n",
                 dir.c_str(), std::strerror(errno), hostFile.c_str());
    return false;
  }
  return true;
}

bool replaceWithTemporary(const std::string& tempPath, const std::string& hostPath) {
  if (std::rename(tempPath.c_str(), hostPath.c_str()) != 0) return false;
  syncFolderOf(hostPath);
  return true;
}

}  // namespace platform
