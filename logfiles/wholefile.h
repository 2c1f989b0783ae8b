#pragma once

#include "logfiles/fileresult.h"

#include <QByteArray>
#include <QString>

// Whether a file already at the path may be replaced.
enum class ExistingFile {
    Replace,
    Keep,
};

// Writes the bytes as the whole new content of the file at path: into a new file beside it, every
// write checked to its end, flushed to the storage device, then renamed into place and the rename
// flushed too. Whatever happens on the way (a full disk, a crash, a power cut), the path holds
// either its previous content or the new one, and nothing half-written is left beside it. With
// ExistingFile::Keep a file already at the path is left alone and the write fails. A failure is
// told as "Could not <what> <path>: <reason>".
FileOutcome writeWholeFile(const QString &what, const QString &path, const QByteArray &bytes,
    ExistingFile existing = ExistingFile::Replace);

// Reads the whole file at path; a failure is told as "Could not <what> <path>: <reason>".
FileResult<QByteArray> readWholeFile(const QString &what, const QString &path);

// Gives the file at "from" the name "to" in one step, provided nothing stands at "to": no file is
// ever replaced, and after a crash or a power cut the file has one name or the other, never both.
// False when the rename was not made: something stands at "to", or the file system cannot rename
// without replacing (the file then still has its old name).
[[nodiscard]] bool renameWithoutReplacing(const QString &from, const QString &to);

// Flushes the folder's list of names to the storage device, so that a file just renamed into it
// or deleted from it stays so after a power cut. As far as the file system allows: the file's own
// content is already safe, and a folder that cannot be flushed changes nothing the operator can do.
void syncFolder(const QString &folderPath);
