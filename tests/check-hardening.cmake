# Fails unless the executable ELF is hardened as cmake/Hardening.cmake asks.
# cmake -DELF=<executable> -DCOMPILE_COMMANDS=<compile_commands.json>
#       -DCXX=<compiler> -P tests/check-hardening.cmake
find_program(READELF readelf REQUIRED)
message(STATUS "checking ${ELF}")
set(failures "")

# File header, segments, dynamic section, symbols and notes of an ELF file.
function(read_elf file out)
  execute_process(COMMAND ${READELF} -hldsnW ${file}
    OUTPUT_VARIABLE text ERROR_VARIABLE error RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "readelf ${file} failed: ${error}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The files, of those given, whose x86 features note lacks IBT or SHSTK
# (control-flow protection).
function(without_cet out)
  set(unmarked "")
  foreach(file IN LISTS ARGN)
    read_elf(${file} text)
    if(NOT (text MATCHES "x86 feature: [^\n]*IBT" AND text MATCHES "x86 feature: [^\n]*SHSTK"))
      list(APPEND unmarked "${file}")
    endif()
  endforeach()
  set(${out} "${unmarked}" PARENT_SCOPE)
endfunction()

function(require what regex)
  if(elf MATCHES "${regex}")
    message(STATUS "ok: ${what}")
  else()
    set(failures ${failures} "${what}" PARENT_SCOPE)
  endif()
endfunction()

read_elf(${ELF} elf)
require("position-independent executable: ELF type DYN" "Type:[ \t]+DYN")
require("position-independent executable: FLAGS_1 has PIE" "\\(FLAGS_1\\)[^\n]*PIE")
require("RELRO: GNU_RELRO segment" "GNU_RELRO")
require("immediate binding: BIND_NOW"
        "\\(FLAGS\\)[^\n]*BIND_NOW|\\(BIND_NOW\\)|\\(FLAGS_1\\)[^\n]*NOW")
require("stack protector: __stack_chk_fail is referenced" "__stack_chk_fail")

# Every object this build compiles: _FORTIFY_SOURCE=2 in its command, and
# its path, for the CET check below.
file(READ ${COMPILE_COMMANDS} commands_json)
string(JSON count LENGTH "${commands_json}")
math(EXPR last "${count} - 1")
set(unfortified "")
set(objects "")
foreach(i RANGE ${last})
  string(JSON command GET "${commands_json}" ${i} command)
  string(JSON directory GET "${commands_json}" ${i} directory)
  if(NOT command MATCHES "-D_FORTIFY_SOURCE=2( |$)")
    string(JSON source GET "${commands_json}" ${i} file)
    list(APPEND unfortified "${source}")
  endif()
  string(REGEX REPLACE ".* -o ([^ ]+) .*" "\\1" object "${command}")
  cmake_path(ABSOLUTE_PATH object BASE_DIRECTORY "${directory}")
  # The layers test's probes are in the commands but never built: they
  # exist to fail to compile.
  if(EXISTS "${object}")
    list(APPEND objects "${object}")
  endif()
endforeach()
# The fortified calls the ELF makes; there may be none to make.
string(REGEX MATCHALL "__[a-z0-9_]+_chk[@ \n]" checked_calls "${elf}")
list(TRANSFORM checked_calls REPLACE "[@ \n]$" "")
list(REMOVE_DUPLICATES checked_calls)
list(JOIN checked_calls ", " checked_calls)
if(NOT checked_calls)
  set(checked_calls "none")
endif()
if(unfortified)
  list(APPEND failures "_FORTIFY_SOURCE=2 missing when compiling: ${unfortified}")
else()
  message(STATUS "ok: _FORTIFY_SOURCE=2 in all ${count} compile commands; fortified calls "
                 "in the ELF: ${checked_calls}")
endif()

without_cet(elf_without_cet ${ELF})
if(NOT elf_without_cet)
  message(STATUS "ok: CET: IBT and SHSTK in .note.gnu.property")
else()
  # The linker keeps the note only when every input has it. The C start
  # files are inputs of every executable: if they are unmarked, the note
  # cannot appear, and only the project's own objects can be checked.
  set(start_files "")
  foreach(start_file Scrt1.o crti.o crtn.o)
    execute_process(COMMAND ${CXX} -print-file-name=${start_file}
      OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    list(APPEND start_files "${path}")
  endforeach()
  without_cet(unmarked_start_files ${start_files})
  without_cet(unmarked_objects ${objects})
  if(NOT unmarked_start_files)
    list(APPEND failures "CET: no IBT and SHSTK in the ELF's .note.gnu.property")
  elseif(unmarked_objects)
    list(APPEND failures "CET: no IBT and SHSTK in ${unmarked_objects}")
  else()
    list(LENGTH objects object_count)
    message(STATUS "ok: CET: IBT and SHSTK in all ${object_count} objects compiled here; the "
                   "ELF has no such note because these system start files lack it: "
                   "${unmarked_start_files}")
  endif()
endif()

if(failures)
  list(JOIN failures "\n  " listed)
  message(FATAL_ERROR "${ELF} is not hardened:\n  ${listed}")
endif()
