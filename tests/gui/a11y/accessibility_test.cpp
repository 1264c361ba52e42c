// Every window as a screen reader sees it, over the AT-SPI bus: the main
// window after a run that skipped a file, the skipped-files list, the
// copy-originals question and the record editor, with the splash handed
// over. A walker outside the program reads the tree as an assistive tool
// would and lists each control without a name or with a generic role. Run
// by gui/run_under_x.sh and gui/a11y/run_with_atspi.sh.
#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "app/frm_archive.h"
#include "app/frm_copy.h"
#include "app/frm_edit_html.h"
#include "app/frm_splash.h"
#include "page/archive_page_reader.h"
#include "support/archive_page.h"
#include "support/jpeg_fixture.h"
#include "support/temp_dir.h"

using namespace zendrel;

class AccessibilityTest : public QObject {
  Q_OBJECT

 private slots:
  void everyWindowNamesItsControls();
};

void AccessibilityTest::everyWindowNamesItsControls() {
  QVERIFY2(QGuiApplication::platformName() == "xcb", "run through gui/run_under_x.sh");
  testing::TempDir dir;
  dir.Write("src/a.jpg", testing::Small_jpeg());
  dir.Write("src/notes.jpg", "not a picture");
  dir.Make_dir("edit");
  testing::Write_archive_page(dir.Win("edit") + "\\", testing::Sample_records(3));

  FrmSplash splash;
  splash.show();
  QVERIFY(QTest::qWaitForWindowExposed(&splash));
  splash.Hand_over();
  FrmArchive* main = nullptr;
  for (QWidget* window : QApplication::topLevelWidgets())
    if (auto* found = qobject_cast<FrmArchive*>(window)) main = found;
  QVERIFY(main);
  main->findChild<QRadioButton*>("Option3")->click();
  main->Set_src_dir(dir.Win("src"));
  main->Set_dest_dir(dir.Win("src"));  // the source itself: no copy question
  main->findChild<QPushButton*>("Go")->click();
  main->findChild<QPushButton*>("SkippedFiles")->click();

  FrmCopy copy(main);
  copy.show();
  QWidget hidden_owner;  // the editor hides the window that opened it
  RecordTable records;
  QVERIFY(Read_archive_page(testing::Root_drives(), dir.Win("edit") + "\\", records).ok());
  Show_record_editor(&hidden_owner, testing::Root_drives(), std::move(records));

  QProcess walker;
  walker.setProcessChannelMode(QProcess::MergedChannels);
  walker.start("/usr/bin/python3", {ZENDREL_SOURCE_DIR "/tests/gui/a11y/walk_windows.py",
                                    QString::number(QCoreApplication::applicationPid()), "Zendrel",
                                    "Skipped Files", "Copy Originals", "Edit Image Information"});
  // The walker's questions are answered by this program's event loop.
  QVERIFY(QTest::qWaitFor([&] { return walker.state() == QProcess::NotRunning; }, 120000));
  QString report = QString::fromUtf8(walker.readAll());
  QVERIFY2(walker.exitStatus() == QProcess::NormalExit && walker.exitCode() == 0,
           qPrintable(report));

  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->objectName() == "frmEdit_Html") window->close();
  main->close();
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
