# lintaro_add_test(NAME SOURCES ... LIBS ...) registers one GoogleTest executable with CTest.
# The test data folder reaches the tests as LINTARO_TEST_DATA_DIR, never as a working directory.
function(lintaro_add_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} lintaro_processtempdir lintaro_testsupport GTest::gtest
        GTest::gtest_main)
    target_compile_definitions(${name} PRIVATE
        LINTARO_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
        LINTARO_BIN_DIR="${LINTARO_BIN_DIR}"
        LINTARO_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    add_dependencies(${name} lintaro_data)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
endfunction()
