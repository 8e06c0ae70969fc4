// One thing a run decided that a person would want to know: a record it left out, a code
// it numbered, a text it cut, a key it could not map back... Each entry names the data
// block or table, the record (its position, key and name) and the reason, in the user's
// words. Texts are code page 1252, like every text of the core.
#pragma once

#include <cstddef>
#include <string>

namespace tv {

// A warning asks the user to look: data was lost, left out or may now be misplaced. An
// info entry tells what the rules did as they are meant to.
enum class Severity { kWarning, kInfo };

// In the order a summary lists them, within each severity: the most urgent first.
enum class EntryKind {
  kCodeChangedMeaning,  // a code that now names a different key than at the last export
  // The export.
  kSkippedRecord,       // a block record that wrote no row, and why
  kRepeatedSubject,     // a subject whose name is in the subject table already: one row
  kNumberedCode,        // a code made unique by a number: which name got which code
  kCutText,             // a text longer than its field, stored cut to the field's width
  kUnknownCourseKey,    // a course key the level table lacks ("Niv")
  kGroupWithoutCourse,  // a group whose course key matches no course
  kLoadWithoutSubject,  // a subject record whose name matches no subject row: no loads
  kLoadWithoutGroups,   // a subject record whose course has no group: no loads
  kFrameNotChosen,      // a time frame of the file that the timetable does not use
  kSlotLeftOut,         // a time slot of a frame that was not chosen
  // What changed since the last export.
  kFirstExport,         // there were no tables to compare with
  kOldTableUnreadable,  // a table being replaced could not be read for the comparison
  kKeyAdded,            // a key the replaced table did not have
  kKeyRemoved,          // a key of the replaced table that is gone
  // The import.
  kUnplacedRow,         // a solution row with day 0: no lesson
  kUnmappedKey,         // a lesson written with a key it could not map back
  kUnknownTeacherRows,  // solution rows of a code that no teacher has
  kTeacherWithoutLessons,
};

Severity SeverityOf(EntryKind kind);
// A stable name for scripts ("skipped_record").
const char* KindId(EntryKind kind);
// What a count of entries of this kind is, in the user's words ("registros omitidos").
const char* KindLabel(EntryKind kind);

struct ReportEntry {
  EntryKind kind = EntryKind::kSkippedRecord;
  std::string block;       // the data block, or the table, the entry is about
  std::size_t record = 0;  // position of the block record or table row, from 1; 0: none
  std::string key;         // the record's key
  std::string name;        // the record's name
  std::string field;       // the field concerned, if any
  std::string value;       // the value concerned (a numbered code, a cut text, ...)
  std::string reason;      // what happened, a sentence

  Severity severity() const { return SeverityOf(kind); }
  bool operator==(const ReportEntry&) const = default;
};

}  // namespace tv
