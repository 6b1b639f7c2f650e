#pragma once
// What user control calls in the modules around it that have no header of
// their own yet: the pause menu, the attract-mode demo, the goalkeepers'
// side alert and the touch machine's contact player.
#include <cstdint>

struct Player;
struct User;

using UsrctlResumeFn = void (*)();

// Opens the in-match pause menu for a user; `pfnResume` runs when it closes.
void pausemenu_Open(User* pusr, UsrctlResumeFn pfnResume);
// Asks a running attract-mode demo to stop.
void demo_StopRequest();
// The goalkeeper alert of a side (1 home, 2 away).
void newgoal_SideFlagSet(std::int32_t iSide, std::int32_t bFlag);
// Records a player as his side's contact player with a contact kind.
void touch_ContactSet(Player* pp, Player* poMark, std::int32_t iKind);
