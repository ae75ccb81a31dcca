// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// Walks the real program under a real X server, as a person would: the instructions window, the
// calibration, a refused ratio, a round figure, the curve window, a bad field, "?" and back, the
// drawing's context menu with its copy and save, and the end. Every step is checked on screenshots
// of the whole screen, at the pixels where the windows' scale arithmetic puts the drawing.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <signal.h>
#include <sys/prctl.h>

namespace {

// The sanitized build is several times slower: every wait polls, so a long limit costs nothing
// when all goes well.
constexpr int windowTimeoutMs = 20000;
constexpr int drawingTimeoutMs = 20000;
constexpr int toolTimeoutMs = 10000;
constexpr int pollIntervalMs = 50;
// How long nothing more must happen after a step: far beyond the program's own reaction.
constexpr int quietMs = 2000;

// Pixels around a predicted place that may hold the expected colour: rounding of the position
// and the width of the pen.
constexpr int tolerancePx = 2;

constexpr int twipsPerPixel = 15;
constexpr int screenWidth = 1280;
constexpr int screenHeight = 1024;

const QStringList requiredTools{"Xvfb",     "openbox",  "xdotool", "import",
                                "xdpyinfo", "xwininfo", "xprop",   "xclip"};

constexpr QRgb black = 0xff000000;
constexpr QRgb green = 0xff008000;   // palette index 2, the first curve
constexpr QRgb cyan = 0xff008080;    // palette index 3
constexpr QRgb red = 0xff800000;     // palette index 4, the calibration figure and a curve colour
constexpr QRgb magenta = 0xff800080; // palette index 5

QString colourName(QRgb c) {
    return QStringLiteral("RGB(%1,%2,%3)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
}

// Centre of a control given in twips, in client pixels.
QPoint twipsCentre(int left, int top, int width, int height) {
    return {(2 * left + width) / (2 * twipsPerPixel), (2 * top + height) / (2 * twipsPerPixel)};
}

// A top-level window of the program: its X id and its client area in screen pixels.
struct Window {
    QString id;
    QRect client;
};

// The degrees-to-radians factor both windows use, held in single precision.
const double p1 = static_cast<float>(3.1415927f / 180);

// The calibration window's scale: 146367.36 units across, Incr times as many down; the test
// figure is a circle of radius 36367.36 units around (ScaleWidth / 2 + 20000, ScaleHeight / 2).
struct CalibrationScale {
    QSize client;
    double incr;

    static constexpr float width = 146367.36f;
    float height() const { return static_cast<float>(width * incr); }
    QPointF pixel(double x, double y) const {
        return {client.width() * x / width, client.height() * y / height()};
    }
    QPointF centre() const { return pixel(width / 2 + 20000, height() / 2); }
    std::vector<QPointF> figure(const std::vector<double>& degrees) const {
        const double radius = 36367.36328125;
        std::vector<QPointF> points;
        for (double a : degrees)
            points.push_back(pixel(width / 2 + 20000 + std::cos(a * p1) * radius,
                                   height() / 2 + std::sin(a * p1) * radius));
        return points;
    }
};

// The curve window's scale: 1000 units across, 1000 * Incr down, origin (430, 500 * Incr + 50).
struct CurveScale {
    QSize client;
    double incr;

    float height() const { return static_cast<float>(1000 * incr); }
    float cx() const { return 430; }
    float cy() const { return height() / 2 + 50; }
    QPointF pixel(double userX, double userY) const {
        return {client.width() * userX / 1000, client.height() * userY / height()};
    }
    QPointF curvePixel(double x, double y) const { return pixel(cx() + x, cy() - y); }
    std::vector<QPointF> curvePixels(const std::vector<QPointF>& curve) const {
        std::vector<QPointF> pixels;
        for (const QPointF& c : curve)
            pixels.push_back(curvePixel(c.x(), c.y()));
        return pixels;
    }
};

// Points of a curve on the chord (dax, day) to (alx, aly) without displacement, at the given
// angles in degrees, in curve coordinates.
std::vector<QPointF> chordCurve(double dax, double day, double alx, double aly,
                                const std::vector<double>& degrees) {
    const double asq = alx - dax;
    const double asm_ = aly - day;
    std::vector<QPointF> points;
    for (double alfa : degrees) {
        const double cosa = std::cos(alfa * p1);
        const double sena = std::sin(alfa * p1);
        points.emplace_back(asq * sena * sena + dax, asm_ * sena * cosa + asm_ * sena + day);
    }
    return points;
}

// The controls' corner of each window, in client pixels, with a margin for the pen.
const QSize calibrationControls(633 + 3, 313 + 3);
const QSize curveControls(490 + 3, 347 + 3);

std::vector<QPointF> outside(const std::vector<QPointF>& points, QSize controls) {
    std::vector<QPointF> kept;
    for (const QPointF& p : points)
        if (p.x() >= controls.width() || p.y() >= controls.height())
            kept.push_back(p);
    return kept;
}

std::vector<double> everyDegrees(double step) {
    std::vector<double> degrees;
    for (double a = 0; a < 360; a += step)
        degrees.push_back(a);
    return degrees;
}

// Angles where a figure and the next flatter one lie more than 5 pixels apart.
const std::vector<double> nearVertical{60, 75, 90, 105, 120, 240, 255, 270, 285, 300};

const std::vector<double> curveAngles{2, 10, 20, 30, 45, 60, 75, 89.6};

} // namespace

class TestProgram : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void startShowsInstructions();
    void avantiOpensCalibration();
    void lowRatioRefused();
    void scrollingMakesFigureRound();
    void okOpensCurveWindow();
    void badFieldFallsBack();
    void questionMarkAndBack();
    void contextMenuCopiesAndSaves();
    void exerciseSavedClearedAndOpened();
    void esciEndsProgram();

private:
    QProcess* startProcess(const QString& program, const QStringList& arguments,
                           const QProcessEnvironment& environment);
    void stopProcess(QProcess* process);
    QByteArray run(const QStringList& command, int* exitCode = nullptr);
    bool startServer();
    bool waitUntil(const std::function<bool()>& condition, int timeoutMs);

