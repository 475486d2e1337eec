// Draws the pictures delivered with the programs: the placeholder, the
// appearance and mounting pictures of every equipment series (program folder),
// the fixed pictures compiled into the programs (resources/) and the icons of
// the desktop's menus in the sizes of the icon theme (SIZExSIZE/apps/).
//
// Usage: frostpick-drawpictures OUTPUT_FOLDER ICON_FOLDER
//        (normally data/pictures and data/icons)
#include "DrawingKit.h"
#include "ResourcePictures.h"
#include "UnitPictures.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: frostpick-drawpictures OUTPUT_FOLDER ICON_FOLDER\n");
        return 2;
    }
    const QDir out(args.first());
    if (!out.mkpath(QStringLiteral("resources"))) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(out.filePath(QStringLiteral("resources"))));
        return 1;
    }

    bool ok = DrawingKit::saveJpeg(ResourcePictures::noPicture(), out.filePath(QStringLiteral("netyti.jpg")));
    for (const SeriesStyle& series : UnitPictures::allSeries()) {
        const QString base = series.code.toLower();
        ok &= DrawingKit::saveJpeg(UnitPictures::appearance(series),
                                   out.filePath(base + QStringLiteral(".jpg")));
        ok &= DrawingKit::saveJpeg(UnitPictures::scheme(series),
                                   out.filePath(base + QStringLiteral("_scheme.jpg")));
    }
    const QDir resources(out.filePath(QStringLiteral("resources")));
    ok &= DrawingKit::saveJpeg(ResourcePictures::logo(), resources.filePath(QStringLiteral("logo.jpg")));
    ok &= DrawingKit::saveJpeg(ResourcePictures::customerScreen(),
                               resources.filePath(QStringLiteral("stage0.jpg")));
    ok &= DrawingKit::saveJpeg(ResourcePictures::equipmentScreen(),
                               resources.filePath(QStringLiteral("stage4.jpg")));
    ok &= DrawingKit::saveJpeg(ResourcePictures::productsPanel(),
                               resources.filePath(QStringLiteral("products.jpg")));
    ok &= DrawingKit::saveJpeg(ResourcePictures::equipmentPanel(),
                               resources.filePath(QStringLiteral("equipment.jpg")));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args.at(1)).arg(size);
        if (!QDir().mkpath(folder)) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
            return 1;
        }
        ok &= DrawingKit::savePng(ResourcePictures::wizardIcon(size),
                                  folder + QStringLiteral("/frostpick.png"));
        ok &=
            DrawingKit::savePng(ResourcePictures::adminIcon(size), folder + QStringLiteral("/rimehold.png"));
    }
    return ok ? 0 : 1;
}
