# Installed defaults of the machine settings root (data/settings/machine-defaults.txt).
add_executable(korvena_settingsgen ${CMAKE_CURRENT_LIST_DIR}/settings/make_settings_defaults.cpp)
target_link_libraries(korvena_settingsgen PRIVATE korvena_platform)
set_target_properties(korvena_settingsgen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(KORVENA_SETTINGS_DEFAULTS ${KORVENA_DATA_DIR}/settings/machine-defaults.txt)
add_custom_command(OUTPUT ${KORVENA_SETTINGS_DEFAULTS}
  COMMAND korvena_settingsgen --out ${KORVENA_SETTINGS_DEFAULTS}
  DEPENDS korvena_settingsgen
  COMMENT "Writing the installed settings defaults"
  VERBATIM)
add_custom_target(data_settings DEPENDS ${KORVENA_SETTINGS_DEFAULTS})
add_dependencies(data data_settings)
