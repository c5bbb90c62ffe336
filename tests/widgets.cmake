# The small widget classes the windows and pages share.
talvire_add_test(test_widgets SOURCES shell/test_widgets.cpp LIBRARIES talvire_app)
