#pragma once

// The program's exit statuses, the same for both front ends and both builds.
namespace tessaron::app::wiring::exit_status {

inline constexpr int kCompleted = 0;
inline constexpr int kCompletedWithRunError = 1;
inline constexpr int kStoppedByCheck = 2;
inline constexpr int kEndedAtLoad = 3;
inline constexpr int kCompletedWithErrors = 4;
inline constexpr int kMachineBusy = 5;
inline constexpr int kCancelled = 6;
// With --detailed-exitcode: the run completed (or would) and changed (or
// would change) something; 0 then means nothing needed changing.
inline constexpr int kChanges = 10;
// The lock file could not be opened or locked (not another run's hold).
inline constexpr int kLockFailed = 7;
// --restore: no run journal, nothing to put back.
inline constexpr int kNothingToRestore = 8;
// --restore: refused, a file was changed after the run (nothing changed).
inline constexpr int kRestoreRefused = 9;
inline constexpr int kUsage = 64;
inline constexpr int kInternalError = 70;

}  // namespace tessaron::app::wiring::exit_status
