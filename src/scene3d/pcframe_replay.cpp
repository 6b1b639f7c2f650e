// The frame packet's snapshot during an action replay: the players from the
// replay frame's records, and the replay's view words.
#include <cstring>

#include "engine/anim.h"
#include "engine/player.h"
#include "matchflow/matcha.h"
#include "matchflow/replay.h"
#include "scene3d/pcframe_snapshot.h"
#include "scene3d/scene3d_services.h"

// The ball-presentation words and the signed reference value of the frame
// being replayed.
PCFrameReplayView pcframe_oReplayView = {{0, 0, 0}, 0};

void pcframe_ReplayViewSet(const std::uint32_t auWords[3], std::int16_t iValue) {
  for (int k = 0; k < 3; ++k) pcframe_oReplayView.auWords[k] = auWords != nullptr ? auWords[k] : 0;
  pcframe_oReplayView.iValue = iValue;
}

void pcframe_PlayersStoreReplay() {
  FramePacket* p = pcframe_poCurrent;
  if (p == nullptr || replay_poFrames == nullptr) return;
  const ReplayState& r = replay_oState;
  const int32_t frame = r.iPublished >= 0 ? r.iPublished : r.iIndex;
  if (frame < 0 || frame >= REPLAY_FRAMES) return;
  // The sides' chains in recording order: one running index into the
  // frame's records (the referee's record, the last, is not read).
  Player* chain[REPLAY_ENTRIES - 1] = {};
  const int32_t n = replay_iChainGet(chain);
  const int32_t recorded = replay_iEntriesGet(frame);
  for (int32_t i = 0; i < n && i < recorded - 1; ++i) {
    Player* pp = chain[i];
    if (pp == nullptr || pp->Control == 0) continue;
    ReplayPlayerView v;
    replay_EntryDecode(frame, i, &v);
    const AnimRecord* a = anim_RecordGet(v.eAnim);
    if (a == nullptr || a->pfPose == nullptr) continue;
    const bool home = pp->MyTeam == player_PlaysFor_Home;
    // A side with nobody on the pitch (training has no away side) shows
    // nobody: the records under its place are of an earlier match's players.
    if ((home ? match_HomeFirstPlayerGet() : match_AwayFirstPlayerGet()) == nullptr) continue;
    int32_t& count = p->aiSnapshotCounts[home ? PCFRAME_COUNT_HOME : PCFRAME_COUNT_AWAY];
    if (count >= 11) continue;
    PacketPlayer& e = (home ? p->aoHome : p->aoAway)[count++];
    e.uMirror = static_cast<uint32_t>(v.bMirror);
    e.uKeeper = home ? 0 : 1;
    e.uAngles = static_cast<uint32_t>(pcframe_FacingFromHeading(static_cast<int16_t>(v.uFacing))) |
                static_cast<uint32_t>(v.uHeadAngle) << 16;
    e.iX = v.x;
    e.iHeight = v.height;
    e.iY = v.y;
    e.pAnimation = a->pfPose;
    e.poModel = v.poDBPlayer;  // the kit's model is found from the player's database record
    e.uFramePosition = v.uFramePosition;
  }
}
