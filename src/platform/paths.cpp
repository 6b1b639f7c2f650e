// The game path resolver, files by game path, drives and volume labels.
#include "platform/paths.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/internal.h"

namespace platform {
namespace {

std::mutex g_mutex;
std::string g_exeOverride;
std::atomic<uint32_t> g_rootGeneration{0};

// Unicode code points of Windows-1252 bytes 0x80..0x9F (0 where undefined).
const uint16_t kHigh1252[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string* out, uint32_t cp) {
  if (cp < 0x80) {
    *out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out += static_cast<char>(0xC0 | (cp >> 6));
    *out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *out += static_cast<char>(0xE0 | (cp >> 12));
    *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool wildcardMatch(const char* pattern, const char* name) {
  // Iterative '*' / '?' match on folded bytes.
  const char* starP = nullptr;
  const char* starN = nullptr;
  while (*name) {
    if (*pattern == '*') {
      starP = pattern++;
      starN = name;
    } else if (*pattern == '?' ||
               (*pattern && internal::foldCp1252(static_cast<unsigned char>(*pattern)) == internal::foldCp1252(static_cast<unsigned char>(*name)))) {
      ++pattern;
      ++name;
    } else if (starP) {
      pattern = starP + 1;
      name = ++starN;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == 0;
}

std::vector<std::string> splitComponents(const std::string& path) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i <= path.size()) {
    size_t j = path.find_first_of("/\\", i);
    if (j == std::string::npos) j = path.size();
    std::string c = path.substr(i, j - i);
    if (!c.empty() && c != ".") {
      if (c == "..") {
        if (!out.empty()) out.pop_back();
      } else {
        out.push_back(c);
      }
    }
    i = j + 1;
  }
  return out;
}

std::string joinComponents(const std::vector<std::string>& parts) {
  if (parts.empty()) return "/";
  std::string s;
  for (const std::string& p : parts) s += "/" + p;
  return s;
}

bool exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

bool isDirectory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The on-disk name in dir matching the Windows-1252 name without regard to
// case, or the name (as UTF-8) when none matches.
std::string matchComponent(const std::string& dir, const std::string& name1252) {
  std::string utf8 = cp1252ToUtf8(name1252);
  if (exists(dir + "/" + utf8)) return utf8;
  DIR* d = opendir(dir.empty() ? "/" : dir.c_str());
  if (!d) return utf8;
  std::string found;
  while (dirent* e = readdir(d)) {
    std::string n = e->d_name;
    if (n == "." || n == "..") continue;
    if (internal::sameNameCp1252(utf8ToCp1252(n), name1252)) {
      // Several spellings: the first in byte order wins, so the result does
      // not depend on the directory's order.
      if (found.empty() || n < found) found = n;
    }
  }
  closedir(d);
  return found.empty() ? utf8 : found;
}

std::string envDir(const char* var, const char* homeFallback) {
  const char* v = std::getenv(var);
  if (v && *v == '/') return v;
  const char* home = std::getenv("HOME");
  if (home && *home) return std::string(home) + homeFallback;
  return std::string();
}

int driveIndex(const char* root) {
  if (!root || !root[0] || root[1] != ':') return -1;
  if (root[2] != 0 && root[2] != '\\' && root[2] != '/') return -1;
  if (root[2] != 0 && root[3] != 0) return -1;
  char c = static_cast<char>(internal::foldCp1252(static_cast<unsigned char>(root[0])));
  if (c == 'c') return 0;
  if (c == 'd') return 1;
  return -1;
}

}  // namespace

std::string cp1252ToUtf8(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (unsigned char c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0xA0) {
      uint16_t cp = kHigh1252[c - 0x80];
      appendUtf8(&out, cp ? cp : c);
    } else {
      appendUtf8(&out, c);
    }
  }
  return out;
}

std::string utf8ToCp1252(const std::string& text) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    uint32_t cp = 0;
    size_t len = 1;
    if (c < 0x80) {
      cp = c;
    } else if ((c & 0xE0) == 0xC0 && i + 1 < text.size()) {
      cp = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
      len = 2;
    } else if ((c & 0xF0) == 0xE0 && i + 2 < text.size()) {
      cp = ((c & 0x0Fu) << 12) | ((static_cast<unsigned char>(text[i + 1]) & 0x3Fu) << 6) |
           (static_cast<unsigned char>(text[i + 2]) & 0x3Fu);
      len = 3;
    } else if ((c & 0xF8) == 0xF0 && i + 3 < text.size()) {
      cp = 0x10000;  // outside the code page
      len = 4;
    } else {
      cp = '?';
    }
    i += len;
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out += static_cast<char>(cp);
      continue;
    }
    char mapped = '?';
    for (int k = 0; k < 32; ++k)
      if (kHigh1252[k] == cp && cp != 0) mapped = static_cast<char>(0x80 + k);
    out += mapped;
  }
  return out;
}

