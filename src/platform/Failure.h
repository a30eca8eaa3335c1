#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>

namespace tessaron {

// A failed platform operation. Carries the platform's own error number and
// description text ("Path not found", "The system cannot find the path
// specified.", a driver's diagnostic), exactly as a user would see them.
class PlatformError : public std::runtime_error {
public:
    PlatformError(long number, std::string description)
        : std::runtime_error(description), number_(number), description_(std::move(description)) {}
    explicit PlatformError(std::string description) : PlatformError(-1, std::move(description)) {}

    long number() const { return number_; }
    const std::string& description() const { return description_; }

private:
    long number_;
    std::string description_;
};

// Common error numbers of the scripting runtime and the directory service, so
// callers and tests can tell failures apart without parsing texts.
namespace error_number {
inline constexpr long kInvalidProcedureCall = 5;
inline constexpr long kFileNotFound = 53;
inline constexpr long kFileAlreadyExists = 58;
inline constexpr long kPermissionDenied = 70;
inline constexpr long kPathNotFound = 76;
inline constexpr long kPathFileAccessError = 75;
inline constexpr long kPathNotFoundHresult = static_cast<long>(0x80070003);
inline constexpr long kAlreadyExistsHresult = static_cast<long>(0x800700B7);
inline constexpr long kAccessDeniedHresult = static_cast<long>(0x80070005);
inline constexpr long kDatabaseFailure = static_cast<long>(0x80004005);
// The metabase's file holds something that is not a metabase.
inline constexpr long kInvalidDataHresult = static_cast<long>(0x8007000D);
}  // namespace error_number

// The run's continue-on-error state: the last failure since the last clear.
// A later success never clears it; only clear() does.
class FailureIndicator {
public:
    bool failed() const { return number_ != 0; }
    long number() const { return number_; }
    const std::string& description() const { return description_; }

    void record(const PlatformError& error) {
        number_ = error.number() != 0 ? error.number() : -1;
        description_ = error.description();
    }
    void clear() {
        number_ = 0;
        description_.clear();
    }

private:
    long number_ = 0;
    std::string description_;
};

// Runs one platform operation in continue-on-error mode: a PlatformError is
// recorded in the indicator instead of propagating.
//   void operation   -> bool (true on success)
//   value operation  -> std::optional<value>
template <typename Operation>
auto attempt(FailureIndicator& indicator, Operation&& operation) {
    using Result = std::invoke_result_t<Operation>;
    if constexpr (std::is_void_v<Result>) {
        try {
            std::forward<Operation>(operation)();
            return true;
        } catch (const PlatformError& error) {
            indicator.record(error);
            return false;
        }
    } else {
        try {
            return std::optional<Result>(std::forward<Operation>(operation)());
        } catch (const PlatformError& error) {
            indicator.record(error);
            return std::optional<Result>();
        }
    }
}

}  // namespace tessaron
