// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// The program's command line, run as a user runs it: each form with its exit status, the files it
// leaves and what it says; an exercise exported without a window is the picture "Salva
// immagine…" saves, and its printed page the one "Stampa…" prints; an exercise given to the
// windows opens straight on the curve window.
#include "DrawingSave.h"
#include "ExerciseFile.h"
#include "ExerciseCommands.h"
#include "FileAskers.h"
#include "Form1.h"
#include "Form2.h"
#include "Form4.h"
#include "Forms.h"
#include "NonRegularFiles.h"
#include "NumberText.h"
#include "ProgramRun.h"
#include "RecordingPrompter.h"
#include "ScrollBar.h"
#include "SheetPrinting.h"
#include "WidgetTesting.h"

#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <sys/sysmacros.h>

namespace {

// A family of curves drawn in the curve window, and the window.
struct Attempt {
    RecordingPrompter prompter;
    Form4 form{&prompter};
    Attempt() {
        form.readIncr = [] { return 0.65; };
        form.resize(640, 480);
        form.Form_Activate();
        form.Check1->setChecked(true);
        form.HScroll2->setValue(150);
        form.HScroll1->setValue(-100);
    }
};

// "Salva esercizio con nome…" answered with one name.
struct OneName final : SaveFileAsker {
    QString name;
    QString askSaveFileName(const SaveChoice&, QString&) override { return name; }
};

// What is at a path (the link itself when it is one) and its bytes; a pipe is never opened.
std::pair<mode_t, QByteArray> stateOf(const QString& path) {
    struct stat status {};
    QFile file(path);
    const bool there = ::lstat(QFile::encodeName(path).constData(), &status) == 0;
    return {there ? status.st_mode & S_IFMT : 0,
            QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) ? file.readAll() : ""};
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString exercise, refused;

    // An exercise of the attempt's with some of its fields' texts changed, written into the
    // folder; its path.
    QString exerciseWith(const QString& name, const std::map<ParameterField, QString>& texts) {
        Attempt attempt;
        Exercise changed = attempt.form.exercise();
        for (const auto& [field, text] : texts)
            changed.controls.field(field) = text;
        const QString path = dir.filePath(name);
        QFile file(path);
        const QByteArray contents = exerciseToJson(changed);
        return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size()
                   ? path
                   : QString();
    }

private slots:
    void initTestCase() {
        useLocale();
        Attempt attempt;
        exercise = dir.filePath("esercizio.curva");
        refused = dir.filePath("altro.curva");
        for (const auto& [path, contents] :
             {std::pair{exercise, exerciseToJson(attempt.form.exercise())},
              std::pair{refused, QByteArray("{\"format\": \"altro\"}")}}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
        }
        QVERIFY(QDir(dir.path()).mkdir("uscite"));
    }

