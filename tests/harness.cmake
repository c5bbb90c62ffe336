# The tests' own helpers.
talvire_add_test(test_modal_answer SOURCES harness/test_modal_answer.cpp)

# Every test program's time limit is at most 90 s (talvire_add_test: TIMEOUT)
# times the factor for a busy machine.
math(EXPR max_test_seconds "90 * ${TALVIRE_TEST_LIMIT_SCALE}")
add_test(NAME test_time_limits COMMAND ${CMAKE_COMMAND}
  -DBINARY_DIR=${CMAKE_BINARY_DIR} -DCTEST=${CMAKE_CTEST_COMMAND} -DMAX_SECONDS=${max_test_seconds}
  -P ${CMAKE_CURRENT_SOURCE_DIR}/harness/CheckTimeLimits.cmake)
set_tests_properties(test_time_limits PROPERTIES TIMEOUT 30 LABELS unit)
