# Every Windows executable links the C and C++ runtimes statically, so that it
# needs only Windows' own DLLs, and writes no time stamp into its header, so
# that the same sources give the same bytes. The stack protector that
# Hardening.cmake turns on needs libssp there.
add_link_options(-static LINKER:--no-insert-timestamp)
link_libraries(ssp)
