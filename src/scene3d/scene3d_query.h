#pragma once
// What the match scene asks of the rest of the game: thin accessors over
// the match's environment and options.
#include <cstdint>

std::int32_t scene3d_bNightGet();
std::int32_t scene3d_iStadiumLookGet();
std::int32_t scene3d_iDetailSettingGet();
std::int32_t scene3d_iPitchTypeGet();
// The match's frame counter (the ticks the nets' time is counted in).
std::int32_t scene3d_iMatchFrameGet();
// The home side's kit edition (0 to 10 for 1958 to 1998; 11 the dream
// team) and the history mode's finals flag (0 outside the history mode).
std::int32_t scene3d_iHomeKitEditionGet();
std::int32_t scene3d_bHistoryFinalsGet();
// Finds the kits' colour equivalents and sets the scene's colour mode.
void scene3d_KitColoursFind();

// The loading screen's texts: the match's extended game mode, the two team
// names (0 home, 1 away) and year labels, the stadium's city, the history
// round title and a front-end text by id.
std::int32_t scene3d_iExtendedModeGet();
// A side's name for a room of iRoom pixels in the current font, as every
// team name in a room is chosen (caption_TeamFit); kept until the next call
// for the same side.
const char* scene3d_pszTeamNameGet(std::int32_t bAway, std::int32_t iRoom);
const char* scene3d_pszTeamYearGet(std::int32_t bAway);
const char* scene3d_pszCityNameGet();
const char* scene3d_pszRoundTitleGet();
const char* scene3d_pszFrontEndText(std::int32_t iId);
