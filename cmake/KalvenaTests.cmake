# add_unit_test(NAME name SOURCES a.cpp ... LIBS lib ... [GUI | OWN_MAIN])
# One line per test file; GUI tests run on Qt's offscreen platform. OWN_MAIN:
# the sources bring their main (for tests that run the program as a child).

# Under the sanitizers every test checks for leaks; only the libraries'
# own process-lifetime allocations are suppressed.
set(KALVENA_SANITIZER_ENVIRONMENT
  "ASAN_OPTIONS=detect_leaks=1"
  "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0")
set(KALVENA_TEST_ENVIRONMENT "QT_QPA_PLATFORM=offscreen" ${KALVENA_SANITIZER_ENVIRONMENT})
function(add_unit_test)
  cmake_parse_arguments(T "GUI;OWN_MAIN" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  if(T_GUI)
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} kalvena_test_support_gui GTest::gtest)
  elseif(T_OWN_MAIN)
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} kalvena_test_support GTest::gtest)
  else()
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} kalvena_test_support GTest::gtest GTest::gtest_main)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES
    ENVIRONMENT "${KALVENA_TEST_ENVIRONMENT}"
    TIMEOUT 600)
endfunction()
