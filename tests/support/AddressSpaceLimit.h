#pragma once
// Caps the process's address space a little above what it uses now, for the life
// of the object, so that an attempt to take a huge file whole fails there instead
// of passing unseen. AddressSanitizer reserves terabytes for itself, so under it
// nothing is capped.
#include <sys/resource.h>
#include <unistd.h>

#include <fstream>

namespace testing_support {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
inline constexpr bool kAddressSanitizer = __has_feature(address_sanitizer);
#else
inline constexpr bool kAddressSanitizer = false;
#endif

class AddressSpaceLimit {
public:
    explicit AddressSpaceLimit(long roomBytes) {
        ::getrlimit(RLIMIT_AS, &saved_);
        if (kAddressSanitizer) return;
        std::ifstream statm("/proc/self/statm");
        long pages = 0;
        statm >> pages;
        const rlimit capped{static_cast<rlim_t>(pages * ::sysconf(_SC_PAGESIZE) + roomBytes), saved_.rlim_max};
        ::setrlimit(RLIMIT_AS, &capped);
    }
    ~AddressSpaceLimit() { ::setrlimit(RLIMIT_AS, &saved_); }
    AddressSpaceLimit(const AddressSpaceLimit&) = delete;
    AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

private:
    rlimit saved_{};
};

}  // namespace testing_support
