// Edits one capacity set of the named equipment type through the administrator's own capacity editor,
// or with "csv" through a spreadsheet file of the type's capacity table that it imports, over and over, until
// the given number of seconds has passed: every save sets the nine cells to their first values plus the round
// number. Prints "saves N" at the end; any message box is printed to stderr as a failure.
#include "AdminSession.h"
#include "CsvCapacityLayout.h"
#include "CsvFile.h"
#include "CsvImport.h"
#include "DataLocation.h"
#include "Messages.h"
#include "PowerSet.h"
#include "frmEqEdit.h"
#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <cstdio>

namespace {

class CountingSeam final : public MessageSeam
{
public:
    int shown = 0;
    MsgAnswer showMessage(const MessageRequest& request) override
    {
        ++shown;
        std::fprintf(stderr, "message: %s\n", qPrintable(request.text));
        return MsgAnswer::No;
    }
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override { return {}; }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
};

frmEqEdit* shownEditor()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* editor = qobject_cast<frmEqEdit*>(w); editor && editor->isVisible())
            return editor;
    return nullptr;
}

QLineEdit* cell(QWidget* editor, int k)
{
    return editor->findChild<QLineEdit*>(QStringLiteral("Text%1").arg(9 + k));
}

// One save as an import of the type's table with the set's capacities raised:
// 0, or the failure.
int importRaised(AdminSession& session, qint32 typeKey, const QString& entry, int raise)
{
    const CsvCapacityLayout layout(session, typeKey);
    QVector<ExchangeRow> rows;
    if (!layout.readStored(rows))
        return 8;
    static QList<double> first;
    QList<QStringList> lines;
    int k = 0;
    for (const ExchangeRow& row : std::as_const(rows)) {
        lines << row.fields;
        if (PowerSet::entryText(row.fields.at(0), row.fields.at(1)) != entry)
            continue;
        if (first.size() < 9)
            first << row.values.at(4).toDouble();
        lines.last()[4] = CsvFile::number(first.at(k++) + raise);
    }
    const CsvImport import(session, layout, CsvFile::write(layout.header(), lines));
    return import.problems().isEmpty() && import.changes() == 9 && import.apply(false) ? 0 : 9;
}

int editRepeatedly(AdminSession& session, const QString& typeName, const QString& entry, int seconds,
                   const CountingSeam& seam, bool throughFile)
{
    frmMain main(session);
    main.show();
    main.findChild<QAction*>(QStringLiteral("mOb"))->trigger();
    ListWindow* window = main.listWindow();
    if (!window)
        return 3;
    auto* types = window->findChild<QComboBox*>(QStringLiteral("Combo1"));
    const int type = types->findText(typeName);
    if (type < 0)
        return 3;
    types->setCurrentIndex(type);
    auto* list = window->findChild<QListWidget*>(QStringLiteral("List1"));

    double first[9] = {};
    int saves = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < seconds * 1000 && seam.shown == 0) {
        if (throughFile) {
            if (const int failure = importRaised(session, window->parentKey(), entry, ++saves))
                return failure;
            continue;
        }
        const auto found = list->findItems(entry, Qt::MatchExactly);
        if (found.isEmpty())
            return 4;
        list->setCurrentItem(found.first());
        window->findChild<QPushButton*>(QStringLiteral("cmbEdit"))->click();
        QWidget* editor = shownEditor();
        if (!editor)
            return 5;
        for (int k = 0; k < 9; ++k) {
            if (saves == 0)
                first[k] = cell(editor, k)->text().toDouble();
            cell(editor, k)->setText(QString::number(first[k] + saves + 1));
        }
        editor->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        QApplication::processEvents();
        if (shownEditor())
            return 6; // the save did not close the editor
        ++saves;
    }
    std::printf("saves %d\n", saves);
    return seam.shown == 0 ? 0 : 7;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    CountingSeam seam;
    Messages::install(&seam);
    const QStringList args = app.arguments();
    if (args.size() != 5 && args.size() != 6)
        return 2;
    const QString typeName = args.at(2);
    const QString entry = args.at(3); // e.g. KMN020
    const int seconds = args.at(4).toInt();

    AdminSession session;
    if (!session.open(DataLocation::folder(args.at(1))))
        return 1;
    return editRepeatedly(session, typeName, entry, seconds, seam, args.value(5) == QLatin1String("csv"));
}
