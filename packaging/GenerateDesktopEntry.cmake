# Writes the launcher's desktop entry with its name, generic name, comment
# and keywords in every language of the language files.
#   cmake -DLANGUAGES=data/language -DAPP_ID=io.github.orvane.Orvane
#         -DOUTPUT=io.github.orvane.Orvane.desktop -P GenerateDesktopEntry.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/LanguageTexts.cmake)
orvane_language_locales(locales)

# Text ids: 1 the program's name, 990 generic name, 991 comment, 992 keywords.
set(entry "[Desktop Entry]\nType=Application\n")
foreach(pair "Name=1" "GenericName=990" "Comment=991" "Keywords=992")
  string(REPLACE "=" ";" pair "${pair}")
  list(GET pair 0 key)
  list(GET pair 1 id)
  foreach(locale IN LISTS locales)
    string(REPLACE "=" ";" locale "${locale}")
    list(GET locale 0 lcid)
    list(LENGTH locale parts)
    set(suffix "")
    if(parts GREATER 1)
      list(GET locale 1 tag)
      if(NOT tag STREQUAL "")
        set(suffix "[${tag}]")
      endif()
    endif()
    orvane_language_text("${LANGUAGES}" ${lcid} ${id} value)
    if(value STREQUAL "")
      if(suffix STREQUAL "")
        message(FATAL_ERROR "${LANGUAGES}/${lcid}.lan has no text ${id} (${key})")
      endif()
      continue()
    endif()
    # Keyword lists end with a separator.
    if(key STREQUAL "Keywords" AND NOT value MATCHES ";$")
      string(APPEND value ";")
    endif()
    string(APPEND entry "${key}${suffix}=${value}\n")
  endforeach()
endforeach()
string(APPEND entry
  "Exec=orvane\n"
  "Icon=${APP_ID}\n"
  "Terminal=false\n"
  "Categories=Settings;HardwareSettings;\n"
  "StartupNotify=true\n"
  "StartupWMClass=${APP_ID}\n")
file(WRITE "${OUTPUT}.tmp" "${entry}")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
