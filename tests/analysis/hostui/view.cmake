# The analysis view: the view-type list, the class choice and the display table; the standalone
# viewer's window and its command line.
brevanto_test(test_hostui_view GUI
    SOURCES
        ${CMAKE_CURRENT_SOURCE_DIR}/test_ctlQuorvelinView.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/test_quorvelin2View.cpp
    LIBS quorvelin2_view_window quorvelin2_hostui quorvelin2 common test_kit)
target_compile_definitions(test_hostui_view PRIVATE QUORVELIN2_VIEW_PROGRAM="$<TARGET_FILE:quorvelin2-view>")
add_dependencies(test_hostui_view quorvelin2-view)
