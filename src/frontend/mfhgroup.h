#pragma once
// The history groups and tables screen (game mode 55): every confederation of
// the current year, and in each its group rounds in a fixed order, as a league
// table or as results in the layout of the round's rules. The news screen's
// draw page uses the group-order list.
#include <cstdint>

struct Confederation;
struct Group;
struct Round;
struct User;

constexpr int MAX_GROUP_ORDER_LIST_SIZE = 30;

// ---- The group-order list -----------------------------------------------------------
// For the round-name first characters "1" to "9" and then ":", the first round
// of each group whose name starts with it, a round whose (non-empty) long name
// is already listed skipped. More than MAX_GROUP_ORDER_LIST_SIZE entries is an assertion.
void mfhgroup_OrderListBuild(Confederation* pConf);
std::int32_t mfhgroup_OrderListSize();
Group* mfhgroup_OrderGroupGet(std::int32_t i);
Round* mfhgroup_OrderRoundGet(std::int32_t i);
// The round of the group with the same name and long name as the given round
// (the same stage played by another group); null when the group has none.
Round* mfhgroup_GroupOfRound(const Group* pGroup, const Round* pRound);

// Set by the news screen before it opens this screen: Exit then returns to the
// news (57) with its arrival flag, and the screen opens on the last round that
// lists the human team.
extern std::int32_t mfhgroup_bFromNews;