    std::optional<Window> findWindow(const QString& name, int timeoutMs = windowTimeoutMs);
    QStringList visibleWindows(const QString& name);
    std::optional<QRect> clientArea(const QString& id);
    bool isMaximized(const QString& id);
    QString activeWindow();
    void click(const Window& window, QPoint at);
    void key(const QString& keys);
    QString openDrawingMenu(const QString& step, QPoint at);
    QString waitForFocus(const QString& id);

    QImage screenshot();
    using Check = std::function<QString(const QImage&)>;
    QString waitForScreen(const QString& step, const Check& check,
                          int timeoutMs = drawingTimeoutMs);
    QString keepScreenshot(const QString& step, const QImage& shot);
    QString closeMessageBox(const QString& step);
    std::optional<Window> waitForMaximized(const QString& name);
    QString colourAbsent(const QString& step, QRgb colour);
    QImage drawingArea(const QImage& shot) const;
    QString waitForDrawing(const QString& step, const QImage& expected, bool stays = false);
    QString answerFileDialog(const QString& title, const QString& path);
    QString answerNotToSave();

    static QString missingColour(const QImage& shot, const Window& window,
                                 const std::vector<QPointF>& points, QRgb colour,
                                 const QString& what);
    static QString presentColour(const QImage& shot, const Window& window,
                                 const std::vector<QPointF>& points, QRgb colour,
                                 const QString& what);
    static QString notRound(const QImage& shot, const Window& window, QPointF centre,
                            double tolerance);
    static QString colourInDrawingArea(const QImage& shot, const Window& window, QRgb colour,
                                       QSize controls);

    std::vector<std::unique_ptr<QProcess>> processes_;
    QString display_;
    QProcess* program_ = nullptr;
    bool broken_ = false;
    // The program's home and settings folders, and where it saves: nothing real is touched.
    QTemporaryDir home_;
    QTemporaryDir saved_;

    Window form1_;
    Window form2_;
    Window form4_;
    double incr_ = 0;
};

QProcess* TestProgram::startProcess(const QString& program, const QStringList& arguments,
                                    const QProcessEnvironment& environment) {
    auto process = std::make_unique<QProcess>();
    process->setProgram(program);
    process->setArguments(arguments);
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setStandardOutputFile(QProcess::nullDevice());
    // Whatever happens to this test, nothing it started outlives it.
    process->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process->start();
    if (!process->waitForStarted(toolTimeoutMs))
        return nullptr;
    processes_.push_back(std::move(process));
    return processes_.back().get();
}

void TestProgram::stopProcess(QProcess* process) {
    if (process->state() == QProcess::NotRunning)
        return;
    process->terminate();
    if (!process->waitForFinished(3000)) {
        process->kill();
        process->waitForFinished(3000);
    }
}

QByteArray TestProgram::run(const QStringList& command, int* exitCode) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", display_);
    process.setProcessEnvironment(environment);
    process.start(command.first(), command.mid(1));
    if (!process.waitForFinished(toolTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        if (exitCode)
            *exitCode = -1;
        return {};
    }
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return process.readAllStandardOutput();
}

bool TestProgram::waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QThread::msleep(pollIntervalMs);
    }
    return true;
}

