// The splash window: title, platform, version, maker's notice, logo and the
// Independent JPEG Group notice. Made at start; it makes the program's own
// directory the current one, loads the main window hidden, and hands over
// to it after six seconds or at the first key, click on the frame or click
// on the logo (a click on a label does nothing).
#pragma once

#include <QWidget>
#include <memory>

class QFrame;
class QLabel;
class QTimer;

namespace zendrel {

class FrmArchive;

class FrmSplash : public QWidget {
  Q_OBJECT
 public:
  explicit FrmSplash(QWidget* parent = nullptr);
  ~FrmSplash() override;

  // The main window, loaded and hidden; null once handed over.
  FrmArchive* Main_window() const { return main_window_.get(); }
  // Shows the main window and closes the splash; the main window then
  // deletes itself when closed.
  void Hand_over();
  bool Handed_over() const { return handed_over_; }

  static constexpr int kInterval = 6000;  // milliseconds

 signals:
  void Main_window_shown(FrmArchive* main_window);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Form_Load();
  QLabel* Add_label(const char* name, QRect twips, double points, bool bold);

  QFrame* frame_;
  QLabel* logo_;
  QTimer* timer_;
  std::unique_ptr<FrmArchive> main_window_;
  bool handed_over_ = false;
};

// The platform line: the system the program was built for.
QString Platform_line();

}  // namespace zendrel
