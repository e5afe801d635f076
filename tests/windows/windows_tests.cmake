# The tests of the Windows build, run under Wine: the core tests and the simulator, the Win32
# backend's own tests, and Vortexa.scr end to end under an X server with real keys and mouse moves.
# One Wine session (prefix, X server, a Wine server that stays) serves them all.

# GoogleTest from the sources Debian ships, built with the cross compiler.
set(VORTEXA_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to build for Windows")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VORTEXA_GOOGLETEST_SOURCE} googletest EXCLUDE_FROM_ALL)
# Its sources are not ours to keep free of warnings.
set_target_properties(gtest gtest_main PROPERTIES COMPILE_OPTIONS "-w")

set(VORTEXA_WINE_SESSION ${CMAKE_CURRENT_SOURCE_DIR}/windows/wine_session.sh)
add_test(NAME wine.start COMMAND bash ${VORTEXA_WINE_SESSION} start)
add_test(NAME wine.stop COMMAND bash ${VORTEXA_WINE_SESSION} stop)
set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 400)
set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)

# Wine reaches the build's files through its drive Z:, the whole Unix file system.
function(windows_path_of unix_path result)
  string(REPLACE "/" "\\\\" path "${unix_path}")
  set(${result} "Z:${path}" PARENT_SCOPE)
endfunction()

file(GLOB VORTEXA_CORE_TEST_SOURCES CONFIGURE_DEPENDS core/*.cpp)
# These two need what only the Linux system gives them: FIFOs, devices, resource limits and the
# files and folders of another user.
list(FILTER VORTEXA_CORE_TEST_SOURCES EXCLUDE REGEX "(damaged_settings|settings_location)_test\\.cpp$")
add_executable(vortexa_core_tests ${VORTEXA_CORE_TEST_SOURCES})
target_link_libraries(vortexa_core_tests PRIVATE vortexa_headless gtest gtest_main)
windows_path_of("${CMAKE_BINARY_DIR}/src/vortexa-sim.exe" sim_path)
target_compile_definitions(vortexa_core_tests PRIVATE VORTEXA_SIM_PATH="${sim_path}")
add_dependencies(vortexa_core_tests vortexa-sim)
# One Wine process for all of them: each start of a Windows program costs a moment under Wine.
add_test(NAME core_tests COMMAND vortexa_core_tests)
set_tests_properties(core_tests PROPERTIES FIXTURES_REQUIRED wine)

# The Win32 backend's own tests: the painter, the dialog's controls, the command line.
add_executable(vortexa_win32_tests windows/win32_backend_test.cpp)
target_link_libraries(vortexa_win32_tests PRIVATE vortexa_win32 vortexa_headless gtest gtest_main)
add_test(NAME win32_tests COMMAND vortexa_win32_tests)
set_tests_properties(win32_tests PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine_display)

# Vortexa.scr end to end: real keys and mouse moves from xdotool on the session's X server.
file(GLOB VORTEXA_WINDOWS_E2E_TESTS CONFIGURE_DEPENDS windows/e2e_*.sh)
list(REMOVE_ITEM VORTEXA_WINDOWS_E2E_TESTS ${CMAKE_CURRENT_SOURCE_DIR}/windows/e2e_lib.sh)
foreach(script ${VORTEXA_WINDOWS_E2E_TESTS})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME ${name} COMMAND bash ${script} $<TARGET_FILE:Vortexa> $<TARGET_FILE:vortexa_wine_helper>)
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine_display TIMEOUT 120)
endforeach()

# The long runs of the simulator, on the Windows build's simulator under Wine.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/vortexa-sim-under-wine
  CONTENT "#!/bin/sh\nexec bash ${CMAKE_CURRENT_SOURCE_DIR}/windows/wine_run.sh $<TARGET_FILE:vortexa-sim> \"$@\"\n"
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
add_test(NAME sim.invariants
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/sim/sim_invariants.py ${CMAKE_BINARY_DIR}/vortexa-sim-under-wine)
set_tests_properties(sim.invariants PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600)

# What Vortexa.scr carries besides its code: version, icon, manifest, no debugging sections.
add_test(NAME scr.resources
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows/resources_test.sh $<TARGET_FILE:Vortexa> ${PROJECT_VERSION})

# A helper the end-to-end tests run under Wine: the monitors as the system reports them, and a
# close request to the show's window.
add_executable(vortexa_wine_helper windows/wine_helper.cpp)
target_compile_definitions(vortexa_wine_helper PRIVATE UNICODE _UNICODE)
target_link_options(vortexa_wine_helper PRIVATE -static)
