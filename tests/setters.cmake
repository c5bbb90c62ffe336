talvire_add_test(test_setters SOURCES test_setters.cpp LIBRARIES talvire_app)
