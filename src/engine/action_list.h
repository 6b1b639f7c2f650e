#pragma once
// Candidate lists of the action handlers: nodes built on the caller's stack,
// {previous, next, player}. A handler takes the head of a list and returns
// the head of the players it did not take.
#include <cstdint>

struct Player;

struct ActionNode {
  ActionNode* poPrev;
  ActionNode* poNext;
  Player* poPlayer;
};

using ActionHandler = ActionNode* (*)(ActionNode* poList);

// Links the node's neighbours to each other, clears its links and returns
// the next node.
ActionNode* director_ListUnlink(ActionNode* poNode);
// The player's current action (and the one before it).
void action_Set(Player* pp, std::int32_t eAction);
