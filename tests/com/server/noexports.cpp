// A shared library that is no COM server: it exports none of the four
// entry points, so activation and registration through it must fail cleanly.
extern "C" __attribute__((visibility("default"))) int testNothingHere() { return 42; }
