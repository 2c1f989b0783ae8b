// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include <QString>

// The calls on files whose means differ between systems, each kept by filesystem_unix.cpp and
// filesystem_win.cpp; what is built on them (whole-file writes, the move into a daily log) is
// the same everywhere. Each gives the system's reason when it failed, empty when it did not.

// Flushes what was written to the open file (its descriptor) to the storage device.
// Unix: fsync. Windows: FlushFileBuffers.
[[nodiscard]] QString flushToDevice(int descriptor);

// Flushes the folder's list of names to the storage device, so that a rename into it or a removal
// from it stays so after a power cut, as far as the file system allows.
// Unix: fsync of the folder. Windows: nothing to flush; every rename here is written through.
void flushFolder(const QString &folderPath);

// Gives the file at "from" the name "to", replacing a file there.
// Unix: rename, flushed with the folder after it. Windows: MoveFileEx, written through, and tried
// again for about a second while another program holds either file (a backup or sync tool, an
// indexer or a virus scanner reading it), as Windows programs do.
[[nodiscard]] QString renameReplacing(const QString &from, const QString &to);

// Gives the file at "from" the name "to" only if nothing stands there.
// Linux: renameat2 with RENAME_NOREPLACE, which NFS, SMB and many FUSE file systems refuse; other
// Unix systems: not built here, so always refused. Windows: MoveFileEx, which never replaces, on
// every file system, written through, and tried again while another program holds the file.
struct RenameOutcome {
    enum class Kind { Renamed, NameTaken, Refused, Failed };
    Kind kind = Kind::Renamed;
    QString reason; // for Failed
};
[[nodiscard]] RenameOutcome renameNeverReplacing(const QString &from, const QString &to);

// Which file stands at the path, and as written when: equal for the same file, unchanged since,
// and different once it is written again or another file takes the name; empty when nothing
// stands there. Letters, digits and "-" only.
// Unix: the device, the inode and the time of the last change, to the nanosecond. Windows: the
// volume's serial number, the file's index and the time of the last write.
[[nodiscard]] QString fileIdentity(const QString &path);

// An ordinary file, with this one name: no link, folder, FIFO or device, nor a file with a second
// name elsewhere (a hard link), which the program never makes and so never removes.
// Unix: lstat. Windows: no reparse point, and one link.
[[nodiscard]] bool isLoneRegularFile(const QString &path);
