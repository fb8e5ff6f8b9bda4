# Runs the message-number generator on small catalogs: what it accepts and
# the annotations it must refuse rather than name the wrong message.
#
#   cmake -DGENERATOR=cmake/message_numbers.cmake -DWORK=DIR -P message_numbers_test.cmake
cmake_minimum_required(VERSION 3.20)

if(NOT GENERATOR OR NOT WORK)
  message(FATAL_ERROR "usage: cmake -DGENERATOR=FILE -DWORK=DIR -P message_numbers_test.cmake")
endif()
file(MAKE_DIRECTORY "${WORK}")

# Runs the generator on TEXT; sets RESULT (exit status), OUTPUT_TEXT, ERROR_TEXT.
function(generate text)
  file(WRITE "${WORK}/case.msg" "${text}")
  file(REMOVE "${WORK}/case.h")
  execute_process(COMMAND "${CMAKE_COMMAND}" -DCATALOG=${WORK}/case.msg -DOUTPUT=${WORK}/case.h
                          -P "${GENERATOR}"
                  RESULT_VARIABLE result ERROR_VARIABLE error)
  set(header "")
  if(EXISTS "${WORK}/case.h")
    file(READ "${WORK}/case.h" header)
  endif()
  set(RESULT "${result}" PARENT_SCOPE)
  set(OUTPUT_TEXT "${header}" PARENT_SCOPE)
  # CMake wraps long errors: compare them with the line breaks folded.
  string(REGEX REPLACE "[ \t\r\n]+" " " error "${error}")
  set(ERROR_TEXT "${error}" PARENT_SCOPE)
endfunction()

function(expect_header what text)
  generate("${text}")
  set(ok TRUE)
  if(NOT RESULT EQUAL 0)
    set(ok FALSE)
  endif()
  foreach(line IN LISTS ARGN)
    string(FIND "${OUTPUT_TEXT}" "${line}" at)
    if(at EQUAL -1)
      set(ok FALSE)
    endif()
  endforeach()
  if(NOT ok)
    message(SEND_ERROR "${what}: expected a header with ${ARGN}\n${ERROR_TEXT}${OUTPUT_TEXT}")
  endif()
endfunction()

function(expect_refused what text reason)
  generate("${text}")
  string(FIND "${ERROR_TEXT}" "${reason}" at)
  if(RESULT EQUAL 0 OR at EQUAL -1)
    message(SEND_ERROR "${what}: expected a refusal with \"${reason}\", got ${RESULT}\n${ERROR_TEXT}")
  endif()
endfunction()

set(head "$quote \"\n$set 1\n")

# A ';' or an unbalanced '[' in a text must not disturb the lines after it.
expect_header("set 1 and set 20"
  "${head}$ @name NoMemory\n154 \"Out; of [memory\"\n$ @name Next\n155 \"x\"\n99 \"y\"\n$set 20\n$ @name Extension\n1005 \"z\"\n"
  "kMsgNoMemory = 154,\n"
  "kMsgNext = 155,\n"
  "kMsgExtension = 120005,\n"
  "{kMsgNoMemory, \"kMsgNoMemory\"},")
expect_header("leading zeros are not octal" "${head}$ @name Ten\n010 \"ten\"\n" "kMsgTen = 10,")

expect_refused("blank line between name and message"
  "${head}$ @name NoMemory\n\n154 \"Out of memory\"\n" "directly above its message")
expect_refused("comment between name and message"
  "${head}$ @name NoMemory\n$ a comment\n154 \"Out of memory\"\n" "directly above its message")
expect_refused("name at the end" "${head}154 \"Out; of memory\"\n$ @name NoMemory\n"
  "case.msg:4: the name NoMemory must stand directly above its message")
expect_refused("two names for one message"
  "${head}$ @name NoMemory\n$ @name OutOfMemory\n154 \"Out of memory\"\n" "above another name")
expect_refused("name used twice"
  "${head}$ @name Failed\n154 \"a\"\n$ @name Failed\n155 \"b\"\n" "used twice")
expect_refused("message named twice"
  "${head}$ @name First\n154 \"a\"\n$ @name Second\n154 \"b\"\n" "has two names")
expect_refused("malformed name" "${head}$ @name no_memory\n154 \"a\"\n" "a name line reads")
expect_refused("unknown annotation" "${head}$ @nmae NoMemory\n154 \"a\"\n" "a name line reads")
expect_refused("name in another set" "$set 2\n$ @name Like\n21 \"LIKE\"\n" "only messages of set 1")
expect_refused("set 20 out of range" "$set 20\n$ @name Far\n2000 \"x\"\n" "set 20 holds")
expect_refused("set 1 in the set-20 range" "${head}$ @name Ext\n120005 \"x\"\n" "live in set 20")
expect_refused("message without text" "${head}$ @name Gone\n154\n" "without a text")
expect_refused("message with empty text" "${head}$ @name Gone\n154 \"\"\n" "without a text")
