# Checks the one-way layers of the program's sources:
#   platform <- core <- widgets <- dialogs <- pages <- shell <- main.cpp
# A file may include headers of its own layer and of the layers to its left,
# by folder from the repository root; a page includes no other page (frames
# that several pages embed live in widgets/); core includes no header of
# QtWidgets. No two file pairs (X.h with X.cpp) include each other: of two
# parts that talk, one calls and the other answers by a signal or callback.
# cmake -DSOURCE_DIR=<repository> -DWIDGET_HEADERS=<QtWidgets include folder> -P CheckLayers.cmake
set(layers platform core widgets dialogs pages shell)
file(GLOB widget_headers RELATIVE ${WIDGET_HEADERS} ${WIDGET_HEADERS}/*)
set(failures "")

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
  ${SOURCE_DIR}/platform/*.h ${SOURCE_DIR}/platform/*.cpp
  ${SOURCE_DIR}/core/*.h ${SOURCE_DIR}/core/*.cpp
  ${SOURCE_DIR}/widgets/*.h ${SOURCE_DIR}/widgets/*.cpp ${SOURCE_DIR}/widgets/*.ui
  ${SOURCE_DIR}/dialogs/*.h ${SOURCE_DIR}/dialogs/*.cpp ${SOURCE_DIR}/dialogs/*.ui
  ${SOURCE_DIR}/pages/*.h ${SOURCE_DIR}/pages/*.cpp ${SOURCE_DIR}/pages/*.ui
  ${SOURCE_DIR}/shell/*.h ${SOURCE_DIR}/shell/*.cpp ${SOURCE_DIR}/shell/*.ui)
list(APPEND sources main.cpp)

foreach(source ${sources})
  string(REGEX MATCH "^[^/]+" folder "${source}")
  if(source STREQUAL "main.cpp")
    set(rank 6)
  else()
    list(FIND layers ${folder} rank)
  endif()
  string(REGEX REPLACE "\\.[a-z]+$" "" unit "${source}")
  string(MAKE_C_IDENTIFIER "${unit}" unit_id)
  list(APPEND units ${unit})
  set(page "")
  if(folder STREQUAL "pages")
    string(REGEX REPLACE "^pages/([^/]+)/.*" "\\1" page "${source}")
  endif()
  # Includes, and the headers named by the forms' promoted widgets.
  file(STRINGS ${SOURCE_DIR}/${source} lines REGEX "^[ \t]*#[ \t]*include|<header")
  foreach(line ${lines})
    set(header "")
    if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
      set(header "${CMAKE_MATCH_1}")
    elseif(line MATCHES "<header[^>]*>([^<]+)</header>")
      set(header "${CMAKE_MATCH_1}")
    endif()
    if(header)
      if(header MATCHES "^ui_|\\.moc$")
        continue()
      endif()
      if(NOT header MATCHES "/")
        list(APPEND failures "${source}: \"${header}\" is not included by folder from the repository root")
        continue()
      endif()
      string(REGEX REPLACE "\\.h$" "" included "${header}")
      if(NOT included STREQUAL unit)
        list(APPEND includes_${unit_id} ${included})
      endif()
      string(REGEX MATCH "^[^/]+" target "${header}")
      list(FIND layers ${target} target_rank)
      if(target_rank GREATER rank)
        list(APPEND failures "${source}: includes \"${header}\" of a higher layer")
      elseif(target STREQUAL "pages" AND folder STREQUAL "pages")
        string(REGEX REPLACE "^pages/([^/]+)/.*" "\\1" other "${header}")
        if(NOT other STREQUAL page)
          list(APPEND failures "${source}: includes \"${header}\" of another page")
        endif()
      elseif(target MATCHES "^(tests|tools)$")
        list(APPEND failures "${source}: includes \"${header}\" of ${target}/")
      endif()
    elseif(folder STREQUAL "core" AND line MATCHES "#[ \t]*include[ \t]*<(QtWidgets/)?([A-Za-z0-9_.]+)>")
      list(FIND widget_headers "${CMAKE_MATCH_2}" widget)
      if(NOT widget EQUAL -1 OR CMAKE_MATCH_1)
        list(APPEND failures "${source}: core includes the widget header <${CMAKE_MATCH_1}${CMAKE_MATCH_2}>")
      endif()
    endif()
  endforeach()
endforeach()

list(REMOVE_DUPLICATES units)
foreach(unit ${units})
  string(MAKE_C_IDENTIFIER "${unit}" unit_id)
  foreach(other ${includes_${unit_id}})
    string(MAKE_C_IDENTIFIER "${other}" other_id)
    list(FIND includes_${other_id} ${unit} back)
    if(NOT back EQUAL -1 AND unit STRLESS other)
      list(APPEND failures "${unit} and ${other} include each other")
    endif()
  endforeach()
endforeach()

if(failures)
  list(JOIN failures "\n" text)
  message(FATAL_ERROR "Includes against the layers:\n${text}")
endif()
list(LENGTH sources count)
message(STATUS "${count} files follow the layers")
