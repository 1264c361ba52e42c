// The record editor window, driven as a user would: the number box, the
// steppers, Undo, Update, Delete, Done and closing through the frame.
#include "app/frm_edit_html.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <deque>

#include "layout_check.h"
#include "page/archive_page_reader.h"
#include "platform/output_file.h"
#include "support/archive_page.h"
#include "support/temp_dir.h"

using namespace zendrel;

namespace {

struct Shown {
  std::string text;
  Buttons buttons;
  std::string title;
};

}  // namespace

class FrmEditHtmlTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void opensOnRecordOneWithItsLayout();
  void numberBoxShowsRecordsAndEmptiesOutOfRange();
  void typedNumbersChangeRecordKeyByKey();
  void steppersAtTheEnds();
  void numberBoxKeysStepAndTheCountIsShown();
  void boxesAreNamedByTheirLabels();
  void undoRestoresTheStoredValues();
  void updateStoresAndRefusesBadDates();
  void updateThatCannotWriteKeepsTheEditorOpen();
  void deleteAsksAndShowsTheNextRecord();
  void doneAndTheFrameBothCloseTheEditor();

 private:
  QLineEdit* Box(const char* name) { return editor_->findChild<QLineEdit*>(name); }
  QPushButton* Button(const char* name) { return editor_->findChild<QPushButton*>(name); }
  QString Text(const char* name) { return Box(name)->text(); }
  void Set_number(const QString& text) { Box("RecordNum")->setText(text); }
  RecordTable Reread() {
    RecordTable again;
    Read_archive_page(testing::Root_drives(), Dir(), again);
    return again;
  }
  std::string Dir() const { return temp_->Win() + "\\"; }

  std::unique_ptr<testing::TempDir> temp_;
  std::unique_ptr<QWidget> main_;
  QPointer<FrmEditHtml> editor_;
  std::vector<Shown> shown_;
  std::deque<Answer> answers_;
  std::string page_;
};

void FrmEditHtmlTest::init() {
  temp_ = std::make_unique<testing::TempDir>();
  testing::Write_archive_page(Dir(), testing::Sample_records(5));
  page_ = temp_->Read("archive.htm");
  shown_.clear();
  answers_.clear();
  FrmEditHtml::message_hook_for_testing = [this](const std::string& text, Buttons buttons,
                                                 const std::string& title) {
    shown_.push_back({text, buttons, title});
    if (buttons != Buttons::kYesNo) return Answer::kOk;
    Answer answer = answers_.empty() ? Answer::kNo : answers_.front();
    if (!answers_.empty()) answers_.pop_front();
    return answer;
  };
  main_ = std::make_unique<QWidget>();
  main_->show();
  Show_record_editor(main_.get(), testing::Root_drives(), Reread());
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->objectName() == "frmEdit_Html" && window->isVisible())
      editor_ = qobject_cast<FrmEditHtml*>(window);
  }
  QVERIFY(editor_);
}

void FrmEditHtmlTest::cleanup() {
  Fail_writes_after_bytes_for_testing(-1);
  if (editor_) editor_->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  main_.reset();
  FrmEditHtml::message_hook_for_testing = nullptr;
  temp_.reset();
}

