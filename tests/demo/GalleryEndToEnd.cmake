# WivoGallery end to end. Render mode must write each picture as a bitmap file of its
# size and depth, the window as one that shows every picture 1:1, and the 8-bit picture
# as it came back from the clipboard, also in the window in place of the first one.
# Closing the window must write its placement to the profile, and the next run must
# come up there (or at its first size when the stored rectangle is off the screen).
# Wrong usage ends with exit code 2, a folder that cannot be written with 1.
#
#   cmake -DRUNNER=... -DGALLERY=... -DWORK=... -P GalleryEndToEnd.cmake

cmake_minimum_required(VERSION 3.19)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

set(picture_width 192)
set(picture_height 144)
set(depths 1 4 8 16 24 32)
set(profile_key "HKCU\\Software\\Wivo10u\\WivoGallery\\Fenster")
set(profile_value "Platzierung")

# Runs the gallery with the arguments in WORK; err receives its standard error.
function(gallery expected_rc)
  execute_process(COMMAND ${RUNNER} ${GALLERY} ${ARGN}
    WORKING_DIRECTORY ${WORK}
    RESULT_VARIABLE rc OUTPUT_VARIABLE o ERROR_VARIABLE e)
  set(err "${e}" PARENT_SCOPE)
  message("WivoGallery ${ARGN} -> ${rc}${e}")
  if(NOT rc EQUAL expected_rc)
    message(SEND_ERROR "WivoGallery ${ARGN}: exit code ${rc}, expected ${expected_rc}\n${o}${e}")
  endif()
endfunction()

# The placement text in the profile, empty when there is none.
function(read_placement var)
  execute_process(COMMAND ${RUNNER} reg query "${profile_key}" /v ${profile_value}
    OUTPUT_VARIABLE o ERROR_VARIABLE e RESULT_VARIABLE rc)
  set(value "")
  if(rc EQUAL 0 AND o MATCHES "${profile_value}[ \t]+REG_SZ[ \t]+([^\r\n]*)")
    set(value "${CMAKE_MATCH_1}")
  endif()
  set(${var} "${value}" PARENT_SCOPE)
endfunction()

function(write_placement text)
  execute_process(COMMAND ${RUNNER} reg add "${profile_key}" /v ${profile_value} /t REG_SZ
    /d "${text}" /f OUTPUT_QUIET ERROR_QUIET RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "reg add ${profile_key} failed: ${rc}")
  endif()
endfunction()

# The little-endian number of size bytes at offset in a hex dump.
function(number_at var hex offset size)
  set(value "")
  math(EXPR last "${size} - 1")
  foreach(i RANGE ${last})
    math(EXPR pos "(${offset} + ${i}) * 2")
    string(SUBSTRING "${hex}" ${pos} 2 byte)
    set(value "${byte}${value}")
  endforeach()
  math(EXPR value "0x${value}")
  set(${var} ${value} PARENT_SCOPE)
endfunction()

