include(GoogleTest)

# zarvane_add_gtest(name SOURCES a.cpp ... LIBS lib ... [LABELS l ...])
# Native: one ctest case per TEST. Windows: one ctest case per executable, run under Wine.
function(zarvane_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_compile_definitions(${name} PRIVATE
    ZARVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}" ZARVANE_BINARY_DIR="${PROJECT_BINARY_DIR}")
  if(CMAKE_CROSSCOMPILING)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/skip_visible_main.cpp)
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS "win32;${T_LABELS}" SKIP_RETURN_CODE 77)
  else()
    # Each test its own case: the discovered cases show a skip as a skip.
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
    gtest_discover_tests(${name} PROPERTIES LABELS "native;${T_LABELS}" DISCOVERY_TIMEOUT 30)
  endif()
endfunction()

# zarvane_embed(target SYMBOL file): the file's bytes as `extern const unsigned char SYMBOL[]`
# and `extern const std::size_t SYMBOL_size`, for the portable build.
function(zarvane_embed target symbol file)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/embedded_${symbol}.cpp)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${file} -DOUTPUT=${out} -DSYMBOL=${symbol}
            -P ${PROJECT_SOURCE_DIR}/cmake/embed.cmake
    DEPENDS ${file} ${PROJECT_SOURCE_DIR}/cmake/embed.cmake VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()

# zarvane_check_imports(target [STARTS_ON_9X]): a test that the shipped executable needs no DLL
# Windows lacks and, with STARTS_ON_9X, none of the functions the Windows 9x family lacks.
function(zarvane_check_imports target)
  cmake_parse_arguments(PARSE_ARGV 1 check "STARTS_ON_9X" "" "")
  if(WIN32)
    add_test(NAME imports_${target}
      COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DFILE=$<TARGET_FILE:${target}>
              -DSTARTS_ON_9X=${check_STARTS_ON_9X}
              -P ${PROJECT_SOURCE_DIR}/cmake/check-imports.cmake)
    set_tests_properties(imports_${target} PROPERTIES LABELS "win32;imports")
  endif()
endfunction()
