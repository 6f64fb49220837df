// ThreadSanitizer's default suppressions, compiled into every test program of the ThreadSanitizer
// build (tessel_add_test adds this file). A program has one set; it lives here alone, because a
// definition inside a static library reaches only programs that happen to pull its object in.
// Only third-party libraries built without the sanitizer are named: their own synchronisation is
// invisible to it, so their reports are about them, never about our code, which stays checked.
//  - Mesa's software rasteriser and its worker threads.
//  - cpp-httplib (the loopback fixture server): its workers' copies of its own buffers.
//  - Cairo, drawn from several threads at once (straightening draws strips of rows,
//    each through a context of its own): Cairo hands freed clips and patterns between threads
//    through lock-free pools of atomic exchanges.
extern "C" const char* __tsan_default_suppressions()
{
    return "race:swrast_dri.so\n"
           "race:libgallium\n"
           "race:libcpp-httplib.so\n"
           "race:libcairo.so.2\n";
}
