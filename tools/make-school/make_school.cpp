// make-school --scale N --output FILE: writes a synthetic exchange file (UTF-8) holding N
// times a large school: per unit of scale 300 teachers, 40 courses of 3 groups each (120
// groups, named "ESO12 A" and so on), 600 subject records (15 per course), 80 rooms (every tenth
// without key, some keys repeated), 10 activities and 3000 pupils in a block the converter does not
// read, as real files carry; always 2 time frames of 14 slots. The same N gives the same bytes.
#include <CLI/CLI.hpp>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

// A small deterministic generator (64-bit linear congruential), the same on every system.
class Random {
 public:
  explicit Random(std::uint64_t start) : state_(start) {}
  std::size_t Below(std::size_t n) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::size_t>((state_ >> 33) % n);
  }
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[Below(items.size())];
  }

 private:
  std::uint64_t state_;
};

const std::vector<std::string> kSurnames = {
    "García",   "Fernández", "González",   "Rodríguez", "López",   "Martínez",  "Sánchez",
    "Pérez",    "Gómez",     "Martín",     "Jiménez",   "Ruiz",    "Hernández", "Díaz",
    "Moreno",   "Muñoz",     "Álvarez",    "Romero",    "Alonso",  "Gutiérrez", "Navarro",
    "Torres",   "Domínguez", "Vázquez",    "Ramos",     "Gil",     "Ramírez",   "Serrano",
    "Blanco",   "Molina",    "Morales",    "Suárez",    "Ortega",  "Delgado",   "Castro",
    "Ortiz",    "Rubio",     "Marín",      "Sanz",      "Núñez",   "Iglesias",  "Medina",
    "Garrido",  "Cortés",    "Castillo",   "Santos",    "Lozano",  "Guerrero",  "Cano",
    "Prieto",   "Méndez",    "Cruz",       "Calvo",     "Gallego", "Vidal",     "León",
    "Márquez",  "Herrera",   "Peña",       "Flores",    "Cabrera", "Campos",    "Vega",
    "Fuentes",  "Carrasco",  "Díez",       "Caballero", "Reyes",   "Nieto",     "Aguilar",
    "Pascual",  "Santana",   "Herrero",    "Montero",   "Lorenzo", "Hidalgo",   "Giménez",
    "Ibáñez",   "Ferrer",    "Durán",      "Santiago",  "Benítez", "Mora",      "Vicente",
    "Arias",    "Vargas",    "Carmona",    "Crespo",    "Román",   "Pastor",    "Soto",
    "Sáez",     "Velasco",   "Moya",       "Soler",     "Parra",   "Esteban",   "Bravo",
    "Gallardo", "Rojas",     "Echeverría", "Larrañaga", "Úbeda",   "Ordóñez",   "Cañete"};

const std::vector<std::string> kGivenNames = {
    "Antonio",  "José",   "Manuel",    "Francisco", "David",   "Juan",     "Javier",  "Daniel",
    "Carlos",   "Jesús",  "Alejandro", "Miguel",    "Rafael",  "Pablo",    "Sergio",  "Ángel",
    "Fernando", "Jorge",  "Luis",      "Alberto",   "Álvaro",  "Adrián",   "Raúl",    "Rubén",
    "Iván",     "Óscar",  "Andrés",    "Joaquín",   "Íñigo",   "Tomás",    "María",   "Carmen",
    "Ana",      "Isabel", "Laura",     "Cristina",  "Marta",   "Lucía",    "Paula",   "Elena",
    "Sara",     "Raquel", "Pilar",     "Begoña",    "Nuria",   "Rocío",    "Mónica",  "Inmaculada",
    "Ángela",   "Sofía",  "Irene",     "Noelia",    "Yolanda", "Verónica", "Araceli", "Concepción"};

const std::vector<std::string> kDepartments = {"Lengua Castellana y Literatura",
                                               "Matemáticas",
                                               "Inglés",
                                               "Geografía e Historia",
                                               "Biología y Geología",
                                               "Física y Química",
                                               "Educación Física",
                                               "Música",
                                               "Tecnología",
                                               "Dibujo",
                                               "Filosofía",
                                               "Francés",
                                               "Latín y Griego",
                                               "Economía",
                                               "Orientación",
                                               "Administración y Gestión",
                                               "Informática y Comunicaciones"};

