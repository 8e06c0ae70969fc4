#include "util/report_entry.h"

namespace tv {

namespace {

struct KindText {
  EntryKind kind;
  Severity severity;
  const char* id;
  const char* label;
};

constexpr KindText kKinds[] = {
    {EntryKind::kSkippedRecord, Severity::kWarning, "skipped_record", "registros omitidos"},
    {EntryKind::kRepeatedSubject, Severity::kInfo, "repeated_subject",
     "materias con el nombre de otra: una sola fila en ASIGNOMT"},
    {EntryKind::kNumberedCode, Severity::kInfo, "numbered_code",
     "c\xF3"
     "digos numerados para no repetirse"},
    {EntryKind::kCutText, Severity::kWarning, "cut_text", "textos cortados al ancho de su campo"},
    {EntryKind::kUnknownCourseKey, Severity::kWarning, "unknown_course_key",
     "cursos que no est\xE1n en NIVELEX.DBF"},
    {EntryKind::kGroupWithoutCourse, Severity::kWarning, "group_without_course",
     "unidades sin su curso"},
    {EntryKind::kLoadWithoutSubject, Severity::kWarning, "load_without_subject",
     "materias sin carga lectiva: materia no encontrada"},
    {EntryKind::kLoadWithoutGroups, Severity::kWarning, "load_without_groups",
     "materias sin carga lectiva: curso sin unidades"},
    {EntryKind::kFrameNotChosen, Severity::kInfo, "frame_not_chosen",
     "Marcos Horarios no elegidos"},
    {EntryKind::kSlotLeftOut, Severity::kInfo, "slot_left_out",
     "tramos horarios de Marcos no elegidos"},
    {EntryKind::kFirstExport, Severity::kInfo, "first_export",
     "primera exportaci\xF3n: nada con que comparar"},
    {EntryKind::kOldTableUnreadable, Severity::kWarning, "old_table_unreadable",
     "tablas anteriores que no se pudieron comparar"},
    {EntryKind::kKeyAdded, Severity::kInfo, "key_added", "claves nuevas"},
    {EntryKind::kKeyRemoved, Severity::kInfo, "key_removed", "claves que ya no est\xE1n"},
    {EntryKind::kCodeChangedMeaning, Severity::kWarning, "code_changed_meaning",
     "c\xF3"
     "digos que ahora nombran otra clave"},
    {EntryKind::kUnplacedRow, Severity::kInfo, "unplaced_row",
     "filas de SOLUC sin colocar (DIA 0)"},
    {EntryKind::kUnmappedKey, Severity::kWarning, "unmapped_key",
     "claves de lecciones no encontradas"},
    {EntryKind::kUnknownTeacherRows, Severity::kWarning, "unknown_teacher_rows",
     "profesores de SOLUC que no est\xE1n en PROFT"},
    {EntryKind::kTeacherWithoutLessons, Severity::kInfo, "teacher_without_lessons",
     "profesores sin lecciones"},
};

const KindText& TextOf(EntryKind kind) {
  for (const KindText& text : kKinds) {
    if (text.kind == kind) return text;
  }
  return kKinds[0];
}

}  // namespace

Severity SeverityOf(EntryKind kind) { return TextOf(kind).severity; }
const char* KindId(EntryKind kind) { return TextOf(kind).id; }
const char* KindLabel(EntryKind kind) { return TextOf(kind).label; }

}  // namespace tv
