# WivoReport end to end. The JSON form must parse and hold every section with
# plausible facts of this machine; the text form must reach a pipe and a terminal as
# UTF-8 German with its section headings; --section must restrict the output; wrong
# command lines must end with exit code 2 and a German usage text on standard error.
#
#   cmake -DRUNNER=... -DREPORT=... -DWORK=... -P WivoReportEndToEnd.cmake

cmake_minimum_required(VERSION 3.19) # string(JSON)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

set(all_sections prozessoren betriebssystem laufwerke ordner schnittstellen gebietsschema
    sitzung bildschirm zeit speicher)

# German letters as UTF-8 bytes, independent of how this file is read.
string(ASCII 195 164 a_uml)   # ä
string(ASCII 195 182 o_uml)   # ö
string(ASCII 195 188 u_uml)   # ü
string(ASCII 195 159 sz)      # ß
string(ASCII 226 128 158 quote_open)    # „
string(ASCII 226 128 156 quote_close)   # “
# What German letters turn into when UTF-8 is encoded a second time (Ã) or when a
# console reads the bytes in its OEM code page (├ of ä, ö, ü).
string(ASCII 195 131 encoded_twice)
# CMake's regular expressions have no counted repetition.
set(hex4 "[0-9A-F][0-9A-F][0-9A-F][0-9A-F]")
string(ASCII 226 148 156 read_as_oem)

# Runs the report with the arguments; out and err receive what it printed.
function(report expected_rc)
  execute_process(COMMAND ${RUNNER} ${REPORT} ${ARGN}
    WORKING_DIRECTORY ${WORK}
    RESULT_VARIABLE rc OUTPUT_VARIABLE o ERROR_VARIABLE e)
  set(out "${o}" PARENT_SCOPE)
  set(err "${e}" PARENT_SCOPE)
  string(LENGTH "${o}" n)
  message("WivoReport ${ARGN} -> ${rc}, ${n} bytes of output${e}")
  if(NOT rc EQUAL expected_rc)
    message(SEND_ERROR "WivoReport ${ARGN}: exit code ${rc}, expected ${expected_rc}\n${o}${e}")
  endif()
endfunction()

function(expect_contains text what)
  string(FIND "${text}" "${what}" pos)
  if(pos EQUAL -1)
    message(SEND_ERROR "${ARGN}: [${what}] missing from\n${text}")
  endif()
endfunction()

function(expect_lacks text what)
  string(FIND "${text}" "${what}" pos)
  if(NOT pos EQUAL -1)
    message(SEND_ERROR "${ARGN}: [${what}] should not be in\n${text}")
  endif()
endfunction()

# The value and JSON type at a path of keys and indexes in ${json}.
function(json_at value_var type_var)
  string(JSON type ERROR_VARIABLE error TYPE "${json}" ${ARGN})
  if(NOT error STREQUAL "NOTFOUND")
    message(SEND_ERROR "JSON ${ARGN}: ${error}")
    set(type "MISSING")
    set(value "")
  else()
    string(JSON value GET "${json}" ${ARGN})
  endif()
  set(${value_var} "${value}" PARENT_SCOPE)
  set(${type_var} "${type}" PARENT_SCOPE)
endfunction()

# expect_text: a non-empty text; expect_number: a number from low to high (inclusive);
# expect_type: any value of that JSON type. Each also hands out the value.
function(expect_value value_var expected low high)
  json_at(value type ${ARGN})
  if(NOT type STREQUAL expected OR (expected STREQUAL "STRING" AND value STREQUAL "")
     OR (expected STREQUAL "NUMBER" AND (value LESS low OR value GREATER high)))
    message(SEND_ERROR "${ARGN}: expected ${expected} ${low}..${high}, found ${type} [${value}]")
  endif()
  set(${value_var} "${value}" PARENT_SCOPE)
endfunction()
macro(expect_text value_var)
  expect_value(${value_var} STRING "" "" ${ARGN})
endmacro()
macro(expect_number value_var low high)
  expect_value(${value_var} NUMBER ${low} ${high} ${ARGN})
endmacro()
macro(expect_type expected)
  expect_value(ignored ${expected} "" "" ${ARGN})