const std::vector<std::string> kSubjects = {"Lengua Castellana y Literatura",
                                            "Matemáticas",
                                            "Inglés",
                                            "Geografía e Historia",
                                            "Biología y Geología",
                                            "Física y Química",
                                            "Educación Física",
                                            "Música",
                                            "Tecnología y Digitalización",
                                            "Educación Plástica, Visual y Audiovisual",
                                            "Francés",
                                            "Latín",
                                            "Filosofía",
                                            "Economía y Emprendimiento",
                                            "Tutoría",
                                            "Religión",
                                            "Atención Educativa",
                                            "Dibujo Técnico",
                                            "Historia de España",
                                            "Química",
                                            "Física",
                                            "Biología",
                                            "Cultura Científica",
                                            "Programación y Robótica",
                                            "Oratoria",
                                            "Empresa y Administración",
                                            "Técnica Contable",
                                            "Tratamiento Informático de la Información",
                                            "Operaciones Administrativas de Compraventa",
                                            "Formación y Orientación Laboral"};

const std::vector<std::string> kStudies = {"ESO",
                                           "Bachillerato",
                                           "CFGM Gestión Administrativa",
                                           "CFGS Administración y Finanzas",
                                           "CFGM Sistemas Microinformáticos y Redes",
                                           "FP Básica Servicios Administrativos"};

const std::vector<std::string> kStudyAbbreviations = {"ESO", "BACH", "GA", "AF", "SMR", "FPB"};

