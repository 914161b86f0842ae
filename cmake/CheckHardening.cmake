# Fails unless the executable ELF is hardened as cmake/Hardening.cmake asks.
# cmake -DELF=<executable> -DCOMPILE_COMMANDS=<compile_commands.json>
#       -DCXX=<compiler> -P CheckHardening.cmake

find_program(READELF readelf REQUIRED)
message(STATUS "checking ${ELF}")
set(failures "")

function(readelf out)
  execute_process(COMMAND ${READELF} ${ARGN} ${ELF}
    OUTPUT_VARIABLE text ERROR_VARIABLE error RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "readelf ${ARGN} ${ELF} failed: ${error}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

macro(require condition what)
  if(${condition})
    message(STATUS "ok: ${what}")
  else()
    list(APPEND failures "${what}")
  endif()
endmacro()

# True when readelf -n shows both IBT and SHSTK in the file's x86 features.
function(has_cet file out)
  execute_process(COMMAND ${READELF} -nW ${file} OUTPUT_VARIABLE notes ERROR_QUIET)
  if(notes MATCHES "x86 feature: [^\n]*IBT" AND notes MATCHES "x86 feature: [^\n]*SHSTK")
    set(${out} TRUE PARENT_SCOPE)
  else()
    set(${out} FALSE PARENT_SCOPE)
  endif()
endfunction()

readelf(header -hW)
readelf(dynamic -dW)
readelf(segments -lW)
readelf(symbols -sW)

string(REGEX MATCH "Type:[ \t]+DYN" is_dyn "${header}")
string(REGEX MATCH "\\(FLAGS_1\\)[^\n]*PIE" is_pie "${dynamic}")
require(is_dyn "position-independent executable: ELF type DYN")
require(is_pie "position-independent executable: FLAGS_1 has PIE")

string(REGEX MATCH "GNU_RELRO" relro "${segments}")
require(relro "RELRO: GNU_RELRO segment")

string(REGEX MATCH "\\(FLAGS\\)[^\n]*BIND_NOW|\\(BIND_NOW\\)|\\(FLAGS_1\\)[^\n]*NOW" now "${dynamic}")
require(now "immediate binding: BIND_NOW")

string(REGEX MATCH "__stack_chk_fail" stack_protector "${symbols}")
require(stack_protector "stack protector: __stack_chk_fail is referenced")

# The commands of every object this build compiles: _FORTIFY_SOURCE must be
# on in each, and the objects carry the CET note that the compiler wrote.
file(READ ${COMPILE_COMMANDS} commands_json)
string(JSON count LENGTH "${commands_json}")
math(EXPR last "${count} - 1")
set(unfortified "")
set(objects "")
foreach(i RANGE ${last})
  string(JSON command GET "${commands_json}" ${i} command)
  string(JSON directory GET "${commands_json}" ${i} directory)
  string(JSON source GET "${commands_json}" ${i} file)
  string(REGEX REPLACE ".* -o ([^ ]+) .*" "\\1" output "${command}")
  if(NOT command MATCHES "-D_FORTIFY_SOURCE=2( |$)")
    list(APPEND unfortified "${source}")
  endif()
  if(IS_ABSOLUTE "${output}")
    list(APPEND objects "${output}")
  else()
    list(APPEND objects "${directory}/${output}")
  endif()
endforeach()

string(REGEX MATCHALL "__[a-z0-9_]+_chk[@ \n]" checked_calls "${symbols}")
list(TRANSFORM checked_calls STRIP)
list(TRANSFORM checked_calls REPLACE "@$" "")
list(REMOVE_DUPLICATES checked_calls)
list(JOIN checked_calls ", " checked_calls)
if(unfortified)
  list(APPEND failures "_FORTIFY_SOURCE=2 missing when compiling: ${unfortified}")
elseif(checked_calls)
  message(STATUS "ok: _FORTIFY_SOURCE=2 in all ${count} compile commands; the ELF calls "
                 "${checked_calls}")
else()
  # Nothing fortifiable is called, so there is no __*_chk symbol to see.
  message(STATUS "ok: _FORTIFY_SOURCE=2 in all ${count} compile commands; the ELF calls no "
                 "fortified function, so no __*_chk symbol can show it")
endif()

has_cet(${ELF} elf_cet)
if(elf_cet)
  message(STATUS "ok: CET: IBT and SHSTK in .note.gnu.property")
else()
  # The linker keeps the note only when every input has it. The C start
  # files are inputs of every executable: if they are unmarked, the note
  # cannot appear, and only the project's own objects can be checked.
  set(unmarked_start_files "")
  foreach(start_file Scrt1.o crti.o crtn.o)
    execute_process(COMMAND ${CXX} -print-file-name=${start_file}
      OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    has_cet("${path}" start_cet)
    if(NOT start_cet)
      list(APPEND unmarked_start_files "${path}")
    endif()
  endforeach()
  set(unmarked_objects "")
  foreach(object IN LISTS objects)
    has_cet("${object}" object_cet)
    if(NOT object_cet)
      list(APPEND unmarked_objects "${object}")
    endif()
  endforeach()
  if(NOT unmarked_start_files)
    list(APPEND failures "CET: no IBT and SHSTK in the ELF's .note.gnu.property")
  elseif(unmarked_objects)
    list(APPEND failures "CET: no IBT and SHSTK in ${unmarked_objects}")
  else()
    list(LENGTH objects object_count)
    list(JOIN unmarked_start_files ", " unmarked_start_files)
    message(STATUS "ok: CET: IBT and SHSTK in all ${object_count} objects compiled here; the "
                   "linked ELF has no such note because these system start files lack it: "
                   "${unmarked_start_files}")
  endif()
endif()

if(failures)
  list(JOIN failures "\n  " listed)
  message(FATAL_ERROR "${ELF} is not hardened:\n  ${listed}")
endif()
