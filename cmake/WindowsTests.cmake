# GoogleTest for the cross build: Debian ships only its sources for other
# targets, so it is built here with the same compiler, statically.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(TALVANE_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
add_subdirectory(${TALVANE_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Its own CMake files name the targets GTest::gtest, GTest::gtest_main, ...
# as find_package(GTest) does on Linux.

# Every start of a test program under Wine costs about a second, so each
# executable is one ctest test (listing and running its cases one process
# each would take minutes). The test folders keep calling
# gtest_discover_tests as on Linux; here it means this (of its options only
# EXTRA_ARGS counts).
function(gtest_discover_tests target)
    cmake_parse_arguments(PARSE_ARGV 1 discover "" "" "EXTRA_ARGS")
    add_test(NAME ${target} COMMAND ${target} ${discover_EXTRA_ARGS})
    set_tests_properties(${target} PROPERTIES LABELS windows TIMEOUT 600)
endfunction()
