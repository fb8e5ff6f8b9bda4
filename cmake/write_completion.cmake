# Writes zq's bash completion, which `zq completion bash` prints, into a file
# (cmake -P, with ZQ and OUT).
execute_process(COMMAND ${ZQ} completion bash OUTPUT_FILE ${OUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE ${OUT})
  message(FATAL_ERROR "zq completion bash failed (${result})")
endif()
