# Help, the about box, the preview warning and the desktop preview of the authoring tool:
# included by authoring_ui/CMakeLists.txt. The help pages go beside the programs as bin/Help.
set(ZARVANE_HELP_PAGES ${CMAKE_CURRENT_LIST_DIR}/help CACHE INTERNAL "")
add_custom_target(zarvane_help_pages ALL
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${ZARVANE_HELP_PAGES} ${CMAKE_BINARY_DIR}/bin/Help
  COMMENT "Help pages into bin/Help" VERBATIM)

if(WIN32)
  set(dir ${CMAKE_CURRENT_LIST_DIR})
  add_library(zarvane_authoring_help STATIC ${dir}/about_dialog.cpp ${dir}/help_commands.cpp
              ${dir}/preview_warning_dialog.cpp ${dir}/wallpaper_preview.cpp)
  target_include_directories(zarvane_authoring_help PUBLIC ${dir})
  target_link_libraries(zarvane_authoring_help PUBLIC zarvane_winui zarvane_wallpaper_core
                                                      zarvane_project)
endif()
