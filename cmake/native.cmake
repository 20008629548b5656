# Native build: the portable core, its unit tests, benchmarks and the preview tool.
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB KELVANE_UNIT_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(kelvane_unit_tests ${KELVANE_UNIT_TESTS})
target_link_libraries(kelvane_unit_tests PRIVATE kelvane_core kelvane_png_file GTest::gtest GTest::gtest_main)
target_compile_options(kelvane_unit_tests PRIVATE ${KELVANE_WARNINGS})
target_compile_definitions(kelvane_unit_tests PRIVATE KELVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                           KELVANE_PREVIEW="$<TARGET_FILE:kelvane-preview>")
# The preview's own output is checked by running it.
add_dependencies(kelvane_unit_tests kelvane-preview)
gtest_discover_tests(kelvane_unit_tests DISCOVERY_TIMEOUT 60)

find_package(benchmark QUIET)
if(benchmark_FOUND)
  file(GLOB KELVANE_BENCH_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*_bench.cpp)
  add_executable(kelvane_bench ${KELVANE_BENCH_SOURCES})
  target_link_libraries(kelvane_bench PRIVATE kelvane_core benchmark::benchmark benchmark::benchmark_main)
  target_compile_options(kelvane_bench PRIVATE ${KELVANE_WARNINGS})
endif()

# Every parser of outside input under libFuzzer, each for a bounded time with a fixed seed
# (tests/fuzz/run.sh; clang builds the targets). The instrumented core is built once, by the
# fixture, before the targets run; together they take well under two minutes.
find_program(KELVANE_CLANGXX clang++)
if(KELVANE_CLANGXX)
  add_test(NAME fuzz_build COMMAND sh ${PROJECT_SOURCE_DIR}/tests/fuzz/run.sh --build)
  set_tests_properties(fuzz_build PROPERTIES TIMEOUT 900 LABELS fuzz FIXTURES_SETUP fuzz_targets)
  file(GLOB KELVANE_FUZZ_TARGETS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
  foreach(source ${KELVANE_FUZZ_TARGETS})
    get_filename_component(name ${source} NAME_WE)
    string(REGEX REPLACE "_fuzz$" "" name ${name})
    add_test(NAME fuzz_${name} COMMAND sh ${PROJECT_SOURCE_DIR}/tests/fuzz/run.sh ${name} 12)
    set_tests_properties(fuzz_${name} PROPERTIES TIMEOUT 120 LABELS fuzz FIXTURES_REQUIRED fuzz_targets)
  endforeach()
endif()
