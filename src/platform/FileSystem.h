#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Failure.h"

namespace tessaron {

// A text file open for writing or appending. Text is UTF-8 in memory and the
// single-byte ANSI code page (Windows-1252) on disk; every line ends with CR LF.
class TextWriter {
public:
    virtual ~TextWriter() = default;
    // Writes text + CR LF. A character outside the code page fails the line
    // (PlatformError, nothing of that line written).
    virtual void WriteLine(const std::string& text) = 0;
    // Flushes and closes; throws PlatformError when the data cannot be kept.
    virtual void Close() = 0;
};

// The file system over Windows paths ("C:\Tessaron\panel"), with the
// scripting runtime's behaviour and error texts ("Path not found",
// "File not found", "Permission denied", "File already exists").
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual bool FolderExists(const std::string& path) = 0;
    virtual bool FileExists(const std::string& path) = 0;
    // Creates one folder level; the parent must exist.
    virtual void CreateFolder(const std::string& path) = 0;
    virtual void CopyFile(const std::string& source, const std::string& destination,
                          bool overwrite) = 0;
    // Moves a file over another one, replacing it in one step.
    virtual void ReplaceFile(const std::string& source, const std::string& destination) = 0;
    virtual void DeleteFile(const std::string& path) = 0;
    // Names of the sub-folders, in the order the file system lists them.
    virtual std::vector<std::string> SubFolders(const std::string& path) = 0;
    // Names of the files in a folder, in the order the file system lists them.
    virtual std::vector<std::string> FileNames(const std::string& path) = 0;

    // Creates (or truncates, when overwrite) a text file for writing.
    virtual std::unique_ptr<TextWriter> CreateTextFile(const std::string& path, bool overwrite) = 0;
    // Opens a text file for appending, creating it when missing.
    virtual std::unique_ptr<TextWriter> OpenTextFileForAppending(const std::string& path) = 0;
    // The whole file, decoded from the code page to UTF-8.
    virtual std::string ReadTextFile(const std::string& path) = 0;

    // Hands the file's bytes as they are on disk to consume, piece by piece
    // in order, until the file ends or consume returns false: a large file
    // is read without holding all of it in memory or decoding it. The
    // default hands over ReadTextFile's text encoded again, which gives the
    // same bytes (the code page decodes every byte string to a text of its
    // own); file systems that read bytes themselves override it.
    using BytesConsumer = std::function<bool(std::string_view piece)>;
    virtual void ReadFileBytes(const std::string& path, const BytesConsumer& consume);
};

}  // namespace tessaron
