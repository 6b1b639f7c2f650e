# Set-piece scripts: spasm checks assets/setpieces/scripts.txt and writes the
# script table into the build tree. Included from the engine's source list;
# the guard makes later includes no-ops.
include_guard(GLOBAL)

add_library(spasm_core STATIC ${CMAKE_SOURCE_DIR}/tools/setpieces/spasm_core.cpp)
target_compile_features(spasm_core PUBLIC cxx_std_20)
target_compile_options(spasm_core PRIVATE -Wall -Wextra)
target_include_directories(spasm_core PUBLIC ${CMAKE_SOURCE_DIR}/tools/setpieces)
add_executable(spasm ${CMAKE_SOURCE_DIR}/tools/setpieces/spasm.cpp)
target_link_libraries(spasm PRIVATE spasm_core)
target_compile_options(spasm PRIVATE -Wall -Wextra)
set_target_properties(spasm PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(KORVENA_SETPIECE_GENERATED ${CMAKE_BINARY_DIR}/generated/engine)
file(MAKE_DIRECTORY ${KORVENA_SETPIECE_GENERATED})
set(KORVENA_SETPIECE_SOURCES)
if(EXISTS ${CMAKE_SOURCE_DIR}/assets/setpieces/scripts.txt)
  set(KORVENA_SETPIECE_SOURCES ${KORVENA_SETPIECE_GENERATED}/spscript_list.cpp)
  add_custom_command(
    OUTPUT ${KORVENA_SETPIECE_GENERATED}/spscript_list.cpp ${KORVENA_SETPIECE_GENERATED}/spscript_list.txt
    COMMAND spasm ${CMAKE_SOURCE_DIR}/assets/setpieces/scripts.txt ${KORVENA_SETPIECE_GENERATED}/spscript_list.cpp
            --list ${KORVENA_SETPIECE_GENERATED}/spscript_list.txt
    DEPENDS spasm ${CMAKE_SOURCE_DIR}/assets/setpieces/scripts.txt
    COMMENT "Assembling and checking the set-piece scripts"
    VERBATIM)
endif()
