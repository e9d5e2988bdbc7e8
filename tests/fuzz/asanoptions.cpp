// Linked into every fuzz target. AddressSanitizer holds freed memory back for a while (256 MB
// of it by default) to catch uses after free. Each input's memory is freed once the input is
// done, so a smaller hold catches the same faults, and the run's memory limit then measures
// what the readers take rather than what the sanitizer holds back.
extern "C" const char *__asan_default_options()
{
    return "quarantine_size_mb=32";
}
