#pragma once
// Year files: the qualifying and finals tournaments of an edition as lines of
// 16 comma-separated fields, read into the tournament tree.
#include <cstddef>
#include <cstdint>

#include "tournament/tmtree.h"

struct YearFileRecord {
  char szKey[4];
  char szConf[55];
  char szGroup[10];
  char szRound[10];
  char szLongName[55];
  char szFormat[10];
  char szUnused1[10];
  char szTieBreak[10];
  char aszPlace[4][55];
  char szDates[1000];
  char szStadiums[200];
  char szUnused2[200];
  const char* pTeams;  // rest of the line
  std::int32_t cTeams;
};

extern std::int32_t history_bTeamNotAdded;
extern char history_szNotAddedGroup[16];
extern char history_szNotAddedRound[16];

// File id of an edition's qualifying (bFinals 0) or finals file in a language.
std::int32_t tmdata_YearFileIdGet(std::int32_t iLanguage, std::int32_t iEdition, std::int32_t bFinals);
// Parses a whole file held in memory; returns the number of lines applied.
std::int32_t history_YearTextParse(const char* pText, std::int32_t cLength);
// Reads a year file by id; 0 (after a message naming the file and the
// reason) when it cannot be opened, is empty, holds a line of another year
// or lines the reader reports as faults. The tree may then hold part of it.
std::int32_t history_YearFileRead(std::int32_t iFileId);
// The faults of the last parse in words: the first faulty line, its field
// and what is wrong there, and how many faults there were in all.
void history_YearTextFaultDescribe(std::int32_t cFaults, char* pszOut, std::size_t cb);
// How many year files could not be read since the start.
std::int32_t history_YearFilesUnreadableGet();
// The last of them in short for the screen: its path, then ", line <n>"
// for its first faulty line when one is known ("" while none).
const char* history_YearFileUnreadableShortGet();
void history_LineParse(const YearFileRecord* r);
std::int32_t tmmain_QualifiersFileLoad(std::int32_t iYear);
std::int32_t tmmain_FinalsFileLoad(std::int32_t iYear);
// The route of a finals first-stage team read from the last finals file
// ("host", "holder" or a code "*group.round*place"), null when none.
const char* history_FinalsRouteGet(std::uint32_t Name);
std::uint32_t history_PlayFormatCode(const char* psz, std::uint32_t uOld);
std::uint32_t history_TieBreakCode(const char* psz, std::uint32_t uOld);
void history_RoundStadiumAdd(Round* r, std::uint16_t uId);
void history_FixtureDateAdd(Round* r, std::int32_t iDay, std::int32_t iMonth, std::int32_t iYear);
// Re-attaches the stadium lists of the year's rounds from a file's text.
void history_StadiumsTextReload(const char* pText, std::int32_t cLength, std::int32_t iKeyIndex);
std::int32_t history_StadiumsReload(std::int32_t iFileId);
std::int32_t history_QualStadiumsReload();
std::int32_t history_FinalsStadiumsReload();
std::int32_t tmteam_RecordTeamAdd(Round* r, std::uint32_t Name);
