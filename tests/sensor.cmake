# The sensor page: its description tables, the DPI stage encoding and its
# option frames, on the simulated mouse.
talvire_add_test(test_sensor_tables LIBRARIES talvire_page_sensor
  SOURCES sensor/test_sensor_tables.cpp sensor/SensorFrameTests.cpp sensor/SensorFrameTests.h sensor/OpenMouse.h)
# The report-rate frames and the DPI stage panels.
talvire_add_test(test_report_rate LIBRARIES talvire_page_sensor
  SOURCES sensor/test_report_rate.cpp sensor/OpenMouse.h)
# The DPI panel's session runs the worker, as a pick does: also under TSan.
talvire_add_test(test_dpi_panel THREADS LIBRARIES talvire_page_sensor
  SOURCES sensor/test_dpi_panel.cpp sensor/DpiPanelFill.h sensor/OpenMouse.h sensor/PanelProbe.h)
# The per-stage DPI panel, a layout nothing creates.
talvire_add_test(test_dpi_rows LIBRARIES talvire_page_sensor
  SOURCES sensor/test_dpi_rows.cpp sensor/DpiPanelFill.h sensor/OpenMouse.h sensor/PanelProbe.h)
# The sensor page: its form, its refresh from the mouse, its own controls;
# one case picks a mouse through the worker, so it also runs under TSan.
# About seventy page builds: 90 s under the sanitizers on a loaded machine.
talvire_add_test(test_sensor_page THREADS TIMEOUT 90 PARTS 3 LIBRARIES talvire_page_sensor
  SOURCES sensor/test_sensor_page.cpp sensor/OpenMouse.h)
target_compile_definitions(test_sensor_page PRIVATE TALVIRE_SCENARIO_DIR="${CMAKE_SOURCE_DIR}/devicelib/scenarios")
