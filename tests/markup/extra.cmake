# test_markup compares its verdicts with libxml2's on the corpus folder.
pkg_check_modules(LIBXML2 REQUIRED IMPORTED_TARGET libxml-2.0)
target_link_libraries(${target} PRIVATE PkgConfig::LIBXML2)
target_compile_definitions(${target} PRIVATE MARKUP_CORPUS_DIR="${CMAKE_CURRENT_LIST_DIR}/corpus")
