# The whole program on the simulated devices, driven as a user would.
talvire_add_test(test_end_to_end THREADS PARTS 3 LIBRARIES talvire_app
  SOURCES shell/test_end_to_end.cpp shell/ApplyDialogShows.h shell/LibraryProbe.cpp shell/LibraryProbe.h)
target_link_libraries(test_end_to_end PRIVATE ${CMAKE_DL_LIBS})
target_compile_definitions(test_end_to_end PRIVATE TALVIRE_SCENARIO_DIR="${CMAKE_SOURCE_DIR}/devicelib/scenarios")

# The mouse's DPI button pressed while the program writes to the mouse.
talvire_add_test(test_dpi_button THREADS LIBRARIES talvire_app
  SOURCES shell/test_dpi_button.cpp shell/ApplyDialogShows.h shell/LibraryProbe.cpp shell/LibraryProbe.h)
target_link_libraries(test_dpi_button PRIVATE ${CMAKE_DL_LIBS})
