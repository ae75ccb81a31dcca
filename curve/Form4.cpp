#include "Form4.h"

#include "NumberText.h"
#include "Prompter.h"
#include "ScrollBar.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

Form4::Form4(Prompter* prompter, QWidget* parent)
    : SurfaceWidget(parent), Form4Controls(buildForm4Controls(this)), prompter_(prompter, this),
      model_(*this, *this, prompter_.get(), [this] { return readIncr(); }) {
    setWindowTitle(QStringLiteral("Form4"));
    resize(Form4DesignSize);

    connect(Command1, &QPushButton::clicked, this, &Form4::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form4::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form4::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form4::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form4::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form4::Command6_Click);
    connect(HScroll1, &QScrollBar::valueChanged, this, &Form4::HScroll1_Change);
    connect(HScroll2, &QScrollBar::valueChanged, this, &Form4::HScroll2_Change);
    connect(Check1, &QCheckBox::toggled, this, &Form4::Check1_Click);
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
