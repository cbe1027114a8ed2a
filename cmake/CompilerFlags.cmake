# Warnings and sanitizers for every target of the project, in one place.
# Include paths are each target's own (cmake/PublicHeaders.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/PublicHeaders.cmake)

add_library(talvane_flags INTERFACE)
target_compile_options(talvane_flags INTERFACE -Wall -Wextra -Wpedantic)
if(TALVANE_WERROR)
    target_compile_options(talvane_flags INTERFACE -Werror)
endif()
if(TALVANE_WITH_ASAN)
    target_compile_options(talvane_flags INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(talvane_flags INTERFACE -fsanitize=address,undefined)
endif()
