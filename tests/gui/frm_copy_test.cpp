// The copy-originals question: its default, its three answers, Cancel and a
// close through the frame, and that each opening starts from the default.
#include "app/frm_copy.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "app/frm_archive.h"
#include "support/temp_dir.h"

using zendrel::FrmCopy;

class FrmCopyTest : public QObject {
  Q_OBJECT

  static void Click(FrmCopy& dialog, const char* name) {
    dialog.findChild<QAbstractButton*>(name)->click();
  }

 private slots:
  void captionsAndDefault() {
    FrmCopy dialog;
    QCOMPARE(dialog.windowTitle(), QString("Copy Originals"));
    QVERIFY(dialog.isModal());
    QCOMPARE(dialog.findChild<QWidget*>("Label1")->property("text").toString(),
             QString("Copy original image files to destination directory?"));
    QCOMPARE(dialog.findChild<QRadioButton*>("Option0")->text(), QString("No"));
    QCOMPARE(dialog.findChild<QRadioButton*>("Option1")->text(),
             QString("Yes, Retain original file names"));
    QVERIFY(dialog.findChild<QRadioButton*>("Option2")->isChecked());
    QCOMPARE(dialog.findChild<QWidget*>("Frame1")->accessibleName(),
             QString("Copy original image files to destination directory?"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    // The focus on the option that is on: Space does not change the answer.
    QCOMPARE(QApplication::focusWidget(), dialog.findChild<QRadioButton*>("Option2"));
    Click(dialog, "OK");
    QVERIFY(dialog.Copy_mode() == zendrel::CopyMode::kUniqueNames);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
  }

  void answers_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("mode");
    QTest::newRow("no") << "Option0"
                        << "OK" << 0;
    QTest::newRow("keep names") << "Option1"
                                << "OK" << 1;
    QTest::newRow("unique names") << "Option2"
                                  << "OK" << 2;
    QTest::newRow("cancel") << "Option1"
                            << "Cancel" << -1;
  }

  void answers() {
    QFETCH(QString, option);
    QFETCH(QString, button);
    QFETCH(int, mode);
    FrmCopy dialog;
    dialog.show();
    Click(dialog, option.toLatin1());
    Click(dialog, button.toLatin1());
    QCOMPARE(int(dialog.Copy_mode()), mode);
    QVERIFY(!dialog.isVisible());
  }

  void closingTheFrameIsCancel() {
    FrmCopy dialog;
    dialog.show();
    Click(dialog, "Option0");
    dialog.close();
    QVERIFY(dialog.Copy_mode() == zendrel::CopyMode::kCancelled);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
  }

  // Through the main window: the answer lands in CopyMode, and the second
  // question opens with the rename option on again.
  void eachQuestionStartsFromTheDefault() {
    zendrel::FrmArchive window(zendrel::testing::Root_drives());
    QTimer::singleShot(0, [] {
      auto* dialog = qobject_cast<FrmCopy*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      Click(*dialog, "Option1");
      Click(*dialog, "OK");
    });
    window.Ask_copy_originals();
    QVERIFY(window.Copy_mode() == zendrel::CopyMode::kKeepNames);

    bool default_on = false;
    QTimer::singleShot(0, [&default_on] {
      auto* dialog = qobject_cast<FrmCopy*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      default_on = dialog->findChild<QRadioButton*>("Option2")->isChecked();
      dialog->close();
    });
    window.Ask_copy_originals();
    QVERIFY(default_on);
    QVERIFY(window.Copy_mode() == zendrel::CopyMode::kCancelled);
  }
};

QTEST_MAIN(FrmCopyTest)
#include "frm_copy_test.moc"
