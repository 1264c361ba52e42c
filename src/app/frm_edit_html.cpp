#include "app/frm_edit_html.h"

#include <QCloseEvent>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "app/enter_key.h"
#include "app/message_box.h"
#include "app/window_frame.h"
#include "app/window_roles.h"
#include "edit/path_box.h"
#include "edit/record_number.h"
#include "edit/record_update.h"
#include "platform/codepage.h"

namespace zendrel {
namespace {

// The window is laid out in twips, 15 to a pixel.
int Px(int twips) { return twips / 15; }

QString To_box(const std::string& text) {
  return QString::fromStdString(System_text_to_utf8(text));
}

std::string From_box(const QLineEdit* box) {
  return Utf8_to_system_text(box->text().toStdString());
}

class WindowPrompts : public EditorPrompts {
 public:
  explicit WindowPrompts(QWidget* parent) : parent_(parent) {}

  Answer Ask(const std::string& text, Buttons buttons, const std::string& title) override {
    if (FrmEditHtml::message_hook_for_testing)
      return FrmEditHtml::message_hook_for_testing(text, buttons, title);
    return Show_message_box(parent_, text, buttons, title);
  }

 private:
  QWidget* parent_;
};

}  // namespace

FrmEditHtml::MessageHook FrmEditHtml::message_hook_for_testing;

void Show_record_editor(QWidget* main_window, const DriveTable& drives, RecordTable records) {
  auto* editor = new FrmEditHtml(main_window, drives, std::move(records));
  editor->findChild<QLineEdit*>("RecordNum")->setText("1");
  editor->show();
  editor->activateWindow();
  editor->findChild<QPushButton*>("Update")->setFocus(Qt::TabFocusReason);
  // The focus starts on Update; its frame is shown at once, not only after
  // a first key (showing the window forgets the mark, so it comes after).
  editor->setAttribute(Qt::WA_KeyboardFocusChange);
}

FrmEditHtml::FrmEditHtml(QWidget* main_window, const DriveTable& drives, RecordTable records)
    : QWidget(nullptr),
      main_window_(main_window),
      records_(std::move(records)),
      session_(drives, records_) {
  setObjectName("frmEdit_Html");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle("Edit Image Information");
  Give_windows_their_roles();
  Without_maximise_button(this);
  Build_controls();
  Fit_labels();
  Build_status_strip();
  Enter_presses_focused_button(this);
  Form_Load();
}

void FrmEditHtml::Form_Load() {
  if (main_window_) {
    main_window_place_ = main_window_->frameGeometry().topLeft();
    main_window_->hide();
  }
  session_.backup_made = false;
}

QLineEdit* FrmEditHtml::Box(const char* name, const char* placeholder, int top, int width) {
  auto* box = new QLineEdit(placeholder, this);
  box->setObjectName(name);
  box->setGeometry(Px(960), Px(top), Px(width), Px(375));
  return box;
}

void FrmEditHtml::Label(int number, const char* text, QLineEdit* box) {
  auto* label = new QLabel(text, this);
  label->setObjectName(QString("Label%1").arg(number));
  label->setGeometry(Px(60), box->y() + Px(120), Px(855 - 60), Px(255));
  // A screen reader names the box by its label.
  label->setBuddy(box);
  box->setAccessibleName(text);
}

QPushButton* FrmEditHtml::Button(const char* name, const char* caption, int left, int top,
                                 int width, int height) {
  auto* button = new QPushButton(caption, this);
  button->setObjectName(name);
  button->setGeometry(Px(left), Px(top), Px(width), Px(height));
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

void FrmEditHtml::Build_controls() {
  record_num_ = Box("RecordNum", "Record", 120, 735);
  title_ = Box("Title", "Title", 600);
  keyword_ = Box("Keyword", "Keywords", 1080);
  category_ = Box("Category", "Category", 1560);
  comment_ = Box("Comment", "Comment", 2040);
  author_ = Box("Author", "Author", 2520);
  pic_date_ = Box("PicDate", "Date", 3000);
  path_ = Box("Path", "Path", 3480);
  source_ = Box("Source", "Source File", 3960);
  thumb_ = Box("Thumb", "Thumb File", 4440, 2775);
  const char* labels[] = {"Number", "Title", "Keywords", "Categories",  "Comment",
                          "Author", "Date",  "Path",     "Source File", "Thumb File"};
  QLineEdit* boxes[] = {record_num_, title_,    keyword_, category_, comment_,
                        author_,     pic_date_, path_,    source_,   thumb_};
  for (int i = 0; i < 10; ++i) Label(i + 1, labels[i], boxes[i]);
  record_num_->installEventFilter(this);
  // The refusal " is not a valid date" names no form; the box does.
  const char* forms =
      "A full date (December 25, 1999, 25 December 1999 or 12/25/1999), a month and year "
      "(December 1999) or a year (1999)";
  pic_date_->setToolTip(forms);
  pic_date_->setAccessibleDescription(forms);

  // The reference boxes only show where the picture came from: they stand
  // out in the 3-D highlight colour, and nothing typed there is ever kept.
  for (QLineEdit* reference : {path_, source_, thumb_}) {
    QPalette palette = reference->palette();
    QColor highlight = palette.color(QPalette::Light);
    // Styles whose highlight is the window colour itself take the 3-D face.
    if (highlight == palette.color(QPalette::Base)) highlight = palette.color(QPalette::Button);
    palette.setColor(QPalette::Base, highlight);
    reference->setPalette(palette);
    reference->setReadOnly(true);
    reference->setFocusPolicy(Qt::ClickFocus);
  }

  up_ = Button("Up", "+", 1680, 120, 255, 195);
  down_ = Button("Down", "-", 1680, 300, 255, 195);
  up_->setAccessibleName("Next record");
  down_->setAccessibleName("Previous record");
  for (QPushButton* step : {up_, down_}) {
    step->setFont(QFont("Symbol", 12));
    step->installEventFilter(this);
  }
  update_ = Button("Update", "Update", 2040, 120, 855, 375);
  undo_ = Button("Undo", "Undo", 3000, 120, 855, 375);
  done_ = Button("Done", "Done", 3960, 120, 855, 375);
  delete_ = Button("Delete", "Delete", 3840, 4440, 975, 375);

  QWidget* order[] = {update_, done_,     record_num_, title_, keyword_, category_, comment_,
                      author_, pic_date_, undo_,       up_,    down_,    delete_};
  for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

  connect(record_num_, &QLineEdit::textChanged, this, [this] { RecordNum_Change(); });
  connect(up_, &QPushButton::clicked, this, [this] { Up_Click(); });
  connect(down_, &QPushButton::clicked, this, [this] { Down_Click(); });
  connect(undo_, &QPushButton::clicked, this, [this] { Undo_Click(); });
  connect(done_, &QPushButton::clicked, this, [this] { Done_Click(); });
  connect(update_, &QPushButton::clicked, this, [this] { Update_Click(); });
  connect(delete_, &QPushButton::clicked, this, [this] { Delete_Click(); });
}

// Below the design's last row: how many records there are, and what the
// last Update or Delete did, said in place rather than in a message box.
void FrmEditHtml::Build_status_strip() {
  record_count_ = new QLabel(this);
  record_count_->setObjectName("RecordCount");
  record_count_->setGeometry(record_num_->x(), Px(4905), update_->x() - record_num_->x(), Px(300));
  edit_status_ = new QLabel(this);
  edit_status_->setObjectName("EditStatus");
  edit_status_->setAccessibleName("Status");
  edit_status_->setTextFormat(Qt::PlainText);
  edit_status_->setGeometry(update_->x(), Px(4905), done_->geometry().right() - update_->x(),
                            Px(300));
  Show_count();
}

void FrmEditHtml::Show_count() {
  QString count = QString("of %1").arg(session_.table.Count());
  record_count_->setText(count);
  record_num_->setAccessibleDescription(count);
}

// The labels' column is as wide as the window's design gives it unless a
// label needs more in the font in use; then the controls move right and the
// window grows by just that much.
void FrmEditHtml::Fit_labels() {
  QList<QLabel*> labels = findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
  int wider = 0;
  for (QLabel* label : labels) wider = std::max(wider, label->sizeHint().width() - label->width());
  for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (qobject_cast<QLabel*>(child))
      child->resize(child->width() + wider, std::max(child->height(), child->sizeHint().height()));
    else
      child->move(child->x() + wider, child->y());
  }
  setFixedSize(Px(4980) + wider, Px(4965 + 300));
}

int FrmEditHtml::Current_number() const {
  long long n = Record_number_value(From_box(record_num_));
  return n >= 1 && n <= kHighestRecordNumber ? int(n) : 0;
}

void FrmEditHtml::RecordNum_Change() {
  long long n = Record_number_value(From_box(record_num_));
  if (n < 1 || n > kHighestRecordNumber) {
    if (!record_num_->text().isEmpty()) record_num_->setText("");
    return;
  }
  const RecordTable& table = session_.table;
  int record = int(n);
  Show_editable(record);
  const ArchiveRecord& r = table.Record(record);
  path_->setText(To_box(Path_for_box(r.path)));
  source_->setText(To_box(r.source));
  thumb_->setText(To_box(r.thumb));
}

void FrmEditHtml::Show_editable(int record) {
  const RecordTable& table = session_.table;
  const ArchiveRecord& r = table.Record(record);
  title_->setText(To_box(r.title));
  keyword_->setText(To_box(r.subject));
  category_->setText(To_box(r.category));
  comment_->setText(To_box(r.comment));
  author_->setText(To_box(r.author));
  pic_date_->setText(To_box(r.picdate));
}

void FrmEditHtml::Up_Click() {
  long long n = Record_number_value(From_box(record_num_)) + 1;
  record_num_->setText(QString::number(n));
}

void FrmEditHtml::Down_Click() {
  long long n = Record_number_value(From_box(record_num_)) - 1;
  record_num_->setText(QString::number(n));
}

bool FrmEditHtml::eventFilter(QObject* watched, QEvent* event) {
  // The keys of a number box step through the records as "+" and "-" do.
  if (watched == record_num_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~Qt::KeypadModifier) return QWidget::eventFilter(watched, event);
    switch (key->key()) {
      case Qt::Key_Up:
      case Qt::Key_PageUp:
        Up_Click();
        return true;
      case Qt::Key_Down:
      case Qt::Key_PageDown:
        Down_Click();
        return true;
      default:
        break;
    }
  }
  // After a click on a step button typing goes on in the number box. The
  // focus moves once the release has made its click: a button that loses
  // the focus while still down lets go without clicking.
  if ((watched == up_ || watched == down_) && event->type() == QEvent::MouseButtonRelease)
    QTimer::singleShot(0, record_num_,
                       [box = record_num_] { box->setFocus(Qt::MouseFocusReason); });
  return QWidget::eventFilter(watched, event);
}

