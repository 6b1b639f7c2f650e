#include "tournament_env.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "support/headless_env.h"

namespace fs = std::filesystem;

namespace {

void DatabaseUp() { TestDumpWrite(GeneratedDump()); }

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-tournament", false, DatabaseUp, nullptr});

}  // namespace

fs::path BuildDir() {
  const char* psz = std::getenv("KORVENA_BUILD_DIR");
  return psz ? fs::path(psz) : fs::path();
}

fs::path SourceDir() {
  const char* psz = std::getenv("KORVENA_SOURCE_DIR");
  return psz ? fs::path(psz) : fs::path();
}

fs::path TestDumpPath() { return korvena_test::HeadlessRoot() / "data" / "database" / "dump" / "dump.dat"; }

std::vector<std::uint8_t> GeneratedDump() {
  std::ifstream in(BuildDir() / "data" / "database" / "dump" / "dump.dat", std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void TestDumpWrite(const std::vector<std::uint8_t>& ab) {
  fs::create_directories(TestDumpPath().parent_path());
  std::ofstream out(TestDumpPath(), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(ab.data()), static_cast<std::streamsize>(ab.size()));
}
