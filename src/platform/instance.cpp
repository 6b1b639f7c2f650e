// Single-instance lock: an flock'ed file per name in the runtime folder.
#include "platform/instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace platform {

struct InstanceLock {
  int fd = -1;
  std::string path;
};

namespace {
std::string lockFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::string base;
  if (runtime && *runtime) {
    base = runtime;
  } else {
    const char* tmp = std::getenv("TMPDIR");
    base = (tmp && *tmp) ? tmp : "/tmp";
    base += "/korvena-" + std::to_string(static_cast<unsigned long>(getuid()));
    mkdir(base.c_str(), 0700);
  }
  std::string dir = base + "/korvena-football";
  mkdir(dir.c_str(), 0700);
  return dir;
}

// A file name for the lock's name: letters and digits kept, the rest '_'.
std::string fileName(const char* name) {
  std::string out;
  for (const char* p = name; *p; ++p) {
    char c = *p;
    bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
    out += keep ? c : '_';
  }
  return out + ".lock";
}
}  // namespace

InstanceResult acquireInstanceLock(const char* name, InstanceLock** lock) {
  if (!name || !*name || !lock) return InstanceResult::Failed;
  std::string path = lockFolder() + "/" + fileName(name);
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return InstanceResult::Failed;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int err = errno;
    close(fd);
    return err == EWOULDBLOCK ? InstanceResult::AlreadyRunning : InstanceResult::Failed;
  }
  auto* l = new InstanceLock;
  l->fd = fd;
  l->path = path;
  *lock = l;
  return InstanceResult::Acquired;
}

void releaseInstanceLock(InstanceLock* lock) {
  if (!lock) return;
  // The file stays: removing it while another process waits to open it would
  // let two processes hold locks on two different files.
  flock(lock->fd, LOCK_UN);
  close(lock->fd);
  delete lock;
}

}  // namespace platform
