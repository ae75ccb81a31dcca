// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "LongWorkProgress.h"

#include <QProgressDialog>

LongWorkProgress::LongWorkProgress(QWidget* window, QString label)
    : window_(window), label_(std::move(label)) {
    clock_.start();
}

LongWorkProgress::~LongWorkProgress() = default;

bool LongWorkProgress::proceed(double done, double total) {
    constexpr int Steps = 1000;
    if (!dialog_) {
        const qint64 elapsed = clock_.elapsed();
        if (elapsed < 100 || done <= 0 ||
            double(elapsed) * total / done < double(showAfter.count()))
            return true;
        dialog_ =
            std::make_unique<QProgressDialog>(label_, QStringLiteral("Annulla"), 0, Steps, window_);
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setMinimumDuration(0);
    }
    dialog_->setValue(int(done / total * Steps));
    return !dialog_->wasCanceled();
}
