# Movies: the format, the streamer, the player and the intro screens.
korvena_test(test_movie_codec SOURCES movie/movie_codec_test.cpp DEPS korvena_platform korvena_audio)
korvena_test(test_movie_player
  SOURCES movie/pcfmv_test.cpp movie/intro_test.cpp frontend/frontend_env.cpp
  DEPS korvena_frontend korvena_scene3d korvena_shell korvena_audio korvena_tournament korvena_display korvena_framework korvena_platform)
add_dependencies(test_movie_player data)
add_dependencies(test_movie_codec korvena_fmvcheck)
# The real game with the build's films.
korvena_test(test_movie_run SOURCES movie/intro_run_test.cpp DEPS korvena_platform)
add_dependencies(test_movie_run korvena data)
korvena_test(test_movie_fmvgen SOURCES movie/fmvgen_test.cpp DEPS korvena_platform)
add_dependencies(test_movie_fmvgen korvena_fmvgen korvena_fmvcheck data)
