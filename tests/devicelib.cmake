# The device library: its image conversions, its devices and threads, its
# firmware upgrades and its scenarios.
set(devicelib_tests ${CMAKE_CURRENT_SOURCE_DIR}/devicelib)
talvire_add_test(test_devicelib_image SOURCES devicelib/test_devicelib_image.cpp LIBRARIES talvire_core)
talvire_add_test(test_devicelib_devices THREADS LIBRARIES talvire_core
  SOURCES devicelib/test_devicelib_devices.cpp devicelib/ReportLog.cpp devicelib/ReportLog.h)
talvire_add_test(test_devicelib_upgrade THREADS LIBRARIES talvire_core
  SOURCES devicelib/test_devicelib_upgrade.cpp devicelib/ReportLog.cpp devicelib/ReportLog.h)
talvire_add_test(test_devicelib_scenarios THREADS LIBRARIES talvire_core
  SOURCES devicelib/test_devicelib_scenarios.cpp devicelib/ReportLog.cpp devicelib/ReportLog.h)
target_compile_definitions(test_devicelib_scenarios PRIVATE
  TALVIRE_SCENARIO_DIR="${CMAKE_SOURCE_DIR}/devicelib/scenarios")
talvire_add_test(test_devicelib_link THREADS LIBRARIES talvire_core
  SOURCES devicelib/test_devicelib_link.cpp devicelib/ReportLog.cpp devicelib/ReportLog.h)
