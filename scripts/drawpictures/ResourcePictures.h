#pragma once

#include <QImage>

// The placeholder picture, the fixed pictures and the icons of the two programs.
namespace ResourcePictures {

QImage noPicture(); // "нет изображения", shown for a missing equipment picture
QImage logo();
QImage customerScreen();  // stage0.jpg
QImage equipmentScreen(); // stage4.jpg
QImage productsPanel();   // products.jpg
QImage equipmentPanel();  // equipment.jpg

// The programs' icons for the desktop's menus, the logo's snowflake on an ice
// tile; the administrator's with a stack of reference data before it.
QImage wizardIcon(int size);
QImage adminIcon(int size);

} // namespace ResourcePictures
