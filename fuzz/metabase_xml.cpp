// MetaBase.xml: the metabase store reads any bytes as the file, lists the
// web sites as the load step does, and a site written into a file it
// accepted reads back with the value put (the saved file stays well-formed
// whatever the value held: the store refuses what XML cannot hold).
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "FuzzInput.h"
#include "platform/Failure.h"
#include "platform/image/MachineImage.h"

namespace {

namespace fs = std::filesystem;
using tessaron::MetabaseValue;
using tessaron::PlatformError;

// One folder for the process's file, removed when the process ends.
const fs::path& scratchFolder() {
    static const fs::path folder =
        fs::temp_directory_path() / ("tessaron-fuzz-metabase-" + std::to_string(::getpid()));
    return folder;
}

const fs::path& scratchFile() {
    static const fs::path file = [] {
        fs::create_directories(scratchFolder());
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(scratchFolder(), ignored);
        });
        return scratchFolder() / "MetaBase.xml";
    }();
    return file;
}

void writeFile(const fs::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The value a site gets: the input's last bytes (up to 64).
std::string valueOf(std::string_view bytes) {
    return std::string(bytes.substr(bytes.size() > 64 ? bytes.size() - 64 : 0));
}

bool listAndWrite(const fs::path& file, const std::string& value) {
    auto metabase = tessaron::createImageMetabase(file);
    std::unique_ptr<tessaron::MetabaseObject> service;
    try {
        service = metabase->Open("IIS://LocalHost/W3SVC");
        service->ListChildren("IIsWebServer", "ServerComment",
                              [](const tessaron::MetabaseChildView&) { return true; });
        service->Children();
    } catch (const PlatformError&) {
        return false;  // refused or no web service: nothing to write into
    }
    try {
        const int number = metabase->FirstFreeNumber("IIS://LocalHost/W3SVC");
        auto site = service->Create("IIsWebServer", std::to_string(number));
        site->Put("ServerComment", value);
        site->Put("ServerBindings", MetabaseValue(std::vector<std::string>{value, ":80:"}));
        site->SetInfo();
        metabase->Flush();
    } catch (const PlatformError&) {
        return false;  // a value the store refuses, or a file it cannot write
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bytes = tessaron::fuzz::asText(data, size);
    const auto& file = scratchFile();
    writeFile(file, bytes);
    const std::string value = valueOf(bytes);
    if (!listAndWrite(file, value)) return 0;

    // The saved file reads back, with the site as it was put.
    auto metabase = tessaron::createImageMetabase(file);
    try {
        auto service = metabase->Open("IIS://LocalHost/W3SVC");
        bool found = false;
        service->ListChildren("IIsWebServer", "ServerComment",
                              [&](const tessaron::MetabaseChildView& site) {
                                  found |= site.value && *site.value == value;
                                  return true;
                              });
        if (!found) __builtin_trap();
    } catch (const PlatformError&) {
        __builtin_trap();
    }
    return 0;
}
