#include "support/TestMachine.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "platform/HostPath.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace tessaron::testing {

fs::path sourceDir() {
    if (const char* dir = std::getenv("TESSARON_SOURCE_DIR")) return dir;
    return fs::current_path();
}

namespace {
fs::path makeTempRoot() {
    std::random_device device;
    for (int tries = 0; tries < 100; ++tries) {
        auto candidate = fs::temp_directory_path() /
                         ("tessaron-machine-" + std::to_string(device()) + std::to_string(tries));
        if (fs::create_directory(candidate)) return candidate;
    }
    throw std::runtime_error("cannot create a temporary machine folder");
}

// Read-only as the image sees it: the owner-write bit, or on Windows (whose
// folders have no write bit) the read-only attribute.
void setWritable(const fs::path& path, bool writable) {
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesW(path.c_str(), writable ? attributes & ~FILE_ATTRIBUTE_READONLY
                                              : attributes | FILE_ATTRIBUTE_READONLY);
#else
    std::error_code ignored;
    fs::permissions(path, writable ? fs::perms::owner_all : fs::perms::owner_write,
                    writable ? fs::perm_options::add : fs::perm_options::remove, ignored);
#endif
}

// Restores the write bit everywhere so the folder can be removed.
void makeWritable(const fs::path& root) {
    std::error_code ignored;
    setWritable(root, true);
    for (auto it = fs::recursive_directory_iterator(root, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        setWritable(it->path(), true);
    }
}
}  // namespace

TestMachine::TestMachine() : root_(makeTempRoot()) {}

TestMachine TestMachine::sample(const std::string& name) {
    TestMachine machine;
    fs::copy(sourceDir() / "examples" / "machines" / name, machine.root_,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    return machine;
}

TestMachine::TestMachine(TestMachine&& other) noexcept : root_(std::move(other.root_)) {
    other.root_.clear();
}

TestMachine::~TestMachine() {
    if (root_.empty()) return;
    makeWritable(root_);
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

fs::path TestMachine::host(const std::string& windowsPath) const {
    fs::path result = root_;
    std::string part;
    std::istringstream parts(windowsPath);
    bool first = true;
    while (std::getline(parts, part, '\\')) {
        if (part.empty()) continue;
        if (first && part.size() == 2 && part[1] == ':') part = part.substr(0, 1);
        first = false;
        result /= hostPathFromUtf8(part);
    }
    return result;
}

void TestMachine::makeFolder(const std::string& windowsPath) const {
    fs::create_directories(host(windowsPath));
}

void TestMachine::writeFile(const std::string& windowsPath, const std::string& bytes) const {
    const auto path = host(windowsPath);
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string TestMachine::readFile(const std::string& windowsPath) const {
    return readBytes(host(windowsPath));
}

void TestMachine::writeRegistry(const std::string& utf8Text) const {
    std::ofstream out(root_ / "registry.reg", std::ios::binary | std::ios::trunc);
    out << utf8Text;
}

bool TestMachine::foldersCanBeReadOnly() {
#ifdef _WIN32
    static const bool can = [] {
        TestMachine probe;
        setWritable(probe.root(), false);
        const DWORD attributes = GetFileAttributesW(probe.root().c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    }();
    return can;
#else
    return true;
#endif
}

void TestMachine::setReadOnly(const std::string& windowsPath, bool readOnly) const {
    setWritable(host(windowsPath), !readOnly);
}

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace tessaron::testing
