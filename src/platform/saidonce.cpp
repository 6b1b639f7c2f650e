// Problems said once.
#include "shell/saidonce.h"

#include <cstdio>
#include <map>
#include <mutex>
#include <utility>

namespace {

std::mutex g_oLock;
// What was last said under each topic and key.
std::map<std::pair<std::string, std::string>, std::string> g_oSaid;

}  // namespace

std::int32_t saidonce_Say(const char* pszTopic, const std::string& oKey, const std::string& oText) {
  {
    const std::lock_guard<std::mutex> oHold(g_oLock);
    std::string& oLast = g_oSaid[{pszTopic != nullptr ? pszTopic : "", oKey}];
    if (oLast == oText) return 0;
    oLast = oText;
  }
  if (oText.empty()) return 0;
  std::fputs(oText.c_str(), stderr);
  if (oText.back() != '\n') std::fputc('\n', stderr);
  std::fflush(stderr);
  return 1;
}

void saidonce_Reset() {
  const std::lock_guard<std::mutex> oHold(g_oLock);
  g_oSaid.clear();
}
