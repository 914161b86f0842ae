# Read by cpack: the files in the package, and the gzip headers of its
# archives, take the build's date unless cpack's environment gives one.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ENV{SOURCE_DATE_EPOCH} ${CPACK_DIELEKTRA_SOURCE_DATE_EPOCH})
endif()
