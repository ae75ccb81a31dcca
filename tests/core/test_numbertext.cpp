// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "NumberText.h"
#include "WidgetTesting.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QTest>
#include <limits>

namespace {

// The nearest double to n / 100, and its shortest decimal text with the given separator.
double hundredths(int n) {
    return n / 100.0;
}
QString hundredthsText(int n, QChar separator) {
    QString text = QString::number(n / 100);
    QString fraction = QStringLiteral("%1").arg(n % 100, 2, 10, QLatin1Char('0'));
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    return fraction.isEmpty() ? text : text + separator + fraction;
}

// Doubles compared exactly (QCOMPARE on doubles is fuzzy): 17 significant digits tell every
// double apart, the sign of zero included.
QString exact(std::optional<double> value) {
    return value ? QString::number(*value, 'g', 17) : QStringLiteral("not a number");
}

} // namespace

class TestNumberText : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void parse_data();
    void parse();
    void longDigitStrings();
    void doubleToText_data();
    void doubleToText();
    void integerToText_data();
    void integerToText();
    void ratiosRoundTrip_data();
    void ratiosRoundTrip();
};

void TestNumberText::parse_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<double>("value");

    auto number = [](const char* name, const char* locale, const QString& text, double value) {
        QTest::newRow(name) << QString::fromLatin1(locale) << text << true << value;
    };
    auto refused = [](const char* name, const char* locale, const QString& text) {
        QTest::newRow(name) << QString::fromLatin1(locale) << text << false << 0.0;
    };

    refused("it empty", "it", QString());
    refused("it spaces only", "it", QStringLiteral("   "));
    refused("it letters", "it", QStringLiteral("abc"));
    refused("it digits then letters", "it", QStringLiteral("12abc"));
    refused("it lone plus", "it", QStringLiteral("+"));
    refused("it lone minus", "it", QStringLiteral("-"));
    refused("it lone comma", "it", QStringLiteral(","));
    refused("it signed lone comma", "it", QStringLiteral("-,"));
    number("it twelve with spaces", "it", QStringLiteral("  12   "), 12);
    number("it minus five", "it", QStringLiteral("-5"), -5);
    number("it plus five", "it", QStringLiteral("+5"), 5);
    number("it two and a half", "it", QStringLiteral("2,5"), 2.5);
    number("it comma first", "it", QStringLiteral(",5"), 0.5);
    number("it comma last", "it", QStringLiteral("5,"), 5);
    number("it exponent", "it", QStringLiteral("1E3"), 1000);
    number("it small exponent e", "it", QStringLiteral("1e3"), 1000);
    number("it exponent plus", "it", QStringLiteral("1E+3"), 1000);
    number("it fraction exponent", "it", QStringLiteral("1,5E-2"), 0.015);
    number("it minus zero", "it", QStringLiteral("-0"), 0);
    number("it spaces around signed fraction", "it", QStringLiteral(" -0,25 "), -0.25);
    refused("it exponent without digits", "it", QStringLiteral("1E"));
    refused("it exponent sign without digits", "it", QStringLiteral("1E+"));
    refused("it exponent alone", "it", QStringLiteral("E3"));
    refused("it comma and exponent only", "it", QStringLiteral(",E3"));
    refused("it fractional exponent", "it", QStringLiteral("1E3,5"));
    refused("it grouping separator", "it", QStringLiteral("1.000"));
    refused("it grouping and decimal", "it", QStringLiteral("1.000,5"));
    refused("it point as decimal", "it", QStringLiteral("2.5"));
    refused("it two commas", "it", QStringLiteral("1,2,3"));
    refused("it double minus", "it", QStringLiteral("--1"));
    refused("it two signs", "it", QStringLiteral("+-1"));
    refused("it space inside", "it", QStringLiteral("1 2"));
    refused("it space after sign", "it", QStringLiteral("- 1"));
    refused("it trailing sign", "it", QStringLiteral("5-"));
    refused("it parentheses", "it", QStringLiteral("(5)"));
    refused("it hexadecimal", "it", QStringLiteral("0x10"));
    refused("it currency", "it", QStringLiteral("\u20AC5"));
    refused("it unicode minus", "it", QStringLiteral("\u22125"));
    refused("it tab", "it", QStringLiteral("\t1"));
    refused("it no-break space", "it", QStringLiteral("1\u00A0"));
    refused("it arabic-indic digit", "it", QStringLiteral("\u0661"));
    refused("it fullwidth digit", "it", QStringLiteral("\uFF11"));
    refused("it embedded nul", "it", QString::fromUtf8("1\0", 2));
    refused("it emoji", "it", QStringLiteral("1\U0001F600"));
    refused("it infinity word", "it", QStringLiteral("inf"));
    refused("it overflow", "it", QStringLiteral("1E400"));
    refused("it negative overflow", "it", QStringLiteral("-1E400"));
    refused("it overflow by digits", "it", QStringLiteral("18E307"));
    number("it largest double", "it", QStringLiteral("1,7976931348623157E308"),
           std::numeric_limits<double>::max());
    number("it underflow to zero", "it", QStringLiteral("1E-400"), 0);
    number("it negative underflow", "it", QStringLiteral("-1E-400"), -0.0);
    number("it subnormal", "it", QStringLiteral("1E-320"), 1e-320);
    number("it zero with huge exponent", "it", QStringLiteral("0E99999999999999999999"), 0);
    number("it one with huge negative exponent", "it", QStringLiteral("1E-99999999999999999999"),
           0);

    number("en point", "en", QStringLiteral("2.5"), 2.5);
    number("en point first", "en", QStringLiteral(".5"), 0.5);
    number("en fraction exponent", "en", QStringLiteral("1.5e-2"), 0.015);
    refused("en comma", "en", QStringLiteral("2,5"));
    refused("en grouping separator", "en", QStringLiteral("1,000"));
    refused("en lone point", "en", QStringLiteral("."));
}

