#pragma once

#include <filesystem>
#include <string>

#include "support/MachineSetup.h"
#include "support/SmallServer.h"

namespace tessaron::testing {

// The project's source folder (for samples and fixtures).
std::filesystem::path sourceDir();

// The machine image a test works on, in a fresh temporary folder removed
// when the object goes: empty, or made one of the named ways below.
// Windows paths map to host paths literally ("C:\a\b" -> root/C/a/b), so
// tests control the case of every entry they create.
class TestMachine {
public:
    // An empty image.
    TestMachine();
    // A copy of examples/machines/<name>.
    static TestMachine sample(const std::string& name);
    // The small server of the run's tests, laid out as told.
    static TestMachine smallServer(const MachineLayout& layout = {});
    // A machine written from a description of what the settings window's
    // load step reads (Windows folder C:\WINDOWS).
    static TestMachine described(const MachineSetup& setup);
    ~TestMachine();
    TestMachine(TestMachine&& other) noexcept;
    TestMachine(const TestMachine&) = delete;
    TestMachine& operator=(const TestMachine&) = delete;

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path host(const std::string& windowsPath) const;

    void makeFolder(const std::string& windowsPath) const;
    // Writes bytes as given, creating parent folders.
    void writeFile(const std::string& windowsPath, const std::string& bytes) const;
    std::string readFile(const std::string& windowsPath) const;
    void writeRegistry(const std::string& utf8Text) const;
    // Clears or sets the owner-write bit (read-only as Windows sees it); on
    // Windows the read-only attribute.
    void setReadOnly(const std::string& windowsPath, bool readOnly) const;
    // False where a folder cannot be made read-only (wine ignores the
    // attribute on folders); tests of read-only folders skip there.
    static bool foldersCanBeReadOnly();

private:
    std::filesystem::path root_;
};

// Whole file as bytes.
std::string readBytes(const std::filesystem::path& path);

}  // namespace tessaron::testing
