# The sensor page: its description tables, the DPI stage encoding and its
# option frames.
talvire_add_test(test_sensor_tables SOURCES sensor/test_sensor_tables.cpp LIBRARIES talvire_core TIMEOUT 60)
