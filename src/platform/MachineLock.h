#pragma once

namespace tessaron {

// An exclusive hold on a machine for the length of one configuration run, so
// that two runs never interleave their changes. Released when the object
// goes. A machine image keeps it as a lock on a file in the image; the
// native backend uses a named mutex.
class MachineLock {
public:
    virtual ~MachineLock() = default;
};

}  // namespace tessaron
