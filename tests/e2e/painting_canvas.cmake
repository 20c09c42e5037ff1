# painting_canvas, the native composition that e2e_painting compares the screen with:
# the core and the pixel fake built with the build machine's compiler, like skin_gen.
if(NOT CMAKE_CROSSCOMPILING OR NOT SKELVO_HOST_CXX)
  return()
endif()

set(SKELVO_PAINTING_CANVAS ${CMAKE_BINARY_DIR}/tools/painting_canvas)
set(painting_canvas_sources ${SKELVO_CORE_SOURCES} ${SKELVO_FAKE_SOURCES}
    ${CMAKE_SOURCE_DIR}/tests/e2e/painting_canvas.cpp)
file(GLOB painting_canvas_headers CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/app/*.h ${CMAKE_SOURCE_DIR}/desktops/*.h
     ${CMAKE_SOURCE_DIR}/launcher/*.h ${CMAKE_SOURCE_DIR}/settings/*.h
     ${CMAKE_SOURCE_DIR}/ui/*.h ${CMAKE_SOURCE_DIR}/tests/fakes/*.h)
add_custom_command(
  OUTPUT ${SKELVO_PAINTING_CANVAS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/tools
  COMMAND ${SKELVO_HOST_CXX} -std=c++20 -O0 -fexec-charset=CP932 -I${CMAKE_SOURCE_DIR}
          -DSKELVO_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
          -o ${SKELVO_PAINTING_CANVAS} ${painting_canvas_sources} -lgtest -lpthread
  DEPENDS ${painting_canvas_sources} ${painting_canvas_headers}
  COMMENT "Building painting_canvas for the build machine"
  VERBATIM)
add_custom_target(painting_canvas ALL DEPENDS ${SKELVO_PAINTING_CANVAS})

if(TEST e2e_painting)
  set_property(TEST e2e_painting APPEND PROPERTY ENVIRONMENT
    "SKELVO_PAINTING_CANVAS=${SKELVO_PAINTING_CANVAS}" "SKELVO_SKIN_DIR=${SKELVO_SKIN_DIR}")
endif()
