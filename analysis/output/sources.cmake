set(_sources
    clsHtmlControl.h
    clsHtmlControl.cpp
    clsTextControl.h
    clsTextControl.cpp
)
