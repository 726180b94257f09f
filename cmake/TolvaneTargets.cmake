# Helpers shared by the subsystem folders: tests, benchmarks and fuzz targets are declared
# the same way everywhere so that each folder's list stays a few lines long.

find_package(GTest QUIET)
find_package(benchmark QUIET)

# Aggregates, so the sanitizer and fuzz builds compile only what they run.
add_custom_target(unit_tests)
add_custom_target(thread_tests)
add_custom_target(fuzz_targets)

# tolvane_test(NAME SOURCES <files> LIBS <targets> [LABELS <labels>])
# Labels: "unit" runs in the sanitizer build too; "display" needs an X server (xvfb-run).
function(tolvane_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}"
    ENVIRONMENT "TOLVANE_BUILD_DIR=${CMAKE_BINARY_DIR};TOLVANE_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
  # Display tests share one X server, its windows and its focus, so a parallel ctest run
  # must never start two of them at once.
  if("display" IN_LIST T_LABELS)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK x_server)
  endif()
  if("unit" IN_LIST T_LABELS)
    add_dependencies(unit_tests ${name})
  endif()
  if("threads" IN_LIST T_LABELS)
    add_dependencies(thread_tests ${name})
  endif()
endfunction()

# tolvane_bench(NAME SOURCES <files> LIBS <targets>)
function(tolvane_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT benchmark_FOUND)
    return()
  endif()
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark Threads::Threads)
endfunction()

# tolvane_fuzzer(NAME SOURCES <files> LIBS <targets>)
# In every build the target's entry point is linked to a replay driver and run over its
# corpus folder fuzz/corpus/<name>/ as a test, so each crash once found stays a regression
# test. With TOLVANE_FUZZ (clang) a libFuzzer binary fuzz_<name> is built as well.
function(tolvane_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(replay_${name} ${F_SOURCES} ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp)
  target_link_libraries(replay_${name} PRIVATE ${F_LIBS})
  add_test(NAME replay_${name} COMMAND replay_${name} ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name})
  set_tests_properties(replay_${name} PROPERTIES LABELS "unit;fuzz")
  add_dependencies(unit_tests replay_${name})
  if(TOLVANE_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_executable(fuzz_${name} ${F_SOURCES})
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(fuzz_${name} PRIVATE ${F_LIBS})
    add_dependencies(fuzz_targets fuzz_${name})
  endif()
endfunction()
