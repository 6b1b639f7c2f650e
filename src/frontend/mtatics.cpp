// The tactics screen's entry into the game, its input and its hand-overs.
#include "frontend/mtatics.h"

#include <cstdio>
#include <string>

#include "audio/audio_services.h"
#include "engine/team.h"
#include "framework/qdx_input.h"
#include "frontend/frontend_services.h"
#include "matchflow/matcha.h"
#include "shell/debuglog.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/user.h"
#include "tournament/dbplayer.h"

std::int32_t mtatics_bNeedsEnter = 1;

namespace {

std::int32_t Extended() { return global_eGetExtendedGameMode(); }
bool HistoryUse() { return Extended() == 51 || Extended() == 71 || Extended() == GAME_MODE_HISTORY_SQUAD; }

std::int32_t* CompleteFlag(std::int32_t iSideNumber) {
  return iSideNumber == 0 ? &mtatics_bHomeComplete : &mtatics_bAwayComplete;
}

DBPlayer* FirstStarter(const TacticsSide* ps) {
  return ps->poTeamPlayerTeam ? ps->poTeamPlayerTeam->poPitchList : nullptr;
}

void OptionFollow(TacticsSide* ps) {
  if (ps->poTeamPlayerTeam) ps->playerOption = mtatics_PlayerAt(ps->poTeamPlayerTeam, ps->iHighlightedPlayer);
  if (!ps->playerOption) ps->playerOption = FirstStarter(ps);
}

std::int32_t Headings(const TacticsSide* ps) {
  const MatchTeam* t = ps->poTeamPlayerTeam;
  if (!t) return 0;
  const std::int32_t b = team_BenchCount(t), r = team_ReserveCount(t);
  return (b > 0 ? 1 : 0) + (r > 0 ? 1 : 0);
}

}  // namespace

DBPlayer* mtatics_PlayerAt(MatchTeam* poTeam, std::int32_t iOrdinal) {
  if (!poTeam || iOrdinal < 0) return nullptr;
  DBPlayer* p = poTeam->poPitchList;
  for (std::int32_t i = 0; p && i < iOrdinal && i < 11; i++) p = p->poNext;
  if (iOrdinal < 11) return p;
  const std::int32_t cBench = team_BenchCount(poTeam);
  std::int32_t n = iOrdinal - 11;
  p = n < cBench ? poTeam->poBenchList : poTeam->poReserveList;
  if (n >= cBench) n -= cBench;
  while (p && n-- > 0) p = p->poNext;
  return p;
}

void mtatics_PlayerPick(TacticsSide* ps) {
  DBPlayer* p = mtatics_PlayerAt(ps->poTeamPlayerTeam, ps->iHighlightedPlayer);
  if (!p) return;
  if (dbplayer_SuspendedGet(p)) {
    sfx_Play(3);
    return;
  }
  sfx_Play(1);
  if (!ps->poFirstChosen) {
    ps->poFirstChosen = p;
    return;
  }
  ps->poSecondChosen = p;
  if (ps->poFirstChosen != ps->poSecondChosen) team_PlayersSwap(ps->poTeamPlayerTeam, ps->poFirstChosen, ps->poSecondChosen, 0);
  ps->poFirstChosen = ps->poSecondChosen = nullptr;
  team_FormationSave(ps->poTeamPlayerTeam);
}

