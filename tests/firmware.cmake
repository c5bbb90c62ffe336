# The firmware image files and the lookups that choose an image for a device.
talvire_add_test(test_firmware_images SOURCES firmware/test_firmware_images.cpp LIBRARIES talvire_core)
# The update and repair dialog, the status reports of an upgrade and the repair check.
talvire_add_test(test_update_repair_dialog SOURCES firmware/test_update_repair_dialog.cpp firmware/UpgradeTestSupport.h
  LIBRARIES talvire_dialogs)
target_compile_definitions(test_update_repair_dialog PRIVATE TALVIRE_SCENARIO_DIR="${CMAKE_SOURCE_DIR}/devicelib/scenarios")
# Repairs on the simulated devices: the library's upgrade thread reports.
talvire_add_test(test_repair_upgrade THREADS SOURCES firmware/test_repair_upgrade.cpp firmware/UpgradeTestSupport.h
  LIBRARIES talvire_dialogs)
target_compile_definitions(test_repair_upgrade PRIVATE TALVIRE_SCENARIO_DIR="${CMAKE_SOURCE_DIR}/devicelib/scenarios")
# The settings page's update check and its upgrade runs on the simulated devices.
talvire_add_test(test_upgrade_driver THREADS SOURCES firmware/test_upgrade_driver.cpp firmware/UpgradeTestSupport.h
  LIBRARIES talvire_page_settings)
target_compile_definitions(test_upgrade_driver PRIVATE TALVIRE_SCENARIO_DIR="${CMAKE_SOURCE_DIR}/devicelib/scenarios")
# The update, its failure and the repair in the whole program.
talvire_add_test(test_firmware_end_to_end THREADS SOURCES firmware/test_firmware_end_to_end.cpp
  firmware/UpgradeTestSupport.h LIBRARIES talvire_app)
target_compile_definitions(test_firmware_end_to_end PRIVATE TALVIRE_SCENARIO_DIR="${CMAKE_SOURCE_DIR}/devicelib/scenarios")
