// Equipment pictures that are absent, empty, not a JPEG, a folder, or a JPEG
// declaring 20000 x 20000 pixels: the equipment screen shows the placeholder,
// the report leaves the picture out, and nothing crashes.
#include "EquipmentChoice.h"
#include "ReportOutput.h"
#include "WizardFixture.h"
#include "frmStage4.h"

#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QtTest>

namespace {

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray smallJpeg()
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

// A small JPEG whose frame header claims 20000 x 20000 pixels.
QByteArray hugeJpeg()
{
    QByteArray bytes = smallJpeg();
    const qsizetype frame = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    if (frame < 0)
        return {};
    // Marker, length (2), precision (1), then height and width (2 each).
    for (qsizetype at : {frame + 5, frame + 7}) {
        bytes[at] = char(20000 >> 8);
        bytes[at + 1] = char(20000 & 0xff);
    }
    return bytes;
}

// Images drawn into a PDF, counted by their object dictionaries.
int imagesIn(const QString& pdf)
{
    QFile file(pdf);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return int(file.readAll().count("/Subtype /Image"));
}

} // namespace

class TestDamagedPictures : public WizardTest
{
    Q_OBJECT

    void prepare() override { f->context.location = DataLocation::folder(m_pictures.path()); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_pictures.isValid());
        const QDir dir(m_pictures.path());
        QVERIFY(writeFile(dir.filePath(QStringLiteral("netyti.jpg")), smallJpeg()));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("good.jpg")), smallJpeg()));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("zero.jpg")), {}));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("text.jpg")), "Это не картинка, а текст.\n"));
        const QByteArray huge = hugeJpeg();
        QVERIFY(!huge.isEmpty());
        QVERIFY(writeFile(dir.filePath(QStringLiteral("huge.jpg")), huge));
        QVERIFY(dir.mkdir(QStringLiteral("folder.jpg")));
    }
    void placeholderAndReport_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::newRow("absent") << "absent.jpg";
        QTest::newRow("zero bytes") << "zero.jpg";
        QTest::newRow("text named .jpg") << "text.jpg";
        QTest::newRow("20000 x 20000 JPEG") << "huge.jpg";
        QTest::newRow("a folder") << "folder.jpg";
    }
    void placeholderAndReport()
    {
        QFETCH(QString, picture);
        QVERIFY(f->reference(
            QStringLiteral("INSERT INTO equipment (Pkey, text_ru, model, picture, scheme) VALUES "
                           "(1, 'Без картинок', 'KM', '', ''), "
                           "(2, 'Целые картинки', 'KM', 'good.jpg', 'good.jpg'), "
                           "(3, 'Повреждённые', 'KM', '%1', '%1')")
                .arg(picture)));
        f->record.xk_temperature = -18;
        f->record.xo_type1 = 3;
        f->wizard->enterStage4();
        auto* screen = qobject_cast<frmStage4*>(f->screen());
        QVERIFY(screen);
        QCOMPARE(f->record.xo_picture, picture);
        QCOMPARE(screen->shownPicture(), QStringLiteral("netyti.jpg"));
        QVERIFY(!f->control<QLabel>(QStringLiteral("Image1"))->pixmap().isNull());

        // The report: the damaged pictures are left out, as if the type had none.
        const QString damaged = report(QStringLiteral("повреждённые"));
        QVERIFY(!damaged.isEmpty());
        f->record.xo_type1 = 1;
        const int none = imagesIn(report(QStringLiteral("без картинок")));
        f->record.xo_type1 = 2;
        const int good = imagesIn(report(QStringLiteral("целые")));
        QVERIFY(none >= 0);
        QCOMPARE(good, none + 2); // the check itself sees pictures
        QCOMPARE(imagesIn(damaged), none);
        QVERIFY(f->messages.shown().isEmpty());
    }

private:
    QString report(const QString& name)
    {
        f->record.contact_organization = name;
        return ReportOutput::WritePdf(f->context, f->record, QDate(2024, 3, 5),
                                      m_pictures.filePath(QStringLiteral("reports")));
    }

    QTemporaryDir m_pictures;
};

QTEST_MAIN(TestDamagedPictures)
#include "test_damagedpictures.moc"
