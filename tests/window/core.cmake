# Tests of the GUI-free helpers of the main window.
