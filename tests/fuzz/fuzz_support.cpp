#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/tempfiles.h"

namespace korvena_fuzz {

namespace {

std::string MakeWorkDir() {
  std::error_code ec;
  std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec) ? std::filesystem::path("/dev/shm")
                                                                              : std::filesystem::temp_directory_path();
  // Folders of runs that ended in a crash (no exit handlers) go first.
  for (const auto& e : std::filesystem::directory_iterator(base, ec)) {
    const std::string name = e.path().filename().string();
    if (name.rfind("korvena-fuzz-", 0) != 0) continue;
    const long pid = std::strtol(name.c_str() + 13, nullptr, 10);
    std::error_code e2;
    if (pid > 0 && !platform::processRunning(pid)) std::filesystem::remove_all(e.path(), e2);
  }
  std::string dir = (base / ("korvena-fuzz-" + std::to_string(getpid()))).string();
  std::filesystem::create_directories(dir, ec);
  std::atexit([] {
    std::error_code e;
    std::filesystem::remove_all(WorkDir(), e);
  });
  return dir;
}

}  // namespace

const std::string& WorkDir() {
  // Kept to the very end: the removal at exit still needs it.
  static const std::string* dir = new std::string(MakeWorkDir());
  return *dir;
}

std::string WriteInput(const uint8_t* data, size_t size, const char* name) {
  std::string path = WorkDir() + "/" + name;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) Fail("the input file cannot be written");
  if (size > 0 && std::fwrite(data, 1, size, f) != size) Fail("the input file cannot be written");
  std::fclose(f);
  return path;
}

const std::string& EmptyGameRoot() {
  static const std::string* root = [] {
    auto* r = new std::string(WorkDir() + "/game");
    std::error_code ec;
    std::filesystem::create_directories(*r + "/bin", ec);
    platform::setExecutableDir(*r + "/bin");
    return r;
  }();
  return *root;
}

void StartHeadless() {
  static bool started = false;
  if (started) return;
  started = true;
  std::string why;
  if (!platform::init(platform::BackendKind::Headless, &why)) {
    std::fprintf(stderr, "fuzz: the headless platform does not start: %s\n", why.c_str());
    std::abort();
  }
}

void WriteSeed(const std::string& dir, const std::string& name, const void* data, size_t size) {
  FILE* f = std::fopen((dir + "/" + name).c_str(), "wb");
  if (!f) return;
  if (size > 0) std::fwrite(data, 1, size, f);
  std::fclose(f);
}

bool WriteSeeds(const std::string& dir) {
  if (!KorvenaFuzzSeeds) return false;
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  KorvenaFuzzSeeds(dir);
  return true;
}

void Fail(const char* what) {
  std::fprintf(stderr, "fuzz: %s\n", what);
  std::fflush(stderr);
  std::abort();
}

}  // namespace korvena_fuzz

// libFuzzer calls this first: with KORVENA_FUZZ_WRITE_SEEDS=<folder> the
// program only writes its seeds there and ends.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (const char* dir = std::getenv("KORVENA_FUZZ_WRITE_SEEDS")) {
    korvena_fuzz::WriteSeeds(dir);
    std::exit(0);
  }
  return 0;
}
