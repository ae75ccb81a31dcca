// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Form4Layout.h"

#include "Accessibility.h"
#include "Fonts.h"
#include "ScrollBar.h"
#include "Twips.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <limits>
#include <qdrawutil.h>

// Frames, labels and the check box fill their background: like every other control they hide
// the drawing behind them.

namespace {

// A frame whose border runs through the middle of its caption, as the window was designed:
// the controls placed just below the caption stay clear of the border.
class Frame : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QFontMetrics metrics = fontMetrics();
        qDrawShadeRect(&painter, rect().adjusted(0, metrics.height() / 2, 0, 0), palette(), true);

        // A long caption moves left rather than run past the frame.
        constexpr int padding = 2;
        const int captionWidth = metrics.horizontalAdvance(title()) + 2 * padding;
        const int inset = std::clamp(width() - captionWidth, 0, 6);
        const QRect caption(inset, 0, captionWidth, metrics.height());
        painter.fillRect(caption, palette().window());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(caption.adjusted(padding, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         title());
    }
};

QGroupBox* frame(QWidget* parent, const char* name, const QString& caption, QRect place) {
    auto* box = new Frame(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setAutoFillBackground(true);
    box->setGeometry(place);
    return box;
}

QLabel* plainLabel(QWidget* parent, const char* name, const QString& caption, QRect place) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QLatin1String(name));
    l->setAutoFillBackground(true);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setGeometry(place);
    return l;
}

QLabel* wrappedLabel(QWidget* parent, const char* name, const QString& caption, QRect place) {
    QLabel* l = plainLabel(parent, name, caption, place);
    l->setWordWrap(true);
    return l;
}

// A caption designed to stand on one line. The stand-in font runs a little wider than the
// one the window was designed with, so the label grows to the right rather than wrap.
QLabel* label(QWidget* parent, const char* name, const QString& caption, QRect place) {
    QLabel* l = plainLabel(parent, name, caption, place);
    l->resize(std::max(place.width(), l->sizeHint().width()), place.height());
    return l;
}

QLineEdit* textBox(QWidget* parent, const char* name, const QString& text, QRect place) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(std::numeric_limits<int>::max());
    box->setGeometry(place);
    return box;
}

// Enter and Esc press no button of the window.
QPushButton* button(QWidget* parent, const char* name, const QString& caption, QRect place) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    b->setDefault(false);
    b->setGeometry(place);
    return b;
}

HScrollBar* scrollBar(QWidget* parent, const char* name, int limit, QRect place) {
    auto* bar = new HScrollBar(-limit, limit, 1, 50, parent);
    bar->setObjectName(QLatin1String(name));
    bar->setValue(0);
    bar->setGeometry(place);
    return bar;
}

// The numbers over the left end, the middle and the right end of a displacement bar.
QString rangeCaption(int limit) {
    const QString gap(51, QLatin1Char(' '));
    return QStringLiteral("-%1").arg(limit) + gap + QLatin1Char('0') + gap +
           QStringLiteral("+%1").arg(limit);
}

// The caption over a displacement bar. Its blanks were counted for the designed font; to stay
// right whatever the font, its three numbers are placed over the left end, the middle and the
// right end of the bar, barWidth pixels from the label's left edge.
class RangeLabel : public QLabel {
public:
    RangeLabel(const QString& caption, int barWidth, QWidget* parent)
        : QLabel(caption, parent), barWidth_(barWidth) {}

protected:
    void paintEvent(QPaintEvent*) override {
        const QStringList numbers = text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QPainter painter(this);
        painter.setPen(palette().color(foregroundRole()));
        const QRect bar(0, 0, barWidth_, height());
        painter.drawText(bar, Qt::AlignLeft | Qt::AlignTop, numbers.front());
        painter.drawText(bar, Qt::AlignHCenter | Qt::AlignTop, numbers[1]);
        painter.drawText(bar, Qt::AlignRight | Qt::AlignTop, numbers.back());
    }

private:
    int barWidth_;
};

QLabel* rangeLabel(QWidget* parent, const char* name, int limit, QRect place, int barWidth) {
    auto* l = new RangeLabel(rangeCaption(limit), barWidth, parent);
    l->setObjectName(QLatin1String(name));
    l->setAutoFillBackground(true);
    l->setTextFormat(Qt::PlainText);
    l->setGeometry(place);
    return l;
}

} // namespace

