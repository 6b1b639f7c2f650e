# Audio area of the platform layer: the mixer of voices, streaming voices, the
# CD tracks of the pseudo disc, the MIDI probe; SDL output and headless capture.
list(APPEND PLATFORM_SOURCES
  audio.cpp
  audio_cd.cpp
  sdl/audio_sdl.cpp
  headless/audio_headless.cpp)
