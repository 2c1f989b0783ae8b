// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include "logfiles/usermessage.h"

#include <QString>

class QMessageBox;
class QWidget;

// Gives the box the icon, caption, text and single OK button of the message's style.
void configureMessageBox(QMessageBox &box, const UserMessage &message);

// Shows the message modally over the parent window until the operator presses OK.
void showMessageBox(QWidget *parent, const UserMessage &message);
