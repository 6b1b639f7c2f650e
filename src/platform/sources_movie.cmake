# Movie area of the platform layer: our movie format and its streamer.
list(APPEND PLATFORM_SOURCES
  movie_codec.cpp
  movie_streamer.cpp)
