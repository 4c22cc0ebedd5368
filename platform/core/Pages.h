#pragma once
#include <cstddef>

namespace platform {

// The kernel gives a fresh buffer its memory one page at a time, on the first
// write to each page, and each such fault is dear (about 15 microseconds on
// this project's virtual machines: 20 ms for a screen-sized buffer). This asks
// for all the pages of [start, start + bytes) in one call. Only a speed-up: a
// kernel without the call (before Linux 5.14) says no, and the pages come one
// by one as before.
void fetchPages(void* start, std::size_t bytes);

}  // namespace platform
