// Which files fill the six sound banks: effects for the menus or the match,
// the two sides' speech, the referee, the crowd and a spare bank.
#include <cstdio>
#include <string>

#include "audio/sound.h"
#include "platform/audio.h"
#include "shell/pcinstall.h"

QALBank pcsound_oEffects;
QALBank pcsound_oSpeechHome;
QALBank pcsound_oSpeechAway;
QALBank pcsound_oExtra;
QALBank pcsound_oCrowd;
QALBank pcsound_oReferee;
std::int32_t pcsound_bBanksLoaded = 0;

namespace {

const char* const kSpeech[8] = {"WN32\\CENG.KBB", "WN32\\CFRA.KBB", "WN32\\CGER.KBB", "WN32\\CESP.KBB",
                                "WN32\\CITA.KBB", "WN32\\CPOR.KBB", "WN32\\CJAP.KBB", "WN32\\CSOU.KBB"};
const char* const kReferee[8] = {"WN32\\REFENG.KBB", "WN32\\REFFRE.KBB", "WN32\\REFGER.KBB", "WN32\\REFESP.KBB",
                                 "WN32\\REFITA.KBB", "WN32\\REFPOR.KBB", "WN32\\REFJAP.KBB", "WN32\\REFESP.KBB"};

struct TeamLanguage {
  std::int16_t iTeam;
  std::int8_t iLanguage;
};
const TeamLanguage kTeams[] = {
    {1, 0},   {2, 0},   {3, 0},   {4, 0},   {5, 0},   {6, 0},   {8, 0},   {9, 0},   {10, 0},  {16, 0},  {24, 0},
    {25, 0},  {28, 0},  {29, 0},  {31, 0},  {36, 0},  {37, 0},  {38, 0},  {39, 0},  {43, 0},  {44, 0},  {48, 0},
    {50, 0},  {51, 0},  {54, 0},  {57, 0},  {58, 0},  {72, 0},  {85, 0},  {94, 0},  {96, 0},  {102, 0}, {111, 0},
    {114, 0}, {115, 0}, {116, 0}, {117, 0}, {118, 0}, {119, 0}, {122, 0}, {123, 0}, {125, 0}, {127, 0}, {130, 0},
    {131, 0}, {132, 0}, {139, 0}, {140, 0}, {141, 0}, {152, 0}, {156, 0}, {158, 0}, {172, 0}, {175, 0}, {176, 0},
    {190, 0}, {192, 0},
    {12, 1},  {13, 1},  {14, 1},  {15, 1},  {17, 1},  {18, 1},  {19, 1},  {23, 1},  {27, 1},  {32, 1},  {35, 1},
    {40, 1},  {47, 1},  {52, 1},  {56, 1},  {63, 1},  {76, 1},  {129, 1}, {169, 1},
    {61, 2},  {70, 2},  {77, 2},  {80, 2},  {89, 2},  {91, 2},  {104, 2},
    {73, 3},
    {88, 4},  {103, 4},
    {11, 5},  {26, 5},  {34, 5},  {99, 5},  {144, 5}, {170, 5},
    {162, 6},
    {21, 7},  {67, 7},  {120, 7}, {121, 7}, {124, 7}, {126, 7}, {128, 7}, {133, 7}, {134, 7}, {135, 7}, {136, 7},
    {137, 7}, {142, 7}, {143, 7}, {145, 7}, {146, 7}, {147, 7}, {148, 7}, {149, 7}, {150, 7}, {151, 7},
};

std::int32_t interfaceLanguage(std::int32_t iInterface) { return iInterface < 0 ? 0 : iInterface >= 5 ? 5 : iInterface; }

void bankFree(QALBank* poBank);

// The file each bank was last filled from, for the "audio-state" lines.
struct BankName {
  QALBank* poBank;
  const char* pszWhat;
  const char* pszFile;
};
BankName s_aoBankNames[6] = {{&pcsound_oEffects, "effects", ""}, {&pcsound_oSpeechHome, "speech-home", ""},
                             {&pcsound_oSpeechAway, "speech-away", ""}, {&pcsound_oReferee, "referee", ""},
                             {&pcsound_oCrowd, "crowd", ""}, {&pcsound_oExtra, "extra", ""}};

// One line a loaded bank: what it is for, its file and its sound count.
std::string bankStateLines() {
  std::string text;
  char szLine[160];
  for (const BankName& b : s_aoBankNames)
    if (b.poBank->soundCount) {
      std::snprintf(szLine, sizeof szLine, "audio bank=%s file=%s sounds=%u\n", b.pszWhat, b.pszFile,
                    b.poBank->soundCount);
      text += szLine;
    }
  return text;
}
const bool s_bBankLines = (platform::audioStateLinesSet(bankStateLines), true);

void bankLoad(QALBank* poBank, const char* pszFile) {
  bankFree(poBank);
  char szPath[512];
  pcsound_SoundPathJoin(szPath, sizeof szPath, pszFile);
  if (!QALBankLoad(poBank, szPath)) std::fprintf(stderr, "sound: cannot load %s: %s\n", szPath, QALBankLoadError());
  for (BankName& b : s_aoBankNames)
    if (b.poBank == poBank) b.pszFile = pszFile;
}

void bankFree(QALBank* poBank) {
  if (poBank->soundCount) QALBankFree(poBank);
  poBank->soundCount = 0;
  poBank->sampleCount = 0;
}

void bankVolume(QALBank* poBank, std::int32_t iVolume) {
  for (std::uint32_t n = 0; n < poBank->soundCount; ++n)
    if (QALSample* s = pcsound_SampleGet(poBank, static_cast<std::int32_t>(n))) QALSampleSetVolume(s, iVolume);
}

}  // namespace