void FrmEditHtmlTest::opensOnRecordOneWithItsLayout() {
  QCOMPARE(editor_->windowTitle(), QString("Edit Image Information"));
  QVERIFY(!main_->isVisible());
  QVERIFY(!editor_->BackupMade());
  QCOMPARE(Text("RecordNum"), QString("1"));
  QCOMPARE(Text("Title"), QString("Title 1"));
  QCOMPARE(Text("PicDate"), QString("December 2, 1999"));
  QCOMPARE(Text("Path"), QString("C:\\Photos\\1"));  // as users write it
  QCOMPARE(Text("Thumb"), QString("_ABC001.jpg"));
  // Every label shown whole, left of the boxes of its row; every control
  // inside the window and clear of the others.
  for (int i = 1; i <= 10; ++i) {
    auto* label = editor_->findChild<QLabel*>(QString("Label%1").arg(i));
    QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
    QVERIFY2(label->height() >= label->sizeHint().height(), qPrintable(label->text()));
    for (QLineEdit* box : editor_->findChildren<QLineEdit*>()) {
      bool same_row = label->geometry().top() <= box->geometry().bottom() &&
                      box->geometry().top() <= label->geometry().bottom();
      if (same_row) QVERIFY2(label->geometry().right() < box->x(), qPrintable(label->text()));
    }
  }
  QStringList problems = Layout_problems(editor_);
  QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
  QVERIFY(editor_->testAttribute(Qt::WA_KeyboardFocusChange));  // Update shows its focus
  QCOMPARE(Button("Up")->font().family(), QString("Symbol"));
  QVERIFY(Box("Path")->palette().color(QPalette::Base) !=
          Box("Title")->palette().color(QPalette::Base));
  QCOMPARE(editor_->focusWidget(), Button("Update"));

  QStringList order;
  QWidget* w = Button("Update");
  do {
    if (w->focusPolicy() & Qt::TabFocus) order << w->objectName();
    w = w->nextInFocusChain();
  } while (w != Button("Update"));
  QCOMPARE(order, QStringList({"Update", "Done", "RecordNum", "Title", "Keyword", "Category",
                               "Comment", "Author", "PicDate", "Undo", "Up", "Down", "Delete"}));
}

void FrmEditHtmlTest::numberBoxShowsRecordsAndEmptiesOutOfRange() {
  // The editor's numbers reach 10,000,000, every record a page can hold.
  for (const char* bad : {"0", "10000001", "-3", "abc", "99999999999999999999"}) {
    Set_number("2");
    Set_number(bad);
    QCOMPARE(Text("RecordNum"), QString());
    QCOMPARE(Text("Title"), QString("Title 2"));  // the boxes keep the record shown before
  }
  Set_number("2.5");
  QCOMPARE(Text("Title"), QString("Title 2"));
  Set_number("3.5");
  QCOMPARE(Text("Title"), QString("Title 4"));
  Set_number("  5abc");
  QCOMPARE(Text("Title"), QString("Title 5"));
  QCOMPARE(Text("RecordNum"), QString("  5abc"));
  Set_number("7");  // past the last record
  for (const char* name :
       {"Title", "Keyword", "Category", "Comment", "Author", "PicDate", "Path", "Source", "Thumb"})
    QCOMPARE(Text(name), QString());
  QVERIFY(shown_.empty());
}

void FrmEditHtmlTest::typedNumbersChangeRecordKeyByKey() {
  QLineEdit* number = Box("RecordNum");
  number->clear();
  QTest::keyClicks(number, "-3");  // the minus sign empties the box at once
  QCOMPARE(number->text(), QString("3"));
  QCOMPARE(Text("Title"), QString("Title 3"));
  number->clear();
  QTest::keyClicks(number, "4");
  QCOMPARE(Text("Title"), QString("Title 4"));
  QTest::keyClicks(number, "0");  // record 40 does not exist
  QCOMPARE(number->text(), QString("40"));
  QCOMPARE(Text("Title"), QString());
}

void FrmEditHtmlTest::steppersAtTheEnds() {
  QTest::mouseClick(Button("Down"), Qt::LeftButton);
  QCOMPARE(Text("RecordNum"), QString());
  QTRY_COMPARE(editor_->focusWidget(), Box("RecordNum"));  // focus back after the click
  QTest::mouseClick(Button("Down"), Qt::LeftButton);       // -1: stays empty
  QCOMPARE(Text("RecordNum"), QString());
  QTest::mouseClick(Button("Up"), Qt::LeftButton);
  QCOMPARE(Text("RecordNum"), QString("1"));
  QCOMPARE(Text("Title"), QString("Title 1"));
  QTRY_COMPARE(editor_->focusWidget(), Box("RecordNum"));
  Set_number("2abc");
  Button("Up")->click();
  QCOMPARE(Text("RecordNum"), QString("3"));
  QCOMPARE(Text("Title"), QString("Title 3"));
  Set_number("10000000");
  QCOMPARE(Text("RecordNum"), QString("10000000"));
  Button("Up")->click();
  QCOMPARE(Text("RecordNum"), QString());
}

