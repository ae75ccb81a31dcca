// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

// Texts a user (or a paste) can put into a parameter field that stress the number reading,
// with what they stand for under Italian settings: nothing when they are not a number.
struct HostileText {
    QString name;
    QString text;
    std::optional<double> value;
};

inline QList<HostileText> hostileTexts() {
    using std::nullopt;
    return {
        {"empty", "", nullopt},
        {"blanks", "    ", nullopt},
        {"letters", "abc", nullopt},
        {"digits then letters", "12abc", nullopt},
        {"two decimal commas", "1,2,3", nullopt},
        {"grouping point", "1.000", nullopt},
        {"double sign", "--1", nullopt},
        {"lone sign", "-", nullopt},
        {"exponent without digits", "1e", nullopt},
        {"beyond the largest double", "1E400", nullopt},
        {"beyond the lowest double", "-1E400", nullopt},
        {"below the smallest double", "1E-400", 0.0},
        {"near the largest double", "1E308", 1e308},
        {"near the lowest double", "-1E308", -1e308},
        {"subnormal", "1E-320", 1e-320},
        {"a million millions", "1E12", 1e12},
        {"minus zero", "-0", -0.0},
        {"10000 digits", QString(10000, u'9'), nullopt},
        {"10000 zeros", QString(10000, u'0'), 0.0},
        {"10000 fraction digits", "0," + QString(9998, u'0') + "1", 0.0},
        {"arabic-indic digits", QString::fromUtf8("١٢"), nullopt},
        {"fullwidth digits", QString::fromUtf8("１２"), nullopt},
        {"emoji", QString::fromUtf8("\U0001F600"), nullopt},
        {"digits and emoji", QString::fromUtf8("12\U0001F600"), nullopt},
        {"embedded NUL", QString::fromUtf16(u"1\u00002", 3), nullopt},
        {"trailing NUL", QString::fromUtf16(u"12\u0000", 3), nullopt},
        {"no-break spaces around", QString::fromUtf8("\u00A012\u00A0"), nullopt},
        {"blanks around", "  12  ", 12.0},
    };
}

// How long one user action, plot included, may take. The largest INST accepted makes a plot
// of about a second; sanitizers slow everything down about tenfold.
#ifdef CURVE_SANITIZED
constexpr qint64 ActionBoundMs = 30'000;
#else
constexpr qint64 ActionBoundMs = 3'000;
#endif

// Ends the test run with the name of the step that is running when a step overstays its
// bound many times over: a plot that never ends would otherwise hang the run without a word.
class Watchdog {
public:
    explicit Watchdog(std::chrono::milliseconds limit)
        : limit_(limit), thread_([this] { watch(); }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    // Runs one step under watch and returns how many milliseconds it took.
    template <typename Step> qint64 timed(const QString& what, Step&& step) {
        {
            std::lock_guard lock(mutex_);
            what_ = what.left(200).toStdString();
            started_ = Clock::now();
        }
        QElapsedTimer timer;
        timer.start();
        step();
        const qint64 elapsed = timer.elapsed();
        std::lock_guard lock(mutex_);
        started_.reset();
        return elapsed;
    }

private:
    using Clock = std::chrono::steady_clock;

    void watch() {
        std::unique_lock lock(mutex_);
        while (!stop_) {
            wake_.wait_for(lock, std::chrono::milliseconds(100));
            if (started_ && Clock::now() - *started_ > limit_) {
                std::fprintf(stderr, "FAIL: still running after %lld ms: %s\n",
                             static_cast<long long>(limit_.count()), what_.c_str());
                std::fflush(stderr);
                std::abort();
            }
        }
    }

    std::chrono::milliseconds limit_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::string what_;
    std::optional<Clock::time_point> started_;
    bool stop_ = false;
    std::thread thread_;
};
