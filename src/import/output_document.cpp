#include "import/output_document.h"

namespace tv {
namespace {

void AddField(xml::ElementWriter& writer, std::string_view name, std::string_view value) {
  writer.StartElement("dato");
  writer.Attribute("nombre_dato", name);
  writer.Text(value);
  writer.EndElement();
}

}  // namespace

OutputDocument::OutputDocument(xml::ElementWriter& writer, std::string_view year_code,
                               std::string_view date_time, std::size_t teacher_count)
    : writer_(writer), teacher_(writer) {
  writer_.StartElement("SERVICIO");
  writer_.Attribute("modulo", "HORARIOS");
  writer_.Attribute("tipo", "I");
  writer_.Attribute("autor", "HORARIOS");
  writer_.Attribute("fecha", date_time);
  writer_.StartElement("BLOQUE_DATOS");

  writer_.StartElement("grupo_datos");
  writer_.Attribute("seq", "ANNO_ACADEMICO");
  AddField(writer_, "C_ANNO", year_code);
  writer_.EndElement();

  writer_.StartElement("grupo_datos");
  writer_.Attribute("seq", "HORARIOS_REGULARES");
  writer_.Attribute("registros", static_cast<long long>(teacher_count));
}

TeacherGroup& OutputDocument::AddTeacher(std::size_t lesson_count, std::string_view employee,
                                         std::string_view post) {
  if (next_teacher_ > 1) writer_.EndElement();
  writer_.StartElement("grupo_datos");
  writer_.Attribute("seq", "HORARIO_REGULAR_PROFESOR_" + std::to_string(next_teacher_++));
  writer_.Attribute("registros", static_cast<long long>(lesson_count));
  AddField(writer_, "X_EMPLEADO", employee);
  AddField(writer_, "F_TOMAPOS", post);
  teacher_.next_lesson_ = 1;
  return teacher_;
}

void OutputDocument::Finish() {
  if (next_teacher_ > 1) writer_.EndElement();  // the last teacher group
  writer_.EndElement();                         // the schedule block
  writer_.EndElement();                         // BLOQUE_DATOS
  writer_.EndElement();                         // SERVICIO
}

void TeacherGroup::AddLesson(const LessonFields& lesson) {
  writer_.StartElement("grupo_datos");
  writer_.Attribute("seq", "ACTIVIDAD_" + std::to_string(next_lesson_++));
  AddField(writer_, "N_DIASEMANA", lesson.day);
  AddField(writer_, "X_TRAMO", lesson.slot_code);
  AddField(writer_, "X_DEPENDENCIA", lesson.room);
  AddField(writer_, "X_UNIDAD", lesson.group_key);
  AddField(writer_, "X_OFERTAMATRIG", lesson.course_key);
  AddField(writer_, "X_MATERIAOMG", lesson.subject_key);
  AddField(writer_, "F_INICIO", lesson.start_date);
  AddField(writer_, "F_FIN", lesson.end_date);
  AddField(writer_, "N_HORINI", lesson.start_minutes);
  AddField(writer_, "N_HORFIN", lesson.end_minutes);
  AddField(writer_, "X_ACTIVIDAD", lesson.activity_code);
  writer_.EndElement();
}

}  // namespace tv
