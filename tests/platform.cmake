# Start-up, the settings stores, crash reports and the platform layer.
set(platform_tests ${CMAKE_CURRENT_SOURCE_DIR}/platform)

# The helper program these tests run as a child process.
add_executable(talvire_test_child platform/test_child.cpp)
target_link_libraries(talvire_test_child PRIVATE talvire_dialogs)
add_dependencies(threaded_tests talvire_test_child)

set(child_sources platform/TestChild.cpp platform/TestChild.h)
# 90 s: the stores are written from several threads at once, which is slow
# under ThreadSanitizer, and writer processes are killed mid-write.
talvire_add_test(test_settings_stores THREADS TIMEOUT 90 LIBRARIES talvire_core
  SOURCES platform/test_settings_stores.cpp ${child_sources})
talvire_add_test(test_startup LIBRARIES talvire_core SOURCES platform/test_startup.cpp ${child_sources})
talvire_add_test(test_crash_handler LIBRARIES talvire_core SOURCES platform/test_crash_handler.cpp ${child_sources})
talvire_add_test(test_user_files LIBRARIES talvire_core SOURCES platform/test_user_files.cpp ${child_sources})
talvire_add_test(test_platform_layer THREADS LIBRARIES talvire_app SOURCES platform/test_platform_layer.cpp)
talvire_add_test(test_window_manager_x11 XVFB LIBRARIES talvire_platform PkgConfig::XCB
  SOURCES platform/test_window_manager_x11.cpp)

foreach(test test_settings_stores test_startup test_crash_handler test_user_files)
  add_dependencies(${test} talvire_test_child)
endforeach()
