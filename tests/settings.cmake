# The settings page on the simulated receiver and mouse; the pairing test
# runs the library's change thread: also under TSan. It opens the simulated
# devices many times, which takes long on a loaded machine.
talvire_add_test(test_settings_page THREADS PARTS 2 SOURCES settings/test_settings_page.cpp
  LIBRARIES talvire_page_settings TIMEOUT 90)
# The page in the whole program, picked from the device list.
talvire_add_test(test_settings_program THREADS SOURCES settings/test_settings_program.cpp
  LIBRARIES talvire_app TIMEOUT 90)
