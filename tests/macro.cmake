# The macro editor: key names and codes, the macro files, the page.
talvire_add_test(test_macro_codes SOURCES macro/test_macro_codes.cpp LIBRARIES talvire_dialogs TIMEOUT 30)
talvire_add_test(test_macro_file SOURCES macro/test_macro_file.cpp macro/ReadOnlyFolder.h LIBRARIES talvire_core TIMEOUT 30)
talvire_add_test(test_macro_page SOURCES macro/test_macro_page.cpp macro/MacroPageTesting.h macro/ReadOnlyFolder.h
  LIBRARIES talvire_page_macro TIMEOUT 60)
# Editing rows, Save and recording.
talvire_add_test(test_macro_editing SOURCES macro/test_macro_editing.cpp macro/MacroPageTesting.h macro/ReadOnlyFolder.h
  LIBRARIES talvire_page_macro TIMEOUT 60)
# The macro on the simulated mouse, and export and import.
talvire_add_test(test_macro_device SOURCES macro/test_macro_device.cpp macro/MacroPageTesting.h sensor/OpenMouse.h
  LIBRARIES talvire_page_macro TIMEOUT 60)
# The page in the whole program on the simulated mouse.
talvire_add_test(test_macro_program THREADS PARTS 2 SOURCES macro/test_macro_program.cpp macro/MacroPageTesting.h
  LIBRARIES talvire_app TIMEOUT 90)
