// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// "Riepilogo della classe": the table sorts every column, numbers as numbers; it stays beside the
// real curve window, whose attempts it opens one after another in the table's order, without the
// assignment's text, and goes with the window; "Salva CSV…" writes what the command line writes.
#include "AssignmentWork.h"
#include "ClassSummaryDialog.h"
#include "ExerciseCommands.h"
#include "ExerciseFile.h"
#include "ExerciseSamples.h"
#include "ExerciseWindow.h"
#include "FileAskers.h"
#include "Form4.h"
#include "LongWorkProgress.h"
#include "RecordingPrompter.h"
#include "SummaryCsv.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

namespace {

// The summary's folder, the assignment's file, the CSV's name.
class ClassAskers : public SaveFileAsker, public FolderAsker, public OpenFileAsker {
public:
    QString answer;
    QString opened;
    QString askSaveFileName(const SaveChoice&, QString&) override { return answer; }
    QString askFolder(const QString&, const QString&) override { return answer; }
    QString askOpenFileName(const QString&, const QString&, const QStringList&) override {
        return opened;
    }
};

// The summaries shown beside the window; "Riepilogo della classe…" from its menu.
QList<ClassSummaryDialog*> shownBeside(Form4& form) {
    QList<ClassSummaryDialog*> shown = form.findChildren<ClassSummaryDialog*>();
    shown.removeIf([](const ClassSummaryDialog* dialog) { return !dialog->isVisible(); });
    return shown;
}

SummaryRow row(const char* file, int curves, double distance, int sptx) {
    SummaryRow row;
    row.file = QString::fromUtf8(file);
    row.curves = curves;
    row.nearest = NearestCurve{distance, 1, static_cast<std::int16_t>(sptx), 0};
    return row;
}

std::vector<SummaryRow> sampleRows() {
    SummaryRow refused;
    refused.file = "zeta.curva";
    refused.refused = true;
    refused.note = "rifiutato";
    return {row("bruno.curva", 10, 100, 5), row("Anna.curva", 2, 9.5, -20), refused,
            row("carlo.curva", 9, 10.25, 100)};
}

QPushButton* button(QWidget& dialog, const QString& text) {
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

// The summary's only row, from "Distanza minima" to "Nota".
QStringList judged(ClassSummaryDialog& dialog) {
    QStringList texts;
    for (int c = int(SummaryColumn::Distance); c < SummaryColumnCount; ++c)
        texts << dialog.table()->model()->index(0, c).data().toString();
    return texts;
}

const QString TeachersText = QStringLiteral("Porta la curva sul punto muovendo le barre.");

// A class's attempts, told apart by the window's menu by their number of curves (a.curva 5,
// c.curva 1, d.curva 3), and b.curva, no exercise; the curve window shown, and the summary of
// their folder beside it.
struct ClassReview {
    PrivateSettings settings;
    QTemporaryDir folder;
    Window window;
    ClassAskers folders;
    ClassSummaryDialog* summary = nullptr;

    explicit ClassReview(std::optional<Assignment> assignment = Assignment{TeachersText}) {
        for (const auto& [name, curves] :
             {std::pair{"a.curva", 5}, {"c.curva", 1}, {"d.curva", 3}}) {
            Exercise attempt = attemptExercise(std::vector<double>(curves, 5));
            attempt.assignment = assignment;
            writeFile(folder.filePath(name), exerciseToJson(attempt));
        }
        writeFile(folder.filePath("b.curva"), "{");
        folders.answer = folder.path();
        window.form.replaceSeams({.folder = &folders});
    }
    [[nodiscard]] bool shown() {
        if (!showActive(window.form))
            return false;
        chooseEntry(window.form, "Riepilogo della classe…");
        summary = shownBeside(window.form).value(0);
        return summary &&
               QTest::qWaitFor([this] { return QApplication::activeWindow() == summary; });
    }
    // The row chosen, and the curves the window's menu counts: "c.curva: Curva 1".
    QString seen() {
        const QModelIndexList chosen = summary->table()->selectionModel()->selectedRows();
        QMenu menu;
        window.form.fillContextMenu(menu);
        return chosen.value(0).data().toString() + ": " +
               menu.actions().constFirst()->text().section(':', 0, 0);
    }
};

} // namespace

class ClassSummaryDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useLocale(); }

    // Text order would put 10 before 9 and -20 before 5; an empty field goes last.
    void sortsEveryColumn_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("ascending");
        QTest::newRow("file") << int(SummaryColumn::File)
                              << QStringList{"Anna.curva", "bruno.curva", "carlo.curva",
                                             "zeta.curva"};
        QTest::newRow("curves") << int(SummaryColumn::Curves) << QStringList{"2", "9", "10", ""};
        QTest::newRow("distance") << int(SummaryColumn::Distance)
                                  << QStringList{"9,5", "10,25", "100", ""};
        QTest::newRow("horizontal bar")
            << int(SummaryColumn::Horizontal) << QStringList{"-20", "5", "100", ""};
    }
    void sortsEveryColumn() {
        QFETCH(int, column);
        QFETCH(QStringList, ascending);
        ClassAskers asker;
        RecordingPrompter prompter;
        ClassSummaryDialog dialog(sampleRows(), QString(), asker, prompter);
        QHeaderView* header = dialog.table()->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, 5));
        QStringList shown;
        for (int r = 0; r < dialog.table()->model()->rowCount(); ++r)
            shown << dialog.table()->model()->index(r, column).data().toString();
        if (header->sortIndicatorOrder() == Qt::DescendingOrder)
            std::reverse(shown.begin(), shown.end());
        QCOMPARE(shown, ascending);
    }

    // "Apri", "Precedente", "Successivo" and their keys open the attempts in the table's order
    // as sorted, past the file that was refused, and choose the row opened; over unsaved work
    // they ask first, and "Annulla" leaves the attempt and the row as they were. At either end
    // one of the two is disabled rather than going round: the teacher sees the class is done.
    void reviewOneAfterAnother_data() {
        QTest::addColumn<int>("sortedBy");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("seen");
        QTest::addColumn<QStringList>("disabled");
        const int curves = int(SummaryColumn::Curves);
        const QStringList unsaved{"Apri", "ESEGUI", "Successivo"};
        QTest::newRow("by the number of curves, to the last read, the key too")
            << curves << QStringList{"Apri", "Successivo", "Alt+Destra"} << ""
            << QStringList{"c.curva: Curva 1", "d.curva: Curva 3", "a.curva: Curva 5"}
            << QStringList{"Successivo"};
        QTest::newRow("by file name, past the refused file and back to the first")
            << int(SummaryColumn::File) << QStringList{"Apri", "Successivo", "Precedente"} << ""
            << QStringList{"a.curva: Curva 5", "c.curva: Curva 1", "a.curva: Curva 5"}
            << QStringList{"Precedente"};
        QTest::newRow("unsaved work, Annulla stays")
            << curves << unsaved << "Annulla"
            << QStringList{"c.curva: Curva 1", "c.curva: Curva 2", "c.curva: Curva 2"}
            << QStringList{"Precedente"};
        QTest::newRow("unsaved work, Non salvare moves on")
            << curves << unsaved << "Non salvare"
            << QStringList{"c.curva: Curva 1", "c.curva: Curva 2", "d.curva: Curva 3"}
            << QStringList();
    }
    void reviewOneAfterAnother() {
        QFETCH(int, sortedBy);
        QFETCH(QStringList, steps);
        QFETCH(QString, answer);
        QFETCH(QStringList, seen);
        QFETCH(QStringList, disabled);
        ClassReview review;
        QVERIFY(review.shown());
        review.summary->table()->sortByColumn(sortedBy, Qt::AscendingOrder);
        review.summary->table()->selectRow(0);
        review.window.question.answers = {answer == "Annulla" ? SaveQuestion::Answer::Cancel
                                                              : SaveQuestion::Answer::Discard};
        QStringList shown;
        for (const QString& step : steps) {
            if (step == "ESEGUI") {
                review.window.form.Command1_Click();
            } else if (step == "Alt+Destra") {
                // The key clicks its button once the button has shown itself pressed a moment.
                QTest::keyClick(review.summary->table(), Qt::Key_Right, Qt::AltModifier);
                QTRY_VERIFY(!button(*review.summary, "Successivo")->isDown());
            } else {
                button(*review.summary, step)->click();
            }
            shown << review.seen();
        }
        QCOMPARE(shown, seen);
        QCOMPARE(review.window.question.asked.size(), answer.isEmpty() ? 0 : 1);
        QStringList grey;
        for (const QString moving : {"Precedente", "Successivo"})
            if (!button(*review.summary, moving)->isEnabled())
                grey << moving;
        QCOMPARE(grey, disabled);
    }

    // The summary's teacher wrote the assignment's text: its openings do not show it, and
    // "Mostra consegna" shows it again, disabled without a text.
    void theTeachersTextWhenAsked_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("Apri") << TeachersText << false << QStringList();
        QTest::newRow("Mostra consegna")
            << TeachersText << true << QStringList{"Consegna: " + TeachersText};
        QTest::newRow("Mostra consegna, no text") << "" << true << QStringList();
    }
    void theTeachersTextWhenAsked() {
        QFETCH(QString, text);
        QFETCH(bool, asked);
        QFETCH(QStringList, messages);
        ClassReview review(Assignment{text});
        QVERIFY(review.shown());
        button(*review.summary, "Apri")->click();
        QCoreApplication::processEvents();
        QMenu menu;
        QAction* entry = menuEntry(review.window.form, menu, "Mostra consegna");
        QCOMPARE(entry->isEnabled(), !text.isEmpty());
        if (asked)
            entry->trigger();
        QCOMPARE(review.window.prompter.messages, messages);
    }

    // Closing the curve window closes the summary, unless the closing was cancelled; another
    // summary takes the place of the one shown, which a folder not chosen leaves as it was.
    void theSummaryGoesWithTheWindow_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("rows"); // of the summary shown, 0 for none
        QTest::newRow("closing the window") << "closing" << 0;
        QTest::newRow("closing cancelled over unsaved work") << "closing, Annulla" << 4;
        QTest::newRow("another summary") << "another" << 1;
        QTest::newRow("another summary, no folder chosen") << "another, no folder" << 4;
    }
    void theSummaryGoesWithTheWindow() {
        QFETCH(QString, way);
        QFETCH(int, rows);
        ClassReview review;
        Form4& form = review.window.form;
        QVERIFY(review.shown());
        QTemporaryDir other;
        writeFile(other.filePath("z.curva"), exerciseToJson(attemptExercise()));
        if (way.startsWith("closing")) {
            button(*review.summary, "Apri")->click();
            if (way.endsWith("Annulla"))
                form.Command1_Click();
            form.close();
        } else {
            review.folders.answer = way.endsWith("no folder") ? QString() : other.path();
            chooseEntry(form, "Riepilogo della classe…");
        }
        const QList<ClassSummaryDialog*> shown = shownBeside(form);
        QCOMPARE(shown.size(), rows > 0 ? 1 : 0);
        if (rows > 0)
            QCOMPARE(shown.constFirst()->table()->model()->rowCount(), rows);
    }

    // An attempt that moved its target onto its own curve and raised its tolerance reads
    // "Raggiunto sì" by its own values; "Consegna…" judges it by the teacher's, the next summary
    // starts with the same assignment, and "Senza consegna" goes back.
    void consegnaJudgesByTheTeachersValues() {
        QTemporaryDir folder;
        Exercise attempt = pointChordExercise("0,5", true);
        attempt.assignment = Assignment{"", Assignment::MaxTolerance, {}, 0, false};
        attempt.curves[0].RAX = attempt.curves[0].RAY = 10;
        const Exercise assignment = assignmentOf(pointChordExercise("0,5", false), {});
        // Named so that the folder does not list it among the attempts.
        for (const auto& [name, exercise] :
             {std::pair{"anna.curva", attempt}, {"consegna", assignment}}) {
            QFile file(folder.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(exerciseToJson(exercise)) > 0);
        }
        RecordingPrompter prompter;
        Form4 form(&prompter);
        ClassAskers askers;
        askers.answer = folder.path();
        askers.opened = folder.filePath("consegna");
        form.replaceSeams({.openFile = &askers, .folder = &askers});
        const auto summary = [&](const std::function<void(ClassSummaryDialog&)>& use) {
            chooseEntry(form, "Riepilogo della classe…");
            ClassSummaryDialog* dialog = shownBeside(form).value(0);
            QVERIFY(dialog);
            use(*dialog);
            button(*dialog, "Chiudi")->click();
        };
        const QStringList byTheTeacher{"5", "1", "0", "0", "no", "sì", "sì", "0", ""};
        const QStringList byItsOwn{
            "0", "1", "0", "0", "sì", "", "", "0", "giudicato con i propri valori, senza consegna"};
        summary([&](ClassSummaryDialog& dialog) {
            QCOMPARE(judged(dialog), byItsOwn);
            button(dialog, "Consegna…")->click();
            QCOMPARE(judged(dialog), byTheTeacher);
        });
        summary([&](ClassSummaryDialog& dialog) {
            QCOMPARE(judged(dialog), byTheTeacher);
            button(dialog, "Senza consegna")->click();
            QCOMPARE(judged(dialog), byItsOwn);
        });
        QCOMPARE(prompter.messages, QStringList());
    }

    // With an assignment, the best its own values allow, above the table: the chord is the point
    // (10; 10), and at 45 degrees, where cos α sin α is a half, the bars 6 and 8 reach (13; 14).
    // A long search can be given up, and the class is judged all the same.
    void bestPossibleAboveTheTable_data() {
        QTest::addColumn<QString>("DAX"); // empty: no assignment
        QTest::addColumn<QString>("INST");
        QTest::addColumn<QString>("shown"); // empty: no such line
        QTest::newRow("no assignment") << ""
                                       << "2"
                                       << "";
        QTest::newRow("the point reached")
            << "10"
            << "2"
            << "Migliore possibile: orizzontale 6, verticale 8, distanza 0";
        QTest::newRow("no position draws a point")
            << "10"
            << "-2"
            << "Migliore possibile: nessuna posizione delle barre disegna un punto della curva.";
        QTest::newRow("a field no plot takes")
            << "dieci"
            << "2"
            << "Migliore possibile: non cercato (DAX non è un numero).";
        QTest::newRow("cancelled") << "10"
                                   << "100000"
                                   << "Migliore possibile: ricerca annullata.";
    }
    void bestPossibleAboveTheTable() {
        QFETCH(QString, DAX);
        QFETCH(QString, INST);
        QFETCH(QString, shown);
        Exercise handout = pointChordExercise("1", false);
        handout.controls.field(ParameterField::Text1) = DAX;
        handout.controls.field(ParameterField::Text9) = INST;
        std::optional<Exercise> assignment;
        if (!DAX.isEmpty())
            assignment = assignmentOf(handout, {});
        QTemporaryDir folder;
        ScriptedAsker asker;
        RecordingPrompter prompter;
        ClassSummaryDialog dialog({}, folder.path(), asker, prompter);
        bool cancelled = false;
        QTimer clicker;
        connect(&clicker, &QTimer::timeout, [&] {
            if (auto* bar = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget()))
                cancelled =
                    bar->labelText() == "Ricerca degli spostamenti" && (bar->cancel(), true);
        });
        clicker.start(20);
        // The search takes about a quarter of a second: its bar must show on a fast machine too.
        const auto showAfter =
            std::exchange(LongWorkProgress::showAfter, std::chrono::milliseconds(100));
        QVERIFY(dialog.judgeBy(assignment, folder.filePath("consegna.curva")));
        LongWorkProgress::showAfter = showAfter;
        QCOMPARE(cancelled, QTest::currentDataTag() == QString("cancelled"));
        QString line;
        for (QLabel* label : dialog.findChildren<QLabel*>())
            if (label->isVisibleTo(&dialog) && label->text().startsWith("Migliore possibile"))
                line = label->text();
        QCOMPARE(line, shown);
        QCOMPARE(prompter.messages, QStringList());
    }

    // Cancelled, nothing is written, not even beside the program; a name without a suffix gets
    // ".csv".
    void saveCsvWritesTheCommandLinesFile_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("written");
        QTest::newRow("cancelled") << ""
                                   << "";
        QTest::newRow("named") << "riepilogo"
                               << "riepilogo.csv";
    }
    void saveCsvWritesTheCommandLinesFile() {
        QFETCH(QString, answer);
        QFETCH(QString, written);
        QTemporaryDir folder;
        const QString before = QDir::currentPath();
        QDir::setCurrent(folder.path());
        ClassAskers asker;
        asker.answer = answer.isEmpty() ? QString() : folder.filePath(answer);
        RecordingPrompter prompter;
        ClassSummaryDialog dialog(sampleRows(), folder.path(), asker, prompter);
        button(dialog, "Salva CSV…")->click();
        QDir::setCurrent(before);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                 written.isEmpty() ? QStringList() : QStringList{written});
        if (!written.isEmpty()) {
            QFile file(folder.filePath(written));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), summaryCsv(sampleRows()));
        }
    }
};

QTEST_MAIN(ClassSummaryDialogTest)
#include "test_class_summary_dialog.moc"
