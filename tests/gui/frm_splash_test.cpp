// The splash window: what it shows, and that it hands over to the main
// window on a character key, a click on the frame or the logo and its
// timer, but not on a click on a label.
#include "app/frm_splash.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "app/frm_archive.h"
#include "layout_check.h"
#include "platform/file_system.h"
#include "version.h"

using zendrel::FrmArchive;
using zendrel::FrmSplash;

class FrmSplashTest : public QObject {
  Q_OBJECT

  // Checks the hand-over and closes the main window it showed.
  static void Verify_handed_over(FrmSplash& splash, QSignalSpy& shown) {
    QVERIFY(splash.Handed_over());
    QVERIFY(!splash.isVisible());
    QCOMPARE(shown.count(), 1);
    auto* main = shown.at(0).at(0).value<FrmArchive*>();
    QVERIFY(main->isVisible());
    QCOMPARE(main->windowTitle(), QString("Zendrel"));
    main->close();  // deletes itself
  }

 private slots:
  void showsItsLinesAndLoadsTheMainWindowHidden() {
    std::filesystem::current_path("/");
    FrmSplash splash;
    QCOMPARE(std::filesystem::current_path().string(), zendrel::Program_directory_native());
    auto text = [&](const char* name) { return splash.findChild<QLabel*>(name)->text(); };
    QCOMPARE(text("lblProductName"), QString("Zendrel"));
    QCOMPARE(text("lblVersion"), QString("Version %1.%2.%3")
                                     .arg(ZENDREL_VERSION_MAJOR)
                                     .arg(ZENDREL_VERSION_MINOR)
                                     .arg(ZENDREL_VERSION_PATCH));
#ifdef __linux__
    QCOMPARE(text("lblPlatform"), QString("for Linux"));
#endif
    QCOMPARE(text("lblWarning"),
             QString("This software is based in part on the work of the Independent JPEG Group."));
    QVERIFY(!text("lblCopyright").isEmpty());
    auto* logo = splash.findChild<QLabel*>("imgLogo");
    QCOMPARE(logo->pixmap().size(), QSize(241, 166));
    // The logo shown whole in its frame, the frame in the window.
    QWidget* frame = splash.findChild<QWidget*>("Frame1");
    QVERIFY(frame->rect().contains(logo->geometry()));
    QVERIFY(splash.rect().contains(frame->geometry()));
    QStringList problems = Layout_problems(&splash);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    QVERIFY(splash.Main_window());
    QVERIFY(!splash.Main_window()->isVisible());
  }

  void characterKeyHandsOver() {
    FrmSplash splash;
    QSignalSpy shown(&splash, &FrmSplash::Main_window_shown);
    splash.show();
    QTest::keyClick(&splash, Qt::Key_Shift);  // gives no character
    QVERIFY(!splash.Handed_over());
    QTest::keyClick(&splash, Qt::Key_A);
    Verify_handed_over(splash, shown);
  }

  void logoAndFrameClicksHandOverLabelClicksDoNot() {
    {
      FrmSplash splash;
      QSignalSpy shown(&splash, &FrmSplash::Main_window_shown);
      splash.show();
      for (const char* name : {"lblProductName", "lblPlatform", "lblVersion", "lblWarning"}) {
        QTest::mouseClick(splash.findChild<QLabel*>(name), Qt::LeftButton);
      }
      QVERIFY(!splash.Handed_over());
      QTest::mouseClick(splash.findChild<QLabel*>("imgLogo"), Qt::LeftButton);
      Verify_handed_over(splash, shown);
    }
    FrmSplash splash;
    QSignalSpy shown(&splash, &FrmSplash::Main_window_shown);
    splash.show();
    QTest::mouseClick(splash.findChild<QWidget*>("Frame1"), Qt::LeftButton, {}, QPoint(8, 120));
    Verify_handed_over(splash, shown);
  }

  void timerHandsOver() {
    FrmSplash splash;
    QSignalSpy shown(&splash, &FrmSplash::Main_window_shown);
    splash.show();
    auto* timer = splash.findChild<QTimer*>("Timer1");
    QCOMPARE(timer->interval(), 6000);
    QVERIFY(timer->isActive());
    timer->setInterval(20);  // the test does not wait six seconds
    QTRY_VERIFY(splash.Handed_over());
    QVERIFY(!timer->isActive());
    Verify_handed_over(splash, shown);
  }
};

QTEST_MAIN(FrmSplashTest)
#include "frm_splash_test.moc"
