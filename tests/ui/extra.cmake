# The program's windows: the ui layer and the toolkit under it.
set(test_libraries orvane_ui Qelt)
# The update notice's check runs against the local HTTP server of the
# desktop services tests.
target_sources(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/services/LocalHttpServer.cpp)
target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/services)
