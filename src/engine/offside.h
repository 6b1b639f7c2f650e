#pragma once
// The defending side's offside line, recomputed every match tick: the
// second-last defender's x, or the ball's when the ball is nearer his goal.
#include <cstdint>

enum : std::int32_t {
  OFFSIDE_KIND_DEFENDER = 1,
  OFFSIDE_KIND_BALL = 2,
};

void offside_LineUpdate();
std::int32_t offside_LineXGet(std::int32_t* px);
std::int32_t offside_LineGet(std::int32_t* piKind);
std::int32_t offside_CellGet();
// Off while a set-piece kick predicts its own flight.
void offside_SwitchSet(std::int32_t bOn);
std::int32_t offside_SwitchGet();
// Back to no line, switch on (match start).
void offside_Reset();
// The match option: off, no offside candidate is ever found.
void offside_OptionSet(std::int32_t bOn);

struct Ball;
struct ActionNode;
struct Player;
// Distance of the attacker a kicked ball is played to beyond the second-last
// defender; -9360 when the test does not apply, -18720 when nobody
// qualifies (the outs then cleared).
std::int32_t offside_CandidateFind(Ball* poBall, Player** ppAttacker, Player** ppDefender);
// Walks players out of an offside position.
ActionNode* offside_OnsideHandler(ActionNode* poList);
enum : std::int32_t { ACTION_ONSIDE = 5 };
