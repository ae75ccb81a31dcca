#include "Fonts.h"
#include "Forms.h"
#include "QtTranslations.h"

#include <QApplication>
#include <QDirIterator>
#include <QIcon>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    installQtItalian(application);
    QCoreApplication::setApplicationName(QStringLiteral("Curve"));
    // Lets the desktop match the windows with the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(CURVE_APP_ID));
    QApplication::setFont(windowDefaultFont());

    QIcon icon;
    for (QDirIterator sizes(QStringLiteral(":/icons")); sizes.hasNext();)
        icon.addFile(sizes.next());
    QApplication::setWindowIcon(icon);

    Forms forms;
    forms.show(FormId::Form1);
    return QApplication::exec();
}
