set(_sources
    clsConfigControl.h
    clsConfigControl.cpp
    clsGraphicControl.h
    clsGraphicControl.cpp
)
