// The team-state block of a saved history.
//
// Layout (little-endian):
//   0      the match record (MATCH_SAVE_AREA_SIZE bytes, matcha_save.h)
//   12284  squad-cache slots 0 and 1, 72 bytes each: 0 team name (40 bytes,
//          NUL-terminated), 40 team id, 44 edition, 48 and 52 the block and
//          first-player pointers (0), 56 and 60 the two cleared words, 64 Size,
//          68 the last cleared word
//   12428  slot 0's players (the human team's squad) as a squad block: 2 the
//          player count, 4 up to 22 records in the database file's layout
//   14944  slot 1's players (the opponent's squad) likewise
//   17460  48 settings words, below
#include <cstring>

#include "matchflow/matcha_save.h"
#include "matchflow/options.h"
#include "shell/texts.h"
#include "tournament/result.h"
#include "tournament/squad.h"
#include "tournament/tla.h"
#include "tournament/tmsave.h"
#include "tournament/tmtree.h"

namespace {

constexpr std::int32_t kSlots = MATCH_SAVE_AREA_SIZE, kSlotSize = 72;
constexpr std::int32_t kBlocks = kSlots + SQUADCACHE_SLOTS * kSlotSize;
constexpr std::int32_t kSettings = kBlocks + SQUADCACHE_SLOTS * TMSAVE_SQUAD_BLOCK_SIZE;
static_assert(kSettings + 4 * TMSAVE_SETTINGS_WORDS == TMSAVE_TEAMSTATE_SIZE);
static_assert(4 + TMSAVE_SQUAD_BLOCK_PLAYERS * DBPLAYER_FILE_SIZE <= TMSAVE_SQUAD_BLOCK_SIZE);

// The settings words:
//   0..17  the options block in its order: match length, music volume,
//          effects volume, word 3, player chat, word 5, two condition words,
//          extra time, penalties, fouls, referee, condition word, text
//          language, three words, level of detail
//   18     the language the texts were in
//   19..24 human teams 2 to 4: team-name id and progress flags each
//   25     the state of the results' random generator
//   26..46 the history screens' words (0 without them)
//   47     0
// Everything is restored in place but the language: the text language of
// the options and word 18 keep their running values, so a history loaded in
// another language shows its names in that one.
constexpr std::int32_t kOptionWords = 18, kLanguage = 18, kHumans = 19, kRandState = 25;
static_assert(sizeof(OptionsBlock) == kOptionWords * 4);
constexpr std::int32_t kTextLanguageOption = 13;
constexpr std::int32_t kHistory = TMSAVE_HISTORY_FIRST, kHistoryEnd = TMSAVE_HISTORY_FIRST + TMSAVE_HISTORY_WORDS;
static_assert(kRandState < kHistory && kHistoryEnd < TMSAVE_SETTINGS_WORDS);

const TMSaveHistoryWords* s_poHistory = nullptr;

void Put32(std::uint8_t* p, std::uint32_t v) {
  for (std::int32_t i = 0; i < 4; i++) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint32_t Get32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::int32_t* OptionWord(std::int32_t i) { return reinterpret_cast<std::int32_t*>(&options_oBlock) + i; }

// The options block's words that the matches and the screens read, each
// with the values it may take (from lo to hi in steps of step). The text
// language is kept from the running game, and the words no one reads are
// not looked at.
struct OptionRange {
  std::int32_t iWord;
  const char* pszName;
  std::int32_t lo, hi, step;
};
constexpr OptionRange kOptionRanges[] = {
    {0, "match length", 5, 15, 5},       {1, "music volume", 0, OPTIONS_VOLUME_MAX, 1},
    {2, "effects volume", 0, OPTIONS_VOLUME_MAX, 1}, {4, "player chat", 0, OPTIONS_CHAT_MAX, 1},
    {5, "offside", 0, 1, 1},             {6, "camera", 0, 4, 1},
    {7, "catch-up", 0, 1, 1},            {8, "extra time", 0, 2, 1},
    {9, "penalties", 0, 1, 1},           {10, "fouls", 0, 1, 1},
    {11, "referee", 0, 2, 1},            {12, "day or night", 0, 1, 1},
    {17, "level of detail", 0, OPTIONS_DETAIL_MAX, 1},
};

// False, with the refusal naming the word, its value and its range, when an
// option word is out of its range.
bool OptionWordsCheck(const std::uint8_t* p) {
  for (const OptionRange& o : kOptionRanges) {
    const std::int32_t v = static_cast<std::int32_t>(Get32(p + 4 * o.iWord));
    if (v >= o.lo && v <= o.hi && (v - o.lo) % o.step == 0) continue;
    if (o.step == 1)
      return tmsave_RefusalSet("its %s option (settings word %d) is %d, not %d to %d", o.pszName, o.iWord, v, o.lo,
                               o.hi);
    return tmsave_RefusalSet("its %s option (settings word %d) is %d, not %d, %d or %d", o.pszName, o.iWord, v, o.lo,
                             o.lo + o.step, o.hi);
  }
  return true;
}

void HistoryWordsGet(const std::uint8_t* p, std::uint32_t* pu) {
  for (std::int32_t i = 0; i < TMSAVE_HISTORY_WORDS; i++) pu[i] = Get32(p + 4 * (kHistory + i));
}

}  // namespace

void tmsave_HistoryWordsSet(const TMSaveHistoryWords* poWords) { s_poHistory = poWords; }

std::int32_t tmmain_TeamStateSave(std::uint8_t* pb) {
  std::memset(pb, 0, TMSAVE_TEAMSTATE_SIZE);
  match_SaveAreaWrite(pb);
  for (std::int32_t k = 0; k < SQUADCACHE_SLOTS; k++) {
    const Squad* s = squadcache_SlotGet(k);
    const std::int32_t n = s->poFirstPlayer ? s->Size : 0;
    if (n < 0 || n > TMSAVE_SQUAD_BLOCK_PLAYERS) return 0;
    std::uint8_t* p = pb + kSlots + kSlotSize * k;
    const void* pNul = std::memchr(s->szTeamName, 0, SQUAD_NAME_SIZE - 1);
    std::memcpy(p, s->szTeamName, pNul ? static_cast<std::size_t>(static_cast<const char*>(pNul) - s->szTeamName)
                                       : static_cast<std::size_t>(SQUAD_NAME_SIZE - 1));
    Put32(p + 40, static_cast<std::uint32_t>(s->iTeamId));
    Put32(p + 44, static_cast<std::uint32_t>(s->iEdition));
    Put32(p + 56, static_cast<std::uint32_t>(s->aiCleared[0]));
    Put32(p + 60, static_cast<std::uint32_t>(s->aiCleared[1]));
    Put32(p + 64, static_cast<std::uint32_t>(n));
    Put32(p + 68, static_cast<std::uint32_t>(s->iCleared));
    std::uint8_t* q = pb + kBlocks + TMSAVE_SQUAD_BLOCK_SIZE * k;
    q[2] = static_cast<std::uint8_t>(n);
    for (std::int32_t i = 0; i < n; i++) dbplayer_Encode(&s->poFirstPlayer[i], q + 4 + DBPLAYER_FILE_SIZE * i);
  }
  std::uint8_t* p = pb + kSettings;
  for (std::int32_t i = 0; i < kOptionWords; i++) Put32(p + 4 * i, static_cast<std::uint32_t>(*OptionWord(i)));
  Put32(p + 4 * kLanguage, static_cast<std::uint32_t>(mlang_iLanguage));
  for (std::int32_t h = 1; h < TM_HUMAN_MAX; h++) {
    Put32(p + 4 * (kHumans + 2 * (h - 1)), tmglobal.aHumans[h].Name);
    Put32(p + 4 * (kHumans + 2 * (h - 1) + 1), tmglobal.aHumans[h].uFlags);
  }
  Put32(p + 4 * kRandState, result_RandStateGet());
  if (s_poHistory) {
    std::uint32_t au[TMSAVE_HISTORY_WORDS] = {};
    s_poHistory->pfnWrite(au);
    for (std::int32_t i = 0; i < TMSAVE_HISTORY_WORDS; i++) Put32(p + 4 * (kHistory + i), au[i]);
  }
  return 1;
}

std::int32_t tmmain_TeamStateCheck(const std::uint8_t* pb) {
  if (!match_SaveAreaCheck(pb)) return tmsave_RefusalSet("the match record is damaged");
  for (std::int32_t k = 0; k < SQUADCACHE_SLOTS; k++) {
    const std::uint8_t* p = pb + kSlots + kSlotSize * k;
    const std::uint8_t* q = pb + kBlocks + TMSAVE_SQUAD_BLOCK_SIZE * k;
    const std::uint32_t n = Get32(p + 64);
    if (!std::memchr(p, 0, SQUAD_NAME_SIZE)) return tmsave_RefusalSet("squad %d's team name has no end", k);
    if (Get32(p + 40) >= static_cast<std::uint32_t>(TLA_COUNT))
      return tmsave_RefusalSet("squad %d's team id %u is not a team", k, Get32(p + 40));
    if (Get32(p + 44) > 11)
      return tmsave_RefusalSet("squad %d's edition is %d, not 0 to 11", k, static_cast<std::int32_t>(Get32(p + 44)));
    if (Get32(p + 48) || Get32(p + 52) || n > TMSAVE_SQUAD_BLOCK_PLAYERS || q[0] || q[1] || q[2] != n || q[3])
      return tmsave_RefusalSet("squad %d's block is damaged", k);
    for (std::uint32_t i = 0; i < n; i++) {
      DBPlayer o;
      if (!dbplayer_Decode(q + 4 + DBPLAYER_FILE_SIZE * i, &o))
        return tmsave_RefusalSet("player %u of squad %d is damaged", i, k);
    }
  }
  const std::uint8_t* p = pb + kSettings;
  if (!OptionWordsCheck(p)) return 0;
  for (std::int32_t h = 1; h < TM_HUMAN_MAX; h++)
    if (Get32(p + 4 * (kHumans + 2 * (h - 1))) >= static_cast<std::uint32_t>(TLA_COUNT))
      return tmsave_RefusalSet("human team %d's id %u is not a team", h + 1, Get32(p + 4 * (kHumans + 2 * (h - 1))));
  for (std::int32_t i = kRandState + 1; i < TMSAVE_SETTINGS_WORDS; i++)
    if (Get32(p + 4 * i) && (!s_poHistory || i < kHistory || i >= kHistoryEnd))
      return tmsave_RefusalSet("the reserved settings word %d is %d, not 0", i,
                               static_cast<std::int32_t>(Get32(p + 4 * i)));
  if (s_poHistory) {
    std::uint32_t au[TMSAVE_HISTORY_WORDS];
    HistoryWordsGet(p, au);
    tmsave_RefusalSet("%s", "");
    // The screens name the word they refuse; else the refusal is general.
    if (!s_poHistory->pfnCheck(au)) {
      if (!tmsave_RefusalGet()[0]) tmsave_RefusalSet("the history screens' settings are damaged");
      return 0;
    }
  }
  return 1;
}

std::uint32_t tmmain_TeamStateHumanGet(const std::uint8_t* pb, std::int32_t iHuman) {
  if (iHuman < 1 || iHuman >= TM_HUMAN_MAX) return 0;
  return Get32(pb + kSettings + 4 * (kHumans + 2 * (iHuman - 1)));
}

void tmmain_TeamStateLoad(const std::uint8_t* pb) {
  // The slots first: the match sides refer to them.
  for (std::int32_t k = 0; k < SQUADCACHE_SLOTS; k++) {
    const std::uint8_t* p = pb + kSlots + kSlotSize * k;
    const std::uint8_t* q = pb + kBlocks + TMSAVE_SQUAD_BLOCK_SIZE * k;
    const std::int32_t n = static_cast<std::int32_t>(Get32(p + 64));
    static DBPlayer aPlayers[TMSAVE_SQUAD_BLOCK_PLAYERS];
    for (std::int32_t i = 0; i < n; i++) dbplayer_Decode(q + 4 + DBPLAYER_FILE_SIZE * i, &aPlayers[i]);
    squadcache_SlotSet(reinterpret_cast<const char*>(p), static_cast<std::int32_t>(Get32(p + 40)), aPlayers, n,
                       static_cast<std::int32_t>(Get32(p + 44)), k);
    Squad* s = squadcache_SlotGet(k);
    s->aiCleared[0] = static_cast<std::int32_t>(Get32(p + 56));
    s->aiCleared[1] = static_cast<std::int32_t>(Get32(p + 60));
    s->iCleared = static_cast<std::int32_t>(Get32(p + 68));
    if (s->iTeamId == 0 && n == 0) s->pvBlock = s->poFirstPlayer = nullptr;  // an empty slot
  }
  match_SaveAreaRead(pb);
  const std::uint8_t* p = pb + kSettings;
  for (std::int32_t i = 0; i < kOptionWords; i++)
    if (i != kTextLanguageOption) *OptionWord(i) = static_cast<std::int32_t>(Get32(p + 4 * i));
  for (std::int32_t h = 1; h < TM_HUMAN_MAX; h++) {
    tmglobal.aHumans[h].Name = Get32(p + 4 * (kHumans + 2 * (h - 1)));
    tmglobal.aHumans[h].uFlags = Get32(p + 4 * (kHumans + 2 * (h - 1) + 1));
  }
  result_RandSeed(Get32(p + 4 * kRandState));
  if (s_poHistory) {
    std::uint32_t au[TMSAVE_HISTORY_WORDS];
    HistoryWordsGet(p, au);
    s_poHistory->pfnRead(au);
  }
}
