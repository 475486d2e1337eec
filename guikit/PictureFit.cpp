#include "PictureFit.h"

#include <QLabel>
#include <QPixmap>
#include <QString>

namespace PictureFit {

QSize fitted(const QSize& picture, const QSize& room)
{
    if (picture.isEmpty() || room.isEmpty())
        return QSize(0, 0);
    if (picture.width() <= room.width() && picture.height() <= room.height())
        return picture;
    return picture.scaled(room, Qt::KeepAspectRatio);
}

void show(QLabel* label, const QPixmap& picture)
{
    if (picture.isNull())
        return;
    // The label's frame takes part of its room.
    const int frame = 2 * label->frameWidth();
    const QSize room =
        label->maximumSize().boundedTo(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)) - QSize(frame, frame);
    const qreal ratio = label->devicePixelRatioF();
    const QSize size = fitted(picture.deviceIndependentSize().toSize(), room);
    QPixmap shown = picture.scaled(size * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    shown.setDevicePixelRatio(ratio);
    label->setScaledContents(false);
    label->setAlignment(Qt::AlignCenter);
    label->setPixmap(shown);
}

void show(QLabel* label, const QString& resource)
{
    show(label, QPixmap(resource));
}

} // namespace PictureFit
