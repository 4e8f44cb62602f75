# LHA archives of lap files are read through libarchive.
find_package(LibArchive REQUIRED)
target_link_libraries(quorvelin2 PRIVATE LibArchive::LibArchive)
