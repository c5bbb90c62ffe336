talvire_add_test(test_bus SOURCES test_bus.cpp LIBRARIES talvire_core THREADS)
