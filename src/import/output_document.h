// The output exchange file of an import: the loaded input keeps its nodes outside the
// root (declaration, comments, processing instructions); its root is replaced by a new
// SERVICIO holding the year block and the schedule block, which is then filled teacher
// by teacher and lesson by lesson. Every field is a `dato` named by `nombre_dato`; an
// empty value gives an empty element. Texts are code page 1252.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "exchange/xml_document.h"

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

// One teacher's group; lessons are numbered from 1 within it.
class TeacherGroup {
 public:
  void AddLesson(const LessonFields& lesson);

 private:
  friend class OutputDocument;
  explicit TeacherGroup(xml::Node node) : node_(node) {}
  xml::Node node_;
  std::size_t next_lesson_ = 1;
};

class OutputDocument {
 public:
  // Replaces the root of `document` with SERVICIO (modulo, tipo, autor and fecha, in
  // this order), its BLOQUE_DATOS, the year block with `year_code`, and the schedule
  // block whose `registros` is `teacher_count`.
  OutputDocument(xml::Document& document, std::string_view year_code, std::string_view date_time,
                 std::size_t teacher_count);

  // Appends the next teacher's group (numbered from 1) with its `registros`, X_EMPLEADO
  // and F_TOMAPOS; its lessons follow through the returned group.
  TeacherGroup AddTeacher(std::size_t lesson_count, std::string_view employee,
                          std::string_view post);

 private:
  xml::Node schedule_;
  std::size_t next_teacher_ = 1;
};

}  // namespace tv
