# Front-end art: the source background sheets read by the first-run
# conversion (data/frontend/<name>.spr), the conversion screen and the outro
# image, painted by our generator with the DejaVu fonts.
include(${CMAKE_CURRENT_LIST_DIR}/art/art.cmake)
if(NOT TARGET PkgConfig::FREETYPE)
  pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
endif()

add_executable(korvena_fegen ${CMAKE_CURRENT_LIST_DIR}/frontend/fegen.cpp)
target_link_libraries(korvena_fegen PRIVATE korvena_art PkgConfig::FREETYPE)
target_sources(korvena_fegen PRIVATE ${CMAKE_CURRENT_LIST_DIR}/frontend/fegen_team.cpp ${CMAKE_CURRENT_LIST_DIR}/frontend/fegen_tactics.cpp)
target_sources(korvena_fegen PRIVATE ${CMAKE_CURRENT_LIST_DIR}/frontend/fegen_fhset.cpp)
target_sources(korvena_fegen PRIVATE ${CMAKE_CURRENT_LIST_DIR}/frontend/fegen_fhmain.cpp)
target_sources(korvena_fegen PRIVATE ${CMAKE_CURRENT_LIST_DIR}/frontend/fegen_fhfl.cpp)
target_sources(korvena_fegen PRIVATE ${CMAKE_CURRENT_LIST_DIR}/frontend/fegen_fhroh.cpp)
target_sources(korvena_fegen PRIVATE ${CMAKE_CURRENT_LIST_DIR}/frontend/fegen_fhgt.cpp)
target_include_directories(korvena_fegen PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/src)  # the screens' layout records
# The painter runs at every build of the data: optimised in every build type.
target_compile_options(korvena_fegen PRIVATE -O2)
set_target_properties(korvena_fegen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

if(NOT DEFINED KORVENA_DEJAVU_DIR)
  set(KORVENA_DEJAVU_DIR /usr/share/fonts/truetype/dejavu CACHE PATH "Folder of the DejaVu TrueType fonts")
endif()

set(_fe_sheets condi maineng mainfra mainger mainspa mainita mainpor sides tactics team
    fhfl fhgt fhnews fhops fhroh fhset options loadsave cont fhmain)
set(_fe_outputs ${KORVENA_DATA_DIR}/textures/images/gfxconvert.tga ${KORVENA_DATA_DIR}/textures/images/outro.tga)
foreach(_s IN LISTS _fe_sheets)
  list(APPEND _fe_outputs ${KORVENA_DATA_DIR}/frontend/${_s}.spr)
endforeach()
set(_fe_words ${CMAKE_SOURCE_DIR}/assets/frontend/mainmenu.txt)

add_custom_command(OUTPUT ${_fe_outputs}
  COMMAND korvena_fegen --data ${KORVENA_DATA_DIR} --fonts ${KORVENA_DEJAVU_DIR} --words ${_fe_words}
  DEPENDS korvena_fegen ${_fe_words} ${CMAKE_SOURCE_DIR}/assets/frontend/worldmap.txt
  COMMENT "Painting the front-end sheets and images"
  VERBATIM)
add_custom_target(data_frontend DEPENDS ${_fe_outputs})
add_dependencies(data data_frontend)
