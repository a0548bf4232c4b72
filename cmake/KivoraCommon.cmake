# Settings shared by every target of both builds.

set(KIVORA_WARNINGS -Wall -Wextra)

option(KIVORA_FUZZ "Build the libFuzzer targets (clang) with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(KIVORA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "KIVORA_FUZZ needs clang (cmake --preset fuzz)")
  endif()
  # Everything is instrumented for coverage; only the targets link libFuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(KIVORA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

# Boost.Regex is used header-only. The mingw cross build must never see
# /usr/include (its C library headers are the host's), so it gets a folder
# holding only boost/. A build on Windows (MSYS2) takes its own include folder
# as it is: a symbolic link there needs rights a user may not have.
add_compile_definitions(BOOST_REGEX_STANDALONE)
set(KIVORA_BOOST_ROOT "/usr/include" CACHE PATH "Folder that holds boost/")
if(WIN32 AND CMAKE_CROSSCOMPILING)
  set(KIVORA_BOOST_INCLUDE "${CMAKE_BINARY_DIR}/boost-include")
  file(MAKE_DIRECTORY "${KIVORA_BOOST_INCLUDE}")
  file(CREATE_LINK "${KIVORA_BOOST_ROOT}/boost" "${KIVORA_BOOST_INCLUDE}/boost" SYMBOLIC)
else()
  set(KIVORA_BOOST_INCLUDE "${KIVORA_BOOST_ROOT}")
endif()
if(NOT EXISTS "${KIVORA_BOOST_INCLUDE}/boost/regex.hpp")
  message(FATAL_ERROR "Boost.Regex headers not found under ${KIVORA_BOOST_ROOT} (install libboost1.81-dev)")
endif()
add_library(kivora_boost INTERFACE)
target_include_directories(kivora_boost SYSTEM INTERFACE "${KIVORA_BOOST_INCLUDE}")

# The script engine's grammar is generated; the tools are found here so that
# the engine only has to call FLEX_TARGET/BISON_TARGET.
find_package(FLEX 2.6 REQUIRED)
find_package(BISON 3.7 REQUIRED)

if(WIN32)
  # Everything is linked statically so that Kivora.exe is one file.
  add_link_options(-static -static-libgcc -static-libstdc++)
  # Each function and datum in a section of its own, so the linker can drop
  # what nothing calls: most of the static C++ library never runs here.
  add_compile_options(-ffunction-sections -fdata-sections)
  add_link_options(-Wl,--gc-sections)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)
  # The release is reproducible: no folder the tree was built in lands in a
  # program (__FILE__, generated parsers' #line, debug info), and the linker
  # leaves the PE header's time stamp at 0 instead of the time of linking.
  # The build folder comes last so that it wins over the source folder it
  # usually sits in.
  add_compile_options("-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=" "-ffile-prefix-map=${CMAKE_BINARY_DIR}/=build/")
  add_link_options(-Wl,--no-insert-timestamp)
endif()

# kivora_target_defaults(<target>): warnings and include root for our own code.
function(kivora_target_defaults target)
  target_compile_options(${target} PRIVATE ${KIVORA_WARNINGS})
  target_include_directories(${target} PUBLIC "${PROJECT_SOURCE_DIR}/src")
endfunction()

if(WIN32 AND CMAKE_CROSSCOMPILING)
  # Windows programs built here run through Wine, in a prefix and an X display
  # of their own (see tools/wine-run).
  set(KIVORA_WINE_PREFIX "${CMAKE_BINARY_DIR}/wineprefix")
  set(CMAKE_CROSSCOMPILING_EMULATOR "${PROJECT_SOURCE_DIR}/tools/wine-run;--prefix;${KIVORA_WINE_PREFIX}")
endif()

# kivora_link_rooms(<target> <PUBLIC|PRIVATE> room...): links kivora_<room> for
# every room of src/ that exists, so a room can be used before its neighbours land.
function(kivora_link_rooms target visibility)
  foreach(room IN LISTS ARGN)
    if(EXISTS "${PROJECT_SOURCE_DIR}/src/${room}/CMakeLists.txt")
      target_link_libraries(${target} ${visibility} kivora_${room})
    endif()
  endforeach()
endfunction()
