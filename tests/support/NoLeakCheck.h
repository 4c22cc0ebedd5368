#pragma once
// For tests that start a child process (pdftoppm, another copy of a program):
// LeakSanitizer's tracer now and then crashes while it stops the threads Qt
// keeps for a child, so these test programs check no leaks. Every other
// sanitizer check stays on. Include it in exactly one file of the test.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }
