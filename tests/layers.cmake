# The one-way layers: no file includes a header of a layer above its own.
get_target_property(widget_include_dirs Qt5::Widgets INTERFACE_INCLUDE_DIRECTORIES)
set(widget_headers "")
foreach(dir ${widget_include_dirs})
  if(dir MATCHES "QtWidgets$")
    set(widget_headers ${dir})
  endif()
endforeach()
add_test(NAME test_layers COMMAND ${CMAKE_COMMAND}
  -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DWIDGET_HEADERS=${widget_headers}
  -P ${CMAKE_CURRENT_SOURCE_DIR}/layers/CheckLayers.cmake)
set_tests_properties(test_layers PROPERTIES TIMEOUT 30 LABELS unit)
