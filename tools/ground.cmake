# Textures of the ground: pitch, ball, markers, goals, hoardings and the
# stadium pages, painted from assets/ground and checked before writing.
include_guard(GLOBAL)
include(${CMAKE_CURRENT_LIST_DIR}/art/art.cmake)
if(NOT TARGET PkgConfig::FREETYPE)
  pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
endif()
if(NOT DEFINED KORVENA_DEJAVU_DIR)
  set(KORVENA_DEJAVU_DIR /usr/share/fonts/truetype/dejavu CACHE PATH "Folder of the DejaVu TrueType fonts")
endif()

add_library(groundart_core STATIC ${CMAKE_CURRENT_LIST_DIR}/ground/groundart.cpp)
target_link_libraries(groundart_core PUBLIC korvena_options PkgConfig::FREETYPE)
target_include_directories(groundart_core PUBLIC ${CMAKE_CURRENT_LIST_DIR}/ground)
# The painter runs at every build of the data: optimised in every build type.
target_compile_options(groundart_core PRIVATE -O2)

add_executable(korvena_groundgen ${CMAKE_CURRENT_LIST_DIR}/ground/groundgen.cpp)
target_link_libraries(korvena_groundgen PRIVATE groundart_core korvena_art)
set_target_properties(korvena_groundgen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(_ground_sources ${CMAKE_SOURCE_DIR}/assets/ground/looks.txt ${CMAKE_SOURCE_DIR}/assets/ground/adverts.txt
    ${CMAKE_SOURCE_DIR}/assets/ground/pitch.txt)
set(_ground_stamp ${CMAKE_BINARY_DIR}/tools/ground.stamp)
add_custom_command(OUTPUT ${_ground_stamp}
  COMMAND korvena_groundgen --assets ${CMAKE_SOURCE_DIR}/assets/ground --fonts ${KORVENA_DEJAVU_DIR}
          --out ${KORVENA_DATA_DIR}/textures --stamp ${_ground_stamp}
  DEPENDS korvena_groundgen ${_ground_sources}
  COMMENT "Painting the ground's textures"
  VERBATIM)
add_custom_target(data_ground DEPENDS ${_ground_stamp})
add_dependencies(data data_ground)
