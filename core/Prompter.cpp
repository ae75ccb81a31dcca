#include "Prompter.h"

#include <QCoreApplication>
#include <QMessageBox>

void MessageBoxPrompter::MsgBox(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), text,
                    QMessageBox::Ok, parent_);
    box.exec();
}
