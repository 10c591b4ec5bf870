# render writes a screen's row image as PNG; bad use fails with a message.
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CLI} new ${WORK} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "new failed (${rc}): ${err}")
endif()
set(cfg ${WORK}/DATA/demo.CFG)

# The demo's sign width is 10: 164 × 18 dots, times the scale.
foreach(case "1;1;164;18" "4;3;492;54")
    list(GET case 0 screen)
    list(GET case 1 scale)
    list(GET case 2 width)
    list(GET case 3 height)
    set(png ${WORK}/screen${screen}.png)
    execute_process(COMMAND ${CLI} render ${cfg} --screen ${screen} --out ${png} --scale ${scale}
        RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT rc EQUAL 0 OR NOT EXISTS ${png})
        message(FATAL_ERROR "render screen ${screen} failed (${rc}): ${out}${err}")
    endif()
    file(READ ${png} signature LIMIT 8 HEX)
    file(READ ${png} size OFFSET 16 LIMIT 8 HEX)
    string(SUBSTRING ${size} 0 8 wHex)
    string(SUBSTRING ${size} 8 8 hHex)
    math(EXPR w "0x${wHex}")
    math(EXPR h "0x${hHex}")
    if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT w EQUAL ${width} OR NOT h EQUAL ${height})
        message(FATAL_ERROR "screen ${screen}: ${signature}, ${w} × ${h}, wanted ${width} × ${height}")
    endif()
endforeach()

foreach(args "render;${cfg};--screen;1"
             "render;${cfg};--screen;0;--out;${WORK}/x.png"
             "render;${cfg};--screen;1;--out;${WORK}/x.png;--scale;0"
             "render;${WORK}/DATA/none.CFG;--screen;1;--out;${WORK}/x.png"
             "render;${cfg};--screen;1;--out;${WORK}/no/such/folder/x.png")
    execute_process(COMMAND ${CLI} ${args} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(rc EQUAL 0 OR err STREQUAL "")
        message(FATAL_ERROR "'${args}' should fail with a message")
    endif()
endforeach()
execute_process(COMMAND ${CLI} render --help RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "用法")
    message(FATAL_ERROR "'render --help' gave ${rc}: ${out}")
endif()
