# Windows build (mingw-w64 cross compiler): the shell, kelvane.exe, the Windows tests run under
# Wine, and the end-to-end scenarios.
enable_language(RC)

# Libraries the program needs from its first instruction to its first ticks are bound at load
# time; every other system library is delay-loaded (cmake/delay_load.cmake), so a dialog or a
# menu that calls into it pays for it when it first opens, and a run that never opens one never
# does. Add a library to the second list, never to the first, unless the first tick needs it.
# comctl32 is in neither: the windows that use it load it through a handle they give back when
# they close (loadCommonControls), and a linked call would keep it loaded for the run.
set(KELVANE_WIN_LIBS user32 gdi32 shell32 advapi32 uuid)
set(KELVANE_DELAYED_WIN_LIBS comdlg32 ole32 oleaut32 version psapi windowscodecs urlmon
                             wininet uxtheme shlwapi)
include(cmake/delay_load.cmake)
if(MINGW)
  set(KELVANE_STATIC_LINK -static -static-libgcc -static-libstdc++)
  set(KELVANE_UNICODE_ENTRY -municode)
else()
  set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
  set(KELVANE_STATIC_LINK)
  set(KELVANE_UNICODE_ENTRY)
endif()

configure_file(${PROJECT_SOURCE_DIR}/assets/version.h.in ${PROJECT_BINARY_DIR}/generated/kelvane_version.h @ONLY)

add_library(kelvane_shell STATIC ${KELVANE_SHELL_SOURCES})
target_include_directories(kelvane_shell PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/assets ${PROJECT_BINARY_DIR}/generated)
target_compile_definitions(kelvane_shell PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                           _WIN32_WINNT=0x0601 WINVER=0x0601)
target_compile_options(kelvane_shell PRIVATE ${KELVANE_WARNINGS})
target_link_libraries(kelvane_shell PUBLIC kelvane_core ${KELVANE_WIN_LIBS})
kelvane_delay_load(kelvane_shell ${KELVANE_DELAYED_WIN_LIBS})

add_executable(kelvane WIN32 ${PROJECT_SOURCE_DIR}/src/app/main_win.cpp ${PROJECT_SOURCE_DIR}/assets/kelvane.rc)
target_include_directories(kelvane PRIVATE ${PROJECT_BINARY_DIR}/generated)
target_compile_options(kelvane PRIVATE ${KELVANE_WARNINGS})
target_link_libraries(kelvane PRIVATE kelvane_shell)
target_link_options(kelvane PRIVATE ${KELVANE_STATIC_LINK} ${KELVANE_UNICODE_ENTRY})

if(MINGW)
  # A lean program: each function and datum in a section of its own so the linker drops what
  # nothing calls, and optimised for size, since a tick's time goes to system calls rather than
  # to our code. Sections aligned in the file as in memory (4096), so the loader maps the image
  # instead of copying it into private memory.
  set(KELVANE_LEAN_COMPILE -Os -ffunction-sections -fdata-sections)
  foreach(target kelvane_core kelvane_shell kelvane)
    target_compile_options(${target} PRIVATE ${KELVANE_LEAN_COMPILE})
  endforeach()
  target_link_options(kelvane PRIVATE -Wl,--gc-sections -Wl,--file-alignment=4096)
  # The shipped program carries no symbols; they stay beside it in the build tree for crash
  # analysis (kelvane.exe.debug, found through the debug link). objcopy stamps the file it
  # writes with SOURCE_DATE_EPOCH, or the clock without it: a fixed 0 keeps the program the
  # same bytes however it was built, as the linker's --no-insert-timestamp does.
  find_program(KELVANE_OBJCOPY NAMES x86_64-w64-mingw32-objcopy objcopy REQUIRED)
  set(KELVANE_OBJCOPY_FIXED ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${KELVANE_OBJCOPY})
  add_custom_command(TARGET kelvane POST_BUILD
    COMMAND ${KELVANE_OBJCOPY_FIXED} --only-keep-debug $<TARGET_FILE:kelvane> $<TARGET_FILE:kelvane>.debug
    COMMAND ${KELVANE_OBJCOPY_FIXED} --strip-all --add-gnu-debuglink=$<TARGET_FILE:kelvane>.debug $<TARGET_FILE:kelvane>
    WORKING_DIRECTORY $<TARGET_FILE_DIR:kelvane>
    VERBATIM)
