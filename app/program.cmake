# The program SVL_Editor and what the desktop needs to know about it.
add_executable(SVL_Editor ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
target_link_libraries(SVL_Editor PRIVATE frame)
# Parts that sit on top of the frame join when they are in the build.
if(TARGET channellist_editing_frame AND TARGET frame_dialog_binding)
  target_link_libraries(SVL_Editor PRIVATE channellist_editing_frame frame_dialog_binding)
  target_compile_definitions(SVL_Editor PRIVATE SVL_HAVE_EDIT_BINDING=1)
endif()

include(GNUInstallDirs)
install(TARGETS SVL_Editor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/res/svl-editor.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/res/svl-editor-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME svl-editor.xml)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/res/svl-editor.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
