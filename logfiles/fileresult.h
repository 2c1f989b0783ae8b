// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include "logfiles/usermessage.h"

#include <QDir>
#include <QString>

#include <variant>

// What an operation on the log folder gives back: on failure, a text for the operator that names
// what failed, where, and the system's reason; on success no text, and whatever the operation
// found.
template <typename Value = std::monostate> struct [[nodiscard]] FileResult {
    QString error;
    Value value {};

    [[nodiscard]] bool ok() const { return error.isEmpty(); }
    [[nodiscard]] UserMessage message() const { return { MessageStyle::Error, error }; }
};

using FileOutcome = FileResult<>;

// "Could not <what> <path>: <reason>", the path as the system writes it.
[[nodiscard]] inline QString fileFailure(
    const QString &what, const QString &path, const QString &reason)
{
    return QStringLiteral("Could not %1 %2: %3").arg(what, QDir::toNativeSeparators(path), reason);
}
