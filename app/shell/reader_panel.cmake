# The reading-unit panel: a small widget library over the serial port.
brevanto_library(shell_reader_panel STATIC
    SOURCES ctlEcard250Reader.cpp
    LIBS common
    PUBLIC_LIBS app_capture Qt6::Widgets Qt6::SerialPort)
