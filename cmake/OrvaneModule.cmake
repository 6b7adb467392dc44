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

# orvane_sanitizer_hooks(<target>): in sanitizer builds, compiles the
# suppressions of known reports from system libraries into the executable.
function(orvane_sanitizer_hooks target)
  if(ORVANE_SANITIZE OR ORVANE_FUZZ)
    target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tools/sanitizer/SanitizerSuppressions.cpp)
  endif()
endfunction()
