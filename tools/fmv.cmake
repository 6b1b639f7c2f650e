# Movies: the validator of our movie format, the film generator and the 34
# films (data/fmv/*.rpl) drawn and scored from the storyboards in assets/fmv.
add_executable(korvena_fmvcheck ${CMAKE_CURRENT_LIST_DIR}/fmv/fmvcheck.cpp)
target_link_libraries(korvena_fmvcheck PRIVATE korvena_platform)
set_target_properties(korvena_fmvcheck PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

# The generator paints its cards itself, optimised in every tree, and draws
# its match shots with the game's own scene and software renderer.
pkg_check_modules(FMV_FREETYPE REQUIRED IMPORTED_TARGET freetype2)
find_package(ZLIB REQUIRED)
add_executable(korvena_fmvgen
  ${CMAKE_CURRENT_LIST_DIR}/fmv/fmvgen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fmv/fmvscene.cpp
  ${CMAKE_SOURCE_DIR}/src/platform/movie_codec.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sound/synth.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sound/instruments.cpp)
target_include_directories(korvena_fmvgen PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_CURRENT_LIST_DIR})
target_compile_features(korvena_fmvgen PRIVATE cxx_std_20)
target_compile_options(korvena_fmvgen PRIVATE -O2 -ffp-contract=off -fno-fast-math)
target_link_libraries(korvena_fmvgen PRIVATE PkgConfig::FMV_FREETYPE ZLIB::ZLIB korvena_raster
  "$<LINK_GROUP:RESCAN,korvena_shell,korvena_scene3d,korvena_render3d,korvena_matchflow,korvena_engine,korvena_audio,korvena_tournament,korvena_frontend,korvena_display,korvena_framework,korvena_math,korvena_platform>")
set_target_properties(korvena_fmvgen PROPERTIES OUTPUT_NAME fmvgen RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(KORVENA_FMV_SRC ${CMAKE_SOURCE_DIR}/assets/fmv)
set(KORVENA_FMV_OUT ${KORVENA_DATA_DIR}/fmv)
file(GLOB KORVENA_FMV_BOARDS CONFIGURE_DEPENDS ${KORVENA_FMV_SRC}/*.txt)
file(GLOB KORVENA_FMV_NARRATION CONFIGURE_DEPENDS ${KORVENA_FMV_SRC}/narration/*.txt)
set(KORVENA_FMV_FILMS)
# The match shots draw the ground, the stadium, the players and their kits
# from the data tree.
set(KORVENA_FMV_SCENE_DATA ${_ground_stamp} ${_kit_stamp} ${_model_stamp} ${_player_stamp} ${KORVENA_SCENE_ART})
foreach(board ${KORVENA_FMV_BOARDS})
  get_filename_component(name ${board} NAME_WE)
  set(film ${KORVENA_FMV_OUT}/${name}.rpl)
  set(work ${CMAKE_BINARY_DIR}/fmvwork/${name})
  # Written aside, validated, then put in place: a film that fails the
  # validator stops the build and is never left in the data tree.
  add_custom_command(OUTPUT ${film}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KORVENA_FMV_OUT} ${work}
    COMMAND korvena_fmvgen --board ${board} --out ${work}/${name}.rpl --font ${KORVENA_DEJAVU_DIR}/DejaVuSans-Bold.ttf
            --narration ${KORVENA_FMV_SRC}/narration --work ${work} --data ${KORVENA_DATA_DIR}
    COMMAND korvena_fmvcheck ${work}/${name}.rpl
    COMMAND ${CMAKE_COMMAND} -E rename ${work}/${name}.rpl ${film}
    DEPENDS korvena_fmvgen korvena_fmvcheck ${board} ${KORVENA_FMV_NARRATION} ${KORVENA_FMV_SCENE_DATA}
    COMMENT "Making film ${name}"
    VERBATIM)
  list(APPEND KORVENA_FMV_FILMS ${film})
endforeach()
add_custom_target(data_fmv DEPENDS ${KORVENA_FMV_FILMS})
# Only the trees that show or test the films make them: the fuzz programs seed
# from other data and the movie benchmark makes its own film when none is
# built (`--target data_fmv` makes them there too).
if(NOT KORVENA_FUZZ AND NOT KORVENA_BENCH)
  add_dependencies(data data_fmv)
endif()
