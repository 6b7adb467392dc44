# cmake -DSOURCE_DIR=<tree> -P CheckLayers.cmake
#
# Checks that an include only ever points down the layers:
#   platform/ < toolkit/core/ < toolkit/controls/ < shell/
#   < markup/ catalog/ store/ device/ update/ < ui/ < app/
# The program's services (shell/) and its core see neither the toolkit nor
# the platform's window, drawing, tray and file-dialog headers. Prints every
# include that points up and fails when there is one.

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "CheckLayers.cmake needs -DSOURCE_DIR=<source tree>")
endif()

set(core markup/ catalog/ store/ device/ update/)
set(visual platform/window/ platform/draw/ platform/tray/ platform/filechooser/ toolkit/)
set(violations 0)

# check_layer(FOLDERS <folder>... FORBIDDEN <include prefix>...)
function(check_layer)
  cmake_parse_arguments(ARG "" "" "FOLDERS;FORBIDDEN" ${ARGN})
  set(found ${violations})
  foreach(folder IN LISTS ARG_FOLDERS)
    file(GLOB_RECURSE files "${SOURCE_DIR}/${folder}*.h" "${SOURCE_DIR}/${folder}*.cpp")
    foreach(file IN LISTS files)
      file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
      foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" target "${line}")
        foreach(prefix IN LISTS ARG_FORBIDDEN)
          string(FIND "${target}" "${prefix}" at)
          if(at EQUAL 0)
            file(RELATIVE_PATH shown "${SOURCE_DIR}" "${file}")
            message("${shown}: includes \"${target}\", which lies above ${folder}")
            math(EXPR found "${found} + 1")
            break()
          endif()
        endforeach()
      endforeach()
    endforeach()
  endforeach()
  set(violations ${found} PARENT_SCOPE)
endfunction()

check_layer(FOLDERS platform/ FORBIDDEN toolkit/ shell/ ${core} ui/ app/)
check_layer(FOLDERS toolkit/core/ FORBIDDEN toolkit/controls/ shell/ ${core} ui/ app/)
check_layer(FOLDERS toolkit/controls/ FORBIDDEN shell/ ${core} ui/ app/)
check_layer(FOLDERS shell/ FORBIDDEN ${visual} ${core} ui/ app/)
check_layer(FOLDERS ${core} FORBIDDEN ${visual} ui/ app/)
check_layer(FOLDERS ui/ FORBIDDEN app/)

if(violations GREATER 0)
  message(FATAL_ERROR "${violations} include(s) point up the layers")
endif()
message(STATUS "Every include points down the layers")
