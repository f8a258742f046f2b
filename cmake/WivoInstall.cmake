# The SDK: include/, lib/ (import libraries, CMake package) and bin/ (DLLs).
include(CMakePackageConfigHelpers)

install(TARGETS afx Wivo10u EXPORT Wivo10uTargets
  RUNTIME DESTINATION bin
  LIBRARY DESTINATION bin
  ARCHIVE DESTINATION lib)

# The headers are a component of their own, so that their names can be checked
# without a build (the SdkHeaderNames test).
install(DIRECTORY afx/include/ DESTINATION include COMPONENT Headers FILES_MATCHING PATTERN "*.h")
install(FILES include/Wivo.h DESTINATION include COMPONENT Headers)
foreach(dir ${WIVO_SUBSYSTEMS})
  # Headers shared only between a subsystem's own sources stay out of the SDK.
  install(DIRECTORY ${dir}/ DESTINATION include COMPONENT Headers
    FILES_MATCHING PATTERN "*.h" PATTERN "*Internal.h" EXCLUDE)
endforeach()

install(EXPORT Wivo10uTargets NAMESPACE Wivo10u:: DESTINATION lib/cmake/Wivo10u)
configure_package_config_file(cmake/Wivo10uConfig.cmake.in
  ${CMAKE_BINARY_DIR}/Wivo10uConfig.cmake
  INSTALL_DESTINATION lib/cmake/Wivo10u)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/Wivo10uConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/Wivo10uConfig.cmake ${CMAKE_BINARY_DIR}/Wivo10uConfigVersion.cmake
  DESTINATION lib/cmake/Wivo10u)

if(WIVO_BUILD_TESTS)
  # No installed header may be found in place of one of the compiler or of the
  # MinGW-w64 (Windows SDK) headers on a case-insensitive file system.
  set(system_dirs ${CMAKE_C_IMPLICIT_INCLUDE_DIRECTORIES} ${CMAKE_CXX_IMPLICIT_INCLUDE_DIRECTORIES})
  foreach(dir /usr/share/mingw-w64/include /usr/${WIVO_MINGW_TRIPLE}/include)
    if(IS_DIRECTORY ${dir})
      list(APPEND system_dirs ${dir})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES system_dirs)
  list(JOIN system_dirs "|" system_dirs)
  add_test(NAME SdkHeaderNames
    COMMAND ${CMAKE_COMMAND}
      -DBUILD_DIR=${CMAKE_BINARY_DIR}
      -DSDK_DIR=${CMAKE_BINARY_DIR}/sdk-headers
      -DSYSTEM_DIRS=${system_dirs}
      # MinGW-w64 carries a small afxres.h for resource scripts written for MFC;
      # the framework's own afxres.h is the one such scripts mean.
      -DALLOWED=afxres.h
      -P ${PROJECT_SOURCE_DIR}/cmake/CheckHeaderNames.cmake)
  set_tests_properties(SdkHeaderNames PROPERTIES TIMEOUT 120)
endif()

# Where the GCC runtime is linked as DLLs (i686), they go beside every program
# of the build tree and beside the library in the SDK.
if(WIVO_MINGW_RUNTIME_DLLS)
  foreach(flags CMAKE_EXE_LINKER_FLAGS CMAKE_SHARED_LINKER_FLAGS CMAKE_MODULE_LINKER_FLAGS)
    if(" ${${flags}} " MATCHES " -static ")
      message(FATAL_ERROR "${flags} links the GCC runtime statically ('${${flags}}'), "
        "which breaks exceptions between modules on this architecture; this build tree "
        "predates the shared runtime: delete ${CMAKE_BINARY_DIR} and configure again.")
    endif()
  endforeach()
  set(wivo_runtime_files "")
  foreach(dll ${WIVO_MINGW_RUNTIME_DLLS})
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
      OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    # The compiler echoes a bare name back when it does not know the file.
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
      message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not provide ${dll}")
    endif()
    get_filename_component(path "${path}" REALPATH)
    list(APPEND wivo_runtime_files "${path}")
  endforeach()
  file(COPY ${wivo_runtime_files} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  install(FILES ${wivo_runtime_files} DESTINATION bin)
endif()
