# JUCE comes from Debian's juce-modules-source. Its module targets are
# interface libraries that compile the module sources into every consumer, which
# would give us duplicate symbols across our static libraries. So we compile each
# module's unity file once, into two static libraries of our own:
#   tq_juce_core  juce_core only (for the bundle and stream adapters)
#   tq_juce_gui   data structures, events, graphics, gui_basics on top of it
# Every target that compiles JUCE code sees the same definitions through them.
find_package(JUCE CONFIG REQUIRED)
find_package(Threads REQUIRED)
find_package(ZLIB REQUIRED)
find_package(CURL REQUIRED)
find_package(PkgConfig REQUIRED)

set(TQ_JUCE_DEFINITIONS
    JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED=1
    JUCE_MODAL_LOOPS_PERMITTED=1
    JUCE_DISPLAY_SPLASH_SCREEN=0
    JUCE_WEB_BROWSER=0
    JUCE_USE_CURL=1
    JUCE_LOAD_CURL_SYMBOLS_LAZILY=0
    JUCE_STANDALONE_APPLICATION=1
    JUCE_USE_XRANDR=1
    JUCE_USE_XINERAMA=1
    JUCE_USE_XCURSOR=1
    JUCE_USE_XSHM=1
    JUCE_MODULE_AVAILABLE_juce_core=1
    JUCE_MODULE_AVAILABLE_juce_data_structures=1
    JUCE_MODULE_AVAILABLE_juce_events=1
    JUCE_MODULE_AVAILABLE_juce_graphics=1
    JUCE_MODULE_AVAILABLE_juce_gui_basics=1
    $<$<CONFIG:Debug>:DEBUG=1>
    $<$<CONFIG:Debug>:_DEBUG=1>
    $<$<NOT:$<CONFIG:Debug>>:NDEBUG=1>)

add_library(tq_juce_core STATIC "${JUCE_MODULES_DIR}/juce_core/juce_core.cpp")
target_include_directories(tq_juce_core SYSTEM PUBLIC "${JUCE_MODULES_DIR}")
target_compile_definitions(tq_juce_core PUBLIC ${TQ_JUCE_DEFINITIONS})
target_link_libraries(tq_juce_core PUBLIC ZLIB::ZLIB CURL::libcurl Threads::Threads ${CMAKE_DL_LIBS} rt)
target_compile_options(tq_juce_core PRIVATE -w)

if(TQ_BUILD_GUI)
    find_package(PNG REQUIRED)
    find_package(JPEG REQUIRED)
    find_package(Freetype REQUIRED)
    find_package(X11 REQUIRED)
    add_library(tq_juce_gui STATIC
        "${JUCE_MODULES_DIR}/juce_data_structures/juce_data_structures.cpp"
        "${JUCE_MODULES_DIR}/juce_events/juce_events.cpp"
        "${JUCE_MODULES_DIR}/juce_graphics/juce_graphics.cpp"
        "${JUCE_MODULES_DIR}/juce_gui_basics/juce_gui_basics.cpp")
    target_include_directories(tq_juce_gui SYSTEM PUBLIC ${X11_INCLUDE_DIR})
    target_link_libraries(tq_juce_gui PUBLIC tq_juce_core PNG::PNG JPEG::JPEG Freetype::Freetype)
    target_compile_options(tq_juce_gui PRIVATE -w)
endif()

# Warnings for our own code.
function(tq_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
endfunction()

# A static library of ours with public includes from its folder. While a library
# has no sources yet it is an interface library, so dependents link either way.
function(tq_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    if(ARG_SOURCES)
        add_library(${name} STATIC ${ARG_SOURCES})
        target_include_directories(${name} PUBLIC "${CMAKE_CURRENT_SOURCE_DIR}")
        target_link_libraries(${name} PUBLIC ${ARG_LIBS})
        tq_warnings(${name})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE "${CMAKE_CURRENT_SOURCE_DIR}")
        target_link_libraries(${name} INTERFACE ${ARG_LIBS})
    endif()
endfunction()
