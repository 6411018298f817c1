# Writes the header --version reads: the project's version and, in a git checkout, the git
# description of the sources. The header is rewritten only when its text changes, so that a build
# without a new commit compiles nothing again.
#   cmake -DSOURCE_DIR=<sources> -DVERSION=<x.y.z> -DOUTPUT=<header> -P version_header.cmake
set(description "")
find_package(Git QUIET)
if(GIT_FOUND)
  execute_process(COMMAND ${GIT_EXECUTABLE} describe --tags --always --dirty
    WORKING_DIRECTORY ${SOURCE_DIR}
    OUTPUT_VARIABLE description OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE failed ERROR_QUIET)
  if(failed)
    set(description "")
  endif()
endif()
set(text "gh02 ${VERSION}")
if(description)
  string(APPEND text " (git ${description})")
endif()
set(header "#pragma once\n// Made by cmake/version_header.cmake at every build.\n#define GH02_VERSION_TEXT \"${text}\"\n")
set(old "")
if(EXISTS ${OUTPUT})
  file(READ ${OUTPUT} old)
endif()
if(NOT old STREQUAL header)
  file(WRITE ${OUTPUT} "${header}")
endif()