endmacro()

# The top level of ${json} holds exactly the sections expected, in that order (string(JSON)
# hands out keys sorted, so the order is read from the text).
function(expect_sections expected)
  string(JSON type ERROR_VARIABLE error TYPE "${json}")
  if(NOT error STREQUAL "NOTFOUND" OR NOT type STREQUAL "OBJECT")
    message(FATAL_ERROR "${ARGN}: not a JSON object (${error}):\n${json}")
  endif()
  string(JSON n LENGTH "${json}")
  set(keys "")
  math(EXPR last "${n} - 1")
  foreach(i RANGE ${last})
    string(JSON key MEMBER "${json}" ${i})
    list(APPEND keys ${key})
  endforeach()
  set(sorted_expected ${expected})
  list(SORT keys)
  list(SORT sorted_expected)
  if(NOT keys STREQUAL sorted_expected)
    message(SEND_ERROR "${ARGN}: sections [${keys}], expected [${sorted_expected}]")
  endif()
  set(previous -1)
  foreach(key ${expected})
    string(FIND "${json}" "\n  \"${key}\": {" pos)
    if(pos LESS previous)
      message(SEND_ERROR "${ARGN}: section ${key} out of the order [${expected}]")
    endif()
    set(previous ${pos})
  endforeach()
endfunction()

# Whether a text list (JSON array) of ${json} holds an entry.
function(json_array_has var entry)
  string(JSON n LENGTH "${json}" ${ARGN})
  set(found FALSE)
  if(n GREATER 0)
    math(EXPR last "${n} - 1")
    foreach(i RANGE ${last})
      string(JSON item GET "${json}" ${ARGN} ${i})
      if(item STREQUAL entry)
        set(found TRUE)
      endif()
    endforeach()
  endif()
  set(${var} ${found} PARENT_SCOPE)
endfunction()

# A section's anzahl, in count, matches the records of its liste; last is the last index.
macro(expect_list section high)
  expect_number(count 1 ${high} ${section} anzahl)
  string(JSON listed LENGTH "${json}" ${section} liste)
  if(NOT listed EQUAL count)
    message(SEND_ERROR "${section}: anzahl ${count}, but ${listed} records")
  endif()
  math(EXPR last "${listed} - 1")
endmacro()

##########################################################################
# JSON: every section, plausible facts

string(TIMESTAMP utc_before "%Y-%m-%dT%H:%M:%SZ" UTC)
report(0 --json)
string(TIMESTAMP utc_after "%Y-%m-%dT%H:%M:%SZ" UTC)
set(json "${out}")
expect_lacks("${json}" "\r" "JSON output")
expect_sections("${all_sections}" "--json")

