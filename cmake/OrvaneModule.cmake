# orvane_sources(<var> <folder>...): every .cpp below the folders, sorted.
function(orvane_sources var)
  set(result "")
  foreach(dir IN LISTS ARGN)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS
         ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.c)
    list(APPEND result ${found})
  endforeach()
  list(SORT result)
  set(${var} ${result} PARENT_SCOPE)
endfunction()
