#pragma once
// Helpers the restart modes share: users, their events and the stick.
#include <cstdint>

#include "matchflow/usrctl_services.h"

struct InputEvent;
struct Player;
struct User;

namespace restart {
Player* Controlled(const User* pusr);
// 1 home, 2 away: the side whose club state is 0.
std::int32_t PossessionSide();
std::int32_t StickDegrees(std::uint32_t uStick);
std::int32_t StickMagnitude(std::uint32_t uStick);
std::int32_t Wrap360(std::int32_t a);
std::uint32_t EventValue(const InputEvent* pEvent);
// Each active user with a port and a side.
void ForEachSideUser(void (*pfn)(User*));
// A restart mode's tick: each side user's input step, then the match frame.
void UsersThenFrame(void (*pfn)(User*));
void Bind(User* pusr, std::int32_t eBinding);
// Every event queued on the user's port; the sprint flag lasts one step.
void EachEvent(User* pusr, void (*pfn)(User*, const InputEvent*));
// Start (pause menu with the resume operation), choose player, stick, sprint.
void CommonEvents(User* pusr, const InputEvent* pEvent, UsrctlResumeFn pfnResume);
}  // namespace restart
