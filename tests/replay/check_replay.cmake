# Replays a recording headless with the real program and compares what it prints (the message
# boxes' texts and the end line) with what the bot saw when it made the recording; both files
# are written by tools/make_recordings.
#   cmake -DPROGRAM=<program> -DRECORDING=<file.rec> -DEXPECTED=<file.out> -DLANG=<ja|en>
#         -P check_replay.cmake
# The language only changes the texts: both languages end on the same line.
execute_process(COMMAND "${PROGRAM}" --lang "${LANG}" --replay "${RECORDING}" --headless
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
file(READ "${EXPECTED}" expected)
if(NOT rc EQUAL 0 OR NOT out STREQUAL expected)
  message(FATAL_ERROR "${PROGRAM} --lang ${LANG} --replay ${RECORDING} --headless: exit code ${rc}\n"
                      "printed:\n${out}${err}\nexpected:\n${expected}")
endif()
