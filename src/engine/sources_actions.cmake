# The action table, the action pass, the director and closing down, with
# stand-ins for the handlers of modules still to come.
list(APPEND ENGINE_SOURCES
  action.cpp
  action_standins.cpp
  action_holder.cpp
  action_react.cpp
  referee_retreat.cpp)
