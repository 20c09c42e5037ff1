# The release: the version resource and manifest compiled into Skelvo.exe, and the `dist`
# target, which zips the tested Skelvo.exe, stripped, with the usage text as
# Skelvo-<version>-win64.zip in SKELVO_DIST_DIR (the repository's build/ by default), its
# symbols beside it as Skelvo-<version>-win64.debug.

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
set(SKELVO_DIST_NAME Skelvo-${PROJECT_VERSION}-win64)
# Written by `make test` once every test passed on this Skelvo.exe; `dist` packs only it.
set(SKELVO_TESTED_HASH ${CMAKE_BINARY_DIR}/tested-Skelvo.exe.sha256)
# No dependency on Skelvo: a rebuild here would ship a program no test has run.
add_custom_target(dist
  COMMAND ${CMAKE_COMMAND} -D EXE=$<TARGET_FILE:Skelvo> -D TESTED=${SKELVO_TESTED_HASH}
          -D OBJCOPY=${CMAKE_OBJCOPY} -D TEXT=${SKELVO_USAGE_TEXT}
          -D ZIP=${SKELVO_DIST_DIR}/${SKELVO_DIST_NAME}.zip
          -D SYMBOLS=${SKELVO_DIST_DIR}/${SKELVO_DIST_NAME}.debug
          -D STAGE=${CMAKE_BINARY_DIR}/dist/stage -D MAX_BYTES=1572864
          -P ${CMAKE_SOURCE_DIR}/cmake/PackRelease.cmake
  DEPENDS ${SKELVO_USAGE_TEXT}
  COMMENT "Packing ${SKELVO_DIST_DIR}/${SKELVO_DIST_NAME}.zip"
  VERBATIM)
