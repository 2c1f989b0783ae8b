// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include "logfiles/logfolder.h"

#include <QLockFile>

#include <chrono>

// Taken at start and held for as long as the program runs, so that a second copy started on the
// same log folder cannot keep a second list of pending records that the first would overwrite. A
// lock left by a copy that crashed, was killed or lost its power is recognised and taken over:
// its process is gone, or it never got as far as writing its owner into the lock. Copies started
// at the same moment take turns to judge the lock and take it, so exactly one of them runs.
class LogFolderLock {
public:
    // Creates the log folder when it is missing (the first start on this computer), then tries to
    // take the lock inside it. A lock whose owner cannot be read is taken over once it has stayed
    // so for the given time: a copy that is starting writes its owner the moment it makes it.
    explicit LogFolderLock(const LogFolder &folder,
        std::chrono::milliseconds ownerWriteGrace = defaultOwnerWriteGrace);
    static constexpr std::chrono::milliseconds defaultOwnerWriteGrace { 500 };
    ~LogFolderLock();
    LogFolderLock(const LogFolderLock &) = delete;
    LogFolderLock &operator=(const LogFolderLock &) = delete;

    // The program must not start: another running copy holds the folder, on this computer or on
    // another one that shares the folder, or the copy that ran last left its lock behind and it
    // cannot be removed.
    [[nodiscard]] bool startRefused() const
    {
        return m_state == State::HeldHere || m_state == State::HeldElsewhere
            || m_state == State::LeftBehind;
    }

    // What the operator is told at start: why the program does not start, that the log folder
    // could not be made, or that the lock could not be made and a second copy cannot be kept out;
    // empty when the lock is taken.
    [[nodiscard]] UserMessage message() const;

private:
    enum class State {
        Taken,
        HeldHere,
        HeldElsewhere,
        LeftBehind, // its copy is gone, but the lock cannot be removed (a read-only folder)
        Unavailable, // nothing holds it, and it cannot be made either (a folder stands there)
    };
    [[nodiscard]] bool takeOverAbandonedLock(std::chrono::milliseconds ownerWriteGrace);

    LogFolder m_folder;
    FileOutcome m_folderMade;
    QLockFile m_lock;
    State m_state = State::Taken;
    QString m_holderHost; // the computer of the copy that holds it, when that is another one
    QString m_removalFailure; // why a lock left behind could not be removed
};

// For tests: the lock the system keeps by which starting copies take turns (the folder's own on
// Unix, a named mutex on Windows) is refused, as on file systems that keep no such locks (NFS
// without its lock manager), until set back.
void refuseTurnLocksForTests(bool refuse);
