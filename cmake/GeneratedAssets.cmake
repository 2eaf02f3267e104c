# Product data made by tools of ours at build time.
#
# The skin: tq_skin_artwork paints every image and writes resources.bin beside
# the editor's executable, where the editor looks for it. It runs again
# whenever the tool changes. TQ_SKIN_ARCHIVE_FILE names the file for tests.
include(GNUInstallDirs)

add_subdirectory("${PROJECT_SOURCE_DIR}/tools/SkinArtwork" "${PROJECT_BINARY_DIR}/tools/SkinArtwork")
add_subdirectory("${PROJECT_SOURCE_DIR}/tools/SkinPreview" "${PROJECT_BINARY_DIR}/tools/SkinPreview")

# The editor's output folder (JUCE's artefacts folder, per configuration); a
# custom command's output may not name a target, so the folder is taken from
# the target's property.
get_target_property(_tq_editor_dir TessaquorbelEditor RUNTIME_OUTPUT_DIRECTORY)
set(TQ_SKIN_ARCHIVE_FILE "${_tq_editor_dir}/resources.bin")
add_custom_command(
    OUTPUT "${TQ_SKIN_ARCHIVE_FILE}"
    COMMAND tq_skin_artwork "${TQ_SKIN_ARCHIVE_FILE}"
    DEPENDS tq_skin_artwork
    COMMENT "Painting the skin into resources.bin"
    VERBATIM)
add_custom_target(tq_skin_resources ALL DEPENDS "${TQ_SKIN_ARCHIVE_FILE}")
add_dependencies(TessaquorbelEditor tq_skin_resources)

# Installed where the editor looks for it relative to bin/ (see ResourceFile).
install(FILES "${TQ_SKIN_ARCHIVE_FILE}" DESTINATION "${CMAKE_INSTALL_DATADIR}/tessaquorbel-editor")
