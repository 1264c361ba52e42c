// The program's message boxes: title, no icon, the buttons asked for, and
// the answer of the button pressed (or of the escape button).
#include "app/message_box.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using zendrel::Answer;
using zendrel::Buttons;

class MessageBoxTest : public QObject {
  Q_OBJECT

  // Shows a box and answers it with `press` (a button's text, "" for the
  // Escape key, "\n" for Enter), recording what the box looked like.
  Answer Show(const std::string& text, Buttons buttons, const QString& press,
              const std::string& title = zendrel::kProgramTitle) {
    QTimer::singleShot(0, [this, press] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box);
      title_ = box->windowTitle();
      icon_ = box->icon();
      shown_ = box->text();
      format_ = box->textFormat();
      names_.clear();
      for (QAbstractButton* button : box->buttons()) names_ << button->text().remove('&');
      names_.sort();
      if (press.isEmpty() || press == "\n") {
        QTest::keyClick(box, press.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
        return;
      }
      for (QAbstractButton* button : box->buttons()) {
        if (button->text().remove('&') == press) button->click();
      }
    });
    return zendrel::Show_message_box(nullptr, text, buttons, title);
  }

  QString title_, shown_;
  Qt::TextFormat format_ = Qt::AutoText;
  QMessageBox::Icon icon_ = QMessageBox::Warning;
  QStringList names_;

 private slots:
  void okBox() {
    QCOMPARE(Show("Select Catalog File", Buttons::kOk, "OK"), Answer::kOk);
    QCOMPARE(title_, QString("Zendrel"));
    QCOMPARE(icon_, QMessageBox::NoIcon);
    QCOMPARE(shown_, QString("Select Catalog File"));
    QCOMPARE(names_, QStringList{"OK"});
  }

  void retryCancelBox() {
    std::string text =
        "a.txt is currently open by another program.\rPlease close the file and try again.";
    QCOMPARE(Show(text, Buttons::kRetryCancel, "Retry"), Answer::kRetry);
    QCOMPARE(names_, (QStringList{"Cancel", "Retry"}));
    QCOMPARE(shown_, QString("a.txt is currently open by another program.\n"
                             "Please close the file and try again."));
    QCOMPARE(Show(text, Buttons::kRetryCancel, "Cancel"), Answer::kCancel);
    QCOMPARE(Show(text, Buttons::kRetryCancel, ""), Answer::kCancel);
  }

  void yesNoBox() {
    QCOMPARE(Show("Delete this record?", Buttons::kYesNo, "Yes"), Answer::kYes);
    QCOMPARE(names_, (QStringList{"No", "Yes"}));
    QCOMPARE(Show("Delete this record?", Buttons::kYesNo, "No"), Answer::kNo);
    QCOMPARE(Show("Delete this record?", Buttons::kYesNo, ""), Answer::kNo);
    // A question that destroys: Enter alone answers No.
    QCOMPARE(Show("Delete record 12 ?", Buttons::kYesNo, "\n"), Answer::kNo);
  }

  void systemTextIsShownAsItsCharacters() {
    Show("Caf\xE9 \x93quoted\x94", Buttons::kOk, "OK");
    QCOMPARE(shown_, QString::fromUtf8("Caf\u00e9 \u201cquoted\u201d"));
  }

  // The record editor asks through the same boxes under titles of its own;
  // a record's text that looks like markup is shown as it is.
  void editorTitleAndTextShownPlainly() {
    QCOMPARE(Show("<b>Holiday</b> is not a date", Buttons::kOk, "OK", "Date"), Answer::kOk);
    QCOMPARE(title_, QString("Date"));
    QCOMPARE(format_, Qt::PlainText);
    QCOMPARE(shown_, QString("<b>Holiday</b> is not a date"));
  }
};

QTEST_MAIN(MessageBoxTest)
#include "message_box_test.moc"
