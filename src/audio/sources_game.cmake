# The game's sound logic: bank selection, crowd and CD tracks, effects,
# shouts and referee phrases.
list(APPEND AUDIO_SOURCES
  crowd.cpp
  pchat.cpp
  pcsound.cpp
  sfx.cpp
  sound_match.cpp)
