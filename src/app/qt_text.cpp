#include "app/qt_text.h"

#include "platform/codepage.h"

namespace zendrel {

QString To_qt(const std::string& system_text) {
  return QString::fromStdString(System_text_to_utf8(system_text));
}

std::string From_qt(const QString& text) { return Utf8_to_system_text(text.toStdString()); }

}  // namespace zendrel
