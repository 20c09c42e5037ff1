# The release: the version resource and manifest compiled into Skelvo.exe, and the `dist`
# target, which zips Skelvo.exe with the usage text as Skelvo-<version>-win64.zip in
# SKELVO_DIST_DIR (the repository's build/ by default).

set(SKELVO_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/resources/version.h.in
               ${SKELVO_GENERATED_DIR}/skelvo_version.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/resources/skelvo.manifest.in
               ${SKELVO_GENERATED_DIR}/skelvo.manifest @ONLY)
set_source_files_properties(${SKELVO_VERSION_SCRIPT} PROPERTIES
  INCLUDE_DIRECTORIES ${SKELVO_GENERATED_DIR}
  OBJECT_DEPENDS "${SKELVO_GENERATED_DIR}/skelvo_version.h;${SKELVO_GENERATED_DIR}/skelvo.manifest")

# The usage text goes out with Windows line ends; the source keeps its UTF-8 BOM.
set(SKELVO_USAGE_TEXT ${CMAKE_BINARY_DIR}/dist/Skelvo.txt)
configure_file(${CMAKE_SOURCE_DIR}/docs/Skelvo.txt ${SKELVO_USAGE_TEXT} @ONLY NEWLINE_STYLE CRLF)

set(SKELVO_DIST_DIR ${CMAKE_SOURCE_DIR}/build CACHE PATH "Where `dist` puts the zip")
set(SKELVO_DIST_ZIP ${SKELVO_DIST_DIR}/Skelvo-${PROJECT_VERSION}-win64.zip)
add_custom_target(dist
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Skelvo> ${CMAKE_BINARY_DIR}/dist/Skelvo.exe
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SKELVO_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${SKELVO_DIST_ZIP}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${SKELVO_DIST_ZIP} --format=zip Skelvo.exe Skelvo.txt
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/dist
  DEPENDS ${SKELVO_USAGE_TEXT}
  COMMENT "Packing ${SKELVO_DIST_ZIP}"
  VERBATIM)
add_dependencies(dist Skelvo)