# Processors: each named, numbered, with a feature list that matches its feature word.
expect_list(prozessoren 1024)
foreach(i RANGE ${last})
  set(cpu prozessoren liste ${i})
  math(EXPR number "${i} + 1")
  expect_number(n ${number} ${number} ${cpu} nummer)
  expect_text(name ${cpu} name)
  if(name MATCHES "^ | $")
    message(SEND_ERROR "processor ${i}: name [${name}] has blanks around it")
  endif()
  if(i EQUAL 0)
    set(first_cpu_name "${name}")
  endif()
  expect_text(vendor ${cpu} hersteller)
  expect_text(arch ${cpu} architektur)
  if(NOT arch STREQUAL "x86")
    message(SEND_ERROR "processor ${i}: architecture [${arch}]")
  endif()
  json_at(mhz type ${cpu} taktMHz)
  if(NOT type STREQUAL "NULL")
    expect_number(mhz 50 20000 ${cpu} taktMHz)
  endif()
  expect_number(word 1 4294967295 ${cpu} merkmalswort)
  expect_type(ARRAY ${cpu} merkmale)
  string(JSON names LENGTH "${json}" ${cpu} merkmale)
  set(bits 0)
  foreach(bit RANGE 31)
    math(EXPR bit_set "(${word} >> ${bit}) & 1")
    math(EXPR bits "${bits} + ${bit_set}")
  endforeach()
  if(NOT names EQUAL bits)
    message(SEND_ERROR "processor ${i}: ${bits} feature bits in ${word}, but ${names} names")
  endif()
  # Bits whose name is the same for every vendor.
  foreach(pair "0;FPU" "4;TSC" "8;CX8" "15;CMOV" "23;MMX")
    list(GET pair 0 bit)
    list(GET pair 1 feature)
    math(EXPR bit_set "(${word} >> ${bit}) & 1")
    json_array_has(has "${feature}" ${cpu} merkmale)
    if((bit_set AND NOT has) OR (NOT bit_set AND has))
      message(SEND_ERROR "processor ${i}: bit ${bit} is ${bit_set}, name ${feature} listed: ${has}")
    endif()
  endforeach()
  expect_text(source ${cpu} merkmalsquelle)
  if(vendor STREQUAL "Advanced Micro Devices, Inc.")
    # The extended word's own bits carry AMD's names.
    math(EXPR long_mode "(${word} >> 29) & 1")
    json_array_has(has "LM" ${cpu} merkmale)
    if(NOT long_mode EQUAL 1 OR NOT has OR NOT source MATCHES "0x80000001")
      message(SEND_ERROR "AMD processor ${i}: bit 29 ${long_mode}, LM listed ${has}, source [${source}]")
    endif()
  endif()
  json_at(serial type ${cpu} seriennummer)
  if(NOT type STREQUAL "NULL" AND NOT serial MATCHES "^${hex4}-${hex4}-${hex4}-${hex4}-${hex4}-${hex4}$")
    message(SEND_ERROR "processor ${i}: serial number ${type} [${serial}]")
  endif()
endforeach()

# Operating system and GUI.
expect_text(os_name betriebssystem name)
expect_text(vendor betriebssystem hersteller)
if(NOT vendor STREQUAL "Microsoft Corporation")
  message(SEND_ERROR "betriebssystem hersteller [${vendor}]")
endif()
expect_number(code 16777216 4294967295 betriebssystem code)
expect_text(gui betriebssystem oberflaeche name)
expect_number(code 1 65535 betriebssystem oberflaeche code)

# Drives: C: is there, ready and sensible; a drive that is not ready says why.
expect_list(laufwerke 26)
set(c_found FALSE)
foreach(i RANGE ${last})
  set(drive laufwerke liste ${i})
  expect_text(letter ${drive} laufwerk)
  if(NOT letter MATCHES "^[A-Z]:$")
    message(SEND_ERROR "drive ${i}: [${letter}]")
  endif()
  expect_text(kind ${drive} art)
  json_at(ready type ${drive} bereit)
  if(NOT type STREQUAL "BOOLEAN")
    message(SEND_ERROR "drive ${letter}: bereit is ${type}")
  elseif(NOT ready)
    expect_text(reason ${drive} fehler)
  else()
    expect_number(total 1 1e20 ${drive} groesseBytes)
    expect_number(free 0 ${total} ${drive} freiBytes)
    expect_number(available 0 ${total} ${drive} verfuegbarBytes)
    expect_text(file_system ${drive} dateisystem)
    expect_text(serial ${drive} seriennummer)
    if(NOT serial MATCHES "^${hex4}-${hex4}$")
      message(SEND_ERROR "drive ${letter}: serial number [${serial}]")
    endif()
  endif()
  if(letter STREQUAL "C:")
    set(c_found TRUE)
    set(c_file_system "${file_system}")
    if(NOT ready OR NOT kind STREQUAL "Festplatte")
      message(SEND_ERROR "drive C: ready [${ready}], kind [${kind}]")
    endif()
  endif()
endforeach()
if(NOT c_found)
  message(SEND_ERROR "no drive C: in ${count} drives")
endif()

# Special folders: one entry per folder of either kind; virtual folders have no path.
string(JSON n LENGTH "${json}" ordner system)
string(JSON m LENGTH "${json}" ordner shell)
if(NOT n EQUAL 26 OR NOT m EQUAL 30)
  message(SEND_ERROR "ordner: ${n} system folders (26 expected), ${m} shell folders (30 expected)")
