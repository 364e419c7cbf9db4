#pragma once
// The peak resident memory of the benchmark process, reset between runs so each reports its own.
#include <malloc.h>

#include <fstream>
#include <string>

namespace lintaro::bench {

inline void resetPeakMemory() {
    malloc_trim(0);
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

// VmHWM in KiB; -1 when it cannot be read.
inline long peakMemoryKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

} // namespace lintaro::bench
