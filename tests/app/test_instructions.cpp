// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Form1.h"
#include "Form4Layout.h"
#include "InstructionsPage.h"
#include "ScrollBar.h"
#include "WidgetTesting.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <functional>

namespace {

using Change = std::function<void(const Form4Controls&)>;

bool isDark(QRgb pixel) {
    return qGray(pixel) < 128;
}

// Whether any pixel of the image inside rect (clipped to the image) is dark.
bool hasDarkPixel(const QImage& image, QRect rect) {
    rect = rect.intersected(image.rect());
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (isDark(image.pixel(x, y)))
                return true;
    return false;
}

// A rectangle in points on the page, in pixels at 96 dots per inch.
QRect pixelsAt96(const QRectF& points) {
    const qreal scale = 96.0 / 72.0;
    return QRect(qRound(points.x() * scale), qRound(points.y() * scale),
                 qRound(points.width() * scale), qRound(points.height() * scale));
}

} // namespace

Q_DECLARE_METATYPE(Change)

class TestInstructions : public QObject {
    Q_OBJECT

private slots:
    void paragraphs_data();
    void paragraphs();
    void lines_data();
    void lines();
    void emptyParagraphsTakeOneLineEach();
    void pageSize_data();
    void pageSize();
    void textOnThePage();
    void picturesOnThePage_data();
    void picturesOnThePage();
    void picturesShowTheListedStates();
    void pictureFollowsItsPanel_data();
    void pictureFollowsItsPanel();
    void windowLayout();
    void focusStartsOnAvanti();
    void pageAtNaturalSize();
    void pageUnchangedByResizing_data();
    void pageUnchangedByResizing();
};

void TestInstructions::paragraphs_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");

    const QString texts[ParagraphCount] = {
        QString(),
        QStringLiteral("Tutti i dati che compaiono nelle caselle sono dati di partenza, puramente "
                       "indicativi."),
        QString(),
        QStringLiteral("SEGMENTO: traccia il segmento (corda) di partenza su cui  si svolge la "
                       "curva e ne indica l\u2019inizio e la fine."),
        QString(),
        QString(),
        QString(),
        QStringLiteral(
            "Il PUNTO da \u2026\u2026\u2026\u2026  serve come indicazione da "
            "raggiungere con la curva tramite gli SPOSTAMENTI, non necessario ma utile."),
        QString(),
        QString(),
        QStringLiteral("INCREMENTO DI ALFA aumenta il valore dell\u2019angolo in verticale e in "
                       "orizzontale a seguito dello SPOSTAMENTO VERTICALE  o ORIZZONTALE."),
        QString(),
        QString(),
        QStringLiteral("L\u2019Incremento dei Punti-Curva aumenta il numero dei punti-grafici che "
                       "compongono la curva, poich\u00e8 pi\u00f9 \u00e8 grande la curva pi\u00f9 "
                       "tendono a diradarsi. "),
        QString(),
        QStringLiteral("Si pu\u00f2 scegliere di tracciare le Curve singolarmente o tutte."),
        QString(),
        QStringLiteral(
            "I valori positivi e negativi degli spostamenti sono propri di questo programma; "
            "mentre la casella con i numeri in neretto sono i valori degli spostamenti: sulla "
            "freccetta lo spostamento \u00e8 di 1 unit\u00e0 mentre all\u2019interno della barra "
            "\u00e8 di 50. I valori che compariranno potranno servire per ricomporre "
            "l\u2019equazione originaria in altra parte."),
        QString(),
        QString(),
        QString(),
        QString(),
    };
    for (int n = 1; n <= ParagraphCount; ++n)
        QTest::addRow("paragraph %d", n) << n << texts[n - 1];
}

void TestInstructions::paragraphs() {
    QFETCH(int, number);
    QFETCH(QString, text);
    QCOMPARE(instructionParagraph(number), text);
}

