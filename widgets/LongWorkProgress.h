// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QElapsedTimer>
#include <QString>
#include <chrono>
#include <memory>

class QProgressDialog;
class QWidget;

// A progress dialog with "Annulla" for work done on the window's thread, shown only once the
// work looks like taking more than about half a second: a short one never flashes a dialog.
class LongWorkProgress {
public:
    // The clock starts now; label is the dialog's text.
    LongWorkProgress(QWidget* window, QString label);
    ~LongWorkProgress();

    // Told how far the work has got; false once "Annulla" was clicked. While the dialog shows,
    // it keeps the program's windows painted and answering only to it.
    bool proceed(double done, double total);

    // How long the work must look like taking for the dialog to show; tests that need the dialog
    // on a fast machine shorten it.
    static inline std::chrono::milliseconds showAfter{500};

private:
    QWidget* window_;
    QString label_;
    QElapsedTimer clock_;
    std::unique_ptr<QProgressDialog> dialog_;
};
