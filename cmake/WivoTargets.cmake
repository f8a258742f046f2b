# Compiler settings shared by every target of the project.

# Every target of the project is compiled with these warnings; with WIVO_WERROR
# they are errors.
set(WIVO_WARNING_FLAGS -Wall -Wextra)
if(WIVO_WERROR)
  list(APPEND WIVO_WARNING_FLAGS -Werror)
endif()

function(wivo_strict target)
  target_compile_options(${target} PRIVATE
    "$<$<COMPILE_LANGUAGE:C,CXX>:${WIVO_WARNING_FLAGS}>")
endfunction()

# A GoogleTest program run under Wine as one ctest entry.
#   wivo_add_test(NAME SOURCES ... [LIBS ...] [TIMEOUT s] [LABELS ...])
function(wivo_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  wivo_strict(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} wivo_test_support GTest::gtest)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "WINEPREFIX=${WIVO_WINEPREFIX}"
    LABELS "${T_LABELS}")
endfunction()