void TestNumberText::parse() {
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QFETCH(double, value);
    useLocale(locale == u"it");

    QCOMPARE(exact(parseNumber(text)), numeric ? exact(value) : exact(std::nullopt));
    QCOMPARE(IsNumeric(text), numeric);
    QCOMPARE(exact(TextToDouble(text)), exact(numeric ? value : 0.0));
}

namespace {

// Hostile texts of about the given number of digits.
QStringList longTexts(int digits) {
    QString counting;
    for (int i = 0; i < digits; ++i)
        counting += QChar(u'1' + i % 9);
    return {QString(digits, u'0') + u'1', counting,
            counting + QStringLiteral("E-%1").arg(digits - 10),
            QStringLiteral("0,") + QString(digits, u'0') + QStringLiteral("1E%1").arg(digits + 1),
            QStringLiteral("1,") + QString(digits, u'5')};
}

// The shortest of a few runs of parsing the texts the given number of times, in nanoseconds.
qint64 parsingTime(const QStringList& texts, int times) {
    qint64 best = std::numeric_limits<qint64>::max();
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < times; ++i)
            for (const QString& text : texts)
                parseNumber(text);
        best = std::min(best, timer.nsecsElapsed());
    }
    return best;
}

} // namespace

void TestNumberText::longDigitStrings() {
    useLocale();
    const QStringList texts = longTexts(10'000);
    QCOMPARE(exact(parseNumber(texts[0])), exact(1.0));
    QCOMPARE(exact(parseNumber(texts[1])), exact(std::nullopt));
    QCOMPARE(exact(parseNumber(texts[2])), exact(1.2345678912345679e9));
    QCOMPARE(exact(parseNumber(texts[3])), exact(1.0));
    QCOMPARE(exact(parseNumber(texts[4])), exact(1.5555555555555556));

    // A 10,000-digit text must not freeze the window: it costs about what a hundred texts a
    // hundred times shorter cost, not a hundred times more as a quadratic parser would.
    const qint64 longTime = parsingTime(texts, 5);
    const qint64 shortTime = parsingTime(longTexts(100), 500);
    QVERIFY2(longTime < 10 * shortTime,
             qPrintable(QStringLiteral("%1 ns against %2 ns").arg(longTime).arg(shortTime)));
}

void TestNumberText::doubleToText_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("it ratio") << "it" << 0.51 << "0,51";
    QTest::newRow("it ratio 3 steps") << "it" << 0.51 + 0.02 * 3 << "0,57";
    QTest::newRow("it ratio 29 steps") << "it" << 0.51 + 0.02 * 29 << "1,09";
    QTest::newRow("it ratio 30 steps") << "it" << 0.51 + 0.02 * 30 << "1,11";
    QTest::newRow("it one") << "it" << 1.0 << "1";
    QTest::newRow("it minus half") << "it" << -0.5 << "-0,5";
    QTest::newRow("it zero") << "it" << 0.0 << "0";
    QTest::newRow("it minus zero") << "it" << -0.0 << "0";
    QTest::newRow("it no grouping") << "it" << 1234567.25 << "1234567,25";
    QTest::newRow("it hundred") << "it" << 100.0 << "100";
    QTest::newRow("it tenth plus fifth") << "it" << 0.1 + 0.2 << "0,3";
    QTest::newRow("it two thirds") << "it" << 2.0 / 3 << "0,666666666666667";
    QTest::newRow("it small") << "it" << 0.0001 << "0,0001";
    QTest::newRow("it largest positional") << "it" << 1e14 << "100000000000000";
    QTest::newRow("it rounds up to exponent") << "it" << 999999999999999.9 << "1E+15";
    QTest::newRow("it large") << "it" << 1e15 << "1E+15";
    QTest::newRow("it tiny") << "it" << 1.5e-5 << "1,5E-05";
    QTest::newRow("it negative tiny") << "it" << -2.5e-300 << "-2,5E-300";
    QTest::newRow("en ratio 3 steps") << "en" << 0.51 + 0.02 * 3 << "0.57";
    QTest::newRow("en minus half") << "en" << -0.5 << "-0.5";
    QTest::newRow("en no grouping") << "en" << 1234.5 << "1234.5";
}

