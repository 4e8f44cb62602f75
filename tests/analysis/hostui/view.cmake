# The analysis view: the view-type list, the class choice and the display table.
brevanto_test(test_hostui_view GUI
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/test_ctlQuorvelinView.cpp
    LIBS quorvelin2_hostui quorvelin2 common test_kit)
