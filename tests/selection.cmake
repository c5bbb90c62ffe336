# Choosing a device on the chooser, with a worker as the button page makes it,
# over the simulated devices (their reports come on the library's threads).
talvire_add_test(test_selection THREADS LIBRARIES talvire_app
  SOURCES shell/test_selection.cpp worker/BusLog.cpp worker/BusLog.h)
target_compile_definitions(test_selection PRIVATE TALVIRE_SCENARIO_DIR="${CMAKE_SOURCE_DIR}/devicelib/scenarios")
