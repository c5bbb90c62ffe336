# The button page: its records, form, texts and debounce frame; showing,
# choosing and assigning functions; macros, export, import, reset and profiles.
# Each runs the worker of a pick: also under ThreadSanitizer. The page and the
# assigning tests run in two parts each.
talvire_add_test(test_button_page THREADS LIBRARIES talvire_page_buttons TIMEOUT 90 PARTS 2
  SOURCES buttons/test_button_page.cpp buttons/ButtonPageTesting.h)
talvire_add_test(test_button_assign THREADS LIBRARIES talvire_page_buttons TIMEOUT 90 PARTS 2
  SOURCES buttons/test_button_assign.cpp buttons/ButtonPageTesting.h)
talvire_add_test(test_button_config THREADS LIBRARIES talvire_page_buttons TIMEOUT 90
  SOURCES buttons/test_button_config.cpp buttons/ButtonPageTesting.h)
