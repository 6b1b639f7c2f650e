// Converted sheets: a source bank loaded, converted to the display's 5-6-5
// format as the first run does, written and loaded again the way the front
// end checks each converted sheet. A conversion that succeeds must give a
// file its own loader accepts with the same frames.
#include "bank_seeds.h"
#include "fuzz_support.h"

void KorvenaFuzzSeeds(const std::string& dir) { korvena_fuzz::WriteBankSeeds(dir); }

namespace {

// Writes a converted bank and loads it again; frees it.
void RoundTrip(QDLSpriteBank* converted) {
  const std::string target = korvena_fuzz::WorkDir() + "/converted.spr";
  if (QDLSpriteBankSave(converted, target.c_str()) != 0) korvena_fuzz::Fail("a converted sheet could not be written");
  QDLSpriteBank* back = QDLSpriteBankLoad(target.c_str(), nullptr, 0);
  if (!back) korvena_fuzz::Fail("a converted sheet was written that its loader refuses");
  if (back->frameCount != converted->frameCount || back->formatCode != converted->formatCode ||
      back->pixelDataSize != converted->pixelDataSize)
    korvena_fuzz::Fail("a converted sheet came back different");
  for (int i = 0; i < back->frameCount; ++i)
    if (back->frames[i].width != converted->frames[i].width || back->frames[i].height != converted->frames[i].height ||
        back->frames[i].encoding != converted->frames[i].encoding)
      korvena_fuzz::Fail("a converted frame came back different");
  QDLSpriteBankFree(back);
  QDLSpriteBankFree(converted);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  korvena_fuzz::StartBanks();
  const std::string source = korvena_fuzz::WriteInput(data, size, "source.spr");
  QDLSpriteBank* bank = QDLSpriteBankLoad(source.c_str(), nullptr, 0);
  if (!bank) return 0;
  // 5-6-5 as the game opens the display; 32 bits as the widest when the
  // rows grow (from 8- and 16-bit sources).
  for (uint32_t format : {static_cast<uint32_t>(QDLFORMAT_RGB565), static_cast<uint32_t>(QDLFORMAT_RGB32)}) {
    if (format == QDLFORMAT_RGB32 && QDLFormatBitsPerPixel(bank->formatCode) > 16) continue;
    QDLSpriteBank* converted = QDLSpriteBankConvert(bank, format, QDLCONVERT_DITHER);
    if (converted) RoundTrip(converted);
  }
  QDLSpriteBankFree(bank);
  return 0;
}

