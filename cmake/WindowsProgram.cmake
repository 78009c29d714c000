# The Windows program strovane.exe: the platform layer on the system's own
# window and storage services, the resource script compiled by windres into
# a COFF object that becomes the program's resource section, everything
# linked statically so that the program needs nothing installed beside it.
add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601)
add_link_options(-static -static-libgcc -static-libstdc++)

set(STROVANE_RES_OBJECT ${CMAKE_BINARY_DIR}/strovane_res.o)
add_custom_command(
  OUTPUT ${STROVANE_RES_OBJECT}
  COMMAND ${STROVANE_RC_COMMAND} -O coff ${STROVANE_RC} -o ${STROVANE_RES_OBJECT}
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/res
  DEPENDS ${STROVANE_RES_INPUTS} ${STROVANE_ICON}
  COMMENT "Compiling resource script into the resource section")
add_custom_target(strovane_res DEPENDS ${STROVANE_RES_OBJECT})

# The window, common-control, dialog and shell services the platform layer calls.
set(STROVANE_SYSTEM_LIBRARIES comctl32 comdlg32 gdi32 user32 kernel32 shell32)

# Everything but the entry point, shared by the program and the tests; the
# resource section goes with it, so every test program has the templates.
add_library(strovane_core OBJECT ${STROVANE_SOURCES})
add_dependencies(strovane_core strovane_res)
target_include_directories(strovane_core PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/res)
target_link_libraries(strovane_core PUBLIC ${STROVANE_RES_OBJECT} ${STROVANE_SYSTEM_LIBRARIES})

# A window program: it starts without a console window; the command line
# borrows the console it was started from (see platform/process).
add_executable(strovane WIN32 src/main.cpp)
target_link_libraries(strovane PRIVATE strovane_core)
set_target_properties(strovane PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# GoogleTest from the sources Debian ships, built with the same compiler.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
