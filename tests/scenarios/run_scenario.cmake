# Runs tarvin-sim once and checks what it did.
#   SIM       the tool
#   ARGS      its arguments, separated by ';' (optional)
#   EXPECTED  the file its standard output must equal, byte for byte (optional)
#   STATUS    the exit status it must end with (default 0)
#   STDERR    a regular expression its standard error must match (optional)
#   SILENT    when set, standard output must stay empty
#   ACTUAL    where to leave the output when it differs from EXPECTED
execute_process(
  COMMAND ${SIM} ${ARGS}
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err
  RESULT_VARIABLE status
)
if(NOT DEFINED STATUS)
  set(STATUS 0)
endif()
set(failed FALSE)
if(NOT "${status}" STREQUAL "${STATUS}")
  message(SEND_ERROR "exit status ${status}, expected ${STATUS}\nstandard error:\n${err}")
  set(failed TRUE)
endif()
if(DEFINED STDERR AND NOT err MATCHES "${STDERR}")
  message(SEND_ERROR "standard error does not match \"${STDERR}\":\n${err}")
  set(failed TRUE)
endif()
if(SILENT AND NOT out STREQUAL "")
  message(SEND_ERROR "standard output should be empty:\n${out}")
  set(failed TRUE)
endif()
if(DEFINED EXPECTED)
  file(READ "${EXPECTED}" expected)
  if(NOT out STREQUAL expected)
    file(WRITE "${ACTUAL}" "${out}")
    execute_process(COMMAND diff -u "${EXPECTED}" "${ACTUAL}" OUTPUT_VARIABLE difference)
    message(SEND_ERROR "the log differs from ${EXPECTED} (got ${ACTUAL}):\n${difference}")
    set(failed TRUE)
  endif()
endif()
if(failed)
  message(FATAL_ERROR "scenario failed")
endif()
