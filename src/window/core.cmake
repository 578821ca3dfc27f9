# GUI-free helpers of the main window: target_sources(tulmo_core PRIVATE ...)
target_sources(tulmo_core PRIVATE
    UserListModel.cpp UserListModel.h
    TFastNicks.cpp TFastNicks.h
)
