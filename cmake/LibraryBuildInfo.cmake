# Texts that describe this build of the library, fixed when the build is configured and compiled into the
# library information (src/Reader/LibraryInfo.cpp). The commit is read from git when the sources are a git
# checkout, else "Unknown"; a build service may pass its own values on the command line.
set(PYX_BUILD_DESCRIPTION "Velmora: C++ and C interfaces to desk-top USB HID and serial card readers"
    CACHE STRING "One line describing the library")
set(PYX_BUILD_COMPANY "The Velmora developers" CACHE STRING "The library's maker")
set(PYX_BUILD_LEGAL_NOTICE "Copyright (c) The Velmora developers. All rights reserved."
    CACHE STRING "The legal notice line")
set(PYX_BUILD_LICENSE "Use of this library is subject to the licence agreement that accompanies it."
    CACHE STRING "The licence statement")
set(PYX_BUILD_URL "Unknown" CACHE STRING "Address of this build's record on the build service")
set(PYX_BUILD_REPOSITORY "Velmora" CACHE STRING "Name of the source repository")

set(PYX_BUILD_COMMIT "Unknown")
find_package(Git QUIET)
if(GIT_FOUND)
  execute_process(
    COMMAND ${GIT_EXECUTABLE} rev-parse --verify HEAD
    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
    OUTPUT_VARIABLE pyx_git_commit
    OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE pyx_git_result
    ERROR_QUIET)
  if(pyx_git_result EQUAL 0 AND pyx_git_commit MATCHES "^[0-9a-f]+$")
    set(PYX_BUILD_COMMIT ${pyx_git_commit})
  endif()
endif()

# The toolchain by its usual name: "gcc" and "clang" rather than CMake's compiler ids.
string(TOLOWER "${CMAKE_CXX_COMPILER_ID}" PYX_BUILD_TOOLCHAIN)
if(PYX_BUILD_TOOLCHAIN STREQUAL "gnu")
  set(PYX_BUILD_TOOLCHAIN "gcc")
elseif(PYX_BUILD_TOOLCHAIN STREQUAL "")
  set(PYX_BUILD_TOOLCHAIN "Unknown")
endif()
string(TOLOWER "${CMAKE_SYSTEM_NAME}" PYX_BUILD_PLATFORM)
set(PYX_BUILD_DIRECTORY ${CMAKE_BINARY_DIR})

set(PYX_GENERATED_INCLUDE_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/LibraryBuildInfo.h.in ${PYX_GENERATED_INCLUDE_DIR}/LibraryBuildInfo.h
               @ONLY)
