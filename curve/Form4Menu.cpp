// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Form4Menu.h"

#include "BarPlayer.h"
#include "ClassSummaryDialog.h"
#include "Clipboard.h"
#include "DisplacementOffer.h"
#include "DrawingSave.h"
#include "ExerciseCommands.h"
#include "Form4.h"
#include "GuideWindow.h"
#include "PlotText.h"
#include "RecentExercises.h"
#include "SheetPrinting.h"
#include "WorkGate.h"

#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>

Form4Menu::Form4Menu(Form4& window) : window_(window) {
    undo_ = windowAction(QStringLiteral("Annulla curva"), {QKeySequence::Undo});
    redo_ = windowAction(
        QStringLiteral("Ripeti curva"),
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    find_ =
        windowAction(QStringLiteral("Trova spostamenti…"), {QKeySequence(Qt::CTRL | Qt::Key_T)});
    open_ = windowAction(QStringLiteral("Apri esercizio…"), {QKeySequence(Qt::CTRL | Qt::Key_O)});
    save_ = windowAction(QStringLiteral("Salva esercizio"), {QKeySequence(Qt::CTRL | Qt::Key_S)});
    saveAs_ = windowAction(QStringLiteral("Salva esercizio con nome…"),
                           {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)});
    print_ = windowAction(QStringLiteral("Stampa…"), {QKeySequence(Qt::CTRL | Qt::Key_P)});
    student_ = new QAction(QStringLiteral("Nome dello studente…"), this);
    saveAssignment_ = new QAction(QStringLiteral("Salva consegna…"), this);
    showAssignment_ = new QAction(QStringLiteral("Mostra consegna"), this);
    summary_ = new QAction(QStringLiteral("Riepilogo della classe…"), this);

    actOnWork(undo_, [this] { window_.history().undo(); });
    actOnWork(redo_, [this] { window_.history().redo(); });
    actOnWork(find_, [this] {
        offerDisplacements(window_, window_.document(), {window_.HScroll1, window_.HScroll2},
                           window_.nextMoveIncr(), window_.seams());
    });
    actOnWork(save_, [this] { window_.exerciseCommands().save(); });
    actOnWork(saveAs_, [this] { window_.exerciseCommands().saveAs(); });
    actOnWork(student_, [this] { window_.exerciseCommands().askStudentName(); });
    actOnWork(saveAssignment_, [this] { window_.exerciseCommands().saveAssignment(); });
    actOnWork(print_,
              [this] { printSheet(window_, sheetOf(window_.document()), window_.prompter()); });
    // The teacher reviewing the class wrote the assignment's text: it is not shown again at each
    // attempt.
    actOnWork(summary_, [this] {
        classSummary_ = showClassSummary(
            window_, window_.seams(),
            [this](const QString& path) {
                return window_.exerciseCommands().open(path,
                                                       ExerciseCommands::AssignmentText::Skipped);
            },
            classSummary_);
    });
    connect(showAssignment_, &QAction::triggered, this,
            [this] { window_.exerciseCommands().showAssignment(); });
    // An opening passes the gate itself, with the question about the work it drops.
    connect(open_, &QAction::triggered, this, [this] { window_.exerciseCommands().openAsked(); });
    guide_ = addGuideAction(window_);

    QUndoStack& history = window_.history();
    undo_->setEnabled(history.canUndo());
    redo_->setEnabled(history.canRedo());
    connect(&history, &QUndoStack::canUndoChanged, undo_, &QAction::setEnabled);
    connect(&history, &QUndoStack::canRedoChanged, redo_, &QAction::setEnabled);

    // From the keyboard the menu opens wherever the focus is, the fields and scroll bars
    // included, since every control of the window can hold it; a right click on a control
    // still opens the control's own menu.
    auto* shiftF10 = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), &window_);
    connect(shiftF10, &QShortcut::activated, this, &Form4Menu::openFromKeyboard);
}

QAction* Form4Menu::windowAction(const QString& text, const QList<QKeySequence>& keys) {
    auto* action = new QAction(text, this);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    window_.addAction(action);
    return action;
}

