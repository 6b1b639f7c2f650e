// Reading the year files into the tournament tree.
#include "tournament/yearfile.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/messagebox.h"
#include "shell/debuglog.h"
#include "shell/file.h"
#include "shell/mem.h"
#include "shell/texts.h"

std::int32_t history_bTeamNotAdded = 0;
char history_szNotAddedGroup[16];
char history_szNotAddedRound[16];

namespace {

const char* const kSource = "Gen\\history";

const char* const kPlaceFields[4] = {"the first place code", "the second place code", "the third place code",
                                     "the fourth place code"};

// Where the parse is (line 0: no parse), and the first fault of the parse
// with its place.
std::int32_t s_iLine = 0, s_iField = 0;
const char* s_pszField = "";
struct FirstFault {
  bool bSet = false;
  std::int32_t iLine = 0, iField = 0;
  const char* pszField = "";
  char szWhat[96] = "";
} s_oFirstFault;

void Where(std::int32_t iField, const char* pszField) {
  s_iField = iField;
  s_pszField = pszField;
}

// A fault of the line being parsed: counted, and the first one kept with
// its line, field and what is wrong (the item, when one is given).
void Fault(const char* pszExpression, const char* pszWhat, const char* pszItem = nullptr) {
  if (s_iLine > 0 && !s_oFirstFault.bSet) {
    FirstFault& f = s_oFirstFault;
    f.bSet = true;
    f.iLine = s_iLine;
    f.iField = s_iField;
    f.pszField = s_pszField;
    if (pszItem) std::snprintf(f.szWhat, sizeof(f.szWhat), "%s \"%s\"", pszWhat, pszItem);
    else std::snprintf(f.szWhat, sizeof(f.szWhat), "%s", pszWhat);
  }
  tmreport_Fault(pszExpression, kSource);
}

// Copies the field starting at p (ending at ',', CR, LF or the end) into a
// buffer of n bytes; an overlong field is cut and reported. Returns the
// position after the field's end character (',' only).
const char* FieldCopy(const char* p, const char* pEnd, char* pszOut, std::int32_t n) {
  std::int32_t i = 0;
  bool bCut = false;
  while (p < pEnd && *p != ',' && *p != '\r' && *p != '\n') {
    if (i < n - 1) pszOut[i++] = *p;
    else bCut = true;
    p++;
  }
  pszOut[i] = 0;
  if (bCut) Fault("field longer than its buffer", "a value longer than its buffer", pszOut);
  if (p < pEnd && *p == ',') p++;
  return p;
}

void NameCheck(const char* psz) {
  if (std::strlen(psz) > static_cast<std::size_t>(TM_NAME_MAX)) Fault("iCount <= 24", "a name longer than 24 characters", psz);
}

// Copies at most cMax bytes of a text into a buffer of n bytes, cut to fit;
// true when the text was cut.
bool BoundedCopy(char* pszOut, std::size_t n, const char* psz, std::size_t cMax = SIZE_MAX) {
  const std::size_t c = strnlen(psz, cMax);
  const std::size_t cCopy = c < n - 1 ? c : n - 1;
  std::memcpy(pszOut, psz, cCopy);
  pszOut[cCopy] = 0;
  return cCopy < c;
}

Year* YearFindOrAdd(const char* pszKey) {
  const std::uint32_t uKey = static_cast<std::uint32_t>(tmdata_KeyIndexGet(pszKey));
  Year** pp = &TheYearList;
  while (*pp) {
    if ((*pp)->uKey == uKey) return *pp;
    pp = &(*pp)->pNext;
  }
  Year* y = tmmain_YearAlloc();
  if (!y) return nullptr;
  history_YearInit(y);
  y->uKey = uKey;
  *pp = y;
  return y;
}

Confederation* ConfFindOrAdd(Year* y, const char* pszName) {
  Confederation** pp = &y->pConfs;
  while (*pp) {
    if (std::strcmp((*pp)->szName, pszName) == 0) break;
    pp = &(*pp)->pNext;
  }
  Confederation* c = *pp;
  if (!c) {
    c = tmmain_ConfAlloc();
    if (!c) return nullptr;
    history_ConfInit(c);
    *pp = c;
  }
  NameCheck(pszName);
  BoundedCopy(c->szName, sizeof(c->szName), pszName);
  return c;
}

Group* GroupFindOrAdd(Confederation* c, const char* pszName) {
  Group** pp = &c->pGroups;
  while (*pp) {
    if (std::strcmp((*pp)->szName, pszName) == 0) return *pp;
    pp = &(*pp)->pNext;
  }
  Group* g = tmmain_GroupAlloc();
  if (!g) return nullptr;
  history_GroupInit(g);
  NameCheck(pszName);
  BoundedCopy(g->szName, sizeof(g->szName), pszName);
  *pp = g;
  return g;
}

Round* RoundFindOrAdd(Group* g, const char* pszName) {
  Round** pp = &g->pRounds;
  while (*pp) {
    if (std::strcmp((*pp)->szName, pszName) == 0) return *pp;
    pp = &(*pp)->pNext;
  }
  Round* r = tmmain_RoundAlloc();
  if (!r) return nullptr;
  history_RoundInit(r);
  *pp = r;
  return r;
}

// A decimal number from [p, pEnd) with leading '0's skipped; -1 when the
// item holds anything but digits or is empty.
std::int32_t Number(const char* p, const char* pEnd) {
  while (p < pEnd && *p == '0' && p + 1 < pEnd) p++;
  if (p >= pEnd) return -1;
  std::int32_t v = 0;
  for (; p < pEnd; p++) {
    if (*p < '0' || *p > '9' || v > 100000) return -1;
    v = v * 10 + (*p - '0');
  }
  return v;
}

void DatesRead(Round* r, const char* psz) {
  if (!*psz) {
    history_FixtureDateAdd(r, 1, 1, 50);
    return;
  }
  const char* p = psz;
  while (*p) {
    const char* pItemEnd = std::strchr(p, ';');
    if (!pItemEnd) pItemEnd = p + std::strlen(p);
    const char* s1 = static_cast<const char*>(std::memchr(p, '/', static_cast<std::size_t>(pItemEnd - p)));
    const char* s2 = s1 ? static_cast<const char*>(std::memchr(s1 + 1, '/', static_cast<std::size_t>(pItemEnd - s1 - 1)))
                        : nullptr;
    if (!s1 || !s2) {
      Fault("bad date item", "a date that is not day/month/year");
    } else {
      const std::int32_t d = Number(p, s1), m = Number(s1 + 1, s2), y = Number(s2 + 1, pItemEnd);
      bool bOk = true;
      if (!(d >= 1 && d <= 31)) { Fault("iDay >= 1 && iDay <= 31", "a day outside 1 to 31"); bOk = false; }
      if (!(m >= 1 && m <= 12)) { Fault("iMonth >= 1 && iMonth <= 12", "a month outside 1 to 12"); bOk = false; }
      if (!(y >= 56 && y <= 98)) { Fault("iYear >= 56 && iYear <= 98", "a year outside 56 to 98"); bOk = false; }
      if (bOk) history_FixtureDateAdd(r, d, m, y);
    }
    p = *pItemEnd ? pItemEnd + 1 : pItemEnd;
  }
}

void StadiumsRead(Round* r, const char* psz) {
  const char* p = psz;
  while (*p) {
    const char* pItemEnd = std::strchr(p, ';');
    if (!pItemEnd) pItemEnd = p + std::strlen(p);
    const std::int32_t v = Number(p, pItemEnd);
    if (v >= 0 && v < 65536) history_RoundStadiumAdd(r, static_cast<std::uint16_t>(v));
    else if (pItemEnd > p) Fault("bad stadium item", "a stadium that is not a number");
    p = *pItemEnd ? pItemEnd + 1 : pItemEnd;
  }
}

// The routes of the finals' first-stage teams (field 15 of their lines, an
// item a team): "host", "holder" or the qualifying round and place whose
// winner takes the team's slot. Kept from the last finals file read.
struct FinalsRoute {
  std::uint32_t Name;
  char szCode[32];
};
FinalsRoute s_aRoutes[TMMAX_TEAMS];
std::int32_t s_cRoutes = 0;

void TeamsRead(Round* r, const YearFileRecord* rec, const char* pszGroup, const char* pszRound) {
  const char* pRoute = rec->szKey[0] == 'F' && rec->szUnused2[0] ? rec->szUnused2 : nullptr;
  const char* p = rec->pTeams;
  const char* pEnd = p + rec->cTeams;
  if (p < pEnd && *p == ',') {
    Where(16, "the first team");
    debuglog_Printf("**** Someone put a comma here! ****\nConf: %s\nGroup: %s\nRound: %s\n", rec->szConf, pszGroup,
                    pszRound);
    Fault("0", "an empty team before the first");
  }
  const bool bQualifying = rec->szKey[0] != 'F';
  std::int32_t iField = 16;
  while (p < pEnd) {
    Where(iField++, "a team");
    char szName[64];
    std::int32_t i = 0;
    while (p < pEnd && *p != ',' && *p != '\r' && *p != '\n') {
      if (i < 63) szName[i++] = *p;
      p++;
    }
    szName[i] = 0;
    if (p < pEnd) p++;
    if (!szName[0]) continue;
    const std::int32_t id = tmteam_NameFind(szName);
    if (id <= 0) {
      debuglog_Printf("Unknown team %s\n", szName);
      Fault("unknown team name", "an unknown team", szName);
      continue;
    }
    const std::int32_t e = tmglobal_EditionGet();
    if (bQualifying && tmglobal.bHolderOption && e >= 0 && e < TM_EDITIONS &&
        static_cast<std::uint32_t>(id) == tmglobal.aHolders[e]) {
      if (history_bTeamNotAdded) Fault("history_bTeamNotAdded == FALSE", "a second holder left out");
      BoundedCopy(history_szNotAddedGroup, sizeof(history_szNotAddedGroup), pszGroup);
      BoundedCopy(history_szNotAddedRound, sizeof(history_szNotAddedRound), pszRound);
      history_bTeamNotAdded = 1;
      debuglog_Printf("%s not added\n", szName);
      continue;
    }
    tmteam_RecordTeamAdd(r, static_cast<std::uint32_t>(id));
    if (pRoute && *pRoute && s_cRoutes < TMMAX_TEAMS) {
      FinalsRoute& a = s_aRoutes[s_cRoutes++];
      a.Name = static_cast<std::uint32_t>(id);
      std::size_t n = std::strcspn(pRoute, ";");
      BoundedCopy(a.szCode, sizeof(a.szCode), pRoute, n);
      pRoute += n + (pRoute[n] ? 1 : 0);
    }
  }
}

}  // namespace

