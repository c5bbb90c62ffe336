# Keyboard capture: the key source, the hooks, the key names and the key dialogs.
set(KEY_TEST_DIR ${CMAKE_CURRENT_SOURCE_DIR}/keys)
talvire_add_test(test_key_source SOURCES keys/test_key_source.cpp keys/KeyInput.h LIBRARIES talvire_app)
talvire_add_test(test_keyboard_hook SOURCES keys/test_keyboard_hook.cpp keys/KeyInput.h LIBRARIES talvire_app)
talvire_add_test(test_key_names SOURCES keys/test_key_names.cpp LIBRARIES talvire_app)
talvire_add_test(test_key_dialogs SOURCES keys/test_key_dialogs.cpp keys/KeyInput.h LIBRARIES talvire_app)
talvire_add_test(test_addkey_x11 SOURCES keys/test_addkey_x11.cpp LIBRARIES talvire_app XVFB)
