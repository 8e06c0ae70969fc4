// The output exchange file of an import, written as it is built: after the input's
// nodes outside its root (declaration, comments, processing instructions), a new root
// SERVICIO holding the year block and the schedule block, which is then filled teacher
// by teacher and lesson by lesson. Every field is a `dato` named by `nombre_dato`; an
// empty value gives an empty element. Texts are code page 1252.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "exchange/xml_stream_writer.h"

namespace tv {

// The eleven values of one lesson, in the order they are written.
struct LessonFields {
  std::string_view day;            // N_DIASEMANA
  std::string_view slot_code;      // X_TRAMO
  std::string_view room;           // X_DEPENDENCIA
  std::string_view group_key;      // X_UNIDAD
  std::string_view course_key;     // X_OFERTAMATRIG
  std::string_view subject_key;    // X_MATERIAOMG
  std::string_view start_date;     // F_INICIO
  std::string_view end_date;       // F_FIN
  std::string_view start_minutes;  // N_HORINI
  std::string_view end_minutes;    // N_HORFIN
  std::string_view activity_code;  // X_ACTIVIDAD
};

class OutputDocument;

// The group of the teacher added last; lessons are numbered from 1 within it.
class TeacherGroup {
 public:
  void AddLesson(const LessonFields& lesson);

 private:
  friend class OutputDocument;
  explicit TeacherGroup(xml::ElementWriter& writer) : writer_(writer) {}
  xml::ElementWriter& writer_;
  std::size_t next_lesson_ = 1;
};

class OutputDocument {
 public:
  // Writes the new root SERVICIO (modulo, tipo, autor and fecha, in this order), its
  // BLOQUE_DATOS, the year block with `year_code`, and starts the schedule block whose
  // `registros` is `teacher_count`.
  OutputDocument(xml::ElementWriter& writer, std::string_view year_code, std::string_view date_time,
                 std::size_t teacher_count);

  // Ends the group of the teacher before, if any, and starts the next teacher's group
  // (numbered from 1) with its `registros`, X_EMPLEADO and F_TOMAPOS; its lessons follow
  // through the returned group, which is valid until the next call.
  TeacherGroup& AddTeacher(std::size_t lesson_count, std::string_view employee,
                           std::string_view post);

  // Ends the last teacher group, the schedule block and the root.
  void Finish();

 private:
  xml::ElementWriter& writer_;
  TeacherGroup teacher_;
  std::size_t next_teacher_ = 1;
};

}  // namespace tv