void Form4Menu::actOnWork(QAction* action, std::function<void()> run) {
    connect(action, &QAction::triggered, this, [this, run = std::move(run)] {
        if (window_.workGate().pass(WorkGate::Change::Keeps))
            run();
    });
}

void Form4Menu::fill(QMenu& menu) {
    const PlotRecord& plot = window_.model().lastPlot();
    menu.addAction(distanceLine(plot))->setEnabled(false);
    menu.addSeparator();
    menu.addActions({undo_, redo_});
    menu.addSeparator();
    menu.addAction(find_);
    menu.addSeparator();
    menu.addAction(open_);
    fillRecent(*menu.addMenu(QStringLiteral("Esercizi recenti")));
    menu.addActions({save_, saveAs_, student_, saveAssignment_, showAssignment_, summary_});
    // A name belongs to an attempt at an assignment.
    student_->setEnabled(window_.document().assignment().has_value());
    showAssignment_->setEnabled(!window_.exerciseCommands().assignmentText().isEmpty());
    menu.addSeparator();
    QAction* copyEquation = menu.addAction(QStringLiteral("Copia equazione"), this, [this] {
        window_.seams().clipboard->setText(equationText(window_.model().lastPlot()));
    });
    copyEquation->setEnabled(plot.points >= 2);
    menu.addAction(QStringLiteral("Copia immagine"), this,
                   [this] { window_.seams().clipboard->setImage(window_.drawing()); });
    menu.addAction(QStringLiteral("Salva immagine…"), this, [this] {
        saveDrawingAs(window_.retainedDrawing(), window_.size(), *window_.seams().saveFile,
                      window_.prompter());
    });
    menu.addAction(print_);
    window_.barPlayer().fill(menu);
    menu.addSeparator();
    menu.addAction(guide_);
}

void Form4Menu::fillRecent(QMenu& recent) {
    // Without a status bar, the full path shows as the entry's tooltip.
    recent.setToolTipsVisible(true);
    const QStringList paths = loadRecentExercises().paths();
    for (const QString& path : paths) {
        // An ampersand in a file's name is shown, not taken for the entry's key.
        const QString name = QFileInfo(path).fileName().replace(u'&', QStringLiteral("&&"));
        QAction* entry = recent.addAction(
            name, this, [this, path] { window_.exerciseCommands().openRecent(path); });
        entry->setStatusTip(QDir::toNativeSeparators(path));
        entry->setToolTip(entry->statusTip());
    }
    recent.addSeparator();
    recent.addAction(QStringLiteral("Svuota elenco"), this,
                     [this] { window_.exerciseCommands().forgetRecent(); });
    recent.setEnabled(!paths.isEmpty());
}

void Form4Menu::open(QPoint globalPosition) {
    QMenu menu(&window_);
    fill(menu);
    menu.exec(globalPosition);
}

void Form4Menu::openFromKeyboard() {
    const QPoint mouse = window_.mapFromGlobal(QCursor::pos());
    const bool onDrawing = window_.rect().contains(mouse) && window_.childAt(mouse) == nullptr;
    open(window_.mapToGlobal(onDrawing ? mouse : window_.rect().center()));
}

bool Form4Menu::takeEvent(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        openFromKeyboard();
        return true;
    }
    // A field takes the undo keys for its own typing only while it has some since the last
    // plot; otherwise they reach the window's actions.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* field = qobject_cast<QLineEdit*>(watched);
        auto* key = static_cast<QKeyEvent*>(event);
        const bool undoKey = key->matches(QKeySequence::Undo);
        const bool redoKey =
            redo_->shortcuts().contains(QKeySequence(key->modifiers() | Qt::Key(key->key())));
        if (field && (undoKey || redoKey)) {
            const bool ownTyping = field->isModified() &&
                                   (undoKey ? field->isUndoAvailable() : field->isRedoAvailable());
            if (!ownTyping) {
                event->ignore();
                return true;
            }
        }
    }
    return false;
}

void Form4Menu::setSearchAllowed(bool allowed) {
    find_->setEnabled(allowed);
}

void Form4Menu::closeClassSummary() {
    if (classSummary_)
        classSummary_->close();
}
