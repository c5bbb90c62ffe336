# The sensor page: its description tables, the DPI stage encoding and its
# option frames, on the simulated mouse.
talvire_add_test(test_sensor_tables LIBRARIES talvire_page_sensor
  SOURCES sensor/test_sensor_tables.cpp sensor/SensorFrameTests.cpp sensor/SensorFrameTests.h sensor/OpenMouse.h)
