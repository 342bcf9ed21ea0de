#pragma once

// Every test process works in standard folders of its own: a fresh temporary home with its
// configuration, data, cache, state and runtime folders, made before the application object
// exists and removed when the process ends, with Qt's test mode on top. Nothing a test does
// (file dialog history, recent files, preferences) can reach the user's own settings, and the
// programs a test starts inherit the same folders.

#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <sys/stat.h>

namespace korvane::test {

class IsolatedUserFolders {
public:
    IsolatedUserFolders() {
        const char* temp = std::getenv("TMPDIR");
        std::string pattern = std::string(temp != nullptr && *temp != '\0' ? temp : "/tmp") +
                              "/korvane-test-home-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("korvane tests: no temporary home folder");
            std::abort();
        }
        home_ = pattern;
        Set("HOME", "");
        Set("XDG_CONFIG_HOME", "/config");
        Set("XDG_DATA_HOME", "/data");
        Set("XDG_CACHE_HOME", "/cache");
        Set("XDG_STATE_HOME", "/state");
        Set("XDG_RUNTIME_DIR", "/runtime");
        // Qt wants the runtime folder private to its owner.
        chmod((home_ + "/runtime").c_str(), S_IRWXU);
        QStandardPaths::setTestModeEnabled(true);
    }
    ~IsolatedUserFolders() {
        std::error_code ignored;
        std::filesystem::remove_all(home_, ignored);
    }
    IsolatedUserFolders(const IsolatedUserFolders&) = delete;
    IsolatedUserFolders& operator=(const IsolatedUserFolders&) = delete;

    const std::string& home() const { return home_; }

private:
    void Set(const char* variable, const char* folder) {
        const std::string path = home_ + folder;
        std::error_code ignored;
        std::filesystem::create_directories(path, ignored);
        setenv(variable, path.c_str(), 1);
    }

    std::string home_;
};

} // namespace korvane::test
