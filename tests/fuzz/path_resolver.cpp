// Game paths through the resolver, the path splitter and the name encodings,
// inside a small game tree of mixed-case names.
#include <filesystem>
#include <string>

#include "framework/qdx_file.h"
#include "fuzz_support.h"
#include "platform/paths.h"

namespace {

void StartTree() {
  static bool started = false;
  if (started) return;
  started = true;
  const std::string root = korvena_fuzz::WorkDir() + "/game";
  std::error_code ec;
  for (const char* dir : {"bin", "data/Textures/Fonts", "data/Frontend", "data/Models/Goals"})
    std::filesystem::create_directories(root + "/" + dir, ec);
  korvena_fuzz::WriteSeed(root + "/data/Textures/Fonts", "SWfont18pt.bmp", "x", 1);
  platform::setExecutableDir(root + "/bin");
}

}  // namespace

void KorvenaFuzzSeeds(const std::string& dir) {
  const char* paths[] = {"..\\data\\textures\\fonts\\swfont18PT.BMP", "D:\\data\\frontend\\maineng.spr",
                         "../DATA/models/goals/62POSTB.pcs", "C:\\", "..\\savegame\\*.sav", "dxinfo.bin",
                         "fonts\\debug.bmp", "\\\\server\\share\\x", "..\\..\\..\\x\xE9\x80.txt"};
  int n = 0;
  for (const char* p : paths) {
    const std::string s = p;
    korvena_fuzz::WriteSeed(dir, "path" + std::to_string(n++), s.data(), s.size());
  }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  StartTree();
  if (size > 4096) return 0;
  std::string path(reinterpret_cast<const char*>(data), size);
  // Game paths are zero-terminated texts.
  path = path.c_str();
  platform::resolvePath(path.c_str());
  platform::fileExists(path.c_str());
  char drive[QDX_PATH_MAX], folder[QDX_PATH_MAX], name[QDX_PATH_MAX], extension[QDX_PATH_MAX];
  QDXPathSplit(path.c_str(), drive, folder, name, extension);
  const std::string utf8 = platform::cp1252ToUtf8(path);
  platform::utf8ToCp1252(utf8);
  platform::utf8ToCp1252(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