const char* history_FinalsRouteGet(std::uint32_t Name) {
  for (std::int32_t i = 0; i < s_cRoutes; i++)
    if (s_aRoutes[i].Name == Name) return s_aRoutes[i].szCode;
  return nullptr;
}

std::int32_t tmdata_YearFileIdGet(std::int32_t iLanguage, std::int32_t iEdition, std::int32_t bFinals) {
  std::int32_t iBase = 1;
  switch (iLanguage) {
    case LANGUAGE_FRENCH: iBase = 23; break;
    case LANGUAGE_GERMAN: iBase = 45; break;
    case LANGUAGE_SPANISH: iBase = 89; break;
    case LANGUAGE_ITALIAN: iBase = 67; break;
    case LANGUAGE_PORTUGUESE: iBase = 111; break;
    default: break;
  }
  return iBase + 2 * iEdition + (bFinals ? 1 : 0);
}

std::uint32_t history_PlayFormatCode(const char* psz, std::uint32_t uOld) {
  static const char* const kNames[] = {"ha", "once", "ko1", "twice", "ko2", "ko", "ko3", "ko4", "ha1"};
  for (std::uint32_t i = 0; i < 9; i++) {
    if (std::strcmp(psz, kNames[i]) == 0) return i + 1;
  }
  Fault("unknown play format", "an unknown play format", psz);
  return uOld;
}

