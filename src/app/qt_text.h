// Between the system's text (Windows-1252 in std::string) and Qt's QString,
// for captions, file names and paths shown in the windows.
#pragma once

#include <QString>
#include <string>

namespace zendrel {

QString To_qt(const std::string& system_text);
std::string From_qt(const QString& text);

}  // namespace zendrel
