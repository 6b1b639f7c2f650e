#pragma once
// Choosing sides (front-end mode 11): before a friendly, a training match or
// a quick match each controller moves its icon to the home side, the away
// side or the middle; on confirmation the choices become the users' sides
// and ports and the home and away controllers.
#include <cstdint>

struct InputPort;
struct RegionDef;

enum : std::int32_t {
  PCSIDES_ENTRIES = 4,
  PCSIDES_BINDING = 11,
  PCSIDES_SHEET = 7,
  PCSIDES_RECORDS = 19,
  PCSIDES_NONE = 0,
  PCSIDES_HOME = 1,
  PCSIDES_AWAY = 2,
};

// Entry i belongs to player i + 1 on screen.
struct SidesEntry {
  std::uint8_t cSide;    // PCSIDES_NONE, PCSIDES_HOME or PCSIDES_AWAY
  std::int32_t iWord;
  InputPort* pip;        // the port owning the entry, null when free
};

extern SidesEntry pcsides_aEntries[PCSIDES_ENTRIES];
extern std::int32_t pcsides_bNeedsEnter;
extern std::int32_t pcsides_bKeepEntries;  // set: the next entry empties the entries
extern const RegionDef pcsides_aoLayout[PCSIDES_RECORDS];

void pcsides_Enter();
void pcsides_Draw();
std::int32_t pcsides_Input(std::int32_t iPort);
void pcsides_Commit();
std::int32_t pcsides_EntryOfPort(const InputPort* pip);
std::int32_t pcsides_EntryFree();
