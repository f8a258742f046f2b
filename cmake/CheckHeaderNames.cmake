# Script behind the SdkHeaderNames test. Installs the SDK headers and fails when one
# of them has the name of a header of the compiler or the platform, case ignored: an
# application puts the SDK's include/ ahead of the system directories, so on Windows
# such a header would be included in place of the system one (Locale.h for <locale.h>).
#
#   cmake -DBUILD_DIR=<build tree> -DSDK_DIR=<scratch prefix>
#         -DSYSTEM_DIRS=<dir>|<dir>... [-DALLOWED=<name>|<name>...] -P CheckHeaderNames.cmake
#
# ALLOWED names headers that replace the system's copy on purpose.
cmake_minimum_required(VERSION 3.20)

foreach(var BUILD_DIR SDK_DIR SYSTEM_DIRS)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "CheckHeaderNames: ${var} is not set")
  endif()
endforeach()
string(REPLACE "|" ";" system_dirs "${SYSTEM_DIRS}")
string(REPLACE "|" ";" allowed "${ALLOWED}")
string(TOLOWER "${allowed}" allowed)

file(REMOVE_RECURSE ${SDK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${SDK_DIR} --component Headers
  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "CheckHeaderNames: installing the headers failed (${rc}): ${err}")
endif()

# Names are compared as they are written in an #include, relative to their
# directory: include/Foo.h meets <foo.h>, and sys/Stat.h would meet <sys/stat.h>.
file(GLOB_RECURSE ours RELATIVE ${SDK_DIR}/include ${SDK_DIR}/include/*)
list(LENGTH ours nOurs)
if(nOurs EQUAL 0)
  message(FATAL_ERROR "CheckHeaderNames: no header was installed under ${SDK_DIR}/include")
endif()

# Lower-cased names of all system headers, directory by directory; the paths are
# looked up again only for a collision.
set(system_names)
foreach(dir ${system_dirs})
  if(NOT IS_DIRECTORY ${dir})
    message(FATAL_ERROR "CheckHeaderNames: system include directory ${dir} does not exist")
  endif()
  file(GLOB_RECURSE names RELATIVE ${dir} ${dir}/*)
  string(TOLOWER "${names}" names)
  list(APPEND system_names ${names})
endforeach()
# Without these the directories are not what they claim to be, and no collision
# could ever be found.
foreach(must windows.h locale.h string)
  if(NOT must IN_LIST system_names)
    message(FATAL_ERROR "CheckHeaderNames: <${must}> is in none of ${system_dirs}")
  endif()
endforeach()

set(collisions)
set(seen)
foreach(name ${ours})
  string(TOLOWER "${name}" lower)
  if(lower IN_LIST seen)
    list(APPEND collisions "include/${name} differs from another SDK header only in case")
  endif()
  list(APPEND seen "${lower}")
  if(lower IN_LIST allowed)
    continue()
  endif()
  if(lower IN_LIST system_names)
    foreach(dir ${system_dirs})
      file(GLOB_RECURSE names RELATIVE ${dir} ${dir}/*)
      string(TOLOWER "${names}" lower_names)
      list(FIND lower_names "${lower}" i)
      if(i GREATER_EQUAL 0)
        list(GET names ${i} theirs)
        list(APPEND collisions "include/${name} has the name of ${dir}/${theirs}")
      endif()
    endforeach()
  endif()
endforeach()

if(collisions)
  list(JOIN collisions "\n  " text)
  message(FATAL_ERROR "SDK header names collide, case ignored:\n  ${text}")
endif()
list(LENGTH system_names nSystem)
message("header names: ${nOurs} SDK headers, none among ${nSystem} system headers")
