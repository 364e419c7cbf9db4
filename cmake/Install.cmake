# `cmake --install`: the programs in bin/, the shipped data in share/lintaro/ (where an installed
# program looks for it), and the desktop entry, file types and icon so that a double-click on an
# order or material opens it in the window.
include(GNUInstallDirs)
install(TARGETS lintaro RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET lintaro-cli)
    install(TARGETS lintaro-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/lintaro)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/lintaro.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/lintaro-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME lintaro.xml)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/lintaro.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
