#pragma once
// Teams by their shown names, and names as a screen shows them.
#include <cstddef>
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

// The shown form of a name where its room is short: itself; the team's
// short name, when it is a team's ("USA", "Tch\351coslova."); its leading
// words cut to an initial and a full stop ("C. Rica", "U. S. of America",
// "E.-Unis"); or its head ended with a full stop.
inline bool ShownAs(const std::string& sShown, const std::string& sName) {
  if (const std::int32_t id = TeamIdOf(sName); id > 0 && sShown == tla_ShortNameGet(id)) return true;
  std::size_t i = 0, j = 0;
  while (i < sShown.size()) {
    // An initial: a word's first letter and a full stop, then a blank, a
    // hyphen or the end, standing for a word of more than one letter.
    if (j < sName.size() && i + 1 < sShown.size() && sShown[i] == sName[j] && sShown[i + 1] == '.' &&
        (i + 2 == sShown.size() || sShown[i + 2] == ' ' || sShown[i + 2] == '-')) {
      const std::size_t e = sName.find_first_of(" -", j);
      if (e != std::string::npos && e > j + 1) {
        i += 2;
        j = e;
        continue;
      }
    }
    if (j < sName.size() && sShown[i] == sName[j]) {
      i++;
      j++;
      continue;
    }
    // The end cut with a full stop.
    return sShown[i] == '.' && i + 1 == sShown.size() && i > 0 && j < sName.size();
  }
  return j == sName.size();
}

}  // namespace korvena_test