void setExecutableDir(const std::string& dir) {
  std::lock_guard<std::mutex> g(g_mutex);
  g_exeOverride = dir;
  while (g_exeOverride.size() > 1 && g_exeOverride.back() == '/') g_exeOverride.pop_back();
  g_rootGeneration.fetch_add(1);
}

std::string executableDir() {
  {
    std::lock_guard<std::mutex> g(g_mutex);
    if (!g_exeOverride.empty()) return g_exeOverride;
  }
  char buf[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
  if (n <= 0) return ".";
  std::string p(buf, static_cast<size_t>(n));
  size_t slash = p.find_last_of('/');
  return slash == 0 ? "/" : p.substr(0, slash);
}

std::string gameRootDir() { return joinComponents(splitComponents(executableDir() + "/..")); }

std::string saveDir() {
  std::string base = envDir("XDG_DATA_HOME", "/.local/share");
  if (base.empty()) return gameRootDir() + "/savegame";
  return base + "/korvena-football/savegame";
}

std::string resolvePath(const char* gamePath) {
  std::string s = gamePath ? gamePath : "";
  if (!s.empty() && s[0] == '/') return s;  // a host path
  std::vector<std::string> parts;
  std::string rest = s;
  if (s.size() >= 2 && s[1] == ':') {
    char letter = static_cast<char>(internal::foldCp1252(static_cast<unsigned char>(s[0])));
    rest = s.substr(2);
    if (letter == 'c') {
      // the host's root directory
    } else if (letter == 'd') {
      parts = splitComponents(gameRootDir());
    } else {
      // No such drive: a path that cannot exist.
      return std::string("/nonexistent-drive-") + static_cast<char>(letter) + "/" + cp1252ToUtf8(rest);
    }
  } else {
    parts = splitComponents(executableDir());
  }
  size_t anchor = 0;  // components below this index are matched without regard to case
  // Apply the relative components lexically ("..\" climbs from the base).
  std::vector<std::string> all = parts;
  {
    size_t i = 0;
    while (i <= rest.size()) {
      size_t j = rest.find_first_of("/\\", i);
      if (j == std::string::npos) j = rest.size();
      std::string c = rest.substr(i, j - i);
      if (c == "..") {
        if (!all.empty()) all.pop_back();
      } else if (!c.empty() && c != ".") {
        all.push_back(c);
      }
      i = j + 1;
    }
  }
  // The save folder lives in the user's data folder.
  std::vector<std::string> root = splitComponents(gameRootDir());
  bool underRoot = all.size() > root.size() && std::equal(root.begin(), root.end(), all.begin());
  if (underRoot && internal::sameNameCp1252(all[root.size()], "savegame")) {
    std::vector<std::string> save = splitComponents(saveDir());
    std::vector<std::string> mapped = save;
    mapped.insert(mapped.end(), all.begin() + static_cast<long>(root.size()) + 1, all.end());
    all = mapped;
    anchor = save.size();
  } else {
    anchor = 0;
  }
  // Match each component against the disk.
  std::string path;
  for (size_t i = 0; i < all.size(); ++i) {
    std::string name = i < anchor ? all[i] : matchComponent(path.empty() ? "/" : path, all[i]);
    path += "/" + name;
  }
  if (path.empty()) path = "/";
  bool trailing = !rest.empty() && (rest.back() == '\\' || rest.back() == '/');
  if (trailing && path != "/") path += "/";
  return path;
}

FILE* openFile(const char* gamePath, const char* mode) {
  if (!gamePath || !mode) return nullptr;
  std::string path = resolvePath(gamePath);
  if (std::strpbrk(mode, "wa")) {
    // The save folder is made on first use.
    std::string save = saveDir();
    if (path.compare(0, save.size(), save) == 0) {
      size_t slash = path.find_last_of('/');
      if (slash != std::string::npos && slash > 0) makeDirectories(path.substr(0, slash).c_str());
    }
  }
  return std::fopen(path.c_str(), mode);
}

bool fileExists(const char* gamePath) {
  std::string path = resolvePath(gamePath);
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), R_OK) == 0;
}

bool fileIsNewer(const char* gamePath, const char* thanGamePath) {
  struct stat a, b;
  if (stat(resolvePath(gamePath).c_str(), &a) != 0 || stat(resolvePath(thanGamePath).c_str(), &b) != 0) return false;
  if (a.st_mtim.tv_sec != b.st_mtim.tv_sec) return a.st_mtim.tv_sec > b.st_mtim.tv_sec;
  return a.st_mtim.tv_nsec > b.st_mtim.tv_nsec;
}

bool deleteFile(const char* gamePath) { return unlink(resolvePath(gamePath).c_str()) == 0; }

