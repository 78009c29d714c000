# strovane_add_test(name SOURCES a.cpp ... [QTEST] [TIMEOUT seconds] [LABELS ...])
# A GoogleTest program (or a QtTest one with QTEST) linked with the whole
# system. Every test runs offscreen with a time limit, so that a message box
# nobody answers fails the test instead of hanging the run.
add_library(strovane_gtest_main OBJECT ${CMAKE_SOURCE_DIR}/tests/support/gtest_qt_main.cpp)
target_link_libraries(strovane_gtest_main PUBLIC strovane_core GTest::gtest)

function(strovane_add_test name)
  cmake_parse_arguments(T "QTEST" "TIMEOUT" "SOURCES;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  if(T_QTEST)
    target_link_libraries(${name} PRIVATE strovane_core Qt6::Test)
  else()
    target_link_libraries(${name} PRIVATE strovane_gtest_main strovane_core GTest::gtest)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  math(EXPR function_timeout_ms "${T_TIMEOUT} * 1000 - 5000")
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    LABELS "${T_LABELS}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTEST_FUNCTION_TIMEOUT=${function_timeout_ms};STROVANE_BINARY=$<TARGET_FILE:strovane>;STROVANE_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()
