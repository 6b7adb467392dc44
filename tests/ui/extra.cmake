# The program's windows: the ui layer and the toolkit under it.
set(test_libraries orvane_ui Qelt)
