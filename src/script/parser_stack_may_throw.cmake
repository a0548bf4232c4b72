# Bison's C++ parser stack allocates its first 200 entries in a constructor it
# marks noexcept, so running out of memory there would end the process instead
# of reaching the runner's out-of-memory report. This takes the mark away.
#   cmake -DHEADER=<generated parser header> -P parser_stack_may_throw.cmake
file(READ "${HEADER}" text)
set(marked "stack (size_type n = 200) YY_NOEXCEPT")
string(FIND "${text}" "${marked}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${HEADER}: the parser stack's constructor has changed; check that it may throw")
endif()
string(REPLACE "${marked}" "stack (size_type n = 200)" text "${text}")
file(WRITE "${HEADER}" "${text}")
