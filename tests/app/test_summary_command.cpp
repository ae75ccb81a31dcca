// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// The class summary from the command line, run as a teacher runs it: its exit statuses, and its
// CSV read back as a spreadsheet set to Italian reads it.
#include "AssignmentWork.h"
#include "ClassSummary.h"
#include "ExerciseFile.h"
#include "ExerciseSamples.h"
#include "Form4.h"
#include "NumberText.h"
#include "ProgramRun.h"
#include "RecordingPrompter.h"
#include "ScrollBar.h"
#include "SummaryCsv.h"
#include "WidgetTesting.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

void write(const QString& path, const QByteArray& contents) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
}

// The CSV as a spreadsheet takes it: the byte order mark says UTF-8, records end with CR LF,
// fields are split at ";" outside quotes and a doubled quote inside them is one quote.
QList<QStringList> readCsv(const QByteArray& bytes) {
    if (!bytes.startsWith("\xEF\xBB\xBF"))
        return {};
    const QString text = QString::fromUtf8(bytes.mid(3));
    QList<QStringList> records;
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"')
                field += text[++i];
            else if (c == u'"')
                quoted = false;
            else
                field += c;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u';') {
            fields << std::exchange(field, {});
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            fields << std::exchange(field, {});
            records << std::exchange(fields, {});
            ++i;
        } else if (c == u'\n' || c == u'\r') {
            return {}; // a line end a spreadsheet set to CR LF would not split at
        } else {
            field += c;
        }
    }
    return quoted || !field.isEmpty() || !fields.isEmpty() ? QList<QStringList>() : records;
}

} // namespace

class SummaryCommandTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString classFolder, attempt, refused, empty, out;
    QStringList attemptRow;
    Exercise attempted;

