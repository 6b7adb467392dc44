# The packaging checks (CheckPackaging.cmake), one CTest each, labelled
# "package". The generators are checked on small fixtures; the validators run by default and skip, saying why, when their
# tool is missing; package_deb builds and installs a .deb and runs only with
# ORVANE_PACKAGE_TESTS=1.
foreach(check generators desktop metainfo manpage icons deb)
  add_test(NAME package_${check}
           COMMAND ${CMAKE_COMMAND} -DCHECK=${check} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DBINARY_DIR=${CMAKE_BINARY_DIR}
                   -DAPP_ID=${ORVANE_APP_ID} -P ${CMAKE_CURRENT_LIST_DIR}/CheckPackaging.cmake)
  set_tests_properties(package_${check} PROPERTIES LABELS package SKIP_REGULAR_EXPRESSION "SKIPPED: " TIMEOUT 600)
endforeach()

# The window's class is the launcher's StartupWMClass (under Xvfb).
add_test(NAME package_window_class
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/WindowClass.sh ${CMAKE_BINARY_DIR}/bin/orvane
                 ${CMAKE_BINARY_DIR}/packaging/${ORVANE_APP_ID}.desktop)
set_tests_properties(package_window_class PROPERTIES LABELS package SKIP_RETURN_CODE 77 TIMEOUT 120)
