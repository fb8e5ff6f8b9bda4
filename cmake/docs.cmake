# Runs Doxygen over the public headers and docs/guide.md (cmake -P, with
# DOXYFILE, LOG and INCLUDE_DIR, the folder of the public headers). Every
# exported function and variable must carry a comment, and comments must be
# well-formed: either fault fails the run with the warnings printed. Types,
# macros and structure members without a comment of their own are counted,
# since they are not exports.
#
# Doxygen documents nothing of a header that lacks a file comment
# ("/** \file ... */") and then warns about none of its undocumented
# functions, so every header in INCLUDE_DIR must have one.
if(NOT INCLUDE_DIR OR NOT IS_DIRECTORY "${INCLUDE_DIR}")
  message(FATAL_ERROR "docs.cmake needs INCLUDE_DIR, the folder of the public headers")
endif()
file(GLOB headers "${INCLUDE_DIR}/*.h")
set(withoutFileComment)
foreach(header ${headers})
  file(READ ${header} text)
  if(NOT text MATCHES "/\\*[*!][ \t\r\n*]*[\\@]file[ \t\r\n]")
    get_filename_component(name ${header} NAME)
    list(APPEND withoutFileComment ${name})
  endif()
endforeach()

execute_process(COMMAND doxygen ${DOXYFILE} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "doxygen failed (${result})")
endif()
file(STRINGS ${LOG} warnings REGEX "warning:")
set(faults)
set(undocumentedTypes 0)
foreach(line ${warnings})
  if(line MATCHES "\\((variable|typedef|macro definition|enumeration|enumvalue)\\) of (struct|union|file)"
     AND NOT line MATCHES "\\(variable\\) of file")
    math(EXPR undocumentedTypes "${undocumentedTypes} + 1")
  elseif(line MATCHES "Compound .* is not documented")
    math(EXPR undocumentedTypes "${undocumentedTypes} + 1")
  else()
    list(APPEND faults "${line}")
  endif()
endforeach()
if(withoutFileComment)
  string(REPLACE ";" ", " names "${withoutFileComment}")
  list(APPEND faults "headers without a /** \\file */ comment (Doxygen skips their functions): ${names}")
endif()
if(faults)
  string(REPLACE ";" "\n" text "${faults}")
  message(FATAL_ERROR "the reference has faults:\n${text}")
endif()
message(STATUS "reference written; every exported function is documented "
               "(${undocumentedTypes} types, macros and members have no comment of their own)")
