# Each subsystem adds its targets here.
qrva_add_fuzzer(fuzz_command_line SOURCES FuzzCommandLine.cpp LIBS minicad)
