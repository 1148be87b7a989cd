// A shared object for the host's tests that is no module: it exports no entry point.
extern "C" __attribute__((visibility("default"))) int NotAnEntryPoint() { return 42; }
