// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Paths that are not files, to open as exercises.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <atomic>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

// A named pipe that a reader opening it would wait on for ever: a writer comes after a while
// and goes at once, so that a reader which does not refuse it reads an empty file instead of
// hanging the test.
class PipeWithLateWriter {
public:
    explicit PipeWithLateWriter(const QString& path)
        : made_(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0),
          writer_([this, name = QFile::encodeName(path)] {
              for (int i = 0; i < 200 && !done_; ++i) {
                  const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
                  if (fd >= 0) {
                      ::close(fd);
                      return;
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(10));
              }
          }) {}
    ~PipeWithLateWriter() {
        done_ = true;
        writer_.join();
    }
    bool made() const { return made_; }

private:
    bool made_;
    std::atomic<bool> done_{false};
    std::thread writer_;
};

inline bool makeSocket(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}
