# The desktop files, manual page, icons and Debian package, checked with the
# tools a distribution checks them with. One check per run:
#   cmake -DCHECK=<desktop|metainfo|manpage|icons|deb|generators> -DSOURCE_DIR=... -DBINARY_DIR=...
#         -DAPP_ID=... -P CheckPackaging.cmake
# A check whose tool is missing prints "SKIPPED: <reason>" (the test's skip
# expression) and passes nothing.
#
# Index
#   1. Helpers
#   2. Desktop entry
#   3. Metainfo
#   4. Manual page
#   5. Icons
#   6. Debian package (lintian, dpkg -x, the installed program)
#   7. Generators on small fixtures

cmake_minimum_required(VERSION 3.25)

# --- 1. Helpers -----------------------------------------------------------------
set(PACKAGING ${BINARY_DIR}/packaging)
set(BIN ${BINARY_DIR}/bin)

function(skip reason)
  message("SKIPPED: ${reason}")
endfunction()

macro(require_tool var name)
  find_program(${var} ${name})
  if(NOT ${var})
    message("SKIPPED: ${name} is not installed (scripts/install-deps.sh installs it)")
    return()
  endif()
endmacro()

function(fail)
  string(JOIN "" text ${ARGN})
  message(FATAL_ERROR "${text}")
endfunction()

# Runs a command; fails the check with its output unless it exits with 0.
function(run_ok)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    string(JOIN " " line ${ARGN})
    fail("${line} exited with ${rc}:\n${out}${err}")
  endif()
  set(RUN_OUTPUT "${out}${err}" PARENT_SCOPE)
endfunction()

# The catalog's ids, read independently of the generators: "VVVV:PPPP".
function(catalog_ids out)
  file(READ ${SOURCE_DIR}/data/config.xml text)
  string(REGEX MATCHALL "vid=\"[0-9A-Fa-f]+\" pid=\"[0-9A-Fa-f]+\"" pairs "${text}")
  set(ids "")
  foreach(pair IN LISTS pairs)
    string(REGEX MATCH "vid=\"([0-9A-Fa-f]+)\" pid=\"([0-9A-Fa-f]+)\"" _ "${pair}")
    string(TOUPPER "${CMAKE_MATCH_1}:${CMAKE_MATCH_2}" id)
    list(APPEND ids ${id})
  endforeach()
  list(REMOVE_DUPLICATES ids)
  if(ids STREQUAL "")
    fail("config.xml names no vendor and product ids")
  endif()
  set(${out} ${ids} PARENT_SCOPE)
endfunction()

# Width and height of a PNG file from its header.
function(png_size file out_w out_h)
  file(READ "${file}" header LIMIT 24 HEX)
  if(NOT header MATCHES "^89504e470d0a1a0a")
    fail("${file} is not a PNG file")
  endif()
  string(SUBSTRING "${header}" 32 8 w)
  string(SUBSTRING "${header}" 40 8 h)
  math(EXPR w "0x${w}")
  math(EXPR h "0x${h}")
  set(${out_w} ${w} PARENT_SCOPE)
  set(${out_h} ${h} PARENT_SCOPE)
endfunction()

