#include "AdminTestBase.h"
#include "TestDatabases.h"

#include "frmCLS1.h"
#include "frmCls1Edit.h"
#include "frmMain.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

// Groups and equipment types with their pictures.
class TestTypeEditor : public AdminTestBase
{
    Q_OBJECT
private:
    // A picture outside the program folder, as a user would choose it.
    QString picture(const QString& name, int padding = 0)
    {
        QDir(folder()).mkpath(QStringLiteral("photos"));
        const QString path = QDir(folder()).filePath(QStringLiteral("photos/") + name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray(padding, 'x') + "\xFF\xD8\xFF\xE0 picture " + name.toUtf8());
        return path;
    }
    bool inProgramFolder(const QString& name) const { return QFile::exists(QDir(folder()).filePath(name)); }

private slots:
    void firstTypeNeedsAModel()
    {
        QVERIFY(!openList("mOb"));
        frmCls1Edit* editor = shownEditor<frmCls1Edit>();
        QVERIFY(editor);
        QCOMPARE(text(editor, "Label1"), QStringLiteral("Тип оборудования"));
        QCOMPARE(editor->findChild<QLineEdit*>(QStringLiteral("Text1"))->accessibleName(),
                 QStringLiteral("Тип оборудования"));
        QVERIFY(editor->findChild<QLineEdit*>(QStringLiteral("Text4"))->isVisible());
        type(editor, "Text1", QStringLiteral("Моноблок"));
        click(editor, "cmbSave");
        QCOMPARE(m_messages.lastText(), QStringLiteral("Ошибка ввода данных!"));
        QCOMPARE(editor->focusWidget()->objectName(), QStringLiteral("Text2"));
        type(editor, "Text2", QStringLiteral("KMC"));
        type(editor, "Text3", QStringLiteral("typed.jpg"));
        click(editor, "cmbSave");
        const QueryTable stored = rows(QStringLiteral("SELECT text_ru,model,picture,scheme FROM equipment"));
        QCOMPARE(stored.rowCount(), 1);
        QCOMPARE(stored.text(0, 1), QStringLiteral("KMC"));
        QCOMPARE(stored.text(0, 2), QStringLiteral("typed.jpg"));
        QVERIFY(!inProgramFolder(QStringLiteral("typed.jpg")));
        QWidget* window = openList("mOb");
        QVERIFY(window);
        QCOMPARE(text(window, "Label2"), QStringLiteral("Модель агрегата"));
    }
    void chosenPicturesAreCopied()
    {
        exec(QStringLiteral(
            "INSERT INTO equipment(text_ru,model,picture,scheme) VALUES ('Сплит','KS','','')"));
        QWidget* window = openList("mOb");
        frmCls1Edit* editor = openEditor<frmCls1Edit>(window, "cmbGAdd");
        QVERIFY(editor);
        m_messages.queueFileName(picture(QStringLiteral("kmp_new.jpg")));
        click(editor, "Image1");
        QCOMPARE(m_messages.lastFileFilter, QStringLiteral("Картинки (*.jpg)"));
        m_messages.queueFileName(picture(QStringLiteral("kmp_new_scheme.jpg")));
        click(editor, "Image2");
        QCOMPARE(text(editor, "Text3"), QStringLiteral("kmp_new.jpg"));
        QCOMPARE(text(editor, "Text4"), QStringLiteral("kmp_new_scheme.jpg"));
        QVERIFY(!inProgramFolder(QStringLiteral("kmp_new.jpg")));
        type(editor, "Text1", QStringLiteral("Моноблок потолочный"));
        type(editor, "Text2", QStringLiteral("KMP"));
        click(editor, "cmbSave");
        QVERIFY(m_messages.shown().isEmpty());
        QVERIFY(inProgramFolder(QStringLiteral("kmp_new.jpg")));
        QVERIFY(inProgramFolder(QStringLiteral("kmp_new_scheme.jpg")));
        const QueryTable stored =
            rows(QStringLiteral("SELECT picture,scheme FROM equipment WHERE text_ru='Моноблок потолочный'"));
        QCOMPARE(stored.text(0, 0), QStringLiteral("kmp_new.jpg"));
        QCOMPARE(stored.text(0, 1), QStringLiteral("kmp_new_scheme.jpg"));

        // Cancelling the choice changes nothing.
        window->findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(1);
        editor = openEditor<frmCls1Edit>(window, "cmbGEdit");
        QVERIFY(editor);
        m_messages.queueFileName(QString());
        click(editor, "Image1");
        QCOMPARE(text(editor, "Text3"), QStringLiteral("kmp_new.jpg"));
    }
    // Pictures chosen, one of them over a file of the same name, the save
    // refused, first by the editor, then by the store, and the editor closed:
    // the folder is as it was.
    void closingWithoutSavingLeavesTheFolder()
    {
        QVERIFY(QFile::copy(picture(QStringLiteral("kmc.jpg")), QDir(folder()).filePath("kmc.jpg")));
        const QString replacing = picture(QStringLiteral("kmc.jpg"), 10);
        QVERIFY(!openList("mOb"));
        const QStringList before = QDir(folder()).entryList(QDir::Files | QDir::Hidden);
        frmCls1Edit* editor = shownEditor<frmCls1Edit>();
        QVERIFY(editor);
        m_messages.queueFileName(picture(QStringLiteral("draft.jpg")));
        click(editor, "Image1");
        m_messages.queueFileName(replacing);
        click(editor, "Image2");
        type(editor, "Text1", QStringLiteral("Моноблок"));
        click(editor, "cmbSave"); // no model
        QCOMPARE(m_messages.lastText(), QStringLiteral("Ошибка ввода данных!"));
        for (const QString& statement :
             TestDatabases::refuseInserts(QStringLiteral("equipment"), QStringLiteral("1=1")))
            exec(statement);
        type(editor, "Text2", QStringLiteral("KM"));
        click(editor, "cmbSave"); // refused by the store
        QVERIFY(m_messages.lastText().startsWith(QStringLiteral("Ошибка ввода данных\r")));
        click(editor, "cmbExit");
        QVERIFY(!shownEditor<frmCls1Edit>());
        QCOMPARE(QDir(folder()).entryList(QDir::Files | QDir::Hidden), before);
        QFile kept(QDir(folder()).filePath(QStringLiteral("kmc.jpg")));
        QVERIFY(kept.open(QIODevice::ReadOnly) && kept.readAll().startsWith("\xFF\xD8"));
        QCOMPARE(rows(QStringLiteral("SELECT * FROM equipment")).rowCount(), 0);
    }
    // A copy that fails refuses the save and keeps the editor open.
    void failedCopyIsReportedOnSaving()
    {
        QVERIFY(!openList("mOb"));
        frmCls1Edit* editor = shownEditor<frmCls1Edit>();
        type(editor, "Text1", QStringLiteral("Моноблок"));
        type(editor, "Text2", QStringLiteral("KM"));
        const QString missing = QDir(folder()).filePath(QStringLiteral("gone/none.jpg"));
        m_messages.queueFileName(missing);
        click(editor, "Image1");
        QCOMPARE(text(editor, "Text3"), QStringLiteral("none.jpg"));
        click(editor, "cmbSave");
        QCOMPARE(m_messages.shown().size(), 1);
        QVERIFY(m_messages.lastText().startsWith(QStringLiteral("Ошибка при копировании файла ") + missing +
                                                 QStringLiteral("!\r\n")));
        QCOMPARE(m_messages.shown().last().title, QStringLiteral(""));
        QVERIFY(!m_messages.shown().last().title.isNull());
        QCOMPARE(m_messages.shown().last().icon, MsgIcon::Exclamation);
        QCOMPARE(rows(QStringLiteral("SELECT * FROM equipment")).rowCount(), 0);

        type(editor, "Text3", QString());
        m_messages.queueFileName(missing);
        click(editor, "Image2");
        click(editor, "cmbSave");
        QVERIFY(m_messages.lastText().startsWith(QStringLiteral("Ошибка при копировании файла ") + missing +
                                                 QStringLiteral("->") + QDir(folder()).filePath("none.jpg") +
                                                 QStringLiteral("!\r\n")));
        QVERIFY(m_messages.lastText().endsWith(QLatin1Char(')')));
        type(editor, "Text4", QString());

        // A copy that fails part-way leaves the type's former picture whole.
        const QString former = picture(QStringLiteral("kmc.jpg"));
        QVERIFY(QFile::copy(former, QDir(folder()).filePath(QStringLiteral("kmc.jpg"))));
        // A source that opens but cannot be read.
        QVERIFY(QFile::remove(former) && QFile::link(QStringLiteral("/proc/self/mem"), former));
        m_messages.queueFileName(former);
        click(editor, "Image1");
        click(editor, "cmbSave");
        QCOMPARE(m_messages.shown().size(), 3);
        QVERIFY(shownEditor<frmCls1Edit>());
        QCOMPARE(rows(QStringLiteral("SELECT * FROM equipment")).rowCount(), 0);
        QFile kept(QDir(folder()).filePath(QStringLiteral("kmc.jpg")));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QVERIFY(kept.readAll().endsWith("picture kmc.jpg"));
    }
    // A picture larger than the disk takes, copied in a process of its own
    // whose files may not grow beyond 64 KB: the former one stays whole.
    void pictureCutShortByAFullDisk()
    {
        if (!qEnvironmentVariableIsSet("FILE_SIZE_LIMITED")) {
            qputenv("FILE_SIZE_LIMITED", "1");
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("pictureCutShortByAFullDisk")});
            QVERIFY(child.waitForFinished(60000));
            QVERIFY2(child.exitCode() == 0, child.readAllStandardOutput().constData());
            return;
        }
        const QString kept = QDir(folder()).filePath(QStringLiteral("km.jpg"));
        QVERIFY(QFile::copy(picture(QStringLiteral("km.jpg")), kept));
        QVERIFY(!openList("mOb"));
        m_messages.queueFileName(picture(QStringLiteral("km.jpg"), 200000));
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1 << 16, RLIM_INFINITY};
        QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
        frmCls1Edit* editor = shownEditor<frmCls1Edit>();
        click(editor, "Image1");
        type(editor, "Text1", QStringLiteral("Моноблок"));
        type(editor, "Text2", QStringLiteral("KM"));
        click(editor, "cmbSave");
        QVERIFY(m_messages.lastText().endsWith(QStringLiteral("File too large")));
        QCOMPARE(QDir(folder()).entryList({QStringLiteral("km*")}), QStringList{QStringLiteral("km.jpg")});
        QFile file(kept);
        QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll().endsWith("picture km.jpg"));
    }
    void renameInPlaceAndAppendNew()
    {
        exec(QStringLiteral("INSERT INTO PGroup(text_ru) VALUES ('Мясо')"));
        exec(QStringLiteral("INSERT INTO PGroup(text_ru) VALUES ('Рыба')"));
        QWidget* window = openList("mPr");
        auto* combo = window->findChild<QComboBox*>(QStringLiteral("Combo1"));
        combo->setCurrentIndex(1);
        frmCls1Edit* editor = openEditor<frmCls1Edit>(window, "cmbGEdit");
        QVERIFY(editor);
        QCOMPARE(text(editor, "Text1"), QStringLiteral("Рыба"));
        type(editor, "Text1", QStringLiteral("Рыба и морепродукты"));
        click(editor, "cmbSave");
        QCOMPARE(entries(window, "Combo1"),
                 (QStringList{QStringLiteral("Мясо"), QStringLiteral("Рыба и морепродукты")}));

        editor = openEditor<frmCls1Edit>(window, "cmbGAdd");
        type(editor, "Text1", QStringLiteral("Ананасы"));
        click(editor, "cmbSave");
        QCOMPARE(entries(window, "Combo1").last(), QStringLiteral("Ананасы"));
        QCOMPARE(combo->currentIndex(), 1);
        QCOMPARE(combo->itemData(2).toLongLong(),
                 rows(QStringLiteral("SELECT Pkey FROM PGroup WHERE text_ru='Ананасы'")).integer(0, 0));

        // A group deleted meanwhile by another administrator is not renamed in
        // place: the save says so and the groups are read again.
        click(window, "cmbGEdit");
        exec(QStringLiteral("DELETE FROM PGroup WHERE text_ru LIKE 'Рыба%'"));
        click(shownEditor<frmCls1Edit>(), "cmbSave");
        QVERIFY(!shownEditor<frmCls1Edit>());
        QVERIFY(m_messages.lastText().startsWith(QStringLiteral("Ошибка ввода данных\r")));
        QCOMPARE(entries(window, "Combo1"), (QStringList{QStringLiteral("Ананасы"), QStringLiteral("Мясо")}));
    }
    void sameNamedTypesKeepTheirOwnKeys()
    {
        exec(QStringLiteral(
            "INSERT INTO equipment(text_ru,model,picture,scheme) VALUES ('Агрегат','KM','','')"));
        QWidget* window = openList("mOb");
        frmCls1Edit* editor = openEditor<frmCls1Edit>(window, "cmbGAdd");
        type(editor, "Text1", QStringLiteral("Агрегат"));
        type(editor, "Text2", QStringLiteral("KS"));
        click(editor, "cmbSave");
        auto* combo = window->findChild<QComboBox*>(QStringLiteral("Combo1"));
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemData(1).toLongLong(),
                 rows(QStringLiteral("SELECT Pkey FROM equipment WHERE model='KS'")).integer(0, 0));
        QVERIFY(combo->itemData(0) != combo->itemData(1));
    }
};

QTEST_MAIN(TestTypeEditor)
#include "test_frmCls1Edit.moc"
