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

# The game's sound banks (data/sound/WN32/*.KBB): effects and crowds
# synthesized, shouts and referee phrases spoken by espeak-ng.
add_executable(korvena_soundbanks ${CMAKE_CURRENT_LIST_DIR}/sound/soundbanks.cpp)
target_link_libraries(korvena_soundbanks PRIVATE korvena_synth)
target_compile_options(korvena_soundbanks PRIVATE -O2)
set_target_properties(korvena_soundbanks PROPERTIES OUTPUT_NAME soundbanks RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

find_program(KORVENA_ESPEAK espeak-ng)
if(NOT KORVENA_ESPEAK)
  message(FATAL_ERROR "espeak-ng is needed for the speech banks: run scripts/install-deps")
endif()

set(KORVENA_SOUND_SRC ${CMAKE_SOURCE_DIR}/assets/sound)
set(KORVENA_SOUND_OUT ${KORVENA_DATA_DIR}/sound/WN32)
set(KORVENA_SOUND_BANKS)
foreach(bank FRONTEND INGAME CROWDDEF CROWDENG)
  set(kbb ${KORVENA_SOUND_OUT}/${bank}.KBB)
  add_custom_command(OUTPUT ${kbb}
    COMMAND korvena_soundbanks effects ${bank} ${KORVENA_SOUND_SRC}/effects.txt ${kbb}
    DEPENDS korvena_soundbanks ${KORVENA_SOUND_SRC}/effects.txt
    COMMENT "Synthesizing sound bank ${bank}"
    VERBATIM)
  list(APPEND KORVENA_SOUND_BANKS ${kbb})
endforeach()
# <bank> <phrase file> <voice>
set(KORVENA_SPEECH_BANKS
  "CENG eng en-gb" "CFRA fra fr-fr" "CGER ger de" "CESP esp es" "CITA ita it" "CPOR por pt" "CJAP jap ja"
  "CSOU sou es-419")
set(KORVENA_REFEREE_BANKS
  "REFENG eng en-gb" "REFFRE fra fr-fr" "REFGER ger de" "REFESP esp es" "REFITA ita it" "REFPOR por pt"
  "REFJAP jap ja")
foreach(kind shouts referee)
  if(kind STREQUAL "shouts")
    set(list ${KORVENA_SPEECH_BANKS})
  else()
    set(list ${KORVENA_REFEREE_BANKS})
  endif()
  foreach(entry ${list})
    separate_arguments(parts UNIX_COMMAND "${entry}")
    list(GET parts 0 bank)
    list(GET parts 1 lang)
    list(GET parts 2 voice)
    set(kbb ${KORVENA_SOUND_OUT}/${bank}.KBB)
    add_custom_command(OUTPUT ${kbb}
      COMMAND ${CMAKE_COMMAND} -E env ESPEAK_NG=${KORVENA_ESPEAK}
              $<TARGET_FILE:korvena_soundbanks> speech ${kind} ${KORVENA_SOUND_SRC}/speech/${lang}.txt ${voice}
              ${CMAKE_BINARY_DIR}/soundwork/${bank} ${kbb}
      DEPENDS korvena_soundbanks ${KORVENA_SOUND_SRC}/speech/${lang}.txt
      COMMENT "Speaking sound bank ${bank}"
      VERBATIM)
    list(APPEND KORVENA_SOUND_BANKS ${kbb})
  endforeach()
endforeach()
add_custom_target(data_sound DEPENDS ${KORVENA_SOUND_BANKS})
add_dependencies(data data_sound)
