# GUI-free helpers of the main window: target_sources(tulmo_core PRIVATE ...)
