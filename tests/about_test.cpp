#include "aboutwindow.h"
#include "centerform.h"
#include "version.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

class AboutTest : public QObject
{
    Q_OBJECT

private slots:
    void versionTextPadsMinorAndRevision_data();
    void versionTextPadsMinorAndRevision();
    void centredPositionRoundsHalvesToEven_data();
    void centredPositionRoundsHalvesToEven();
    void aboutWindowShowsVersionAndCredit();
    void showAboutBoxCentresAndDiscardsTheWindow();
};

void AboutTest::versionTextPadsMinorAndRevision_data()
{
    QTest::addColumn<QList<int>>("version");
    QTest::addColumn<QString>("text");
    QTest::newRow("release") << QList<int>{1, 0, 0} << "1.00.0000";
    QTest::newRow("padded") << QList<int>{1, 5, 12} << "1.05.0012";
    QTest::newRow("wide") << QList<int>{12, 345, 67890} << "12.345.67890";
}

void AboutTest::versionTextPadsMinorAndRevision()
{
    QFETCH(QList<int>, version);
    QFETCH(QString, text);
    QCOMPARE(versionText(version[0], version[1], version[2]), text);
}

void AboutTest::centredPositionRoundsHalvesToEven_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QPoint>("position");
    QTest::newRow("half as wide: a quarter in")
        << QSize(19200, 14400) << QSize(9600, 7200) << QPoint(4800, 3600);
    QTest::newRow("as wide as the screen")
        << QSize(19200, 14400) << QSize(19200, 14400) << QPoint(0, 0);
    // 4500.5 -> 4500 and 4501.5 -> 4502; 6.5 -> 6 and 7.5 -> 8.
    QTest::newRow("halves to even") << QSize(9001, 15) << QSize(0, 0) << QPoint(4500, 8);
    QTest::newRow("window halves") << QSize(9003, 13) << QSize(1, 3) << QPoint(4502, 4);
    QTest::newRow("clamped to 16 bits")
        << QSize(200000, 10) << QSize(0, 200000) << QPoint(32767, -32768);
}

void AboutTest::centredPositionRoundsHalvesToEven()
{
    QFETCH(QSize, screen);
    QFETCH(QSize, window);
    QFETCH(QPoint, position);
    QCOMPARE(centredPosition(screen, window), position);
}

void AboutTest::aboutWindowShowsVersionAndCredit()
{
    AboutWindow about;
    QCOMPARE(about.objectName(), "frmAbout");
    QCOMPARE(about.windowTitle(), "About Norvale Quillet Monitor File Handler");
    QVERIFY(about.isModal());
    QCOMPARE(about.size(), QSize(300, 109)); // 4500 x 1635 twips at 96 DPI
    QCOMPARE(about.minimumSize(), about.maximumSize());

    const auto *info0 = about.findChild<QLabel *>("lblInfo0");
    const auto *info1 = about.findChild<QLabel *>("lblInfo1");
    QVERIFY(info0 && info1);
    QCOMPARE(info0->text(), "Norvale Quillet Monitor File Handler Version 1.00.0000");
    QVERIFY(info1->text().startsWith("Spell checking by Hunspell"));
    QCOMPARE(info1->geometry(), QRect(11, 53, 213, 47));
    QVERIFY(about.okButton()->isDefault());
    QCOMPARE(about.okButton()->geometry(), QRect(233, 14, 58, 23));
}

void AboutTest::showAboutBoxCentresAndDiscardsTheWindow()
{
    QWidget parent;
    QPoint shownAt;
    QTimer::singleShot(0, [&] {
        if (auto *about = parent.findChild<AboutWindow *>(); about && about->isVisible()) {
            shownAt = about->pos();
            QTest::keyClick(about, Qt::Key_Return); // the default button
        }
    });
    ShowAboutBox(&parent);
    const QSize screen = QApplication::primaryScreen()->size();
    QCOMPARE(shownAt, QPoint((screen.width() - 300) / 2, (screen.height() - 109) / 2));
    QVERIFY(parent.findChildren<AboutWindow *>().isEmpty());

    // Over a form on the screen: in the middle of the form.
    parent.setGeometry(100, 60, 700, 500);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QTimer::singleShot(0, [&] {
        if (auto *about = parent.findChild<AboutWindow *>(); about && about->isVisible()) {
            shownAt = about->pos();
            QTest::keyClick(about, Qt::Key_Return);
        }
    });
    ShowAboutBox(&parent);
    QCOMPARE(shownAt, QPoint(100 + (700 - 300) / 2, 60 + (500 - 109) / 2));
}

QTEST_MAIN(AboutTest)
#include "about_test.moc"
