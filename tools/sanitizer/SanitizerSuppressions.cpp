// Reports about the text libraries that sanitizer builds print for every
// program that draws text; they are not faults of ours. Sanitizer builds
// compile this file into each executable, because the runtime looks these
// hooks up in the executable only.

// Fontconfig keeps its configuration and font caches for the life of the
// process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

// Pango and GLib hand work over through futex-based locks and register
// their types under locks that ThreadSanitizer cannot see.
extern "C" const char* __tsan_default_suppressions() {
  return "race:libpangoft2-1.0.so\nrace:libfontconfig.so\nrace:libpango-1.0.so\nrace:libglib-2.0.so\n"
         "deadlock:libgobject-2.0.so\n";
}
