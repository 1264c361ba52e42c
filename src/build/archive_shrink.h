// No run empties or shortens an archive by accident. A run that found no
// picture at all leaves the archive already there as it was; a stopped run
// whose page would hold fewer records than the page it replaces first
// keeps that page as archive_bak.htm (the name the editor's backup has).
#pragma once

#include <optional>
#include <string>

#include "platform/drive_table.h"
#include "platform/status.h"

namespace zendrel {

// The records of the page archive.htm in `dest` (Windows view, ending in
// "\"); 0 when there is none. A damaged page counts the records before the
// damage.
int Records_in_archive_page(const DriveTable& drives, const std::string& dest);

// For a run that wrote no record: the refusal that names what it found
// (`found`, e.g. "C:\Photos holds no picture"), when an archive is there
// to be kept; nothing when there is none to lose.
std::optional<Status> Refuse_empty_run(const DriveTable& drives, const std::string& dest_dir,
                                       const std::string& found);

// Before a stopped run's page of `new_records` replaces the archive in
// `dest_dir`: when that page held more, it is copied to archive_bak.htm.
// `note` gets the sentence that tells the user; empty when nothing was kept.
Status Keep_page_a_stop_would_shorten(const DriveTable& drives, const std::string& dest_dir,
                                      int new_records, std::string* note);

}  // namespace zendrel