std::int32_t mtatics_Input(User* poUser) {
  InputPort* pip = poUser ? poUser->pip : nullptr;
  if (!pip) return MTATICS_MODE;
  const std::int32_t eExt = Extended();
  std::int32_t iSideNumber = -1;
  if (eExt == 51 || eExt == GAME_MODE_HISTORY_SQUAD) iSideNumber = 0;
  else if (eExt == 71) iSideNumber = 1;
  else if (poUser == global_poGetAwayUser()) iSideNumber = 1;
  else if (poUser == global_poGetHomeUser()) iSideNumber = 0;
  if (iSideNumber < 0) {
    input_EventQueueFlush(&pip->oEvents);
    return MTATICS_MODE;
  }
  TacticsSide* ps = &mteam_aoSides[iSideNumber];
  MatchTeam* poTeam = ps->poTeamPlayerTeam;
  std::int32_t eNext = MTATICS_MODE, bLeaving = 0, iDirection = 0;
  if (pcfe_bEscapeHeld()) {
    sfx_Play(2);
    if (eExt == 51 || eExt == 71) eNext = 47;
    else bLeaving = 1;
  }
  std::int32_t* pbComplete = CompleteFlag(iSideNumber);
  const bool bView = eExt == 71;
  while (ListNode* poNode = queue_RemoveHead(&pip->oEvents)) {
    InputEvent* poEvent = reinterpret_cast<InputEvent*>(poNode);
    const std::int32_t eCode = poEvent->eEvent;
    const bool bBlocked = *pbComplete != 0;
    if (eExt == GAME_MODE_HISTORY_SQUAD && eCode >= 8 && eCode <= 11) {
      if (!bBlocked) mfhsquad_Move(poTeam, eCode);
    } else if (eExt == GAME_MODE_HISTORY_SQUAD && eCode == 37) {
      if (!bBlocked) mfhsquad_Select(poTeam, &eNext);
    } else {
      switch (eCode) {
        case 8:
          if (bBlocked) break;
          if (ps->iCursorItem == MTATICS_LIST) {
            listctrl_Up(&ps->oList);
            const std::int32_t n = ps->oList.aiSelect[ps->oList.iCursor];
            if (n != ps->iHighlightedPlayer) sfx_Play(0);
            ps->iHighlightedPlayer = n;
            OptionFollow(ps);
          } else if (!bView && ps->iHighlightedFormation > 0) {
            ps->iHighlightedFormation--;
            sfx_Play(0);
            if (ps->iHighlightedFormation < ps->iFormationFirst) {
              ps->iFormationFirst--;
              ps->iFormationLast--;
            }
          }
          break;
        case 9:
          if (bBlocked) break;
          if (ps->iCursorItem == MTATICS_LIST) {
            if (ps->iHighlightedPlayer < ps->oList.cNumListItems - Headings(ps)) {
              listctrl_Down(&ps->oList);
              const std::int32_t n = ps->oList.aiSelect[ps->oList.iCursor];
              if (n != ps->iHighlightedPlayer) sfx_Play(0);
              ps->iHighlightedPlayer = n;
              OptionFollow(ps);
            }
          } else if (!bView && ps->iHighlightedFormation < MTATICS_FORMATION_COUNT - 1) {
            ps->iHighlightedFormation++;
            sfx_Play(0);
            if (ps->iHighlightedFormation > ps->iFormationLast) {
              ps->iFormationFirst++;
              ps->iFormationLast++;
            }
          }
          break;
        // Side number 1 sits on the right: its sideways moves are mirrored.
        case 10: iDirection = iSideNumber == 0 ? -1 : 1; break;
        case 11: iDirection = iSideNumber == 0 ? 1 : -1; break;
        case 37:
          if (bBlocked || bView) break;
          if (ps->iCursorItem == MTATICS_LIST) {
            mtatics_PlayerPick(ps);
          } else {
            sfx_Play(1);
            ps->iCurrentFormation = ps->iHighlightedFormation;
            team_SetUp(ps->iCurrentFormation, poTeam);
            ps->bListSetUp = 0;
            ps->iHighlightedPlayer = 0;
            team_FormationSave(poTeam);
          }
          break;
        case 38:
          sfx_Play(2);
          bLeaving = 1;
          break;
        case 56:
          sfx_Play(1);
          if (HistoryUse()) {
            bLeaving = 1;
          } else if (!bBlocked) {
            if (mtatics_bOneSheet) {
              eNext = 20;
            } else {
              *pbComplete = 1;
              if (mtatics_bHomeComplete && mtatics_bAwayComplete) eNext = 20;
            }
          }
          break;
        default: break;
      }
    }
    input_EventFree(&poEvent);
  }
  if (eExt != GAME_MODE_HISTORY_SQUAD && !*pbComplete) {
    if (iDirection < 0 && ps->iCursorItem == MTATICS_LIST) {
      sfx_Play(0);
      ps->bAttributePanel = 1;
      if (!ps->playerOption) ps->playerOption = FirstStarter(ps);
    } else if (iDirection < 0 && ps->iCursorItem == MTATICS_FORMATIONS && !bView) {
      sfx_Play(0);
      ps->iCursorItem = MTATICS_LIST;
      if (!ps->playerOption) {
        ps->playerOption = FirstStarter(ps);
        std::printf("ERROR: {ptPlayer->playerOption==0} file \"%s\", line %d\n", "mTatics", __LINE__);
      }
    } else if (iDirection > 0 && ps->iCursorItem == MTATICS_LIST) {
      if (ps->bAttributePanel) {
        ps->bAttributePanel = 0;
      } else if (!bView) {
        ps->iCursorItem = MTATICS_FORMATIONS;
        sfx_Play(0);
        if (!ps->playerOption) ps->playerOption = FirstStarter(ps);
      }
    }
  }
  if (bLeaving) {
    if (eExt == GAME_MODE_HISTORY_SQUAD) {
      mfhsquad_Back(poTeam, &eNext);
    } else if (*pbComplete) {
      *pbComplete = 0;
    } else if (ps->iCursorItem == MTATICS_LIST) {
      if (!ps->poFirstChosen) eNext = (eExt == 51 || eExt == 71) ? 47 : MTEAM_MODE;
      else ps->poFirstChosen = ps->poSecondChosen = nullptr;
    } else {
      ps->iCursorItem = MTATICS_LIST;
    }
  }
  return eNext;
}

