# The apply and import dialog and the exported configuration file, against
# the simulated devices.
talvire_add_test(test_apply THREADS LIBRARIES talvire_app
  SOURCES apply/test_apply.cpp worker/BusLog.cpp worker/BusLog.h shell/LibraryProbe.cpp shell/LibraryProbe.h)
target_link_libraries(test_apply PRIVATE ${CMAKE_DL_LIBS})
