# Writes the udev rules that give the logged-in user access to the hidraw
# interfaces of every vendor and product id in the catalog.
#   cmake -DCATALOG=data/config.xml -DOUTPUT=70-orvane.rules -P GenerateUdevRules.cmake
cmake_minimum_required(VERSION 3.25)
file(READ "${CATALOG}" catalog)
string(REGEX MATCHALL "<mode[^>]*>" modes "${catalog}")
set(rules "")
set(seen "")
foreach(mode IN LISTS modes)
  string(REGEX MATCH "vid=\"([0-9A-Fa-f]+)\"" _ "${mode}")
  set(vid "${CMAKE_MATCH_1}")
  string(REGEX MATCH "pid=\"([0-9A-Fa-f]+)\"" _ "${mode}")
  set(pid "${CMAKE_MATCH_1}")
  if(vid STREQUAL "" OR pid STREQUAL "")
    continue()
  endif()
  string(TOLOWER "${vid}" vid)
  string(TOLOWER "${pid}" pid)
  # udev compares the attributes as text: four digits, lower case.
  foreach(id vid pid)
    string(LENGTH "${${id}}" digits)
    while(digits LESS 4)
      set(${id} "0${${id}}")
      math(EXPR digits "${digits} + 1")
    endwhile()
  endforeach()
  if("${vid}:${pid}" IN_LIST seen)
    continue()
  endif()
  list(APPEND seen "${vid}:${pid}")
  string(APPEND rules "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"${vid}\", ATTRS{idProduct}==\"${pid}\", TAG+=\"uaccess\"\n")
endforeach()
file(WRITE "${OUTPUT}.tmp"
  "# Generated from config.xml at build time: the logged-in user may open the\n"
  "# HID interfaces of the supported mice and receivers.\n"
  "${rules}")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
