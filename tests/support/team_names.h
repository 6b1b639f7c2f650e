#pragma once
// Teams by their shown names, and a team's name as a room shows it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "frontend/pctext.h"
#include "tournament/tla.h"

namespace korvena_test {

// The team whose whole or display name this is; 0 for none.
inline std::int32_t TeamIdOf(const std::string& sName) {
  for (std::int32_t id = 1; id < TLA_COUNT; id++)
    if (sName == tla_NamesGet(id).pszWhole || sName == tla_DisplayNameGet(id)) return id;
  return 0;
}

// A room that is not known: a team's name may show in any of its forms.
constexpr int kAnyRoom = -1;

// The form of a team's name a room of iRoom display units shows, measured in
// the small font (0), where the menus fit a name their own font does not
// hold whole (in the match every letter takes its cell in any font): the
// whole name where the room holds it, or holds it but for its last letter;
// else its display name where that is another and fits ("Papua New G.");
// else its short name where that fits; else the longest head of the short
// name that fits with a full stop after it (a blank before the cut goes,
// a full stop already there takes no second).
inline std::string TeamNameShown(std::int32_t id, int iRoom) {
  const TLANames o = tla_NamesGet(id);
  const std::int32_t iFont = pctext_iCurrentFont;
  pctext_iCurrentFont = 0;
  const auto Fits = [iRoom](const std::string& s) { return pctext_WidthGet(s.c_str()) <= iRoom; };
  const std::string sWhole = o.pszWhole, sDisplay = o.pszDisplay, sShort = o.pszShort;
  std::string s;
  if (Fits(sWhole) || (sWhole.size() >= 2 && Fits(sWhole.substr(0, sWhole.size() - 1) + "."))) s = sWhole;
  else if (Fits(sDisplay)) s = sDisplay;
  else if (Fits(sShort)) s = sShort;
  else
    for (std::size_t n = sShort.size() - 1; n + 1 > 0; n--) {
      std::string sHead = sShort.substr(0, n);
      while (!sHead.empty() && sHead.back() == ' ') sHead.pop_back();
      if (sHead.empty() || sHead.back() != '.') sHead += '.';
      if (Fits(sHead) || n == 0) {
        s = sHead;
        break;
      }
    }
  pctext_iCurrentFont = iFont;
  return s;
}

// Whether a text shows the named team (sName its whole or display name) as
// a room of iRoom display units shows it (TeamNameShown); in a room not
// known (kAnyRoom), as some room would: its whole, display or short name, or
// a head of its short name with a full stop, never the initials of its
// whole name nor a cut of it. A name that is no team's shows as itself.
inline bool ShownAs(const std::string& sShown, const std::string& sName, int iRoom) {
  const std::int32_t id = TeamIdOf(sName);
  if (id == 0) return sShown == sName;
  if (iRoom != kAnyRoom) return sShown == TeamNameShown(id, iRoom);
  const TLANames o = tla_NamesGet(id);
  const std::string sShort = o.pszShort;
  if (sShown == o.pszWhole || sShown == o.pszDisplay || sShown == sShort) return true;
  // A head of the short name and its full stop.
  if (sShown.size() < 2 || sShown.back() != '.') return false;
  const std::string sHead = sShown.substr(0, sShown.size() - 1);
  return sShort.compare(0, sHead.size(), sHead) == 0 || sShort.compare(0, sShown.size(), sShown) == 0;
}

}  // namespace korvena_test
