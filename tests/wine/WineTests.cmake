# The Windows tree's tests, run under Wine: GoogleTest built with MinGW, the contract
# checks against the real Win32 edge, the fixture program and the end-to-end tests. Every
# Wine test runs in a prefix made fresh for the run, on a private Xvfb display; both are
# CTest fixtures, set up once and torn down at the end. With SKELVO_WINE_WM, openbox runs
# on that display for the whole run, as a Wine user has a window manager (a third
# fixture); without it, only the tests that need one start it (e2e_rescue and the tests
# that borrow its setup).

set(SKELVO_WINE_DIR ${CMAKE_CURRENT_LIST_DIR})
set(SKELVO_WINE_STATE ${CMAKE_BINARY_DIR}/wine-test)
option(SKELVO_WINE_WM "Run every Wine test with openbox on its display" ON)
find_program(SKELVO_PYTHON3 python3 REQUIRED)

# Display, its window manager, then the prefix on them; torn down in the opposite order.
add_test(NAME wine_display_start
         COMMAND sh ${SKELVO_WINE_DIR}/wine-setup xvfb-start ${SKELVO_WINE_STATE})
set_tests_properties(wine_display_start PROPERTIES
  FIXTURES_SETUP wine_display LABELS wine TIMEOUT 60)
add_test(NAME wine_display_stop
         COMMAND sh ${SKELVO_WINE_DIR}/wine-setup xvfb-stop ${SKELVO_WINE_STATE})
set_tests_properties(wine_display_stop PROPERTIES
  FIXTURES_CLEANUP wine_display LABELS wine TIMEOUT 60)
set(SKELVO_WINE_SCREEN wine_display)
if(SKELVO_WINE_WM)
  add_test(NAME wine_wm_start
           COMMAND sh ${SKELVO_WINE_DIR}/wine-setup wm-start ${SKELVO_WINE_STATE})
  set_tests_properties(wine_wm_start PROPERTIES
    FIXTURES_SETUP wine_wm FIXTURES_REQUIRED wine_display LABELS wine TIMEOUT 60)
  add_test(NAME wine_wm_stop
           COMMAND sh ${SKELVO_WINE_DIR}/wine-setup wm-stop ${SKELVO_WINE_STATE})
  set_tests_properties(wine_wm_stop PROPERTIES
    FIXTURES_CLEANUP wine_wm FIXTURES_REQUIRED wine_display LABELS wine TIMEOUT 60)
  list(APPEND SKELVO_WINE_SCREEN wine_wm)
endif()
add_test(NAME wine_prefix_init
         COMMAND sh ${SKELVO_WINE_DIR}/wine-setup prefix-init ${SKELVO_WINE_STATE}
                 $<TARGET_FILE:fixture>)
set_tests_properties(wine_prefix_init PROPERTIES
  FIXTURES_SETUP wine_prefix FIXTURES_REQUIRED "${SKELVO_WINE_SCREEN}" LABELS wine TIMEOUT 180)
add_test(NAME wine_prefix_stop
         COMMAND sh ${SKELVO_WINE_DIR}/wine-setup prefix-stop ${SKELVO_WINE_STATE})
set_tests_properties(wine_prefix_stop PROPERTIES
  FIXTURES_CLEANUP wine_prefix FIXTURES_REQUIRED "${SKELVO_WINE_SCREEN}" LABELS wine TIMEOUT 60)
set(SKELVO_WINE_FIXTURES ${SKELVO_WINE_SCREEN} wine_prefix)

# A second display of two monitors, a 1024x768 primary and an 800x600 one right of it,
# with openbox and a prefix of its own, for the tests of several monitors.
set(SKELVO_WINE_STATE2 ${CMAKE_BINARY_DIR}/wine-test-two)
add_test(NAME wine2_display_start
         COMMAND sh ${SKELVO_WINE_DIR}/wine-setup xvfb-start ${SKELVO_WINE_STATE2} two)
add_test(NAME wine2_display_stop
         COMMAND sh ${SKELVO_WINE_DIR}/wine-setup xvfb-stop ${SKELVO_WINE_STATE2})
add_test(NAME wine2_wm_start
         COMMAND sh ${SKELVO_WINE_DIR}/wine-setup wm-start ${SKELVO_WINE_STATE2})
add_test(NAME wine2_wm_stop
         COMMAND sh ${SKELVO_WINE_DIR}/wine-setup wm-stop ${SKELVO_WINE_STATE2})
add_test(NAME wine2_prefix_init
         COMMAND sh ${SKELVO_WINE_DIR}/wine-setup prefix-init ${SKELVO_WINE_STATE2}
                 $<TARGET_FILE:fixture>)
add_test(NAME wine2_prefix_stop
         COMMAND sh ${SKELVO_WINE_DIR}/wine-setup prefix-stop ${SKELVO_WINE_STATE2})
set_tests_properties(wine2_display_start PROPERTIES FIXTURES_SETUP wine2_display LABELS wine TIMEOUT 60)
set_tests_properties(wine2_display_stop PROPERTIES FIXTURES_CLEANUP wine2_display LABELS wine TIMEOUT 60)
set_tests_properties(wine2_wm_start PROPERTIES
  FIXTURES_SETUP wine2_wm FIXTURES_REQUIRED wine2_display LABELS wine TIMEOUT 60)
