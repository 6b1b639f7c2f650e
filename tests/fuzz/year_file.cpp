// Year files: parsed into the tournament tree, then scheduled, simulated and
// settled, all within the pools.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "shell/global.h"
#include "tournament/fixtures.h"
#include "tournament/result.h"
#include "tournament/tmteam.h"
#include "tournament/tmtree.h"
#include "tournament/yearfile.h"

void KorvenaFuzzSeeds(const std::string& dir) {
  const std::string s =
      "F78,1st Round,1,1,,once,,gd2,*,*,,,1/6/78;1/6/78;5/6/78;5/6/78;9/6/78;9/6/78,12;40,,Australia,Fiji,Tonga,"
      "Angola\r\n"
      ",,,,,,,,,,,,,,,\r\n"
      "F78,World Cup Final,Final,1,,ko3,,,Winner,,,,25/6/78,3,,Australia,Fiji\r\n"
      "78,UEFA,3,1,Play Off,ha,,agg,w,,,,1/1/77;8/1/77,,,Angola,Tonga\r\n";
  korvena_fuzz::WriteSeed(dir, "small.csv", s.data(), s.size());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tmmain_PoolsReset();
  tmglobal_Reset();
  history_PatternsReset();
  result_RandSeed(1);
  tmglobal_YearSet(78);
  history_YearTextParse(reinterpret_cast<const char*>(data), static_cast<std::int32_t>(size));
  global.iDay = 31;
  global.iMonth = 12;
  global.iYear = 99;
  for (Year* y = TheYearList; y; y = y->pNext) {
    history_YearFixturesBuild(y);
    for (int i = 0; i < 4; i++) {
      history_DaySimulate(y);
      history_PlaceholdersResolve(y);
      history_YearCompleteCheck(y);
    }
    tmteam_GroupTablesCollect(y);
    tmteam_GroupTablesSortAll(y);
  }
  return 0;
}