private slots:
    void initTestCase() {
        useLocale();
        classFolder = dir.filePath("classe");
        // A folder named like an exercise is not one.
        QVERIFY(QDir().mkpath(classFolder + "/vecchi.curva"));
        // An attempt drawn in the curve window: the summary must find what its plots found.
        RecordingPrompter prompter;
        Form4 form(&prompter);
        form.readIncr = [] { return 0.65; };
        form.resize(640, 480);
        form.Form_Activate();
        form.Check1->setChecked(true);
        for (int bar : {-100, 40, 300})
            form.HScroll1->setValue(bar);
        const std::vector<PlotRecord>& curves = form.model().curves();
        const auto nearest = std::min_element(curves.begin(), curves.end(), [](auto& a, auto& b) {
            return a.nearest.distance < b.nearest.distance;
        });
        attemptRow = {"anna;b.curva",
                      "",
                      QString::number(curves.size()),
                      DoubleToReadableText(nearest->nearest.distance),
                      QString::number(nearest->curve),
                      QString::number(nearest->SPTX),
                      QString::number(nearest->SPTY),
                      "",
                      "",
                      "",
                      "0",
                      "giudicato con i propri valori, senza consegna"};
        attempted = form.exercise();
        attempt = classFolder + "/anna;b.curva";
        write(attempt, exerciseToJson(attempted));
        empty = classFolder + "/carlo.curva";
        write(empty, exerciseToJson(handedOutExercise()));
        refused = classFolder + "/bruno.curva";
        write(refused, "{\"format\": \"altro\"}");
        write(classFolder + "/vecchi.curva/dario.curva", exerciseToJson(handedOutExercise()));
        write(classFolder + "/appunti.txt", "non un esercizio");
        out = dir.filePath("riepilogo.csv");
    }

    void statuses_data() {
        QTest::addColumn<QStringList>("arguments"); // C: the class folder, A: the attempt
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("rows"); // -1: no CSV written
        QTest::addColumn<QString>("says");
        const auto row = [](const char* name, QStringList arguments, int status, int rows,
                            const QString& says) {
            QTest::newRow(name) << arguments << status << rows << says;
        };
        row("all read", {"--riepilogo", "O", "A", "E"}, 0, 2, "");
        row("a folder with a refused file", {"--riepilogo", "O", "C"}, 1, 3,
            "non è un esercizio di Curve sulla corda");
        row("a missing file", {"A", "--riepilogo", "O", "D/nessuno.curva"}, 1, 2, "non esiste");
        row("assignment refused", {"--riepilogo", "O", "--consegna", "R", "A"}, 1, -1,
            "non è un esercizio di Curve sulla corda");
        row("output folder missing", {"--riepilogo", "D/manca/r.csv", "A"}, 1, -1,
            "Impossibile salvare il riepilogo");
        row("no attempts", {"--riepilogo", "O"}, 2, -1, "almeno un esercizio");
        row("no output", {"A", "--riepilogo"}, 2, -1, "--riepilogo vuole un valore");
        row("with an export", {"--riepilogo", "O", "--export", "D/a.png", "A"}, 2, -1,
            "non va con --export");
        row("assignment alone", {"--consegna", "E", "A"}, 2, -1, "solo con --riepilogo");
        row("help", {"--help"}, 0, -1, "--riepilogo FILE.csv");
    }
    void statuses() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(int, rows);
        QFETCH(QString, says);
        QFile::remove(out);
        for (QString& a : arguments)
            a = a == "O"   ? out
                : a == "C" ? classFolder
                : a == "A" ? attempt
                : a == "E" ? empty
                : a == "R" ? refused
                           : a.replace("D/", dir.path() + '/');
        const ProgramRun run = runProgram(arguments);
        QVERIFY2(run.status == status && run.output.contains(says), qPrintable(run.output));
        QFile csv(out);
        QCOMPARE(csv.exists(), rows >= 0);
        if (rows >= 0) {
            QVERIFY(csv.open(QIODevice::ReadOnly));
            QCOMPARE(readCsv(csv.readAll()).size(), rows + 1);
        }
    }

    // The teacher's assignment judges, run as a teacher runs it: her target and her tolerance,
    // although the student's file moved its target onto its own curve and raised its tolerance
    // (which "Consegna cambiata" tells), and her "0,5", typed under Italian settings, a half
    // although the program runs with the suite's LANG=C.UTF-8. The student named herself, and
    // placed her curve with "Trova spostamenti…".
    void consegnaJudgesByTheTeachersValues() {
        Assignment teachers;
        teachers.locked = {LockedGroup::Chord, LockedGroup::Increments};
        const QString given = dir.filePath("consegna-punto.curva");
        write(given, exerciseToJson(assignmentOf(pointChordExercise("0,5", false), teachers)));
        Exercise edited = pointChordExercise("0,5", true);
        edited.assignment = Assignment();
        edited.assignment->tolerance = Assignment::MaxTolerance;
        edited.curves[0].RAX = edited.curves[0].RAY = 10;
        edited.curves[0].bySearch = true;
        edited.student = "Elena Bianchi; 3ª B";
        const QString path = dir.filePath("elena.curva");
        write(path, exerciseToJson(edited));

        const ProgramRun run = runProgram({"--riepilogo", out, "--consegna", given, path});
        QVERIFY2(run.status == 0, qPrintable(run.output));
        QFile csv(out);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(readCsv(csv.readAll()).value(1),
                 QStringList({"elena.curva", "Elena Bianchi; 3ª B", "1", "5", "1", "0", "0", "no",
                              "no", "sì", "1", ""}));
    }

    // A folder's attempts by name, not its subfolders' nor its other files; the distance with a
    // decimal comma although the program runs with the suite's LANG=C.UTF-8, whose decimal
    // separator is a point; a name holding ";" and a message holding quotes come back whole.
    void csvAsASpreadsheetReadsIt() {
        QCOMPARE(runProgram({"--riepilogo", out, classFolder}).status, 1);
        QFile csv(out);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QList<QStringList> records = readCsv(csv.readAll());
        QCOMPARE(records.size(), 4);
        QCOMPARE(records[0],
                 QStringList({"File", "Studente", "Curve", "Distanza minima", "Curva",
                              "Orizzontale", "Verticale", "Raggiunto", "Valori cambiati",
                              "Consegna cambiata", "Trova spostamenti", "Nota"}));
        QCOMPARE(records[1], attemptRow);
        QCOMPARE(records[2].mid(0, 11),
                 QStringList({"bruno.curva", "", "", "", "", "", "", "", "", "", ""}));
        QVERIFY2(records[2][11].contains(QDir::toNativeSeparators(refused) + "\": non è un"),
                 qPrintable(records[2][11]));
        QCOMPARE(records[3], QStringList({"carlo.curva", "", "0", "", "", "", "", "", "", "", "0",
                                          "nessuna curva"}));
    }

    // A text a spreadsheet would run as a formula starts with an apostrophe; numbers, negative
    // ones too, stay numbers: unquoted, with a decimal comma.
    void cellsASpreadsheetCannotRun_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("cell");
        QTest::newRow("a formula") << "=HYPERLINK(\"http://esempio.it\";\"clic\").curva"
                                   << "'=HYPERLINK(\"http://esempio.it\";\"clic\").curva";
        QTest::newRow("a function") << "@SUM(1+1).curva"
                                    << "'@SUM(1+1).curva";
        QTest::newRow("a plus") << "+1+1.curva"
                                << "'+1+1.curva";
        QTest::newRow("a minus") << "-1+1.curva"
                                 << "'-1+1.curva";
        QTest::newRow("a tab") << "\t=1+1.curva"
                               << "'\t=1+1.curva";
        QTest::newRow("a carriage return") << "\r=1+1.curva"
                                           << "'\r=1+1.curva";
        QTest::newRow("a name, a negative number") << "anna.curva"
                                                   << "anna.curva";
    }
    void cellsASpreadsheetCannotRun() {
        QFETCH(QString, file);
        QFETCH(QString, cell);
        SummaryRow row;
        row.file = file;
        row.curves = 1;
        row.nearest = NearestCurve{2.5, 1, -250, 0};
        const QByteArray csv = summaryCsv({row});
        QCOMPARE(readCsv(csv).value(1).value(0), cell);
        QVERIFY2(csv.contains(";;1;2,5;1;-250;0;"), csv.constData());
    }
};

QTEST_MAIN(SummaryCommandTest)
#include "test_summary_command.moc"
