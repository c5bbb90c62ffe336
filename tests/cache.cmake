talvire_add_test(test_cache SOURCES test_cache.cpp LIBRARIES talvire_core)
