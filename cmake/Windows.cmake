# What every Windows target shares: wide-character Win32 calls, Windows 10
# as the oldest system the program supports.
target_compile_definitions(talvane_flags INTERFACE
    UNICODE _UNICODE _WIN32_WINNT=0x0A00 WINVER=0x0A00 NOMINMAX WIN32_LEAN_AND_MEAN)

# A program whose entry point is wWinMain (wide command line, no console).
function(talvane_windows_program target)
    set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
    # Sections at page boundaries in the file: Wine then maps the image's
    # pages from the file, as Windows does, instead of reading every section
    # into private memory at start (all of the code and the pictures).
    target_link_options(${target} PRIVATE -municode -Wl,--file-alignment,4096)
endfunction()
