// Problems said once: the game's names for the platform's one memory.
#include "shell/saidonce.h"

#include "platform/saidonce.h"

std::int32_t saidonce_Say(const char* pszTopic, const std::string& oKey, const std::string& oText) {
  return platform::sayOnce(pszTopic, oKey, oText) ? 1 : 0;
}

void saidonce_Reset() { platform::forgetSaid(); }
