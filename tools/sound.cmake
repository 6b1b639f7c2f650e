# Sound tools: the synthesis library, the sound-bank tool and the disc's
# audio tracks (data/cdaudio/track02.wav .. track07.wav).
add_library(korvena_synth STATIC
  ${CMAKE_CURRENT_LIST_DIR}/sound/synth.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sound/instruments.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sound/kbb.cpp)
target_link_libraries(korvena_synth PUBLIC korvena_options korvena_audio)
target_include_directories(korvena_synth PUBLIC ${CMAKE_CURRENT_LIST_DIR})
# Synthesis is heavy arithmetic: optimised even in the test tree.
target_compile_options(korvena_synth PRIVATE -O2)

add_executable(korvena_kbbtool ${CMAKE_CURRENT_LIST_DIR}/sound/kbbtool.cpp)
target_link_libraries(korvena_kbbtool PRIVATE korvena_synth korvena_audio korvena_framework korvena_platform)
set_target_properties(korvena_kbbtool PROPERTIES OUTPUT_NAME kbbtool RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

add_executable(korvena_cdtracks ${CMAKE_CURRENT_LIST_DIR}/sound/cdtracks.cpp)
target_link_libraries(korvena_cdtracks PRIVATE korvena_synth)
target_compile_options(korvena_cdtracks PRIVATE -O2)
set_target_properties(korvena_cdtracks PROPERTIES OUTPUT_NAME cdtracks RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(KORVENA_CD_TRACKS)
foreach(track 2 3 4 5 6 7)
  set(wav ${KORVENA_DATA_DIR}/cdaudio/track0${track}.wav)
  add_custom_command(OUTPUT ${wav}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KORVENA_DATA_DIR}/cdaudio
    COMMAND korvena_cdtracks --track ${track} --out ${wav}
    DEPENDS korvena_cdtracks
    COMMENT "Synthesizing CD track ${track}"
    VERBATIM)
  list(APPEND KORVENA_CD_TRACKS ${wav})
endforeach()
add_custom_target(data_cdaudio DEPENDS ${KORVENA_CD_TRACKS})
add_dependencies(data data_cdaudio)
