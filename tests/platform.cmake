# Start-up, the settings stores, crash reports and the platform layer.

# The helper program these tests run as a child process.
add_executable(talvire_test_child test_child.cpp)
target_link_libraries(talvire_test_child PRIVATE talvire_app Qt5::Widgets)
add_dependencies(threaded_tests talvire_test_child)

set(child_sources TestChild.cpp TestChild.h)

talvire_add_test(test_settings_stores SOURCES test_settings_stores.cpp ${child_sources}
  LIBRARIES talvire_app THREADS)
talvire_add_test(test_startup SOURCES test_startup.cpp ${child_sources} LIBRARIES talvire_app)
talvire_add_test(test_crash_handler SOURCES test_crash_handler.cpp ${child_sources} LIBRARIES talvire_app)
talvire_add_test(test_platform_layer SOURCES test_platform_layer.cpp LIBRARIES talvire_app THREADS)

foreach(test test_settings_stores test_startup test_crash_handler)
  add_dependencies(${test} talvire_test_child)
endforeach()
