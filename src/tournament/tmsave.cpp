// The tournament save stream: writers, the checking reader and the rebuild.
#include "tournament/tmsave.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "shell/file.h"
#include "shell/global.h"
#include "shell/mem.h"
#include "shell/texts.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tournament_services.h"
#include "tournament/yearfile.h"

namespace {

constexpr std::int32_t kYearChunk = 12, kConfChunk = 28, kGroupChunk = 16, kRoundChunk = 192, kTeamChunk = 16,
                       kFixtureChunk = 13, kDateChunk = 4;
constexpr std::int32_t kPlaceOffsets[4] = {52, 87, 122, 157};
constexpr std::int32_t kPlaceField = 35;
// The buffers of a round's four place codes.
constexpr std::size_t kPlaceSizes[4] = {sizeof(Round::szPlace1), sizeof(Round::szPlace2), sizeof(Round::szPlace3),
                                        sizeof(Round::szPlace4)};
constexpr std::int32_t kTreeStart = 4 + TMSAVE_GLOBAL_SIZE + TMSAVE_TEAMSTATE_SIZE;
// Full pools make a tree that still fits the block (dates share the fixture
// pool's limit).
static_assert(1 + kYearChunk * TMMAX_YEARS + kConfChunk * TMMAX_CONFS + kGroupChunk * TMMAX_GROUPS +
                  kRoundChunk * TMMAX_ROUNDS + kTeamChunk * TMMAX_TEAMS + (kFixtureChunk + kDateChunk) * TMMAX_FIXTURES <=
              TMSAVE_BLOCK_SIZE - kTreeStart);

char s_szRefusal[200] = "";

// A team of the name table (the tournament's names past it are places a
// team comes from): every id the screens show as a team must be one.
bool TeamId(std::uint32_t u) { return u < static_cast<std::uint32_t>(TLA_COUNT); }
// A team id of the tree: a name of the tournament's table (teams, then the
// places teams come from) or a free slot.
bool TreeTeamId(std::uint32_t u) { return u <= static_cast<std::uint32_t>(TM_MAX); }

void Put32(std::uint8_t* p, std::uint32_t v) {
  for (std::int32_t i = 0; i < 4; i++) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint32_t Get32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
// A name cut to its field, always ended by a NUL.
void PutName(std::uint8_t* p, std::int32_t cField, const char* psz) {
  std::memset(p, 0, static_cast<std::size_t>(cField));
  const std::size_t n = std::strlen(psz);
  std::memcpy(p, psz, n < static_cast<std::size_t>(cField - 1) ? n : static_cast<std::size_t>(cField - 1));
}
// A field read back: false when it holds no NUL.
bool GetName(const std::uint8_t* p, std::int32_t cField, char* pszOut, std::size_t cOut) {
  const void* pNul = std::memchr(p, 0, static_cast<std::size_t>(cField));
  if (!pNul) return false;
  std::snprintf(pszOut, cOut, "%s", reinterpret_cast<const char*>(p));
  return true;
}

char* PlaceCode(Round* r, std::int32_t i) {
  char* const a[4] = {r->szPlace1, r->szPlace2, r->szPlace3, r->szPlace4};
  return a[i & 3];
}
const char* PlaceCode(const Round* r, std::int32_t i) { return PlaceCode(const_cast<Round*>(r), i); }

// ---- A year file's shape: its distinct (confederation, group, round) in tree
// order, with full names, long names, first place codes and stadiums ---------
constexpr std::int32_t kRoundStadiums = 24;
struct ShapeRound {
  char szConf[28], szGroup[28], szRound[25], szLong[55], aszPlace[4][55];
  std::uint16_t aStadiums[kRoundStadiums];
  std::int32_t cStadiums;
};
struct Shape {
  ShapeRound a[TMMAX_ROUNDS];
  std::int32_t c = 0;
  bool bOk = false;
};
Shape s_aShapes[TMMAX_YEARS];
const char* (*s_pfnYearText)(std::uint32_t uKey, std::int32_t* pcLength) = nullptr;

const char* Field(const char* p, const char* pEnd, char* pszOut, std::size_t cOut) {
  std::size_t i = 0;
  while (p < pEnd && *p != ',' && *p != '\r' && *p != '\n') {
    if (i + 1 < cOut) pszOut[i++] = *p;
    p++;
  }
  pszOut[i] = 0;
  if (p < pEnd && *p == ',') p++;
  return p;
}

// The path of the year file of a key in the loading language.
const char* YearFilePath(std::uint32_t uKey) {
  const std::int32_t e = static_cast<std::int32_t>((uKey - 1) / 2);
  const char* psz = file_pszGetPath(tmdata_YearFileIdGet(mlang_iLanguage, e, static_cast<std::int32_t>((uKey - 1) % 2)));
  return psz ? psz : "?";
}

// Reads the file of one year key into a shape; false when it cannot.
bool ShapeRead(std::uint32_t uKey, Shape* s) {
  s->c = 0;
  s->bOk = false;
  if (uKey < 1 || uKey > 22) return false;
  std::int32_t cRead = 0;
  const char* pText = nullptr;
  bool bLocked = false;
  if (s_pfnYearText) {
    pText = s_pfnYearText(uKey, &cRead);
  } else {
    const std::int32_t e = static_cast<std::int32_t>((uKey - 1) / 2);
    const std::int32_t iFileId = tmdata_YearFileIdGet(mlang_iLanguage, e, static_cast<std::int32_t>((uKey - 1) % 2));
    const char* pszPath = file_pszGetPath(iFileId);
    std::FILE* pFile = file_Open(iFileId);
    if (!pFile) {
      tmsave_RefusalSet("the year file %s cannot be opened", pszPath ? pszPath : "?");
      return false;
    }
    const std::int32_t cSize = file_iGetSize(pFile);
    if (cSize < 0 || cSize > MEM_SCRATCH_SIZE || !mem_bIsAvailable()) {
      file_Close(pFile);
      tmsave_RefusalSet("the year file %s is too large or cannot be read", pszPath ? pszPath : "?");
      return false;
    }
    char* pBuffer = static_cast<char*>(mem_pvLock());
    cRead = file_Read(pFile, pBuffer, cSize);
    file_Close(pFile);
    pText = pBuffer;
    bLocked = true;
  }
  if (!pText) return false;
  const char* p = pText;
  const char* pEnd = pText + (cRead > 0 ? cRead : 0);
  // Lines in file order, then nested as the tree nests them.
  static ShapeRound aLines[TMMAX_ROUNDS * 4];
  static std::int32_t aLineStadiums[TMMAX_ROUNDS * 4][2];
  static std::uint16_t aIds[TMMAX_STADIUMS * 4];
  std::int32_t cLines = 0, cIds = 0;
  bool bOk = true;
  while (p < pEnd && *p != 26 && bOk) {
    char szKey[4], szSkip[1000];
    ShapeRound l{};
    const char* q = Field(p, pEnd, szKey, sizeof(szKey));
    q = Field(q, pEnd, l.szConf, sizeof(l.szConf));
    q = Field(q, pEnd, l.szGroup, 10);
    q = Field(q, pEnd, l.szRound, 10);
    q = Field(q, pEnd, l.szLong, sizeof(l.szLong));
    for (std::int32_t i = 0; i < 3; i++) q = Field(q, pEnd, szSkip, sizeof(szSkip));
    for (auto& a : l.aszPlace) q = Field(q, pEnd, a, sizeof(a));  // as the line's own buffers cut them
    q = Field(q, pEnd, szSkip, sizeof(szSkip));
    char szStadiums[200];
    q = Field(q, pEnd, szStadiums, sizeof(szStadiums));
    while (q < pEnd && *q != '\n' && *q != '\r') q++;
    while (q < pEnd && (*q == '\n' || *q == '\r')) q++;
    if (q == p) break;
    p = q;
    if (std::strlen(szKey) < 2) continue;
    if (cLines >= TMMAX_ROUNDS * 4) {
      bOk = false;
      break;
    }
    aLineStadiums[cLines][0] = cIds;
    for (const char* t = szStadiums; *t;) {
      std::int32_t v = 0, cDigits = 0;
      while (*t >= '0' && *t <= '9') {
        v = v * 10 + (*t++ - '0');
        cDigits++;
      }
      if (cDigits && cIds < TMMAX_STADIUMS * 4) aIds[cIds++] = static_cast<std::uint16_t>(v);
      while (*t && *t != ';') t++;
      if (*t == ';') t++;
    }
    aLineStadiums[cLines][1] = cIds - aLineStadiums[cLines][0];
    aLines[cLines++] = l;
  }
  if (bLocked) mem_Unlock();
  if (!bOk) return tmsave_RefusalSet("the year file %s has more lines than a year holds", YearFilePath(uKey));
  auto same = [](const char* a, const char* b) { return std::strcmp(a, b) == 0; };
  for (std::int32_t i = 0; i < cLines; i++) {
    bool bConfSeen = false;
    for (std::int32_t j = 0; j < i && !bConfSeen; j++) bConfSeen = same(aLines[j].szConf, aLines[i].szConf);
    if (bConfSeen) continue;
    for (std::int32_t gi = i; gi < cLines; gi++) {
      if (!same(aLines[gi].szConf, aLines[i].szConf)) continue;
      bool bGroupSeen = false;
      for (std::int32_t j = i; j < gi && !bGroupSeen; j++)
        bGroupSeen = same(aLines[j].szConf, aLines[i].szConf) && same(aLines[j].szGroup, aLines[gi].szGroup);
      if (bGroupSeen) continue;
      for (std::int32_t ri = gi; ri < cLines; ri++) {
        const ShapeRound& l = aLines[ri];
        if (!same(l.szConf, aLines[i].szConf) || !same(l.szGroup, aLines[gi].szGroup)) continue;
        std::int32_t iRound = -1;
        for (std::int32_t k = 0; k < s->c; k++)
          if (same(s->a[k].szConf, l.szConf) && same(s->a[k].szGroup, l.szGroup) && same(s->a[k].szRound, l.szRound))
            iRound = k;
        if (iRound < 0) {
          if (s->c >= TMMAX_ROUNDS) return tmsave_RefusalSet("the year file %s has too many rounds", YearFilePath(uKey));
          iRound = s->c++;
          s->a[iRound] = l;
          s->a[iRound].cStadiums = 0;
        } else {
          // A round named again: its later line gives the long name and codes.
          std::memcpy(s->a[iRound].szLong, l.szLong, sizeof(l.szLong));
          std::memcpy(s->a[iRound].aszPlace, l.aszPlace, sizeof(l.aszPlace));
        }
        ShapeRound& out = s->a[iRound];
        for (std::int32_t k = 0; k < aLineStadiums[ri][1]; k++) {
          if (out.cStadiums >= kRoundStadiums)
            return tmsave_RefusalSet("a round of the year file %s has too many stadiums", YearFilePath(uKey));
          out.aStadiums[out.cStadiums++] = aIds[aLineStadiums[ri][0] + k];
        }
      }
    }
  }
  s->bOk = true;
  return true;
}

// ---- The global chunk and the team-state block ---------------------------------------
void GlobalWrite(std::uint8_t* p) {
  std::memset(p, 0, TMSAVE_GLOBAL_SIZE);
  Put32(p + 0, TMMAIN_CHUNKGLOBAL);
  Put32(p + 4, TMSAVE_VERSION);
  p[8] = static_cast<std::uint8_t>(tmglobal.iCurrentHuman);
  p[9] = static_cast<std::uint8_t>(tmglobal.iYear);
  // The first leg of a two-legged tie, so a save between the legs keeps it.
  Put32(p + 12, static_cast<std::uint32_t>(tmglobal_FirstLeg.iHomeGoals));
  Put32(p + 16, static_cast<std::uint32_t>(tmglobal_FirstLeg.iAwayGoals));
  Put32(p + 20, static_cast<std::uint32_t>(tmglobal_FirstLeg.bPlayed));
  Put32(p + 24, static_cast<std::uint32_t>(tmglobal.bStarted));
  Put32(p + 28, static_cast<std::uint32_t>(tmglobal.bQualifiersExtracted));
  Put32(p + 32, static_cast<std::uint32_t>(tmglobal.bFinalsLoaded));
  Put32(p + 36, static_cast<std::uint32_t>(tmglobal.bTournamentOver));
  Put32(p + 40, static_cast<std::uint32_t>(tmglobal.bStarted));
  Put32(p + 44, static_cast<std::uint32_t>(tmglobal.bHolderOption));
  Put32(p + 48, static_cast<std::uint32_t>(tmglobal.iCurrentHuman));
  PutName(p + 52, 56, tmglobal.szReplaceName);
  Put32(p + 108, tmglobal.aHumans[0].Name);
  Put32(p + 112, tmglobal.aHumans[0].uFlags);
  Put32(p + 116, static_cast<std::uint32_t>(tmglobal.cHumans));
  Put32(p + 120, static_cast<std::uint32_t>(tmglobal.iStartYear));
  Put32(p + 124, static_cast<std::uint32_t>(tmglobal.bPlayQualifiers));
  Put32(p + 128, static_cast<std::uint32_t>(tmglobal.bSecondOption));
  Put32(p + 132, static_cast<std::uint32_t>(tmglobal.bHolderOption));
  p[136] = tmglobal.cNormalA;
  p[137] = tmglobal.cNormalB;
  p[138] = tmglobal.cExtraA;
  p[139] = tmglobal.cExtraB;
  p[142] = tmglobal.cPenA;
  p[143] = tmglobal.cPenB;
  Put32(p + 144, static_cast<std::uint32_t>(tmglobal.bSecondLeg));
  Put32(p + 148, static_cast<std::uint32_t>(tmglobal.bFinals));
  Put32(p + 152, static_cast<std::uint32_t>(tmglobal.iMatchPhase));
  for (std::int32_t i = 0; i < TM_EDITIONS; i++) {
    const RollOfHonourEntry& e = tmglobal.aRoll[i];
    Put32(p + 156 + 16 * i, e.Winner);
    Put32(p + 160 + 16 * i, e.RunnerUp);
    Put32(p + 164 + 16 * i, e.Third);
    Put32(p + 168 + 16 * i, e.Fourth);
  }
  Put32(p + 332, static_cast<std::uint32_t>(tmglobal.iRoundFormat));
  Put32(p + 336, static_cast<std::uint32_t>(tmglobal.iTieBreak));
  Put32(p + 340, static_cast<std::uint32_t>(tmglobal.bTournamentMatch));
  Put32(p + 344, tmglobal.newqual_iCurrentQualifier);
  for (std::int32_t i = 0; i < NEWQUAL_NUM_QUALIFIERS; i++) {
    Put32(p + 352 + 8 * i, tmglobal.aNewQual[i].Name);
    p[356 + 8 * i] = tmglobal.aNewQual[i].bNew;
  }
  Put32(p + 608, tmglobal.aHolders[TM_EDITIONS]);
  const std::int32_t e = tmglobal_EditionGet();
  Put32(p + 612, (e >= 0 && e < TM_EDITIONS) ? tmglobal.aHolders[e + 1] : 0);
  Put32(p + 616, static_cast<std::uint32_t>(global.iDay));
  Put32(p + 620, static_cast<std::uint32_t>(global.iMonth));
  Put32(p + 624, static_cast<std::uint32_t>(global.iYear));
  p[636] = static_cast<std::uint8_t>(tmglobal.iGroupIndex);
  p[637] = static_cast<std::uint8_t>(tmglobal.iGroupIndex >> 8);
}

// A word of the global chunk as the program keeps it: signed.
std::int32_t Signed32(const std::uint8_t* p) { return static_cast<std::int32_t>(Get32(p)); }

// The global chunk's flags, each 0 or 1, by the names the game gives them.
struct GlobalFlag {
  std::int32_t iOffset;
  const char* pszName;
};
constexpr GlobalFlag kGlobalFlags[] = {
    {20, "first leg's played flag"},
    {24, "history-started flag"},
    {28, "qualifiers-extracted flag"},
    {32, "finals-loaded flag"},
    {36, "tournament-over flag"},
    {40, "second history-started flag"},
    {44, "holder option"},
    {124, "Play Qualifiers setting"},
    {128, "second set-up option"},
    {132, "second holder option"},
    {144, "second-leg flag"},
    {148, "finals flag"},
    {340, "tournament-match flag"},
};

// False, with the refusal naming the word, its offset in the global chunk,
// its value and its range, when the word is outside lo to hi.
bool WordInRange(const std::uint8_t* p, std::int32_t iOffset, const char* pszName, std::int32_t lo, std::int32_t hi) {
  const std::int32_t v = Signed32(p + iOffset);
  if (v >= lo && v <= hi) return true;
  return tmsave_RefusalSet("its %s (tournament word %d) is %d, not %d to %d", pszName, iOffset, v, lo, hi);
}

bool GlobalCheck(const std::uint8_t* p) {
  const std::uint32_t uYear = p[9];
  if (Get32(p) != TMMAIN_CHUNKGLOBAL) return tmsave_RefusalSet("it is not a history save");
  if (Get32(p + 4) != TMSAVE_VERSION)
    return tmsave_RefusalSet("its version is %d, not %d", Signed32(p + 4), TMSAVE_VERSION);
  if (uYear < 58 || uYear > 98 || (uYear - 58) % 4)
    return tmsave_RefusalSet("its year (tournament byte 9) is %u, not 58 to 98 in steps of 4", uYear);
  for (const GlobalFlag& f : kGlobalFlags)
    if (Get32(p + f.iOffset) > 1)
      return tmsave_RefusalSet("its %s (tournament word %d) is %d, not 0 or 1", f.pszName, f.iOffset,
                               Signed32(p + f.iOffset));
  if (!WordInRange(p, 12, "first leg's home score", 0, 255) || !WordInRange(p, 16, "first leg's away score", 0, 255))
    return false;
  // The current human team is one of the human teams: with fewer, the hub
  // would show a team that does not play, without a date or a fixture.
  const std::int32_t cHumans = Signed32(p + 116), iCurrent = Signed32(p + 48);
  if (cHumans == 0) return tmsave_RefusalSet("it has no human team");
  if (!WordInRange(p, 116, "number of human teams", 1, TM_HUMAN_MAX)) return false;
  if (iCurrent < 0 || iCurrent >= cHumans) {
    if (cHumans == 1)
      return tmsave_RefusalSet("its current human team (tournament word 48) is %d, not 0: it has one human team",
                               iCurrent);
    return tmsave_RefusalSet("its current human team (tournament word 48) is %d, not 0 to %d: it has %d human teams",
                             iCurrent, cHumans - 1, cHumans);
  }
  if (!WordInRange(p, 152, "match phase", 0, 5)) return false;
  if (!std::memchr(p + 52, 0, 56)) return tmsave_RefusalSet("the replacement team's name has no end");
  if (!TeamId(Get32(p + 108))) return tmsave_RefusalSet("the human team id %u is not a team", Get32(p + 108));
  if (!TeamId(Get32(p + 608)))
    return tmsave_RefusalSet("the holder after the last edition's team id %u is not a team", Get32(p + 608));
  if (!TeamId(Get32(p + 612)))
    return tmsave_RefusalSet("the next edition's holder's team id %u is not a team", Get32(p + 612));
  for (std::int32_t i = 0; i < 4 * TM_EDITIONS; i++)
    if (!TeamId(Get32(p + 156 + 4 * i)))
      return tmsave_RefusalSet("the roll of honour's team id %u (edition %d) is not a team", Get32(p + 156 + 4 * i),
                               i / 4);
  if (!WordInRange(p, 344, "number of new qualifiers", 0, NEWQUAL_NUM_QUALIFIERS)) return false;
  for (std::int32_t i = 0; i < NEWQUAL_NUM_QUALIFIERS; i++)
    if (!TeamId(Get32(p + 352 + 8 * i)))
      return tmsave_RefusalSet("the new qualifier's team id %u is not a team", Get32(p + 352 + 8 * i));
  if (!WordInRange(p, 332, "round format", 0, 9) || !WordInRange(p, 336, "tie-break", 0, 8)) return false;
  if (!WordInRange(p, 616, "date's day", 0, 31) || !WordInRange(p, 620, "date's month", 0, 12) ||
      !WordInRange(p, 624, "date's two-digit year", 0, 99))
    return false;
  const std::int32_t iGroup = p[636] | (p[637] << 8);
  if (iGroup > TMMAX_GROUPS)
    return tmsave_RefusalSet("its group index (tournament bytes 636 and 637) is %d, not 0 to %d", iGroup, TMMAX_GROUPS);
  return true;
}

void GlobalRead(const std::uint8_t* p) {
  tmglobal_FirstLeg.iHomeGoals = static_cast<std::int32_t>(Get32(p + 12));
  tmglobal_FirstLeg.iAwayGoals = static_cast<std::int32_t>(Get32(p + 16));
  tmglobal_FirstLeg.bPlayed = static_cast<std::int32_t>(Get32(p + 20));
  tmglobal.iYear = p[9];
  tmglobal.bStarted = static_cast<std::int32_t>(Get32(p + 24));
  tmglobal.bQualifiersExtracted = static_cast<std::int32_t>(Get32(p + 28));
  tmglobal.bFinalsLoaded = static_cast<std::int32_t>(Get32(p + 32));
  tmglobal.bTournamentOver = static_cast<std::int32_t>(Get32(p + 36));
  tmglobal.bHolderOption = static_cast<std::int32_t>(Get32(p + 44));
  tmglobal.iCurrentHuman = static_cast<std::int32_t>(Get32(p + 48));
  GetName(p + 52, 56, tmglobal.szReplaceName, sizeof(tmglobal.szReplaceName));
  tmglobal.aHumans[0].Name = Get32(p + 108);
  tmglobal.aHumans[0].uFlags = Get32(p + 112);
  tmglobal.cHumans = static_cast<std::int32_t>(Get32(p + 116));
  tmglobal.iStartYear = static_cast<std::int32_t>(Get32(p + 120));
  tmglobal.bPlayQualifiers = static_cast<std::int32_t>(Get32(p + 124));
  tmglobal.bSecondOption = static_cast<std::int32_t>(Get32(p + 128));
  tmglobal.cNormalA = p[136];
  tmglobal.cNormalB = p[137];
  tmglobal.cExtraA = p[138];
  tmglobal.cExtraB = p[139];
  tmglobal.cPenA = p[142];
  tmglobal.cPenB = p[143];
  tmglobal.bSecondLeg = static_cast<std::int32_t>(Get32(p + 144));
  tmglobal.bFinals = static_cast<std::int32_t>(Get32(p + 148));
  tmglobal.iMatchPhase = static_cast<std::int32_t>(Get32(p + 152));
  for (std::int32_t i = 0; i < TM_EDITIONS; i++) {
    RollOfHonourEntry& e = tmglobal.aRoll[i];
    e.Winner = Get32(p + 156 + 16 * i);
    e.RunnerUp = Get32(p + 160 + 16 * i);
    e.Third = Get32(p + 164 + 16 * i);
    e.Fourth = Get32(p + 168 + 16 * i);
  }
  tmglobal.iRoundFormat = static_cast<std::int32_t>(Get32(p + 332));
  tmglobal.iTieBreak = static_cast<std::int32_t>(Get32(p + 336));
  tmglobal.bTournamentMatch = static_cast<std::int32_t>(Get32(p + 340));
  tmglobal.newqual_iCurrentQualifier = static_cast<std::uint16_t>(Get32(p + 344));
  for (std::int32_t i = 0; i < NEWQUAL_NUM_QUALIFIERS; i++) {
    tmglobal.aNewQual[i].Name = Get32(p + 352 + 8 * i);
    tmglobal.aNewQual[i].bNew = p[356 + 8 * i];
  }
  // The stream keeps two holders; the others are the built-in ones, except
  // that the winner of every edition before this one holds the next.
  const std::int32_t e = tmglobal_EditionGet();
  tmglobal_HoldersReset();
  for (std::int32_t i = 0; i < e && i < TM_EDITIONS; i++)
    if (tmglobal.aRoll[i].Winner) tmglobal.aHolders[i + 1] = tmglobal.aRoll[i].Winner;
  tmglobal.aHolders[TM_EDITIONS] = Get32(p + 608);
  if (e >= 0 && e < TM_EDITIONS && Get32(p + 612)) tmglobal.aHolders[e + 1] = Get32(p + 612);
  global.iDay = static_cast<std::int32_t>(Get32(p + 616));
  global.iMonth = static_cast<std::int32_t>(Get32(p + 620));
  global.iYear = static_cast<std::int32_t>(Get32(p + 624));
  tmglobal.iGroupIndex = p[636] | (p[637] << 8);
  tmglobal.pCurrentYear = nullptr;
}

// ---- The tree reader: one walk that checks, and the same walk that builds -----------
struct TreeWalk {
  bool bBuild;
  // counts of the stream so far (checking) and the current nodes (building)
  std::int32_t cYears = 0, cConfs = 0, cGroups = 0, cRounds = 0, cTeams = 0, cFixtures = 0, cDates = 0;
  std::uint32_t aKeys[TMMAX_YEARS] = {};
  std::int32_t acYearRounds[TMMAX_YEARS] = {};
  bool bConf = false, bGroup = false, bRound = false;
  std::int32_t cRoundTeams = 0, cRoundDates = 0, iMaxDate = -1;
  // The team-name ids the tree names (its team lists and its fixtures by name).
  bool abNamed[TM_MAX + 1] = {};
  Year* pYear = nullptr;
  Confederation* pConf = nullptr;
  Group* pGroup = nullptr;
  Round* pRound = nullptr;
  Fixture* pLastFixture = nullptr;
  FixtureDate* pLastDate = nullptr;
  TMTeam* pLastRoundTeam = nullptr;
  TMTeam* pLastGroupTeam = nullptr;

  bool RoundEnd() {
    const bool bOk = iMaxDate < cRoundDates;
    iMaxDate = -1;
    return bOk;
  }

  // 1 at the end chunk, 0 when the stream is refused.
  std::int32_t Run(const std::uint8_t* p, const std::uint8_t* pEnd) {
    while (p < pEnd) {
      const std::uint8_t tag = *p;
      std::int32_t n = 0;
      switch (tag) {
        case TMMAIN_CHUNKYEAR: n = kYearChunk; break;
        case TMMAIN_CHUNKCONF: n = kConfChunk; break;
        case TMMAIN_CHUNKGROUP: n = kGroupChunk; break;
        case TMMAIN_CHUNKROUND: n = kRoundChunk; break;
        case TMMAIN_CHUNKGROUPTEAM: case TMMAIN_CHUNKROUNDTEAM: n = kTeamChunk; break;
        case TMMAIN_CHUNKFIXTURE: n = kFixtureChunk; break;
        case TMMAIN_CHUNKFIXTUREDATE: n = kDateChunk; break;
        case TMMAIN_CHUNKEND: return (p + 1 == pEnd && RoundEnd()) ? 1 : 0;
        default: return 0;
      }
      if (pEnd - p < n || !Chunk(tag, p)) return 0;
      p += n;
    }
    return 0;
  }

  bool Chunk(std::uint8_t tag, const std::uint8_t* p) {
    switch (tag) {
      case TMMAIN_CHUNKYEAR: {
        const std::uint32_t uKey = Get32(p + 4);
        if (!RoundEnd() || cYears >= TMMAX_YEARS || uKey < 1 || uKey > 22 || Get32(p + 8) > 1) return false;
        if (cYears == 1 && !(uKey == aKeys[0] + 1 && uKey % 2 == 0)) return false;
        aKeys[cYears++] = uKey;
        bConf = bGroup = bRound = false;
        if (bBuild) {
          Year* y = tmmain_YearAlloc();
          history_YearInit(y);
          y->uKey = uKey;
          y->bComplete = Get32(p + 8);
          if (pYear) pYear->pNext = y;
          else TheYearList = y;
          pYear = y;
          pConf = nullptr;
        }
        return true;
      }
      case TMMAIN_CHUNKCONF: {
        char sz[28];
        if (!RoundEnd() || !cYears || ++cConfs > TMMAX_CONFS || !GetName(p + 1, 23, sz, sizeof(sz)) ||
            Get32(p + 24) > 1)
          return false;
        bConf = true;
        bGroup = bRound = false;
        if (bBuild) {
          Confederation* c = tmmain_ConfAlloc();
          history_ConfInit(c);
          std::snprintf(c->szName, sizeof(c->szName), "%s", sz);
          c->bComplete = Get32(p + 24);
          (pConf ? pConf->pNext : pYear->pConfs) = c;
          pConf = c;
          pGroup = nullptr;
        }
        return true;
      }
      case TMMAIN_CHUNKGROUP: {
        char sz[28];
        if (!RoundEnd() || !bConf || ++cGroups > TMMAX_GROUPS || !GetName(p + 1, 7, sz, sizeof(sz)) ||
            Get32(p + 12) > 1)
          return false;
        bGroup = true;
        bRound = false;
        if (bBuild) {
          Group* g = tmmain_GroupAlloc();
          history_GroupInit(g);
          std::snprintf(g->szName, sizeof(g->szName), "%s", sz);
          g->uCreated = Get32(p + 8);
          g->bComplete = Get32(p + 12);
          (pGroup ? pGroup->pNext : pConf->pGroups) = g;
          pGroup = g;
          pRound = nullptr;
          pLastGroupTeam = nullptr;
        }
        return true;
      }
      case TMMAIN_CHUNKROUND: {
        char szName[25], szLong[55], aszPlace[4][60];
        if (!RoundEnd() || !bGroup || ++cRounds > TMMAX_ROUNDS || !GetName(p + 1, 3, szName, sizeof(szName)) ||
            !GetName(p + 4, 36, szLong, sizeof(szLong)) || Get32(p + 40) < 1 || Get32(p + 40) > 9 ||
            Get32(p + 44) > 8 || Get32(p + 48) > 1)
          return false;
        for (std::int32_t i = 0; i < 4; i++)
          if (!GetName(p + kPlaceOffsets[i], kPlaceField, aszPlace[i], sizeof(aszPlace[i])) ||
              std::strlen(aszPlace[i]) >= kPlaceSizes[i])
            return false;
        acYearRounds[cYears - 1]++;
        bRound = true;
        cRoundTeams = cRoundDates = 0;
        if (bBuild) {
          Round* r = tmmain_RoundAlloc();
          std::memset(r, 0, sizeof(*r));
          history_RoundInit(r);
          std::snprintf(r->szName, sizeof(r->szName), "%s", szName);
          std::snprintf(r->szLongName, sizeof(r->szLongName), "%s", szLong);
          r->uFormat = Get32(p + 40);
          r->uTieBreak = Get32(p + 44);
          r->bComplete = Get32(p + 48);
          for (std::int32_t i = 0; i < 4; i++)
            std::memcpy(PlaceCode(r, i), aszPlace[i], std::strlen(aszPlace[i]) + 1);
          (pRound ? pRound->pNext : pGroup->pRounds) = r;
          pRound = r;
          pLastFixture = nullptr;
          pLastDate = nullptr;
          pLastRoundTeam = nullptr;
        }
        return true;
      }
      case TMMAIN_CHUNKGROUPTEAM:
      case TMMAIN_CHUNKROUNDTEAM: {
        const bool bRoundTeam = tag == TMMAIN_CHUNKROUNDTEAM;
        if ((bRoundTeam ? !bRound : !bGroup) || ++cTeams > TMMAX_TEAMS) return false;
        if (!TreeTeamId(Get32(p + 4))) return tmsave_RefusalSet("the tree's team id %u is not a team", Get32(p + 4));
        abNamed[Get32(p + 4)] = true;
        if (bRoundTeam) {
          if (cRoundTeams >= 255) return false;
          cRoundTeams++;
        }
        if (bBuild) {
          TMTeam* t = tmmain_TeamAlloc();
          tmteam_TeamInit(t);
          t->Name = Get32(p + 4);
          t->bTieBreak = 0;
          t->cPoints = p[8];
          t->cFor = p[9];
          t->cAgainst = p[10];
          t->cWon = p[11];
          t->cLost = p[12];
          t->cDrawn = p[13];
          t->cPlayed = p[14];
          t->pNext = nullptr;
          TMTeam*& pLast = bRoundTeam ? pLastRoundTeam : pLastGroupTeam;
          (pLast ? pLast->pNext : (bRoundTeam ? pRound->pTeams : pGroup->pTeams)) = t;
          pLast = t;
        }
        return true;
      }
      case TMMAIN_CHUNKFIXTURE: {
        if (!bRound || ++cFixtures > TMMAX_FIXTURES) return false;
        const bool bNameIds = p[11] & FIX_BYNAMEID;
        const std::int32_t iLimit = bNameIds ? TM_MAX : cRoundTeams;
        if (p[1] >= iLimit || p[2] >= iLimit) return false;
        if (bNameIds) abNamed[p[1]] = abNamed[p[2]] = true;
        if (p[12] > iMaxDate) iMaxDate = p[12];
        if (bBuild) {
          Fixture* f = tmmain_FixtureAlloc();
          history_FixtureInit(f);
          f->cTeamA = p[1];
          f->cTeamB = p[2];
          f->cScoreA = p[3];
          f->cScoreB = p[4];
          f->cPenA = p[5];
          f->cPenB = p[6];
          f->cExtraA = p[7];
          f->cExtraB = p[8];
          f->cResult = p[9];
          f->cFlags = p[11];
          f->cDate = p[12];
          f->pNext = nullptr;
          (pLastFixture ? pLastFixture->pNext : pRound->pFixtures) = f;
          pLastFixture = f;
        }
        return true;
      }
      case TMMAIN_CHUNKFIXTUREDATE: {
        if (!bRound || ++cDates > TMMAX_FIXTURES || p[1] < 1 || p[1] > 31 || p[2] < 1 || p[2] > 12 || p[3] > 99)
          return false;
        cRoundDates++;
        if (bBuild) {
          FixtureDate* d = tmmain_FixtureDateAlloc();
          history_FixtureDateInit(d);
          d->cDay = p[1];
          d->cMonth = p[2];
          d->cYear = p[3];
          d->pNext = nullptr;
          (pLastDate ? pLastDate->pNext : pRound->pDates) = d;
          pLastDate = d;
        }
        return true;
      }
      default:
        return false;
    }
  }
};

// Full names, long names, cut place codes and stadium lists from the shape.
void NamesRestore(Year* y, const Shape& s) {
  std::int32_t i = 0;
  for (Confederation* c = y->pConfs; c; c = c->pNext)
    for (Group* g = c->pGroups; g; g = g->pNext)
      for (Round* r = g->pRounds; r; r = r->pNext, i++) {
        const ShapeRound& l = s.a[i];
        std::snprintf(c->szName, sizeof(c->szName), "%s", l.szConf);
        std::snprintf(g->szName, sizeof(g->szName), "%s", l.szGroup);
        std::snprintf(r->szName, sizeof(r->szName), "%s", l.szRound);
        std::snprintf(r->szLongName, sizeof(r->szLongName), "%s", l.szLong);
        for (std::int32_t k = 0; k < 4; k++) {
          char* psz = PlaceCode(r, k);
          const std::size_t n = std::strlen(psz);
          // A code cut by its field, unchanged since the file gave it.
          if (n == kPlaceField - 1 && std::strncmp(psz, l.aszPlace[k], n) == 0)
            std::snprintf(psz, kPlaceSizes[k], "%s", l.aszPlace[k]);
        }
        r->pStadiums = nullptr;
        for (std::int32_t k = 0; k < l.cStadiums; k++) history_RoundStadiumAdd(r, l.aStadiums[k]);
      }
}

bool ShapeMatches(const std::uint8_t* pTree, const std::uint8_t* pEnd, const TreeWalk& w) {
  (void)pTree;
  (void)pEnd;
  for (std::int32_t i = 0; i < w.cYears; i++) {
    if (!ShapeRead(w.aKeys[i], &s_aShapes[i])) {
      if (!s_szRefusal[0]) tmsave_RefusalSet("the year file %s cannot be read", YearFilePath(w.aKeys[i]));
      return false;
    }
    if (s_aShapes[i].c != w.acYearRounds[i])
      return tmsave_RefusalSet("its year of key %u has %d rounds; the year file %s has %d", w.aKeys[i],
                               w.acYearRounds[i], YearFilePath(w.aKeys[i]), s_aShapes[i].c);
  }
  return true;
}

// An edition's tree is its qualifying year, then its finals once they are
// loaded; the flags say which of the two is being played. A history with
// qualifiers plays the qualifying year until the finals are loaded; one
// without them (or whose human team hosts or holds the title, which goes
// straight to the finals with the setting kept) has both years from the
// start. Flags that pick a year the tree does not have would leave the hub
// without a fixture.
bool FlagsMatchTree(const std::uint8_t* pGlobal, const TreeWalk& w) {
  if (w.cYears == 0) return true;
  const bool bFinalsLoaded = Get32(pGlobal + 32), bExtracted = Get32(pGlobal + 28);
  const bool bPlayQualifiers = Get32(pGlobal + 124), bSecondOption = Get32(pGlobal + 128);
  if (w.aKeys[0] % 2 == 0) return tmsave_RefusalSet("its tree begins with the finals, without their qualifying year");
  if (bFinalsLoaded && w.cYears < 2)
    return tmsave_RefusalSet("its finals-loaded flag is 1, but its tree holds only the qualifying year");
  if (!bFinalsLoaded && w.cYears > 1)
    return tmsave_RefusalSet("its finals-loaded flag is 0, but its tree holds the finals");
  if (bFinalsLoaded) return true;
  if (bSecondOption && !bPlayQualifiers)
    return tmsave_RefusalSet(
        "its Play Qualifiers setting is 0 (No), but its tree holds the qualifiers being played and no finals");
  if (bExtracted)
    return tmsave_RefusalSet("its qualifiers-extracted flag is 1, but its tree holds no finals for them");
  return true;
}

}  // namespace

void tmsave_YearTextSourceSet(const char* (*pfn)(std::uint32_t uKey, std::int32_t* pcLength)) { s_pfnYearText = pfn; }

std::int32_t tmmain_TeamStateSizeGet() { return TMSAVE_TEAMSTATE_SIZE; }

std::int32_t tmmain_TreeSizeGet(const Year* pList) {
  std::int32_t n = 1;
  for (const Year* y = pList; y; y = y->pNext) {
    n += kYearChunk;
    for (const Confederation* c = y->pConfs; c; c = c->pNext) {
      n += kConfChunk;
      for (const Group* g = c->pGroups; g; g = g->pNext) {
        n += kGroupChunk;
        for (const TMTeam* t = g->pTeams; t; t = t->pNext) n += kTeamChunk;
        for (const Round* r = g->pRounds; r; r = r->pNext) {
          n += kRoundChunk;
          for (const TMTeam* t = r->pTeams; t; t = t->pNext) n += kTeamChunk;
          for (const Fixture* f = r->pFixtures; f; f = f->pNext) n += kFixtureChunk;
          for (const FixtureDate* d = r->pDates; d; d = d->pNext) n += kDateChunk;
        }
      }
    }
  }
  return n;
}

void tmmain_YearChunkWrite(std::uint8_t** pp, const Year* y) {
  std::uint8_t* p = *pp;
  std::memset(p, 0, kYearChunk);
  p[0] = TMMAIN_CHUNKYEAR;
  Put32(p + 4, y->uKey);
  Put32(p + 8, y->bComplete);
  *pp += kYearChunk;
}
void tmmain_ConfChunkWrite(std::uint8_t** pp, const Confederation* c) {
  std::uint8_t* p = *pp;
  p[0] = TMMAIN_CHUNKCONF;
  PutName(p + 1, 23, c->szName);
  Put32(p + 24, c->bComplete);
  *pp += kConfChunk;
}
void tmmain_GroupChunkWrite(std::uint8_t** pp, const Group* g) {
  std::uint8_t* p = *pp;
  p[0] = TMMAIN_CHUNKGROUP;
  PutName(p + 1, 7, g->szName);
  Put32(p + 8, g->uCreated);
  Put32(p + 12, g->bComplete);
  *pp += kGroupChunk;
}
void tmmain_RoundChunkWrite(std::uint8_t** pp, const Round* r) {
  std::uint8_t* p = *pp;
  p[0] = TMMAIN_CHUNKROUND;
  PutName(p + 1, 3, r->szName);
  PutName(p + 4, 36, r->szLongName);
  Put32(p + 40, r->uFormat);
  Put32(p + 44, r->uTieBreak);
  Put32(p + 48, r->bComplete);
  for (std::int32_t i = 0; i < 4; i++) PutName(p + kPlaceOffsets[i], kPlaceField, PlaceCode(r, i));
  *pp += kRoundChunk;
}
void tmmain_TeamChunkWrite(std::uint8_t** pp, const TMTeam* t, std::int32_t bRoundTeam) {
  std::uint8_t* p = *pp;
  std::memset(p, 0, kTeamChunk);
  p[0] = bRoundTeam ? TMMAIN_CHUNKROUNDTEAM : TMMAIN_CHUNKGROUPTEAM;
  Put32(p + 4, t->Name);
  const std::uint8_t a[7] = {t->cPoints, t->cFor, t->cAgainst, t->cWon, t->cLost, t->cDrawn, t->cPlayed};
  std::memcpy(p + 8, a, 7);
  *pp += kTeamChunk;
}
void tmmain_FixtureChunkWrite(std::uint8_t** pp, const Fixture* f) {
  std::uint8_t* p = *pp;
  const std::uint8_t a[kFixtureChunk] = {TMMAIN_CHUNKFIXTURE, f->cTeamA, f->cTeamB, f->cScoreA, f->cScoreB,
                                         f->cPenA, f->cPenB, f->cExtraA, f->cExtraB,
                                         f->cResult,  // the result bits, so a draw of lots comes back
                                         0, f->cFlags, f->cDate};
  std::memcpy(p, a, kFixtureChunk);
  *pp += kFixtureChunk;
}
void tmmain_FixtureDateChunkWrite(std::uint8_t** pp, const FixtureDate* d) {
  std::uint8_t* p = *pp;
  p[0] = TMMAIN_CHUNKFIXTUREDATE;
  p[1] = d->cDay;
  p[2] = d->cMonth;
  p[3] = d->cYear;
  *pp += kDateChunk;
}
void tmmain_EndChunkWrite(std::uint8_t** pp) {
  **pp = TMMAIN_CHUNKEND;
  *pp += 1;
}

void tmmain_TreeSave(const Year* pList, std::uint8_t** pp) {
  for (const Year* y = pList; y; y = y->pNext) {
    tmmain_YearChunkWrite(pp, y);
    for (const Confederation* c = y->pConfs; c; c = c->pNext) {
      tmmain_ConfChunkWrite(pp, c);
      for (const Group* g = c->pGroups; g; g = g->pNext) {
        tmmain_GroupChunkWrite(pp, g);
        for (const Round* r = g->pRounds; r; r = r->pNext) {
          tmmain_RoundChunkWrite(pp, r);
          for (const TMTeam* t = r->pTeams; t; t = t->pNext) tmmain_TeamChunkWrite(pp, t, 1);
          for (const Fixture* f = r->pFixtures; f; f = f->pNext) tmmain_FixtureChunkWrite(pp, f);
          for (const FixtureDate* d = r->pDates; d; d = d->pNext) tmmain_FixtureDateChunkWrite(pp, d);
        }
        for (const TMTeam* t = g->pTeams; t; t = t->pNext) tmmain_TeamChunkWrite(pp, t, 0);
      }
    }
  }
  tmmain_EndChunkWrite(pp);
}

std::int32_t tmmain_GlobalChunkSave(std::uint8_t** pp) {
  GlobalWrite(*pp);
  *pp += TMSAVE_GLOBAL_SIZE;
  const std::int32_t bFits = tmmain_TeamStateSave(*pp);
  *pp += TMSAVE_TEAMSTATE_SIZE;
  return bFits;
}

std::int32_t tmsave_Write(std::uint8_t* pBlock, std::int32_t cBlock) {
  const std::int32_t cTree = tmmain_TreeSizeGet(TheYearList);
  const std::int32_t cTotal = kTreeStart + cTree;
  if (!pBlock || cBlock < cTotal) return 0;
  std::memset(pBlock, 0, static_cast<std::size_t>(cBlock));
  Put32(pBlock, static_cast<std::uint32_t>(cTotal));
  std::uint8_t* p = pBlock + 4;
  if (!tmmain_GlobalChunkSave(&p)) {
    std::memset(pBlock, 0, static_cast<std::size_t>(cBlock));
    return 0;
  }
  tmmain_TreeSave(TheYearList, &p);
  return cTotal;
}

bool tmsave_RefusalSet(const char* pszFormat, ...) {
  std::va_list a;
  va_start(a, pszFormat);
  std::vsnprintf(s_szRefusal, sizeof(s_szRefusal), pszFormat, a);
  va_end(a);
  return false;
}

const char* tmsave_RefusalGet() { return s_szRefusal; }

std::int32_t tmsave_Read(const std::uint8_t* pBlock, std::int32_t cBlock) {
  s_szRefusal[0] = 0;
  if (!pBlock || cBlock < kTreeStart + 1) return tmsave_RefusalSet("the block is too short");
  const std::uint32_t uTotal = Get32(pBlock);
  if (uTotal < static_cast<std::uint32_t>(kTreeStart + 1) || uTotal > static_cast<std::uint32_t>(cBlock))
    return tmsave_RefusalSet("its length word %u is outside its block", uTotal);
  const std::uint8_t* pGlobal = pBlock + 4;
  const std::uint8_t* pTree = pBlock + kTreeStart;
  const std::uint8_t* pEnd = pBlock + uTotal;
  if (!GlobalCheck(pGlobal) || !tmmain_TeamStateCheck(pGlobal + TMSAVE_GLOBAL_SIZE)) return 0;
  TreeWalk check{false};
  if (!check.Run(pTree, pEnd)) {
    if (!s_szRefusal[0]) tmsave_RefusalSet("the tournament tree is damaged");
    return 0;
  }
  // Each year must have the shape of its file in the loading language.
  if (!ShapeMatches(pTree, pEnd, check)) return 0;
  if (check.cYears == 0 && Get32(pGlobal + 24)) return tmsave_RefusalSet("a started tournament without a year");
  if (check.cYears && (check.aKeys[0] - 1) / 2 != (pGlobal[9] - 58u) / 4)
    return tmsave_RefusalSet("its tree is of another edition than its year");
  if (!FlagsMatchTree(pGlobal, check)) return 0;
  // Every human team plays in the edition: a team its tree does not name
  // would have no match to play.
  const std::uint32_t cHumans = Get32(pGlobal + 116);
  for (std::uint32_t h = 0; h < cHumans; h++) {
    const std::uint32_t Name =
        h ? tmmain_TeamStateHumanGet(pGlobal + TMSAVE_GLOBAL_SIZE, static_cast<std::int32_t>(h)) : Get32(pGlobal + 108);
    if (Name == 0 || Name > static_cast<std::uint32_t>(TM_MAX) || !check.abNamed[Name])
      return tmsave_RefusalSet("human team %u's id %u has no place in the tree of its edition", h + 1, Name);
  }
  // Accepted: from here on the running tournament is replaced.
  tmmain_PoolsReset();
  tmgame_FlowReset();
  GlobalRead(pGlobal);
  tmmain_TeamStateLoad(pGlobal + TMSAVE_GLOBAL_SIZE);
  TreeWalk build{true};
  build.Run(pTree, pEnd);
  std::int32_t i = 0;
  for (Year* y = TheYearList; y; y = y->pNext, i++) NamesRestore(y, s_aShapes[i]);
  // The qualified list is not in the stream: once the finals are loaded it
  // holds their teams again, in the tree's order (the news lists them).
  history_QualifiedListClear();
  if (tmglobal.bFinalsLoaded && TheYearList) tmgame_YearTeamsCollect(TheYearList->pNext);
  tmmain_CurrentYearCache();
  return 1;
}
