// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include "logfiles/fileresult.h"

#include <QByteArray>
#include <QString>

// Writes the bytes as the whole new content of the file at path: into a new file beside it, every
// write checked to its end, flushed to the storage device, then renamed into place and the rename
// flushed too. Whatever happens on the way (a full disk, a crash, a power cut), the path holds
// either its previous content or the new one. A path that is a link keeps it: the file it leads
// to gets the new content. A failure is told as "Could not <what> <path>: <reason>".
//
// The new file is named ".<name>.quillog-" and six letters or digits (".log.pnd.quillog-Ab3xYz"),
// a name nobody gives a file of their own, so that what a cut-short write leaves behind can be
// told from everything else and removed (removeInterruptedWrites).
FileOutcome writeWholeFile(const QString &what, const QString &path, const QByteArray &bytes);

// Puts an ordinary file holding the same bytes in the place of the link at path, the same way:
// written beside it, flushed, renamed over the link. The file the link leads to stays as it is.
FileOutcome replaceLinkWithFile(const QString &what, const QString &path);

// Reads the whole file at path; a failure is told as "Could not <what> <path>: <reason>".
FileResult<QByteArray> readWholeFile(const QString &what, const QString &path);

// Gives the file at "from" the name "to" by one rename, and never replaces whatever stands at "to":
// after a crash or a power cut the file has one name or the other, never both. On Windows the
// rename refuses to replace by itself and is written through to the disk. On Linux, where the
// file system cannot rename without replacing (NFS, SMB and many FUSE file systems refuse it),
// "to" is checked free just before a plain rename; only a program other than this one making a
// file of that name in that instant could then be replaced, as the folder's lock keeps a second
// copy of this one out.
FileOutcome moveWithoutReplacing(const QString &what, const QString &from, const QString &to);

// For tests: the rename that does not replace is refused, as on NFS, until this is set back. No
// such refusal is known on Windows, where this changes nothing.
void refuseRenameWithoutReplacingForTests(bool refuse);

// Flushes the folder's list of names to the storage device, so that a file just renamed into it
// or deleted from it stays so after a power cut. As far as the file system allows: the file's own
// content is already safe, and a folder that cannot be flushed changes nothing the operator can do.
// On Windows there is nothing to flush, as renames are written through.
void syncFolder(const QString &folderPath);

// Removes what whole-file writes of the file at path left behind when they were cut short: files
// named as those writes name theirs, for that file's name in any case, beside it and, where the
// path is a link, beside the file it leads to. Nothing else is touched. Only for the one who alone
// writes that file, as a write under way looks the same.
void removeInterruptedWrites(const QString &path);
