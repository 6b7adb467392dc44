# The language files as the launcher and the software centre need them.
#   orvane_language_locales(<out>): "lcid=locale" pairs; English (1033) is
#     the untranslated default and has the locale "".
#   orvane_language_text(<folder> <lcid> <id> <out>): the text of id in
#     <folder>/<lcid>.lan, empty when missing. Texts may hold ';' (the
#     launcher's keyword lists), so they are read as one string, never as a
#     CMake list.
function(orvane_language_locales out)
  set(${out} "1033=" "2052=zh_CN" "1028=zh_TW" "1041=ja" "1042=ko" "1058=uk" PARENT_SCOPE)
endfunction()

function(orvane_language_text folder lcid id out)
  set(value "")
  if(EXISTS "${folder}/${lcid}.lan")
    file(READ "${folder}/${lcid}.lan" text)
    string(REPLACE "\r" "" text "${text}")
    if(text MATCHES "\n${id}=([^\n]*)")
      set(value "${CMAKE_MATCH_1}")
    endif()
  endif()
  set(${out} "${value}" PARENT_SCOPE)
endfunction()
