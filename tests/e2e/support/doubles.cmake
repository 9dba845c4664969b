# zarvane_use_doubles(test [DESKTOP] [FLASH] [FLASH_LOCK]) for a test in the Windows build:
#   DESKTOP     the stand-in Active Desktop is registered while the test runs;
#   FLASH       the stand-in flash.ocx (bin/doubles/flash.ocx) is registered while the test runs;
#   FLASH_LOCK  no registration: the test sets up the Flash control itself (doubles.sh remove-flash
#               first), but no other user of the control runs at the same time.
# Each also holds the lock on that double's logs and state. The fixtures are in tests/doubles.
set(ZARVANE_DOUBLES_SH ${CMAKE_CURRENT_LIST_DIR}/doubles.sh)

function(zarvane_use_doubles test)
  cmake_parse_arguments(D "DESKTOP;FLASH;FLASH_LOCK" "" "" ${ARGN})
  set(fixtures)
  set(locks)
  if(D_DESKTOP)
    list(APPEND fixtures doubles.desktop)
    list(APPEND locks doubles.desktop)
  endif()
  if(D_FLASH)
    list(APPEND fixtures doubles.flash)
  endif()
  if(D_FLASH OR D_FLASH_LOCK)
    list(APPEND locks doubles.flash)
  endif()
  set_property(TEST ${test} APPEND PROPERTY FIXTURES_REQUIRED ${fixtures})
  set_property(TEST ${test} APPEND PROPERTY RESOURCE_LOCK ${locks})
endfunction()
