# The pictures beside the program as the windows load them.
talvire_add_test(test_pictures SOURCES test_pictures.cpp LIBRARIES talvire_core TIMEOUT 60)
