// The settings store: two roots of keys and values kept in text files.
#include "platform/settings.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <vector>

#include "platform/internal.h"
#include "platform/paths.h"
#include "platform/tempfiles.h"

namespace platform {

struct SettingsKey {
  SettingsRoot root;
  std::string path;
};

namespace {

struct Value {
  std::string name;
  SettingsType type = SettingsType::Binary;
  std::string data;  // bytes; strings without their terminator; DWORDs 4 bytes little-endian
};

struct Key {
  std::string path;
  std::vector<Value> values;
};

struct Root {
  std::string fileOverride;
  bool loaded = false;
  bool dirty = false;
  std::vector<Key> keys;
  // The failed write last said on standard error ("<file>: <reason>"):
  // the same failure again is not said again until a write succeeds.
  std::string failureSaid;
};

std::mutex g_mutex;
Root g_roots[2];
SettingsFileWriteFn g_pfnFileWrite = nullptr;

// Key paths compare with '/' as '\' and without leading, trailing or doubled
// separators.
std::string normalisePath(const char* path) {
  std::string out;
  for (const char* p = path ? path : ""; *p; ++p) {
    char c = *p == '/' ? '\\' : *p;
    if (c == '\\' && (out.empty() || out.back() == '\\')) continue;
    out += c;
  }
  while (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

std::string defaultFile(SettingsRoot root) {
  if (root == SettingsRoot::Machine) {
    // Test runs of the whole game keep the machine root in their own home.
    const char* file = std::getenv("KORVENA_MACHINE_SETTINGS");
    if (file && *file == '/') return file;
    return gameRootDir() + "/settings/machine.txt";
  }
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (xdg && *xdg == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = (home && *home) ? std::string(home) + "/.config" : gameRootDir() + "/settings";
  }
  return base + "/korvena-football/user.txt";
}

std::string fileOf(SettingsRoot root) {
  const Root& r = g_roots[static_cast<int>(root)];
  return r.fileOverride.empty() ? defaultFile(root) : r.fileOverride;
}

// ---- text form -------------------------------------------------------------

void appendQuoted(std::string* out, const std::string& bytes) {
  static const char kHex[] = "0123456789abcdef";
  *out += '"';
  for (unsigned char c : bytes) {
    if (c == '"' || c == '\\') {
      *out += '\\';
      *out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7F) {
      *out += "\\x";
      *out += kHex[c >> 4];
      *out += kHex[c & 15];
    } else {
      *out += static_cast<char>(c);
    }
  }
  *out += '"';
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads a quoted string at line[*pos]; *pos ends after the closing quote.
bool readQuoted(const std::string& line, size_t* pos, std::string* out) {
  size_t i = *pos;
  if (i >= line.size() || line[i] != '"') return false;
  ++i;
  out->clear();
  while (i < line.size()) {
    char c = line[i++];
    if (c == '"') {
      *pos = i;
      return true;
    }
    if (c != '\\') {
      *out += c;
      continue;
    }
    if (i >= line.size()) return false;
    char e = line[i++];
    if (e == '"' || e == '\\') {
      *out += e;
    } else if (e == 'x') {
      if (i + 2 > line.size()) return false;
      int hi = hexDigit(line[i]), lo = hexDigit(line[i + 1]);
      if (hi < 0 || lo < 0) return false;
      *out += static_cast<char>(hi * 16 + lo);
      i += 2;
    } else {
      return false;
    }
  }
  return false;  // no closing quote
}

std::string serialise(const Root& root, const char* title) {
  std::string out = std::string("; Korvena Football settings: ") + title + "\n";
  for (const Key& key : root.keys) {
    out += "\n[" + key.path + "]\n";
    for (const Value& v : key.values) {
      if (v.name.empty())
        out += "@";
      else
        appendQuoted(&out, v.name);
      out += "=";
      switch (v.type) {
        case SettingsType::DWord: {
          uint32_t d = 0;
          for (int i = 0; i < 4 && i < static_cast<int>(v.data.size()); ++i)
            d |= static_cast<uint32_t>(static_cast<unsigned char>(v.data[static_cast<size_t>(i)])) << (8 * i);
          char buf[16];
          std::snprintf(buf, sizeof buf, "dword:%08x", d);
          out += buf;
          break;
        }
        case SettingsType::String:
          out += "string:";
          appendQuoted(&out, v.data);
          break;
        case SettingsType::Binary: {
          out += "hex:";
          char buf[4];
          for (size_t i = 0; i < v.data.size(); ++i) {
            std::snprintf(buf, sizeof buf, "%s%02x", i ? "," : "", static_cast<unsigned char>(v.data[i]));
            out += buf;
          }
          break;
        }
      }
      out += "\n";
    }
  }
  return out;
}

// Parses one value line "<name>=<type>:<data>". False when damaged.
bool parseValue(const std::string& line, Value* v) {
  size_t pos = 0;
  if (line[0] == '@') {
    v->name.clear();
    pos = 1;
  } else if (!readQuoted(line, &pos, &v->name)) {
    return false;
  }
  if (pos >= line.size() || line[pos] != '=') return false;
  std::string rest = line.substr(pos + 1);
  if (rest.compare(0, 6, "dword:") == 0) {
    std::string digits = rest.substr(6);
    if (digits.size() != 8) return false;
    uint32_t d = 0;
    for (char c : digits) {
      int h = hexDigit(c);
      if (h < 0) return false;
      d = d * 16 + static_cast<uint32_t>(h);
    }
    v->type = SettingsType::DWord;
    v->data.assign(4, '\0');
    for (int i = 0; i < 4; ++i) v->data[static_cast<size_t>(i)] = static_cast<char>((d >> (8 * i)) & 0xFF);
    return true;
  }
  if (rest.compare(0, 7, "string:") == 0) {
    size_t p = 7;
    if (!readQuoted(rest, &p, &v->data)) return false;
    if (p != rest.size()) return false;
    if (v->data.find('\0') != std::string::npos) return false;
    v->type = SettingsType::String;
    return true;
  }
  if (rest.compare(0, 4, "hex:") == 0) {
    std::string digits = rest.substr(4);
    v->type = SettingsType::Binary;
    v->data.clear();
    if (digits.empty()) return true;
    size_t i = 0;
    for (;;) {
      if (i + 2 > digits.size()) return false;
      int hi = hexDigit(digits[i]), lo = hexDigit(digits[i + 1]);
      if (hi < 0 || lo < 0) return false;
      v->data += static_cast<char>(hi * 16 + lo);
      i += 2;
      if (i == digits.size()) return true;
      if (digits[i] != ',') return false;
      ++i;
    }
  }
  return false;
}

Key* findKey(Root& root, const std::string& path) {
  for (Key& k : root.keys)
    if (internal::sameNameCp1252(k.path, path)) return &k;
  return nullptr;
}

Value* findValue(Key& key, const std::string& name) {
  for (Value& v : key.values)
    if (internal::sameNameCp1252(v.name, name)) return &v;
  return nullptr;
}

// Parses a whole file's text into keys. Damaged lines are skipped and
// counted; a last line without its line end counts as damaged (a cut-off
// write).
// A name as the case-blind comparison sees it.
std::string foldedName(const std::string& name) {
  std::string folded(name);
  for (char& c : folded) c = static_cast<char>(internal::foldCp1252(static_cast<unsigned char>(c)));
  return folded;
}

// Damaged lines named one by one; the rest are counted.
constexpr int kDamagedLinesShown = 5;

int parseText(const std::string& text, std::vector<Key>* keys, const std::string& file) {
  int damaged = 0;
  // Keys and values found by their folded names: a file of many names reads
  // in n log n, not n squared.
  std::map<std::string, size_t> keyIndex;
  std::vector<std::map<std::string, size_t>> valueIndex;
  for (size_t k = 0; k < keys->size(); ++k) {
    keyIndex.emplace(foldedName((*keys)[k].path), k);
    valueIndex.emplace_back();
    for (size_t v = 0; v < (*keys)[k].values.size(); ++v)
      valueIndex.back().emplace(foldedName((*keys)[k].values[v].name), v);
  }
  size_t current = SIZE_MAX;
  size_t pos = 0;
  int number = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    bool complete = end != std::string::npos;
    if (!complete) end = text.size();
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() && complete) continue;
    bool ok = complete && line.find('\0') == std::string::npos;
    if (ok && (line[0] == ';' || line[0] == '#')) continue;
    if (ok && line[0] == '[') {
      ok = line.size() >= 2 && line.back() == ']';
      if (ok) {
        std::string path = normalisePath(line.substr(1, line.size() - 2).c_str());
        auto found = keyIndex.emplace(foldedName(path), keys->size());
        if (found.second) {
          keys->push_back(Key{path, {}});
          valueIndex.emplace_back();
        }
        current = found.first->second;
        continue;
      }
    } else if (ok) {
      Value v;
      ok = current != SIZE_MAX && parseValue(line, &v);
      if (ok) {
        Key& key = (*keys)[current];
        auto found = valueIndex[current].emplace(foldedName(v.name), key.values.size());
        if (found.second)
          key.values.push_back(v);
        else
          key.values[found.first->second] = v;
        continue;
      }
    }
    ++damaged;
    if (damaged <= kDamagedLinesShown)
      std::fprintf(stderr, "Korvena Football: settings file %s, line %d is damaged and was skipped\n", file.c_str(),
                   number);
  }
  if (damaged > kDamagedLinesShown)
    std::fprintf(stderr, "Korvena Football: settings file %s: %d more damaged lines were skipped (%d in all)\n",
                 file.c_str(), damaged - kDamagedLinesShown, damaged);
  return damaged;
}

bool readFile(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  *text = s.str();
  return true;
}

void load(SettingsRoot which) {
  Root& root = g_roots[static_cast<int>(which)];
  if (root.loaded) return;
  root.loaded = true;
  root.dirty = false;
  root.keys.clear();
  std::string file = fileOf(which);
  std::string text;
  bool found = readFile(file, &text);
  if (!found && which == SettingsRoot::Machine && root.fileOverride.empty()) {
    // A first run starts from the installed defaults.
    std::string defaults = gameRootDir() + "/data/settings/machine-defaults.txt";
    if (readFile(defaults, &text)) {
      parseText(text, &root.keys, defaults);
      root.dirty = true;
    }
    return;
  }
  if (!found) return;
  if (parseText(text, &root.keys, file) > 0) {
    // Keep the damaged file for a person to look at before it is rewritten.
    std::string keep = file + ".damaged";
    std::ofstream out(keep, std::ios::binary | std::ios::trunc);
    out << text;
    root.dirty = true;
  }
}

bool makeParent(const std::string& file) {
  size_t slash = file.find_last_of('/');
  if (slash == std::string::npos || slash == 0) return true;
  std::string dir = file.substr(0, slash);
  std::string cur;
  size_t i = 1;
  while (i <= dir.size()) {
    size_t j = dir.find('/', i);
    if (j == std::string::npos) j = dir.size();
    cur = dir.substr(0, j);
    struct stat st;
    if (stat(cur.c_str(), &st) != 0 && mkdir(cur.c_str(), 0755) != 0) return false;
    i = j + 1;
  }
  return true;
}

// A write that failed: the file and the reason on standard error, once for
// each distinct failure of the file; the file on the disc is left as it was.
void writeFailed(Root& root, const std::string& file, const std::string& why) {
  const std::string failure = file + ": " + why;
  if (failure == root.failureSaid) return;
  root.failureSaid = failure;
  std::fprintf(stderr, "platform: the settings file %s could not be written (%s); it keeps its last values\n",
               file.c_str(), why.c_str());
}

bool write(SettingsRoot which) {
  Root& root = g_roots[static_cast<int>(which)];
  if (!root.loaded || !root.dirty) return true;
  std::string file = fileOf(which);
  if (!makeParent(file)) {
    writeFailed(root, file, std::string("its folder cannot be made: ") + std::strerror(errno));
    return false;
  }
  std::string text = serialise(root, which == SettingsRoot::Machine ? "machine" : "user");
  // Leftovers of games killed while writing go first.
  removeStaleTemporariesBeside(file);
  std::string tmp = temporaryPathFor(file);
  FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) {
    writeFailed(root, file, std::strerror(errno));
    return false;
  }
  // The first step that fails gives the reason.
  std::string why;
  auto step = [&why](bool ok, const char* what) {
    if (!ok && why.empty()) why = errno ? std::strerror(errno) : what;
    return ok;
  };
  errno = 0;
  const size_t written = g_pfnFileWrite ? g_pfnFileWrite(text.data(), text.size(), f)
                                        : std::fwrite(text.data(), 1, text.size(), f);
  bool ok = step(written == text.size(), "short write");
  ok = step(std::fflush(f) == 0, "flush failed") && ok;
  ok = step(fsync(fileno(f)) == 0, "sync failed") && ok;
  ok = step(std::fclose(f) == 0, "close failed") && ok;
  if (ok) {
    errno = 0;
    ok = step(replaceWithTemporary(tmp, file), "rename failed");
  }
  if (!ok) {
    unlink(tmp.c_str());
    writeFailed(root, file, why);
    return false;
  }
  root.dirty = false;
  root.failureSaid.clear();
  return true;
}

Key* keyOf(SettingsKey* handle) {
  if (!handle) return nullptr;
  Root& root = g_roots[static_cast<int>(handle->root)];
  load(handle->root);
  return findKey(root, handle->path);
}

SettingsResult store(SettingsKey* handle, const char* name, SettingsType type, std::string data) {
  std::lock_guard<std::mutex> g(g_mutex);
  Key* key = keyOf(handle);
  if (!key) return SettingsResult::Failed;
  std::string n = name ? name : "";
  Value* v = findValue(*key, n);
  if (!v) {
    key->values.push_back(Value{n, type, std::string()});
    v = &key->values.back();
  }
  if (v->type != type || v->data != data) {
    v->type = type;
    v->data = std::move(data);
    g_roots[static_cast<int>(handle->root)].dirty = true;
  }
  return SettingsResult::Ok;
}

bool validRoot(SettingsRoot root) { return root == SettingsRoot::Machine || root == SettingsRoot::User; }

}  // namespace

SettingsKey* settingsOpenKey(SettingsRoot root, const char* path, bool create) {
  if (!validRoot(root)) return nullptr;
  std::lock_guard<std::mutex> g(g_mutex);
  load(root);
  Root& r = g_roots[static_cast<int>(root)];
  std::string p = normalisePath(path);
  Key* key = findKey(r, p);
  if (!key) {
    if (!create) return nullptr;
    r.keys.push_back(Key{p, {}});
    r.dirty = true;
    key = &r.keys.back();
  }
  return new SettingsKey{root, key->path};
}

void settingsCloseKey(SettingsKey* key) {
  if (!key) return;
  {
    std::lock_guard<std::mutex> g(g_mutex);
    write(key->root);
  }
  delete key;
}

bool settingsKeyExists(SettingsRoot root, const char* path) {
  if (!validRoot(root)) return false;
  std::lock_guard<std::mutex> g(g_mutex);
  load(root);
  return findKey(g_roots[static_cast<int>(root)], normalisePath(path)) != nullptr;
}

bool settingsFlush(SettingsRoot root) {
  if (!validRoot(root)) return false;
  std::lock_guard<std::mutex> g(g_mutex);
  return write(root);
}

SettingsResult settingsQuery(SettingsKey* handle, const char* name, SettingsType* type, void* buffer,
                             uint32_t bufferSize, uint32_t* storedSize) {
  std::lock_guard<std::mutex> g(g_mutex);
  Key* key = keyOf(handle);
  if (!key) return SettingsResult::Failed;
  Value* v = findValue(*key, name ? name : "");
  if (!v) return SettingsResult::Missing;
  uint32_t size = static_cast<uint32_t>(v->data.size()) + (v->type == SettingsType::String ? 1u : 0u);
  if (type) *type = v->type;
  if (storedSize) *storedSize = size;
  if (!buffer) return SettingsResult::Ok;
  if (bufferSize < size) return SettingsResult::TooSmall;
  std::memcpy(buffer, v->data.data(), v->data.size());
  if (v->type == SettingsType::String) static_cast<char*>(buffer)[v->data.size()] = '\0';
  return SettingsResult::Ok;
}

SettingsResult settingsReadDWord(SettingsKey* key, const char* name, uint32_t* value) {
  SettingsType type;
  uint32_t size = 0;
  SettingsResult r = settingsQuery(key, name, &type, nullptr, 0, &size);
  if (r != SettingsResult::Ok) return r;
  if (type != SettingsType::DWord || size != 4) return SettingsResult::WrongType;
  unsigned char b[4];
  r = settingsQuery(key, name, nullptr, b, 4, nullptr);
  if (r == SettingsResult::Ok && value)
    *value = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 | static_cast<uint32_t>(b[2]) << 16 |
             static_cast<uint32_t>(b[3]) << 24;
  return r;
}

SettingsResult settingsReadString(SettingsKey* key, const char* name, char* buffer, uint32_t bufferSize) {
  if (!buffer || bufferSize == 0) return SettingsResult::TooSmall;
  SettingsType type;
  SettingsResult r = settingsQuery(key, name, &type, nullptr, 0, nullptr);
  if (r != SettingsResult::Ok) return r;
  if (type != SettingsType::String) return SettingsResult::WrongType;
  r = settingsQuery(key, name, nullptr, buffer, bufferSize, nullptr);
  if (r != SettingsResult::Ok) buffer[0] = '\0';
  return r;
}

SettingsResult settingsReadBinary(SettingsKey* key, const char* name, void* buffer, uint32_t bufferSize,
                                  uint32_t* size) {
  SettingsType type;
  SettingsResult r = settingsQuery(key, name, &type, nullptr, 0, size);
  if (r != SettingsResult::Ok) return r;
  if (type != SettingsType::Binary) return SettingsResult::WrongType;
  return settingsQuery(key, name, nullptr, buffer, bufferSize, size);
}

SettingsResult settingsWriteDWord(SettingsKey* key, const char* name, uint32_t value) {
  std::string data(4, '\0');
  for (int i = 0; i < 4; ++i) data[static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return store(key, name, SettingsType::DWord, data);
}

SettingsResult settingsWriteString(SettingsKey* key, const char* name, const char* text) {
  return store(key, name, SettingsType::String, text ? text : "");
}

SettingsResult settingsWriteBinary(SettingsKey* key, const char* name, const void* data, uint32_t size) {
  if (!data && size) return SettingsResult::Failed;
  return store(key, name, SettingsType::Binary, std::string(static_cast<const char*>(data), size));
}

SettingsResult settingsDeleteValue(SettingsKey* handle, const char* name) {
  std::lock_guard<std::mutex> g(g_mutex);
  Key* key = keyOf(handle);
  if (!key) return SettingsResult::Failed;
  for (size_t i = 0; i < key->values.size(); ++i) {
    if (internal::sameNameCp1252(key->values[i].name, name ? name : "")) {
      key->values.erase(key->values.begin() + static_cast<long>(i));
      g_roots[static_cast<int>(handle->root)].dirty = true;
      return SettingsResult::Ok;
    }
  }
  return SettingsResult::Missing;
}

void settingsSetRootFile(SettingsRoot root, const std::string& path) {
  if (!validRoot(root)) return;
  std::lock_guard<std::mutex> g(g_mutex);
  Root& r = g_roots[static_cast<int>(root)];
  r.fileOverride = path;
  r.loaded = false;
  r.dirty = false;
  r.keys.clear();
  r.failureSaid.clear();
}

std::string settingsRootFile(SettingsRoot root) {
  if (!validRoot(root)) return std::string();
  std::lock_guard<std::mutex> g(g_mutex);
  return fileOf(root);
}

void settingsReset() {
  std::lock_guard<std::mutex> g(g_mutex);
  for (Root& r : g_roots) {
    r.loaded = false;
    r.dirty = false;
    r.keys.clear();
    r.failureSaid.clear();
  }
}

void settingsFileWriteFnSet(SettingsFileWriteFn fn) {
  std::lock_guard<std::mutex> g(g_mutex);
  g_pfnFileWrite = fn;
}

namespace internal {
void settingsFlushAll() {
  std::lock_guard<std::mutex> g(g_mutex);
  write(SettingsRoot::Machine);
  write(SettingsRoot::User);
}
}  // namespace internal

}  // namespace platform
