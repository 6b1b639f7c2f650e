#pragma once
// The game's sound logic: which banks are loaded (pcsound), the crowd
// reactions and the CD track machine (crowd), numbered effects and whistle
// sequences (sfx), and the players' shouts and referee phrases (pchat).
// audio_services.h is what the rest of the game calls; this header adds the
// state and the pure rules the tests check.
#include <cstddef>
#include <cstdint>

#include "audio/audio_services.h"
#include "audio/qal.h"
// The volumes (music and effects 0..16) and the player chat (0..8) are read
// from the options block as they are set.
#include "matchflow/options.h"

// ---- Bank selection -----------------------------------------------------------------
extern QALBank pcsound_oEffects;
extern QALBank pcsound_oSpeechHome;
extern QALBank pcsound_oSpeechAway;
extern QALBank pcsound_oExtra;
extern QALBank pcsound_oCrowd;
extern QALBank pcsound_oReferee;
extern std::int32_t pcsound_bBanksLoaded;

std::int32_t pcsound_TeamSpeechLanguage(std::int32_t iTeamId);
// Language index of the speech (bReferee 0) or referee (1) bank for a chat
// option and team; -1 when the option is off or out of range.
std::int32_t pcsound_LanguageFor(std::int32_t iChat, std::int32_t iTeamId, std::int32_t bReferee,
                                 std::int32_t iInterface);
const char* pcsound_SpeechFile(std::int32_t iLanguage);
const char* pcsound_RefereeFile(std::int32_t iLanguage);
const char* pcsound_CrowdFile(std::int32_t iHomeTeamId);
void pcsound_SpeechBank(std::int32_t iSide, std::int32_t iTeamValue, std::int32_t, std::int32_t);
void sfx_FreeEffectsBank();
// The playable sample of a bank's sound, null when the bank is not loaded,
// the index is out of range or the sound has no sample.
QALSample* pcsound_SampleGet(QALBank* poBank, std::int32_t iSound);
void pcsound_SoundPathJoin(char* pszOut, std::size_t cb, const char* pszFile);

// ---- Crowd --------------------------------------------------------------------------
struct CrowdReaction {
  QALBank* poBank;
  std::int8_t iSound;
  std::int8_t iSecond;  // -1: the first sound twice
  std::int16_t iFadeIn, iHold, iFadeOut;
  std::int16_t iPeak;
};
enum { CROWD_GOAL, CROWD_HOME, CROWD_AWAY, CROWD_FOUL, CROWD_TENSION, CROWD_NEARGOAL, CROWD_REACTIONS };
extern CrowdReaction crowd_aReactions[CROWD_REACTIONS];

struct CrowdState {
  std::int32_t bRunning;
  std::int32_t iCurrent;
  std::int32_t iState;  // 0 idle, 1 start, 2 fade in, 3 hold, 4 fade out
  std::int32_t iCounter;
  std::int32_t iLevel;
  std::int32_t iStep;
  QALSample* apoVoice[4];  // A, B, C, D
  std::int32_t iCDState;   // 0 off, 1 select, 2 wait to play, 3 playing, 4 wait to replay, 5 stop
  std::int32_t iCDTimer;
  std::int32_t iTrackIndex;
  // Excitement and tension latches.
  std::int32_t bLineArmed;
  std::int32_t bInArea;
  std::int32_t bTrigger;
  std::int32_t bTensionDone;
};
extern CrowdState crowd_o;

void crowd_Init();
void crowd_CDStop();
void crowd_CDPlay();
void crowd_SetTrack(std::int32_t iIndex);
void crowd_ReactionStart(std::int32_t iReaction);
void crowd_ReactionFadeOut(std::int32_t iReaction);
void crowd_ReactionStop(std::int32_t iReaction);
void crowd_ReactionUpdate();
void crowd_AmbiencePlay(std::int32_t n, std::int32_t iVolume);
std::int32_t crowd_VenueFlag();
std::int32_t crowd_IsCompetitive();
// The foul level from the ball's height and y (below 0: no reaction).
std::int32_t crowd_FoulLevel(std::int32_t h, std::int32_t y);
// The track index after an event, or -1 for no change.
std::int32_t crowd_TrackFor(std::int32_t iEvent, std::int32_t d, std::int32_t bCompetitive, std::int32_t bVenue,
                            std::int32_t iMinute);