void TestNumberText::doubleToText() {
    QFETCH(QString, locale);
    QFETCH(double, value);
    QFETCH(QString, text);
    useLocale(locale == u"it");
    QCOMPARE(DoubleToText(value), text);
}

void TestNumberText::integerToText_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0 << "0";
    QTest::newRow("negative") << -600 << "-600";
    QTest::newRow("fallback") << 300 << "300";
    QTest::newRow("largest") << 32767 << "32767";
    QTest::newRow("smallest") << -32768 << "-32768";
}

void TestNumberText::integerToText() {
    QFETCH(int, value);
    QFETCH(QString, text);
    useLocale();
    QCOMPARE(IntegerToText(static_cast<std::int16_t>(value)), text);
}

void TestNumberText::ratiosRoundTrip_data() {
    QTest::addColumn<QString>("locale");
    for (const char* locale : {"it", "en"})
        QTest::newRow(locale) << QString::fromLatin1(locale);
}

// The calibration ratio is 0.51 + 0.02 * p computed in doubles; its text shows the exact
// hundredths and reads back as the nearest double to them.
void TestNumberText::ratiosRoundTrip() {
    QFETCH(QString, locale);
    useLocale(locale == u"it");
    const QChar separator = locale == u"it" ? u',' : u'.';
    for (int p = 0; p <= 30; ++p) {
        const double ratio = 0.51 + 0.02 * p;
        const QString text = DoubleToText(ratio);
        QCOMPARE(text, hundredthsText(51 + 2 * p, separator));
        QCOMPARE(exact(parseNumber(text)), exact(hundredths(51 + 2 * p)));
    }
}

QTEST_GUILESS_MAIN(TestNumberText)
#include "test_numbertext.moc"
