# The skin: tools/skin_gen draws the panel bitmaps and the emblem icons into
# SKELVO_SKIN_DIR; resources/skelvo.rc embeds them in Skelvo.exe. The generator always runs
# on the build machine, so a cross build compiles it with the host's compiler.

set(SKELVO_SKIN_DIR ${CMAKE_BINARY_DIR}/skin)
set(SKELVO_RESOURCE_SCRIPT ${CMAKE_SOURCE_DIR}/resources/skelvo.rc)

set(skin_generator_source ${CMAKE_SOURCE_DIR}/tools/skin_gen.cpp)
set(skin_files
  MAINSELECT.bmp MAINLANCHER.bmp SELECTER.bmp MAINFLAME.bmp FLAMEMASK.bmp
  INFO_OFF.bmp OWN_OFF.bmp OWN_ON.bmp emblem_lettered.ico emblem.ico)
list(TRANSFORM skin_files PREPEND ${SKELVO_SKIN_DIR}/ OUTPUT_VARIABLE SKELVO_SKIN_FILES)

if(CMAKE_CROSSCOMPILING)
  find_program(SKELVO_HOST_CXX NAMES c++ g++ clang++ REQUIRED
               DOC "C++ compiler for tools that run on the build machine")
  set(skin_generator ${CMAKE_BINARY_DIR}/tools/skin_gen)
  add_custom_command(
    OUTPUT ${skin_generator}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/tools
    COMMAND ${SKELVO_HOST_CXX} -std=c++20 -O2 -o ${skin_generator} ${skin_generator_source}
    DEPENDS ${skin_generator_source}
    COMMENT "Building the skin generator for the build machine"
    VERBATIM)
  set(skin_generator_depends ${skin_generator})
else()
  add_executable(skin_gen ${skin_generator_source})
  set(skin_generator $<TARGET_FILE:skin_gen>)
  set(skin_generator_depends skin_gen)
endif()

add_custom_command(
  OUTPUT ${SKELVO_SKIN_FILES}
  COMMAND ${skin_generator} ${SKELVO_SKIN_DIR}
  DEPENDS ${skin_generator_depends}
  COMMENT "Drawing the skin"
  VERBATIM)
add_custom_target(skin_resources DEPENDS ${SKELVO_SKIN_FILES})

if(WIN32)
  # windres finds the generated pictures through the include path, and the script is
  # compiled again whenever they change.
  set_source_files_properties(${SKELVO_RESOURCE_SCRIPT} PROPERTIES
    INCLUDE_DIRECTORIES ${SKELVO_SKIN_DIR}
    OBJECT_DEPENDS "${SKELVO_SKIN_FILES}")
endif()
