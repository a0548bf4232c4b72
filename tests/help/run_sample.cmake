# Runs one help sample through kxscript; fails when the run reports an error
# (kxscript prints "error CODE: TEXT" on standard error) or exits non-zero.
#   cmake -DKXSCRIPT=... -DSAMPLE=... -P run_sample.cmake
execute_process(COMMAND "${KXSCRIPT}" "${SAMPLE}"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err INPUT_FILE /dev/null)
if(NOT status EQUAL 0 OR NOT err STREQUAL "")
  message(FATAL_ERROR "${SAMPLE}: exit ${status}\n${err}")
endif()
message(STATUS "${SAMPLE}: ok\n${out}")
