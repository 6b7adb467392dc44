# test_app covers the program's top level: the commands and start-up steps.
set(test_libraries orvane_app)
# The desktop host's About window runs on the headless window system with
# the program-window tests' driver.
target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/ui)
