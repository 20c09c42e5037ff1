# Script mode (cmake -P), run by the `dist` target: packs the Skelvo.exe that passed
# `make test` in this tree, never a rebuilt one. Its debug information goes into a symbols
# file beside the zip (for crash reports), linked from the exe by name and checksum; the
# zip holds the stripped exe and the usage text.
# -D EXE, TESTED (the hash file `make test` writes once every test passed), OBJCOPY, TEXT,
#    ZIP, SYMBOLS, STAGE (a scratch folder), MAX_BYTES (the shipped exe's limit).

foreach(var EXE TESTED OBJCOPY TEXT ZIP SYMBOLS STAGE MAX_BYTES)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "PackRelease: ${var} is not set")
  endif()
endforeach()
get_filename_component(EXE ${EXE} ABSOLUTE)

if(NOT EXISTS ${EXE})
  message(FATAL_ERROR "No ${EXE}: run `make test` first")
endif()
if(NOT EXISTS ${TESTED})
  message(FATAL_ERROR "${EXE} has not passed `make test` in this tree: run it first")
endif()
file(SHA256 ${EXE} built)
file(READ ${TESTED} tested)
string(REGEX MATCH "^[0-9a-f]+" tested "${tested}")
if(NOT built STREQUAL tested)
  message(FATAL_ERROR "${EXE} changed since it passed `make test` (sha256 ${built}, "
                      "tested ${tested}): run `make test` again")
endif()

get_filename_component(symbols_name ${SYMBOLS} NAME)
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
set(staged_symbols ${STAGE}/${symbols_name})
execute_process(COMMAND ${OBJCOPY} --only-keep-debug ${EXE} ${staged_symbols}
                COMMAND_ERROR_IS_FATAL ANY)
# The link is made from inside the stage, so that it names the file alone. The symbol
# table goes too: a crash address is read against the symbols file's DWARF, and the
# table alone is some 0.5 MB of the download.
execute_process(COMMAND ${OBJCOPY} --strip-all --add-gnu-debuglink=${symbols_name}
                        ${EXE} ${STAGE}/Skelvo.exe
                WORKING_DIRECTORY ${STAGE} COMMAND_ERROR_IS_FATAL ANY)
file(SIZE ${STAGE}/Skelvo.exe shipped)
if(shipped GREATER MAX_BYTES)
  message(FATAL_ERROR "The stripped Skelvo.exe is ${shipped} bytes, over ${MAX_BYTES}")
endif()
file(COPY_FILE ${TEXT} ${STAGE}/Skelvo.txt)

get_filename_component(zip_dir ${ZIP} DIRECTORY)
file(MAKE_DIRECTORY ${zip_dir})
file(REMOVE ${ZIP} ${SYMBOLS})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip Skelvo.exe Skelvo.txt
                WORKING_DIRECTORY ${STAGE} COMMAND_ERROR_IS_FATAL ANY)
file(COPY_FILE ${staged_symbols} ${SYMBOLS})
file(SIZE ${ZIP} zip_bytes)
message(STATUS "${ZIP}: ${zip_bytes} bytes, Skelvo.exe ${shipped} bytes (tested sha256 "
               "${built}); symbols in ${SYMBOLS}")