endif()
file(GLOB KELVANE_PICTURES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/assets/pictures/*.png)
set_source_files_properties(${PROJECT_SOURCE_DIR}/assets/kelvane.rc PROPERTIES
  OBJECT_DEPENDS "${PROJECT_SOURCE_DIR}/assets/kelvane.manifest;${PROJECT_BINARY_DIR}/generated/kelvane_version.h;${PROJECT_SOURCE_DIR}/assets/pictures.rc;${KELVANE_PICTURES}")
set_property(TARGET kelvane APPEND PROPERTY INCLUDE_DIRECTORIES ${PROJECT_SOURCE_DIR}/assets)

if(NOT CMAKE_CROSSCOMPILING)
  # Built on Windows itself: the program only; the tests here need Wine and Debian's tools.
  return()
endif()

# GoogleTest from Debian's sources, built with the cross compiler.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The shipped program stays small, stripped, mapped rather than copied, free of stream and locale
# code, and binds at start only the libraries its first ticks need.
find_program(KELVANE_OBJDUMP NAMES x86_64-w64-mingw32-objdump objdump REQUIRED)
set(KELVANE_START_DLLS kernel32 msvcrt ${KELVANE_WIN_LIBS})
list(REMOVE_ITEM KELVANE_START_DLLS uuid)
add_test(NAME lean_executable COMMAND ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:kelvane>
  -DDEBUG_FILE=$<TARGET_FILE:kelvane>.debug -DNM=${KELVANE_NM} -DOBJDUMP=${KELVANE_OBJDUMP}
  "-DSTART_LIBS=${KELVANE_START_DLLS}" -DMAX_BYTES=1048576
  -P ${PROJECT_SOURCE_DIR}/cmake/check_lean_executable.cmake)

# Every test below runs through scripts/wine-exec, which gives it a private Wine prefix and X
# display unless the caller already provides them.
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-exec)

file(GLOB KELVANE_WIN_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/win/*.cpp)
if(KELVANE_WIN_TESTS)
  add_executable(kelvane_win_tests ${KELVANE_WIN_TESTS})
  target_link_libraries(kelvane_win_tests PRIVATE kelvane_shell gtest gtest_main ws2_32)
  target_compile_options(kelvane_win_tests PRIVATE ${KELVANE_WARNINGS})
  target_link_options(kelvane_win_tests PRIVATE ${KELVANE_STATIC_LINK})
  # The test exe carries the same manifest as the program so comctl32 v6 is in force.
  target_sources(kelvane_win_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/win/win_tests.rc)
  set_source_files_properties(${PROJECT_SOURCE_DIR}/tests/win/win_tests.rc PROPERTIES
    OBJECT_DEPENDS "${PROJECT_SOURCE_DIR}/assets/pictures.rc;${KELVANE_PICTURES}")
  set_property(TARGET kelvane_win_tests APPEND PROPERTY INCLUDE_DIRECTORIES ${PROJECT_SOURCE_DIR}/assets)
  add_test(NAME win_tests COMMAND kelvane_win_tests --gtest_brief=1)
  set_tests_properties(win_tests PROPERTIES TIMEOUT 600 LABELS windows)
  # The files shared with users once more on a Western system (code page 1252), where the
  # Chinese texts have no ANSI form; those tests skip under any other code page, so a skip here
  # means the locale did not take.
  add_test(NAME win_tests_code_page_1252 COMMAND kelvane_win_tests --gtest_filter=WesternCodePage.*)
  set_tests_properties(win_tests_code_page_1252 PROPERTIES TIMEOUT 300 LABELS windows
    ENVIRONMENT "KELVANE_LOCALE=en_US.UTF-8" FAIL_REGULAR_EXPRESSION "SKIPPED")
  # Whether texts fit their controls once more at 144 DPI, which Wine takes only when a process
  # starts; the tests check that the screen has the DPI asked for.
  add_test(NAME win_tests_144_dpi COMMAND kelvane_win_tests --gtest_filter=OptionsDialogTextFit.*)
  set_tests_properties(win_tests_144_dpi PROPERTIES TIMEOUT 300 LABELS windows ENVIRONMENT "KELVANE_DPI=144")
endif()

# Small Windows programs the end-to-end scenarios use to look at the desktop as a user would.
file(GLOB KELVANE_E2E_TOOLS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/e2e/tools/*.cpp)
foreach(tool_source ${KELVANE_E2E_TOOLS})
  get_filename_component(tool ${tool_source} NAME_WE)
  add_executable(${tool} ${tool_source})
  target_link_libraries(${tool} PRIVATE kelvane_shell)
  target_compile_options(${tool} PRIVATE ${KELVANE_WARNINGS})
  target_link_options(${tool} PRIVATE ${KELVANE_STATIC_LINK} ${KELVANE_UNICODE_ENTRY})
  # A tool may carry resources of its own (a version resource, for instance) in NAME.rc.
  get_filename_component(tool_dir ${tool_source} DIRECTORY)
  if(EXISTS ${tool_dir}/${tool}.rc)
    target_sources(${tool} PRIVATE ${tool_dir}/${tool}.rc)
  endif()
endforeach()

# End-to-end scenarios: each script starts its own Xvfb and Wine prefix, so they can run in parallel.
file(GLOB KELVANE_E2E_SCENARIOS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/e2e/*.sh)
list(FILTER KELVANE_E2E_SCENARIOS EXCLUDE REGEX "/lib\\.sh$")
foreach(scenario ${KELVANE_E2E_SCENARIOS})
  get_filename_component(name ${scenario} NAME_WE)
  add_test(NAME e2e_${name} COMMAND bash ${scenario})
  set_tests_properties(e2e_${name} PROPERTIES TIMEOUT 300 LABELS e2e
    ENVIRONMENT "KELVANE_BUILD=${PROJECT_BINARY_DIR};KELVANE_SOURCE=${PROJECT_SOURCE_DIR}")
endforeach()
# The downloads, used in every way a user installs them, take longer than the other scenarios.
if(TEST e2e_package)
  set_tests_properties(e2e_package PROPERTIES TIMEOUT 600)
endif()

# Last of all, and alone: the whole program is built once more, in another folder, and its
# downloads must be the same bytes as the tree's. `ctest -LE long` leaves it out.
get_property(KELVANE_OTHER_TESTS DIRECTORY PROPERTY TESTS)
add_test(NAME package_verify COMMAND ${PROJECT_SOURCE_DIR}/scripts/package --verify)
set_tests_properties(package_verify PROPERTIES LABELS long TIMEOUT 1200 RUN_SERIAL TRUE
  DEPENDS "${KELVANE_OTHER_TESTS}")