void TestInstructions::lines_data() {
    QTest::addColumn<int>("paragraph");
    QTest::addColumn<QList<int>>("baselines");
    QTest::addColumn<QList<int>>("lefts");

    QTest::newRow("2 over the full width") << 2 << QList<int>{20, 31} << QList<int>{0, 0};
    QTest::newRow("4 beside picture 1") << 4 << QList<int>{54, 65, 76} << QList<int>{183, 183, 183};
    QTest::newRow("8 beside picture 2")
        << 8 << QList<int>{122, 133, 144} << QList<int>{165, 165, 165};
    QTest::newRow("11 beside picture 3")
        << 11 << QList<int>{178, 190, 201} << QList<int>{130, 130, 130};
    QTest::newRow("14 beside picture 4")
        << 14 << QList<int>{235, 246, 258} << QList<int>{118, 118, 118};
    QTest::newRow("16 beside picture 5") << 16 << QList<int>{280} << QList<int>{91};
    QTest::newRow("18 beside picture 6, then over the full width")
        << 18 << QList<int>{303, 314, 326, 337, 348, 360, 371, 382, 394}
        << QList<int>{297, 297, 297, 297, 297, 297, 297, 0, 0};
}

// Baselines are compared whole points down, as the page lists them.
void TestInstructions::lines() {
    QFETCH(int, paragraph);
    QFETCH(QList<int>, baselines);
    QFETCH(QList<int>, lefts);

    QList<int> laidBaselines;
    QList<int> laidLefts;
    QString joined;
    for (const PageLine& line : layOutInstructions()) {
        if (line.paragraph != paragraph)
            continue;
        laidBaselines << static_cast<int>(std::floor(line.origin.y() + 1e-9));
        laidLefts << qRound(line.origin.x());
        joined += line.text;
        // Every character that is not a blank at a break stands on the page.
        const qsizetype printed = QStringView(line.text).trimmed().size();
        QVERIFY2(line.origin.x() + printed * CharacterAdvance <= PageWidth, qPrintable(line.text));
    }
    QCOMPARE(laidBaselines, baselines);
    QCOMPARE(laidLefts, lefts);
    QCOMPARE(joined, instructionParagraph(paragraph));
}

void TestInstructions::emptyParagraphsTakeOneLineEach() {
    const std::vector<PageLine> lines = layOutInstructions();
    QCOMPARE(lines.size(), std::size_t{39});
    QCOMPARE(lines.front().paragraph, 1);
    QCOMPARE(lines.back().paragraph, 22);
    QVERIFY(lines.back().origin.y() < PageHeight);
    for (std::size_t i = 1; i < lines.size(); ++i)
        QCOMPARE(lines[i].origin.y() - lines[i - 1].origin.y(), LinePitch);
}

void TestInstructions::pageSize_data() {
    QTest::addColumn<qreal>("dpi");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSize>("pixels");

    QTest::newRow("96 dpi") << 96.0 << 1.0 << QSize(643, 589);
    QTest::newRow("96 dpi, ratio 2") << 96.0 << 2.0 << QSize(1285, 1178);
    QTest::newRow("120 dpi") << 120.0 << 1.0 << QSize(803, 736);
}

void TestInstructions::pageSize() {
    QFETCH(qreal, dpi);
    QFETCH(qreal, ratio);
    QFETCH(QSize, pixels);

    InstructionsPage page;
    const QImage& image = page.image(dpi, dpi, ratio);
    QCOMPARE(image.size(), pixels);
    QCOMPARE(image.devicePixelRatio(), ratio);
}

// Each line with text shows dark pixels in its own band and from its own left edge; empty
// lines show none.
void TestInstructions::textOnThePage() {
    InstructionsPage page;
    const QImage image = page.image(96, 96, 1);
    for (const PageLine& line : layOutInstructions()) {
        const QRectF band(line.origin.x(), line.origin.y() - BaselineBelowTop,
                          PageWidth - line.origin.x(), LinePitch);
        const QRect pixels = pixelsAt96(band).adjusted(1, 1, 0, -1);
        QVERIFY2(
            hasDarkPixel(image, pixels) == !line.text.trimmed().isEmpty(),
            qPrintable(QStringLiteral("line at %1: \"%2\"").arg(line.origin.y()).arg(line.text)));
    }
}

