#pragma once
// Teams by their shown names, and names as a screen shows them.
#include <cstdint>
#include <string>

#include "tournament/tla.h"

namespace korvena_test {

// The team whose display name this is; 0 for none.
inline std::int32_t TeamIdOf(const std::string& sName) {
  for (std::int32_t id = 1; id < TLA_COUNT; id++)
    if (sName == tla_DisplayNameGet(id)) return id;
  return 0;
}

// The shown form of a name: itself, or its head ended with a full stop.
inline bool ShownAs(const std::string& sShown, const std::string& sName) {
  if (sShown == sName) return true;
  return sShown.size() > 1 && sShown.back() == '.' && sShown.size() - 1 < sName.size() &&
         sName.compare(0, sShown.size() - 1, sShown, 0, sShown.size() - 1) == 0;
}

}  // namespace korvena_test
