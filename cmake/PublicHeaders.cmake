# Each library sees only the headers it may use. A target's own headers are
# linked, at configure time, into an include root of its own in the build
# tree, keeping their spelling ("platform/Clock.h"); the root becomes the
# target's public include directory, so only the targets that link it find
# those headers.
#
#   talvane_public_headers(<target> [PRIVATE] [FROM <folder> AS <folder>] HEADERS <glob>...)
#
# Globs are relative to the repository's top folder. PRIVATE keeps the
# headers to the target itself (an executable's own parts). FROM ... AS
# spells the headers under FROM as if they lay under AS, so a module can
# move in the tree without its users' includes changing
# (FROM core/service AS service: core/service/EventList.h is included as
# "service/EventList.h").

get_filename_component(TALVANE_HEADER_BASE "${CMAKE_CURRENT_LIST_DIR}/.." REALPATH)

function(talvane_public_headers target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "PRIVATE" "FROM;AS" "HEADERS")
    if(DEFINED arg_FROM AND NOT DEFINED arg_AS)
        message(FATAL_ERROR "${target}: FROM ${arg_FROM} needs an AS folder")
    endif()
    set(root ${CMAKE_BINARY_DIR}/include/${target})
    file(REMOVE_RECURSE ${root})
    foreach(pattern IN LISTS arg_HEADERS)
        file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${TALVANE_HEADER_BASE}
            ${TALVANE_HEADER_BASE}/${pattern})
        if(NOT headers)
            message(FATAL_ERROR "${target}: no header matches ${pattern}")
        endif()
        foreach(header IN LISTS headers)
            set(spelling ${header})
            if(DEFINED arg_FROM)
                string(FIND "${header}" "${arg_FROM}/" at)
                if(NOT at EQUAL 0)
                    message(FATAL_ERROR "${target}: ${header} does not lie under ${arg_FROM}")
                endif()
                string(LENGTH "${arg_FROM}" length)
                string(SUBSTRING "${header}" ${length} -1 rest)
                set(spelling ${arg_AS}${rest})
            endif()
            get_filename_component(folder ${spelling} DIRECTORY)
            file(MAKE_DIRECTORY ${root}/${folder})
            file(CREATE_LINK ${TALVANE_HEADER_BASE}/${header} ${root}/${spelling} SYMBOLIC)
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
