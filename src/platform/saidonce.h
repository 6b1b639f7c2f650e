#pragma once
// Problems said once: a problem met again and again (a file read for every
// match, a page drawn every frame, a sound device tried by every film) is
// said on standard error the first time, and again only when what there is
// to say of it changes. One memory for the whole program: the game's layers
// above say theirs through shell/saidonce.h.
#include <string>

namespace platform {

// Says the text on standard error unless it is what was last said under the
// same topic and key (a file's path, a film's name). An empty text says
// nothing but is remembered, so that the same problem coming back is said
// again. True when the text was said now.
bool sayOnce(const char* topic, const std::string& key, const std::string& text);
// Forgets everything said (tests).
void forgetSaid();

}  // namespace platform
