# Every Windows executable links the C and C++ runtimes statically, so that it
# needs only Windows' own DLLs, and writes no time stamp into its header, so
# that the same sources give the same bytes. The stack protector that
# Hardening.cmake turns on needs libssp there.
add_link_options(-static LINKER:--no-insert-timestamp)
link_libraries(ssp)
# Debian's Qt leaves its plugins' packages out of find_package by default;
# a static Qt's program links its plugins, and so needs them.
set(QT_SKIP_AUTO_PLUGIN_INCLUSION OFF)