std::uint32_t history_TieBreakCode(const char* psz, std::uint32_t uOld) {
  if (!psz[0] || psz[0] == 'N') return TB_NONE;
  static const char* const kNames[] = {"po", "gd", "agg", "agg2", "bye", "gd2", "gd1", "gd3"};
  for (std::uint32_t i = 0; i < 8; i++) {
    if (std::strcmp(psz, kNames[i]) == 0) {
      if (i + 1 == TB_AGG2) Fault("agg2", "the tie-break agg2");
      return i + 1;
    }
  }
  Fault("unknown tie-break", "an unknown tie-break", psz);
  return uOld;
}

void history_RoundStadiumAdd(Round* r, std::uint16_t uId) {
  StadiumLink** pp = &r->pStadiums;
  while (*pp) {
    if ((*pp)->uId == uId) return;
    pp = &(*pp)->pNext;
  }
  StadiumLink* s = tmmain_StadiumLinkAlloc();
  if (!s) return;
  stadium_LinkInit(s);
  s->uId = uId;
  *pp = s;
}

void history_FixtureDateAdd(Round* r, std::int32_t iDay, std::int32_t iMonth, std::int32_t iYear) {
  FixtureDate** pp = &r->pDates;
  while (*pp) pp = &(*pp)->pNext;
  FixtureDate* d = tmmain_FixtureDateAlloc();
  if (!d) return;
  history_FixtureDateInit(d);
  d->cDay = static_cast<std::uint8_t>(iDay);
  d->cMonth = static_cast<std::uint8_t>(iMonth);
  d->cYear = static_cast<std::uint8_t>(iYear);
  *pp = d;
}

