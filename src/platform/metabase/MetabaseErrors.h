#pragma once

#include "platform/Failure.h"

namespace tessaron::metabase_error {

// The directory service's own numbers and texts for the failures of the
// metabase store, so callers see what the IIS provider would report.

inline PlatformError pathNotFound() {
    return PlatformError(error_number::kPathNotFoundHresult,
                         "The system cannot find the path specified.");
}
inline PlatformError alreadyExists() {
    return PlatformError(error_number::kAlreadyExistsHresult,
                         "Cannot create a file when that file already exists.");
}
inline PlatformError accessDenied() {
    return PlatformError(error_number::kAccessDeniedHresult, "Access is denied.");
}
inline PlatformError propertyNotInCache() {
    return PlatformError(static_cast<long>(0x8000500D),
                         "The active directory property cannot be found in the cache.");
}
inline PlatformError invalidParameter() {
    return PlatformError(static_cast<long>(0x80070057), "The parameter is incorrect.");
}
inline PlatformError typeMismatch() {
    return PlatformError(13, "Type mismatch");
}
inline PlatformError methodNotSupported() {
    return PlatformError(438, "Object doesn't support this property or method");
}
// A MetaBase.xml the store cannot read (not well-formed, wrong root, a key
// without a location).
inline PlatformError invalidData(std::string description) {
    return PlatformError(error_number::kInvalidDataHresult, std::move(description));
}
inline PlatformError writeFailed(std::string description) {
    return PlatformError(static_cast<long>(0x8007001D), std::move(description));
}

}  // namespace tessaron::metabase_error
