# `cmake --install`: the editor as bin/tessaquorbel-editor, its skin archive in
# share/tessaquorbel-editor/ (where the editor looks for it relative to its own
# folder), and the udev rule that lets the logged-in user open the pedal.
#
# udev reads rules only from fixed folders, so the rule's folder is absolute
# (honoured with DESTDIR for packaging): TQ_UDEV_RULES_DIR.
include(GNUInstallDirs)

set(TQ_UDEV_RULES_DIR "/etc/udev/rules.d" CACHE PATH "Folder the udev rule is installed into")

# (resources.bin's own rule is with its generation, cmake/GeneratedAssets.cmake;
# the menu entry and its icon are cmake/DesktopEntry.cmake's.)
function(tq_install_editor target)
    install(PROGRAMS "$<TARGET_FILE:${target}>"
            DESTINATION "${CMAKE_INSTALL_BINDIR}"
            RENAME tessaquorbel-editor)
    install(FILES "${PROJECT_SOURCE_DIR}/packaging/linux/70-tessaquorbel.rules"
            DESTINATION "${TQ_UDEV_RULES_DIR}")
endfunction()
