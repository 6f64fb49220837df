// ThreadSanitizer reads these from every program that links the test kit and not GLES (whose
// definition carries the same line). cpp-httplib comes
// built without the sanitizer, so the synchronisation inside it is invisible and its workers'
// copies of its own buffers read as races: reports whose memory access is made from inside that
// library are set aside. Our code that runs on its threads is still checked.
extern "C" const char* __tsan_default_suppressions()
{
    return "race:libcpp-httplib.so\n";
}
