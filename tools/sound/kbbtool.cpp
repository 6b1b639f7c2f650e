// kbbtool: sound banks from manifests, and checks of banks by the loader's rules.
//   kbbtool build <manifest> <out.kbb>
//   kbbtool check <file.kbb>...
//   kbbtool load [--budget <bytes>] [--hardware <count>] [--second] <file.kbb>...
// "load" opens the audio library on a silent device with that budget and
// hardware count, loads the banks in order as the game would, and reports
// where each bank's sounds went.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/qal.h"
#include "platform/audio.h"
#include "platform/platform.h"
#include "sound/kbb.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: kbbtool build <manifest> <out.kbb>\n"
               "       kbbtool check <file.kbb>...\n"
               "       kbbtool load [--budget <bytes>] [--hardware <count>] [--second] <file.kbb>...\n");
  return 2;
}

bool readAll(const std::string& path, std::vector<uint8_t>* out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

int build(const std::string& manifest, const std::string& outPath) {
  ksynth::KbbBank bank;
  std::string why;
  if (!ksynth::kbbFromManifest(manifest, &bank, &why)) {
    std::fprintf(stderr, "kbbtool: %s\n", why.c_str());
    return 1;
  }
  std::vector<std::string> warnings;
  if (!ksynth::kbbCheck(ksynth::kbbBytes(bank), &warnings, &why)) {
    std::fprintf(stderr, "kbbtool: %s: %s\n", manifest.c_str(), why.c_str());
    return 1;
  }
  for (const std::string& w : warnings) std::fprintf(stderr, "kbbtool: %s: warning: %s\n", manifest.c_str(), w.c_str());
  if (!ksynth::kbbWrite(outPath, bank)) {
    std::fprintf(stderr, "kbbtool: cannot write %s\n", outPath.c_str());
    return 1;
  }
  return 0;
}

int check(const std::vector<std::string>& files) {
  int status = 0;
  for (const std::string& f : files) {
    std::vector<uint8_t> bytes;
    std::vector<std::string> warnings;
    std::string why;
    if (!readAll(f, &bytes)) {
      std::fprintf(stderr, "kbbtool: cannot read %s\n", f.c_str());
      status = 1;
      continue;
    }
    if (!ksynth::kbbCheck(bytes, &warnings, &why)) {
      std::fprintf(stderr, "kbbtool: %s: %s\n", f.c_str(), why.c_str());
      status = 1;
      continue;
    }
    QALBankFile file;
    QALBankParse(bytes, &file, nullptr);
    uint64_t pcm = 0;
    for (const auto& e : file.samples) pcm += e.byteCount;
    std::printf("%s: %u sounds, %zu samples, %llu bytes of PCM\n", f.c_str(), file.soundCount, file.samples.size(),
                static_cast<unsigned long long>(pcm));
    for (const std::string& w : warnings) std::printf("  warning: %s\n", w.c_str());
  }
  return status;
}

int load(uint32_t budget, uint32_t hardware, bool second, const std::vector<std::string>& files) {
  std::string why;
  if (!platform::init(platform::BackendKind::Headless, &why)) {
    std::fprintf(stderr, "kbbtool: %s\n", why.c_str());
    return 1;
  }
  platform::audioHeadlessSetHardwareBuffers(hardware);
  if (QALInit(nullptr, budget, 1024 | (second ? static_cast<uint32_t>(QAL_OPTION_SECOND_CHANNEL) : 0u)) != QAL_OK) {
    std::fprintf(stderr, "kbbtool: the audio library does not open\n");
    platform::shutdown();
    return 1;
  }
  int status = 0;
  std::vector<QALBank> banks(files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    std::string path = std::filesystem::absolute(files[i]).string();
    if (!QALBankLoad(&banks[i], path.c_str())) {
      std::fprintf(stderr, "kbbtool: %s does not load\n", files[i].c_str());
      status = 1;
      continue;
    }
    int hw = 0, sw = 0, compressed = 0, none = 0;
    for (uint32_t k = 0; k < banks[i].soundCount; ++k) {
      const QALSound& s = banks[i].sounds[k];
      if (s.sample && (s.sample->flags & QAL_SAMPLE_HARDWARE)) ++hw;
      else if (s.sample) ++sw;
      else if (s.compressed) ++compressed;
      else ++none;
    }
    std::printf("%s: sounds=%u hardware=%d software=%d compressed=%d none=%d remaining=%u\n", files[i].c_str(),
                banks[i].soundCount, hw, sw, compressed, none, qal_oState.budgetRemaining);
  }
  for (QALBank& b : banks) QALBankFree(&b);
  QALShutdown();
  platform::shutdown();
  return status;
}

bool number(const char* text, uint32_t* out) {
  char* end = nullptr;
  unsigned long v = std::strtoul(text, &end, 10);
  if (!*text || *end || v > 0xFFFFFFFFul) return false;
  *out = static_cast<uint32_t>(v);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  std::string command = argv[1];
  if (command == "build") {
    if (argc != 4) return usage();
    return build(argv[2], argv[3]);
  }
  if (command == "check") {
    if (argc < 3) return usage();
    return check(std::vector<std::string>(argv + 2, argv + argc));
  }
  if (command == "load") {
    uint32_t budget = 2097152, hardware = 0;
    bool second = false;
    std::vector<std::string> files;
    for (int i = 2; i < argc; ++i) {
      std::string a = argv[i];
      if (a == "--budget" && i + 1 < argc) {
        if (!number(argv[++i], &budget)) return usage();
      } else if (a == "--hardware" && i + 1 < argc) {
        if (!number(argv[++i], &hardware)) return usage();
      } else if (a == "--second") {
        second = true;
      } else {
        files.push_back(a);
      }
    }
    if (files.empty()) return usage();
    return load(budget, hardware, second, files);
  }
  return usage();
}
