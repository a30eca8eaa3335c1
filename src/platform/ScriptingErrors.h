#pragma once

#include "platform/Failure.h"

namespace tessaron::scripting_error {

// The scripting runtime's file-system failures, with its own numbers and
// texts, as every file-system backend reports them.

inline constexpr long kDeviceIoErrorNumber = 57;
inline constexpr long kDiskFullNumber = 61;

inline PlatformError pathNotFound() {
    return PlatformError(error_number::kPathNotFound, "Path not found");
}
inline PlatformError fileNotFound() {
    return PlatformError(error_number::kFileNotFound, "File not found");
}
inline PlatformError permissionDenied() {
    return PlatformError(error_number::kPermissionDenied, "Permission denied");
}
inline PlatformError fileAlreadyExists() {
    return PlatformError(error_number::kFileAlreadyExists, "File already exists");
}
inline PlatformError invalidCall() {
    return PlatformError(error_number::kInvalidProcedureCall, "Invalid procedure call or argument");
}
inline PlatformError pathFileAccessError() {
    return PlatformError(error_number::kPathFileAccessError, "Path/File access error");
}
inline PlatformError badFileMode() {
    return PlatformError(54, "Bad file mode");
}
inline PlatformError deviceIoError() {
    return PlatformError(kDeviceIoErrorNumber, "Device I/O error");
}
// The runtime's number for a full disk, with the system's own text of it.
inline PlatformError diskFull() {
    return PlatformError(kDiskFullNumber, "There is not enough space on the disk.");
}
// A failure of the disk itself (full, or failing), as opposed to one of the
// path, the access or the text written.
inline bool isDiskFailure(long number) {
    return number == kDiskFullNumber || number == kDeviceIoErrorNumber;
}

}  // namespace tessaron::scripting_error

namespace tessaron::wmi_error {

// WMI's failures as the scripting client shows them (its texts end in a blank).
inline constexpr long kGenericFailure = static_cast<long>(0x80041001);
inline constexpr long kAccessDenied = static_cast<long>(0x80041003);
inline constexpr long kInvalidNamespace = static_cast<long>(0x8004100E);

inline PlatformError genericFailure() {
    return PlatformError(kGenericFailure, "Generic failure ");
}
inline PlatformError invalidNamespace() {
    return PlatformError(kInvalidNamespace, "Invalid namespace ");
}
inline PlatformError accessDenied() {
    return PlatformError(kAccessDenied, "Access denied ");
}

}  // namespace tessaron::wmi_error
