# Hardening for every target defined after this file is included, whatever
# directory defines it: position-independent executables, full RELRO with
# immediate binding, the strong stack protector and control-flow protection
# in every configuration (they cost nothing measurable, and the tests then run
# the code as it ships); _FORTIFY_SOURCE only where the configuration
# optimises, because glibc's checks need optimisation and warn without it.
# Flags the compiler or linker does not know are left out.

include(CheckCXXCompilerFlag)
include(CheckLinkerFlag)
include(CheckPIESupported)

check_pie_supported(OUTPUT_VARIABLE _dielektra_pie_output LANGUAGES CXX)
if(WIN32)
  # MinGW's linker makes PE executables relocatable, for ASLR, by default.
elseif(CMAKE_CXX_LINK_PIE_SUPPORTED)
  # -fPIE or -fPIC on objects, -pie on executables.
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
else()
  message(WARNING "Executables cannot be position-independent: ${_dielektra_pie_output}")
endif()

function(_dielektra_harden_compile flag name)
  check_cxx_compiler_flag(${flag} ${name})
  if(${name})
    add_compile_options(${flag})
  endif()
endfunction()

function(_dielektra_harden_link flag name)
  check_linker_flag(CXX ${flag} ${name})
  if(${name})
    add_link_options(${flag})
  endif()
endfunction()

_dielektra_harden_compile(-fstack-protector-strong DIELEKTRA_HAS_STACK_PROTECTOR_STRONG)
_dielektra_harden_compile(-fcf-protection DIELEKTRA_HAS_CF_PROTECTION)
_dielektra_harden_link(LINKER:-z,relro DIELEKTRA_HAS_RELRO)
_dielektra_harden_link(LINKER:-z,now DIELEKTRA_HAS_BIND_NOW)

set(_dielektra_optimised "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
# Undefined first: some toolchains predefine another level.
add_compile_options("$<${_dielektra_optimised}:-U_FORTIFY_SOURCE>"
                    "$<${_dielektra_optimised}:-D_FORTIFY_SOURCE=2>")

# The hardening test reads the built executable and this build's compile
# commands; it is registered once every directory has defined its targets, so
# that it can check the program when app/ defines it.
if(CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
  set(CMAKE_EXPORT_COMPILE_COMMANDS ON)
endif()

function(_dielektra_add_hardening_test)
  # It reads ELF files.
  if(WIN32 OR NOT DIELEKTRA_BUILD_TESTS OR NOT CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
    return()
  endif()
  if(TARGET dielektra)
    set(checked dielektra)
  elseif(TARGET core_tests)
    set(checked core_tests)
  else()
    return()
  endif()
  add_test(NAME hardening
    COMMAND ${CMAKE_COMMAND}
      -DELF=$<TARGET_FILE:${checked}>
      -DCOMPILE_COMMANDS=${CMAKE_BINARY_DIR}/compile_commands.json
      -DCXX=${CMAKE_CXX_COMPILER}
      -P ${PROJECT_SOURCE_DIR}/tests/check-hardening.cmake)
  set_tests_properties(hardening PROPERTIES LABELS hardening)
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL _dielektra_add_hardening_test)
