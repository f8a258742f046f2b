# Script behind the SdkConsumer test; every step must succeed.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  message("${out}${err}")
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}")
  endif()
endfunction()

file(REMOVE_RECURSE ${SDK_DIR} ${CONSUMER_BUILD})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${SDK_DIR})
list(TRANSFORM RUNTIME_DLLS PREPEND bin/)
foreach(expected include/afx.h include/Wivo.h lib/cmake/Wivo10u/Wivo10uConfig.cmake
                 bin/Wivo10u.dll bin/WivoAfx.dll lib/libWivo10u.dll.a lib/libWivoAfx.dll.a
                 ${RUNTIME_DLLS})
  if(NOT EXISTS ${SDK_DIR}/${expected})
    message(FATAL_ERROR "SDK lacks ${expected}")
  endif()
endforeach()
run(${CMAKE_COMMAND} -S ${CONSUMER_SOURCE} -B ${CONSUMER_BUILD}
    -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DCMAKE_PREFIX_PATH=${SDK_DIR}
    -DCMAKE_BUILD_TYPE=Release)
run(${CMAKE_COMMAND} --build ${CONSUMER_BUILD})
run(${RUNNER} ${CONSUMER_BUILD}/Consumer.exe)
