// The history groups and tables screen and its group-order list.
#include "frontend/mfhgroup.h"

#include <cstring>

#include "framework/qdx_assert.h"
#include "tournament/tmtree.h"

std::int32_t mfhgroup_bFromNews = 0;

namespace {

struct OrderEntry {
  Group* pGroup;
  Round* pRound;
};
OrderEntry aOrderList[MAX_GROUP_ORDER_LIST_SIZE];
std::int32_t iGroupOrderListSize = 0;

// A round without a long name (most rounds of the year files) is never
// taken for one already listed: each group's round is listed.
bool LongNameListed(const Round* r) {
  if (r->szLongName[0] == '\0') return false;
  for (std::int32_t i = 0; i < iGroupOrderListSize; i++)
    if (std::strcmp(aOrderList[i].pRound->szLongName, r->szLongName) == 0) return true;
  return false;
}

}  // namespace

void mfhgroup_OrderListBuild(Confederation* pConf) {
  iGroupOrderListSize = 0;
  if (!pConf) return;
  static const char kFirst[] = "123456789:";
  for (const char* pc = kFirst; *pc; pc++)
    for (Group* g = pConf->pGroups; g; g = g->pNext)
      for (Round* r = g->pRounds; r; r = r->pNext) {
        if (r->szName[0] != *pc) continue;
        if (!LongNameListed(r)) {
          QDX_ASSERT(iGroupOrderListSize < MAX_GROUP_ORDER_LIST_SIZE);
          aOrderList[iGroupOrderListSize++] = {g, r};
        }
        break;  // only the group's first round of this character
      }
}

std::int32_t mfhgroup_OrderListSize() { return iGroupOrderListSize; }

Group* mfhgroup_OrderGroupGet(std::int32_t iGroup) {
  QDX_ASSERT(iGroup >= 0 && iGroup < iGroupOrderListSize);
  return aOrderList[iGroup].pGroup;
}

Round* mfhgroup_OrderRoundGet(std::int32_t iGroup) {
  QDX_ASSERT(iGroup >= 0 && iGroup < iGroupOrderListSize);
  return aOrderList[iGroup].pRound;
}

Round* mfhgroup_GroupOfRound(const Group* pGroup, const Round* pRound) {
  if (!pGroup || !pRound) return nullptr;
  for (Round* r = pGroup->pRounds; r; r = r->pNext)
    if (std::strcmp(r->szName, pRound->szName) == 0 && std::strcmp(r->szLongName, pRound->szLongName) == 0) return r;
  return nullptr;
}
