# What the scripts that run transvelor as a user would share: run it (under the cross
# build's emulator, Wine, for the Windows build) and check its exit status and what it
# printed. Needs TRANSVELOR, EMULATOR (a list) and CASE.

function(fail message)
  message(FATAL_ERROR "${CASE}: ${message}\n--- stdout:\n${out}\n--- stderr:\n${err}")
endfunction()

# transvelor_run(ARGUMENTS...): sets rc, out and err (lines ended with LF only).
function(transvelor_run)
  execute_process(COMMAND ${EMULATOR} ${TRANSVELOR} ${ARGN}
    RESULT_VARIABLE rc OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr INPUT_FILE /dev/null)
  # The Windows build ends its lines with CR LF.
  string(REPLACE "\r\n" "\n" stdout "${stdout}")
  string(REPLACE "\r\n" "\n" stderr "${stderr}")
  set(rc "${rc}" PARENT_SCOPE)
  set(out "${stdout}" PARENT_SCOPE)
  set(err "${stderr}" PARENT_SCOPE)
endfunction()

function(expect_status expected)
  if(NOT rc EQUAL expected)
    fail("exit status ${rc}, expected ${expected}")
  endif()
endfunction()

function(expect_match regex text)
  if(NOT text MATCHES "${regex}")
    fail("expected to match: ${regex}")
  endif()
endfunction()
