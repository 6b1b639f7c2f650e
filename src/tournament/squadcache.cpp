// The squad cache: loading a team's squad from the player database into one
// of two slots.
#include <cstdio>
#include <cstring>
#include <string>

#include "framework/qdx_assert.h"
#include "frontend/frontend_services.h"
#include "platform/paths.h"
#include "shell/file.h"
#include "shell/saidonce.h"
#include "tournament/dbindex.h"
#include "tournament/squad.h"
#include "tournament/tla.h"

namespace {

constexpr std::int32_t DB_FILE_ID = 0;  // "..\data\database\dump\dump.dat"

Squad squadcache_aSlots[SQUADCACHE_SLOTS];
DBPlayer squadcache_aStore[SQUADCACHE_SLOTS][TEAM_SQUADSIZE_MAX];

void SlotClear(Squad* po) {
  po->szTeamName[0] = '\0';
  po->iTeamId = 0;
  po->pvBlock = nullptr;
  po->poFirstPlayer = nullptr;
  po->aiCleared[0] = po->aiCleared[1] = 0;
  po->Size = 0;
  po->iCleared = 0;
}

}  // namespace

void squadcache_Clear() {
  for (Squad& o : squadcache_aSlots) SlotClear(&o);
}

Squad* squadcache_SlotGet(std::int32_t iSlot) {
  QDX_ASSERT(iSlot >= 0 && iSlot < SQUADCACHE_SLOTS);
  return &squadcache_aSlots[iSlot];
}

void squadcache_SlotSet(const char* pszName, std::int32_t iTeamId, const DBPlayer* paPlayers, std::int32_t cPlayers,
                        std::int32_t iEdition, std::int32_t iSlot) {
  QDX_ASSERT(iSlot >= 0 && iSlot < SQUADCACHE_SLOTS);
  QDX_ASSERT(cPlayers >= 0);
  Squad& o = squadcache_aSlots[iSlot];
  DBPlayer* paStore = squadcache_aStore[iSlot];
  const std::int32_t n = cPlayers < TEAM_SQUADSIZE_MAX ? cPlayers : TEAM_SQUADSIZE_MAX;
  for (std::int32_t i = 0; i < n; i++) paStore[i] = paPlayers[i];
  std::snprintf(o.szTeamName, sizeof o.szTeamName, "%s", pszName ? pszName : "");
  o.iTeamId = iTeamId;
  o.iEdition = iEdition;
  o.pvBlock = paStore;
  o.poFirstPlayer = paStore;
  o.aiCleared[0] = o.aiCleared[1] = 0;
  o.Size = n;
  o.iCleared = 0;
}

Squad* squadcache_Find(std::int32_t iTeamId, std::int32_t iEdition) {
  for (Squad& o : squadcache_aSlots)
    if (o.iTeamId == iTeamId && o.iEdition == iEdition) return &o;
  return nullptr;
}

namespace {
// The player database that cannot be read: said on standard error once for
// each reason, and on the screen in the game's error box each time.
Squad* DumpUnreadable(const char* pszWhy) {
  const char* pszPath = file_pszGetPath(DB_FILE_ID);
  const std::string oText =
      std::string("squads: the player database ") + (pszPath ? pszPath : "?") + " cannot be read: " + pszWhy;
  saidonce_Say("squads", oText, oText);
  char szBox[200];
  std::snprintf(szBox, sizeof(szBox), "%s cannot be read", pszPath ? pszPath : "The player database");
  pctext_ErrorBoxHold(szBox);
  return nullptr;
}
}  // namespace

Squad* squadcache_Load(const SquadTeamRef* poTeam, std::int32_t iEdition, std::int32_t iSlot, void* pvBuffer,
                       std::int32_t cbBuffer) {
  QDX_ASSERT(poTeam);
  QDX_ASSERT(iSlot >= 0 && iSlot < SQUADCACHE_SLOTS);
  QDX_ASSERT(pvBuffer);
  pcfmv_Stop();
  const std::uint32_t uOffset = director_DumpBlockOffsetGet(poTeam->iKey, iEdition);
  const std::uint32_t uSize = director_DumpBlockSizeGet(poTeam->iKey, iEdition);
  if (uSize == 0) return nullptr;
  // A block must be its header and whole records, and fit the buffer.
  if (uSize < DB_BLOCK_HEADER || (uSize - DB_BLOCK_HEADER) % DBPLAYER_FILE_SIZE != 0 || cbBuffer < 0 ||
      uSize > static_cast<std::uint32_t>(cbBuffer) || uOffset > 0x7FFFFFFFu || uSize > 0x7FFFFFFFu)
    return nullptr;
  std::FILE* pFile = file_Open(DB_FILE_ID);
  if (!pFile) return DumpUnreadable("it cannot be opened");
  // A folder (or any other thing that is not a file) opens for reading but
  // reads nothing.
  if (!platform::fileExists(file_pszGetPath(DB_FILE_ID))) {
    file_Close(pFile);
    const std::uint32_t uAttributes = platform::fileAttributes(file_pszGetPath(DB_FILE_ID));
    const bool bFolder =
        uAttributes != platform::kFileAttributeInvalid && (uAttributes & platform::kFileAttributeDirectory) != 0;
    return DumpUnreadable(bFolder ? "it is a folder, not a file" : "it is not a file");
  }
  const std::int32_t cbFile = file_iGetSize(pFile);
  std::int32_t cbRead = 0;
  if (cbFile >= 0 && static_cast<std::uint64_t>(uOffset) + uSize <= static_cast<std::uint64_t>(cbFile)) {
    file_Seek(pFile, static_cast<std::int32_t>(uOffset), 0);
    cbRead = file_Read(pFile, pvBuffer, static_cast<std::int32_t>(uSize));
  }
  file_Close(pFile);
  if (cbRead != static_cast<std::int32_t>(uSize)) return DumpUnreadable("it is shorter than its index says");

  // Decode into a scratch copy first, so a damaged block leaves the slot as it was.
  static DBPlayer aScratch[TEAM_SQUADSIZE_MAX];
  std::int32_t cKeep = 0;
  if (!squadcache_BlockDecode(static_cast<const std::uint8_t*>(pvBuffer), static_cast<std::int32_t>(uSize), aScratch,
                              TEAM_SQUADSIZE_MAX, &cKeep))
    return DumpUnreadable("a squad in it is damaged");
  squadcache_SlotSet(tla_NameGet(poTeam->iTeamId), poTeam->iTeamId, aScratch, cKeep, iEdition, iSlot);
  // The slot loaded, even when the other slot holds the same squad.
  return &squadcache_aSlots[iSlot];
}
