# The light-off time frames and the lighting page, on the simulated mouse.
talvire_add_test(test_light_off_time LIBRARIES talvire_widgets
  SOURCES lighting/test_light_off_time.cpp lighting/ListChoice.h sensor/OpenMouse.h)
talvire_add_test(test_lighting_page LIBRARIES talvire_page_lighting
  SOURCES lighting/test_lighting_page.cpp lighting/LightingPage.h lighting/ListChoice.h sensor/OpenMouse.h)
# With the worker's reads: also under ThreadSanitizer.
talvire_add_test(test_lighting_session THREADS LIBRARIES talvire_page_lighting
  SOURCES lighting/test_lighting_session.cpp lighting/LightingPage.h lighting/ListChoice.h common/PickedMouse.h)
# The picker reading a real screen.
talvire_add_test(test_lighting_x11 SOURCES lighting/test_lighting_x11.cpp lighting/LightingPage.h
  LIBRARIES talvire_page_lighting XVFB)
