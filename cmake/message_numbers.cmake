# Generates the enumeration of message numbers from the message catalog.
#
#   cmake -DCATALOG=catalog/zqsystem.msg -DOUTPUT=gen/frame/message_numbers.h
#         -P cmake/message_numbers.cmake
#
# A message gets its name from the comment line directly above it, which
# gencat ignores:
#
#   $ @name NoMemory
#   154 "Out of memory"
#
# gives zq::kMsgNoMemory = 154. Names are allowed in set 1 (entry N is message
# N) and set 20 (entry N is message N + 119000). A name that does not stand
# directly above a message, a name used twice and a message named twice stop
# the build. The header holds names and numbers only and is rewritten only
# when it changes, so editing a text does not rebuild the library.
cmake_minimum_required(VERSION 3.20)

if(NOT CATALOG OR NOT OUTPUT)
  message(FATAL_ERROR "usage: cmake -DCATALOG=FILE -DOUTPUT=FILE -P message_numbers.cmake")
endif()

file(READ "${CATALOG}" content)
# CMake lists split on ";" and treat brackets specially: hide them while the
# text is a list of lines.
string(REPLACE "\r" "" content "${content}")
string(REPLACE ";" "@SEMICOLON@" content "${content}")
string(REPLACE "[" "@OPEN@" content "${content}")
string(REPLACE "]" "@CLOSE@" content "${content}")
string(REPLACE "\n" ";" lines "${content}")

set(line_number 0)
set(current_set "")
set(pending_name "")
set(pending_line 0)
set(seen_names "")
set(seen_numbers "")
set(enumerators "")
set(table "")

foreach(line IN LISTS lines)
  math(EXPR line_number "${line_number} + 1")
  set(where "${CATALOG}:${line_number}")

  if(line MATCHES "^\\$[ \t]+@")
    if(NOT line MATCHES "^\\$[ \t]+@name[ \t]+([A-Z][A-Za-z0-9]*)[ \t]*$")
      message(FATAL_ERROR "${where}: a name line reads \"$ @name Name\" (a capital letter, "
                          "then letters and digits): ${line}")
    endif()
    if(pending_name)
      message(FATAL_ERROR "${where}: the name ${pending_name} of line ${pending_line} "
                          "stands above another name, not above a message")
    endif()
    set(pending_name "${CMAKE_MATCH_1}")
    set(pending_line ${line_number})
    continue()
  endif()

  if(line MATCHES "^\\$set[ \t]+([0-9]+)")
    set(current_set "${CMAKE_MATCH_1}")
  endif()

  if(NOT pending_name)
    continue()
  endif()

  if(NOT line MATCHES "^([0-9]+)([ \t]+(.*))?$")
    message(FATAL_ERROR "${CATALOG}:${pending_line}: the name ${pending_name} must stand "
                        "directly above its message")
  endif()
  set(entry "${CMAKE_MATCH_1}")
  string(STRIP "${CMAKE_MATCH_3}" text)
  if(text STREQUAL "" OR text STREQUAL "\"\"")
    message(FATAL_ERROR "${where}: ${pending_name} names a message without a text")
  endif()
  # Leading zeros would make the header's number octal.
  string(REGEX REPLACE "^0+([0-9])" "\\1" entry "${entry}")

  if(current_set STREQUAL "1")
    if(entry GREATER_EQUAL 120000 AND entry LESS_EQUAL 120999)
      message(FATAL_ERROR "${where}: messages 120000 to 120999 live in set 20")
    endif()
    set(number ${entry})
  elseif(current_set STREQUAL "20")
    if(entry LESS 1000 OR entry GREATER 1999)
      message(FATAL_ERROR "${where}: set 20 holds entries 1000 to 1999 (messages 120000 to 120999)")
    endif()
    math(EXPR number "${entry} + 119000")
  else()
    message(FATAL_ERROR "${where}: ${pending_name} names an entry of set '${current_set}'; "
                        "only messages of set 1 and set 20 have names")
  endif()

  if("${pending_name}" IN_LIST seen_names)
    message(FATAL_ERROR "${where}: the name ${pending_name} is used twice")
  endif()
  if("${number}" IN_LIST seen_numbers)
    message(FATAL_ERROR "${where}: message ${number} has two names")
  endif()
  list(APPEND seen_names "${pending_name}")
  list(APPEND seen_numbers "${number}")

  string(APPEND enumerators "  kMsg${pending_name} = ${number},\n")
  string(APPEND table "    {kMsg${pending_name}, \"kMsg${pending_name}\"},\n")
  set(pending_name "")
endforeach()

if(pending_name)
  message(FATAL_ERROR "${CATALOG}:${pending_line}: the name ${pending_name} must stand "
                      "directly above its message")
endif()
if(NOT seen_names)
  message(FATAL_ERROR "${CATALOG}: no message has a name")
endif()

file(WRITE "${OUTPUT}.tmp"
     "// Generated from catalog/zqsystem.msg by cmake/message_numbers.cmake: name a\n"
     "// message in the catalog (\"$ @name Name\" above it), not here.\n"
     "#pragma once\n"
     "\n"
     "#include <cstdint>\n"
     "\n"
     "namespace zq {\n"
     "\n"
     "enum Message : int32_t {\n"
     "${enumerators}"
     "};\n"
     "\n"
     "// Every named message, for checks that walk them all.\n"
     "struct MessageName {\n"
     "  Message number;\n"
     "  const char* name;\n"
     "};\n"
     "inline constexpr MessageName kMessageNames[] = {\n"
     "${table}"
     "};\n"
     "\n"
     "}  // namespace zq\n")
configure_file("${OUTPUT}.tmp" "${OUTPUT}" COPYONLY)
file(REMOVE "${OUTPUT}.tmp")
