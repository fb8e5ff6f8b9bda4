# Runs Doxygen over the public headers and docs/guide.md (cmake -P, with
# DOXYFILE and LOG). Every exported function and variable must carry a
# comment, and comments must be well-formed: either fault fails the run with
# the warnings printed. Types, macros and structure members without a comment
# of their own are counted, since they are not exports.
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
if(faults)
  string(REPLACE ";" "\n" text "${faults}")
  message(FATAL_ERROR "the reference has faults:\n${text}")
endif()
message(STATUS "reference written; every exported function is documented "
               "(${undocumentedTypes} types, macros and members have no comment of their own)")
