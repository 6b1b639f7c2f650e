#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/instance.h"
#include "platform/library.h"
#include "platform/paths.h"
#include "support/temp_dir.h"

using namespace platform;
using korvena_test::TempDir;

namespace {

class InstanceLockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = getenv("XDG_RUNTIME_DIR");
    if (old) old_ = old;
    setenv("XDG_RUNTIME_DIR", dir_.path().c_str(), 1);
  }
  void TearDown() override {
    if (old_.empty())
      unsetenv("XDG_RUNTIME_DIR");
    else
      setenv("XDG_RUNTIME_DIR", old_.c_str(), 1);
  }
  TempDir dir_;
  std::string old_;
};

TEST_F(InstanceLockTest, ASecondHolderOfTheNameIsDetected) {
  InstanceLock* first = nullptr;
  ASSERT_EQ(acquireInstanceLock("QDX Mutex", &first), InstanceResult::Acquired);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "korvena-football/QDX_Mutex.lock"));
  InstanceLock* second = nullptr;
  EXPECT_EQ(acquireInstanceLock("QDX Mutex", &second), InstanceResult::AlreadyRunning);
  EXPECT_EQ(second, nullptr);
  // Another process sees it too.
  pid_t child = fork();
  if (child == 0) {
    InstanceLock* l = nullptr;
    _exit(acquireInstanceLock("QDX Mutex", &l) == InstanceResult::AlreadyRunning ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  // Another name is free.
  InstanceLock* other = nullptr;
  EXPECT_EQ(acquireInstanceLock("Other", &other), InstanceResult::Acquired);
  releaseInstanceLock(other);
  releaseInstanceLock(first);
  EXPECT_EQ(acquireInstanceLock("QDX Mutex", &second), InstanceResult::Acquired);
  releaseInstanceLock(second);
  releaseInstanceLock(nullptr);
}

TEST_F(InstanceLockTest, TheLockDiesWithItsProcess) {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t child = fork();
  if (child == 0) {
    InstanceLock* l = nullptr;
    char c = acquireInstanceLock("QDX Mutex", &l) == InstanceResult::Acquired ? 'y' : 'n';
    (void)!write(ready[1], &c, 1);
    pause();
    _exit(0);
  }
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  ASSERT_EQ(c, 'y');
  InstanceLock* l = nullptr;
  EXPECT_EQ(acquireInstanceLock("QDX Mutex", &l), InstanceResult::AlreadyRunning);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  EXPECT_EQ(acquireInstanceLock("QDX Mutex", &l), InstanceResult::Acquired);
  releaseInstanceLock(l);
  close(ready[0]);
  close(ready[1]);
}

TEST(Library, LoadsBySharedObjectNameAndFindsSymbols) {
  // The test library is built beside the test programs.
  const char* build = getenv("KORVENA_BUILD_DIR");
  ASSERT_NE(build, nullptr);
  setExecutableDir(std::string(build) + "/tests");
  EXPECT_EQ(libraryFileFor("C:\\Game\\Q3DTestDll.DLL"), std::string(build) + "/tests/libq3dtestdll.so");
  Library* lib = loadLibrary("Q3DTESTDLL.dll");
  ASSERT_NE(lib, nullptr) << libraryError();
  using Fn = int (*)(int);
  auto fn = reinterpret_cast<Fn>(librarySymbol(lib, "KorvenaTestTwice"));
  ASSERT_NE(fn, nullptr);
  EXPECT_EQ(fn(21), 42);
  EXPECT_EQ(librarySymbol(lib, "NoSuchSymbol"), nullptr);
  EXPECT_NE(libraryError().find("NoSuchSymbol"), std::string::npos);
  freeLibrary(lib);
  EXPECT_EQ(loadLibrary("q3dmissing.dll"), nullptr);
  EXPECT_NE(libraryError().find("q3dmissing"), std::string::npos);
  EXPECT_EQ(loadLibrary(""), nullptr);
  EXPECT_EQ(librarySymbol(nullptr, "x"), nullptr);
  freeLibrary(nullptr);
  setExecutableDir("");
}

}  // namespace
