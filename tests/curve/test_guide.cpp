// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// The guide opens from F1 wherever the focus is in the curve window, in a window of its own
// that shows the guide's first heading and its pictures.
#include "Form4.h"
#include "WidgetTesting.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextBrowser>

class GuideTest : public QObject {
    Q_OBJECT

private slots:
    void f1ShowsTheGuide() {
        Form4 form;
        form.readIncr = [] { return 0.75; };
        form.resize(1280, 990);
        QVERIFY(showActive(form));
        form.Text1->setFocus();
        QTest::keyClick(form.Text1, Qt::Key_F1);
        QTRY_VERIFY(QApplication::activeWindow() != &form);
        auto* guide = qobject_cast<QTextBrowser*>(QApplication::activeWindow());
        QVERIFY(guide);

        QFile source(GUIDE_SOURCE);
        QVERIFY(source.open(QIODevice::ReadOnly));
        QString heading;
        while (!heading.startsWith(u"# "))
            heading = QString::fromUtf8(source.readLine()).trimmed();
        QTextBlock first = guide->document()->firstBlock();
        while (first.text().isEmpty())
            first = first.next();
        QCOMPARE(first.text(), heading.mid(2));
        QCOMPARE(first.blockFormat().headingLevel(), 1);

        // The first picture, brought into view: a screenshot's colours, not a missing picture's
        // placeholder.
        QTextCursor picture(guide->document());
        while (!picture.atEnd() && !picture.charFormat().isImageFormat())
            picture.movePosition(QTextCursor::NextCharacter);
        QVERIFY(picture.charFormat().isImageFormat());
        guide->setTextCursor(picture);
        guide->ensureCursorVisible();
        const QImage shown = guide->viewport()->grab().toImage();
        int coloured = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                coloured += QColor(shown.pixel(x, y)).hsvSaturation() > 60;
        QVERIFY2(coloured > 2000, qPrintable(QString::number(coloured)));
    }
};

QTEST_MAIN(GuideTest)
#include "test_guide.moc"
