# The device chooser over the simulated devices; the library tells of device
# changes on its own thread.
talvire_add_test(test_chooser THREADS SOURCES shell/test_chooser.cpp LIBRARIES talvire_app)
target_compile_definitions(test_chooser PRIVATE TALVIRE_SCENARIO_DIR="${CMAKE_SOURCE_DIR}/devicelib/scenarios")
# The rules of the device list, without widgets.
talvire_add_test(test_device_list SOURCES test_device_list.cpp LIBRARIES talvire_core TIMEOUT 60)