std::int32_t tmteam_RecordTeamAdd(Round* r, std::uint32_t Name) {
  TMTeam** pp = &r->pTeams;
  while (*pp) {
    if ((*pp)->Name == Name) return 1;
    pp = &(*pp)->pNext;
  }
  TMTeam* t = tmmain_TeamAlloc();
  if (!t) return 0;
  t->Name = Name;
  tmteam_TeamInit(t);
  *pp = t;
  return 1;
}

void history_LineParse(const YearFileRecord* rec) {
  Year* y = YearFindOrAdd(rec->szKey);
  if (!y) return;
  Where(2, "the confederation");
  Confederation* c = ConfFindOrAdd(y, rec->szConf);
  if (!c) return;
  Where(3, "the group");
  Group* g = GroupFindOrAdd(c, rec->szGroup);
  if (!g) return;
  Round* r = RoundFindOrAdd(g, rec->szRound);
  if (!r) return;
  Where(6, "the play format");
  r->uFormat = history_PlayFormatCode(rec->szFormat, r->uFormat);
  Where(4, "the round");
  NameCheck(rec->szRound);
  BoundedCopy(r->szName, sizeof(r->szName), rec->szRound);
  // The third and fourth codes have smaller buffers than the file's field: a
  // longer code is cut to its buffer and reported.
  char* const apszPlace[4] = {r->szPlace1, r->szPlace2, r->szPlace3, r->szPlace4};
  const std::size_t acPlace[4] = {sizeof(r->szPlace1), sizeof(r->szPlace2), sizeof(r->szPlace3), sizeof(r->szPlace4)};
  std::int32_t iCut = -1;
  for (std::int32_t i = 0; i < 4; i++)
    if (BoundedCopy(apszPlace[i], acPlace[i], rec->aszPlace[i]) && iCut < 0) iCut = i;
  if (iCut >= 0) {
    Where(9 + iCut, kPlaceFields[iCut]);
    Fault("place code longer than its buffer", "a place code longer than its buffer", rec->aszPlace[iCut]);
  }
  BoundedCopy(r->szLongName, sizeof(r->szLongName), rec->szLongName);
  Where(8, "the tie-break");
  r->uTieBreak = history_TieBreakCode(rec->szTieBreak, r->uTieBreak);
  Where(14, "the stadiums");
  StadiumsRead(r, rec->szStadiums);
  Where(13, "the dates");
  if (r->uTieBreak != TB_BYE) DatesRead(r, rec->szDates);
  TeamsRead(r, rec, g->szName, r->szName);
}

