// The model readers (player bodies and props) over bytes in memory and
// through a file: a refused file leaves nothing behind, an accepted one
// writes back to the very same bytes.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "scene3d/model.h"

void KorvenaFuzzSeeds(const std::string& dir) {
  std::vector<QMathVec3> v = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  std::vector<ModelFace> f = {{{0, 1, 2}, 3, {0, 0, 1, 0, 0, 1}}, {{1, 2, 3}, 18, {0.5f, 0.5f, 1, 1, 0, 0.25f}}};
  std::vector<uint32_t> e(17, 0x01020304u);
  ModelRecord r{4, 2, 17, v.data(), f.data(), e.data()};
  std::vector<uint8_t> b = model_VSKBytes(r);
  b.insert(b.begin(), 'V');
  korvena_fuzz::WriteSeed(dir, "body.vsk", b.data(), b.size());
  b = model_PCSBytes(r);
  b.insert(b.begin(), 'P');
  korvena_fuzz::WriteSeed(dir, "prop.pcs", b.data(), b.size());
#ifdef KORVENA_FUZZ_MODELS
  // The data tree's own models: player bodies, goals, stadiums and props,
  // each behind the byte that chooses its reader.
  std::error_code ec;
  for (const auto& e : std::filesystem::recursive_directory_iterator(KORVENA_FUZZ_MODELS, ec)) {
    std::string ext = e.path().extension().string();
    for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    // Player bodies are kept as .bin files.
    const bool body = ext == ".vsk" || ext == ".bin";
    if (!e.is_regular_file() || (!body && ext != ".pcs")) continue;
    std::ifstream in(e.path(), std::ios::binary);
    std::vector<uint8_t> m(1, body ? 'V' : 'P');
    m.insert(m.end(), std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    const std::string name = e.path().parent_path().filename().string() + "-" + e.path().filename().string();
    korvena_fuzz::WriteSeed(dir, name, m.data(), m.size());
  }
#endif
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first byte chooses the format: 'V' a body, anything else a prop.
  if (size == 0) return 0;
  const bool vsk = data[0] == 'V';
  ModelRecord* m = vsk ? model_poVSKParse(data + 1, size - 1, "input") : model_poPCSParse(data + 1, size - 1, "input");
  if (m == nullptr) {
    if (model_LastError()[0] == 0) korvena_fuzz::Fail("a refused model gave no reason");
    return 0;
  }
  for (uint32_t i = 0; i < m->uFaceCount; ++i)
    for (uint32_t k : m->pFaces[i].auIndex)
      if (k >= m->uVertexCount) korvena_fuzz::Fail("a face names a vertex past the model");
  const std::vector<uint8_t> back = vsk ? model_VSKBytes(*m) : model_PCSBytes(*m);
  if (back.size() != size - 1 || std::memcmp(back.data(), data + 1, back.size()) != 0)
    korvena_fuzz::Fail("an accepted model does not write back to its own bytes");
  model_Free(m);
  return 0;
}
