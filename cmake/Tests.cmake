# GoogleTest through CTest. One runner per library; TQ_TEST_LABELS marks the
# runners with threads so the ThreadSanitizer pass can pick them with -L threaded.
enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)

function(tq_add_test_runner name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    if(NOT ARG_SOURCES)
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/Tests")
    tq_warnings(${name})
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT 300)
endfunction()
