// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Form2.h"

#include "Accessibility.h"
#include "Fonts.h"
#include "Prompter.h"
#include "ScrollBar.h"
#include "Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

// A push button whose caption wraps onto several lines within the button's face.
class WrappedCaptionButton : public QPushButton {
public:
    WrappedCaptionButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        painter.drawControl(QStyle::CE_PushButton, option);
        const QRect captionArea =
            style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(captionArea, Qt::AlignCenter | Qt::TextWordWrap, text());
    }
};

template <typename Control> Control* place(Control* control, const char* name, QRect geometry) {
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
}

constexpr QRgb InstructionFace = qRgb(255, 192, 128);
constexpr QRgb TitleColor = qRgb(255, 0, 0);
constexpr qreal TitlePointSize = 13.5;

} // namespace

Form2::Form2(Prompter* prompter) : prompter_(prompter, this) {
    setWindowTitle(QStringLiteral("Form2"));
    setFont(windowDefaultFont());
    resize(twipsToPixels(9855), twipsToPixels(6840));
    setAccessibleTexts(this, "",
                       "calibrazione dello SCHERMO: due assi e una figura rossa che, con la "
                       "barra di scorrimento, deve risultare una CIRCONFERENZA");

    // Created in tab order; the title takes no focus.
    HScroll1 =
        place(new HScrollBar(1, 30, 1, 1, this), "HScroll1", twipsRect(480, 1080, 5895, 255));
    setAccessibleTexts(HScroll1, "barra di scorrimento della calibrazione",
                       "da 1 a 30: ogni passo cambia il rapporto verticale su orizzontale; "
                       "fermarsi quando la figura risulta una CIRCONFERENZA");
    Text1 = place(new QLineEdit(QStringLiteral("Text1"), this), "Text1",
                  twipsRect(360, 2880, 735, 375));
    setAccessibleTexts(
        Text1, "rapporto verticale su orizzontale",
        "mostra il rapporto scelto con la barra; ciò che si scrive qui non viene letto");
    Command1 = place(new QPushButton(QStringLiteral("OK - continua"), this), "Command1",
                     twipsRect(3120, 2880, 1575, 615));
    setAccessibleTexts(Command1, "",
                       "accetta il rapporto, se maggiore di 0,53, e apre la finestra delle curve");
    Command2 = place(new WrappedCaptionButton(
                         QStringLiteral("KLICCARE  sulla barra di scorrimento fino a che la "
                                        "figura  risulti una CIRCONFERENZA"),
                         this),
                     "Command2", twipsRect(360, 1560, 6255, 735));
    setAccessibleTexts(Command2, "", "istruzione: premere il pulsante non fa nulla");
    Command3 = place(new QPushButton(QStringLiteral("ESCI"), this), "Command3",
                     twipsRect(360, 4080, 1695, 615));
    setAccessibleTexts(Command3, "", "chiude il programma");
    Label1 = place(new QLabel(QStringLiteral("Per calibrare l' impostazione corretta della "
                                             "risoluzione dello SCHERMO"),
                              this),
                   "Label1", twipsRect(360, 240, 9135, 495));

    QPalette face = Command2->palette();
    face.setColor(QPalette::Button, QColor(InstructionFace));
    Command2->setPalette(face);

    Label1->setFont(sansSerifFont(TitlePointSize));
    QPalette title = Label1->palette();
    title.setColor(QPalette::WindowText, QColor(TitleColor));
    Label1->setPalette(title);
    // The title hides the drawing behind it, like the other controls.
    Label1->setBackgroundRole(QPalette::Button);
    Label1->setForegroundRole(QPalette::WindowText);
    Label1->setAutoFillBackground(true);

    HScroll1->setFocus();

    wireControls();
}

Form2::~Form2() = default;

void Form2::wireControls() {
    connect(HScroll1, &QScrollBar::valueChanged, this,
            [this](int position) { HScroll1_Change(static_cast<std::int16_t>(position)); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
}

void Form2::showRatio(const QString& text) {
    Text1->setText(text);
}
