// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>

// The exercises opened or saved most recently, the latest first: each file once, however its
// path was written, and at most Capacity of them.
class RecentExercises {
public:
    static constexpr qsizetype Capacity = 8;

    // A list read back is taken in its order, latest first, under the same rules.
    explicit RecentExercises(const QStringList& paths = {});

    // Puts a file at the top, taking it from further down when it was there already.
    void add(const QString& path);
    void remove(const QString& path);
    const QStringList& paths() const { return paths_; }

private:
    QStringList paths_;
};

// The list kept between runs in the user's settings, the file
// $XDG_CONFIG_HOME/curve-sulla-corda/curve-sulla-corda.conf (XDG_CONFIG_HOME is ~/.config when
// unset). Reading writes nothing; storing an empty list removes it from the file.
RecentExercises loadRecentExercises();
void storeRecentExercises(const RecentExercises& recent);

// The assignment last chosen for the class summary ("Consegna…"), kept in the same file; empty
// when none was chosen or the choice was given up.
QString loadSummaryAssignment();
void storeSummaryAssignment(const QString& path);