set_tests_properties(wine2_wm_stop PROPERTIES
  FIXTURES_CLEANUP wine2_wm FIXTURES_REQUIRED wine2_display LABELS wine TIMEOUT 60)
set_tests_properties(wine2_prefix_init PROPERTIES
  FIXTURES_SETUP wine2_prefix FIXTURES_REQUIRED "wine2_display;wine2_wm" LABELS wine TIMEOUT 180)
set_tests_properties(wine2_prefix_stop PROPERTIES
  FIXTURES_CLEANUP wine2_prefix FIXTURES_REQUIRED "wine2_display;wine2_wm" LABELS wine TIMEOUT 60)
set(SKELVO_WINE_FIXTURES2 wine2_display wine2_wm wine2_prefix)

# GoogleTest from Debian's sources, for Windows; linked statically like the program.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

if(SKELVO_CONTRACT_WIN)
  add_executable(contract_win ${SKELVO_CONTRACT_WIN})
  target_link_libraries(contract_win PRIVATE skelvo_edge gtest_main)
  target_link_options(contract_win PRIVATE -static -static-libgcc -static-libstdc++)
  # Through CMAKE_CROSSCOMPILING_EMULATOR (wine-run), which reads SKELVO_WINE_STATE.
  add_test(NAME contract_win COMMAND contract_win)
  set_tests_properties(contract_win PROPERTIES
    LABELS contract TIMEOUT 300
    FIXTURES_REQUIRED "${SKELVO_WINE_FIXTURES}"
    RESOURCE_LOCK wine_desktop
    ENVIRONMENT "SKELVO_WINE_STATE=${SKELVO_WINE_STATE};SKELVO_FIXTURE=$<TARGET_FILE:fixture>")
  add_test(NAME contract_win_two COMMAND contract_win --gtest_filter=*Monitor*)
  set_tests_properties(contract_win_two PROPERTIES
    LABELS contract TIMEOUT 120
    FIXTURES_REQUIRED "${SKELVO_WINE_FIXTURES2}"
    RESOURCE_LOCK wine_desktop2
    ENVIRONMENT "SKELVO_WINE_STATE=${SKELVO_WINE_STATE2};SKELVO_CONTRACT_MONITORS=two")
endif()

file(GLOB SKELVO_FIXTURE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fixture/*_win.cpp)
add_executable(fixture ${SKELVO_FIXTURE_SOURCES})
target_link_libraries(fixture PRIVATE user32 gdi32)
target_link_options(fixture PRIVATE -static -static-libgcc -static-libstdc++)
set_target_properties(fixture PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
# The same program under a name whose windows Wine keeps from the window manager
# (AppDefaults, wine-env.sh): a window taken off the screen and back is framed anew, and
# Wine 8 may keep the new frame's passing place as the window's.
add_custom_command(TARGET fixture POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:fixture>
          ${CMAKE_BINARY_DIR}/fixture_unmanaged.exe)

# The desktop-switch timing: built here, run by hand (tests/bench/run-switch-bench.sh).
add_subdirectory(${CMAKE_SOURCE_DIR}/tests/bench ${CMAKE_BINARY_DIR}/bench)

# One CTest test per tests/e2e/test_*.py, run one at a time: they share the desktop.
# The whole label must stay under five minutes.
if(TARGET Skelvo)
  file(GLOB SKELVO_E2E_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/test_*.py)
  foreach(script IN LISTS SKELVO_E2E_SCRIPTS)
    get_filename_component(name ${script} NAME_WE)
    string(REGEX REPLACE "^test_" "e2e_" name ${name})
    add_test(NAME ${name} COMMAND ${SKELVO_PYTHON3} ${script})
    set_tests_properties(${name} PROPERTIES
      LABELS e2e TIMEOUT 120
      FIXTURES_REQUIRED "${SKELVO_WINE_FIXTURES}"
      RESOURCE_LOCK wine_desktop
      ENVIRONMENT "SKELVO_EXE=$<TARGET_FILE:Skelvo>;SKELVO_FIXTURE=$<TARGET_FILE:fixture>;SKELVO_WINE_STATE=${SKELVO_WINE_STATE};SKELVO_WINE_RUN=${SKELVO_WINE_DIR}/wine-run;SKELVO_ARTIFACTS=${CMAKE_BINARY_DIR}/e2e-artifacts;SKELVO_WINE_WM=$<BOOL:${SKELVO_WINE_WM}>")
  endforeach()
  add_test(NAME e2e_two_monitors
           COMMAND ${SKELVO_PYTHON3} ${CMAKE_SOURCE_DIR}/tests/e2e/two_monitors.py)
  set_tests_properties(e2e_two_monitors PROPERTIES
    LABELS e2e TIMEOUT 180
    FIXTURES_REQUIRED "${SKELVO_WINE_FIXTURES2}"
    RESOURCE_LOCK wine_desktop2
    ENVIRONMENT "SKELVO_EXE=$<TARGET_FILE:Skelvo>;SKELVO_FIXTURE=$<TARGET_FILE:fixture>;SKELVO_WINE_STATE=${SKELVO_WINE_STATE2};SKELVO_WINE_RUN=${SKELVO_WINE_DIR}/wine-run;SKELVO_ARTIFACTS=${CMAKE_BINARY_DIR}/e2e-artifacts;SKELVO_WINE_WM=1")
endif()