void TestInstructions::picturesOnThePage_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QRectF>("place");
    QTest::addColumn<qreal>("textLeft");

    QTest::newRow("1 SEGMENTO") << 1 << QRectF(0, 43, 174, 67) << 183.0;
    QTest::newRow("2 PUNTO") << 2 << QRectF(6, 108, 150, 43) << 165.0;
    QTest::newRow("3 INCREMENTO DI ALFA") << 3 << QRectF(12, 153, 109, 59) << 130.0;
    QTest::newRow("4 Punti-Curva") << 4 << QRectF(12, 227, 97, 27) << 118.0;
    QTest::newRow("5 Curve Singole") << 5 << QRectF(12, 263, 70, 24) << 91.0;
    QTest::newRow("6 SPOSTAMENTO") << 6 << QRectF(0, 295, 287, 76) << 297.0;
}

// Each picture stands at its place at its size: the page there is the panel's picture scaled
// to that size (the bottom rows of picture 1 lie under picture 2), and between the picture and
// the text beside it the page is blank.
void TestInstructions::picturesOnThePage() {
    QFETCH(int, number);
    QFETCH(QRectF, place);
    QFETCH(qreal, textLeft);
    QCOMPARE(PagePictures[number - 1].textLeft, textLeft);

    InstructionsPage page;
    const QImage image = page.image(96, 96, 1);
    const QRect pixels = pixelsAt96(place);
    const QImage expected = page.pictures()[number - 1].scaled(pixels.size(), Qt::IgnoreAspectRatio,
                                                               Qt::SmoothTransformation);
    const QRect compared(pixels.topLeft(), QSize(pixels.width(), pixels.height() * 3 / 4));
    QCOMPARE(image.copy(compared),
             expected.copy(QRect(QPoint(0, 0), compared.size())).convertToFormat(image.format()));
    const QRect gap(pixels.right() + 2, pixels.top(),
                    qRound(textLeft * 96 / 72) - pixels.right() - 3, pixels.height());
    QVERIFY(!hasDarkPixel(image, gap));
}

// The page's pictures are the curve window's panels with the values the instructions speak of.
void TestInstructions::picturesShowTheListedStates() {
    QWidget host;
    host.resize(707, 452);
    const Form4Controls c = buildForm4Controls(&host);
    const std::pair<QLineEdit*, const char*> texts[] = {
        {c.Text1, "20"},  {c.Text2, "30"},  {c.Text4, "150"}, {c.Text5, "70"},
        {c.Text3, "300"}, {c.Text8, "270"}, {c.Text10, "1"},  {c.Text11, "1"},
        {c.Text9, "5"},   {c.Text7, "250"}, {c.Text6, "500"}};
    for (const auto& [box, text] : texts) {
        box->setText(QString::fromLatin1(text));
        box->setCursorPosition(0);
    }
    c.Check1->setChecked(false);
    c.HScroll2->setValue(250);
    c.HScroll1->setValue(500);

    InstructionsPage page;
    for (int number = 1; number <= PictureCount; ++number)
        QVERIFY2(page.pictures()[number - 1] == grabPanelPicture(number, c, host),
                 qPrintable(QString::number(number)));
}

