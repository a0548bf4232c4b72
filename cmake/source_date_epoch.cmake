# cmake -DSOURCE_DIR=TREE -DOUTPUT=FILE -P source_date_epoch.cmake
#
# Writes SOURCE_DATE_EPOCH (seconds since 1970, UTC) into FILE, only when it
# differs from what FILE holds. Taken from the environment when set there,
# else from the time of the commit checked out in TREE. A tree outside git
# gets 1980-01-01, the earliest date a zip entry can hold, rather than the
# time of the build: the same tree then still gives the same release.

set(epoch "$ENV{SOURCE_DATE_EPOCH}")
if(epoch STREQUAL "")
  find_program(git_program git)
  if(git_program)
    execute_process(COMMAND "${git_program}" -C "${SOURCE_DIR}" log -1 --format=%ct
                    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE git_result ERROR_QUIET)
    if(NOT git_result EQUAL 0)
      set(epoch "")
    endif()
  endif()
endif()
if(epoch STREQUAL "")
  message(STATUS "No commit time found: the release is dated 1980-01-01")
  set(epoch 315532800)
endif()
if(NOT epoch MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH must be a number of seconds, not '${epoch}'")
endif()

set(old "")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL "${epoch}\n")
  file(WRITE "${OUTPUT}" "${epoch}\n")
endif()
