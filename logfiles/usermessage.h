// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include <QString>

// How a message is presented to the operator: a validation message names no caption of its own,
// an information message carries the information icon, an error message the warning icon.
enum class MessageStyle {
    Validation,
    Information,
    Error,
};

struct UserMessage {
    MessageStyle style = MessageStyle::Information;
    QString text;

    friend bool operator==(const UserMessage &, const UserMessage &) = default;
};