void FrmEditHtmlTest::numberBoxKeysStepAndTheCountIsShown() {
  QCOMPARE(editor_->findChild<QLabel*>("RecordCount")->text(), QString("of 5"));
  QCOMPARE(Box("RecordNum")->accessibleDescription(), QString("of 5"));
  struct Press {
    Qt::Key key;
    const char* number;
  } presses[] = {{Qt::Key_Up, "2"},       {Qt::Key_PageUp, "3"}, {Qt::Key_Down, "2"},
                 {Qt::Key_PageDown, "1"}, {Qt::Key_Down, ""},    {Qt::Key_Up, "1"}};
  for (const Press& press : presses) {
    QTest::keyClick(Box("RecordNum"), press.key);
    QCOMPARE(Text("RecordNum"), QString(press.number));
  }
  QCOMPARE(Text("Title"), QString("Title 1"));
  QTest::keyClick(Box("RecordNum"), Qt::Key_Up, Qt::ShiftModifier);  // selects, as ever
  QCOMPARE(Text("RecordNum"), QString("1"));
}

void FrmEditHtmlTest::boxesAreNamedByTheirLabels() {
  const char* boxes[] = {"RecordNum", "Title",   "Keyword", "Category", "Comment",
                         "Author",    "PicDate", "Path",    "Source",   "Thumb"};
  for (int i = 0; i < 10; ++i) {
    auto* label = editor_->findChild<QLabel*>(QString("Label%1").arg(i + 1));
    QCOMPARE(label->buddy(), Box(boxes[i]));
    QCOMPARE(Box(boxes[i])->accessibleName(), label->text());
  }
  // The accepted forms of a date, since the refusal names none.
  QVERIFY(Box("PicDate")->toolTip().contains("December 25, 1999"));
  QCOMPARE(Box("PicDate")->accessibleDescription(), Box("PicDate")->toolTip());
  QCOMPARE(Button("Up")->accessibleName(), QString("Next record"));
}

void FrmEditHtmlTest::undoRestoresTheStoredValues() {
  Set_number("3");
  Box("Title")->setText("typed");
  Box("Author")->setText("typed");
  Button("Undo")->click();
  QCOMPARE(Text("Title"), QString("Title 3"));
  QCOMPARE(Text("Author"), QString("Ann"));
  Set_number("");
  Button("Undo")->click();
  QCOMPARE(Text("Title"), QString());
  QCOMPARE(Text("PicDate"), QString());
  QCOMPARE(Text("Thumb"), QString("_ABC003.jpg"));  // reference boxes untouched
  QCOMPARE(Reread().Record(3).title, std::string("Title 3"));
}

