// The rows of a PhotoRecall database's GA_PicInfo table, read through libmdb
// (mdbtools). libmdb trusts the file: a damaged database can make it read
// out of bounds, print, or end the process, so Read_mdb runs this in a child
// process of its own; nothing here is safe to call on untrusted input in
// the program's own process.
#pragma once

#include <functional>
#include <string>

#include "catalog/picture_record.h"
#include "platform/status.h"

namespace zendrel {

// One row with a non-null "Source", texts in Windows-1252. Date holds the
// "DateCreated" value as "mmmm d, yyyy"; date_missing says it was Null (or
// not a readable date), and the picture file's date is to be used instead.
struct PicInfoRow {
  PictureRecord record;
  bool date_missing = false;
};

struct PicInfoCallbacks {
  std::function<void(const PicInfoRow&)> row;
  // Damage that loses part of a row or of the table; reading goes on.
  std::function<void(const std::string& cause)> damage;
};

// Reads GA_PicInfo of the database at `native_path` in storage order. A
// failure that ends the read (no such table, a missing column, a file
// libmdb cannot open) is the result, its message the cause alone.
Status Read_picinfo_rows(const std::string& native_path, const PicInfoCallbacks& callbacks);

// Days since December 30, 1899 (the Access date value) as "mmmm d, yyyy";
// empty outside the years 100 to 9999 that Access dates can hold.
std::string Access_date_text(double value);

}  // namespace zendrel