# --- 2. Desktop entry -------------------------------------------------------------
function(check_desktop)
  set(entry ${PACKAGING}/${APP_ID}.desktop)
  file(READ ${entry} text)
  # Every text the launcher shows in all six languages, from the language files.
  foreach(key Name GenericName Comment Keywords)
    foreach(locale "" "\\[zh_CN\\]" "\\[zh_TW\\]" "\\[ja\\]" "\\[ko\\]" "\\[uk\\]")
      if(NOT text MATCHES "\n${key}${locale}=[^\n]")
        fail("${entry}: no ${key}${locale}")
      endif()
    endforeach()
  endforeach()
  file(READ ${SOURCE_DIR}/data/language/2052.lan chinese)
  string(REGEX MATCH "\n990=([^\n]*)" _ "${chinese}")
  string(FIND "${text}" "GenericName[zh_CN]=${CMAKE_MATCH_1}\n" at)
  if(at LESS 0)
    fail("${entry}: GenericName[zh_CN] is not text 990 of 2052.lan")
  endif()
  # The window class, the icon and the entry's own name are one id.
  foreach(line "Icon=${APP_ID}" "StartupWMClass=${APP_ID}" "StartupNotify=true" "Exec=orvane")
    string(FIND "${text}" "\n${line}\n" at)
    if(at LESS 0)
      fail("${entry}: no line ${line}")
    endif()
  endforeach()
  string(FIND "${text}" "\nCategories=Settings;HardwareSettings;\n" at)
  if(at LESS 0)
    fail("${entry}: the categories are not Settings and HardwareSettings")
  endif()
  require_tool(VALIDATE desktop-file-validate)
  run_ok(${VALIDATE} ${entry})
  if(NOT RUN_OUTPUT STREQUAL "")
    fail("desktop-file-validate reports:\n${RUN_OUTPUT}")
  endif()
endfunction()

# --- 3. Metainfo --------------------------------------------------------------------
function(check_metainfo)
  set(metainfo ${PACKAGING}/${APP_ID}.metainfo.xml)
  file(READ ${metainfo} text)
  catalog_ids(ids)
  string(REGEX MATCHALL "<modalias>[^<]*</modalias>" aliases "${text}")
  list(LENGTH ids want)
  list(LENGTH aliases have)
  if(NOT want EQUAL have)
    fail("${metainfo}: ${have} modaliases for ${want} catalog ids")
  endif()
  foreach(id IN LISTS ids)
    string(REPLACE ":" "p" id "${id}")
    string(FIND "${text}" "<modalias>usb:v${id}d*</modalias>" at)
    if(at LESS 0)
      fail("${metainfo}: no modalias for ${id}")
    endif()
  endforeach()
  foreach(needle "<id>${APP_ID}</id>" "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>"
                 "<content_rating type=\"oars-1.1\"" "<summary xml:lang=\"ja\">" "<release version=\"")
    string(FIND "${text}" "${needle}" at)
    if(at LESS 0)
      fail("${metainfo}: no ${needle}")
    endif()
  endforeach()
  # The screenshot named by the metainfo is in the tree, at the size it says.
  png_size(${SOURCE_DIR}/docs/screenshots/main-window.png w h)
  string(FIND "${text}" "width=\"${w}\" height=\"${h}\">" at)
  if(at LESS 0)
    fail("${metainfo}: the screenshot's size is not ${w}x${h}")
  endif()
  require_tool(APPSTREAMCLI appstreamcli)
  run_ok(${APPSTREAMCLI} validate --no-net --explain ${metainfo})
endfunction()

# --- 4. Manual page -------------------------------------------------------------------
function(check_manpage)
  set(page ${PACKAGING}/orvane.1)
  file(READ ${page} roff)
  run_ok(${BIN}/orvane --help)
  string(REGEX MATCHALL "\n  (-[-a-z]+)" options "${RUN_OUTPUT}")
  list(LENGTH options count)
  if(count LESS 5)
    fail("orvane --help lists ${count} options")
  endif()
  foreach(option IN LISTS options)
    string(STRIP "${option}" option)
    string(REPLACE "-" "\\-" spelled "${option}")
    string(FIND "${roff}" ".TP\n\\fB${spelled}\\fR" at)
    if(at LESS 0)
      fail("${page}: no entry for ${option}")
    endif()
  endforeach()
  string(REGEX MATCHALL "\n\\.TP\n\\\\fB" entries "${roff}")
  string(REGEX MATCHALL "\n\\.TP\n\\.I" files "${roff}")
  list(LENGTH entries entry_count)
  if(NOT entry_count EQUAL count)
    fail("${page}: ${entry_count} option entries for ${count} options of --help")
  endif()
  require_tool(MAN man)
  # As lintian reads manual pages: any warning fails.
  execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 MANROFFSEQ= MANWIDTH=80
                          ${MAN} --warnings -E UTF-8 -l -Tutf8 -Z ${page}
                  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE warnings)
  if(NOT rc EQUAL 0 OR NOT warnings STREQUAL "")
    fail("man reports on ${page} (exit ${rc}):\n${warnings}")
  endif()
