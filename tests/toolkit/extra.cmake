# test_toolkit drives the toolkit on the headless backend.
set(test_libraries Qelt)
