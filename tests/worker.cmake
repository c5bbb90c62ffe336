# The device worker: its passes, the online check, the device's reports and
# device changes, against the simulated devices. 90 s: passes, online checks
# and device-change notices each wait for the simulated devices' answers and
# the worker's timers.
set(worker_tests ${CMAKE_CURRENT_SOURCE_DIR}/worker)
talvire_add_test(test_worker THREADS TIMEOUT 90 LIBRARIES talvire_app
  SOURCES worker/test_worker.cpp worker/BusLog.cpp worker/BusLog.h)
