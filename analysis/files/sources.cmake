set(_sources
    clsFileControl.h
    clsFileControl.cpp
)
