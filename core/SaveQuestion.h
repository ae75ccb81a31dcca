// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Asks, before changes would be lost, whether to save them first: "Salva", "Non salvare" or
// "Annulla", which leaves everything as it was.
class SaveQuestion {
public:
    enum class Answer { Save, Discard, Cancel };
    virtual ~SaveQuestion() = default;
    virtual Answer askToSave(const QString& text) = 0;
};
