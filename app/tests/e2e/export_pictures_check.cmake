# The pictures the export end-to-end test wrote, read back natively by ImageMagick: frame count,
# delays, size, and the colour of a lit and of a dark LED. Run by CTest after that test
# (-DDIR=the pictures' folder). The layer view: LED (column c, row r, layer l) covers the 7x7
# pixels from x = 4 + l * 54 + c * 8, y = 4 + r * 8; lit is red, dark pale blue (#A6CAF0).
function(expect_output what expected)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT code EQUAL 0 OR NOT out STREQUAL expected)
    message(SEND_ERROR "${what}: got '${out}' (exit ${code}) ${err}, expected '${expected}'")
  endif()
endfunction()

function(expect_pixel file x y rgb)
  expect_output("${file} at ${x},${y}" "${rgb}" convert "${DIR}/${file}" -format "%[hex:p{${x},${y}}]" info:)
endfunction()

# Frames 2 to 4 of the effect at 250 ms: LEDs 2 and 216; layer 1's first row; none.
expect_output("layers.gif frames" "25 326 56\n25 326 56\n25 326 56\n" identify -format "%T %w %h\\n" "${DIR}/layers.gif")
expect_pixel("layers.gif[0]" 15 7 "FF0000")   # LED 2 (column 1) lit
expect_pixel("layers.gif[0]" 7 7 "A6CAF0")    # LED 1 dark
expect_pixel("layers.gif[0]" 317 47 "FF0000") # LED 216 (column 5, row 5, layer 6) lit
expect_pixel("layers.gif[1]" 47 7 "FF0000")   # LED 6 lit in the row
expect_pixel("layers.gif[2]" 15 7 "A6CAF0")   # all dark
execute_process(COMMAND identify -verbose "${DIR}/layers.gif" OUTPUT_VARIABLE verbose)
string(FIND "${verbose}" "Iterations: 0" loops)
if(loops EQUAL -1)
  message(SEND_ERROR "layers.gif does not loop forever")
endif()

# The 3D view of all four frames: lit LEDs are the only pure red, and the last frame has none.
expect_output("cube.gif frames" "25 240 240\n25 240 240\n25 240 240\n25 240 240\n"
              identify -format "%T %w %h\\n" "${DIR}/cube.gif")
foreach(frame 0 3)
  execute_process(COMMAND convert "${DIR}/cube.gif[${frame}]" -format "%c" histogram:info: OUTPUT_VARIABLE colours)
  string(FIND "${colours}" "#FF0000" red)
  if(frame EQUAL 0 AND red EQUAL -1)
    message(SEND_ERROR "cube.gif frame 1 shows no lit LED")
  elseif(frame EQUAL 3 AND NOT red EQUAL -1)
    message(SEND_ERROR "cube.gif frame 4 shows a lit LED on a dark cube")
  endif()
endforeach()

# The strip: four pictures in a row, each with its number under it.
expect_output("strip.png size" "1304 72" identify -format "%w %h" "${DIR}/strip.png")
expect_pixel("strip.png" 7 7 "FF0000")     # frame 1: LED 1 lit
expect_pixel("strip.png" 333 7 "A6CAF0")   # frame 2: LED 1 dark
expect_pixel("strip.png" 341 7 "FF0000")   # frame 2: LED 2 lit
