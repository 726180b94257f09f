# Hostile network input: URL texts and HTTP responses fed to the response parser in pieces.
tolvane_fuzzer(url_parse SOURCES url_parse_fuzz.cpp LIBS tolvane_net)
tolvane_fuzzer(http_response SOURCES http_response_fuzz.cpp LIBS tolvane_net)
