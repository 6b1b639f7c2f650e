# The action table, the action pass, the director and closing down.
list(APPEND ENGINE_SOURCES
  action.cpp
  action_holder.cpp
  action_react.cpp
  referee_retreat.cpp
  referee.cpp
  refact.cpp)
# The action program sets and the trap table, assembled by progasm from
# assets/match.
include(${CMAKE_SOURCE_DIR}/tools/programs.cmake)
list(APPEND ENGINE_SOURCES
  action_programs.cpp
  ${KORVENA_PROGRAM_SOURCES})
list(APPEND ENGINE_SOURCES touch.cpp)  # touch machine
