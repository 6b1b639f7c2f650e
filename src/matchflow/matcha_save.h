#pragma once
// The match record as one area of a saved history: both sides, the goals and
// coin toss, the removal counters, the match environment and both squad
// copies, every link written as an index (or 0) and rebuilt when read.
#include <cstdint>

constexpr std::int32_t MATCH_SAVE_AREA_SIZE = 12284;
// Where the two squad copies start: the bytes before them are the match's
// own (the sides, the goals and coin toss, the removals, the environment).
constexpr std::int32_t MATCH_SAVE_SQUAD_COPIES = 1084;

// Writes the area (MATCH_SAVE_AREA_SIZE bytes; bytes without a meaning 0).
void match_SaveAreaWrite(std::uint8_t* pb);
// 1 when the area can be read back: every index within its list, every
// player record sound. Nothing changes.
std::int32_t match_SaveAreaCheck(const std::uint8_t* pb);
// Replaces the match record, the environment and the squad copies by the
// area; 0 (nothing changed) when the check refuses it.
std::int32_t match_SaveAreaRead(const std::uint8_t* pb);
