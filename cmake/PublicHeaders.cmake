# Each library sees only the headers it may use. A target's own headers are
# linked, at configure time, into an include root of its own in the build
# tree, keeping their spelling ("platform/Clock.h"); the root becomes the
# target's public include directory, so only the targets that link it find
# those headers.
#
#   talvane_public_headers(<target> [PRIVATE] [BASE <folder>] HEADERS <glob>...)
#
# Globs, and the spelling they keep, are relative to the repository's top
# folder, or to BASE below it (core/web/WebAddress.h is "web/WebAddress.h").
# PRIVATE keeps the headers to the target itself (an executable's own parts).

get_filename_component(TALVANE_HEADER_BASE "${CMAKE_CURRENT_LIST_DIR}/.." REALPATH)

function(talvane_public_headers target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "PRIVATE" "BASE" "HEADERS")
    set(root ${CMAKE_BINARY_DIR}/include/${target})
    set(base ${TALVANE_HEADER_BASE})
    if(arg_BASE)
        set(base ${TALVANE_HEADER_BASE}/${arg_BASE})
    endif()
    file(REMOVE_RECURSE ${root})
    foreach(pattern IN LISTS arg_HEADERS)
        file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${base} ${base}/${pattern})
        if(NOT headers)
            message(FATAL_ERROR "${target}: no header matches ${pattern}")
        endif()
        foreach(header IN LISTS headers)
            get_filename_component(folder ${header} DIRECTORY)
            file(MAKE_DIRECTORY ${root}/${folder})
            file(CREATE_LINK ${base}/${header} ${root}/${header} SYMBOLIC)
        endforeach()
    endforeach()

    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        set(scope INTERFACE)
    elseif(arg_PRIVATE OR type STREQUAL "EXECUTABLE" OR type STREQUAL "MODULE_LIBRARY")
        set(scope PRIVATE)
    else()
        set(scope PUBLIC)
    endif()
    target_include_directories(${target} ${scope} ${root})
endfunction()
