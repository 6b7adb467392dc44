// Reports about the text libraries that sanitizer builds would print for
// every program that draws text; they are not faults of ours.

// Fontconfig keeps its configuration and font caches for the life of the
// process (Pango's per-thread font maps hold them).
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

// Pango matches fonts on a helper thread and hands the result over through
// GLib's futex-based locks, which ThreadSanitizer cannot see.
extern "C" const char* __tsan_default_suppressions() {
  return "race:libpangoft2-1.0.so\nrace:libfontconfig.so\nrace:libpango-1.0.so\nrace:libglib-2.0.so\n";
}