void mtatics_SidesLog(const char* pszWhen) {
  const MatchTeam* apoTeams[2] = {match_HomeTeamGet(), match_AwayTeamGet()};
  for (std::int32_t k = 0; k < 2; k++) {
    const MatchTeam* t = apoTeams[k];
    if (!t->Squad) continue;
    std::string names;
    for (const DBPlayer* p = t->poPitchList; p; p = p->poNext) names += std::string(dbplayer_NameGet(p)) + (p->poNext ? "," : "");
    debuglog_Printf("%s: %s %d edition %d formation %d starters %s\n", pszWhen, k ? "away" : "home", t->Squad->iTeamId,
                    t->Squad->iEdition, team_FormationGet(t), names.c_str());
  }
}

void mtatics_Run() {
  if (mtatics_bNeedsEnter) mtatdisp_Enter();
  mregion_DrawByName("main");
  mtatdisp_Draw();
  std::int32_t eNext = MTATICS_MODE;
  for (User& u : user_aUsers) {
    if (u.bActive != 1) continue;
    const std::int32_t e = mtatics_Input(&u);
    if (e != MTATICS_MODE) eNext = e;
  }
  switch (eNext) {
    case MTEAM_MODE:
    case GAME_MODE_MATCH_START:
    case GAME_MODE_MATCH_END:
      global_SetGameMode(static_cast<GameMode>(eNext));
      mtatics_bNeedsEnter = 1;
      return;
    case 20:
      global_SetGameMode(static_cast<GameMode>(20));
      mtatics_bNeedsEnter = 1;
      // The highlighted formation is stored without placing the players again.
      if (global_poGetHomeUser()) team_FormationSetRaw(match_HomeTeamGet(), mteam_aoSides[0].iHighlightedFormation);
      if (global_poGetAwayUser()) team_FormationSetRaw(match_AwayTeamGet(), mteam_aoSides[1].iHighlightedFormation);
      mtatics_SidesLog("team sheet");
      return;
    case 47:
      if (mfhnews_bPending) {
        global_SetGameMode(GAME_MODE_NEWS);
        mfhnews_bArrived = 1;
      } else {
        global_SetGameMode(static_cast<GameMode>(47));
      }
      mtatics_bNeedsEnter = 1;
      return;
    default: return;
  }
}
