# cmake --install: the public headers under include/ (the *_state.h files are the
# modules' own), the library, and a package that find_package(Lumaquill) loads,
# exporting Lumaquill::lumaquill with the same usage requirements as in the
# build. The toolchain file goes beside the package, for the game's configure.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)
set(LQ_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Lumaquill)

install(DIRECTORY app graphics input sound task util
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
        FILES_MATCHING PATTERN "*.h" PATTERN "*_state.h" EXCLUDE)
set(LQ_INSTALLED lumaquill_core lumaquill)
if(TARGET lumaquill_manifest)
  list(APPEND LQ_INSTALLED lumaquill_manifest)  # the manifest's object, linked by games
endif()
install(TARGETS ${LQ_INSTALLED}
        EXPORT LumaquillTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        OBJECTS DESTINATION ${CMAKE_INSTALL_LIBDIR}/lumaquill)
install(EXPORT LumaquillTargets NAMESPACE Lumaquill:: DESTINATION ${LQ_PACKAGE_DIR})

file(WRITE ${PROJECT_BINARY_DIR}/LumaquillConfig.cmake
     "include(\${CMAKE_CURRENT_LIST_DIR}/LumaquillTargets.cmake)\n")
write_basic_package_version_file(${PROJECT_BINARY_DIR}/LumaquillConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/LumaquillConfig.cmake
              ${PROJECT_BINARY_DIR}/LumaquillConfigVersion.cmake
              ${PROJECT_SOURCE_DIR}/cmake/mingw-i686.cmake
        DESTINATION ${LQ_PACKAGE_DIR})
