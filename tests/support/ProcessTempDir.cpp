// Every test process works in a temporary folder of its own, so files that other programs, a killed
// preview or a test running in parallel left in the system's folder never meet a test's checks, and
// nothing a test leaves behind outlives its process. Linked into every test executable as an object
// file: its set-up runs before main, before the program's start-up values read TEMP.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

class TProcessTempDir {
public:
    TProcessTempDir() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/lintaro-test-XXXXXX";
        if (!mkdtemp(pattern.data()))
            return; // the system's folder stays in use: no worse than before
        path_ = pattern;
        setenv("TMPDIR", path_.c_str(), 1);
        setenv("TEMP", path_.c_str(), 1);
    }
    ~TProcessTempDir() {
        if (path_.empty())
            return;
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TProcessTempDir(const TProcessTempDir&) = delete;
    TProcessTempDir& operator=(const TProcessTempDir&) = delete;

private:
    std::string path_;
};

const TProcessTempDir processTempDir;

} // namespace
