#pragma once

#include <QImage>

// The placeholder picture and the fixed pictures of the two programs.
namespace ResourcePictures {

QImage noPicture(); // "нет изображения", shown for a missing equipment picture
QImage logo();
QImage customerScreen();  // stage0.jpg
QImage equipmentScreen(); // stage4.jpg
QImage productsPanel();   // products.jpg
QImage equipmentPanel();  // equipment.jpg

} // namespace ResourcePictures
