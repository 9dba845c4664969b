# zarvane_add_driver_test(NAME name COMMANDS words... [LABELS labels...]): a test that runs
# zarvane-driver under Wine with the given script words (see `zarvane-driver` without arguments).
# Labelled gui; reported as skipped without a display. Windows paths for `run`: "Z:<host path>".
function(zarvane_add_driver_test)
  cmake_parse_arguments(T "" "NAME" "COMMANDS;LABELS" ${ARGN})
  add_test(NAME ${T_NAME}
           COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:zarvane_driver> ${T_COMMANDS})
  set_tests_properties(${T_NAME} PROPERTIES LABELS "win32;gui;${T_LABELS}" SKIP_RETURN_CODE 77
                                            TIMEOUT 120)
endfunction()
