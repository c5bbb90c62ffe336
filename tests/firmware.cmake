# The firmware image files and the lookups that choose an image for a device.
talvire_add_test(test_firmware_images SOURCES firmware/test_firmware_images.cpp LIBRARIES talvire_core)
