#include "EarlyStart.h"
#include "Fonts.h"
#include "Forms.h"
#include "QtTranslations.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    EarlyStart early;
    QApplication application(argc, argv);
    installQtItalian(application);
    QCoreApplication::setApplicationName(QStringLiteral("Curve"));
    // Lets the desktop match the windows with the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(CURVE_APP_ID));
    QApplication::setFont(windowDefaultFont());

    QApplication::setWindowIcon(early.windowIcon());

    Forms forms;
    forms.show(FormId::Form1);
    return QApplication::exec();
}
