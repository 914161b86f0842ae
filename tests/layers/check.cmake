# Builds the probes of forbidden includes (tests/CMakeLists.txt) and expects
# each to fail on its include, the header not found; any other outcome fails.
# Each probe is compiled anew: one that once compiled stays up to date.
#   cmake -DBUILD=DIR -DOBJECTS=DIR -DPROBES=target|header;... -P check.cmake
foreach(probe IN LISTS PROBES)
  string(REPLACE "|" "_" name "${probe}")
  string(MAKE_C_IDENTIFIER "${name}" name)
  file(REMOVE_RECURSE ${OBJECTS}/${name}.dir)
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD} --target layer_probes -- -k 0
  OUTPUT_VARIABLE output ERROR_VARIABLE output)
foreach(probe IN LISTS PROBES)
  string(REPLACE "|" ";" probe "${probe}")
  list(GET probe 0 library)
  list(GET probe 1 header)
  string(MAKE_C_IDENTIFIER "${library}_${header}" name)
  string(REPLACE "." "[.]" pattern "${name}.cpp:1:[0-9]+: fatal error: '?${header}'?:? ")
  if(output MATCHES "${pattern}(No such file|file not found)")
    message(STATUS "ok: ${library} does not see ${header}")
  else()
    message(SEND_ERROR "${library} sees ${header}, or its probe failed otherwise:\n${output}")
  endif()
endforeach()
