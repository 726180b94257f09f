tolvane_fuzzer(string_load SOURCES string_load_fuzz.cpp LIBS tolvane_runtime)
tolvane_fuzzer(number_parse SOURCES number_parse_fuzz.cpp LIBS tolvane_runtime)