namespace {
// Splits one line into the record; returns the position after the line.
const char* LineSplit(const char* p, const char* pEnd, YearFileRecord* rec) {
  Where(1, "the key");
  p = FieldCopy(p, pEnd, rec->szKey, sizeof(rec->szKey));
  Where(2, "the confederation");
  p = FieldCopy(p, pEnd, rec->szConf, sizeof(rec->szConf));
  Where(3, "the group");
  p = FieldCopy(p, pEnd, rec->szGroup, sizeof(rec->szGroup));
  Where(4, "the round");
  p = FieldCopy(p, pEnd, rec->szRound, sizeof(rec->szRound));
  Where(5, "the long name");
  p = FieldCopy(p, pEnd, rec->szLongName, sizeof(rec->szLongName));
  Where(6, "the play format");
  p = FieldCopy(p, pEnd, rec->szFormat, sizeof(rec->szFormat));
  Where(7, "the seventh field");
  p = FieldCopy(p, pEnd, rec->szUnused1, sizeof(rec->szUnused1));
  Where(8, "the tie-break");
  p = FieldCopy(p, pEnd, rec->szTieBreak, sizeof(rec->szTieBreak));
  for (std::int32_t i = 0; i < 4; i++) {
    Where(9 + i, kPlaceFields[i]);
    p = FieldCopy(p, pEnd, rec->aszPlace[i], sizeof(rec->aszPlace[i]));
  }
  Where(13, "the dates");
  p = FieldCopy(p, pEnd, rec->szDates, sizeof(rec->szDates));
  Where(14, "the stadiums");
  p = FieldCopy(p, pEnd, rec->szStadiums, sizeof(rec->szStadiums));
  Where(15, "the routes");
  p = FieldCopy(p, pEnd, rec->szUnused2, sizeof(rec->szUnused2));
  rec->pTeams = p;
  while (p < pEnd && *p != '\n' && *p != '\r') p++;
  rec->cTeams = static_cast<std::int32_t>(p - rec->pTeams);
  while (p < pEnd && (*p == '\n' || *p == '\r')) p++;
  return p;
}
}  // namespace

std::int32_t history_YearTextParse(const char* pText, std::int32_t cLength) {
  history_bTeamNotAdded = 0;
  const char* p = pText;
  const char* pEnd = pText + (cLength > 0 ? cLength : 0);
  std::int32_t cLines = 0;
  static YearFileRecord rec;
  bool bFinals = false;
  s_oFirstFault = FirstFault{};
  std::int32_t iLine = 1;
  while (p < pEnd) {
    if (*p == 26) break;
    s_iLine = iLine;
    const char* pNext = LineSplit(p, pEnd, &rec);
    if (pNext == p) break;
    for (const char* q = p; q < pNext; q++) iLine += *q == '\n';
    p = pNext;
    if (std::strlen(rec.szKey) < 2) continue;
    if (rec.szKey[0] == 'F' && !bFinals) s_cRoutes = 0;  // a finals file brings its own routes
    bFinals = bFinals || rec.szKey[0] == 'F';
    const std::int32_t cFaults = tmreport_CountGet();
    history_LineParse(&rec);
    // A fault reported elsewhere on the line's way into the tree.
    if (tmreport_CountGet() != cFaults && !s_oFirstFault.bSet) {
      s_oFirstFault.bSet = true;
      s_oFirstFault.iLine = s_iLine;
    }
    cLines++;
  }
  s_iLine = 0;
  return cLines;
}