# Reads a bitmap file into <prefix>_hex (all of it) and <prefix>_width, _height, _bits,
# _offset (of the pixels) and _stride, and checks that it is one: "BM", a file size as
# the header says, a 40-byte header, a colour table or masks of the right size, pixels
# not all of one colour (64 samples across the rows).
function(read_bitmap prefix path)
  if(NOT EXISTS "${path}")
    message(SEND_ERROR "${path} was not written")
    return()
  endif()
  file(READ "${path}" hex HEX)
  file(SIZE "${path}" file_size)
  string(SUBSTRING "${hex}" 0 4 magic)
  number_at(bf_size "${hex}" 2 4)
  number_at(off_bits "${hex}" 10 4)
  number_at(bi_size "${hex}" 14 4)
  number_at(width "${hex}" 18 4)
  number_at(height "${hex}" 22 4)
  number_at(bits "${hex}" 28 2)
  if(bits LESS_EQUAL 8)
    math(EXPR table "4 << ${bits}")
  else()
    set(table 12)
  endif()
  math(EXPR stride "((${width} * ${bits} + 31) / 32) * 4")
  math(EXPR expected_offset "14 + 40 + ${table}")
  math(EXPR expected_size "${expected_offset} + ${stride} * ${height}")
  if(NOT magic STREQUAL "424d" OR NOT bi_size EQUAL 40 OR NOT bf_size EQUAL file_size
     OR NOT file_size EQUAL expected_size OR NOT off_bits EQUAL expected_offset)
    message(SEND_ERROR "${path}: [${magic}] ${file_size} bytes (header: ${bf_size}, "
      "expected ${expected_size}), header ${bi_size}, pixels at ${off_bits}, "
      "${width} x ${height} x ${bits}")
    return()
  endif()
  set(samples "")
  foreach(i RANGE 63)
    math(EXPR pos "(${off_bits} + (${i} * 37 % ${height}) * ${stride} + (${i} * 53 % ${stride}) / 4 * 4) * 2")
    string(SUBSTRING "${hex}" ${pos} 8 sample)
    list(APPEND samples ${sample})
  endforeach()
  list(REMOVE_DUPLICATES samples)
  list(LENGTH samples distinct)
  if(distinct LESS 4)
    message(SEND_ERROR "${path}: ${distinct} different pixel values in 64 samples")
  endif()
  foreach(field hex width height bits stride)
    set(${prefix}_${field} "${${field}}" PARENT_SCOPE)
  endforeach()
  set(${prefix}_offset ${off_bits} PARENT_SCOPE)
endfunction()

# The top row of a picture file as 32-bit pixels (blue, green, red, 0) in hex, as a
# 32-bit screen shows it. 16-bit pictures are left out: how 5 bits become 8 is the
# platform's business.
function(top_row_as_32_bits var prefix)
  set(hex "${${prefix}_hex}")
  set(bits ${${prefix}_bits})
  math(EXPR start "(${${prefix}_offset} + (${${prefix}_height} - 1) * ${${prefix}_stride}) * 2")
  math(EXPR last "${${prefix}_width} - 1")
  set(row "")
  foreach(x RANGE ${last})
    if(bits LESS_EQUAL 8)
      math(EXPR bit "${x} * ${bits}")
      math(EXPR pos "${start} + ${bit} / 8 * 2")
      string(SUBSTRING "${hex}" ${pos} 2 byte)
      math(EXPR index "(0x${byte} >> (8 - ${bits} - ${bit} % 8)) & ((1 << ${bits}) - 1)")
      math(EXPR pos "(54 + ${index} * 4) * 2")
      string(SUBSTRING "${hex}" ${pos} 6 bgr)
    else()
      math(EXPR pos "${start} + ${x} * ${bits} / 4")
      string(SUBSTRING "${hex}" ${pos} 6 bgr)
    endif()
    string(APPEND row "${bgr}00")
  endforeach()
  set(${var} "${row}" PARENT_SCOPE)
endfunction()

##########################################################################
# First run with an empty profile: the pictures, the window at its first size

execute_process(COMMAND ${RUNNER} reg delete "HKCU\\Software\\Wivo10u\\WivoGallery" /f
  OUTPUT_QUIET ERROR_QUIET)
file(MAKE_DIRECTORY ${WORK}/first)
gallery(0 /render first)
foreach(depth ${depths})
  read_bitmap(p${depth} ${WORK}/first/depth-${depth}.bmp)
  if(NOT "${p${depth}_width}x${p${depth}_height}x${p${depth}_bits}" STREQUAL
     "${picture_width}x${picture_height}x${depth}")
    message(SEND_ERROR "depth-${depth}.bmp: ${p${depth}_width} x ${p${depth}_height} x "
      "${p${depth}_bits}, expected ${picture_width} x ${picture_height} x ${depth}")
  endif()
endforeach()