endif()
expect_text(windows ordner system folderWindows)
expect_text(system ordner system folderSystem)
if(NOT windows MATCHES "^[A-Z]:\\\\" OR NOT system MATCHES "^[A-Z]:\\\\.*[Ss][Yy][Ss][Tt][Ee][Mm]32$")
  message(SEND_ERROR "folderWindows [${windows}], folderSystem [${system}]")
endif()
expect_text(personal ordner shell shellPersonal)
expect_type(NULL ordner shell shellPrinters)

# Ports: lists of port names, possibly empty.
foreach(pair "seriell;COM" "parallel;LPT")
  list(GET pair 0 kind)
  list(GET pair 1 prefix)
  expect_type(ARRAY schnittstellen ${kind})
  string(JSON n LENGTH "${json}" schnittstellen ${kind})
  if(n GREATER 0)
    math(EXPR last "${n} - 1")
    foreach(i RANGE ${last})
      expect_text(port schnittstellen ${kind} ${i})
      if(NOT port MATCHES "^${prefix}[0-9]+$")
        message(SEND_ERROR "schnittstellen ${kind}: [${port}]")
      endif()
    endforeach()
  endif()
endforeach()

# The system locale in all five naming schemes.
expect_number(lcid 1 16777215 gebietsschema lcid)
expect_text(language gebietsschema sprache)
expect_text(country gebietsschema land)
foreach(scheme rfc1766 rfc4646 java icu posix)
  expect_text(name_${scheme} gebietsschema namen ${scheme})
endforeach()
if(NOT name_rfc1766 MATCHES "^[a-z]+(-[A-Za-z0-9]+)*$" OR name_java MATCHES "-")
  message(SEND_ERROR "locale names: RFC 1766 [${name_rfc1766}], Java [${name_java}]")
endif()

# User, computer, screen, time and memory.
expect_text(user sitzung benutzer)
expect_text(computer sitzung computer)
expect_number(width 1 100000 bildschirm breite)
expect_number(height 1 100000 bildschirm hoehe)
expect_number(depth 1 32 bildschirm farbtiefe)
expect_type(BOOLEAN bildschirm maus)
expect_number(buttons 0 32 bildschirm maustasten)
expect_text(local zeit lokal)
expect_text(utc zeit utc)
if(NOT local MATCHES "^[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]T[0-9][0-9]:[0-9][0-9]:[0-9][0-9]$")
  message(SEND_ERROR "zeit lokal [${local}]")
endif()
# The report's UTC clock is the machine's.
if(utc STRLESS utc_before OR utc STRGREATER utc_after)
  message(SEND_ERROR "zeit utc [${utc}] outside [${utc_before}, ${utc_after}]")
endif()
expect_number(offset -900 900 zeit utcAbstandMinuten)
expect_number(load 0 100 speicher auslastungProzent)
expect_number(physical 1 1e20 speicher physischGesamtBytes)
expect_number(physical_free 0 ${physical} speicher physischFreiBytes)

##########################################################################
# Text through a pipe: headings, German letters as UTF-8, the same facts

report(0)
set(text "${out}")
expect_lacks("${text}" "\r" "text output")
if(NOT text MATCHES "^Wivo10u")
  message(SEND_ERROR "text does not begin with the report title:\n${text}")
endif()
set(previous -1)
foreach(heading
    "Prozessoren\n-----------\n"
    "Betriebssystem und Oberfl${a_uml}che\n-----------------------------\n"
    "Laufwerke\n---------\n"
    "Spezielle Ordner\n----------------\n"
    "Schnittstellen\n--------------\n"
    "Gebietsschema\n-------------\n"
    "Benutzer und Computer\n---------------------\n"
    "Bildschirm und Maus\n-------------------\n"
    "Datum und Uhrzeit\n-----------------\n"
    "Arbeitsspeicher\n---------------\n")
  string(FIND "${text}" "\n${heading}" pos)
  if(pos EQUAL -1)
    message(SEND_ERROR "text heading [${heading}] missing from\n${text}")
  elseif(pos LESS previous)
    message(SEND_ERROR "text heading [${heading}] out of order")
  endif()
  set(previous ${pos})
