// Year files: parsed into the tournament tree, then scheduled, simulated and
// settled, all within the pools.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "shell/global.h"
#include "tournament/fixtures.h"
#include "tournament/result.h"
#include "tournament/tmteam.h"
#include "tournament/tmtree.h"
#include "tournament/yearfile.h"

namespace {

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> out;
  std::string field;
  std::istringstream in(line);
  while (std::getline(in, field, ',')) out.push_back(field);
  return out;
}

// Cuts a year file into small files of its own format that still parse and
// play: each round no other round draws its teams from, with every round its
// placeholders (*<round>.<place>*) name, in the file's order. Every line of
// the file is in at least one of them.
void WritePieces(const std::string& dir, const std::filesystem::path& file, std::set<std::string>* written) {
  std::ifstream in(file, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line != "\r") lines.push_back(line);
  std::map<std::string, std::vector<size_t>> byRound;  // round name -> its lines
  std::vector<std::set<std::string>> uses(lines.size());
  std::set<std::string> used;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::vector<std::string> f = Fields(lines[i]);
    if (f.size() > 2) byRound[f[2]].push_back(i);
    for (size_t k = 15; k < f.size(); ++k) {
      const size_t star = f[k].find('*'), dot = f[k].find('.');
      if (star != 0 || dot == std::string::npos) continue;
      uses[i].insert(f[k].substr(1, dot - 1));
      used.insert(f[k].substr(1, dot - 1));
    }
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::vector<std::string> f = Fields(lines[i]);
    if (f.size() > 2 && used.count(f[2])) continue;
    std::set<size_t> piece;
    std::vector<size_t> todo = {i};
    while (!todo.empty()) {
      const size_t at = todo.back();
      todo.pop_back();
      if (!piece.insert(at).second) continue;
      for (const std::string& round : uses[at])
        for (size_t j : byRound[round]) todo.push_back(j);
    }
    std::string text;
    for (size_t j : piece) text += lines[j] + "\n";
    if (!written->insert(text).second) continue;
    const std::string name = file.stem().string() + "-" + std::to_string(i + 1) + ".csv";
    korvena_fuzz::WriteSeed(dir, name, text.data(), text.size());
  }
}

}  // namespace

void KorvenaFuzzSeeds(const std::string& dir) {
  const std::string s =
      "F78,1st Round,1,1,,once,,gd2,*,*,,,1/6/78;1/6/78;5/6/78;5/6/78;9/6/78;9/6/78,12;40,,Australia,Fiji,Tonga,"
      "Angola\r\n"
      ",,,,,,,,,,,,,,,\r\n"
      "F78,World Cup Final,Final,1,,ko3,,,Winner,,,,25/6/78,3,,Australia,Fiji\r\n"
      "78,UEFA,3,1,Play Off,ha,,agg,w,,,,1/1/77;8/1/77,,,Angola,Tonga\r\n";
  korvena_fuzz::WriteSeed(dir, "small.csv", s.data(), s.size());
#ifdef KORVENA_FUZZ_YEAR_FILES
  // The generated year files, a few KB each, cut into pieces: a whole file
  // costs the fuzzer many times a piece per input and reaches no further.
  std::set<std::string> written;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(KORVENA_FUZZ_YEAR_FILES, ec))
    if (e.path().extension() == ".csv") WritePieces(dir, e.path(), &written);
#endif
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tmmain_PoolsReset();
  // What a reset gives, looked up once (the holders by their abbreviations).
  static const TMGlobal fresh = [] {
    tmglobal_Reset();
    return tmglobal;
  }();
  tmglobal = fresh;
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
