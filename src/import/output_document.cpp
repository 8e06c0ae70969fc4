#include "import/output_document.h"

namespace tv {
namespace {

void AddField(xml::Node group, std::string_view name, std::string_view value) {
  xml::Node field = group.AppendElement("dato");
  field.SetAttribute("nombre_dato", name);
  if (!value.empty()) field.SetText(value);
}

}  // namespace

OutputDocument::OutputDocument(xml::Document& document, std::string_view year_code,
                               std::string_view date_time, std::size_t teacher_count) {
  document.RemoveRoot();
  xml::Node root = document.AppendRoot("SERVICIO");
  root.SetAttribute("modulo", "HORARIOS");
  root.SetAttribute("tipo", "I");
  root.SetAttribute("autor", "HORARIOS");
  root.SetAttribute("fecha", date_time);
  xml::Node data = root.AppendElement("BLOQUE_DATOS");

  xml::Node year = data.AppendElement("grupo_datos");
  year.SetAttribute("seq", "ANNO_ACADEMICO");
  AddField(year, "C_ANNO", year_code);

  schedule_ = data.AppendElement("grupo_datos");
  schedule_.SetAttribute("seq", "HORARIOS_REGULARES");
  schedule_.SetAttribute("registros", static_cast<long long>(teacher_count));
}

TeacherGroup OutputDocument::AddTeacher(std::size_t lesson_count, std::string_view employee,
                                        std::string_view post) {
  xml::Node node = schedule_.AppendElement("grupo_datos");
  node.SetAttribute("seq", "HORARIO_REGULAR_PROFESOR_" + std::to_string(next_teacher_++));
  node.SetAttribute("registros", static_cast<long long>(lesson_count));
  AddField(node, "X_EMPLEADO", employee);
  AddField(node, "F_TOMAPOS", post);
  return TeacherGroup(node);
}

void TeacherGroup::AddLesson(const LessonFields& lesson) {
  xml::Node node = node_.AppendElement("grupo_datos");
  node.SetAttribute("seq", "ACTIVIDAD_" + std::to_string(next_lesson_++));
  AddField(node, "N_DIASEMANA", lesson.day);
  AddField(node, "X_TRAMO", lesson.slot_code);
  AddField(node, "X_DEPENDENCIA", lesson.room);
  AddField(node, "X_UNIDAD", lesson.group_key);
  AddField(node, "X_OFERTAMATRIG", lesson.course_key);
  AddField(node, "X_MATERIAOMG", lesson.subject_key);
  AddField(node, "F_INICIO", lesson.start_date);
  AddField(node, "F_FIN", lesson.end_date);
  AddField(node, "N_HORINI", lesson.start_minutes);
  AddField(node, "N_HORFIN", lesson.end_minutes);
  AddField(node, "X_ACTIVIDAD", lesson.activity_code);
}

}  // namespace tv
