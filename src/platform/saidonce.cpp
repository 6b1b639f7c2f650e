// Problems said once.
#include "platform/saidonce.h"

#include <cstdio>
#include <map>
#include <mutex>
#include <utility>

namespace platform {
namespace {

std::mutex g_lock;
// What was last said under each topic and key.
std::map<std::pair<std::string, std::string>, std::string> g_said;

}  // namespace

bool sayOnce(const char* topic, const std::string& key, const std::string& text) {
  {
    const std::lock_guard<std::mutex> hold(g_lock);
    std::string& last = g_said[{topic != nullptr ? topic : "", key}];
    if (last == text) return false;
    last = text;
  }
  if (text.empty()) return false;
  std::fputs(text.c_str(), stderr);
  if (text.back() != '\n') std::fputc('\n', stderr);
  std::fflush(stderr);
  return true;
}

void forgetSaid() {
  const std::lock_guard<std::mutex> hold(g_lock);
  g_said.clear();
}

}  // namespace platform
