#pragma once
// Writing sound banks (".KBB", magic "kbbk") and reading their manifests.
#include <cstdint>
#include <string>
#include <vector>

namespace ksynth {

constexpr uint32_t kKbbNone = 0xFFFFFFFFu;

struct KbbSound {
  std::string name;  // up to 32 bytes, kept in a field the game does not read
  uint32_t sample = kKbbNone;
  uint32_t second = kKbbNone;
  uint32_t rate = 22050;
  uint32_t bits = 16;
  uint32_t compressed = kKbbNone;  // kKbbNone: the sample itself when it must be compressed
  uint32_t compressedRate = 22050;
  uint32_t compressedBits = 16;
  uint32_t paramA = 0, paramB = 0;
  int16_t tag = 0;
};

struct KbbBank {
  std::vector<KbbSound> sounds;
  std::vector<std::vector<uint8_t>> samples;  // mono PCM bytes as stored
  std::vector<int> sampleBits;                // 8 or 16 per sample, for checks
};

std::vector<uint8_t> kbbBytes(const KbbBank& bank);
bool kbbWrite(const std::string& path, const KbbBank& bank);

// Manifest: one sound a line ('#' starts a comment), fields key=value, WAV
// paths relative to the manifest's folder:
//   sound wav=<path> [channel=left|right] [rate=<hz>] [bits=8|16]
//         [second=<path>] [compress=<path>] [crate=<hz>]
//         [a=<n>] [b=<n>] [tag=<n>] [name=<text>]
//   sound none [name=<text>] [a=<n>] [b=<n>] [tag=<n>]
// Each WAV is taken at the given rate (resampled) and bits (default: the
// file's rate, 16 bits). The same file at the same rate, bits and channel is
// stored once and shared. A compressed sample is always 16-bit.
bool kbbFromManifest(const std::string& manifestPath, KbbBank* bank, std::string* why);

// Checks bank bytes by the loader's rules and the game's needs; problems that
// the loader survives but that lose a sound go to *warnings.
bool kbbCheck(const std::vector<uint8_t>& bytes, std::vector<std::string>* warnings, std::string* why);

}  // namespace ksynth
