# msfutil end to end: a separate program (MsfutilFixture) writes the containers with
# the library, msfutil reads, changes and checks them, and the fixture program reads
# the changed container back. Every exit code and every output is checked.
#
#   cmake -DRUNNER=... -DMSFUTIL=... -DFIXTURE=... -DWORK=... -P MsfutilEndToEnd.cmake

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

# Runs a program of the test under Wine in WORK. rc, out and err receive its exit
# code and its output without carriage returns, command what was run.
macro(run_in_work program)
  set(command ${RUNNER} ${program} ${ARGN})
  execute_process(COMMAND ${command}
    WORKING_DIRECTORY ${WORK}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  string(REPLACE "\r" "" out "${out}")
  string(REPLACE "\r" "" err "${err}")
endmacro()

# The last step went wrong: says why, with all it takes to see the cause and to run
# the step again by hand.
function(step_failed why)
  string(REPLACE ";" " " shown "${command}")
  message(SEND_ERROR "${step}: ${why}\n"
    "  command:   ${shown}\n"
    "  directory: ${WORK}\n"
    "  exit code: ${rc}\n"
    "  stdout:    [${out}]\n"
    "  stderr:    [${err}]")
endfunction()

# Runs msfutil with the arguments and expects exit code expected_rc; step, command,
# rc, out and err describe the run to the caller.
function(msfutil expected_rc)
  run_in_work(${MSFUTIL} ${ARGN})
  string(REPLACE ";" " " step "msfutil ${ARGN}")
  foreach(v step command rc out err)
    set(${v} "${${v}}" PARENT_SCOPE)
  endforeach()
  message("${step} -> ${rc}")
  if(NOT rc STREQUAL expected_rc)
    step_failed("exit code ${rc}, expected ${expected_rc}")
  endif()
endfunction()

# Runs msfutil expecting a failure with exit code expected_rc: it prints exactly one
# line, which starts with the tool's name and says why (matching pattern).
function(msfutil_fails expected_rc pattern)
  msfutil(${expected_rc} ${ARGN})
  if(NOT rc STREQUAL expected_rc)
    return()
  elseif(NOT err MATCHES "^msfutil: [^\n]*\n$")
    step_failed("not one error line")
  elseif(NOT err MATCHES "${pattern}")
    step_failed("the error line does not match [${pattern}]")
  endif()
endfunction()

# Runs msfutil expecting success and exactly this output.
function(msfutil_prints expected)
  msfutil(0 ${ARGN})
  if(rc STREQUAL 0 AND NOT out STREQUAL "${expected}")
    step_failed("output differs, expected\n[${expected}]")
  endif()
endfunction()

function(fixture command)
  run_in_work(${FIXTURE} ${command} .)
  set(step "MsfutilFixture ${command}")
  message("${step} -> ${rc}")
  if(NOT rc STREQUAL 0)
    step_failed("failed")
    message(FATAL_ERROR "the remaining steps need the fixture")
  endif()
endfunction()

fixture(write)
file(SHA256 ${WORK}/sample.msf sample_hash)
file(SHA256 ${WORK}/damaged.msf damaged_hash)

# Reading.
msfutil_prints(
"      size     offset  name
        11          8  readme
    100000         27  data
         2     100035  Grüße
         0          0  empty
         4     100045  zuletzt
" list sample.msf)

msfutil_prints("Hallo Welt\n" cat sample.msf readme)

msfutil(0 extract sample.msf data extracted.bin)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/extracted.bin ${WORK}/data.bin
  RESULT_VARIABLE same)
if(NOT same EQUAL 0)
  message(SEND_ERROR "extract data: extracted.bin differs from data.bin")
endif()

msfutil(0 check sample.msf)
if(NOT out MATCHES "container is intact\n$" OR NOT out MATCHES "dead space  0 bytes")
  step_failed("not intact or with dead space")
endif()

# Failures of the reading commands.
msfutil_fails(2 "missing.msf: no such file" list missing.msf)
msfutil_fails(2 "missing.msf: no such file" cat missing.msf readme)
msfutil_fails(3 "plain.txt: not a multi-stream container" list plain.txt)
msfutil_fails(3 "plain.txt: not a multi-stream container" check plain.txt)
msfutil_fails(4 "sample.msf: no stream named \"nothing\"" cat sample.msf nothing)
msfutil_fails(4 "no stream named \"README\"" extract sample.msf README out.bin)
if(EXISTS ${WORK}/out.bin)
  message(SEND_ERROR "extract of a missing stream left out.bin behind")
endif()
msfutil_fails(3 "damaged.msf: damaged container: the block of stream \"data\" at 27" check damaged.msf)
msfutil_fails(3 "damaged.msf: damaged container" cat damaged.msf data)
# Streams are loaded one by one: the intact ones of a damaged container still read.
msfutil_prints("Hallo Welt\n" cat damaged.msf readme)
msfutil_prints("      size     offset  name\n" list empty.bin)
msfutil_prints("empty file: a container without streams\ncontainer is intact\n" check empty.bin)
foreach(wrong "frobnicate sample.msf" "cat sample.msf")
  separate_arguments(wrong)
  msfutil(1 ${wrong})
  if(rc STREQUAL 1 AND NOT err MATCHES "usage: msfutil list ")
    step_failed("no usage text")
  endif()
endforeach()

file(SHA256 ${WORK}/sample.msf hash)
if(NOT hash STREQUAL sample_hash)
  message(SEND_ERROR "a reading command changed sample.msf")
endif()

# Changes to a damaged container are refused and leave it as it was.
msfutil_fails(3 "damaged.msf: damaged container" delete damaged.msf readme)
msfutil_fails(3 "damaged.msf: damaged container" put damaged.msf readme payload.bin)
file(SHA256 ${WORK}/damaged.msf hash)
if(NOT hash STREQUAL damaged_hash)
  message(SEND_ERROR "a refused change modified damaged.msf")
endif()

# Changing.
msfutil(0 put sample.msf readme payload.bin)
msfutil(0 put sample.msf neu payload.bin)
msfutil(0 put sample.msf leer empty.bin)
msfutil_fails(2 "missing-input.bin: no such file" put sample.msf neu missing-input.bin)
msfutil(0 delete sample.msf data)
msfutil_fails(4 "no stream named \"data\"" delete sample.msf data)
msfutil_prints("payload from a plain file\n" cat sample.msf neu)
msfutil(0 check sample.msf)
if(NOT out MATCHES "container is intact\n$")
  step_failed("not intact after the changes")
endif()
msfutil(0 list sample.msf)
if(out MATCHES "data" OR NOT out MATCHES "leer\n" OR NOT out MATCHES "neu\n")
  step_failed("wrong streams after the changes")
endif()

# A container that does not exist yet is created by put.
msfutil(0 put fresh.msf eins payload.bin)
msfutil_prints("payload from a plain file\n" cat fresh.msf eins)

# The other program reads what the tool wrote.
fixture(verify)

message("msfutil end-to-end: done")