std::string Escape(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

class Writer {
 public:
  void BeginBlock(const std::string& seq) { out_ += "    <grupo_datos seq=\"" + seq + "\">\n"; }
  void EndBlock() { out_ += "    </grupo_datos>\n"; }
  void Record(const std::vector<std::string>& names, const std::vector<std::string>& values) {
    out_ += "      <grupo_datos>\n";
    for (std::size_t i = 0; i < values.size(); ++i) {
      out_ += "        <dato nombre_dato=\"" + names[i] + "\">" + Escape(values[i]) + "</dato>\n";
    }
    out_ += "      </grupo_datos>\n";
  }
  std::string& text() { return out_; }

 private:
  std::string out_;
};

std::string TwoDigits(std::size_t n) { return (n < 10 ? "0" : "") + std::to_string(n); }

std::string MakeSchool(std::size_t scale) {
  Random random(20261211);
  Writer w;
  w.text() += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  w.text() += "<!-- Centro sintético de escala " + std::to_string(scale) + " (make-school) -->\n";
  w.text() +=
      "<SERVICIO modulo=\"HORARIOS\" tipo=\"E\" autor=\"ORTELIA\" destino=\"VELORIM\" "
      "version=\"1.0\">\n  <BLOQUE_DATOS>\n";
  w.text() +=
      "    <grupo_datos seq=\"ANNO_ACADEMICO\">\n      <dato nombre_dato=\"C_ANNO\">2026</dato>\n"
      "    </grupo_datos>\n";

  const std::size_t courses = 40 * scale;
  w.BeginBlock("CURSOS_DEL_CENTRO");
  for (std::size_t c = 0; c < courses; ++c) {
    const std::string name = std::to_string(c % 4 + 1) + "º " +
                             kStudies[(c / 4) % kStudies.size()] +
                             (c >= 24 ? " (" + std::to_string(c / 24) + ")" : "");
    w.Record({"X_OFERTAMATRIG", "D_OFERTAMATRIG"}, {std::to_string(6001 + c), name});
  }
  w.EndBlock();

  w.BeginBlock("UNIDADES");
  std::size_t group_key = 90001;
  for (std::size_t c = 0; c < courses; ++c) {
    for (const char* letter : {"A", "B", "C"}) {
      // Short and unique names (up to scale 249 they fit the 10 characters of a group code).
      const std::string name =
          kStudyAbbreviations[(c / 4) % kStudies.size()] + std::to_string(c + 1) + " " + letter;
      w.Record({"X_UNIDAD", "T_NOMBRE", "X_OFERTAMATRIG"},
               {std::to_string(group_key++), name, std::to_string(6001 + c)});
    }
  }
  w.EndBlock();

  w.BeginBlock("MATERIAS");
  std::size_t subject_key = 200001;
  for (std::size_t c = 0; c < courses; ++c) {
    for (std::size_t s = 0; s < 15; ++s) {
      const std::string& name = kSubjects[(c * 7 + s) % kSubjects.size()];
      w.Record({"X_OFERTAMATRIG", "X_MATERIAOMG", "D_MATERIAC"},
               {std::to_string(6001 + c), std::to_string(subject_key++),
                c % 4 == 0 ? name : name + " " + std::to_string(c % 4 + 1)});
    }
  }
  w.EndBlock();

  w.BeginBlock("ACTIVIDADES");
  const std::vector<std::pair<std::string, std::string>> activities = {
      {"GUAR", "Guardia"},
      {"TUT", "Tutoría con alumnos"},
      {"RDEP", "Reunión de departamento"},
      {"AFAM", "Atención a familias"},
      {"BIBL", "Biblioteca"},
      {"RECR", "Guardia de recreo"},
      {"CCP", "Comisión de coordinación pedagógica"},
      {"CLAU", "Claustro"},
      {"JDEP", "Jefatura de departamento"},
      {"PROY", "Coordinación de proyectos"}};
  for (std::size_t a = 0; a < 10 * scale; ++a) {
    const auto& [code, name] = activities[a % activities.size()];
    w.Record(
        {"C_TIPO", "X_ACTIVIDAD", "D_ACTIVIDAD"},
        {"T", a < activities.size() ? code : code + std::to_string(a / activities.size()), name});
  }
  w.EndBlock();

  w.BeginBlock("EMPLEADOS");
  for (std::size_t t = 0; t < 300 * scale; ++t) {
    w.Record(
        {"X_EMPLEADO", "F_TOMAPOS", "D_DEPARTAMENTO", "D_APELLIDO1", "D_APELLIDO2", "D_NOMBRE"},
        {std::to_string(3000001 + t),
         TwoDigits(random.Below(28) + 1) + "/" + TwoDigits(random.Below(12) + 1) + "/" +
             std::to_string(1995 + random.Below(31)),
         random.Pick(kDepartments), random.Pick(kSurnames), random.Pick(kSurnames),
         random.Pick(kGivenNames)});
  }
  w.EndBlock();

  w.BeginBlock("DEPENDENCIAS");
  for (std::size_t r = 0; r < 80 * scale; ++r) {
    const std::string name = r % 10 == 9
                                 ? "Laboratorio " + std::to_string(r / 10 + 1)
                                 : "Aula " + std::to_string(r / 20 + 1) + "." + TwoDigits(r % 20);
    // Every tenth room has no key; every twentieth repeats the key before it.
    const std::string key = r % 10 == 9    ? ""
                            : r % 20 == 19 ? "A" + std::to_string(r - 1)
                                           : "A" + std::to_string(r);
    w.Record({"X_DEPENDENCIA", "D_DEPENDENCIA"}, {key, name});
  }
  w.EndBlock();

  w.BeginBlock("JORNADAS_ESCOLARES");
  w.Record({"X_JORNADA", "D_JORNADA", "F_INICIO", "F_FIN"},
           {"701", "Jornada de mañana", "01/09/2026", "30/06/2027"});
  w.Record({"X_JORNADA", "D_JORNADA", "F_INICIO", "F_FIN"},
           {"702", "Jornada de tarde", "01/09/2026", "30/06/2027"});
  w.EndBlock();

  w.BeginBlock("TRAMOS_HORARIOS");
  for (std::size_t frame = 0; frame < 2; ++frame) {
    int start = frame == 0 ? 8 * 60 : 15 * 60;
    for (std::size_t slot = 1; slot <= 14; ++slot) {
      const int length = slot % 5 == 4 ? 20 : 30;  // half-hour slots and short breaks
      const std::string frame_code = std::to_string(701 + frame);
      w.Record({"X_TRAMO", "T_HORCEN", "N_INICIO", "N_FIN", "X_JORNADA"},
               {frame_code + TwoDigits(slot),
                slot % 5 == 4 ? "Recreo" : std::to_string(slot) + "ª media hora",
                std::to_string(start), std::to_string(start + length), frame_code});
      start += length;
    }
  }
  w.EndBlock();

  // Pupils: the converter does not read them, but real files are mostly made of them.
  w.BeginBlock("ALUMNOS");
  for (std::size_t p = 0; p < 3000 * scale; ++p) {
    w.Record({"X_MATRICULA", "D_APELLIDO1", "D_APELLIDO2", "D_NOMBRE", "X_UNIDAD", "F_NACIMIENTO"},
             {std::to_string(5000001 + p), random.Pick(kSurnames), random.Pick(kSurnames),
              random.Pick(kGivenNames), std::to_string(90001 + p % (120 * scale)),
              TwoDigits(random.Below(28) + 1) + "/" + TwoDigits(random.Below(12) + 1) + "/" +
                  std::to_string(2008 + random.Below(10))});
  }
  w.EndBlock();

  w.text() += "  </BLOQUE_DATOS>\n</SERVICIO>\n";
  return std::move(w.text());
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Writes a synthetic exchange file of a large school", "make-school"};
  std::size_t scale = 1;
  std::string output;
  app.add_option("--scale", scale, "How many times a large school (300 teachers, 120 groups)")
      ->check(CLI::Range(1, 100000));
  app.add_option("--output", output, "The file to write")->required();
  CLI11_PARSE(app, argc, argv);

  const std::string text = MakeSchool(scale);
  std::ofstream out(output, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) {
    std::cerr << "make-school: cannot write " << output << "\n";
    return 1;
  }
  std::cout << output << ": " << text.size() << " bytes\n";
  return 0;
}
