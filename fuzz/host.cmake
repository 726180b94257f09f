tolvane_fuzzer(state_load SOURCES state_load_fuzz.cpp LIBS tolvane_host)
