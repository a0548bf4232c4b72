# Kivora's version in the four parts a Windows version record holds, taken
# from the project version (CMakeLists.txt), the one place it is written.
# Parts the project version leaves out count as 0 ("1.2" is 1.2.0.0), and
# each part must fit the record's 16 bits.
#
#   KIVORA_VERSION_MAJOR ... KIVORA_VERSION_TWEAK   the parts as numbers
#   KIVORA_VERSION                                  "MAJOR.MINOR.PATCH.TWEAK"
#   KIVORA_COPYRIGHT                                the legal notice of every file we ship

set(version_parts "")
foreach(part IN ITEMS MAJOR MINOR PATCH TWEAK)
  set(value "${PROJECT_VERSION_${part}}")
  if(value STREQUAL "")
    set(value 0)
  endif()
  # Written as "01", a part would reach the resource compiler as octal.
  math(EXPR value "${value}")
  if(value GREATER 65535)
    message(FATAL_ERROR "Version part ${part} is ${value}; a Windows version record holds 0 to 65535")
  endif()
  set(KIVORA_VERSION_${part} ${value})
  list(APPEND version_parts ${value})
endforeach()
list(JOIN version_parts "." KIVORA_VERSION)
unset(version_parts)

set(KIVORA_COPYRIGHT "Copyright (C) 2026 Orvanta")
