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
// after a crash or a power cut the file has one name or the other, never both. Where the file
// system cannot rename without replacing (on Linux, NFS, SMB and many FUSE file systems refuse
// it), "to" is checked free just before a plain rename; only a program other than this one making
// a file of that name in that instant could then be replaced, as the folder's lock keeps a second
// copy of this one out. Flushed as the system allows (filesystem.h).
FileOutcome moveWithoutReplacing(const QString &what, const QString &from, const QString &to);

// For tests: the rename that does not replace is refused, as on NFS, until this is set back.
void refuseRenameWithoutReplacingForTests(bool refuse);

// Removes what whole-file writes of the file at path left behind when they were cut short: files
// named as those writes name theirs, for that file's name in any case, beside it and, where the
// path is a link, beside the file it leads to; only ordinary files with no other name, as those
// writes make them (never a link, a FIFO or a hard link of that name). Nothing else is touched.
// Only for the one who alone writes that file, as a write under way looks the same.
void removeInterruptedWrites(const QString &path);
