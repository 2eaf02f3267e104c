# The installed editor's entry in the desktop's application menu: the desktop
# entry from packaging/linux/ and the application icon, which tq_app_icon
# (tools/SkinArtwork) paints at every size listed here, for the hicolor theme.
include(GNUInstallDirs)

set(TQ_APP_ICON_SIZES 16 32 48 64 128 256)
set(_tq_icon_files)

foreach(size IN LISTS TQ_APP_ICON_SIZES)
    set(_tq_icon "${PROJECT_BINARY_DIR}/icons/hicolor/${size}x${size}/apps/tessaquorbel-editor.png")
    add_custom_command(
        OUTPUT "${_tq_icon}"
        COMMAND tq_app_icon ${size} "${_tq_icon}"
        DEPENDS tq_app_icon
        COMMENT "Painting the ${size}x${size} application icon"
        VERBATIM)
    list(APPEND _tq_icon_files "${_tq_icon}")
    install(FILES "${_tq_icon}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps")
endforeach()
add_custom_target(tq_app_icons ALL DEPENDS ${_tq_icon_files})

install(FILES "${PROJECT_SOURCE_DIR}/packaging/linux/tessaquorbel-editor.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
