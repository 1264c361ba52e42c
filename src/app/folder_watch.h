// Tells a list when the folder it shows changes on disk, made by this
// program or any other, so that a new folder or file appears without the
// user having to go away and back. Bursts of changes (a run writing many
// files) are told once, a moment after they stop. User-interface thread only.
#pragma once

#include <QObject>
#include <string>

#include "platform/drive_table.h"

class QFileSystemWatcher;
class QTimer;

namespace zendrel {

class FolderWatch : public QObject {
  Q_OBJECT
 public:
  // `drives` outlives the watch.
  FolderWatch(const DriveTable& drives, QObject* parent);

  // Watches `windows_dir` alone from now on; an unknown drive or a folder
  // that cannot be watched is simply not watched.
  void Watch(const std::string& windows_dir);

 signals:
  void Changed();

 private:
  const DriveTable& drives_;
  QFileSystemWatcher* watcher_;
  QTimer* settle_;
};

}  // namespace zendrel
