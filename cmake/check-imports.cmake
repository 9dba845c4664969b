# cmake -DOBJDUMP=... -DFILE=x.exe -P check-imports.cmake
# Fails when FILE imports a DLL that Windows itself does not ship (Wine here would hide a missing
# zlib1.dll or libstdc++ DLL), or with -DSTARTS_ON_9X=ON a function the Windows 9x family lacks.
cmake_policy(SET CMP0057 NEW)  # IN_LIST below; a -P script starts with old policies
set(allowed KERNEL32.dll USER32.dll GDI32.dll ADVAPI32.dll SHELL32.dll ole32.dll OLEAUT32.dll
    COMCTL32.dll COMDLG32.dll WINMM.dll msvcrt.dll VERSION.dll SHLWAPI.dll)
string(TOLOWER "${allowed}" allowed)
execute_process(COMMAND ${OBJDUMP} -p ${FILE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot read ${FILE}")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${dump}")
set(bad "")
foreach(line IN LISTS lines)
  string(REPLACE "DLL Name: " "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" lower)
  if(NOT lower IN_LIST allowed)
    list(APPEND bad ${dll})
  endif()
endforeach()
# With STARTS_ON_9X, also functions of the NT family, Windows 98 or a later common-controls or
# shell library that a build easily pulls in: where Windows 95 lacks one, it refuses to start the
# program at all.
if(STARTS_ON_9X)
  foreach(function SetFilePointerEx GetFileSizeEx ReplaceFileA MoveFileWithProgressA
                   CreateHardLinkA FindFirstFileExA GetModuleHandleExA SetDllDirectoryA
                   GetSystemWindowsDirectoryA GetVolumePathNameA GetLongPathNameW
                   GetLongPathNameA GetFileAttributesExA IsDebuggerPresent GetAncestor
                   MonitorFromWindow GetMonitorInfoA InitCommonControlsEx SHGetSpecialFolderPathA
                   OleLoadPicture)
    if(dump MATCHES "[ \t]${function}[\r\n]")
      list(APPEND bad ${function})
    endif()
  endforeach()
endif()
if(bad)
  message(FATAL_ERROR "${FILE} imports what Windows (or, for STARTS_ON_9X, the 9x family) lacks: ${bad}")
endif()
list(LENGTH lines n)
message(STATUS "${FILE}: ${n} system DLLs imported")
