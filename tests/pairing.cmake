# The pairing dialog over the simulated receiver and mouse; pairing outcomes
# arrive on the library's report thread.
talvire_add_test(test_pairing THREADS LIBRARIES talvire_app
  SOURCES shell/test_pairing.cpp worker/BusLog.cpp worker/BusLog.h)
target_compile_definitions(test_pairing PRIVATE TALVIRE_SCENARIO_DIR="${CMAKE_SOURCE_DIR}/devicelib/scenarios")
