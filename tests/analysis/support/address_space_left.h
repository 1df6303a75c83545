// A memory limit for the length of a scope: the process may map only so many bytes more than it
// has mapped, as under `ulimit -v`, so that running out of memory can be tried without using it.
#pragma once

#include <sys/resource.h>
#include <unistd.h>

#include <fstream>

namespace testsupport {

class AddressSpaceLeft
{
public:
    // No bound where `left` is 0.
    explicit AddressSpaceLeft(long left)
    {
        getrlimit(RLIMIT_AS, &before_);
        if (left == 0)
            return;
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        rlimit limit = before_;
        limit.rlim_cur = static_cast<rlim_t>(pages * sysconf(_SC_PAGESIZE) + left);
        bounded_ = setrlimit(RLIMIT_AS, &limit) == 0;
    }
    AddressSpaceLeft(const AddressSpaceLeft&) = delete;
    AddressSpaceLeft& operator=(const AddressSpaceLeft&) = delete;
    ~AddressSpaceLeft()
    {
        if (bounded_)
            setrlimit(RLIMIT_AS, &before_);
    }

    bool isBounded() const { return bounded_; }

private:
    rlimit before_{};
    bool bounded_ = false;
};

} // namespace testsupport
