// A small shared object for the library loading test.
extern "C" __attribute__((visibility("default"))) int KorvenaTestTwice(int x) { return 2 * x; }
