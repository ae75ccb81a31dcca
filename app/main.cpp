#include "Fonts.h"
#include "Forms.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Curve"));
    QApplication::setFont(windowDefaultFont());

    Forms forms;
    forms.show(FormId::Form1);
    return QApplication::exec();
}
