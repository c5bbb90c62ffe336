# The pictures beside the program as the windows load them (and as they are
# decoded ahead on other threads while the program starts).
talvire_add_test(test_pictures THREADS SOURCES test_pictures.cpp LIBRARIES talvire_core TIMEOUT 60)
