# The configuration frame and its pages; the battery and the pages' images
# come from other threads, as from the device library. It builds the frame with
# its four pages some twenty times, and under the sanitizers each takes a
# second on a loaded machine: four parts, each with 90 s.
talvire_add_test(test_frame THREADS TIMEOUT 90 PARTS 4 LIBRARIES talvire_app
  SOURCES shell/test_frame.cpp shell/LibraryProbe.cpp shell/LibraryProbe.h)
target_link_libraries(test_frame PRIVATE ${CMAKE_DL_LIBS})

# The top window over the device list and the frame. It shows, hides,
# minimises and restores the windows many times, each a wait for the window
# system: five parts, each with 90 s.
talvire_add_test(test_top_window THREADS TIMEOUT 90 PARTS 5 LIBRARIES talvire_app
  SOURCES shell/test_top_window.cpp shell/LibraryProbe.cpp shell/LibraryProbe.h)
target_link_libraries(test_top_window PRIVATE ${CMAKE_DL_LIBS})
target_compile_definitions(test_top_window PRIVATE TALVIRE_SCENARIO_DIR="${CMAKE_SOURCE_DIR}/devicelib/scenarios")

# The program as the run command starts it, on a real X server. It starts the
# whole program several times, also under a window manager with a tray: three
# parts, each with 90 s.
talvire_add_test(test_program SOURCES shell/test_program.cpp LIBRARIES talvire_platform Qt5::Widgets PkgConfig::XCB XVFB
  TIMEOUT 90 PARTS 3)
add_dependencies(test_program talvire-control)

# Every text of the windows and pages fits its box, in all six languages. It
# builds every window and page six times: two parts, each with 90 s.
talvire_add_test(test_text_fit SOURCES shell/test_text_fit.cpp shell/ApplyDialogShows.h LIBRARIES talvire_app
  TIMEOUT 90 PARTS 2)
