# artgen is portable C++ that writes the program's generated resources (sounds, icons,
# bitmaps) into ${ARTGEN_OUT}. It must run on the build machine, so a cross build
# compiles it with the host compiler instead of the target one.
set(ARTGEN_DIR ${CMAKE_SOURCE_DIR}/tools/artgen)
set(ARTGEN_LIB_SOURCES
  ${ARTGEN_DIR}/canvas.cpp
  ${ARTGEN_DIR}/glyphs.cpp
  ${ARTGEN_DIR}/image_files.cpp
  ${ARTGEN_DIR}/noise.cpp
  ${ARTGEN_DIR}/sound.cpp
  ${ARTGEN_DIR}/art_icons.cpp
  ${ARTGEN_DIR}/art_papers.cpp
  ${ARTGEN_DIR}/art_scores.cpp
  ${ARTGEN_DIR}/art_sounds.cpp
  ${ARTGEN_DIR}/art_timer.cpp
  ${ARTGEN_DIR}/art_toolbar.cpp
  ${ARTGEN_DIR}/artgen.cpp)
set(ARTGEN_HEADERS
  ${ARTGEN_DIR}/bytes.h
  ${ARTGEN_DIR}/canvas.h
  ${ARTGEN_DIR}/glyphs.h
  ${ARTGEN_DIR}/image_files.h
  ${ARTGEN_DIR}/noise.h
  ${ARTGEN_DIR}/sound.h
  ${ARTGEN_DIR}/art_common.h
  ${ARTGEN_DIR}/artwork.h)
set(ARTGEN_SOURCES ${ARTGEN_LIB_SOURCES} ${ARTGEN_DIR}/artgen_main.cpp)
set(ARTGEN_OUT ${CMAKE_BINARY_DIR}/art)

# The names artgen writes; keep in step with artFiles() in tools/artgen/artgen.cpp
# (the artgen unit test compares the two).
set(ARTGEN_FILE_NAMES
  ding.wav
  ringin.wav
  tirelmo.ico
  score_sprite.bmp
  category_squares.bmp
  category_squares_small.bmp
  not_started.bmp
  row_marker.bmp
  paper_crumpled.bmp
  paper_parchment.bmp
  classic_desk.bmp
  header_strip.bmp
  tb_start_timer.bmp
  tb_stop_timer.bmp
  tb_save.bmp
  tb_settings.bmp
  tb_previous_todo.bmp
  tb_todo_list.bmp
  tb_next_todo.bmp
  tb_move_up.bmp
  tb_move_down.bmp
  tb_help.bmp
  tb_estimated.bmp
  tb_pomodoro.bmp
  tb_abandoned.bmp
  tb_internal.bmp
  tb_external.bmp
  tb_done.bmp
  tb_share.bmp
  tb_support.bmp
  tb_projects.bmp
  tb_report.bmp
  tb_delete_entries.bmp
  timer_digits.bmp
  abandoned_gauge.bmp
  timer_tomato.ico)
# The main window's countdown icons, one for each minute left (0..25).
foreach(minute RANGE 0 25)
  if(minute LESS 10)
    list(APPEND ARTGEN_FILE_NAMES countdown_0${minute}.ico)
  else()
    list(APPEND ARTGEN_FILE_NAMES countdown_${minute}.ico)
  endif()
endforeach()
# The resource script fragment that tirelmo.rc includes.
list(APPEND ARTGEN_FILE_NAMES art_resources.rc)
list(TRANSFORM ARTGEN_FILE_NAMES PREPEND ${ARTGEN_OUT}/ OUTPUT_VARIABLE ARTGEN_FILES)

if(CMAKE_CROSSCOMPILING)
  find_program(HOST_CXX NAMES c++ g++ clang++ REQUIRED)
  set(ARTGEN_EXE ${CMAKE_BINARY_DIR}/host/artgen)
  add_custom_command(
    OUTPUT ${ARTGEN_EXE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
    COMMAND ${HOST_CXX} -std=c++20 -O2 -o ${ARTGEN_EXE} ${ARTGEN_SOURCES}
    DEPENDS ${ARTGEN_SOURCES} ${ARTGEN_HEADERS}
    COMMENT "Building artgen for the build machine"
    VERBATIM)
  set(ARTGEN_COMMAND ${ARTGEN_EXE})
  set(ARTGEN_DEPENDS ${ARTGEN_EXE})
else()
  # The library lets unit tests drive the same encoders and drawing code.
  add_library(artgen_lib STATIC ${ARTGEN_LIB_SOURCES} ${ARTGEN_HEADERS})
  target_include_directories(artgen_lib PUBLIC ${ARTGEN_DIR})
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(artgen_lib PRIVATE -Wall -Wextra)
  endif()
  list(JOIN ARTGEN_FILE_NAMES "," ARTGEN_FILE_NAMES_CSV)
  target_compile_definitions(artgen_lib INTERFACE "ARTGEN_DECLARED_FILES=\"${ARTGEN_FILE_NAMES_CSV}\"")
  add_executable(artgen ${ARTGEN_DIR}/artgen_main.cpp)
  target_link_libraries(artgen PRIVATE artgen_lib)
  set(ARTGEN_COMMAND $<TARGET_FILE:artgen>)
  set(ARTGEN_DEPENDS artgen)
endif()

add_custom_command(
  OUTPUT ${ARTGEN_FILES}
  COMMAND ${ARTGEN_COMMAND} ${ARTGEN_OUT}
  DEPENDS ${ARTGEN_DEPENDS}
  COMMENT "Generating sounds, icons and bitmaps"
  VERBATIM)
add_custom_target(art ALL DEPENDS ${ARTGEN_FILES})

# The timer finds its sounds in "sound" below the folder of Tirelmo.exe, so the
# program folder of the Windows build gets them next to bin/Tirelmo.exe.
if(WIN32)
  set(PROGRAM_SOUND_DIR ${CMAKE_BINARY_DIR}/program/bin/sound)
  add_custom_command(
    OUTPUT ${PROGRAM_SOUND_DIR}/ding.wav ${PROGRAM_SOUND_DIR}/ringin.wav
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROGRAM_SOUND_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${ARTGEN_OUT}/ding.wav ${ARTGEN_OUT}/ringin.wav ${PROGRAM_SOUND_DIR}
    DEPENDS ${ARTGEN_OUT}/ding.wav ${ARTGEN_OUT}/ringin.wav
    COMMENT "Copying the timer sounds into the program folder"
    VERBATIM)
  add_custom_target(program_sounds ALL
    DEPENDS ${PROGRAM_SOUND_DIR}/ding.wav ${PROGRAM_SOUND_DIR}/ringin.wav)
  # art generates the files first, so the two targets never run artgen side by side.
  add_dependencies(program_sounds art)
endif()
