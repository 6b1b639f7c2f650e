// Every test of this program runs on the headless backend in a fresh game
// folder; the textures and models folders are its data/ folders.
#include "scene3d_test_env.h"

#include <cstring>
#include <fstream>
#include <string>

#include "shell/pcinstall.h"
#include "support/headless_env.h"

namespace {

namespace fs = std::filesystem;

void Up() {
  fs::create_directories(korvena_test::HeadlessRoot() / "data" / "textures");
  fs::create_directories(korvena_test::HeadlessRoot() / "data" / "models" / "players");
  std::strcpy(pcinstall_szTexturePath, "..\\data\\textures\\");
  std::strcpy(pcinstall_szModelPath, "..\\data\\models\\");
}

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-scene3d", false, Up, nullptr});

}  // namespace

fs::path Scene3DRoot() { return korvena_test::HeadlessRoot(); }

void Scene3DWriteTexture(const char* pszName, int32_t w, int32_t h, const std::vector<uint8_t>& rgb) {
  std::string name = pszName;
  for (char& c : name)
    if (c == '\\') c = '/';
  const fs::path p = Scene3DRoot() / "data" / "textures" / name;
  fs::create_directories(p.parent_path());
  std::vector<uint8_t> b(18, 0);
  b[2] = 2;
  b[12] = static_cast<uint8_t>(w);
  b[13] = static_cast<uint8_t>(w >> 8);
  b[14] = static_cast<uint8_t>(h);
  b[15] = static_cast<uint8_t>(h >> 8);
  b[16] = 24;
  b[17] = 0x20;  // top row first
  for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
    b.push_back(rgb[i + 2]);
    b.push_back(rgb[i + 1]);
    b.push_back(rgb[i]);
  }
  std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}
