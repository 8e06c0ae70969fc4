// What changed since the last export: the report of a second export of one school names
// the keys added and removed and, as a warning, every code that now names another key.
#include "export/changes_since_last_export.h"

#include <gtest/gtest.h>

#include <fstream>

#include "export/export_run.h"
#include "export_fixture.h"

namespace tv::testing_export {
namespace {

namespace fs = std::filesystem;

const Block kPedro = {"EMPLEADOS", {{"10", "01/09/2008", "Lengua", "Pedro", "García", "Ruiz"}}};

std::vector<Block> School(const std::vector<Block>& blocks) {
  std::vector<Block> school = {
      {"MATERIAS", {{"6001", "120001", "Lengua"}}},
      kPedro,
      {"DEPENDENCIAS", {{"A01", "Aula 1"}}},
      {"CURSOS_DEL_CENTRO", {{"6001", "1º ESO"}}},
      {"UNIDADES", {{"9101", "3A", "6001"}}},
      OneFrame(),
      OneSlot(),
  };
  for (const Block& block : blocks) {
    for (Block& mine : school) {
      if (mine.seq == block.seq) mine = block;
    }
  }
  return school;
}

std::vector<const ReportEntry*> OfKind(const RunReport& report, EntryKind kind) {
  std::vector<const ReportEntry*> found;
  for (const ReportEntry& entry : report.entries) {
    if (entry.kind == kind) found.push_back(&entry);
  }
  return found;
}

TEST_F(ExportTest, AFirstExportSaysThereWasNothingToCompareWith) {
  const RunReport report = Export(School({}));
  ASSERT_EQ(report.outcome, RunOutcome::kFinished);
  ASSERT_EQ(report.entries.size(), 1u);
  EXPECT_EQ(report.entries[0].kind, EntryKind::kFirstExport);
  EXPECT_EQ(report.entries[0].block, "");
}

TEST_F(ExportTest, ExportingTheSameSchoolAgainChangesNothing) {
  ASSERT_EQ(Export(School({})).outcome, RunOutcome::kFinished);
  const RunReport again = Export(School({}));
  EXPECT_TRUE(again.entries.empty())
      << again.entries.size() << " entries, the first " << again.entries[0].reason;
}

// The second export of a school in which one record was inserted before a namesake: the
// namesake's code is numbered now, and its old code names the newcomer.
struct NamesakeCase {
  const char* title;
  Block before;
  Block after;
  std::string table;
  std::string code;       // the code that changed meaning
  std::string now_key;    // the key it names now (UTF-8)
  std::string added_key;  // the key the newcomer adds
  std::string moved_to;   // the code the earlier key has now
};

void PrintTo(const NamesakeCase& c, std::ostream* out) { *out << c.title; }

class CodeChangedMeaning : public ExportTest, public ::testing::WithParamInterface<NamesakeCase> {};

TEST_P(CodeChangedMeaning, IsAWarningNamingBothKeys) {
  const NamesakeCase& c = GetParam();
  ASSERT_EQ(Export(School({c.before})).outcome, RunOutcome::kFinished);
  const RunReport report = Export(School({c.after}));
  ASSERT_EQ(report.outcome, RunOutcome::kFinished);

  const auto changed = OfKind(report, EntryKind::kCodeChangedMeaning);
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(changed[0]->severity(), Severity::kWarning);
  EXPECT_EQ(changed[0]->block, c.table);
  EXPECT_EQ(changed[0]->value, L(c.code));
  EXPECT_EQ(changed[0]->key, L(c.now_key));
  EXPECT_NE(changed[0]->reason.find("'" + L(c.moved_to) + "'"), std::string::npos)
      << changed[0]->reason;

  // The newcomer's key is added to its table (and a load of it to ASIGT, for a subject or
  // a group).
  std::vector<std::string> added;
  for (const ReportEntry* entry : OfKind(report, EntryKind::kKeyAdded)) {
    if (entry->block == c.table) added.push_back(entry->key);
  }
  EXPECT_EQ(added, (std::vector<std::string>{L(c.added_key)}));
  EXPECT_TRUE(OfKind(report, EntryKind::kKeyRemoved).empty());
}

INSTANTIATE_TEST_SUITE_P(
    InsertedBeforeANamesake, CodeChangedMeaning,
    ::testing::Values(NamesakeCase{"a teacher",
                                   kPedro,
                                   {"EMPLEADOS",
                                    {{"11", "01/09/2020", "Inglés", "Pablo", "Gómez", "Romero"},
                                     {"10", "01/09/2008", "Lengua", "Pedro", "García", "Ruiz"}}},
                                   "PROFT",
                                   "PGR",
                                   "11",
                                   "11",
                                   "PGR1"},
                      NamesakeCase{"a room",
                                   {"DEPENDENCIAS", {{"A01", "Aula 1"}, {"A01", "Aula 2"}}},
                                   {"DEPENDENCIAS",
                                    {{"A01", "Aula 1"}, {"A01", "Aula 3"}, {"A01", "Aula 2"}}},
                                   "AULAT",
                                   "A011",
                                   "Aula 3",
                                   "Aula 3",
                                   "A012"},
                      NamesakeCase{"a group",
                                   {"UNIDADES", {{"9101", "3A", "6001"}}},
                                   {"UNIDADES", {{"9109", "3A", "6001"}, {"9101", "3A", "6001"}}},
                                   "GRUPOST",
                                   "3A",
                                   "9109",
                                   "9109",
                                   "3A1"},
                      NamesakeCase{"a subject",
                                   {"MATERIAS",
                                    {{"6001", "120001", "Ciencias Sociales"},
                                     {"6001", "120002", "Cálculo Simbólico"}}},
                                   {"MATERIAS",
                                    {{"6001", "120001", "Ciencias Sociales"},
                                     {"6001", "120003", "Cultura Sueca"},
                                     {"6001", "120002", "Cálculo Simbólico"}}},
                                   "ASIGNOMT",
                                   "CS1",
                                   "Cultura Sueca",
                                   "Cultura Sueca",
                                   "CS2"}));

TEST_F(ExportTest, KeysRemovedAreNamedWithTheirOldCode) {
  ASSERT_EQ(Export(School({{"EMPLEADOS",
                            {{"10", "01/09/2008", "Lengua", "Pedro", "García", "Ruiz"},
                             {"12", "01/09/2009", "Música", "Ana", "Sanz", "Gil"}}}}))
                .outcome,
            RunOutcome::kFinished);
  const RunReport report = Export(School({}));
  const auto removed = OfKind(report, EntryKind::kKeyRemoved);
  ASSERT_EQ(removed.size(), 1u);
  EXPECT_EQ(removed[0]->block, "PROFT");
  EXPECT_EQ(removed[0]->key, "12");
  EXPECT_EQ(removed[0]->value, "ASG");
  EXPECT_TRUE(OfKind(report, EntryKind::kCodeChangedMeaning).empty());
}

TEST_F(ExportTest, AnOldTableThatCannotBeReadIsNotedAndReplaced) {
  ASSERT_EQ(Export(School({})).outcome, RunOutcome::kFinished);
  std::ofstream(folders_.work_folder / "PROFT.DBF", std::ios::binary | std::ios::trunc)
      << "not a table";
  const RunReport report = Export(School({}));
  ASSERT_EQ(report.outcome, RunOutcome::kFinished);
  ASSERT_EQ(report.entries.size(), 1u);
  EXPECT_EQ(report.entries[0].kind, EntryKind::kOldTableUnreadable);
  EXPECT_EQ(report.entries[0].block, "PROFT");
  EXPECT_EQ(Column("PROFT", "ABREV"), (std::vector<std::string>{"PGR"}));
}

TEST_F(ExportTest, ADryRunReportsTheChangesAndLeavesTheWorkFolderAsItWas) {
  ASSERT_EQ(Export(School({})).outcome, RunOutcome::kFinished);
  const auto before = Snapshot(folders_.work_folder);
  const fs::path file = root_ / "nuevo.xml";
  std::ofstream(file, std::ios::binary)
      << ExchangeXml(School({{"EMPLEADOS",
                              {{"11", "01/09/2020", "Inglés", "Pablo", "Gómez", "Romero"},
                               {"10", "01/09/2008", "Lengua", "Pedro", "García", "Ruiz"}}}}));
  ui_.file = file;
  ui_.messages.clear();
  const RunReport report = RunExportDryRun(folders_, ui_, selected_);
  ASSERT_EQ(report.outcome, RunOutcome::kFinished);
  EXPECT_EQ(ui_.messages,
            (std::vector<std::string>{"Prueba finalizada: la carpeta de trabajo no ha cambiado"}));
  EXPECT_EQ(OfKind(report, EntryKind::kCodeChangedMeaning).size(), 1u);
  EXPECT_EQ(report.counts.front(), (std::pair<std::string, std::size_t>{"ASIGNOMT", 1}));
  EXPECT_EQ(Snapshot(folders_.work_folder), before);
}

TEST_F(ExportTest, ADryRunIntoAnEmptyWorkFolderLeavesItEmpty) {
  const fs::path file = root_ / "centro.xml";
  std::ofstream(file, std::ios::binary) << ExchangeXml(School({}));
  ui_.file = file;
  ASSERT_EQ(RunExportDryRun(folders_, ui_, selected_).outcome, RunOutcome::kFinished);
  EXPECT_TRUE(fs::is_empty(folders_.work_folder));
}

}  // namespace
}  // namespace tv::testing_export
