# The tests' own helpers.
talvire_add_test(test_modal_answer SOURCES harness/test_modal_answer.cpp)
