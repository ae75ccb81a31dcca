// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// The printed page read back as a person reads the paper: its words through pdftotext, its
// drawing through pdftoppm.
#include "Assignment.h"
#include "ExerciseFile.h"
#include "ExerciseSamples.h"
#include "Form4.h"
#include "PlotText.h"
#include "RecordingPrompter.h"
#include "SheetPrinting.h"
#include "WidgetTesting.h"

#include <QApplication>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>

namespace {

// The curve window, never shown, with an exercise drawn, as the command line draws it.
struct Drawn {
    RecordingPrompter prompter;
    Form4 form{&prompter};
    explicit Drawn(const Exercise& exercise) {
        form.resize(exercise.drawingSize);
        form.openExercise(exercise);
    }
};

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Pages are looked at as pixels at the page's own resolution, 150 dots per inch.
constexpr int Dpi = 150;

QImage pageOf(const QString& pdf, int page = 1) {
    const QString png = pdf + "-" + QString::number(page);
    const QString n = QString::number(page);
    QProcess::execute("pdftoppm", {"-r", QString::number(Dpi), "-aa", "no", "-aaVector", "no",
                                   "-png", "-singlefile", "-f", n, "-l", n, pdf, png});
    return QImage(png + ".png").convertToFormat(QImage::Format_RGB32);
}

int pageCount(const QString& pdf) {
    static const QRegularExpression pages("Pages: +(\\d+)\n");
    return pages.match(run("pdfinfo", {pdf})).captured(1).toInt();
}

bool isBlack(const QImage& image, int x, int y) {
    return image.pixel(x, y) == qRgb(0, 0, 0);
}

// The drawing's place on a page: the longest black line across the page and the longest down
// it, its edges.
QRect drawingOn(const QImage& paper) {
    QRect across, down;
    for (int y = 0; y < paper.height(); ++y)
        for (int x = 0, run = 0; x < paper.width(); ++x) {
            run = isBlack(paper, x, y) ? run + 1 : 0;
            if (run > across.width())
                across = QRect(x - run + 1, y, run, 1);
        }
    for (int x = 0; x < paper.width(); ++x)
        for (int y = 0, run = 0; y < paper.height(); ++y) {
            run = isBlack(paper, x, y) ? run + 1 : 0;
            if (run > down.height())
                down = QRect(x, y - run + 1, 1, run);
        }
    return QRect(QPoint(across.left(), down.top()), QPoint(across.right(), down.bottom()));
}

// Which way the chord runs, in radians, and how long it is, in pixels: the line through the
// black pixels of the drawing that are not on an axis. The axes are the rows and columns that
// are mostly black; the chord is the only other black on the drawing, the values along the
// axes aside.
struct Chord {
    double angle = 0, length = 0;
};
Chord chordIn(const QImage& image, QRect drawing) {
    std::vector<int> inRow(image.height()), inColumn(image.width());
    for (int y = drawing.top(); y <= drawing.bottom(); ++y)
        for (int x = drawing.left(); x <= drawing.right(); ++x)
            if (isBlack(image, x, y))
                ++inRow[y], ++inColumn[x];
    // A line mostly black, or one of the forty either side of it where its edges, the tick
    // marks across it and their values stand.
    const auto nearAxis = [](const std::vector<int>& counts, int at, int length) {
        const int last = int(counts.size()) - 1;
        for (int i = std::max(0, at - 40); i <= std::min(last, at + 40); ++i)
            if (counts[i] > length / 2)
                return true;
        return false;
    };
    std::vector<QPointF> points;
    for (int y = drawing.top(); y <= drawing.bottom(); ++y)
        for (int x = drawing.left(); x <= drawing.right(); ++x)
            if (isBlack(image, x, y) && !nearAxis(inRow, y, drawing.width()) &&
                !nearAxis(inColumn, x, drawing.height()))
                points.emplace_back(x, y);
    if (points.size() < 10)
        return {};
    QPointF mean;
    for (const QPointF& p : points)
        mean += p / double(points.size());
    double xx = 0, yy = 0, xy = 0;
    QRectF extent(points.front(), QSizeF());
    for (const QPointF& p : points) {
        const QPointF d = p - mean;
        xx += d.x() * d.x();
        yy += d.y() * d.y();
        xy += d.x() * d.y();
        extent |= QRectF(p, QSizeF(1, 1));
    }
    return {0.5 * std::atan2(2 * xy, xx - yy), std::hypot(extent.width(), extent.height())};
}

// A4's width within the page's margins, 180 mm, in the pixels of pageOf.
constexpr double PrintableWidth = 180 / 25.4 * Dpi;

} // namespace

class PrintedSheetTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString printed(Form4& form) {
        const QString pdf = dir.filePath("pagina.pdf");
        const QString failure = saveSheet(sheetOf(form.document()), pdf);
        return failure.isEmpty() ? pdf : failure;
    }

private slots:
    void initTestCase() {
        useLocale();
        for (const char* tool : {"pdftotext", "pdftoppm"})
            QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(),
                     "poppler-utils is missing: scripts/install-deps.sh installs it");
    }

    // The header, the values as the fields hold them, the bars and the mode; the latest
    // curve's distance line and equations only when a curve was drawn.
    void words_data() {
        QTest::addColumn<Exercise>("exercise");
        QTest::addColumn<QStringList>("says");
        QTest::addColumn<bool>("curve");
        const QStringList values{"DAX = 20",  "DAY = 30", "ALX = 150", "ALY = 70", "RAX = 300",
                                 "RAY = 270", "INST = 5", "AVY = 1",   "AVX = 1"};
        Exercise typed = handedOutExercise();
        typed.controls.field(ParameterField::Text9) = " 2,5 ";
        typed.controls.HScroll2 = -250;
        QTest::newRow("handed out")
            << handedOutExercise() << values + QStringList{"SPTX = 0", "SPTY = 0", "Curve Singole"}
            << false;
        QTest::newRow("attempt") << attemptExercise()
                                 << values + QStringList{"SPTX = 40", "Curve Multiple"} << true;
        QTest::newRow("as typed") << typed << QStringList{"INST = 2,5", "SPTY = -250"} << false;
        // A field's longest text is cut on its own: the names after it stay on the paper.
        Exercise longest = handedOutExercise();
        longest.controls.field(ParameterField::Text1) =
            QString(ExerciseLimits::MaxFieldLength, u'W');
        longest.controls.field(ParameterField::Text3) =
            QString(ExerciseLimits::MaxFieldLength, u'7');
        QTest::newRow("the longest values")
            << longest
            << QStringList{"DAX = WWW", "W… DAY = 30 ALX = 150 ALY = 70", "RAX = 777",
                           "7… RAY = 270"}
            << false;
    }
    void words() {
        QFETCH(Exercise, exercise);
        QFETCH(QStringList, says);
        QFETCH(bool, curve);
        Drawn drawn(exercise);
        const QString text = run("pdftotext", {printed(drawn.form), "-"}).simplified();
        says << "Nome ______ Classe ______ Data ______";
        const PlotRecord& plot = drawn.form.model().lastPlot();
        const QStringList curveLines = QStringList{distanceLine(plot)} + equationLines(plot);
        if (curve)
            says << curveLines;
        for (const QString& line : says)
            QVERIFY2(text.contains(line.simplified()), qPrintable(line + "\nnot in\n" + text));
        QCOMPARE(text.contains("x(α)"), curve);
        const QString info = run("pdfinfo", {printed(drawn.form)});
        QVERIFY2(info.contains(QRegularExpression("Pages: +1\n")) && info.contains("(A4)"),
                 qPrintable(info));
    }

    // The drawing goes on the paper with one scale across and down, whatever its shape: the
    // chord runs as it does in the window, within a pixel at its far end, and the text under
    // the drawing still fits on the page.
    void chordKeepsItsSlope_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("as wide as the page") << QSize(1280, 990);
        QTest::newRow("tall: as high as the room left") << QSize(500, 1400);
        QTest::newRow("flat") << QSize(1600, 500);
    }
    void chordKeepsItsSlope() {
        QFETCH(QSize, size);
        Exercise exercise = attemptExercise({5});
        exercise.drawingSize = size;
        // A steep chord and the target marker, also black, off the drawing.
        exercise.curves[0].ALY = 200;
        exercise.curves[0].RAX = exercise.curves[0].RAY = 5000;
        Drawn drawn(exercise);
        const Chord window = chordIn(drawn.form.drawing(), drawn.form.drawing().rect());

        const QString pdf = printed(drawn.form);
        QVERIFY(run("pdftotext", {pdf, "-"})
                    .contains(equationLines(drawn.form.model().lastPlot()).last()));
        const QImage paper = pageOf(pdf);
        const QRect drawing = drawingOn(paper);
        QVERIFY(!drawing.isEmpty());
        const Chord printed = chordIn(paper, drawing);
        QVERIFY(window.length > 100 && printed.length > 50);
        QVERIFY2(std::abs(printed.angle - window.angle) * printed.length <= 1,
                 qPrintable(QStringLiteral("window %1 rad, paper %2 rad over %3 pixels")
                                .arg(window.angle)
                                .arg(printed.angle)
                                .arg(printed.length)));
    }

    // With an assignment the page carries its text, whole however long (carried on to the next
    // page when one is full), the tolerance written as the rest of the page writes numbers and,
    // when there is one, the most curves; the student's name fills its line. Without them the
    // page says what it said. The drawing spans the page's width, or half of it at least under
    // a long text, with the values below it; along its axes, from the top down and from the
    // left, the values of the curve coordinates every 50 units, or every 100 where 50 would
    // crowd them.
    void assignmentOnPaper_data() {
        QTest::addColumn<Exercise>("exercise");
        QTest::addColumn<QStringList>("says");
        QTest::addColumn<QStringList>("saysNot");
        QTest::addColumn<bool>("onePage");
        QTest::addColumn<bool>("fullWidth");
        const auto assigned = [](const QString& text, double tolerance, int maxCurves) {
            Exercise exercise = attemptExercise();
            exercise.assignment = Assignment{text, tolerance, {}, maxCurves};
            return exercise;
        };
        Exercise named = assigned("Raggiungi il punto.", 2.5, 10);
        named.student = "Anna Rossi";
        const QString header = "Nome ______ Classe ______ Data ______";
        QStringList lines;
        for (int i = 1; i <= 20; ++i)
            lines << QString("Riga %1: una frase lunga quanto basta perché vada a capo sulla "
                             "carta, se la pagina ha i suoi margini e il testo le sue parole.")
                         .arg(i);
        QString longest;
        for (int i = 1; longest.size() < ExerciseLimits::MaxAssignmentTextLength - 12; ++i)
            longest += QString("parola%1 ").arg(i);
        const QString word = QString("0123456789").repeated(40);
        QTest::newRow("assignment, name")
            << named
            << QStringList{"Nome Anna Rossi Classe ______ Data ______",
                           "Raggiungi il punto.",
                           "Bersaglio raggiunto entro 2,5",
                           "Curve al massimo 10",
                           "300 250 200 150 100 50",
                           "-400 -350 -300 -250 -200 -150 -100 -50 50"}
            << QStringList{} << true << true;
        QTest::newRow("no most curves")
            << assigned("Prima riga.\nSeconda riga.", 0.125, 0)
            << QStringList{header, "Prima riga. Seconda riga.", "Bersaglio raggiunto entro 0,125"}
            << QStringList{"Curve al massimo"} << true << true;
        QTest::newRow("no assignment")
            << attemptExercise() << QStringList{header}
            << QStringList{"Consegna", "Bersaglio", "Curve al"} << true << true;
        const QStringList twelve = lines.mid(0, 12);
        QTest::newRow("twelve long lines")
            << assigned(twelve.join('\n'), 1, 0)
            << twelve + QStringList{"300 200 100", "-400 -300 -200 -100 100 200"}
            << QStringList{"-350", "250"} << true << false;
        // Too little room left for half the drawing: it goes on a page of its own.
        QTest::newRow("twenty long lines")
            << assigned(lines.join('\n'), 1, 0) << lines << QStringList{} << false << true;
        QTest::newRow("a word longer than a line")
            << assigned(word, 1, 0) << QStringList{word} << QStringList{} << true << true;
        QTest::newRow("the longest text")
            << assigned(longest, 1, 0) << QStringList{longest} << QStringList{} << false << false;
    }
    void assignmentOnPaper() {
        QFETCH(Exercise, exercise);
        QFETCH(QStringList, says);
        QFETCH(QStringList, saysNot);
        QFETCH(bool, onePage);
        QFETCH(bool, fullWidth);
        Drawn drawn(exercise);
        const QString pdf = printed(drawn.form);
        // Read without blanks: where a line breaks is the page's business.
        static const QRegularExpression blanks("\\s+");
        const QString text = run("pdftotext", {pdf, "-"}).remove(blanks);
        for (QString line : says)
            QVERIFY2(text.contains(line.remove(blanks)), qPrintable(line + "\nnot in\n" + text));
        for (QString words : saysNot)
            QVERIFY2(!text.contains(words.remove(blanks)), qPrintable(words));
        const int pages = pageCount(pdf);
        QCOMPARE(pages == 1, onePage);
        const QString last = QString::number(pages);
        QVERIFY(run("pdftotext", {"-f", last, "-l", last, pdf, "-"}).contains("DAX = 20"));
        const int width = drawingOn(pageOf(pdf, pages)).width();
        QVERIFY2(fullWidth ? std::abs(width - PrintableWidth) <= 2 : width >= PrintableWidth / 2,
                 qPrintable(QString::number(width)));
    }

    // Under the drawing the paper stays white, also where a very long drawing keeps its oldest
    // part as a picture: no trace of the screen's grey, and the curves still in colour.
    void whitePaper_data() {
        QTest::addColumn<Exercise>("exercise");
        QTest::addColumn<bool>("picture");
        QTest::newRow("as drawn") << attemptExercise() << false;
        QTest::newRow("the oldest part a picture") << attemptExercise({6000, 5}) << true;
    }
    void whitePaper() {
        QFETCH(Exercise, exercise);
        QFETCH(bool, picture);
        Drawn drawn(exercise);
        QCOMPARE(drawn.form.retainedDrawing().hasFoldedBase(), picture);
        const QImage paper = pageOf(printed(drawn.form));
        QCOMPARE(countPixels(paper, drawn.form.retainedDrawing().background()), 0);
        const QRect inside = drawingOn(paper).adjusted(2, 2, -2, -2);
        QCOMPARE(countPixels(paper, qRgb(255, 255, 255), QRect(inside.topLeft(), QSize(30, 30))),
                 900);
        int coloured = 0;
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                coloured += qRed(paper.pixel(x, y)) != qBlue(paper.pixel(x, y));
        QVERIFY2(coloured > 500, qPrintable(QString::number(coloured)));
    }

    // Ctrl+P from a field opens the preview of the one page; closing it prints nothing.
    void ctrlPOpensThePreview() {
        Drawn drawn(attemptExercise());
        QVERIFY(showActive(drawn.form));
        int pages = 0;
        QTimer user;
        connect(&user, &QTimer::timeout, [&] {
            if (auto* dialog =
                    qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
                pages = dialog->findChild<QPrintPreviewWidget*>()->pageCount();
                dialog->reject();
            }
        });
        user.start(20);
        QTest::keyClick(drawn.form.Text1, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(pages, 1);
        QVERIFY(drawn.prompter.messages.isEmpty());
    }
};

QTEST_MAIN(PrintedSheetTest)
#include "test_printed_sheet.moc"
