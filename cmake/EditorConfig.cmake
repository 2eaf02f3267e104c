# Build-time settings of the editor that a packager may change.
#
# TQ_UPDATE_HOST: host (optionally ":port") of the maker's web server that the
# editor asks once per start whether a newer version exists. Empty by default:
# then the check opens no connection at all and reports "up to date", so a
# build sends no traffic anywhere unless a packager sets a host.
# TQ_SUPPORT_PAGE: the web page the update notice links to; empty means the
# update host's root page.
set(TQ_UPDATE_HOST "" CACHE STRING "Update-check web server host[:port]; empty disables the check")
set(TQ_SUPPORT_PAGE "" CACHE STRING "Support page shown in the update notice; empty = http://<update host>/")

if(TQ_SUPPORT_PAGE STREQUAL "" AND NOT TQ_UPDATE_HOST STREQUAL "")
    set(TQ_SUPPORT_PAGE_EFFECTIVE "http://${TQ_UPDATE_HOST}/")
else()
    set(TQ_SUPPORT_PAGE_EFFECTIVE "${TQ_SUPPORT_PAGE}")
endif()

# Generated into the build tree as EditorConfig.h for the application class.
function(tq_write_editor_config target)
    set(dir "${CMAKE_BINARY_DIR}/generated")
    configure_file("${PROJECT_SOURCE_DIR}/cmake/EditorConfig.h.in" "${dir}/EditorConfig.h" @ONLY)
    target_include_directories(${target} PUBLIC "${dir}")
endfunction()