endfunction()

# --- 5. Icons ------------------------------------------------------------------------------
function(check_icons)
  foreach(size 16 22 24 32 48 64 128 256)
    set(icon ${PACKAGING}/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
    if(NOT EXISTS ${icon})
      fail("no ${icon}")
    endif()
    png_size(${icon} w h)
    if(NOT w EQUAL size OR NOT h EQUAL size)
      fail("${icon} is ${w}x${h}")
    endif()
  endforeach()
  # The window's and tray's icon is the theme's 64-pixel drawing.
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${BIN}/skins/theme1/orvane.png
                          ${PACKAGING}/icons/hicolor/64x64/apps/${APP_ID}.png RESULT_VARIABLE differ)
  if(NOT differ EQUAL 0)
    fail("the skin's orvane.png differs from the icon theme's 64x64 icon")
  endif()
  set(svg ${PACKAGING}/icons/hicolor/scalable/apps/${APP_ID}.svg)
  file(READ ${svg} text)
  if(NOT text MATCHES "<svg [^>]*viewBox=\"0 0 64 64\"" OR NOT text MATCHES "<polygon ")
    fail("${svg} is not the icon's drawing")
  endif()
  find_program(XMLLINT xmllint)
  if(XMLLINT)
    run_ok(${XMLLINT} --noout ${svg})
  endif()
endfunction()

