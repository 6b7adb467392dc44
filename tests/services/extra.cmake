# test_services starts the single-instance step of the program and its
# helper holds an instance the same way.
set(test_libraries orvane_app)
