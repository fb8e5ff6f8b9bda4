# Checks the layering of src/:
#  - a folder includes only folders of a lower layer;
#  - a file includes another subsystem only through that subsystem's header
#    (<sub>/<sub>.h) or one of the named companions below;
#  - below calls/, nothing calls an exported function: the library uses the
#    internal names, the exports are thin entry points in calls/.
#
#   cmake -DSOURCE=<repository> -P layers_test.cmake
cmake_minimum_required(VERSION 3.20)

if(NOT SOURCE)
  message(FATAL_ERROR "usage: cmake -DSOURCE=DIR -P layers_test.cmake")
endif()

# Layers, lowest first; folders of the same layer do not include each other.
set(rank_platform 0)
set(rank_frame 1)
set(rank_model 2)
set(rank_security 3)
set(rank_text 3)
set(rank_xml 3)
set(rank_transport 4)
set(rank_qualify 4)
set(rank_menus 4)
set(rank_diag 5)
set(rank_call 6)
set(rank_calls 7)
set(folders platform frame model security text xml transport qualify menus diag call calls)

# Headers beside <sub>/<sub>.h that other subsystems may include: the heavy
# wire descriptions and the trace records built from them, which only what
# encodes, releases, copies or records those structures needs.
set(companions model/describe.h transport/describe.h security/describe_envelope.h
               diag/record_described.h)

# Names of the exported functions: every call declared in the public headers.
file(GLOB public_headers "${SOURCE}/include/zqapi/*.h")
set(exported "")
foreach(header IN LISTS public_headers)
  file(READ "${header}" text)
  string(REGEX MATCHALL "(ZQ[A-Z][A-Za-z0-9]*|FreeZQ[A-Za-z]+|FreeListZQ[A-Za-z]+|CRYPTLIB_[A-Za-z]+|Encrypt[A-Za-z]+|Decrypt[A-Za-z]+|HashPassword)\\("
         calls "${text}")
  list(APPEND exported ${calls})
endforeach()
list(APPEND exported "ZQGetClientIdentity(")  # exported by ordinal only
list(REMOVE_DUPLICATES exported)

set(failures "")
foreach(folder IN LISTS folders)
  file(GLOB_RECURSE files RELATIVE "${SOURCE}/src" "${SOURCE}/src/${folder}/*.h"
       "${SOURCE}/src/${folder}/*.cpp")
  foreach(file IN LISTS files)
    file(STRINGS "${SOURCE}/src/${file}" includes REGEX "^#include \"[a-z_]+/[a-z_]+\\.h\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([a-z_]+)/([a-z_]+\\.h)\".*" "\\1" other "${line}")
      string(REGEX REPLACE "^#include \"([a-z_]+/[a-z_]+\\.h)\".*" "\\1" header "${line}")
      if(other STREQUAL folder OR NOT DEFINED rank_${other})
        continue()  # its own parts, public headers, generated ones
      endif()
      if(NOT rank_${other} LESS rank_${folder})
        list(APPEND failures "${file} includes ${header}: ${other}/ is not below ${folder}/")
      elseif(NOT header STREQUAL "${other}/${other}.h" AND NOT header IN_LIST companions)
        list(APPEND failures "${file} includes ${header}: use ${other}/${other}.h")
      endif()
    endforeach()

    if(folder STREQUAL "calls")
      continue()
    endif()
    file(READ "${SOURCE}/src/${file}" text)
    string(REGEX REPLACE "//[^\n]*" "" text "${text}")
    foreach(call IN LISTS exported)
      string(FIND "${text}" "${call}" at)
      if(at EQUAL -1)
        continue()
      endif()
      # Only the name itself: not a longer name ending the same way, nor a
      # qualified internal one.
      string(REPLACE "(" "" name "${call}")
      string(REGEX MATCH "(^|[^A-Za-z0-9_:~])${name}\\(" bare "${text}")
      if(bare)
        list(APPEND failures "${file} calls the export ${name}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(failures)
  list(JOIN failures "\n  " report)
  message(FATAL_ERROR "Layering:\n  ${report}")
endif()
message(STATUS "Layering holds: each folder includes only lower layers through their headers")
