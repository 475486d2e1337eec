// Fixed pictures are shown whole in the room their label has.
#include "PictureFit.h"

#include <QLabel>
#include <QPixmap>
#include <QtTest>

class TestPictureFit : public QObject
{
    Q_OBJECT

private slots:
    void fittedSize_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("room");
        QTest::addColumn<QSize>("expected");

        QTest::newRow("portrait into a low header") << QSize(200, 300) << QSize(300, 90) << QSize(60, 90);
        QTest::newRow("logo into a narrower box") << QSize(240, 90) << QSize(220, 90) << QSize(220, 82);
        // 298 high leaves 198.7 of width, cut to whole pixels.
        QTest::newRow("portrait into a side panel") << QSize(200, 300) << QSize(198, 298) << QSize(198, 298);
        QTest::newRow("small picture is not enlarged") << QSize(120, 80) << QSize(400, 300) << QSize(120, 80);
        QTest::newRow("exact fit") << QSize(240, 90) << QSize(240, 90) << QSize(240, 90);
        QTest::newRow("empty picture") << QSize(0, 0) << QSize(200, 200) << QSize(0, 0);
        QTest::newRow("no room") << QSize(200, 300) << QSize(0, 90) << QSize(0, 0);
    }
    void fittedSize()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, room);
        QFETCH(QSize, expected);
        QCOMPARE(PictureFit::fitted(picture, room), expected);
    }
    void labelShowsTheWholePicture()
    {
        QLabel label;
        label.setFrameShape(QFrame::Box);
        label.setLineWidth(1);
        label.setMaximumSize(202, 92);
        label.setScaledContents(true);
        QPixmap portrait(200, 300);
        portrait.fill(Qt::blue);

        PictureFit::show(&label, portrait);

        // 90 pixels of height are left inside the frame: the portrait keeps 2:3.
        QCOMPARE(label.pixmap().deviceIndependentSize().toSize(), QSize(60, 90));
        QVERIFY(!label.hasScaledContents());
        QCOMPARE(label.alignment(), Qt::AlignCenter);
    }
    void nullPictureKeepsWhatWasShown()
    {
        QLabel label;
        label.setMaximumSize(100, 100);
        QPixmap shown(50, 40);
        shown.fill(Qt::red);
        label.setPixmap(shown);

        PictureFit::show(&label, QStringLiteral(":/images/no-such-picture.jpg"));

        QCOMPARE(label.pixmap().size(), QSize(50, 40));
    }
};

QTEST_MAIN(TestPictureFit)
#include "test_picturefit.moc"
