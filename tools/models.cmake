# The PCS models of a match: goal frames, corner flag and stadium shells,
# built from assets/models and the stadium looks and checked before writing.
include_guard(GLOBAL)
include(${CMAKE_CURRENT_LIST_DIR}/art/art.cmake)
add_library(modelart_core STATIC ${CMAKE_CURRENT_LIST_DIR}/models/modelart.cpp)
target_link_libraries(modelart_core PUBLIC korvena_options)
target_include_directories(modelart_core PUBLIC ${CMAKE_CURRENT_LIST_DIR}/models)
target_compile_options(modelart_core PRIVATE -O2)

add_executable(korvena_modelgen ${CMAKE_CURRENT_LIST_DIR}/models/modelgen.cpp)
target_link_libraries(korvena_modelgen PRIVATE modelart_core korvena_art)
set_target_properties(korvena_modelgen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(_model_sources ${CMAKE_SOURCE_DIR}/assets/models/goals.txt ${CMAKE_SOURCE_DIR}/assets/models/stadiums.txt
    ${CMAKE_SOURCE_DIR}/assets/ground/looks.txt)
set(_model_stamp ${CMAKE_BINARY_DIR}/tools/models.stamp)
add_custom_command(OUTPUT ${_model_stamp}
  COMMAND korvena_modelgen --assets ${CMAKE_SOURCE_DIR}/assets --out ${KORVENA_DATA_DIR}/models --stamp ${_model_stamp}
  DEPENDS korvena_modelgen ${_model_sources}
  COMMENT "Building the match's models"
  VERBATIM)
add_custom_target(data_models DEPENDS ${_model_stamp})
add_dependencies(data data_models)
