# Writes the udev rules that give the logged-in user access to the hidraw
# interfaces of every vendor and product id in the catalog.
#   cmake -DCATALOG=data/config.xml -DOUTPUT=70-orvane.rules -P GenerateUdevRules.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/CatalogIds.cmake)
orvane_catalog_ids("${CATALOG}" ids)
set(rules "")
foreach(id IN LISTS ids)
  string(REPLACE ":" ";" pair "${id}")
  list(GET pair 0 vid)
  list(GET pair 1 pid)
  # udev compares the attributes as text: four digits, lower case.
  string(APPEND rules "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"${vid}\", ATTRS{idProduct}==\"${pid}\", TAG+=\"uaccess\"\n")
endforeach()
file(WRITE "${OUTPUT}.tmp"
  "# Generated from config.xml at build time: the logged-in user may open the\n"
  "# HID interfaces of the supported mice and receivers.\n"
  "${rules}")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
