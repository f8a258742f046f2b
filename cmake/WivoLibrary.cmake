# Wivo10u.dll: the library itself, an extension module of the framework.
set(WIVO_SUBSYSTEMS frame text files system threads hooks graphics controls dialogs)
set(WIVO_SOURCES)
foreach(dir ${WIVO_SUBSYSTEMS})
  file(GLOB s CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp ${PROJECT_SOURCE_DIR}/${dir}/*.h)
  list(APPEND WIVO_SOURCES ${s})
endforeach()

add_library(Wivo10u SHARED ${WIVO_SOURCES} ${PROJECT_SOURCE_DIR}/res/Wivo10u.rc)
set_target_properties(Wivo10u PROPERTIES PREFIX "" IMPORT_PREFIX "lib")
wivo_strict(Wivo10u)
target_compile_definitions(Wivo10u PRIVATE _AFXEXT _WIVO_IMPL)
target_include_directories(Wivo10u
  PUBLIC
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
    $<INSTALL_INTERFACE:include>
  PRIVATE ${PROJECT_SOURCE_DIR}/res)
# Public class headers sit beside their sources; the SDK flattens them into include/.
foreach(dir ${WIVO_SUBSYSTEMS})
  target_include_directories(Wivo10u PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/${dir}>)
endforeach()
target_link_libraries(Wivo10u PUBLIC afx)
file(GLOB WIVO_ICONS ${PROJECT_SOURCE_DIR}/res/*.ico)
set_source_files_properties(${PROJECT_SOURCE_DIR}/res/Wivo10u.rc PROPERTIES
  COMPILE_FLAGS "-c 65001 -I${PROJECT_SOURCE_DIR}/res -I${PROJECT_SOURCE_DIR}/afx/include"
  OBJECT_DEPENDS "${WIVO_ICONS};${PROJECT_SOURCE_DIR}/res/resource.h")
