# Lap-file loaders and LHA archives of the analysis library.
foreach(f lxm_loader lap_loader sportident_loader oevent_loader import_only_loader lha_archive)
    brevanto_fuzz(fuzz_${f} SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_${f}.cpp LIBS quorvelin2 common Qt6::Core)
endforeach()
