# Zarvane.exe binds these system libraries on its first call into each (a chooser, a preview, a
# sound, a dropped file, a build's progress bar), not before its window shows: under Wine each
# one bound at start costs more than the whole window. A delay-import library per DLL, made from
# the toolchain's own import library, sits in a folder searched before the toolchain's, for this
# program only.
set(late_libraries ole32 oleaut32 shell32 comdlg32 winmm comctl32)
set(late_folder ${CMAKE_CURRENT_BINARY_DIR}/late_imports)
file(MAKE_DIRECTORY ${late_folder})
set(late_made TRUE)
foreach(name IN LISTS late_libraries)
  find_library(import_${name} ${name} NO_CACHE)
  if(NOT import_${name} OR NOT CMAKE_NM OR NOT CMAKE_DLLTOOL)
    set(late_made FALSE)
    break()
  endif()
  execute_process(COMMAND ${CMAKE_NM} -g --defined-only ${import_${name}}
                  OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
  # Functions only: their thunks are text symbols (32-bit names carry a leading underscore).
  string(REGEX MATCHALL "[^\n]* T [^\n]+" thunks "${symbols}")
  set(def "LIBRARY ${name}.dll\nEXPORTS\n")
  set(seen "")
  foreach(line IN LISTS thunks)
    string(REGEX REPLACE "^.* T _?" "" function "${line}")
    if(NOT function IN_LIST seen)
      list(APPEND seen ${function})
      string(APPEND def "${function}\n")
    endif()
  endforeach()
  file(WRITE ${late_folder}/${name}.def "${def}")
  # -k: a 32-bit import goes by the plain name, as the DLL exports it.
  execute_process(COMMAND ${CMAKE_DLLTOOL} -k -d ${late_folder}/${name}.def
                          -y ${late_folder}/lib${name}.a -D ${name}.dll RESULT_VARIABLE made)
  if(NOT rc EQUAL 0 OR NOT made EQUAL 0 OR NOT seen)
    set(late_made FALSE)
    break()
  endif()
endforeach()
if(late_made)
  target_link_directories(Zarvane BEFORE PRIVATE ${late_folder})
else()
  message(WARNING "Zarvane.exe binds ${late_libraries} at start: no delay-import libraries")
endif()
