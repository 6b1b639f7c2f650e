#pragma once
// The formation change (mode 61), opened from the substitution menu: a list
// of the nineteen formations and a pitch showing the one under the cursor.
#include <cstdint>

struct MatchTeam;
struct User;

struct MformationState {
  std::int32_t iCursor;  // 0..18
  MatchTeam* poTeam;
  User* poUser;
};
extern MformationState mformation_oState;

void mformation_Enter();
void mformation_Event(std::int32_t iEvent);
void mformation_Input();
void mformation_Draw();
void mformation_Update();
