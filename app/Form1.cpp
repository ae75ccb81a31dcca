// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Form1.h"

#include "Accessibility.h"
#include "Fonts.h"
#include "InstructionsLayout.h"
#include "InstructionsPage.h"
#include "Twips.h"

#include <QPainter>
#include <QPushButton>
#include <QTimer>

namespace {

// The area that shows the instructions page at its natural size from its top-left corner,
// clipped to the area, whatever the window's size. It owns the page, which lives as long as
// the area that paints it.
class PageArea : public QWidget {
public:
    explicit PageArea(QWidget* parent) : QWidget(parent) {}

protected:
    // The page is drawn just after the window is shown, while the window manager puts it on the
    // screen, instead of before: the window appears sooner and the page is ready for its first
    // painting all the same.
    void showEvent(QShowEvent*) override { QTimer::singleShot(0, this, &PageArea::page); }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().base());
        painter.drawImage(QPointF(0, 0), page());
    }

private:
    const QImage& page() { return page_.image(logicalDpiX(), logicalDpiY(), devicePixelRatioF()); }

    InstructionsPage page_;
};

} // namespace

Form1::Form1(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Form1"));
    setFont(windowDefaultFont());
    resize(twipsToPixels(12645), twipsToPixels(8340));
    setAccessibleTexts(this, "", "istruzioni: come si usano i comandi della finestra delle curve");

    OLE1 = new PageArea(this);
    OLE1->setGeometry(twipsRect(90, 210, 10815, 8055));
    // The page is a picture; assistive technology gets its text.
    QStringList paragraphs;
    for (int n = 1; n <= ParagraphCount; ++n)
        if (const QString text = instructionParagraph(n).trimmed(); !text.isEmpty())
            paragraphs << text;
    OLE1->setAccessibleName(QStringLiteral("Istruzioni"));
    OLE1->setAccessibleDescription(paragraphs.join(QLatin1Char('\n')));

    Command1 = new QPushButton(QStringLiteral("AVANTI"), this);
    Command1->setGeometry(twipsRect(10560, 4320, 1095, 1455));
    Command1->setAutoDefault(false);
    setAccessibleTexts(Command1, "",
                       "prosegue: la prima volta verso la calibrazione dello schermo, poi verso "
                       "la finestra delle curve");
    // The button overlaps the page area's right edge and stands on top of it.
    Command1->raise();

    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
}

void Form1::Command1_Click() {
    if (moveOn)
        moveOn();
}
