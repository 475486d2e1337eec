// The administrator's figures, taken on its real windows in this process:
// the product list of a group holding the whole catalogue of 2,000
// products, and the capacity grid of a model opened from the equipment list.
#include "AdminSession.h"
#include "DataLocation.h"
#include "FigureNames.h"
#include "Functions.h"
#include "GuiTiming.h"
#include "QueryTable.h"
#include "frmCLS1.h"
#include "frmEqEdit.h"
#include "frmMain.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

template <class T> T* shown()
{
    for (QWidget* w : QApplication::allWidgets())
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible())
            return t;
    return nullptr;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const GuiBenchOptions options = parseGuiBenchOptions(app, QStringLiteral("folder of nv.mdb"));
    SilentMessages messages;
    Messages::install(&messages);

    const QString listFigure = QString::fromUtf8(FigureName::ProductList);
    const QString gridFigure = QString::fromUtf8(FigureName::CapacityGrid);
    // A copy in which group 1 holds every product; the benchmark's own files
    // stay as generated. A folder that names a server names the runner's own
    // copy of the reference store, changed in place.
    QTemporaryDir copy;
    QString folder = options.folder;
    if (!QFileInfo::exists(QDir(folder).filePath(QLatin1String(SettingsFileName)))) {
        QFile::copy(QDir(folder).filePath(QLatin1String(ReferenceFileName)),
                    copy.filePath(QLatin1String(ReferenceFileName)));
        folder = copy.path();
    }
    QueryTable products;
    AdminSession session;
    if (!session.open(DataLocation::folder(folder)) ||
        !session.execSql(QStringLiteral("UPDATE Product SET fkey=1")) ||
        session.query(QStringLiteral("SELECT COUNT(*) FROM Product WHERE fkey=1"), products).valueOr(0) !=
            1) {
        printMissing(listFigure, QStringLiteral("nv.mdb not opened"), QString());
        printMissing(gridFigure, QStringLiteral("nv.mdb not opened"), QString());
        return 1;
    }
    const int catalogue = int(products.integer(0, 0));

    std::vector<double> list, grid;
    QString failure;
    for (int run = 0; run < options.runs && failure.isEmpty(); ++run) {
        frmMain main(session);
        main.show();
        QCoreApplication::processEvents();
        // "Продукты": the first group (Группа 01) is selected and listed.
        list.push_back(
            timeShown([&] { main.FillForm(Functions::KindProduct); }, [] { return shown<frmCLS1>(); }));
        auto* window = shown<frmCLS1>();
        auto* entries = window ? window->findChild<QListWidget*>(QStringLiteral("List1")) : nullptr;
        if (!entries || entries->count() != catalogue) {
            failure = QStringLiteral("product list has %1 entries").arg(entries ? entries->count() : -1);
            break;
        }
        window->closeWindow();
        QCoreApplication::processEvents();

        main.FillForm(Functions::KindEquipment);
        window = shown<frmCLS1>();
        entries = window ? window->findChild<QListWidget*>(QStringLiteral("List1")) : nullptr;
        auto* edit = window ? window->findChild<QPushButton*>(QStringLiteral("cmbEdit")) : nullptr;
        if (!entries || !edit || entries->count() == 0) {
            failure = QStringLiteral("no model listed");
            break;
        }
        entries->setCurrentRow(entries->count() / 2);
        grid.push_back(timeShown([&] { edit->click(); }, [] { return shown<frmEqEdit>(); }));
        auto* editor = shown<frmEqEdit>();
        if (!editor) {
            failure = QStringLiteral("capacity editor not shown: %1").arg(messages.last());
            break;
        }
        editor->reject();
        window->closeWindow();
        QCoreApplication::processEvents();
    }
    if (!failure.isEmpty()) {
        printMissing(listFigure, failure, QString());
        printMissing(gridFigure, failure, QString());
        return 1;
    }
    printFigure(listFigure, list, QStringLiteral("<= 100"));
    printFigure(gridFigure, grid, QStringLiteral("<= 100"));
    return 0;
}
