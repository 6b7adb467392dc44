# test_app covers the program's top level: the commands and start-up steps.
set(test_libraries orvane_app)
