// The editor's Path box. The page holds a record's directory with its
// backslashes doubled (C:\\Photos\\1999); the box shows it as users write it
// (C:\Photos\1999), and what goes back into the record is the page's form.
#pragma once

#include <string>

namespace zendrel {

// The stored directory as the Path box shows it.
std::string Path_for_box(const std::string& stored);

// The page's form of the Path box's text. While the box still shows the
// stored value, that value itself, byte for byte (a stored form that does
// not double every backslash would otherwise be changed).
std::string Path_from_box(const std::string& shown, const std::string& stored);

}  // namespace zendrel
