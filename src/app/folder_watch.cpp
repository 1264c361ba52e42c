#include "app/folder_watch.h"

#include <QFileSystemWatcher>
#include <QTimer>

#include "platform/native_path.h"

namespace zendrel {

FolderWatch::FolderWatch(const DriveTable& drives, QObject* parent)
    : QObject(parent),
      drives_(drives),
      watcher_(new QFileSystemWatcher(this)),
      settle_(new QTimer(this)) {
  settle_->setSingleShot(true);
  settle_->setInterval(250);
  connect(watcher_, &QFileSystemWatcher::directoryChanged, settle_, qOverload<>(&QTimer::start));
  connect(settle_, &QTimer::timeout, this, &FolderWatch::Changed);
}

void FolderWatch::Watch(const std::string& windows_dir) {
  std::optional<std::string> native = Native_path(drives_, windows_dir);
  QString wanted = native ? QString::fromStdString(*native) : QString();
  QStringList watched = watcher_->directories();
  if (watched.size() == 1 && watched.first() == wanted) return;
  if (!watched.isEmpty()) watcher_->removePaths(watched);
  if (!wanted.isEmpty()) watcher_->addPath(wanted);
}

}  // namespace zendrel
