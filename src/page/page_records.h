// The picture records of a page, found by the reading rule: each line that
// begins with "cat.add" is joined with the four lines after it, and the
// texts between pairs of double quotes are its values. The page reader and
// the master archive both read pages this way.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/drive_table.h"
#include "platform/status.h"

namespace zendrel {

// Reads the page at `page` (Windows view through `drives`) as catalogues
// are read: a page that another program holds open for writing is not read.
Status Read_page_bytes(const DriveTable& drives, const std::string& page, std::string* bytes);

// Calls `visit` with each record's number (from 1) and values, in page
// order. Lines end in CR LF, a lone CR or a lone LF. A failure that `visit`
// returns ends the walk, and so does damage: the page is whole only when
// every record has its five lines and ten values with a thumbnail name, and
// the tail follows the last record. Damage gives a failure naming `page`, the
// record where reading stopped and the cause; the records before it have
// been visited.
Status For_each_page_record(
    const std::string& bytes, const std::string& page,
    const std::function<Status(int record, const std::vector<std::string>& values)>& visit);

}  // namespace zendrel
