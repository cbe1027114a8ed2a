# Warnings and sanitizers for every target of the project, in one place.
add_library(talvane_flags INTERFACE)
target_compile_options(talvane_flags INTERFACE -Wall -Wextra -Wpedantic)
target_include_directories(talvane_flags INTERFACE ${PROJECT_SOURCE_DIR})
if(TALVANE_WERROR)
    target_compile_options(talvane_flags INTERFACE -Werror)
endif()
if(TALVANE_WITH_ASAN)
    target_compile_options(talvane_flags INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(talvane_flags INTERFACE -fsanitize=address,undefined)
endif()
