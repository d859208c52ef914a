# cmake --install: the game's headers under include/ (the rest are the framework's
# own), the library, and a package that find_package(Lumaquill) loads,
# exporting Lumaquill::lumaquill with the same usage requirements as in the
# build. The toolchain file goes beside the package, for the game's configure.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)
set(LQ_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Lumaquill)

# The game's API and, while PushRect and the vector calls are inline, what their
# bodies need in the game's own code (each says at its top that it is not for games).
set(LQ_GAME_HEADERS
    lumaquill.h app/application.h app/play.h app/save.h graphics/camera2d.h graphics/graphics.h
    input/input.h input/pad_bits.h sound/sound.h task/task.h util/crc32.h util/failure.h
    util/random.h util/sin_table.h util/vec2.h)
set(LQ_INLINE_SUPPORT_HEADERS
    graphics/quad_batch.h graphics/quad_layout.h util/float_bits.h util/force_inline.h
    util/vec2_exact.h)
foreach(header IN LISTS LQ_GAME_HEADERS LQ_INLINE_SUPPORT_HEADERS)
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES ${PROJECT_SOURCE_DIR}/${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${folder})
endforeach()
install(TARGETS lumaquill_core lumaquill_d3dx lumaquill EXPORT LumaquillTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
if(TARGET lumaquill_manifest)  # the manifest's resource object, linked into every game
  install(FILES $<TARGET_OBJECTS:lumaquill_manifest> DESTINATION ${CMAKE_INSTALL_LIBDIR}
          RENAME lumaquill_manifest.res)
  target_link_libraries(lumaquill INTERFACE
    $<INSTALL_INTERFACE:$<INSTALL_PREFIX>/${CMAKE_INSTALL_LIBDIR}/lumaquill_manifest.res>)
endif()
install(EXPORT LumaquillTargets NAMESPACE Lumaquill:: DESTINATION ${LQ_PACKAGE_DIR})

file(WRITE ${PROJECT_BINARY_DIR}/LumaquillConfig.cmake
     "include(\${CMAKE_CURRENT_LIST_DIR}/LumaquillTargets.cmake)\n"
     "include(\${CMAKE_CURRENT_LIST_DIR}/game_test.cmake)\n")
write_basic_package_version_file(${PROJECT_BINARY_DIR}/LumaquillConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/LumaquillConfig.cmake
              ${PROJECT_BINARY_DIR}/LumaquillConfigVersion.cmake
              ${PROJECT_SOURCE_DIR}/cmake/mingw-i686.cmake ${PROJECT_SOURCE_DIR}/cmake/game_test.cmake
        DESTINATION ${LQ_PACKAGE_DIR})

# The commands that run and pack games, with what they need, so that an installed
# framework runs and packs them too: share/lumaquill keeps the source folder's layout.
set(LQ_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/lumaquill)
install(PROGRAMS ${PROJECT_SOURCE_DIR}/scripts/run-game.sh ${PROJECT_SOURCE_DIR}/scripts/package-game.sh
                 ${PROJECT_SOURCE_DIR}/scripts/game-test.sh
                 ${PROJECT_SOURCE_DIR}/scripts/setup.sh
        DESTINATION ${LQ_SHARE_DIR}/scripts)
install(FILES ${PROJECT_SOURCE_DIR}/scripts/common.sh ${PROJECT_SOURCE_DIR}/scripts/play-game.sh
              ${PROJECT_SOURCE_DIR}/scripts/player-readme.txt
        DESTINATION ${LQ_SHARE_DIR}/scripts)
install(PROGRAMS ${PROJECT_SOURCE_DIR}/tools/golden.py DESTINATION ${LQ_SHARE_DIR}/tools)
install(PROGRAMS ${PROJECT_SOURCE_DIR}/tests/tools/wine-run.sh ${PROJECT_SOURCE_DIR}/tests/tools/sound-pace.py
        DESTINATION ${LQ_SHARE_DIR}/tests/tools)
if(TARGET virtual_pad)
  install(FILES $<TARGET_FILE:virtual_pad> $<TARGET_FILE:virtual_xinput>
          DESTINATION ${LQ_SHARE_DIR}/tools/virtual_pad)
endif()
