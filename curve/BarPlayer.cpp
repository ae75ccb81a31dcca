// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "BarPlayer.h"

#include "CurveDocument.h"

#include <QScrollBar>

#include <QKeyEvent>
#include <QMenu>

BarPlayer::BarPlayer(QWidget& window, std::array<QScrollBar*, 2> bars, CurveDocument& document)
    : QObject(&window), window_(window), bars_(bars), document_(document) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(1000 / BarSweep::FramesPerSecond);
    connect(&timer_, &QTimer::timeout, this, &BarPlayer::tick);
}

void BarPlayer::fill(QMenu& menu) {
    menu.addSeparator();
    const auto barEntry = [&](QScrollBar* bar, const QString& text) {
        if (bar_ == bar)
            menu.addAction(QStringLiteral("Ferma animazione"), this, &BarPlayer::stop);
        else
            menu.addAction(text, this, [this, bar] { start(bar); });
    };
    barEntry(bars_[0], QStringLiteral("Anima barra orizzontale"));
    barEntry(bars_[1], QStringLiteral("Anima barra verticale"));
    if (!running())
        return;
    QAction* faster =
        menu.addAction(QStringLiteral("Più veloce"), this, [this] { animation_->faster(); });
    faster->setShortcut(QKeySequence(Qt::Key_Plus));
    faster->setEnabled(animation_->canGoFaster());
    QAction* slower =
        menu.addAction(QStringLiteral("Più lenta"), this, [this] { animation_->slower(); });
    slower->setShortcut(QKeySequence(Qt::Key_Minus));
    slower->setEnabled(animation_->canGoSlower());
}

void BarPlayer::start(QScrollBar* bar) {
    stop();
    bar_ = bar;
    animation_.emplace(bar->minimum(), bar->maximum(), bar->value(), speed_);
    sinceLastTick_.start();
    timer_.start();
}

void BarPlayer::stop() {
    if (!running())
        return;
    timer_.stop();
    bar_ = nullptr;
    speed_ = animation_->speed();
    animation_.reset();
    if (std::exchange(stepBegun_, false))
        document_.endStep();
}

void BarPlayer::tick() {
    // A tick inside a frame, while its message waits for an OK, is skipped: frames never pile
    // up and a refused curve is said once.
    if (!running() || drawing_)
        return;
    const int next = animation_->advance(sinceLastTick_.restart() / 1000.0);
    QScrollBar* bar = bar_;
    if (next == bar->value())
        return;
    // The step begins with the first frame: an animation stopped before it leaves no step.
    if (!stepBegun_)
        stepBegun_ = document_.beginStep(CurveDocument::StepKind::ReplacesDrawing);
    drawing_ = true;
    bar->setValue(next);
    drawing_ = false;
    // A curve the assignment refused put the bar back: the animation ends there.
    if (bar->value() != next)
        stop();
}

bool BarPlayer::ownKey(const QKeyEvent& key, bool act) {
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (key.key()) {
    case Qt::Key_Escape:
        if (act)
            stop();
        return true;
    case Qt::Key_Plus:
        if (act)
            animation_->faster();
        return true;
    case Qt::Key_Minus:
        if (act)
            animation_->slower();
        return true;
    default:
        return false;
    }
}

bool BarPlayer::takeEvent(QObject* watched, QEvent* event) {
    if (!running())
        return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool press = event->type() == QEvent::KeyPress;
        // Taken from the shortcuts and the fields, acted on when pressed.
        if (ownKey(*key, press)) {
            event->accept();
            return true;
        }
        // A modifier alone may begin "+"; the menu's keys open the menu that stops it.
        const int code = key->key();
        const bool modifier = code == Qt::Key_Shift || code == Qt::Key_Control ||
                              code == Qt::Key_Alt || code == Qt::Key_Meta || code == Qt::Key_AltGr;
        const bool menuKey =
            code == Qt::Key_Menu || (code == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
        if (!modifier && !menuKey)
            stop();
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        // A click on the drawing itself opens the menu or does nothing.
        if (watched != &window_)
            stop();
        break;
    case QEvent::Drop:
        stop();
        break;
    default:
        break;
    }
    return false;
}