void FrmEditHtml::Undo_Click() { Show_editable(Current_number()); }

void FrmEditHtml::Done_Click() {
  RecordTable& table = session_.table;
  close();  // deletes this window
  table.Clear();
}

void FrmEditHtml::closeEvent(QCloseEvent* event) {
  Form_Unload();
  QWidget::closeEvent(event);
}

void FrmEditHtml::Form_Unload() {
  if (!main_window_) return;
  main_window_->show();
  // Shown again, a window is placed anew by the window manager, which on X
  // shifts it by its own frame: it is put back, by its frame, where the user
  // left it, once the frame is known.
  auto tries = std::make_shared<int>(20);
  auto* again = new QTimer(main_window_);
  again->setInterval(25);
  QPointer<QWidget> main = main_window_;
  QPoint place = main_window_place_;
  QObject::connect(again, &QTimer::timeout, again, [again, main, place, tries] {
    if (main && main->frameGeometry().topLeft() != place) main->move(place);
    if (!main || --*tries == 0) again->deleteLater();
  });
  again->start();
}

void FrmEditHtml::Update_Click() {
  int n = Current_number();
  EditableFields boxes{From_box(title_),   From_box(keyword_), From_box(category_),
                       From_box(comment_), From_box(author_),  From_box(pic_date_)};
  // The Path box shows the directory with single backslashes; the record
  // keeps the page's form, unchanged byte for byte unless the box was.
  if (ArchiveRecord* r = n >= 1 ? session_.table.Change(n) : nullptr)
    r->path = Path_from_box(From_box(path_), r->path);
  WindowPrompts prompts(this);
  edit_status_->clear();
  EditResult result = Update_record(session_, n, boxes, prompts);
  pic_date_->setText(To_box(session_.table.Record(n).picdate));
  if (result == EditResult::kDone && n >= 1)
    edit_status_->setText(QString("Record %1 updated.").arg(n));
  Show_count();
}

void FrmEditHtml::Delete_Click() {
  WindowPrompts prompts(this);
  edit_status_->clear();
  int n = Current_number();
  EditResult result = Delete_record(session_, n, prompts);
  if (result == EditResult::kDone) edit_status_->setText(QString("Record %1 deleted.").arg(n));
  if (result == EditResult::kDone || result == EditResult::kWriteFailed) RecordNum_Change();
  Show_count();
}

}  // namespace zendrel
