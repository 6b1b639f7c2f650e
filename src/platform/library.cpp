// Shared objects by DLL name.
#include "platform/library.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cctype>

#include "platform/paths.h"

namespace platform {

struct Library {
  void* handle = nullptr;
};

namespace {
std::string g_error;

std::string baseName(const char* dllName) {
  std::string name = dllName ? dllName : "";
  size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name = name.substr(slash + 1);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (name.size() > 4 && name.compare(name.size() - 4, 4, ".dll") == 0) name.resize(name.size() - 4);
  return name;
}

bool isFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}
}  // namespace

std::string libraryFileFor(const char* dllName) { return executableDir() + "/lib" + baseName(dllName) + ".so"; }

Library* loadLibrary(const char* dllName) {
  std::string base = baseName(dllName);
  if (base.empty()) {
    g_error = "no library name";
    return nullptr;
  }
  std::string candidates[] = {executableDir() + "/lib" + base + ".so", executableDir() + "/" + base + ".so"};
  for (const std::string& path : candidates) {
    if (!isFile(path)) continue;
    void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
      const char* e = dlerror();
      g_error = e ? e : "cannot load " + path;
      return nullptr;
    }
    auto* lib = new Library;
    lib->handle = h;
    return lib;
  }
  g_error = "no " + candidates[0] + " or " + candidates[1];
  return nullptr;
}

void* librarySymbol(Library* library, const char* name) {
  if (!library || !name) return nullptr;
  dlerror();
  void* p = dlsym(library->handle, name);
  if (!p) {
    const char* e = dlerror();
    g_error = e ? e : std::string("no symbol ") + name;
  }
  return p;
}

void freeLibrary(Library* library) {
  if (!library) return;
  dlclose(library->handle);
  delete library;
}

std::string libraryError() { return g_error; }

}  // namespace platform
