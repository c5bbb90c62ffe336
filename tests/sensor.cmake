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
