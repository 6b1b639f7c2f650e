// Runs a fuzz target's entry point over kept inputs, without libFuzzer: each
// argument is a file or a folder of files (taken in name order). The seeds
// the target writes with our own writers run first.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_support.h"

namespace {

int RunFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // A copy of its own, so reads past the end are caught.
  std::vector<uint8_t> copy(bytes);
  LLVMFuzzerTestOneInput(copy.empty() ? nullptr : copy.data(), copy.size());
  return 1;
}

int RunPath(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_directory(path, ec)) return std::filesystem::exists(path, ec) ? RunFile(path) : 0;
  std::vector<std::filesystem::path> files;
  for (const auto& e : std::filesystem::directory_iterator(path, ec))
    if (e.is_regular_file()) files.push_back(e.path());
  std::sort(files.begin(), files.end());
  int n = 0;
  for (const auto& f : files) n += RunFile(f);
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string seeds = korvena_fuzz::WorkDir() + "/seeds";
  int ran = 0;
  if (korvena_fuzz::WriteSeeds(seeds)) ran += RunPath(seeds);
  for (int i = 1; i < argc; ++i) ran += RunPath(argv[i]);
  std::printf("%d inputs ran without a finding\n", ran);
  return ran > 0 ? 0 : 1;
}