Form4Controls buildForm4Controls(QWidget* parent) {
    parent->setFont(windowDefaultFont());
    const QFont bold12 = sansSerifFont(12, true);
    // The two displacement panels place their range caption and bar alike.
    const QRect rangePlace = twipsRect(120, 240, 5535, 255);
    const QRect barPlace = twipsRect(120, 480, 5295, 255);
    Form4Controls c{};

    c.Frame1 =
        frame(parent, "Frame1", QStringLiteral("SEGMENTO "), twipsRect(240, 480, 3975, 1455));
    c.Label1 = label(c.Frame1, "Label1", QStringLiteral("dal   PUNTO     X ="),
                     twipsRect(120, 480, 1455, 255));
    c.Text1 = textBox(c.Frame1, "Text1", QStringLiteral("20"), twipsRect(1680, 360, 615, 375));
    setAccessibleTexts(c.Text1, "dal PUNTO, X", "punto iniziale della corda, x");
    c.Label2 = label(c.Frame1, "Label2", QStringLiteral("Y ="), twipsRect(2640, 480, 375, 375));
    c.Text2 = textBox(c.Frame1, "Text2", QStringLiteral("30"), twipsRect(3000, 360, 615, 375));
    setAccessibleTexts(c.Text2, "dal PUNTO, Y", "punto iniziale della corda, y");
    c.Label4 = label(c.Frame1, "Label4", QStringLiteral(" al   PUNTO     X ="),
                     twipsRect(120, 960, 1335, 375));
    c.Text4 = textBox(c.Frame1, "Text4", QStringLiteral("150"), twipsRect(1680, 840, 615, 375));
    setAccessibleTexts(c.Text4, "al PUNTO, X", "punto finale della corda, x");
    c.Label5 = label(c.Frame1, "Label5", QStringLiteral("Y = "), twipsRect(2640, 960, 495, 375));
    c.Text5 = textBox(c.Frame1, "Text5", QStringLiteral("70"), twipsRect(3000, 840, 615, 375));
    setAccessibleTexts(c.Text5, "al PUNTO, Y", "punto finale della corda, y");

    c.Command3 =
        button(parent, "Command3", QStringLiteral("ESCI"), twipsRect(4560, 600, 1935, 255));
    setAccessibleTexts(c.Command3, "", "chiude il programma");
    c.Command1 =
        button(parent, "Command1", QStringLiteral("ESEGUI"), twipsRect(4560, 960, 1935, 495));
    setAccessibleTexts(c.Command1, "", "traccia un’altra curva sopra il disegno");
    c.Command2 = button(parent, "Command2", QStringLiteral("CANCELLA ed esegui"),
                        twipsRect(4560, 1560, 1935, 375));
    setAccessibleTexts(c.Command2, "",
                       "cancella il disegno e traccia di nuovo gli assi e una curva");
    c.Command6 = button(parent, "Command6", QStringLiteral("?"), twipsRect(6840, 1080, 495, 375));
    c.Command6->setFont(bold12);
    setAccessibleTexts(c.Command6, "Istruzioni", "mostra la finestra delle istruzioni");

    c.Frame4 = frame(parent, "Frame4", QStringLiteral("SPOSTAMENTO VERTICALE"),
                     twipsRect(240, 2160, 7095, 855));
    c.Frame4->setToolTip(QStringLiteral("LargeChange = 50; SmallChange =1"));
    c.Label7 = rangeLabel(c.Frame4, "Label7", 500, rangePlace, barPlace.width());
    c.HScroll2 = scrollBar(c.Frame4, "HScroll2", 500, barPlace);
    setAccessibleTexts(c.HScroll2, "SPOSTAMENTO VERTICALE",
                       "da -500 a +500: sulla freccetta 1 unità, all’interno della barra 50; "
                       "ogni spostamento traccia la curva");
    c.Text7 = textBox(c.Frame4, "Text7", QStringLiteral("0"), twipsRect(5520, 360, 615, 375));
    c.Text7->setFont(bold12);
    setAccessibleTexts(c.Text7, "valore dello SPOSTAMENTO VERTICALE",
                       "mostra la posizione della barra; ciò che si scrive qui non viene letto");
    c.Command4 =
        button(c.Frame4, "Command4", QStringLiteral("Azzera"), twipsRect(6240, 240, 735, 495));
    setAccessibleTexts(c.Command4, "Azzera SPOSTAMENTO VERTICALE",
                       "riporta a 0 lo spostamento verticale");

    c.Frame3 = frame(parent, "Frame3", QStringLiteral("SPOSTAMENTO ORIZZONTALE"),
                     twipsRect(240, 3120, 7095, 855));
    c.Frame3->setToolTip(QStringLiteral("LargeChange =50; SmallChange =1"));
    c.Label6 = rangeLabel(c.Frame3, "Label6", 600, rangePlace, barPlace.width());
    c.HScroll1 = scrollBar(c.Frame3, "HScroll1", 600, barPlace);
    setAccessibleTexts(c.HScroll1, "SPOSTAMENTO ORIZZONTALE",
                       "da -600 a +600: sulla freccetta 1 unità, all’interno della barra 50; "
                       "ogni spostamento traccia la curva");
    c.Text6 = textBox(c.Frame3, "Text6", QStringLiteral("0"), twipsRect(5520, 360, 615, 375));
    c.Text6->setFont(bold12);
    setAccessibleTexts(c.Text6, "valore dello SPOSTAMENTO ORIZZONTALE",
                       "mostra la posizione della barra; ciò che si scrive qui non viene letto");
    c.Command5 =
        button(c.Frame3, "Command5", QStringLiteral("Azzera"), twipsRect(6240, 240, 735, 495));
    setAccessibleTexts(c.Command5, "Azzera SPOSTAMENTO ORIZZONTALE",
                       "riporta a 0 lo spostamento orizzontale");

    c.Frame2 = frame(parent, "Frame2", QStringLiteral("PUNTO da raggiungere con la CURVA"),
                     twipsRect(240, 4320, 2895, 735));
    c.Label3 = label(c.Frame2, "Label3", QStringLiteral("x"), twipsRect(360, 240, 255, 255));
    c.Label3->setFont(bold12);
    c.Text3 = textBox(c.Frame2, "Text3", QStringLiteral("300"), twipsRect(720, 240, 615, 375));
    setAccessibleTexts(c.Text3, "PUNTO da raggiungere con la CURVA, x",
                       "indicazione da raggiungere con la curva tramite gli spostamenti, x");
    c.Label8 = label(c.Frame2, "Label8", QStringLiteral("y"), twipsRect(1560, 240, 375, 375));
    c.Label8->setFont(bold12);
    c.Text8 = textBox(c.Frame2, "Text8", QStringLiteral("270"), twipsRect(2040, 240, 615, 375));
    setAccessibleTexts(c.Text8, "PUNTO da raggiungere con la CURVA, y",
                       "indicazione da raggiungere con la curva tramite gli spostamenti, y");

    c.Frame5 = frame(parent, "Frame5", QStringLiteral("INCREMENTO DI ALFA"),
                     twipsRect(3360, 4080, 2055, 1095));
    // Created before Text10, so the text box covers the label's right end.
    c.Label10 =
        label(c.Frame5, "Label10", QStringLiteral("Verticale"), twipsRect(240, 240, 1695, 255));
    c.Text10 = textBox(c.Frame5, "Text10", QStringLiteral("1"), twipsRect(1560, 240, 375, 285));
    setAccessibleTexts(c.Text10, "INCREMENTO DI ALFA, Verticale",
                       "aumento dell’angolo a seguito dello SPOSTAMENTO VERTICALE");
    c.Label11 =
        label(c.Frame5, "Label11", QStringLiteral("Orizzontale"), twipsRect(240, 600, 855, 375));
    c.Text11 = textBox(c.Frame5, "Text11", QStringLiteral("1"), twipsRect(1560, 600, 375, 285));
    setAccessibleTexts(c.Text11, "INCREMENTO DI ALFA, Orizzontale",
                       "aumento dell’angolo a seguito dello SPOSTAMENTO ORIZZONTALE");

    c.Label9 = wrappedLabel(parent, "Label9", QStringLiteral("Incremento dei Punti-Curva"),
                            twipsRect(5520, 4200, 1215, 375));
    c.Text9 = textBox(parent, "Text9", QStringLiteral("5"), twipsRect(6960, 4200, 375, 375));
    setAccessibleTexts(c.Text9, "Incremento dei Punti-Curva",
                       "più è grande, più punti compongono la curva");
    c.Check1 = new QCheckBox(QStringLiteral("Curve Singole"), parent);
    c.Check1->setObjectName(QStringLiteral("Check1"));
    c.Check1->setAutoFillBackground(true);
    c.Check1->setGeometry(twipsRect(5760, 4800, 1455, 375));
    // The name follows the caption, which tells the mode; the description tells both.
    setAccessibleTexts(c.Check1, "",
                       "selezionata, Curve Multiple: ogni spostamento aggiunge una curva; "
                       "non selezionata, Curve Singole: ogni spostamento cancella e traccia una "
                       "curva sola");

    QWidget* const tabOrder[] = {c.Text4,    c.Text5,  c.Command1, c.Command2, c.Command3,
                                 c.Text1,    c.Text2,  c.HScroll1, c.Text6,    c.HScroll2,
                                 c.Text7,    c.Text9,  c.Text3,    c.Text8,    c.Command4,
                                 c.Command5, c.Text10, c.Text11,   c.Check1,   c.Command6};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
    return c;
}
