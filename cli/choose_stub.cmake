# cmake -DSTUB=installer.exe -DSTANDIN=file -DOUTPUT=file -P choose_stub.cmake
# Copies the real installer when it exists, the stand-in otherwise; unchanged bytes keep their
# timestamp so nothing relinks.
if(STUB AND EXISTS "${STUB}")
  set(source "${STUB}")
else()
  set(source "${STANDIN}")
  message(STATUS "zarvane-cli carries the installer stand-in (no ${STUB})")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different "${source}" "${OUTPUT}")
