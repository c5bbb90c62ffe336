talvire_add_test(test_dialogs SOURCES test_dialogs.cpp LIBRARIES talvire_app)
