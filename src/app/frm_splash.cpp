#include "app/frm_splash.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "app/frm_archive.h"
#include "app/splash_logo.h"
#include "app/window_roles.h"
#include "platform/file_system.h"
#include "version.h"

namespace zendrel {
namespace {

// Positions are laid out in twips, 15 to the pixel.
int Rounded_px(int twips) { return (twips + 7) / 15; }
QRect Rounded_px(QRect twips) {
  return QRect(Rounded_px(twips.x()), Rounded_px(twips.y()), Rounded_px(twips.width()),
               Rounded_px(twips.height()));
}

QFont Arial(double points, bool bold) {
  QFont font;
  // Liberation Sans and Arimo have Arial's metrics, where Arial is missing.
  font.setFamilies({"Arial", "Liberation Sans", "Arimo"});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(int(std::lround(points * 96.0 / 72.0)));  // 15 twips a pixel is 96 dpi
  font.setBold(bold);
  return font;
}

// Widens a wrapping label about its centre, within the frame, until its
// text takes two lines.
void Fit_two_lines(QLabel* label) {
  QRect area = label->geometry();
  int room = label->parentWidget()->width() - 8;
  int two_lines = 2 * label->fontMetrics().lineSpacing();
  while (label->heightForWidth(area.width()) > two_lines && area.width() + 2 <= room) {
    area.adjust(-1, 0, 1, 0);
  }
  area.setHeight(std::max(area.height(), two_lines + 2));
  label->setGeometry(area);
}

}  // namespace

QString Platform_line() {
#if defined(_WIN32)
  return "for Windows";
#elif defined(__APPLE__)
  return "for macOS";
#elif defined(__linux__)
  return "for Linux";
#elif defined(__FreeBSD__)
  return "for FreeBSD";
#else
  return "for Unix";
#endif
}

// An ordinary frameless window rather than a splash-screen one: window
// managers give splash screens no keyboard focus, and a key must hand over.
FrmSplash::FrmSplash(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
  setObjectName("frmSplash");
  setAccessibleName("Zendrel");  // it has no caption
  Give_windows_their_roles();
  setFocusPolicy(Qt::StrongFocus);
  setFixedSize(Rounded_px(4245), Rounded_px(5295));
  setAutoFillBackground(true);

  frame_ = new QFrame(this);
  frame_->setObjectName("Frame1");
  frame_->setFrameStyle(QFrame::Box | QFrame::Sunken);
  frame_->setGeometry(Rounded_px(QRect(150, 60, 3945, 5115)));
  frame_->installEventFilter(this);

  Add_label("lblProductName", {360, 240, 3225, 555}, 24, true)->setText("Zendrel");
  Add_label("lblPlatform", {990, 790, 2535, 330}, 14.25, true)->setText(Platform_line());
  Add_label("lblVersion", {2725, 1200, 720, 240}, 9.75, true)->setText("Version");
  Add_label("lblCopyright", {1320, 1560, 2175, 255}, 8.25, false)
      ->setText(QString::fromUtf8("\u00A9 2026 the Zendrel developers"));
  QLabel* warning = Add_label("lblWarning", {555, 4575, 2775, 435}, 8.25, false);
  warning->setText("This software is based in part on the work of the Independent JPEG Group.");
  warning->setWordWrap(true);
  warning->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  Fit_two_lines(warning);
  Add_label("lblCompany", {4560, 3270, 2415, 255}, 8.25, false);

  logo_ = new QLabel(frame_);
  logo_->setObjectName("imgLogo");
  logo_->setGeometry(Rounded_px(QRect(225, 2160, 3480, 2370)));
  logo_->setPixmap(QPixmap::fromImage(Draw_splash_logo()));
  logo_->setScaledContents(true);
  logo_->installEventFilter(this);

  timer_ = new QTimer(this);
  timer_->setObjectName("Timer1");
  connect(timer_, &QTimer::timeout, this, &FrmSplash::Hand_over);

  Form_Load();
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

FrmSplash::~FrmSplash() = default;

QLabel* FrmSplash::Add_label(const char* name, QRect twips, double points, bool bold) {
  auto* label = new QLabel(frame_);
  label->setObjectName(name);
  label->setFont(Arial(points, bold));
  label->setGeometry(Rounded_px(twips));
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  // A click on a label is its own, not the frame's.
  label->installEventFilter(this);
  return label;
}

void FrmSplash::Form_Load() {
  auto* version = findChild<QLabel*>("lblVersion");
  version->setText(QString("Version %1.%2.%3")
                       .arg(ZENDREL_VERSION_MAJOR)
                       .arg(ZENDREL_VERSION_MINOR)
                       .arg(ZENDREL_VERSION_PATCH));
  // The right-aligned lines keep their right edge and grow to the left to
  // hold their text, as the version outgrows its design width.
  for (QLabel* label : frame_->findChildren<QLabel*>()) {
    if (label == logo_ || label->wordWrap() || label->text().isEmpty()) continue;
    int wanted = label->fontMetrics().horizontalAdvance(label->text()) + 2;
    QRect area = label->geometry();
    if (wanted > area.width()) area.setLeft(area.right() - wanted);
    label->setGeometry(area);
  }
  findChild<QLabel*>("lblProductName")->setText("Zendrel");
  timer_->start(kInterval);

  std::error_code ignored;
  std::filesystem::current_path(Program_directory_native(), ignored);
  main_window_ = std::make_unique<FrmArchive>(DriveTable::Defaults());
}

void FrmSplash::Hand_over() {
  if (handed_over_) return;
  handed_over_ = true;
  timer_->stop();
  FrmArchive* main = main_window_.release();
  main->setAttribute(Qt::WA_DeleteOnClose);
  // Exit ends the program at once, whatever other windows are open.
  connect(main, &FrmArchive::Ended, qApp, [] { QCoreApplication::exit(0); });
  main->show();
  main->activateWindow();
  emit Main_window_shown(main);
  close();
  // A hidden window stays in what a screen reader sees of the program;
  // without its native window it is gone from there too.
  destroy();
}

void FrmSplash::keyPressEvent(QKeyEvent* event) {
  // Keys that give a character; Shift, the arrows and the like do not.
  if (!event->text().isEmpty()) {
    Hand_over();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool FrmSplash::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease ||
      event->type() == QEvent::MouseButtonDblClick) {
    if ((watched == frame_ || watched == logo_) && event->type() == QEvent::MouseButtonPress) {
      Hand_over();
    }
    return true;  // labels keep their clicks to themselves
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace zendrel
