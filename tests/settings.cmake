# The settings page on the simulated receiver and mouse; the pairing test
# runs the library's change thread: also under TSan.
talvire_add_test(test_settings_page THREADS SOURCES settings/test_settings_page.cpp
  LIBRARIES talvire_page_settings)
