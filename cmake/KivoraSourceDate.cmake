# The release's one date: SOURCE_DATE_EPOCH, the time of the commit the tree
# was built from (or the variable of that name when the build is given one).
# Every time stamp in the release (zip entries, the files the installer
# carries, the help file) is this date, so two builds of one commit give the
# same bytes however far apart they ran.
#
#   KIVORA_SOURCE_DATE_FILE   a file holding the number; rewritten only when it
#                             changes, so what depends on it is remade then only
#   kivora_source_date        the target that brings it up to date at every build

if(NOT WIN32)
  return()
endif()

set(KIVORA_SOURCE_DATE_FILE "${CMAKE_BINARY_DIR}/source_date_epoch.txt")
add_custom_target(kivora_source_date ALL
  COMMAND "${CMAKE_COMMAND}" "-DSOURCE_DIR=${PROJECT_SOURCE_DIR}" "-DOUTPUT=${KIVORA_SOURCE_DATE_FILE}"
          -P "${PROJECT_SOURCE_DIR}/cmake/source_date_epoch.cmake"
  BYPRODUCTS "${KIVORA_SOURCE_DATE_FILE}"
  COMMENT "Reading the commit time (SOURCE_DATE_EPOCH)"
  VERBATIM)