void FrmEditHtmlTest::updateStoresAndRefusesBadDates() {
  Set_number("2");
  Box("Title")->setText(QString::fromUtf8("Caf\xC3\xA9 \"du port\""));
  Box("PicDate")->setText("12/25/1999");
  Button("Update")->click();
  QVERIFY(shown_.empty());
  auto* status = editor_->findChild<QLabel*>("EditStatus");
  QCOMPARE(status->text(), QString("Record 2 updated."));  // said in place, no box
  QCOMPARE(Text("PicDate"), QString("December 25, 1999"));
  QVERIFY(editor_->BackupMade());
  QCOMPARE(temp_->Read("archive_bak.htm"), page_);
  RecordTable again = Reread();
  QCOMPARE(again.Record(2).title, std::string("Caf\xE9 \\x22"
                                              "du port\\x22"));
  QCOMPARE(again.Record(2).picdate, std::string("December 25, 1999"));
  QCOMPARE(again.Record(2).path, std::string("C:\\\\Photos\\\\2"));  // the path as it was
  QCOMPARE(again.Count(), 5);

  std::string page = temp_->Read("archive.htm");
  Box("Title")->setText("not stored");
  Box("PicDate")->setText("2201");
  Button("Update")->click();
  QCOMPARE(shown_.size(), size_t(1));
  QCOMPARE(shown_[0].text, std::string("2201 is not a valid date"));
  QCOMPARE(status->text(), QString());
  QCOMPARE(shown_[0].title, std::string("Zendrel"));
  QVERIFY(shown_[0].buttons == Buttons::kOk);
  QCOMPARE(Text("PicDate"), QString("December 25, 1999"));
  QCOMPARE(Text("Title"), QString("not stored"));
  QCOMPARE(temp_->Read("archive.htm"), page);

  Box("PicDate")->setText("");
  Button("Update")->click();
  QCOMPARE(shown_.back().text, std::string(" is not a valid date"));

  // Enter presses the focused button.
  Box("PicDate")->setText("1999");
  Button("Update")->setFocus();
  QTest::keyClick(Button("Update"), Qt::Key_Return);
  QCOMPARE(Reread().Record(2).picdate, std::string("1999"));
}

void FrmEditHtmlTest::updateThatCannotWriteKeepsTheEditorOpen() {
  Fail_writes_after_bytes_for_testing(100);
  Box("PicDate")->setText("1999");
  Button("Update")->click();
  QCOMPARE(shown_.size(), size_t(1));
  QVERIFY(shown_[0].text.find(": No space left on device") != std::string::npos);
  QVERIFY(editor_ && editor_->isVisible());
  QCOMPARE(temp_->Read("archive.htm"), page_);
}

void FrmEditHtmlTest::deleteAsksAndShowsTheNextRecord() {
  Set_number("");
  Button("Delete")->click();
  QCOMPARE(shown_.back().text, std::string("Invalid record number."));

  Set_number("3");
  answers_ = {Answer::kNo};
  Button("Delete")->click();
  QCOMPARE(shown_.back().text, std::string("Delete record 3 ?"));
  QCOMPARE(shown_.back().title, std::string("Delete!"));
  QVERIFY(shown_.back().buttons == Buttons::kYesNo);
  QCOMPARE(temp_->Read("archive.htm"), page_);

  answers_ = {Answer::kYes};
  Button("Delete")->click();
  QCOMPARE(shown_.back().text, std::string("Please reload the web page."));
  QCOMPARE(Text("RecordNum"), QString("3"));
  QCOMPARE(Text("Title"), QString("Title 4"));
  QCOMPARE(Reread().Count(), 4);
  QCOMPARE(editor_->findChild<QLabel*>("RecordCount")->text(), QString("of 4"));
  QCOMPARE(editor_->findChild<QLabel*>("EditStatus")->text(), QString("Record 3 deleted."));

  Set_number("4");
  answers_ = {Answer::kYes};
  Button("Delete")->click();  // the last record: empty boxes under the same number
  QCOMPARE(Text("RecordNum"), QString("4"));
  QCOMPARE(Text("Title"), QString());
  QCOMPARE(Reread().Count(), 3);
}

void FrmEditHtmlTest::doneAndTheFrameBothCloseTheEditor() {
  editor_->close();  // through the window's frame
  QVERIFY(main_->isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(!editor_);

  Show_record_editor(main_.get(), testing::Root_drives(), Reread());
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->objectName() == "frmEdit_Html" && window->isVisible())
      editor_ = qobject_cast<FrmEditHtml*>(window);
  }
  QVERIFY(editor_);
  QVERIFY(!main_->isVisible());
  Button("Done")->click();
  QVERIFY(main_->isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(!editor_);
}

QTEST_MAIN(FrmEditHtmlTest)
#include "frm_edit_html_test.moc"
