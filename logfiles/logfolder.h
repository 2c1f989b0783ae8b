// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include "logfiles/fileresult.h"

#include <QString>

#include <optional>

// The one folder that holds the temporary log (the pending records between runs) and the daily
// ADIF logs. Every file is opened, used and closed inside one call; nothing is kept open.
class LogFolder {
public:
    LogFolder() = default;
    explicit LogFolder(const QString &path);

    // Where the log folder is, kept by logfolder_unix.cpp and logfolder_win.cpp.
    // Windows: "C:\adif", for every user of the computer.
    // Unix: the folder "adif" in the user's home folder: the one HOME names, or without HOME the
    // one of the user's entry in the system's user list. Fails, saying why, when there is no home
    // folder to tell, or when its name would not lead back to it: then there is no folder the
    // records could safely go to.
    [[nodiscard]] static FileResult<LogFolder> standard();

    [[nodiscard]] QString path() const { return m_path; }
    [[nodiscard]] QString nativePath() const;

    // The path of the ordinary file in this folder whose name matches fileName without regard to
    // case, as on the file systems the program first ran on; empty when there is none.
    [[nodiscard]] QString findFile(const QString &fileName) const;

    // The temporary log as it is found in the folder; empty when there is none.
    [[nodiscard]] QString findTemporaryLog() const;

    // The temporary log as it is found in the folder, or where a new one will be written.
    [[nodiscard]] QString temporaryLogPath() const;

    // Whether an ordinary file named "log*.adi" (any case) is in the folder.
    [[nodiscard]] bool hasDailyLog() const;

    // Removes what writes of the temporary log left behind when they were cut short: never
    // confirmed to the operator, and named as no file of the operator's is. Only for the copy that
    // holds the folder's lock, as no other can be writing them.
    void removeInterruptedWrites() const;

private:
    QString m_path;
};

// At start-up: creates the log folder unless a daily log or the temporary log shows that it is
// already in use, or it already exists.
FileOutcome ensureLogFolder(const LogFolder &folder);

// Reads the temporary log back into a log text with CR LF line ends; none when there is no
// temporary log. Lines may end in CR LF, LF or CR; each is joined with CR LF, and the empty line
// the save step adds at the end is dropped again.
FileResult<std::optional<QString>> loadTemporaryLog(const LogFolder &folder);

// Writes the log text and one more CR LF to the temporary log, replacing it whole. An empty log
// text, or one of nothing but spaces, tabs and line ends, writes nothing and leaves an earlier
// temporary log as it is.
FileOutcome saveTemporaryLog(const LogFolder &folder, const QString &logText);

// The confirmation shown after the pending records were saved on Exit.
[[nodiscard]] QString temporaryLogUpdatedMessage(const LogFolder &folder);
