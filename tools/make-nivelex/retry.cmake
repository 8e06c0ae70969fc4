# cmake -DTRIES=N -DCOMMAND=<program;args...> -P retry.cmake: runs the command until it
# succeeds, at most N times; fails with its last exit status.
cmake_minimum_required(VERSION 3.25)
foreach(try RANGE 1 ${TRIES})
  execute_process(COMMAND ${COMMAND} RESULT_VARIABLE status)
  if(status EQUAL 0)
    return()
  endif()
  message(STATUS "try ${try} of ${TRIES} failed (${status})")
endforeach()
message(FATAL_ERROR "${COMMAND}: ${status}")
