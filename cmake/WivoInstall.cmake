# The SDK: include/, lib/ (import libraries, CMake package) and bin/ (DLLs).
include(CMakePackageConfigHelpers)

install(TARGETS afx Wivo10u EXPORT Wivo10uTargets
  RUNTIME DESTINATION bin
  LIBRARY DESTINATION bin
  ARCHIVE DESTINATION lib)

install(DIRECTORY afx/include/ DESTINATION include FILES_MATCHING PATTERN "*.h")
install(FILES include/Wivo.h DESTINATION include)
foreach(dir ${WIVO_SUBSYSTEMS})
  # Headers shared only between a subsystem's own sources stay out of the SDK.
  install(DIRECTORY ${dir}/ DESTINATION include
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
