# The macro editor: key names and codes, the macro files, the page.
talvire_add_test(test_macro_codes SOURCES macro/test_macro_codes.cpp LIBRARIES talvire_dialogs TIMEOUT 30)
talvire_add_test(test_macro_file SOURCES macro/test_macro_file.cpp macro/ReadOnlyFolder.h LIBRARIES talvire_core TIMEOUT 30)
talvire_add_test(test_macro_page SOURCES macro/test_macro_page.cpp macro/MacroPageTesting.h macro/ReadOnlyFolder.h
  LIBRARIES talvire_page_macro TIMEOUT 60)
