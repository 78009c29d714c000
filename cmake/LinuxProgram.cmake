# The Linux program: the platform layer on Qt, the compiled resources linked
# in as a binary blob that the resource reader parses.
set(CMAKE_AUTOMOC ON)
find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
find_package(GTest REQUIRED)

set(STROVANE_RES ${CMAKE_BINARY_DIR}/strovane.res)
add_custom_command(
  OUTPUT ${STROVANE_RES}
  COMMAND ${STROVANE_RC_COMMAND} -O res ${STROVANE_RC} -o ${STROVANE_RES}
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/res
  DEPENDS ${STROVANE_RES_INPUTS} ${STROVANE_ICON}
  COMMENT "Compiling resource script")
add_custom_target(strovane_res DEPENDS ${STROVANE_RES})
configure_file(${CMAKE_SOURCE_DIR}/src/platform/resources/linux/program_res.S.in
               ${CMAKE_BINARY_DIR}/program_res.S @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/program_res.S PROPERTIES OBJECT_DEPENDS ${STROVANE_RES})

# Everything but the entry point, shared by the program and the tests.
add_library(strovane_core OBJECT ${STROVANE_SOURCES} ${CMAKE_BINARY_DIR}/program_res.S)
add_dependencies(strovane_core strovane_res)
target_include_directories(strovane_core PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/res)
target_link_libraries(strovane_core PUBLIC Qt6::Widgets)

add_executable(strovane src/main.cpp)
target_link_libraries(strovane PRIVATE strovane_core)
set_target_properties(strovane PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