# --- 6. Debian package (lintian, dpkg -x, the installed program) -------------------------
function(check_deb)
  if(NOT "$ENV{ORVANE_PACKAGE_TESTS}" STREQUAL "1")
    skip("the package test runs only with ORVANE_PACKAGE_TESTS=1 (it builds a .deb)")
    return()
  endif()
  require_tool(CPACK cpack)
  require_tool(DPKG dpkg)
  require_tool(SHLIBDEPS dpkg-shlibdeps)
  set(work ${BINARY_DIR}/package-test)
  file(REMOVE_RECURSE ${work})
  file(MAKE_DIRECTORY ${work})
  run_ok(${CPACK} --config ${BINARY_DIR}/CPackConfig.cmake -B ${work})
  file(GLOB debs ${work}/orvane_*_amd64.deb ${work}/orvane_*_*.deb)
  list(REMOVE_DUPLICATES debs)
  list(LENGTH debs n)
  if(NOT n EQUAL 1)
    fail("cpack made ${n} packages in ${work}")
  endif()
  list(GET debs 0 deb)

  # The package's dependencies come from the libraries the program links.
  run_ok(${DPKG} --field ${deb} Depends)
  foreach(lib libsdl2 libcairo2 libhidapi-hidraw0 fonts-open-sans)
    string(FIND "${RUN_OUTPUT}" "${lib}" at)
    if(at LESS 0)
      fail("Depends lacks ${lib}: ${RUN_OUTPUT}")
    endif()
  endforeach()

  # Installed into a scratch root, the program finds Qelt through its RPATH
  # and its data under share/orvane/.
  set(root ${work}/root)
  run_ok(${DPKG} -x ${deb} ${root})
  foreach(file bin/orvane lib/orvane/libQelt.so.0 share/orvane/config.xml share/orvane/language/1033.lan
               share/orvane/skins/theme1/orvane.png lib/udev/rules.d/70-orvane.rules
               share/applications/${APP_ID}.desktop share/metainfo/${APP_ID}.metainfo.xml
               share/icons/hicolor/scalable/apps/${APP_ID}.svg share/man/man1/orvane.1.gz
               share/doc/orvane/copyright share/doc/orvane/changelog.gz)
    if(NOT EXISTS ${root}/usr/${file})
      fail("the package has no /usr/${file}")
    endif()
  endforeach()
  # The installed metainfo, launcher and icons agree with each other.
  find_program(APPSTREAMCLI appstreamcli)
  if(APPSTREAMCLI)
    run_ok(${APPSTREAMCLI} validate-tree --no-net ${root})
  endif()
  set(env ${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH SDL_VIDEODRIVER=dummy
          XDG_CONFIG_HOME=${work}/config XDG_DATA_HOME=${work}/data XDG_RUNTIME_DIR=${work}/run)
  file(MAKE_DIRECTORY ${work}/run)
  run_ok(${env} ${root}/usr/bin/orvane --simulate --list)
  foreach(model "Veyra Air" "Veyra Core" "Veyra Swift 8K")
    string(FIND "${RUN_OUTPUT}" "${model}" at)
    if(at LESS 0)
      fail("the installed program's --list names no ${model} (its catalog is under share/orvane/):\n${RUN_OUTPUT}")
    endif()
  endforeach()
  # The installed window is drawn exactly as the build tree's, skin and all.
  run_ok(${env} ${root}/usr/bin/orvane --simulate --screenshot ${work}/installed.png)
  set(tree_env ${CMAKE_COMMAND} -E env SDL_VIDEODRIVER=dummy XDG_CONFIG_HOME=${work}/tree-config
               XDG_DATA_HOME=${work}/tree-data XDG_RUNTIME_DIR=${work}/run)
  run_ok(${tree_env} ${BIN}/orvane --simulate --screenshot ${work}/tree.png)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${work}/installed.png ${work}/tree.png
                  RESULT_VARIABLE differ)
  if(NOT differ EQUAL 0)
    fail("the installed program draws another window than the build tree's: compare ${work}/installed.png "
         "with ${work}/tree.png")
  endif()

  find_program(LINTIAN lintian)
  if(NOT LINTIAN)
    skip("lintian is not installed: the package was built and installed, but not checked")
    return()
  endif()
  execute_process(COMMAND ${LINTIAN} --fail-on error ${deb} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  message("${out}${err}")
  if(NOT rc EQUAL 0)
    fail("lintian finds errors in ${deb}:\n${out}${err}")
  endif()
endfunction()

# --- 7. Generators on small fixtures --------------------------------------------------------
function(write_language folder lcid body)
  file(WRITE ${folder}/${lcid}.lan "; test texts (language id ${lcid}). Encoding: UTF-8.\n[LAN]\n${body}")
endfunction()

function(check_generators)
  set(work ${BINARY_DIR}/package-generators)
  file(REMOVE_RECURSE ${work})
  set(lan ${work}/language)
  set(all "1=Mouse Centre\n990=Mouse Settings\n991=Set up the mouse\n992=mouse;dpi")
  foreach(lcid 1028 1041 1042 1058)
    write_language(${lan} ${lcid} "${all}\n")
  endforeach()
  # Chinese (Simplified) lacks its comment: the entry has none for zh_CN.
  write_language(${lan} 2052 "1=Chinese Centre\n990=Chinese Settings\n992=mouse\n")
  write_language(${lan} 1033 "${all}\n")
  set(entry ${work}/test.desktop)
  run_ok(${CMAKE_COMMAND} -DLANGUAGES=${lan} -DAPP_ID=org.example.Test -DOUTPUT=${entry}
         -P ${SOURCE_DIR}/packaging/GenerateDesktopEntry.cmake)
  file(READ ${entry} text)
  foreach(needle "\nName[zh_CN]=Chinese Centre\n" "\nKeywords=mouse;dpi;\n" "\nKeywords[zh_CN]=mouse;\n"
                 "\nComment=Set up the mouse\n" "\nIcon=org.example.Test\n" "\nStartupWMClass=org.example.Test\n")
    string(FIND "${text}" "${needle}" at)
    if(at LESS 0)
      fail("the generated entry has no line ${needle}:\n${text}")
    endif()
  endforeach()
  string(FIND "${text}" "Comment[zh_CN]" at)
  if(NOT at LESS 0)
    fail("the generated entry has a Chinese comment that 2052.lan does not hold:\n${text}")
  endif()
  # English is the untranslated default: without it the generator stops.
  write_language(${lan} 1033 "1=Mouse Centre\n991=Set up the mouse\n992=mouse\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -DLANGUAGES=${lan} -DAPP_ID=org.example.Test -DOUTPUT=${work}/bad.desktop
                          -P ${SOURCE_DIR}/packaging/GenerateDesktopEntry.cmake
                  RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_QUIET)
  if(rc EQUAL 0 OR NOT err MATCHES "1033.lan[ \n]+has[ \n]+no[ \n]+text[ \n]+990" OR EXISTS ${work}/bad.desktop)
    fail("a missing English text did not stop the generator (exit ${rc}): ${err}")
  endif()

  # Catalog ids: case and width normalised, each id once.
  file(WRITE ${work}/config.xml "<config><device>\n"
       "<mouse><mode value=\"0\" vid=\"F0A5\" pid=\"51\"/><mode value=\"1\" vid=\"f0a5\" pid=\"0051\"/></mouse>\n"
       "<mouse><mode value=\"0\" vid=\"1d\" pid=\"ABCD\"/><mode value=\"1\" pid=\"1234\"/></mouse>\n"
       "</device></config>\n")
  run_ok(${CMAKE_COMMAND} -DCATALOG=${work}/config.xml -DOUTPUT=${work}/rules
         -P ${SOURCE_DIR}/packaging/GenerateUdevRules.cmake)
  file(STRINGS ${work}/rules rules REGEX "^SUBSYSTEM")
  set(want
    "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"f0a5\", ATTRS{idProduct}==\"0051\", TAG+=\"uaccess\""
    "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"001d\", ATTRS{idProduct}==\"abcd\", TAG+=\"uaccess\"")
  if(NOT rules STREQUAL want)
    fail("udev rules for the fixture catalog:\n${rules}")
  endif()
  write_language(${lan} 1033 "${all}\n")
  run_ok(${CMAKE_COMMAND} -DTEMPLATE=${SOURCE_DIR}/packaging/metainfo.xml.in -DCATALOG=${work}/config.xml
         -DLANGUAGES=${lan} -DAPP_ID=org.example.Test -DVERSION=9.8 -DRELEASE_DATE=2026-01-02
         -DHOMEPAGE=https://example.org/ -DSCREENSHOT=${SOURCE_DIR}/docs/screenshots/main-window.png
         -DOUTPUT=${work}/metainfo.xml -P ${SOURCE_DIR}/packaging/GenerateMetainfo.cmake)
  file(READ ${work}/metainfo.xml text)
  string(REGEX MATCHALL "<modalias>[^<]*</modalias>" aliases "${text}")
  if(NOT aliases STREQUAL "<modalias>usb:vF0A5p0051d*</modalias>;<modalias>usb:v001DpABCDd*</modalias>")
    fail("modaliases for the fixture catalog: ${aliases}")
  endif()
  string(FIND "${text}" "<summary xml:lang=\"zh_CN\">" at)
  if(NOT at LESS 0)
    fail("the metainfo has a Chinese summary that 2052.lan does not hold")
  endif()
  string(FIND "${text}" "<release version=\"9.8\" date=\"2026-01-02\">" at)
  if(at LESS 0)
    fail("the metainfo lacks the release 9.8")
  endif()
endfunction()

if(CHECK STREQUAL "generators")
  check_generators()
elseif(CHECK STREQUAL "desktop")
  check_desktop()
elseif(CHECK STREQUAL "metainfo")
  check_metainfo()
elseif(CHECK STREQUAL "manpage")
  check_manpage()
elseif(CHECK STREQUAL "icons")
  check_icons()
elseif(CHECK STREQUAL "deb")
  check_deb()
else()
  fail("unknown check '${CHECK}'")
endif()
