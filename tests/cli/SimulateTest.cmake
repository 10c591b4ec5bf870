# simulate writes an animated GIF, PNG frames and a timeline; a bad time is refused.
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CLI} new ${WORK} OUTPUT_QUIET)
set(P ${WORK}/DATA/demo.CFG)

execute_process(COMMAND ${CLI} simulate ${P} --from 1 --to 2 --out ${WORK}/run.gif
                        --frames ${WORK}/frames --timeline --at 2026-12-09T09:05:07 --seed 7
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "simulate failed (${rc}): ${err}")
endif()
file(READ ${WORK}/run.gif head LIMIT 6)
if(NOT head MATCHES "^GIF89a")
    message(FATAL_ERROR "run.gif is no GIF: ${head}")
endif()
file(GLOB frames ${WORK}/frames/*.png)
list(LENGTH frames count)
if(count LESS 10)
    message(FATAL_ERROR "only ${count} frames written")
endif()
# Screen 1 enters by moving left (164 steps of 40 ms), then stays 3 s.
foreach(want "幕   1" "3000 ms")
    string(FIND "${out}" "${want}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "timeline lacks '${want}':\n${out}")
    endif()
endforeach()

execute_process(COMMAND ${CLI} simulate ${P} --out ${WORK}/x.gif --at yesterday
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0 OR err STREQUAL "")
    message(FATAL_ERROR "a bad --at should be refused with a message")
endif()
