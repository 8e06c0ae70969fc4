#include "small_school.h"

#include <fstream>
#include <iterator>

namespace tv::testing_support {

std::string SmallSchool(int variant) {
  const bool second = variant == 2;
  auto dato = [](const std::string& name, const std::string& value) {
    return "<dato nombre_dato=\"" + name + "\">" + value + "</dato>";
  };
  auto record = [](const std::string& fields) {
    return "<grupo_datos>" + fields + "</grupo_datos>";
  };
  auto block = [](const std::string& name, const std::string& records) {
    return "<grupo_datos seq=\"" + name + "\">" + records + "</grupo_datos>\n";
  };
  std::string teachers = record(dato("X_EMPLEADO", "100") + dato("F_TOMAPOS", "01/09/2008") +
                                dato("D_DEPARTAMENTO", "Lengua") + dato("D_APELLIDO1", "García") +
                                dato("D_APELLIDO2", "Martín") + dato("D_NOMBRE", "José"));
  if (second) {
    teachers += record(dato("X_EMPLEADO", "200") + dato("F_TOMAPOS", "02/09/2009") +
                       dato("D_DEPARTAMENTO", "Lengua") + dato("D_APELLIDO1", "Núñez") +
                       dato("D_APELLIDO2", "Peña") + dato("D_NOMBRE", "Inés"));
  }
  std::string rooms = record(dato("X_DEPENDENCIA", "A01") + dato("D_DEPENDENCIA", "Aula 1"));
  if (second) rooms += record(dato("X_DEPENDENCIA", "A02") + dato("D_DEPENDENCIA", "Aula 2"));
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<SERVICIO modulo=\"HORARIOS\" tipo=\"E\" autor=\"ORTELIA\" destino=\"VELORIM\">\n"
         "<BLOQUE_DATOS>\n" +
         block("ANNO_ACADEMICO", dato("C_ANNO", "2026")) +
         block("CURSOS_DEL_CENTRO",
               record(dato("X_OFERTAMATRIG", "6001") + dato("D_OFERTAMATRIG", "1º ESO"))) +
         block("UNIDADES", record(dato("X_UNIDAD", "9101") + dato("T_NOMBRE", "1º ESO A") +
                                  dato("X_OFERTAMATRIG", "6001"))) +
         block("MATERIAS",
               record(dato("X_OFERTAMATRIG", "6001") + dato("X_MATERIAOMG", "120001") +
                      dato("D_MATERIAC", second ? "Lengua y Literatura" : "Lengua")) +
                   record(dato("X_OFERTAMATRIG", "6001") + dato("X_MATERIAOMG", "120002") +
                          dato("D_MATERIAC", "Matemáticas"))) +
         block("ACTIVIDADES", record(dato("C_TIPO", "T") + dato("X_ACTIVIDAD", "GUAR") +
                                     dato("D_ACTIVIDAD", "Guardia"))) +
         block("EMPLEADOS", teachers) + block("DEPENDENCIAS", rooms) +
         block("JORNADAS_ESCOLARES",
               record(dato("X_JORNADA", "501") + dato("D_JORNADA", "Mañana") +
                      dato("F_INICIO", "01/09/2026") + dato("F_FIN", "30/06/2027"))) +
         block("TRAMOS_HORARIOS",
               record(dato("X_TRAMO", "5011") + dato("T_HORCEN", "1ª hora") +
                      dato("N_INICIO", "495") + dato("N_FIN", "550") + dato("X_JORNADA", "501")) +
                   record(dato("X_TRAMO", "5012") + dato("T_HORCEN", "2ª hora") +
                          dato("N_INICIO", "550") + dato("N_FIN", "605") +
                          dato("X_JORNADA", "501"))) +
         "</BLOQUE_DATOS>\n</SERVICIO>\n";
}

std::string Read(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Write(const std::filesystem::path& file, const std::string& content) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << content;
}

}  // namespace tv::testing_support
