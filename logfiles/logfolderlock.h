#pragma once

#include "logfiles/logfolder.h"

#include <QLockFile>

// Taken at start and held for as long as the program runs, so that a second copy started on the
// same log folder cannot keep a second list of pending records that the first would overwrite. A
// lock left by a copy that crashed or was killed is recognised (its process is gone) and taken
// over.
class LogFolderLock {
public:
    // Creates the log folder when it is missing, then tries to take the lock.
    explicit LogFolderLock(const LogFolder &folder);

    // Another running copy of the program holds the folder. A lock that could not be made at all
    // (a folder that cannot be written) counts as free: the folder's own failure is reported at
    // start-up, and the program must still open to show the pending records.
    [[nodiscard]] bool heldByAnotherCopy() const { return m_heldByAnotherCopy; }

private:
    QLockFile m_lock;
    bool m_heldByAnotherCopy = false;
};

// Shown when the program is started a second time on the same log folder.
[[nodiscard]] QString alreadyRunningMessage(const LogFolder &folder);
