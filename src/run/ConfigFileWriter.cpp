#include "run/ConfigFileWriter.h"

#include <memory>
#include <random>

#include "settings/ConfigFileBody.h"

namespace tessaron {

namespace {

// A name beside config.inc that no other run uses at the same time.
std::string temporaryPathBeside(const std::string& path) {
    static const char digits[] = "0123456789abcdef";
    std::random_device device;
    std::string suffix;
    for (int i = 0; i < 8; ++i) suffix += digits[device() % 16];
    return path + ".tmp-" + suffix;
}

// Removes the temporary file after a failure. Its own failure changes
// nothing the user could act on and must not replace the description of the
// failure that matters, so it is not recorded.
void removeQuietly(FileSystem& files, const std::string& path) {
    try {
        if (files.FileExists(path)) files.DeleteFile(path);
    } catch (const PlatformError&) {
    }
}

}  // namespace

std::string ConfigFilePath(const SettingsRecord& settings) {
    return settings.InstallDir + "\\panel\\config.inc";
}

void ConfigFileWriter(RunContext& run) {
    run.AddProgressText("Writing configuration file...");
    run.beginContinueOnError();

    FileSystem& files = run.platform.Files();
    const std::string target = ConfigFilePath(run.settings);
    const std::string temporary = temporaryPathBeside(target);

    auto writer = run.attempt([&] { return files.CreateTextFile(temporary, true); });
    // Replacing config.inc is where the former file is overwritten, so a
    // refusal there (a read-only config.inc) is the same failure as a file
    // that cannot be opened for overwriting.
    bool opened = writer.has_value() && *writer != nullptr;
    bool failed = !opened;

    if (opened) {
        const ConfigFileSources sources{
            run.settings,
            run.platform.System().GetProgramFilesDir(),
            run.attempt([&] { return run.platform.System().GetTempFolder(); }),
            ShortDateText(run.now()),
        };
        if (!sources.tempFolder) failed = true;
        for (const auto& line : ConfigFileBodyLines(sources)) {
            // A line whose value is missing, or that holds a character the
            // code page cannot store, fails alone; the rest are still written.
            if (!line || !run.attempt([&] { (*writer)->WriteLine(*line); })) failed = true;
        }
        if (!run.attempt([&] { (*writer)->Close(); })) failed = true;
        writer->reset();

        if (!failed && !run.attempt([&] { files.ReplaceFile(temporary, target); })) {
            opened = false;
            failed = true;
        }
    }

    if (failed) removeQuietly(files, temporary);
    if (!opened) {
        run.RunError = true;
        run.AddProgressText("Could not open configuration file for overwriting.");
    }
    if (failed) {
        run.RunError = true;
        run.AddProgressText("Could not write to configuration file.");
    } else {
        run.AddProgressText("Configuration file written.");
    }
}

}  // namespace tessaron
