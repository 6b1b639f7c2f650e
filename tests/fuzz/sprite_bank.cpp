// .spr sprite banks: loaded from a file, then every frame drawn into a
// 16-bit surface at a few places, mirrored and clipped; a frame the loader
// accepted must never make the blitter read outside the bank.
#include "bank_seeds.h"
#include "display/blit/qdl_blit.h"
#include "fuzz_support.h"

void KorvenaFuzzSeeds(const std::string& dir) { korvena_fuzz::WriteBankSeeds(dir); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  korvena_fuzz::StartBanks();
  static QDLSurface* target = QDLSurfaceCreate(64, 48, 16, 0);
  const std::string path = korvena_fuzz::WriteInput(data, size, "bank.spr");
  QDLSpriteBank* bank = QDLSpriteBankLoad(path.c_str(), nullptr, 0);
  if (!bank) return 0;
  const int frames = bank->frameCount < 64 ? bank->frameCount : 64;
  for (int i = 0; i < frames; ++i) {
    QDLFrame* frame = &bank->frames[i];
    QDLBlit(target, frame, 3, 2, QDLBLIT_PLAIN, nullptr);
    QDLBlit(target, frame, -5, 40, QDLBLIT_PLAIN | QDLBLIT_MIRROR_X, nullptr);
    QDLBlit(target, frame, 60, -3, QDLBLIT_KEY | QDLBLIT_MIRROR_Y, nullptr);
  }
  QDLSpriteBankFree(bank);
  return 0;
}
