# The pairing dialog over the simulated receiver and mouse; pairing outcomes
# arrive on the library's report thread. 90 s: many attempts, each running
# through the simulated pairing time.
talvire_add_test(test_pairing THREADS TIMEOUT 90 LIBRARIES talvire_app
  SOURCES shell/test_pairing.cpp worker/BusLog.cpp worker/BusLog.h)
target_compile_definitions(test_pairing PRIVATE TALVIRE_SCENARIO_DIR="${CMAKE_SOURCE_DIR}/devicelib/scenarios")
