#include "Form4.h"

#include "Accessibility.h"
#include "Clipboard.h"
#include "DrawingSave.h"
#include "FileDialogAsker.h"
#include "NumberText.h"
#include "PlotText.h"
#include "Prompter.h"
#include "ScrollBar.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QCursor>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QToolTip>
#include <cmath>

Form4::Form4(Prompter* prompter, QWidget* parent)
    : SurfaceWidget(parent), Form4Controls(buildForm4Controls(this)),
      ownClipboard_(std::make_unique<SystemClipboard>()), clipboard_(ownClipboard_.get()),
      ownSaveFileAsker_(std::make_unique<FileDialogAsker>(this)),
      saveFileAsker_(ownSaveFileAsker_.get()), prompter_(prompter, this),
      model_(*this, *this, prompter_.get(), [this] { return readIncr(); }) {
    setWindowTitle(QStringLiteral("Form4"));
    resize(Form4DesignSize);
    setAccessibleTexts(this, "",
                       "finestra delle curve: dietro i comandi, il disegno con gli assi, il PUNTO "
                       "da raggiungere e le curve sulla corda");

    connect(Command1, &QPushButton::clicked, this, &Form4::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form4::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form4::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form4::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form4::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form4::Command6_Click);
    connect(HScroll1, &QScrollBar::valueChanged, this, &Form4::HScroll1_Change);
    connect(HScroll2, &QScrollBar::valueChanged, this, &Form4::HScroll2_Change);
    connect(Check1, &QCheckBox::toggled, this, &Form4::Check1_Click);

    // From the keyboard the menu opens wherever the focus is, the fields and scroll bars
    // included, since every control of the window can hold it; a right click on a control
    // still opens the control's own menu.
    auto* shiftF10 = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    connect(shiftF10, &QShortcut::activated, this, &Form4::openContextMenuFromKeyboard);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

Form4::~Form4() = default;

void Form4::Form_Activate() {
    model_.Form_Activate();
}

void Form4::Command1_Click() {
    model_.CALCOLA();
}

void Form4::Command2_Click() {
    model_.clearAndRedraw();
}

void Form4::Command3_Click() {
    if (endProgram)
        endProgram();
}

void Form4::Command6_Click() {
    if (showInstructions)
        showInstructions();
}

void Form4::HScroll1_Change() {
    displacementChanged(HScroll1, Text6, model_.SPTX);
}

void Form4::HScroll2_Change() {
    displacementChanged(HScroll2, Text7, model_.SPTY);
}

void Form4::Command5_Click() {
    resetDisplacement(HScroll1, Text6, model_.SPTX);
}

void Form4::Command4_Click() {
    resetDisplacement(HScroll2, Text7, model_.SPTY);
}

void Form4::Check1_Click() {
    Check1->setText(Check1->isChecked() ? QStringLiteral("Curve Multiple")
                                        : QStringLiteral("Curve Singole"));
}

void Form4::displacementChanged(QScrollBar* bar, QLineEdit* shown, std::int16_t& variable) {
    const auto position = static_cast<std::int16_t>(bar->value());
    shown->setText(IntegerToText(position));
    variable = position;
    model_.plotByMode(Check1->isChecked());
}

// Moving the bar back to 0 runs its change handler first, when the position was not 0.
void Form4::resetDisplacement(QScrollBar* bar, QLineEdit* shown, std::int16_t& variable) {
    bar->setValue(0);
    shown->setText(IntegerToText(0));
    variable = 0;
}

void Form4::fillContextMenu(QMenu& menu) {
    const PlotRecord& plot = model_.lastPlot();
    menu.addAction(distanceLine(plot))->setEnabled(false);
    menu.addSeparator();
    QAction* copyEquation = menu.addAction(QStringLiteral("Copia equazione"), this, [this] {
        clipboard_->setText(equationText(model_.lastPlot()));
    });
    copyEquation->setEnabled(plot.points >= 2);
    menu.addAction(QStringLiteral("Copia immagine"), this,
                   [this] { clipboard_->setImage(drawing()); });
    menu.addAction(QStringLiteral("Salva immagine…"), this, [this] {
        saveDrawingAs(retainedDrawing(), size(), *saveFileAsker_, prompter_.get());
    });
}

void Form4::openContextMenu(QPoint globalPosition) {
    QMenu menu(this);
    fillContextMenu(menu);
    menu.exec(globalPosition);
}

// It appears under the mouse when that rests on the drawing, else in the window's middle.
void Form4::openContextMenuFromKeyboard() {
    const QPoint mouse = mapFromGlobal(QCursor::pos());
    const bool onDrawing = rect().contains(mouse) && childAt(mouse) == nullptr;
    openContextMenu(mapToGlobal(onDrawing ? mouse : rect().center()));
}

bool Form4::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        openContextMenuFromKeyboard();
        return true;
    }
    return SurfaceWidget::eventFilter(watched, event);
}

void Form4::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Keyboard) {
        openContextMenuFromKeyboard();
        return;
    }
    // A control without a menu of its own passes the event on: it stays the control's.
    if (childAt(event->pos()) != nullptr) {
        event->ignore();
        return;
    }
    openContextMenu(event->globalPos());
}

QString Form4::toolTipAt(QPoint position) const {
    const PlotRecord& plot = model_.lastPlot();
    if (plot.curve == 0 || !rect().contains(position) || childAt(position) != nullptr)
        return {};
    const QPointF point = QPointF(position) + QPointF(0.5, 0.5);
    const QPointF curve = model_.toCurve(userPosition(point));
    QString text = readoutText(curve.x(), curve.y());
    // The marker's circle has a radius of 5 horizontal units and is round on the screen.
    const QPointF marker = widgetPosition(model_.toSurface(plot.RAX, plot.RAY));
    const double radius = widgetPosition({5, 0}).x();
    const QPointF offset = point - marker;
    if (std::hypot(offset.x(), offset.y()) <= radius)
        text += u'\n' + distanceLine(plot);
    return text;
}

bool Form4::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return SurfaceWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString text = toolTipAt(help->pos());
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        // Shown until the mouse leaves its pixel, so that resting elsewhere reads again.
        QToolTip::showText(help->globalPos(), text, this, QRect(help->pos(), QSize(1, 1)));
    }
    return true;
}

void Form4::showEvent(QShowEvent* event) {
    SurfaceWidget::showEvent(event);
    // The window opens on the end point's x, not on the first field.
    if (!shownBefore_) {
        shownBefore_ = true;
        Text4->setFocus();
    }
}

QLineEdit* Form4::box(Field field) const {
    switch (field) {
    case Field::Text1:
        return Text1;
    case Field::Text2:
        return Text2;
    case Field::Text3:
        return Text3;
    case Field::Text4:
        return Text4;
    case Field::Text5:
        return Text5;
    case Field::Text8:
        return Text8;
    case Field::Text9:
        return Text9;
    case Field::Text10:
        return Text10;
    case Field::Text11:
        return Text11;
    }
    return nullptr;
}

QString Form4::fieldText(Field field) const {
    return box(field)->text();
}

void Form4::setFieldText(Field field, const QString& text) {
    box(field)->setText(text);
}
