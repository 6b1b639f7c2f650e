// Numbered effects of the effects bank, the repeat guard, the referee's
// whistle sequences and the per-frame sound update.
#include "audio/sound.h"
#include "framework/math/qrand.h"
#include "framework/qdx_assert.h"

SfxState sfx_o = {16, 0, 0, nullptr, 0};

namespace {
const std::int32_t kWhistleA[3][2] = {{18, 14}, {18, 14}, {19, 0}};
const std::int32_t kWhistleB[3][2] = {{18, 14}, {18, 14}, {19, 0}};
const std::int32_t kRandom[4] = {12, 13, 12, 13};

std::int32_t scaled(std::int32_t iVolume) {
  std::int32_t v = iVolume * options_oBlock.iSfxVolume / 16;
  return v < 0 ? 0 : v > 32767 ? 32767 : v;
}
}  // namespace

std::int32_t sfx_Init() {
  crowd_Init();
  return 1;
}

std::int32_t sfx_bInMatch() { return !soundmatch_InFrontEnd(); }

void sfx_Play(std::int32_t iEffect) {
  QALSample* s = pcsound_SampleGet(&pcsound_oEffects, iEffect);
  if (!s) return;
  std::int32_t now = soundmatch_Frame();
  if (iEffect == sfx_o.iLastEffect) {
    if (sfx_bInMatch()) {
      if (now - sfx_o.iLastFrame < 10) {
        sfx_o.iLastFrame = now;
        return;
      }
    } else {
      QALSampleStop(s);
    }
  }
  sfx_o.iLastEffect = iEffect;
  sfx_o.iLastFrame = now;
  QALSampleSetVolume(s, scaled(24575));
  QALSamplePlay(s);
}

void sfx_PlayAtVolume(std::int32_t iEffect, std::int32_t iVolume) {
  QALSample* s = pcsound_SampleGet(&pcsound_oEffects, iEffect);
  if (!s) return;
  QALSampleSetVolume(s, scaled(iVolume));
  QALSamplePlay(s);
}

void sfx_SetCDVolume() { QALCDSetVolume(options_oBlock.iMusicVolume * 20479 / 16); }

void sfx_StartSequence(const std::int32_t (*paiPairs)[2]) {
  sfx_o.paiSeq = paiPairs;
  sfx_o.iSeqState = 1;
}

void sfx_UpdateSequence() {
  if (sfx_o.iSeqState == 2) {
    // The wait ends on the frame its delay runs out, which plays the next pair.
    if (--sfx_o.iSeqCounter > 0) return;
    sfx_o.iSeqState = 1;
  }
  switch (sfx_o.iSeqState) {
    case 0:
    case 2:
      break;
    case 1:
      sfx_Play((*sfx_o.paiSeq)[0]);
      sfx_o.iSeqCounter = (*sfx_o.paiSeq)[1];
      if (sfx_o.iSeqCounter == 0) {
        sfx_o.iSeqState = 0;
      } else {
        sfx_o.iSeqState = 2;
        ++sfx_o.paiSeq;
      }
      break;
    default:
      QDX_ASSERT(!"unknown sequence state");
  }
}

void sfx_PlayRandomEffect() { sfx_Play(kRandom[QMathRandRange(3)]); }
void sfx_PlayWhistle() { sfx_Play(18); }
void sfx_WhistleSequenceA() { sfx_StartSequence(kWhistleA); }
void sfx_WhistleSequenceB() { sfx_StartSequence(kWhistleB); }

void sfx_Update() {
  sfx_UpdateSequence();
  if (pcsound_bBanksLoaded) {
    pchat_Update();
    crowd_ReactionUpdate();
  }
}