endforeach()
expect_contains("${text}" "Gr${o_uml}${sz}e:" "drive size label")
expect_contains("${text}" "F${u_uml}r Sie verf${u_uml}gbar:" "drive space label")
expect_contains("${text}" "H${o_uml}he:" "screen height label")
expect_contains("${text}" "(kein Pfad)" "folder without a path")
expect_lacks("${text}" "${encoded_twice}" "text output")
expect_lacks("${text}" "${read_as_oem}" "text output")
expect_contains("${text}" "${first_cpu_name}" "processor name of the JSON form")
expect_contains("${text}" "${computer}" "computer name of the JSON form")
expect_contains("${text}" "${c_file_system}" "file system of C: of the JSON form")
expect_contains("${text}" "${name_posix}" "POSIX locale name of the JSON form")

##########################################################################
# Text on a terminal: the console gets UTF-16 and hands the terminal UTF-8

find_program(SCRIPT script)
if(SCRIPT)
  execute_process(COMMAND ${SCRIPT} -qec "'${RUNNER}' '${REPORT}' --section betriebssystem,laufwerke" /dev/null
    WORKING_DIRECTORY ${WORK}
    RESULT_VARIABLE rc OUTPUT_VARIABLE tty ERROR_VARIABLE tty_err)
  message("WivoReport on a terminal -> ${rc}")
  if(NOT rc EQUAL 0)
    message(SEND_ERROR "WivoReport on a terminal: exit code ${rc}\n${tty}${tty_err}")
  endif()
  expect_contains("${tty}" "Betriebssystem und Oberfl${a_uml}che" "terminal heading")
  expect_contains("${tty}" "Gr${o_uml}${sz}e:" "terminal size label")
  expect_lacks("${tty}" "${encoded_twice}" "terminal output")
  expect_lacks("${tty}" "${read_as_oem}" "terminal output")
  expect_lacks("${tty}" "Prozessoren" "terminal output of two chosen sections")
else()
  message("no script(1): the terminal case is not run")
endif()

##########################################################################
# Choosing sections

report(0 --section laufwerke)
expect_contains("${out}" "\nLaufwerke\n---------\n" "--section laufwerke")
foreach(other "Prozessoren" "Gebietsschema" "Arbeitsspeicher" "Spezielle Ordner")
  expect_lacks("${out}" "${other}" "--section laufwerke")
endforeach()

# Several sections come in the report's own order, whatever the order asked.
report(0 --json --section zeit --section GEBIETSSCHEMA)
set(json "${out}")
expect_sections("gebietsschema;zeit" "--section zeit --section GEBIETSSCHEMA")

report(0 --json --section=schnittstellen,ordner)
set(json "${out}")
expect_sections("ordner;schnittstellen" "--section=schnittstellen,ordner")
string(JSON n LENGTH "${json}" ordner shell)
if(NOT n EQUAL 30)
  message(SEND_ERROR "--section=schnittstellen,ordner: ${n} shell folders")
endif()

##########################################################################
# Help and wrong usage

report(0 --help)
foreach(section ${all_sections})
  expect_contains("${out}" "  ${section} " "--help")
endforeach()
expect_contains("${out}" "R${u_uml}ckgabewert" "--help")

foreach(arguments "--frobnicate" "--json;extra" "--section" "--section;nichts" "--section=prozessoren,,zeit")
  report(2 ${arguments})
  if(NOT out STREQUAL "")
    message(SEND_ERROR "${arguments}: printed a report on standard output:\n${out}")
  endif()
  expect_contains("${err}" "WivoReport: " "${arguments}")
  expect_contains("${err}" "Aufruf: WivoReport [--json]" "${arguments}")
  if(arguments STREQUAL "--frobnicate")
    expect_contains("${err}" "Unbekannte Option ${quote_open}--frobnicate${quote_close}." "${arguments}")
  elseif(arguments STREQUAL "--section;nichts")
    expect_contains("${err}" "Unbekannter Abschnitt ${quote_open}nichts${quote_close}." "${arguments}")
  endif()
endforeach()

message("WivoReport end-to-end: done")
