# cmake -DOBJDUMP=... -DFILE=x.exe -P check-imports.cmake
# Fails when FILE imports a DLL that Windows itself does not ship (Wine here would hide a missing
# zlib1.dll or libstdc++ DLL).
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
if(bad)
  message(FATAL_ERROR "${FILE} imports DLLs that Windows does not have: ${bad}")
endif()
# Functions of the NT family a build easily pulls in: where the 9x family lacks one, Windows
# refuses to start the program at all.
if(STARTS_ON_9X)
  set(nt_only SetFilePointerEx GetFileSizeEx ReplaceFileA MoveFileWithProgressA CreateHardLinkA
      FindFirstFileExA GetModuleHandleExA SetDllDirectoryA GetSystemWindowsDirectoryA
      GetVolumePathNameA GetLongPathNameW)
  foreach(function IN LISTS nt_only)
    if(dump MATCHES "[ \t]${function}[\r\n]")
      list(APPEND bad ${function})
    endif()
  endforeach()
  if(bad)
    message(FATAL_ERROR "${FILE} imports functions the Windows 9x family lacks: ${bad}")
  endif()
endif()
list(LENGTH lines n)
message(STATUS "${FILE}: ${n} system DLLs imported")
