# Included by authoring_ui/CMakeLists.txt: the help pages go beside the programs as bin/Help.
add_custom_target(zarvane_help_pages ALL
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_CURRENT_LIST_DIR}/help
          ${CMAKE_BINARY_DIR}/bin/Help
  COMMENT "Help pages into bin/Help" VERBATIM)
