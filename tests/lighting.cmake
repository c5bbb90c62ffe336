# The light-off time frames and the lighting page, on the simulated mouse.
talvire_add_test(test_light_off_time LIBRARIES talvire_page_settings
  SOURCES lighting/test_light_off_time.cpp lighting/ListChoice.h sensor/OpenMouse.h)