void pcsound_SoundPathJoin(char* pszOut, std::size_t cb, const char* pszFile) {
  char szPath[PCINSTALL_PATH_SIZE + 64];
  pcinstall_SoundPath(szPath, pszFile);
  std::snprintf(pszOut, cb, "%s", szPath);
}

std::int32_t pcsound_TeamSpeechLanguage(std::int32_t iTeamId) {
  for (const TeamLanguage& t : kTeams)
    if (t.iTeam == iTeamId) return t.iLanguage;
  return interfaceLanguage(soundmatch_Interface());
}

std::int32_t pcsound_LanguageFor(std::int32_t iChat, std::int32_t iTeamId, std::int32_t bReferee,
                                 std::int32_t iInterface) {
  static const std::int8_t kByOption[9] = {-1, -1, 0, 1, 2, 3, 4, 6, 5};
  if (iChat <= 0 || iChat > 8) return -1;
  if (iChat == 1) {
    if (bReferee) return interfaceLanguage(iInterface);
    for (const TeamLanguage& t : kTeams)
      if (t.iTeam == iTeamId) return t.iLanguage;
    return interfaceLanguage(iInterface);
  }
  return kByOption[iChat];
}

const char* pcsound_SpeechFile(std::int32_t iLanguage) { return iLanguage >= 0 && iLanguage < 8 ? kSpeech[iLanguage] : nullptr; }
const char* pcsound_RefereeFile(std::int32_t iLanguage) { return iLanguage >= 0 && iLanguage < 8 ? kReferee[iLanguage] : nullptr; }
const char* pcsound_CrowdFile(std::int32_t iHomeTeamId) {
  return iHomeTeamId == 72 ? "WN32\\CROWDENG.KBB" : "WN32\\CROWDDEF.KBB";
}

QALSample* pcsound_SampleGet(QALBank* poBank, std::int32_t iSound) {
  if (!poBank || !poBank->sounds || iSound < 0 || static_cast<std::uint32_t>(iSound) >= poBank->soundCount) return nullptr;
  return poBank->sounds[iSound].sample;
}

void pcsound_FrontEndBank() {
  sfx_FreeEffectsBank();
  bankLoad(&pcsound_oEffects, "WN32\\FRONTEND.KBB");
}

void pcsound_SpeechBank(std::int32_t iSide, std::int32_t, std::int32_t, std::int32_t) {
  QALBank* poBank = iSide == 0 ? &pcsound_oSpeechHome : &pcsound_oSpeechAway;
  // The voices are instances of these banks' sounds: they go first.
  pchat_VoicesFree();
  if (iSide == 0) crowd_VoicesFree();
  std::int32_t iTeam = iSide == 0 ? soundmatch_HomeTeamId() : soundmatch_AwayTeamId();
  std::int32_t iLanguage = pcsound_LanguageFor(options_oBlock.iPlayerChat, iTeam, 0, soundmatch_Interface());
  if (iLanguage < 0) {
    // Speech off: nothing is loaded (a bank left from before goes too).
    bankFree(poBank);
    bankFree(&pcsound_oReferee);
    return;
  }
  bankLoad(poBank, kSpeech[iLanguage]);
  if (iSide != 0) return;
  bankLoad(&pcsound_oReferee, kReferee[pcsound_LanguageFor(options_oBlock.iPlayerChat, iTeam, 1, soundmatch_Interface())]);
  bankLoad(&pcsound_oCrowd, pcsound_CrowdFile(iTeam));
  for (std::int32_t n : {0, 1, 3, 4, 5, 6})
    if (QALSample* s = pcsound_SampleGet(&pcsound_oCrowd, n)) QALSampleSetLoop(s, 1);
}

void pcsound_MatchBanks() {
  pcsound_SpeechBank(0, 0, 0, 0);
  if (soundmatch_ExtendedMode() != 39) pcsound_SpeechBank(1, 0, 0, 0);
  sfx_FreeEffectsBank();
  bankLoad(&pcsound_oEffects, "WN32\\INGAME.KBB");
  bankVolume(&pcsound_oEffects, 12288);
  bankVolume(&pcsound_oCrowd, 32767);
  bankVolume(&pcsound_oExtra, 32767);
  crowd_Init();
  pcsound_bBanksLoaded = 1;
}

void pcsound_MatchSoundStart() {
  if (!qal_bStarted && QALInit(nullptr, 2097152, 1024) >= 0) qal_bStarted = 1;
  if (qal_bStarted) pcsound_MatchBanks();
}

void sfx_FreeEffectsBank() {
  bankFree(&pcsound_oEffects);
}

void sfx_FreeAllBanks() {
  // Instances share their source's voice: they go before the banks do.
  crowd_VoicesFree();
  pchat_VoicesFree();
  bankFree(&pcsound_oEffects);
  bankFree(&pcsound_oSpeechHome);
  bankFree(&pcsound_oSpeechAway);
  bankFree(&pcsound_oCrowd);
  bankFree(&pcsound_oExtra);
  bankFree(&pcsound_oReferee);
  pcsound_bBanksLoaded = 0;
}
