// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

// Answers the real message boxes that open while it lives: records what the last one showed
// and clicks its OK button.
class MessageBoxCloser : public QObject {
public:
    QString text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    int buttons = 0;
    int answered = 0;

    MessageBoxCloser() {
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            text = box->text();
            icon = box->icon();
            buttons = int(box->buttons().size());
            ++answered;
            box->button(QMessageBox::Ok)->click();
        });
        timer_.start(20);
    }

private:
    QTimer timer_;
};