    void eachForm_data() {
        QTest::addColumn<QStringList>("arguments"); // E: the exercise, R: a refused file
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("written"); // in uscite/, empty: nothing
        QTest::addColumn<QString>("says");
        const auto row = [](const char* name, QStringList arguments, int status,
                            const QString& written, const QString& says) {
            QTest::newRow(name) << arguments << status << written << says;
        };
        row("help", {"--help"}, 0, "", "Uso:");
        row("version", {"--version"}, 0, "", " 1.0");
        row("PNG", {"--export", "O/a.png", "E"}, 0, "a.png", "");
        row("SVG at a size", {"E", "--export", "O/a.svg", "--size", "320x200"}, 0, "a.svg", "");
        row("PDF", {"--export=O/a.pdf", "E"}, 0, "a.pdf", "");
        row("missing exercise", {"--export", "O/a.png", "O/nessuno.curva"}, 1, "", "non esiste");
        row("refused exercise", {"--export", "O/a.png", "R"}, 1, "",
            "non è un esercizio di Curve sulla corda");
        row("folder missing", {"--export", "O/manca/a.png", "E"}, 1, "",
            "Impossibile salvare l'immagine");
        row("unknown format", {"--export", "O/a.gif", "E"}, 2, "", "non è noto");
        row("two exercises", {"E", "E"}, 2, "", "un esercizio alla volta");
        row("export without exercise", {"--export", "O/a.png"}, 2, "", "vuole l'esercizio");
        row("size without export", {"--size", "10x10", "E"}, 2, "", "solo con --export");
        row("size out of range", {"--export", "O/a.png", "E", "--size", "0x5"}, 2, "",
            "da 1 a 8192");
        row("two outputs", {"--export", "O/a.png", "--export", "O/b.png", "E"}, 2, "",
            "una volta sola");
        row("unknown option", {"--bogus"}, 2, "", "opzione sconosciuta: --bogus");
        row("printed page", {"--stampa", "O/a.pdf", "E"}, 0, "a.pdf", "");
        row("printed page, refused exercise", {"--stampa", "O/a.pdf", "R"}, 1, "",
            "non è un esercizio di Curve sulla corda");
        row("printed page, folder missing", {"--stampa", "O/manca/a.pdf", "E"}, 1, "",
            "Impossibile salvare la pagina");
        row("printed page not a PDF", {"--stampa", "O/a.png", "E"}, 2, "", "deve finire in .pdf");
        row("printed page and export", {"--stampa", "O/a.pdf", "--export", "O/b.png", "E"}, 2, "",
            "non vanno insieme");
        row("printed page without exercise", {"--stampa", "O/a.pdf"}, 2, "", "vuole l'esercizio");
        row("printed page at a size", {"--stampa", "O/a.pdf", "E", "--size", "10x10"}, 2, "",
            "solo con --export");
    }
    void eachForm() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, written);
        QFETCH(QString, says);
        QDir out(dir.filePath("uscite"));
        for (const QString& name : out.entryList(QDir::Files | QDir::Hidden))
            out.remove(name);
        for (QString& a : arguments)
            a = a == "E" ? exercise : a == "R" ? refused : a.replace("O/", out.path() + '/');
        const ProgramRun run = runProgram(arguments);
        QVERIFY2(run.status == status && run.output.contains(says), qPrintable(run.output));
        QCOMPARE(out.entryList(QDir::Files | QDir::Hidden),
                 written.isEmpty() ? QStringList() : QStringList{written});
        if (written.endsWith(".svg"))
            QCOMPARE(QSvgRenderer(out.filePath(written)).viewBox(), QRect(0, 0, 320, 200));
    }

    // Every file written is a file or new: anything else is left as it was and named in the
    // reader's words. A command never writes over a file it reads, however it is named, and a
    // name must end in the suffix of what is written.
    void writtenOnlyOverFiles_data() {
        // T: the target, E: the exercise, D: its folder; "finestra": the window saves to T.
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("target"); // its name
        QTest::addColumn<QString>("there");  // what is there before
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says"); // "T": the target's path
        const auto row = [](const char* name, QStringList arguments, const char* target,
                            const char* there, int status, const char* says) {
            QTest::newRow(name) << arguments << QString(target) << QString(there) << status
                                << QString::fromUtf8(says);
        };
        const QStringList summary{"--riepilogo", "T", "E"};
        row("summary, a new file", summary, "r.csv", "", 0, "");
        row("summary, a file saved before", summary, "r.csv", "file", 0, "");
        row("summary, a folder", summary, "r.csv", "folder", 1,
            "Impossibile salvare il riepilogo in \"T\": è una cartella, non un file.");
        row("summary, a pipe", summary, "r.csv", "pipe", 1,
            "Impossibile salvare il riepilogo in \"T\": non è un file ma una pipe.");
        row("printed page, a socket", {"--stampa", "T", "E"}, "p.pdf", "socket", 1,
            "Impossibile salvare la pagina in \"T\": non è un file ma un socket.");
        row("picture, a device", {"--export", "T", "E"}, "i.png", "device", 1,
            "Impossibile salvare l'immagine in \"T\": non è un file ma un dispositivo.");
        row("the window's exercise, a pipe", {"finestra"}, "e.curva", "pipe", 1,
            "Impossibile salvare l'esercizio in \"T\": non è un file ma una pipe.");
        row("summary, the output's name forgotten", summary, "anna.curva", "copy", 2,
            "--riepilogo scrive un CSV: il nome di \"T\" deve finire in .csv.");
        row("summary, a folder's attempt through a link", {"--riepilogo", "T", "D"}, "r.csv",
            "link", 2, "--riepilogo scriverebbe sopra \"T\", che è anche un file da leggere.");
        row("printed page, the exercise through a hard link", {"--stampa", "T", "E"}, "p.pdf",
            "hard link", 2, "--stampa scriverebbe sopra \"T\", che è anche un file da leggere.");
    }
    void writtenOnlyOverFiles() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, target);
        QFETCH(QString, there);
        QFETCH(int, status);
        QFETCH(QString, says);
        QTemporaryDir out;
        const QString path = out.filePath(target);
        const QByteArray name = QFile::encodeName(path), from = QFile::encodeName(exercise);
        QFile old(path);
        QVERIFY(there == "file"        ? old.open(QIODevice::WriteOnly) && old.write("vecchio")
                : there == "folder"    ? QDir().mkdir(path)
                : there == "pipe"      ? ::mkfifo(name.constData(), 0600) == 0
                : there == "socket"    ? makeSocket(path)
                : there == "copy"      ? QFile::copy(exercise, path)
                : there == "link"      ? QFile::link(exercise, path)
                : there == "hard link" ? ::link(from.constData(), name.constData()) == 0
                // A device of one's own when one may: root would lose /dev/null to a fault.
                : there == "device"
                    ? ::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0 ||
                          QFile::link("/dev/null", path)
                    : true);
        old.close();
        const auto before = stateOf(path), exerciseBefore = stateOf(exercise);
        ProgramRun run{0, {}};
        if (arguments == QStringList{"finestra"}) {
            Attempt attempt;
            OneName asker;
            asker.name = path;
            attempt.form.replaceSeams({.saveFile = &asker});
            run = {attempt.form.exerciseCommands().saveAs() ? 0 : 1,
                   attempt.prompter.messages.join(u'\n')};
        } else {
            for (QString& a : arguments)
                a = a == "T" ? path : a == "E" ? exercise : a == "D" ? dir.path() : a;
            run = runProgram(arguments);
        }
        says.replace("\"T\"", '"' + path + '"');
        QVERIFY2(run.status == status && run.output.contains(says), qPrintable(run.output));
        QCOMPARE(stateOf(exercise), exerciseBefore);
        if (status != 0)
            QCOMPARE(stateOf(path), before);
        else
            QVERIFY(stateOf(path).first == S_IFREG && stateOf(path).second != before.second);
    }

    // "--soluzione": the fields read as a plot reads them, the search's answer in one line; a
    // field the plot would not take is told as the plot tells it, and no line is written. The
    // answers were found by plotting every pair; the last ones lie at the ends of both bars.
    void solution_data() {
        QTest::addColumn<QStringList>("texts");     // pairs of a field's number and its text
        QTest::addColumn<QStringList>("arguments"); // F: the exercise with those texts
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        const auto row = [](const char* name, QStringList texts, QStringList arguments, int status,
                            const QString& says) {
            QTest::newRow(name) << texts << arguments << status << says;
        };
        const QStringList values = {"2", "100", "5", "80", "6", "7", "7", "2", "8", "3"};
        row("every field its own value", values, {"--soluzione", "F"}, 0,
            "orizzontale 512, verticale 316, distanza 0,00307168");
        row("the best at the right and bottom ends", {"2", "700", "5", "-300"},
            {"--soluzione", "F"}, 0, "orizzontale 600, verticale -500, distanza 336,053");
        row("the best at the left end", {"2", "-400", "5", "100"}, {"--soluzione", "F"}, 0,
            "orizzontale -600, verticale 52, distanza 178,041");
        row("a field that is not a number", {"0", "abc"}, {"--soluzione", "F"}, 1,
            "DAX non è un numero");
        row("INST 0", {"6", "0"}, {"--soluzione", "F"}, 1, "Non è ammesso 0");
        row("no curve draws a point", {"6", "-5"}, {"--soluzione", "F"}, 1,
            "Nessuna posizione delle barre disegna un punto");
        row("refused file", {}, {"--soluzione", "R"}, 1, "non è un esercizio di Curve sulla");
        row("no exercise", {}, {"--soluzione"}, 2, "--soluzione vuole l'esercizio");
        row("with an exercise besides", {}, {"--soluzione", "F", "F"}, 2, "un esercizio solo");
    }
    void solution() {
        QFETCH(QStringList, texts);
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, says);
        std::map<ParameterField, QString> fields;
        for (int i = 0; i + 1 < texts.size(); i += 2)
            fields[ParameterField(texts[i].toInt())] = texts[i + 1];
        const QString file = exerciseWith("soluzione.curva", fields);
        for (QString& a : arguments)
            a = a == "F" ? file : a == "R" ? refused : a;
        const ProgramRun run = runProgram(arguments);
        QCOMPARE(run.status, status);
        // The answer is the last line; Qt's own warnings may come before it on standard error.
        QVERIFY2(status == 0 ? run.output.endsWith(says + u'\n')
                             : run.output.contains(says) && !run.output.contains("orizzontale"),
                 qPrintable(run.output));
    }

    // What cannot be written is not reported as written.
    void fullStandardOutput_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("help") << QStringList{"--help"};
        QTest::newRow("version") << QStringList{"--version"};
        QTest::newRow("solution") << QStringList{"--soluzione", "E"};
    }
    void fullStandardOutput() {
        QFETCH(QStringList, arguments);
        arguments.replaceInStrings(QRegularExpression("^E$"), exercise);
        const ProgramRun run = runProgram(arguments, true);
        QCOMPARE(run.status, 1);
        QVERIFY2(run.output.contains("impossibile scrivere sull'uscita standard"),
                 qPrintable(run.output));
    }

    // Without a window the picture is the one the window saves, pixel for pixel.
    void exportIsTheWindowsPicture() {
        Attempt attempt;
        const QString fromWindow = dir.filePath("finestra.png");
        QCOMPARE(saveDrawing(attempt.form.retainedDrawing(), attempt.form.size(), fromWindow,
                             DrawingFormat::Png),
                 QString());
        const QString exported = dir.filePath("esportata.png");
        QCOMPARE(runProgram({"--export", exported, exercise}).status, 0);
        QCOMPARE(QImage(exported), QImage(fromWindow));
    }

    // Without a window the printed page is the one "Stampa…" prints from the window.
    void printedPageIsTheWindows() {
        // The program runs in the tests' own locale, with points for decimals.
        QLocale::setDefault(QLocale::c());
        Attempt attempt;
        const QString fromWindow = dir.filePath("finestra.pdf");
        QCOMPARE(saveSheet(sheetOf(attempt.form.document()), fromWindow), QString());
        const QString printed = dir.filePath("stampata.pdf");
        QCOMPARE(runProgram({"--stampa", printed, exercise}).status, 0);
        const auto page = [](const QString& pdf) {
            QProcess::execute("pdftoppm", {"-r", "50", "-aa", "no", "-aaVector", "no", "-png",
                                           "-singlefile", pdf, pdf});
            return QImage(pdf + ".png");
        };
        QVERIFY(!page(printed).isNull());
        QCOMPARE(page(printed), page(fromWindow));
        useLocale();
    }

    // An exercise given to the windows: the curve window shows it, and the first activation adds
    // nothing; "?" and "AVANTI" lead to the instructions and back, the calibration skipped. A
    // file that cannot be opened is reported, and nothing is shown.
    void exerciseOpensStraightOnTheCurveWindow() {
        RecordingPrompter prompter;
        Forms forms(&prompter, [] {});
        QVERIFY(!forms.openExercise(refused));
        QCOMPARE(prompter.messages.size(), 1);
        QVERIFY(!forms.form4().isVisible());

        QVERIFY(forms.openExercise(exercise));
        QVERIFY(QTest::qWaitForWindowActive(&forms.form4()));
        const Exercise opened = *readExerciseFile(exercise).exercise;
        QCOMPARE(forms.form4().model().curves().size(), opened.curves.size());
        forms.form4().Command6_Click();
        QVERIFY(QTest::qWaitForWindowActive(&forms.form1()));
        forms.form1().Command1->click();
        QVERIFY(QTest::qWaitForWindowActive(&forms.form4()));
        QVERIFY(!forms.form2().isVisible());
        QCOMPARE(forms.form4().model().curves().size(), opened.curves.size() + 1);
        QCOMPARE(forms.form4().model().lastPlot().Incr, opened.Incr);
        QCOMPARE(prompter.messages.size(), 1);
    }
};

QTEST_MAIN(CommandLineTest)
#include "test_command_line.moc"
