#pragma once

#include <QSize>

class QLabel;
class QPixmap;
class QString;

// Fixed pictures of the screens are shown whole: scaled down to the room
// their label has, the aspect ratio kept, never enlarged beyond their own
// size (an enlarged JPEG only looks blurred).
namespace PictureFit {

// The size a picture of `picture` takes in a box of `room`.
QSize fitted(const QSize& picture, const QSize& room);

// Shows `picture` in `label`, fitted to the label's maximum size and centred
// in it. A null picture leaves the label as it was.
void show(QLabel* label, const QPixmap& picture);

// The same for a picture compiled into the program (":/images/...").
void show(QLabel* label, const QString& resource);

} // namespace PictureFit
