# Replays a recording headless with the real program and compares what it prints (the message
# boxes' texts and the end line) with what the bot saw when it made the recording; both files
# are written by tools/make_recordings.
#   cmake -DPROGRAM=<program> -DRECORDING=<file.rec> -DEXPECTED=<file.out> -DLANG=<ja|en>
#         -P check_replay.cmake
# The language only changes the texts: both languages end on the same line. With -DTRACE=<file>
# the replay also writes its trace there, and must end on the same line all the same.
set(trace "")
if(TRACE)
  set(trace --trace "${TRACE}")
endif()
execute_process(COMMAND "${PROGRAM}" --lang "${LANG}" --replay "${RECORDING}" --headless ${trace}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
file(READ "${EXPECTED}" expected)
if(NOT rc EQUAL 0 OR NOT out STREQUAL expected)
  message(FATAL_ERROR "${PROGRAM} --lang ${LANG} --replay ${RECORDING} --headless: exit code ${rc}\n"
                      "printed:\n${out}${err}\nexpected:\n${expected}")
endif()
if(TRACE)
  file(STRINGS "${TRACE}" first LIMIT_COUNT 1)
  if(NOT first MATCHES "^frame 0 system scenarios/demo/scripts.tkl:[0-9]+ ")
    message(FATAL_ERROR "${TRACE} begins with '${first}'")
  endif()
endif()
