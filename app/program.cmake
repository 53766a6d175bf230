# The program SVL_Editor and what the desktop needs to know about it.
add_executable(SVL_Editor ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
target_link_libraries(SVL_Editor PRIVATE frame)

include(GNUInstallDirs)
install(TARGETS SVL_Editor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/res/svl-editor.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/res/svl-editor-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME svl-editor.xml)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/res/svl-editor.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
