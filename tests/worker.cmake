# The device worker: its passes, the online check, the device's reports and
# device changes, against the simulated devices.
set(worker_tests ${CMAKE_CURRENT_SOURCE_DIR}/worker)
talvire_add_test(test_worker THREADS LIBRARIES talvire_app
  SOURCES worker/test_worker.cpp worker/BusLog.cpp worker/BusLog.h)