// The excitement step on explicit inputs (the per-frame call reads them from the match).
void crowd_ExcitementStep(std::int32_t x, std::int32_t y, std::int32_t iLineKind, std::int32_t iHomeClubState,
                          std::int32_t iMinute, std::int32_t bOwned, std::int32_t iOwnerSide,
                          std::int32_t iHomeGoals, std::int32_t iAwayGoals);

// ---- Effects ----------------------------------------------------------------------------
struct SfxState {
  std::int32_t iLastEffect;
  std::int32_t iLastFrame;
  std::int32_t iSeqState;  // 0 idle, 1 play next, 2 wait
  const std::int32_t (*paiSeq)[2];
  std::int32_t iSeqCounter;
};
extern SfxState sfx_o;
std::int32_t sfx_Init();
void sfx_StartSequence(const std::int32_t (*paiPairs)[2]);
void sfx_UpdateSequence();
// True while the game is loading or playing a match (the repeat guard drops
// quick repeats there; the front end restarts them).
std::int32_t sfx_bInMatch();

// ---- Shouts and referee phrases ------------------------------------------------------------
struct PchatState {
  QALSample* poShoutVoice;
  QALSample* poRefereeVoice;
  std::int32_t iShoutDelay;
  std::int32_t iRefereeDelay;
  Player* poShoutSpeaker;
  std::int32_t iShoutSide;
  std::int32_t aaiRecent[2][8];
  std::int32_t iRecentCursor;
  std::int32_t iLastCallFrame;
  std::int32_t aiRefereeStamp[21];
};
extern PchatState pchat_o;

void pchat_Update();
void pchat_PickSample(std::int32_t iSide, std::int32_t iFirst, std::int32_t iCount);
// Event-7 range for an outfield player at (x, y) with the ball at (bx, by).
void pchat_EventSevenRange(std::int32_t x, std::int32_t y, std::int32_t bx, std::int32_t by,
                           std::int32_t iDirection, std::int32_t* piFirst, std::int32_t* piCount);
std::int32_t pchat_Distance3(std::int32_t a, std::int32_t b, std::int32_t c);
std::int32_t pchat_Attenuation(std::int32_t iDistance);
// Pan from the 16-bit angles to the speaker and of the view.
std::int32_t pchat_Pan(std::int32_t iAngleToSpeaker, std::int32_t iViewAngle);
// Places a voice: speaker (x, height, y) against the camera position and target.
void pchat_PlaceVoice(const std::int32_t aiSpeaker[3], const std::int32_t aiCamera[3],
                      const std::int32_t aiTarget[3], QALSample* poVoice);
// Frees every voice instance of the crowd and the shouts (banks going away).
void crowd_VoicesFree();
void pchat_VoicesFree();

// ---- What the sound logic reads of the match (sound_match.cpp) -------------------------------
std::int32_t soundmatch_Frame();           // the input-frame counter
std::int32_t soundmatch_GameMode();
std::int32_t soundmatch_ExtendedMode();
std::int32_t soundmatch_InFrontEnd();
std::int32_t soundmatch_Minute();
std::int32_t soundmatch_HomeTeamId();
std::int32_t soundmatch_AwayTeamId();
std::int32_t soundmatch_Interface();       // interface language 0..
void soundmatch_Camera(std::int32_t aiPos[3], std::int32_t aiTarget[3]);
void soundmatch_Referee(std::int32_t aiPos[3]);
std::int32_t soundmatch_HomeGoals();
std::int32_t soundmatch_AwayGoals();
std::int32_t soundmatch_BallHeight();
std::int32_t soundmatch_BallY();
void soundmatch_BallForExcitement(std::int32_t* px, std::int32_t* py);
std::int32_t soundmatch_BallOwnerSide(std::int32_t* piSide);  // 1 when someone has the ball
std::int32_t soundmatch_OffsideKind();
std::int32_t soundmatch_HomeClubState();
std::int32_t soundmatch_Side(const Player* pp);
void soundmatch_PlayerPosition(const Player* pp, std::int32_t aiPos[3]);
std::int32_t soundmatch_PlayerNumber(const Player* pp);
std::int32_t soundmatch_PlayerDirection(const Player* pp);
std::int32_t soundmatch_BallX();
