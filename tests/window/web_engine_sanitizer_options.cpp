// The window under AddressSanitizer also runs the web engine and fontconfig, which are not built
// with the sanitizer: the engine's teardown of a page frees an object through a base class of
// another size, and both keep memory until the process ends. Those are theirs; the program's own
// code is checked in full.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __asan_default_options() {
    return "new_delete_type_mismatch=0";
}

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libQt6WebEngineCore.so\n"
           "leak:libfontconfig.so\n";
}
#endif
