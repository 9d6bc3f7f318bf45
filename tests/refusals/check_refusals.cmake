# The real programs given a folder, a FIFO or a device where a file belongs: each is refused
# with its exit code and one line saying what was wrong, before anything blocks or aborts.
#   cmake -DHARUVEL=<haruvel> -DTEKKEL=<tekkel> -DSCENARIO=<scenarios/demo> -DWORK=<dir>
#         -P check_refusals.cmake
file(REMOVE_RECURSE "${WORK}")
foreach(name map extra fifo)
  file(COPY "${SCENARIO}/" DESTINATION "${WORK}/${name}")
endforeach()
file(REMOVE "${WORK}/map/map.txt" "${WORK}/fifo/objects.txt")
file(MAKE_DIRECTORY "${WORK}/map/map.txt" "${WORK}/extra/extra.tkl")
execute_process(COMMAND mkfifo "${WORK}/fifo/objects.txt")

set(failures "")
# Each case: exit code, the start of standard error, then the command line.
function(expect code start)
  execute_process(COMMAND ${ARGN} TIMEOUT 60 OUTPUT_QUIET ERROR_VARIABLE err
                  RESULT_VARIABLE rc WORKING_DIRECTORY "${WORK}")
  string(FIND "${err}" "${start}" at)
  if(NOT rc STREQUAL code OR NOT at EQUAL 0)
    set(failures "${failures}\n${ARGN}: exit ${rc}, said: ${err}" PARENT_SCOPE)
  endif()
endfunction()

expect(1 "map/map.txt:1:1: not a regular file; expected" "${HARUVEL}" --scenario map --check)
expect(1 "extra/extra.tkl:1:1: not a regular file;" "${HARUVEL}" --scenario extra --check)
expect(1 "fifo/objects.txt:1:1: not a regular file;" "${HARUVEL}" --scenario fifo --check)
expect(2 "map:0: not a regular file" "${HARUVEL}" --replay map --headless)
expect(2 "/dev/zero:0: not a regular file" "${HARUVEL}" --replay /dev/zero --headless)
expect(1 "map: not a regular file" "${TEKKEL}" check map)
expect(1 "/dev/zero: not a regular file" "${TEKKEL}" run /dev/zero)
if(failures)
  message(FATAL_ERROR "refused wrongly:${failures}")
endif()