namespace {

std::int32_t s_cUnreadable = 0;
char s_szUnreadableShort[120] = "";

// A year file that cannot be used: said with its path and the reason (the
// box goes to standard error as well), and counted; its path and its first
// faulty line (iLine, 0 when none) kept in short for the screen.
void Unreadable(std::int32_t iFileId, const char* pszWhy, std::int32_t iLine = 0) {
  const char* pszPath = file_pszGetPath(iFileId);
  char szMessage[300];
  std::snprintf(szMessage, sizeof(szMessage), "The tournament file %s cannot be read: %s", pszPath ? pszPath : "?",
                pszWhy);
  platform::messageBox(nullptr, szMessage, "Error!", platform::MessageIcon::Stop);
  if (iLine > 0)
    std::snprintf(s_szUnreadableShort, sizeof(s_szUnreadableShort), "%s, line %d", pszPath ? pszPath : "?", iLine);
  else std::snprintf(s_szUnreadableShort, sizeof(s_szUnreadableShort), "%s", pszPath ? pszPath : "?");
  s_cUnreadable++;
}

// Reads a whole file by id into the scratch buffer; null with a message when
// it cannot.
const char* FileLoad(std::int32_t iFileId, std::int32_t* pcLength) {
  std::FILE* pFile = file_Open(iFileId);
  if (!pFile) {
    Unreadable(iFileId, "it cannot be opened");
    return nullptr;
  }
  const std::int32_t cSize = file_iGetSize(pFile);
  if (cSize < 0 || cSize > MEM_SCRATCH_SIZE || !mem_bIsAvailable()) {
    file_Close(pFile);
    Unreadable(iFileId, "it is too large or its size cannot be read");
    return nullptr;
  }
  char* pBuffer = static_cast<char*>(mem_pvLock());
  const std::int32_t cRead = file_Read(pFile, pBuffer, cSize);
  file_Close(pFile);
  *pcLength = cRead > 0 ? cRead : 0;
  return pBuffer;
}
}  // namespace

// Why a file's text is not a year file of the key: every line a year line
// of that key; null when it is one.
const char* YearTextRefusal(const char* pText, std::int32_t cLength, std::int32_t iKey, char* pszWhy, std::size_t cb,
                            std::int32_t* piLine) {
  const char* p = pText;
  const char* pEnd = pText + (cLength > 0 ? cLength : 0);
  static YearFileRecord rec;
  std::int32_t cLines = 0, iLine = 0;
  while (p < pEnd && *p != 26) {
    const char* pNext = LineSplit(p, pEnd, &rec);
    if (pNext == p) break;
    p = pNext;
    iLine++;
    if (std::strlen(rec.szKey) < 2) continue;
    if (tmdata_KeyIndexGet(rec.szKey) != iKey) {
      std::snprintf(pszWhy, cb, "line %d does not begin with the key of its year", iLine);
      *piLine = iLine;
      return pszWhy;
    }
    cLines++;
  }
  if (cLines == 0) {
    std::snprintf(pszWhy, cb, cLength > 0 ? "it holds no line of a year" : "it is empty");
    return pszWhy;
  }
  return nullptr;
}

std::int32_t history_YearFileRead(std::int32_t iFileId) {
  std::int32_t cLength = 0;
  const char* p = FileLoad(iFileId, &cLength);
  if (!p) return 0;
  // The key of the file: its place among the language's year files.
  const std::int32_t iKey = iFileId - tmdata_YearFileIdGet(mlang_iLanguage, 0, 0) + 1;
  char szWhy[240];
  std::int32_t iLine = 0;
  if (YearTextRefusal(p, cLength, iKey, szWhy, sizeof(szWhy), &iLine)) {
    mem_Unlock();
    Unreadable(iFileId, szWhy, iLine);
    return 0;
  }
  const std::int32_t cFaults = tmreport_CountGet();
  history_YearTextParse(p, cLength);
  mem_Unlock();
  if (tmreport_CountGet() != cFaults) {
    history_YearTextFaultDescribe(tmreport_CountGet() - cFaults, szWhy, sizeof(szWhy));
    Unreadable(iFileId, szWhy, s_oFirstFault.bSet ? s_oFirstFault.iLine : 0);
    return 0;
  }
  return 1;
}

