// animgen: builds, checks and writes the animation data.
//   animgen --assets DIR --out DIR --parts N   the engine's sources
//   animgen --assets DIR --sheet FILE.tga     stick figures of every clip
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "animgen.h"

int main(int argc, char** argv) {
  std::string assets, out, sheet;
  int parts = 6;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--assets")) {
      assets = argv[i + 1];
    } else if (!std::strcmp(argv[i], "--out")) {
      out = argv[i + 1];
    } else if (!std::strcmp(argv[i], "--parts")) {
      parts = std::atoi(argv[i + 1]);
    } else if (!std::strcmp(argv[i], "--sheet")) {
      sheet = argv[i + 1];
    } else {
      std::fprintf(stderr, "animgen: unknown option %s\n", argv[i]);
      return 2;
    }
  }
  if (assets.empty() || (out.empty() && sheet.empty()) || parts < 1 || parts > 64) {
    std::fprintf(stderr, "usage: animgen --assets DIR (--out DIR [--parts N] | --sheet FILE.tga)\n");
    return 2;
  }
  try {
    animgen::Loaded data;
    // The review sheet is drawn even when the checks fail, to see why.
    animgen::LoadAndBuild(assets, data, sheet.empty());
    if (!sheet.empty()) {
      try {
        animgen::CheckAll(data.table, data.skel, data.built);
      } catch (const animgen::Error& e) {
        std::fprintf(stderr, "animgen: %s\n", e.what());
      }
    }
    if (!out.empty()) {
      const auto files = animgen::SourceFiles(data.table, data.skel, data.built, parts);
      animgen::WriteIfChanged(out + "/anim_data_rows.cpp", files[0]);
      for (int i = 0; i < parts; ++i) {
        animgen::WriteIfChanged(out + "/anim_data_" + std::to_string(i) + ".cpp", files[i + 1]);
      }
    }
    if (!sheet.empty()) {
      const auto tga = animgen::Sheet(data.table, data.skel, data.built);
      std::ofstream f(sheet, std::ios::binary);
      f.write(reinterpret_cast<const char*>(tga.data()), static_cast<std::streamsize>(tga.size()));
      if (!f) {
        std::fprintf(stderr, "animgen: cannot write %s\n", sheet.c_str());
        return 1;
      }
    }
  } catch (const animgen::Error& e) {
    std::fprintf(stderr, "animgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
