// Replaced by the widgets of the main window.
