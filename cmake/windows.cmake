# Windows build (mingw-w64 cross compiler): the shell, kelvane.exe, the Windows tests run under
# Wine, and the end-to-end scenarios.
enable_language(RC)

set(KELVANE_WIN_LIBS user32 gdi32 shell32 comctl32 comdlg32 ole32 oleaut32 uuid version advapi32 psapi)
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

add_executable(kelvane WIN32 ${PROJECT_SOURCE_DIR}/src/app/main_win.cpp ${PROJECT_SOURCE_DIR}/assets/kelvane.rc)
target_include_directories(kelvane PRIVATE ${PROJECT_BINARY_DIR}/generated)
target_compile_options(kelvane PRIVATE ${KELVANE_WARNINGS})
target_link_libraries(kelvane PRIVATE kelvane_shell)
target_link_options(kelvane PRIVATE ${KELVANE_STATIC_LINK} ${KELVANE_UNICODE_ENTRY})
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
