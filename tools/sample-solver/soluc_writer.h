// Writes SOLUC.DBF the way Velorim defines it: a dBase III table with PROF C10, DIA N2.0,
// HORA N2.0, MARCO C1, ASIG C10, CODGRUPO C10, TAREA C10 and AULA C10. (Our table engine
// defines its integers as N 11.0, so the stand-in writes this one table itself.)
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tv::sample {

struct SolucRow {
  std::string prof;
  int dia = 0;
  int hora = 0;
  std::string marco;
  std::string asig;
  std::string codgrupo;
  std::string tarea;
  std::string aula;
};

// Writes the table beside its place and moves it there once complete, replacing an
// earlier SOLUC.DBF; an old SOLUC.MDX is removed. Texts are code page 1252 and are cut to
// their field's width. Throws RunError naming the file.
void WriteSoluc(const std::filesystem::path& work_folder, const std::vector<SolucRow>& rows);

}  // namespace tv::sample