bool copyFile(const char* fromPath, const char* toPath, bool failIfExists) {
  std::string from = resolvePath(fromPath);
  std::string to = resolvePath(toPath);
  if (failIfExists && exists(to)) return false;
  FILE* in = std::fopen(from.c_str(), "rb");
  if (!in) return false;
  std::string tmp = to + ".copying." + std::to_string(static_cast<long>(getpid()));
  FILE* out = std::fopen(tmp.c_str(), "wb");
  if (!out) {
    std::fclose(in);
    return false;
  }
  char buf[65536];
  bool ok = true;
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, in)) > 0)
    if (std::fwrite(buf, 1, n, out) != n) ok = false;
  if (std::ferror(in)) ok = false;
  std::fclose(in);
  if (std::fclose(out) != 0) ok = false;
  if (ok) ok = std::rename(tmp.c_str(), to.c_str()) == 0;
  if (!ok) unlink(tmp.c_str());
  return ok;
}

bool moveFile(const char* fromPath, const char* toPath) {
  std::string from = resolvePath(fromPath);
  std::string to = resolvePath(toPath);
  if (!exists(from) || exists(to)) return false;
  if (std::rename(from.c_str(), to.c_str()) == 0) return true;
  if (!copyFile(fromPath, toPath, true)) return false;
  return unlink(from.c_str()) == 0;
}

bool makeDirectories(const char* gamePath) {
  std::string path = resolvePath(gamePath);
  std::string cur;
  for (const std::string& c : splitComponents(path)) {
    cur += "/" + c;
    if (!isDirectory(cur) && mkdir(cur.c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  return isDirectory(path);
}

uint32_t fileAttributes(const char* gamePath) {
  std::string path = resolvePath(gamePath);
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return kFileAttributeInvalid;
  uint32_t a = 0;
  if (S_ISDIR(st.st_mode)) a |= kFileAttributeDirectory;
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) a |= kFileAttributeReadOnly;
  return a ? a : kFileAttributeNormal;
}

bool setFileAttributes(const char* gamePath, uint32_t attributes) {
  std::string path = resolvePath(gamePath);
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return false;
  mode_t mode = st.st_mode & 07777;
  if (attributes & kFileAttributeReadOnly)
    mode &= static_cast<mode_t>(~(S_IWUSR | S_IWGRP | S_IWOTH));
  else
    mode |= S_IWUSR;
  return chmod(path.c_str(), mode) == 0;
}

std::vector<DirectoryEntry> listDirectory(const char* gamePattern) {
  std::vector<DirectoryEntry> out;
  std::string pat = gamePattern ? gamePattern : "";
  size_t sep = pat.find_last_of("\\/");
  std::string dirPart = sep == std::string::npos ? std::string() : pat.substr(0, sep + 1);
  std::string namePattern = sep == std::string::npos ? pat : pat.substr(sep + 1);
  if (dirPart.size() == 2 && dirPart[1] == ':') dirPart += "\\";
  std::string dir = dirPart.empty() ? executableDir() : resolvePath(dirPart.c_str());
  if (namePattern.empty()) namePattern = "*";
  DIR* d = opendir(dir.c_str());
  if (!d) return out;
  while (dirent* e = readdir(d)) {
    std::string n = e->d_name;
    if (n == "." || n == "..") continue;
    std::string n1252 = utf8ToCp1252(n);
    if (!wildcardMatch(namePattern.c_str(), n1252.c_str())) continue;
    DirectoryEntry entry;
    entry.name = n1252;
    struct stat st;
    if (stat((dir + "/" + n).c_str(), &st) == 0) {
      entry.isDirectory = S_ISDIR(st.st_mode);
      entry.size = static_cast<uint64_t>(st.st_size);
    }
    out.push_back(entry);
  }
  closedir(d);
  std::sort(out.begin(), out.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
  return out;
}

uint32_t logicalDriveStrings(char* buffer, uint32_t bufferSize) {
  static const char kDrives[] = "C:\\\0D:\\\0";  // and the final terminator
  const uint32_t needed = sizeof(kDrives) - 1;   // 8: without the final terminator
  if (buffer && bufferSize >= needed + 1) std::memcpy(buffer, kDrives, needed + 1);
  return needed;
}

std::vector<std::string> logicalDrives() { return {"C:\\", "D:\\"}; }

DriveType driveType(const char* root) {
  switch (driveIndex(root)) {
    case 0:
      return DriveType::Fixed;
    case 1:
      return DriveType::CdRom;
    default:
      return DriveType::NoRootDir;
  }
}

bool volumeLabel(const char* root, std::string* label) {
  int i = driveIndex(root);
  if (i < 0) return false;
  if (label) *label = i == 1 ? kDiscVolumeLabel : "";
  return true;
}

}  // namespace platform

namespace platform::internal {

unsigned char foldCp1252(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 16);
  if (c == 0x9F) return 0xFF;
  return c;
}

uint32_t pathRootGeneration() { return g_rootGeneration.load(); }

bool sameNameCp1252(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (foldCp1252(static_cast<unsigned char>(a[i])) != foldCp1252(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace platform::internal
