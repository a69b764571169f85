# Keeps the folders of src/ a one-way stack: a folder includes only itself and
# the folders below it, a core file includes neither Qt nor a Qt view, and a
# Qt view (<folder>/qt/) includes only the views of its own folder and below.
# Without it nothing stops a low folder from reaching up, and the next change
# that does so ties the whole stack into one knot.
#
#   cmake -DSOURCE_DIR=<src> -DLAYERS="base;draw;..." [-DSTAMP=<file>] -P CheckLayers.cmake
#
# LAYERS lists the folders bottom up. Every violation is reported with its file
# and the header it names; any violation fails the script, so the build stops
# before it compiles anything.

if(NOT SOURCE_DIR OR NOT LAYERS)
  message(FATAL_ERROR "CheckLayers.cmake needs SOURCE_DIR and LAYERS")
endif()
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)

set(_violations "")
set(_rank 0)
foreach(_layer IN LISTS LAYERS)
  set(_rank_of_${_layer} ${_rank})
  math(EXPR _rank "${_rank} + 1")
endforeach()

foreach(_layer IN LISTS LAYERS)
  if(NOT IS_DIRECTORY "${SOURCE_DIR}/${_layer}")
    continue()
  endif()
  file(GLOB_RECURSE _files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/${_layer}/*.h"
       "${SOURCE_DIR}/${_layer}/*.cpp")
  foreach(_file IN LISTS _files)
    string(FIND "${_file}" "/qt/" _qt_at)
    file(STRINGS "${SOURCE_DIR}/${_file}" _lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(_line IN LISTS _lines)
      if(_line MATCHES "^[ \t]*#[ \t]*include[ \t]*<(Q[A-Za-z]*)[>/]")
        if(_qt_at EQUAL -1)
          list(APPEND _violations "${_file}: Qt header <${CMAKE_MATCH_1}> outside a qt/ folder")
        endif()
        continue()
      endif()
      if(NOT _line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([a-z_]+)/([^\"]*)\"")
        continue()
      endif()
      set(_target "${CMAKE_MATCH_1}")
      set(_rest "${CMAKE_MATCH_2}")
      if(NOT DEFINED _rank_of_${_target})
        continue()
      endif()
      if(_rank_of_${_target} GREATER _rank_of_${_layer})
        list(APPEND _violations
             "${_file}: includes ${_target}/${_rest}, but ${_target} lies above ${_layer}")
      elseif(_rest MATCHES "^qt/" AND _qt_at EQUAL -1)
        list(APPEND _violations "${_file}: includes the Qt view ${_target}/${_rest} from core code")
      endif()
    endforeach()
  endforeach()
endforeach()

if(_violations)
  list(JOIN LAYERS " < " _stack)
  list(JOIN _violations "\n  " _report)
  message(FATAL_ERROR "Includes against the direction of the layers (${_stack}):\n  ${_report}\n"
                      "Move the code down to a folder both can see, or turn the dependency around.")
endif()

if(STAMP)
  file(TOUCH "${STAMP}")
endif()
