#pragma once
// Problems said once: a problem met again and again (a file read for every
// match, a page drawn every frame) is said on standard error the first time,
// and again only when what there is to say of it changes. The memory is the
// platform layer's (platform/saidonce.h), which says its own problems there.
#include <cstdint>
#include <string>

// Says the text on standard error unless it is what was last said under the
// same topic and key (a file's path, a film's name). An empty text says
// nothing but is remembered, so that the same problem coming back is said
// again. 1 when the text was said now.
std::int32_t saidonce_Say(const char* pszTopic, const std::string& oKey, const std::string& oText);
// Forgets everything said (tests).
void saidonce_Reset();