void TestInstructions::pictureFollowsItsPanel_data() {
    QTest::addColumn<int>("picture");
    QTest::addColumn<Change>("change");
    QTest::addColumn<int>("unaffected");

    QTest::newRow("start point x on 1")
        << 1 << Change([](const Form4Controls& c) { c.Text1->setText(QStringLiteral("99")); }) << 6;
    QTest::newRow("point to reach y on 2")
        << 2 << Change([](const Form4Controls& c) { c.Text8->setText(QStringLiteral("-5")); }) << 1;
    QTest::newRow("vertical increment on 3")
        << 3 << Change([](const Form4Controls& c) { c.Text10->setText(QStringLiteral("7")); }) << 2;
    QTest::newRow("curve-point increment on 4")
        << 4 << Change([](const Form4Controls& c) { c.Text9->setText(QStringLiteral("50")); }) << 3;
    QTest::newRow("check box on 5")
        << 5 << Change([](const Form4Controls& c) { c.Check1->setChecked(true); }) << 4;
    QTest::newRow("vertical thumb on 6")
        << 6 << Change([](const Form4Controls& c) { c.HScroll2->setValue(-400); }) << 5;
    QTest::newRow("horizontal value box on 6")
        << 6 << Change([](const Form4Controls& c) { c.Text6->setText(QStringLiteral("0")); }) << 1;
}

void TestInstructions::pictureFollowsItsPanel() {
    QFETCH(int, picture);
    QFETCH(Change, change);
    QFETCH(int, unaffected);

    QWidget host;
    host.resize(707, 452);
    const Form4Controls controls = buildForm4Controls(&host);
    setPictureStates(controls);
    const QImage before = grabPanelPicture(picture, controls, host);
    const QImage otherBefore = grabPanelPicture(unaffected, controls, host);
    change(controls);
    QVERIFY(grabPanelPicture(picture, controls, host) != before);
    QCOMPARE(grabPanelPicture(unaffected, controls, host), otherBefore);
}

void TestInstructions::windowLayout() {
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.windowTitle(), QStringLiteral("Form1"));
    QCOMPARE(form.size(), QSize(843, 556));
    QVERIFY(!form.isMaximized());
    QCOMPARE(form.OLE1->geometry(), QRect(6, 14, 721, 537));
    QCOMPARE(form.Command1->geometry(), QRect(704, 288, 73, 97));
    QCOMPARE(form.Command1->text(), QStringLiteral("AVANTI"));
    // Where the button overlaps the page area, the button is on top.
    QCOMPARE(form.childAt(715, 330), form.Command1);
}

void TestInstructions::focusStartsOnAvanti() {
    Form1 form;
    QVERIFY(showActive(form));
    QCOMPARE(QApplication::focusWidget(), form.Command1);
}

// The area shows the page from its top-left corner at the page's own size; to the right of
// the page, the area is blank, and the page's bottom is cut by the area's edge.
void TestInstructions::pageAtNaturalSize() {
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QImage shown = form.OLE1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    InstructionsPage page;
    const QImage natural = page.image(96, 96, 1);
    QCOMPARE(shown.size(), QSize(721, 537));
    QCOMPARE(shown.copy(0, 0, 643, 537), natural.copy(0, 0, 643, 537));
    QVERIFY(!hasDarkPixel(shown, QRect(643, 0, 78, 537)));
}

void TestInstructions::pageUnchangedByResizing_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<QSize>("size");

    QTest::newRow("smaller than the page") << "resize" << QSize(400, 300);
    QTest::newRow("larger") << "resize" << QSize(1200, 900);
    QTest::newRow("maximized") << "maximize" << QSize();
    QTest::newRow("closed and shown again") << "reopen" << QSize(843, 556);
}

void TestInstructions::pageUnchangedByResizing() {
    QFETCH(QString, change);
    QFETCH(QSize, size);

    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QImage before = form.OLE1->grab().toImage();
    if (change == "maximize") {
        form.showMaximized();
        QTRY_VERIFY(form.isMaximized());
    } else {
        if (change == "reopen")
            form.close();
        else
            form.resize(size);
        form.show();
        QTRY_COMPARE(form.size(), size);
    }
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.OLE1->geometry(), QRect(6, 14, 721, 537));
    QCOMPARE(form.Command1->geometry(), QRect(704, 288, 73, 97));
    QCOMPARE(form.OLE1->grab().toImage(), before);
}

QTEST_MAIN(TestInstructions)
#include "test_instructions.moc"