std::int32_t history_YearFilesUnreadableGet() { return s_cUnreadable; }
const char* history_YearFileUnreadableShortGet() { return s_szUnreadableShort; }

void history_YearTextFaultDescribe(std::int32_t cFaults, char* pszOut, std::size_t cb) {
  const FirstFault& f = s_oFirstFault;
  char szAll[40] = "";
  if (cFaults > 1) std::snprintf(szAll, sizeof(szAll), " (%d faults in all)", cFaults);
  if (!f.bSet) std::snprintf(pszOut, cb, "%d faults in its lines", cFaults);
  else if (!f.iField || !f.szWhat[0]) std::snprintf(pszOut, cb, "its line %d has a fault%s", f.iLine, szAll);
  else
    std::snprintf(pszOut, cb, "its line %d has %s in field %d (%s)%s", f.iLine, f.szWhat, f.iField, f.pszField,
                  szAll);
}

std::int32_t tmmain_QualifiersFileLoad(std::int32_t iYear) {
  return history_YearFileRead(tmdata_YearFileIdGet(mlang_iLanguage, (iYear - 58) / 4, 0));
}
std::int32_t tmmain_FinalsFileLoad(std::int32_t iYear) {
  return history_YearFileRead(tmdata_YearFileIdGet(mlang_iLanguage, (iYear - 58) / 4, 1));
}

void history_StadiumsTextReload(const char* pText, std::int32_t cLength, std::int32_t iKeyIndex) {
  Year* y = TheYearList;
  while (y && y->uKey != static_cast<std::uint32_t>(iKeyIndex)) y = y->pNext;
  if (!y) return;
  Round* apRounds[TMMAX_ROUNDS];
  std::int32_t cRounds = 0;
  for (Confederation* c = y->pConfs; c; c = c->pNext)
    for (Group* g = c->pGroups; g; g = g->pNext)
      for (Round* r = g->pRounds; r; r = r->pNext)
        if (cRounds < TMMAX_ROUNDS) apRounds[cRounds++] = r;
  std::int32_t iRound = 0;
  const char* p = pText;
  const char* pEnd = pText + (cLength > 0 ? cLength : 0);
  static YearFileRecord rec;
  while (p < pEnd && iRound < cRounds) {
    if (*p == 26) break;
    const char* pNext = LineSplit(p, pEnd, &rec);
    if (pNext == p) break;
    p = pNext;
    if (std::strlen(rec.szKey) < 2) continue;
    Round* r = apRounds[iRound++];
    r->pStadiums = nullptr;
    StadiumsRead(r, rec.szStadiums);
  }
}

std::int32_t history_StadiumsReload(std::int32_t iFileId) {
  std::int32_t cLength = 0;
  const char* p = FileLoad(iFileId, &cLength);
  if (!p) return 0;
  const std::int32_t e = tmglobal_EditionGet();
  const bool bFinals = (iFileId - tmdata_YearFileIdGet(mlang_iLanguage, e, 0)) == 1;
  history_StadiumsTextReload(p, cLength, 2 * e + 1 + (bFinals ? 1 : 0));
  mem_Unlock();
  return 1;
}
std::int32_t history_QualStadiumsReload() {
  return history_StadiumsReload(tmdata_YearFileIdGet(mlang_iLanguage, tmglobal_EditionGet(), 0));
}
std::int32_t history_FinalsStadiumsReload() {
  return history_StadiumsReload(tmdata_YearFileIdGet(mlang_iLanguage, tmglobal_EditionGet(), 1));
}
