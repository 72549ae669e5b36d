# artgen is portable C++ that writes the program's generated resources (sounds, icons,
# bitmaps) into ${ARTGEN_OUT}. It must run on the build machine, so a cross build
# compiles it with the host compiler instead of the target one.
set(ARTGEN_SOURCES ${CMAKE_SOURCE_DIR}/tools/artgen/artgen.cpp)
set(ARTGEN_OUT ${CMAKE_BINARY_DIR}/art)

if(CMAKE_CROSSCOMPILING)
  find_program(HOST_CXX NAMES c++ g++ clang++ REQUIRED)
  set(ARTGEN_EXE ${CMAKE_BINARY_DIR}/host/artgen)
  add_custom_command(
    OUTPUT ${ARTGEN_EXE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
    COMMAND ${HOST_CXX} -std=c++20 -O2 -o ${ARTGEN_EXE} ${ARTGEN_SOURCES}
    DEPENDS ${ARTGEN_SOURCES} ${CMAKE_SOURCE_DIR}/tools/artgen/artgen_parts.h
    COMMENT "Building artgen for the build machine")
  set(ARTGEN_COMMAND ${ARTGEN_EXE})
  set(ARTGEN_DEPENDS ${ARTGEN_EXE})
else()
  add_executable(artgen ${ARTGEN_SOURCES})
  set(ARTGEN_COMMAND $<TARGET_FILE:artgen>)
  set(ARTGEN_DEPENDS artgen)
endif()

# The list of files artgen writes; keep in step with tools/artgen/artgen.cpp.
set(ARTGEN_FILES
  ${ARTGEN_OUT}/ding.wav
  ${ARTGEN_OUT}/ringin.wav
  ${ARTGEN_OUT}/tirelmo.ico
  ${ARTGEN_OUT}/vornel.ico
  ${ARTGEN_OUT}/vornel_small.ico)

add_custom_command(
  OUTPUT ${ARTGEN_FILES}
  COMMAND ${ARTGEN_COMMAND} ${ARTGEN_OUT}
  DEPENDS ${ARTGEN_DEPENDS}
  COMMENT "Generating sounds and icons")
add_custom_target(art ALL DEPENDS ${ARTGEN_FILES})
