#pragma once

#include <QString>

// Where copied things go. Windows copy through one of these, so tests can record what was
// copied without a real clipboard.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString& text) = 0;
};

// The desktop's clipboard.
class SystemClipboard final : public Clipboard {
public:
    void setText(const QString& text) override;
};
