# Writes the AppStream metainfo: translated name and summary from the
# language files, a modalias for every vendor and product id of the catalog.
#   cmake -DTEMPLATE=metainfo.xml.in -DCATALOG=data/config.xml
#         -DLANGUAGES=data/language -DAPP_ID=... -DVERSION=... -DRELEASE_DATE=...
#         -DHOMEPAGE=... -DSCREENSHOT=main-window.png -DOUTPUT=... -P GenerateMetainfo.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/CatalogIds.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/LanguageTexts.cmake)

function(xml_escape text out)
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# One element per language: <tag>text</tag>, then <tag xml:lang="..">.
function(translated tag id out)
  orvane_language_locales(locales)
  set(lines "")
  foreach(locale IN LISTS locales)
    string(REPLACE "=" ";" locale "${locale}")
    list(GET locale 0 lcid)
    set(lang "")
    list(LENGTH locale parts)
    if(parts GREATER 1)
      list(GET locale 1 lang)
    endif()
    orvane_language_text("${LANGUAGES}" ${lcid} ${id} value)
    if(value STREQUAL "")
      if(lang STREQUAL "")
        message(FATAL_ERROR "${LANGUAGES}/${lcid}.lan has no text ${id}")
      endif()
      continue()
    endif()
    xml_escape("${value}" value)
    if(lang STREQUAL "")
      string(APPEND lines "  <${tag}>${value}</${tag}>\n")
    else()
      string(APPEND lines "  <${tag} xml:lang=\"${lang}\">${value}</${tag}>\n")
    endif()
  endforeach()
  string(REGEX REPLACE "\n$" "" lines "${lines}")
  set(${out} "${lines}" PARENT_SCOPE)
endfunction()

translated(name 1 NAMES)
translated(summary 991 SUMMARIES)

orvane_catalog_ids("${CATALOG}" ids)
set(MODALIASES "")
foreach(id IN LISTS ids)
  string(TOUPPER "${id}" id)
  string(REPLACE ":" ";" pair "${id}")
  list(GET pair 0 vid)
  list(GET pair 1 pid)
  string(APPEND MODALIASES "    <modalias>usb:v${vid}p${pid}d*</modalias>\n")
endforeach()
string(REGEX REPLACE "\n$" "" MODALIASES "${MODALIASES}")

# The screenshot's size, from its PNG header (width and height at bytes 16-23).
file(READ "${SCREENSHOT}" header LIMIT 24 HEX)
string(SUBSTRING "${header}" 32 8 width_hex)
string(SUBSTRING "${header}" 40 8 height_hex)
math(EXPR SHOT_WIDTH "0x${width_hex}")
math(EXPR SHOT_HEIGHT "0x${height_hex}")

configure_file("${TEMPLATE}" "${OUTPUT}.tmp" @ONLY)
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