read_bitmap(window ${WORK}/first/gallery.bmp)
set(first_size "${window_width}x${window_height}")
# At its first size the window shows every picture 1:1: each one's top row is in it.
foreach(depth 1 4 8 24 32)
  if(DEFINED p${depth}_hex)
    top_row_as_32_bits(row p${depth})
    string(FIND "${window_hex}" "${row}" pos)
    if(pos EQUAL -1 OR NOT window_bits EQUAL 32)
      message(SEND_ERROR "gallery.bmp (${first_size} x ${window_bits}) does not show the "
        "${depth}-bit picture 1:1")
    endif()
  endif()
endforeach()

# The 8-bit picture went through the clipboard unchanged and shows twice now, in place
# of the 1-bit one.
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/first/depth-8.bmp
  ${WORK}/first/pasted.bmp RESULT_VARIABLE differ)
read_bitmap(pasted ${WORK}/first/gallery-pasted.bmp)
if(DEFINED p8_hex AND DEFINED p1_hex)
  top_row_as_32_bits(row p8)
  string(FIND "${pasted_hex}" "${row}" first)
  string(FIND "${pasted_hex}" "${row}" last REVERSE)
  top_row_as_32_bits(row p1)
  string(FIND "${pasted_hex}" "${row}" gone)
  if(NOT differ EQUAL 0 OR first EQUAL last OR NOT gone EQUAL -1)
    message(SEND_ERROR "paste: pasted.bmp differs from depth-8.bmp (${differ}), or "
      "gallery-pasted.bmp does not show the 8-bit picture twice (${first}, ${last}) "
      "instead of the 1-bit one (${gone})")
  endif()
endif()

# Closing wrote the placement; its normal rectangle is the window's.
read_placement(placement)
if(NOT placement MATCHES "^(-?[0-9]+),(-?[0-9]+),(-?[0-9]+),(-?[0-9]+),0,1$")
  message(SEND_ERROR "placement after the first run: [${placement}]")
else()
  math(EXPR cx "${CMAKE_MATCH_3} - ${CMAKE_MATCH_1}")
  math(EXPR cy "${CMAKE_MATCH_4} - ${CMAKE_MATCH_2}")
  if(NOT "${cx}x${cy}" STREQUAL first_size)
    message(SEND_ERROR "placement [${placement}] is ${cx} x ${cy}, the window ${first_size}")
  endif()
endif()

##########################################################################
# The next runs come up where the profile says, unless that is off the screen

write_placement("100,80,740,600,0,1")
file(MAKE_DIRECTORY ${WORK}/placed)
gallery(0 /render placed)
read_bitmap(window ${WORK}/placed/gallery.bmp)
read_placement(placement)
if(NOT "${window_width}x${window_height}" STREQUAL "640x520" OR
   NOT placement STREQUAL "100,80,740,600,0,1")
  message(SEND_ERROR "placed at 100,80,740,600: window ${window_width} x ${window_height}, "
    "then placement [${placement}]")
endif()

write_placement("5000,4000,5640,4520,0,1")
file(MAKE_DIRECTORY ${WORK}/off)
gallery(0 /render off)
read_bitmap(window ${WORK}/off/gallery.bmp)
if(NOT "${window_width}x${window_height}" STREQUAL first_size)
  message(SEND_ERROR "placed off the screen: window ${window_width} x ${window_height}, "
    "expected the first size ${first_size}")
endif()

##########################################################################
# Wrong usage, a folder that cannot be written

foreach(arguments "/render" "/frobnicate" "/render;first;extra")
  gallery(2 ${arguments})
  if(NOT err MATCHES "Aufruf: WivoGallery")
    message(SEND_ERROR "${arguments}: no usage text on standard error")
  endif()
endforeach()
gallery(1 /render missing)
if(NOT err MATCHES "missing" OR EXISTS ${WORK}/missing)
  message(SEND_ERROR "/render missing: [${err}]")
endif()

message("WivoGallery end-to-end: done")
