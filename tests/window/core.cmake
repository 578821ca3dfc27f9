# Tests of the GUI-free helpers of the main window.
tulmo_add_test(tst_userlistmodel SOURCES tst_userlistmodel.cpp LIBS tulmo_core)
tulmo_add_test(tst_fastnicks SOURCES tst_fastnicks.cpp LIBS tulmo_core)
