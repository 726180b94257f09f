# The game's benchmarks run the real app object through the headless test host.
if(TARGET game_test_host)
  tolvane_bench(bench_distance_field SOURCES distance_field_bench.cpp LIBS game_test_host)
  tolvane_bench(bench_play SOURCES play_bench.cpp LIBS game_test_host)
endif()
