// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "InstructionsPage.h"

#include "Fonts.h"
#include "Form4Layout.h"
#include "ScrollBar.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>

namespace {

int dotsPerMetre(qreal dotsPerInch) {
    return qRound(dotsPerInch / 0.0254);
}

// Room around each panel, so that its border is not cut at the picture's edge.
constexpr int PictureMargin = 4;

QRect pictureArea(int number, const Form4Controls& c) {
    switch (number) {
    case 1:
        return c.Frame1->geometry();
    case 2:
        return c.Frame2->geometry();
    case 3:
        return c.Frame5->geometry();
    case 4:
        return c.Label9->geometry().united(c.Text9->geometry());
    case 5:
        return c.Check1->geometry();
    default:
        return c.Frame4->geometry().united(c.Frame3->geometry());
    }
}

} // namespace

void setPictureStates(const Form4Controls& c) {
    c.Check1->setChecked(false);
    c.HScroll2->setValue(250);
    c.Text7->setText(QStringLiteral("250"));
    c.HScroll1->setValue(500);
    c.Text6->setText(QStringLiteral("500"));
    for (QLineEdit* box : {c.Text1, c.Text2, c.Text4, c.Text5, c.Text3, c.Text8, c.Text10, c.Text11,
                           c.Text9, c.Text7, c.Text6})
        box->setCursorPosition(0);
}

QImage grabPanelPicture(int number, const Form4Controls& controls, QWidget& host) {
    const QRect area = pictureArea(number, controls)
                           .adjusted(-PictureMargin, -PictureMargin, PictureMargin, PictureMargin)
                           .intersected(host.rect());
    return host.grab(area).toImage();
}

InstructionsPage::InstructionsPage() : lines_(layOutInstructions()) {}

const std::array<QImage, PictureCount>& InstructionsPage::pictures() {
    if (pictures_[0].isNull()) {
        QWidget host;
        host.resize(Form4DesignSize);
        const Form4Controls controls = buildForm4Controls(&host);
        setPictureStates(controls);
        for (int number = 1; number <= PictureCount; ++number)
            pictures_[number - 1] = grabPanelPicture(number, controls, host);
    }
    return pictures_;
}

const QImage& InstructionsPage::image(qreal dpiX, qreal dpiY, qreal devicePixelRatio) {
    if (image_.isNull() || image_.dotsPerMeterX() != dotsPerMetre(dpiX) ||
        image_.dotsPerMeterY() != dotsPerMetre(dpiY) ||
        image_.devicePixelRatio() != devicePixelRatio)
        image_ = render(dpiX, dpiY, devicePixelRatio);
    return image_;
}

QImage InstructionsPage::render(qreal dpiX, qreal dpiY, qreal devicePixelRatio) {
    const qreal pixelsX = dpiX / 72.0;
    const qreal pixelsY = dpiY / 72.0;
    QImage page(qRound(PageWidth * pixelsX * devicePixelRatio),
                qRound(PageHeight * pixelsY * devicePixelRatio), QImage::Format_RGB32);
    page.setDevicePixelRatio(devicePixelRatio);
    // The font's points are converted at the image's own resolution, that of the screen.
    page.setDotsPerMeterX(dotsPerMetre(dpiX));
    page.setDotsPerMeterY(dotsPerMetre(dpiY));
    page.fill(Qt::white);

    QPainter painter(&page);
    for (int i = 0; i < PictureCount; ++i) {
        const QRectF place = PagePictures[i].place;
        // Scaled once to the device pixels it covers, so that it is drawn without resampling.
        const QRect target(qRound(place.x() * pixelsX * devicePixelRatio),
                           qRound(place.y() * pixelsY * devicePixelRatio),
                           qRound(place.width() * pixelsX * devicePixelRatio),
                           qRound(place.height() * pixelsY * devicePixelRatio));
        QImage picture =
            pictures()[i].scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        picture.setDevicePixelRatio(devicePixelRatio);
        painter.drawImage(QPointF(target.topLeft()) / devicePixelRatio, picture);
    }

    painter.setFont(courierNewFont(PageFontPointSize));
    painter.setPen(Qt::black);
    for (const PageLine& line : lines_)
        painter.drawText(QPointF(line.origin.x() * pixelsX, line.origin.y() * pixelsY), line.text);
    return page;
}