// Starts Xvfb on the first display number from 80 up that nobody holds; another Xvfb may take
// the same number in the meantime, in which case ours exits and the next number is tried.
bool TestProgram::startServer() {
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (int n = 80; n < 200; ++n) {
        if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) ||
            QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            continue;
        display_ = QStringLiteral(":%1").arg(n);
        QProcess* server =
            startProcess("Xvfb",
                         {display_, "-screen", "0",
                          QStringLiteral("%1x%2x24").arg(screenWidth).arg(screenHeight), "-noreset",
                          "-nolisten", "tcp"},
                         environment);
        if (!server)
            return false;
        const bool answers = waitUntil(
            [&] {
                if (server->state() == QProcess::NotRunning)
                    return true;
                int code = 0;
                run({"xdpyinfo"}, &code);
                return code == 0;
            },
            windowTimeoutMs);
        if (answers && server->state() == QProcess::Running)
            return true;
        stopProcess(server);
    }
    return false;
}

void TestProgram::initTestCase() {
    for (const QString& tool : requiredTools)
        QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(),
                 qPrintable(tool + " is missing: scripts/install-deps.sh installs xvfb, openbox, "
                                   "xdotool, imagemagick, x11-utils and xclip"));
    QVERIFY2(QFile::exists(CURVE_PROGRAM), CURVE_PROGRAM " has not been built");

    // Screenshots of an earlier failing run would be taken for this run's.
    QDir shots(FAIL_SHOT_DIR);
    for (const QString& old : shots.entryList({"e2e-fail-*.png"}, QDir::Files))
        shots.remove(old);

    QVERIFY2(startServer(), "no X server could be started");
    qInfo("X server on display %s", qPrintable(display_));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", display_);
    QVERIFY(startProcess("openbox", {}, environment));
    // The window manager is up once it announces itself on the root window.
    QVERIFY2(
        waitUntil(
            [&] {
                return run({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id");
            },
            windowTimeoutMs),
        "openbox did not start");

    // Italian settings, where the decimal separator is a comma.
    environment.insert("LANG", "it_IT.UTF-8");
    environment.remove("LC_ALL");
    environment.remove("LC_NUMERIC");
    environment.insert("QT_QPA_PLATFORM", "xcb");
    QVERIFY(home_.isValid() && saved_.isValid());
    QVERIFY(QDir(home_.path()).mkpath("Pictures"));
    environment.insert("HOME", home_.path());
    for (const char* folder :
         {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        environment.insert(folder, home_.filePath(QString(folder).toLower()));
    // No session bus belongs to this X server: without an address, libdbus would try to launch
    // one through it and, on that failing path, leaks a buffer that LeakSanitizer reports.
    environment.insert("DBUS_SESSION_BUS_ADDRESS",
                       "unix:path=" + QDir(FAIL_SHOT_DIR).filePath("no-session-bus"));
    program_ = startProcess(CURVE_PROGRAM, {}, environment);
    QVERIFY2(program_, "the program did not start");
}

void TestProgram::init() {
    if (broken_)
        QSKIP("an earlier step failed, so the program is not where this step starts");
}

void TestProgram::cleanup() {
    if (QTest::currentTestFailed())
        broken_ = true;
}

void TestProgram::cleanupTestCase() {
    // The program first, then the window manager, then the server.
    for (auto it = processes_.rbegin(); it != processes_.rend(); ++it)
        stopProcess(it->get());
    processes_.clear();
}

QStringList TestProgram::visibleWindows(const QString& name) {
    const QString out =
        QString::fromUtf8(run({"xdotool", "search", "--onlyvisible", "--name", '^' + name + '$'}));
    return out.split('\n', Qt::SkipEmptyParts);
}

std::optional<Window> TestProgram::findWindow(const QString& name, int timeoutMs) {
    QStringList ids;
    if (!waitUntil(
            [&] {
                ids = visibleWindows(name);
                return !ids.isEmpty();
            },
            timeoutMs))
        return std::nullopt;
    const std::optional<QRect> client = clientArea(ids.first());
    if (!client)
        return std::nullopt;
    return Window{ids.first(), *client};
}

// xwininfo, unlike xdotool's geometry under a reparenting window manager, gives the client
// area's true place on the screen.
std::optional<QRect> TestProgram::clientArea(const QString& id) {
    const QString out = QString::fromUtf8(run({"xwininfo", "-id", id}));
    auto field = [&](const QString& label) -> std::optional<int> {
        const QRegularExpression re('^' + QRegularExpression::escape(label) + R"(:\s*(-?\d+))",
                                    QRegularExpression::MultilineOption);
        const QRegularExpressionMatch m = re.match(out);
        if (!m.hasMatch())
            return std::nullopt;
        return m.captured(1).toInt();
    };
    const auto x = field("  Absolute upper-left X");
    const auto y = field("  Absolute upper-left Y");
    const auto w = field("  Width");
    const auto h = field("  Height");
    if (!x || !y || !w || !h)
        return std::nullopt;
    return QRect(*x, *y, *w, *h);
}

bool TestProgram::isMaximized(const QString& id) {
    const QByteArray state = run({"xprop", "-id", id, "_NET_WM_STATE"});
    return state.contains("_NET_WM_STATE_MAXIMIZED_VERT") &&
           state.contains("_NET_WM_STATE_MAXIMIZED_HORZ");
}

QString TestProgram::activeWindow() {
    return QString::fromUtf8(run({"xdotool", "getactivewindow"})).trimmed();
}

void TestProgram::click(const Window& window, QPoint at) {
    run({"xdotool", "mousemove", "--window", window.id, QString::number(at.x()),
         QString::number(at.y()), "click", "1"});
}

void TestProgram::key(const QString& keys) {
    run({"xdotool", "key", keys});
}

QImage TestProgram::screenshot() {
    return QImage::fromData(run({"import", "-silent", "-window", "root", "ppm:-"}), "PPM")
        .convertToFormat(QImage::Format_RGB32);
}

QString TestProgram::keepScreenshot(const QString& step, const QImage& shot) {
    const QString path = QDir(FAIL_SHOT_DIR).filePath("e2e-fail-" + step + ".png");
    shot.save(path);
    qWarning("screenshot of the failing step: %s", qPrintable(path));
    return path;
}

// Takes screenshots until the check finds nothing wrong; on timeout keeps the last one and
// returns what was wrong on it.
QString TestProgram::waitForScreen(const QString& step, const Check& check, int timeoutMs) {
    QImage shot;
    QString problem;
    waitUntil(
        [&] {
            shot = screenshot();
            problem = shot.isNull() ? QStringLiteral("no screenshot") : check(shot);
            return problem.isEmpty();
        },
        timeoutMs);
    if (!problem.isEmpty())
        keepScreenshot(step, shot);
    return problem;
}

std::optional<Window> TestProgram::waitForMaximized(const QString& name) {
    std::optional<Window> window = findWindow(name);
    if (!window)
        return std::nullopt;
    // The window manager gives a maximized window its final size just after it is mapped.
    const bool settled = waitUntil(
        [&] {
            const std::optional<QRect> client = clientArea(window->id);
            if (!client)
                return false;
            window->client = *client;
            return isMaximized(window->id) && client->width() == screenWidth;
        },
        windowTimeoutMs);
    if (!settled)
        return std::nullopt;
    return window;
}

// A message box has the program's name as its title; Return presses its only button once it
// holds the keyboard.
QString TestProgram::closeMessageBox(const QString& step) {
    QStringList boxes;
    if (!waitUntil(
            [&] {
                boxes = visibleWindows("Curve");
                return !boxes.isEmpty();
            },
            windowTimeoutMs)) {
        keepScreenshot(step, screenshot());
        return "no message box titled Curve appeared";
    }
    if (boxes.size() != 1)
        return QStringLiteral("%1 message boxes at once").arg(boxes.size());
    const QString box = boxes.first();
    if (!waitUntil(
            [&] {
                return QString::fromUtf8(run({"xdotool", "getwindowfocus"})).trimmed() == box;
            },
            windowTimeoutMs)) {
        keepScreenshot(step, screenshot());
        return "the message box never took the keyboard focus";
    }
    key("Return");
    if (!waitUntil([&] { return visibleWindows("Curve").isEmpty(); }, windowTimeoutMs)) {
        keepScreenshot(step, screenshot());
        return "Return did not close the message box";
    }
    return {};
}

// Once the expected drawing is there, a fresh screenshot shows whether anything more came.
// Watches the drawing area for quietMs and fails as soon as the colour shows, so that a
// curve drawn late is seen too.
QString TestProgram::colourAbsent(const QString& step, QRgb colour) {
    QImage shot;
    QString problem;
    waitUntil(
        [&] {
            shot = screenshot();
            problem = colourInDrawingArea(shot, form4_, colour, curveControls);
            return !problem.isEmpty();
        },
        quietMs);
    if (!problem.isEmpty())
        keepScreenshot(step, shot);
    return problem;
}

QString TestProgram::missingColour(const QImage& shot, const Window& window,
                                   const std::vector<QPointF>& points, QRgb colour,
                                   const QString& what) {
    for (const QPointF& p : points) {
        const QPoint centre = window.client.topLeft() + p.toPoint();
        bool found = false;
        for (int dy = -tolerancePx; dy <= tolerancePx && !found; ++dy)
            for (int dx = -tolerancePx; dx <= tolerancePx && !found; ++dx) {
                const QPoint q = centre + QPoint(dx, dy);
                found = shot.rect().contains(q) && shot.pixel(q) == colour;
            }
        if (!found)
            return QStringLiteral("%1: no %2 within %3 px of client pixel (%4, %5)")
                .arg(what, colourName(colour))
                .arg(tolerancePx)
                .arg(p.x(), 0, 'f', 1)
                .arg(p.y(), 0, 'f', 1);
    }
    return {};
}

// The opposite check, one pixel around each place: used for places a few pixels away from
// where the drawing must be.
QString TestProgram::presentColour(const QImage& shot, const Window& window,
                                   const std::vector<QPointF>& points, QRgb colour,
                                   const QString& what) {
    for (const QPointF& p : points) {
        const QPoint centre = window.client.topLeft() + p.toPoint();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (shot.rect().contains(centre + QPoint(dx, dy)) &&
                    shot.pixel(centre + QPoint(dx, dy)) == colour)
                    return QStringLiteral("%1: %2 at client pixel (%3, %4)")
                        .arg(what, colourName(colour))
                        .arg(p.x(), 0, 'f', 1)
                        .arg(p.y(), 0, 'f', 1);
    }
    return {};
}

// Measures the innermost calibration figure from its centre outwards, along the axes, and
// compares its width and height on the screen.
QString TestProgram::notRound(const QImage& shot, const Window& window, QPointF centre,
                              double tolerance) {
    const QPoint start = window.client.topLeft() + centre.toPoint();
    auto reach = [&](QPoint direction) {
        const QPoint across(direction.y(), direction.x());
        for (int d = 1; d < window.client.width(); ++d) {
            const QPoint at = start + d * direction;
            for (int side = -1; side <= 1; ++side) {
                const QPoint q = at + side * across;
                if (shot.rect().contains(q) && shot.pixel(q) == red)
                    return d;
            }
        }
        return 0;
    };
    const int width = reach({1, 0}) + reach({-1, 0});
    const int height = reach({0, 1}) + reach({0, -1});
    if (std::abs(width - height) > width * tolerance + 2)
        return QStringLiteral("the newest figure is %1 x %2 px on the screen")
            .arg(width)
            .arg(height);
    return {};
}

// Looks for a colour anywhere in the client area outside the controls' corner.
QString TestProgram::colourInDrawingArea(const QImage& shot, const Window& window, QRgb colour,
                                         QSize controls) {
    const QRect area = window.client.intersected(shot.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            const QPoint client(x - window.client.left(), y - window.client.top());
            if (client.x() < controls.width() && client.y() < controls.height())
                continue;
            if (line[x] == colour)
                return QStringLiteral("%1 at client pixel (%2, %3)")
                    .arg(colourName(colour))
                    .arg(client.x())
                    .arg(client.y());
        }
    }
    return {};
}

void TestProgram::startShowsInstructions() {
    const std::optional<Window> form1 = findWindow("Form1");
    QVERIFY2(form1, "no visible window Form1");
    form1_ = *form1;
    QVERIFY2(!isMaximized(form1_.id), "Form1 opened maximized");
    QCOMPARE(form1_.client.size(), QSize(843, 556));
    QVERIFY2(visibleWindows("Form2").isEmpty(), "Form2 is open at start");
    QVERIFY2(visibleWindows("Form4").isEmpty(), "Form4 is open at start");
}

void TestProgram::avantiOpensCalibration() {
    click(form1_, twipsCentre(10560, 4320, 1095, 1455));
    const std::optional<Window> form2 = waitForMaximized("Form2");
    QVERIFY2(form2, "Form2 did not open maximized");
    form2_ = *form2;

    const QSize size = form2_.client.size();
    const auto figure =
        outside(CalibrationScale{size, 0.51}.figure(everyDegrees(15)), calibrationControls);
    const auto flatter =
        outside(CalibrationScale{size, 0.55}.figure(nearVertical), calibrationControls);
    const QString problem = waitForScreen("calibration-0.51", [&](const QImage& shot) {
        QString p = missingColour(shot, form2_, figure, red, "figure at 0.51");
        if (p.isEmpty())
            p = presentColour(shot, form2_, flatter, red, "a flatter figure than 0.51");
        return p;
    });
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void TestProgram::lowRatioRefused() {
    click(form2_, twipsCentre(3120, 2880, 1575, 615));
    const QString problem = closeMessageBox("refused-ratio");
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QVERIFY2(visibleWindows("Form4").isEmpty(), "Form4 opened at the ratio 0.51");
    QVERIFY2(waitUntil([&] { return activeWindow() == form2_.id; }, windowTimeoutMs),
             "Form2 is not the active window after the message");
}

void TestProgram::scrollingMakesFigureRound() {
    // The position whose ratio 0.51 + 0.02 p is nearest the client's height over its width makes
    // the figure round on the screen.
    const QSize size = form2_.client.size();
    const double target = double(size.height()) / size.width();
    const int position = std::clamp(int(std::lround((target - 0.51) / 0.02)), 2, 30);
    incr_ = 0.51 + 0.02 * position;
    qInfo("client %dx%d, ratio %.4f: scroll position %d, Incr %.2f", size.width(), size.height(),
          target, position, incr_);

    const QPoint rightArrow((480 + 5895) / twipsPerPixel - 6,
                            twipsCentre(480, 1080, 5895, 255).y());
    for (int p = 1; p < position; ++p)
        click(form2_, rightArrow);

    const CalibrationScale scale{size, incr_};
    const auto figure = outside(scale.figure(everyDegrees(15)), calibrationControls);
    const auto flatter =
        outside(CalibrationScale{size, incr_ + 0.02}.figure(nearVertical), calibrationControls);
    // Half a scroll step of the ratio, and a pixel of rounding at each end.
    const double roundness = 0.01 / target;
    const QString step = QStringLiteral("calibration-%1").arg(incr_, 0, 'f', 2);
    const QString problem = waitForScreen(step, [&](const QImage& shot) {
        QString p = missingColour(shot, form2_, figure, red, "newest figure");
        if (p.isEmpty())
            p = presentColour(shot, form2_, flatter, red, "figure one step beyond");
        if (p.isEmpty())
            p = notRound(shot, form2_, scale.centre(), roundness);
        return p;
    });
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void TestProgram::okOpensCurveWindow() {
    click(form2_, twipsCentre(3120, 2880, 1575, 615));
    const std::optional<Window> form4 = waitForMaximized("Form4");
    QVERIFY2(form4, "Form4 did not open maximized");
    form4_ = *form4;
    QVERIFY2(visibleWindows("Curve").isEmpty(), "a message box came with the curve window");

    const CurveScale scale{form4_.client.size(), incr_};
    const int w = form4_.client.width();
    const int h = form4_.client.height();
    std::vector<QPointF> vertical;
    for (double y : {0.4, 0.6, 0.8, 0.95})
        vertical.push_back(scale.pixel(scale.cx(), y * scale.height()));
    std::vector<QPointF> horizontal;
    for (double x : {0.05, 0.3, 0.7, 0.95})
        horizontal.push_back(scale.pixel(x * 1000, scale.cy()));

    // The target marker: a dot at (730, CY - 270) inside a circle of radius 5 units.
    const QPointF target = scale.pixel(730, scale.cy() - 270);
    const double ring = w * 5.0 / 1000;
    const std::vector<QPointF> circle{target + QPointF(ring, 0), target - QPointF(ring, 0),
                                      target + QPointF(0, ring), target - QPointF(0, ring)};

    std::vector<QPointF> curve = scale.curvePixels(chordCurve(20, 30, 150, 70, curveAngles));
    curve.push_back(scale.curvePixel(149.993664, 70.278269));

    qInfo("Form4 client %dx%d: axes at x %.1f and y %.1f, target at (%.1f, %.1f)", w, h,
          vertical[0].x(), horizontal[0].y(), target.x(), target.y());

    const QString problem = waitForScreen("curve-window", [&](const QImage& shot) {
        QString p = missingColour(shot, form4_, vertical, black, "vertical axis");
        if (p.isEmpty())
            p = missingColour(shot, form4_, horizontal, black, "horizontal axis");
        if (p.isEmpty())
            p = missingColour(shot, form4_, {target}, black, "target dot");
        if (p.isEmpty())
            p = missingColour(shot, form4_, circle, black, "target circle");
        if (p.isEmpty())
            p = missingColour(shot, form4_, outside(curve, curveControls), green, "first curve");
        if (p.isEmpty())
            p = colourInDrawingArea(shot, form4_, cyan, curveControls);
        return p;
    });
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void TestProgram::badFieldFallsBack() {
    // Text1 of the frame "SEGMENTO ": the chord's start x.
    click(form4_, twipsCentre(240 + 1680, 480 + 360, 615, 375));
    key("ctrl+a");
    run({"xdotool", "type", "abc"});
    click(form4_, twipsCentre(4560, 960, 1935, 495));
    QString problem = closeMessageBox("bad-field");
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QVERIFY2(waitUntil([&] { return activeWindow() == form4_.id; }, windowTimeoutMs),
             "Form4 is not the active window after the message");

    // The start x falls back to 1; the end point stays (150, 70).
    const CurveScale scale{form4_.client.size(), incr_};
    const auto curve = scale.curvePixels(chordCurve(1, 30, 150, 70, curveAngles));
    problem = waitForScreen("bad-field-curve", [&](const QImage& shot) {
        return missingColour(shot, form4_, outside(curve, curveControls), cyan,
                             "curve from the fallback start");
    });
    QVERIFY2(problem.isEmpty(), qPrintable(problem));

    // Closing the box must not have added a curve of its own.
    problem = colourAbsent("bad-field-extra-curve", red);
    QVERIFY2(problem.isEmpty(), qPrintable("a second curve: " + problem));
}

void TestProgram::questionMarkAndBack() {
    click(form4_, twipsCentre(6840, 1080, 495, 375));
    QVERIFY2(waitUntil([&] { return activeWindow() == form1_.id; }, windowTimeoutMs),
             "\"?\" did not bring Form1 to the front");

    click(form1_, twipsCentre(10560, 4320, 1095, 1455));
    QVERIFY2(waitUntil([&] { return activeWindow() == form4_.id; }, windowTimeoutMs),
             "AVANTI did not bring Form4 to the front");
    QVERIFY2(visibleWindows("Curve").isEmpty(), "a message box came with the curve window");

    // The activation plots the fields as they are now: the start x holds its fallback 1.
    const CurveScale scale{form4_.client.size(), incr_};
    const auto curve = scale.curvePixels(chordCurve(1, 30, 150, 70, curveAngles));
    QString problem = waitForScreen("activation-curve", [&](const QImage& shot) {
        return missingColour(shot, form4_, outside(curve, curveControls), red,
                             "curve of the activation");
    });
    QVERIFY2(problem.isEmpty(), qPrintable(problem));

    problem = colourAbsent("activation-extra-curve", magenta);
    QVERIFY2(problem.isEmpty(), qPrintable("more than one curve on activation: " + problem));
}

// A right click on the drawing opens its menu: entries in dark text appear where the drawing
// was empty.
QString TestProgram::openDrawingMenu(const QString& step, QPoint at) {
    run({"xdotool", "mousemove", "--window", form4_.id, QString::number(at.x()),
         QString::number(at.y()), "click", "3"});
    const QRect below(form4_.client.topLeft() + at + QPoint(4, 4), QSize(160, 100));
    QImage menu;
    const QString problem = waitForScreen(step, [&](const QImage& shot) {
        int dark = 0;
        for (int y = below.top(); y <= below.bottom(); ++y)
            for (int x = below.left(); x <= below.right(); ++x)
                dark += qGray(shot.pixel(x, y)) < 100;
        menu = shot;
        return dark >= 100 ? QString() : QStringLiteral("no menu below the right click");
    });
    if (problem.isEmpty())
        menu.save(QDir(FAIL_SHOT_DIR).filePath("e2e-" + step + ".png"));
    return problem;
}

QString TestProgram::waitForFocus(const QString& id) {
    if (waitUntil(
            [&] {
                return QString::fromUtf8(run({"xdotool", "getwindowfocus"})).trimmed() == id;
            },
            windowTimeoutMs))
        return {};
    keepScreenshot("focus", screenshot());
    return "the window never took the keyboard focus";
}

void TestProgram::contextMenuCopiesAndSaves() {
    // Below and right of the axes' crossing, where no curve of this session passes.
    // High enough for the whole menu to open below it on this screen.
    const QPoint empty(int(form4_.client.width() * 0.75), int(form4_.client.height() * 0.6));
    QString problem = openDrawingMenu("context-menu", empty);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    // Up from the top goes round to the last entries: "Guida", "Anima barra verticale", "Anima
    // barra orizzontale", "Stampa…", "Salva immagine…", "Copia immagine", "Copia equazione".
    for (int entry = 0; entry < 7; ++entry)
        key("Up");
    key("Return");
    // The last curve: the start x fell back to 1, the end point is (150, 70).
    QString copied;
    waitUntil(
        [&] {
            copied = QString::fromUtf8(run({"xclip", "-o", "-selection", "clipboard"}));
            return copied.contains(u"x(α)");
        },
        windowTimeoutMs);
    QVERIFY2(copied.contains(u"\nx(α) = 149·sen²α + 0·cos α·sen(1·α) + 1\n"), qPrintable(copied));
    QVERIFY2(copied.contains(u"\ny(α) = "), qPrintable(copied));

    problem = openDrawingMenu("context-menu-again", empty);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    for (int entry = 0; entry < 5; ++entry)
        key("Up");
    key("Return");
    const std::optional<Window> dialog = findWindow("Salva immagine");
    QVERIFY2(dialog, "no file dialog titled Salva immagine");
    problem = waitForFocus(dialog->id);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    screenshot().save(QDir(FAIL_SHOT_DIR).filePath("e2e-save-dialog.png"));
    const QString path = QDir(saved_.path()).filePath("disegno.png");
    key("ctrl+a");
    run({"xdotool", "type", "--delay", "20", path});
    key("Return");
    QVERIFY2(waitUntil([&] { return visibleWindows("Salva immagine").isEmpty(); }, windowTimeoutMs),
             "the file dialog is still open");
    QVERIFY2(waitUntil([&] { return activeWindow() == form4_.id; }, windowTimeoutMs),
             "Form4 is not the active window after the dialog");
    // Written after the dialog has closed; renamed into place only once complete.
    QVERIFY2(waitUntil([&] { return QFile::exists(path); }, windowTimeoutMs),
             qPrintable(path + " was not written"));
    QCOMPARE(QDir(saved_.path()).entryList(QDir::Files), QStringList{"disegno.png"});

    // The file is the drawing the window shows, pixel for pixel outside the controls, once the
    // mouse is off the drawing and its tooltip gone.
    const QImage file = QImage(path).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(file.size(), form4_.client.size());
    run({"xdotool", "mousemove", QString::number(form4_.client.center().x()),
         QString::number(form4_.client.top() - 8)});
    problem = waitForScreen("saved-drawing", [&](const QImage& shot) {
        for (int y = 0; y < file.height(); ++y)
            for (int x = 0; x < file.width(); ++x) {
                if (x < curveControls.width() && y < curveControls.height())
                    continue;
                if (shot.pixel(form4_.client.topLeft() + QPoint(x, y)) != file.pixel(x, y))
                    return QStringLiteral("the saved picture differs at client pixel (%1, %2)")
                        .arg(x)
                        .arg(y);
            }
        return QString();
    });
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(QDir(home_.filePath("Pictures")).entryList(QDir::Files), QStringList());
}

// The curve window's client area of a screenshot, its controls blanked out.
QImage TestProgram::drawingArea(const QImage& shot) const {
    QImage area = shot.copy(form4_.client);
    QPainter(&area).fillRect(QRect(QPoint(0, 0), curveControls), Qt::black);
    return area;
}

// Waits until the drawing is the expected one; with stays, watches that it stays so.
QString TestProgram::waitForDrawing(const QString& step, const QImage& expected, bool stays) {
    if (!stays)
        return waitForScreen(step, [&](const QImage& shot) {
            return drawingArea(shot) == expected ? QString()
                                                 : QStringLiteral("not the expected drawing");
        });
    QImage shot;
    if (waitUntil([&] { return drawingArea(shot = screenshot()) != expected; }, quietMs))
        return keepScreenshot(step, shot), QStringLiteral("the drawing changed");
    return {};
}

// Answers "Non salvare" to the question about unsaved changes: its focus starts on "Salva",
// the default, and Tab moves it on to "Non salvare".
QString TestProgram::answerNotToSave() {
    const std::optional<Window> question = findWindow("Curve");
    if (!question)
        return "no question about the unsaved changes";
    if (const QString problem = waitForFocus(question->id); !problem.isEmpty())
        return problem;
    key("Tab");
    key("space");
    if (!waitUntil([&] { return visibleWindows("Curve").isEmpty(); }, windowTimeoutMs))
        return "the question about the unsaved changes is still open";
    return {};
}

// Types a full path into the file dialog with this title and accepts it.
QString TestProgram::answerFileDialog(const QString& title, const QString& path) {
    const std::optional<Window> dialog = findWindow(title);
    if (!dialog)
        return "no file dialog titled " + title;
    if (const QString problem = waitForFocus(dialog->id); !problem.isEmpty())
        return problem;
    key("ctrl+a");
    run({"xdotool", "type", "--delay", "20", path});
    key("Return");
    if (!waitUntil([&] { return visibleWindows(title).isEmpty(); }, windowTimeoutMs))
        return "the file dialog " + title + " is still open";
    if (!waitUntil([&] { return activeWindow() == form4_.id; }, windowTimeoutMs))
        return "Form4 is not the active window after the dialog";
    return {};
}

// Ctrl+S saves the drawing as an exercise through the real dialog; "CANCELLA ed esegui" leaves
// one curve; Ctrl+O asks whether to save that change, and answered "Non salvare" opens the
// exercise again: the same picture. In a field just typed into, the first Ctrl+Z undoes the
// typing and leaves the picture; the second takes the opening back.
void TestProgram::exerciseSavedClearedAndOpened() {
    run({"xdotool", "mousemove", QString::number(form4_.client.center().x()),
         QString::number(form4_.client.top() - 8)});
    const QImage family = drawingArea(screenshot());
    const QString path = QDir(saved_.path()).filePath("esercizio.curva");
    key("ctrl+s");
    QString problem = answerFileDialog("Salva esercizio", path);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QVERIFY2(waitUntil([&] { return QFile::exists(path); }, windowTimeoutMs),
             qPrintable(path + " was not written"));

    click(form4_, twipsCentre(4560, 1560, 1935, 375));
    QImage cleared;
    problem = waitForScreen("cleared", [&](const QImage& shot) {
        cleared = drawingArea(shot);
        return cleared != family ? QString() : QStringLiteral("the drawing was not cleared");
    });
    QVERIFY2(problem.isEmpty(), qPrintable(problem));

    key("ctrl+o");
    problem = answerNotToSave();
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    problem = answerFileDialog("Apri esercizio", path);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    problem = waitForDrawing("opened", family);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));

    click(form4_, twipsCentre(240 + 1680, 480 + 360, 615, 375)); // Text1
    key("9");
    key("ctrl+z");
    problem = waitForDrawing("field-undo-keeps-the-drawing", family, true);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    key("ctrl+z");
    problem = waitForDrawing("opening-taken-back", cleared);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

// The drawing differs from the file saved, so ESCI asks first.
void TestProgram::esciEndsProgram() {
    click(form4_, twipsCentre(4560, 600, 1935, 255));
    const QString problem = answerNotToSave();
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    const bool ended = program_->waitForFinished(windowTimeoutMs);
    if (!ended)
        keepScreenshot("esci", screenshot());
    QVERIFY2(ended, "the program is still running after ESCI");
    QCOMPARE(program_->exitStatus(), QProcess::NormalExit);
    QCOMPARE(program_->exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestProgram)
#include "test_program.moc"
