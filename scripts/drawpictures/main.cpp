// Draws the pictures delivered with the programs: the placeholder, the
// appearance and mounting pictures of every equipment series (program folder)
// and the fixed pictures compiled into the programs (resources/).
//
// Usage: frostpick-drawpictures OUTPUT_FOLDER   (normally data/pictures)
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
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: frostpick-drawpictures OUTPUT_FOLDER\n");
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
    return ok ? 0 : 1;
}
