// The time-slot tables: the frame choice, rows for every day and slot of the chosen
// frames, frame numbers by the first slot's start, and the period rows.
#include "export_fixture.h"

namespace tv::testing_export {
namespace {

using Rows = std::vector<std::vector<std::string>>;

const std::vector<std::string> kSlotFields = {"DIHO",    "CODDIHO",  "DIA",       "TEXTODIA",
                                              "HORA",    "TEXTOHOR", "HORADESDE", "HORAHASTA",
                                              "MINUTOS", "MARCO",    "MARCOXML"};

FrameChoice Accept(std::vector<std::string> codes) {
  return {FrameChoice::Kind::kAccepted, std::move(codes)};
}

TEST_F(ExportTest, OneFrameNeedsNoQuestionAndFillsSevenDays) {
  const Block frames{"JORNADAS_ESCOLARES", {{" 1 ", " Mañana ", "01/09/2026", "30/06/2027"}}};
  const Block slots{"TRAMOS_HORARIOS",
                    {{"11", "1ª hora", "480", "535", "1"}, {"12", "2ª hora", "535", "590", " 1 "}}};
  ASSERT_EQ(Export({frames, slots}).outcome, RunOutcome::kFinished);
  EXPECT_EQ(ui_.frame_questions, 0);
  const Rows rows = ReadRows("DIASHORAST", kSlotFields);
  ASSERT_EQ(rows.size(), 14u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"11", "11", "1", "", "1", L("1ª hora"), "08:00",
                                               "08:55", "55", "0", "1"}));
  EXPECT_EQ(rows[1], (std::vector<std::string>{"12", "12", "1", "", "2", L("2ª hora"), "08:55",
                                               "09:50", "55", "0", "1"}));
  EXPECT_EQ(rows[13][0], "72");
  EXPECT_EQ(rows[13][2], "7");
  EXPECT_EQ(ReadRows("PERIODOS", {"CJORNADA", "JORNADA", "FECINI", "FECFIN"}),
            (Rows{{"1", L("Mañana"), "01/09/2026", "30/06/2027"}}));
  EXPECT_EQ(ReadRows("DIASHORAST2", {"ORDEN"}).size(), 0u);
}

TEST_F(ExportTest, AFrameCodeLongerThanTenCharactersKeepsItsSlotsAndDates) {
  const Block frames{"JORNADAS_ESCOLARES",
                     {{"JORNADA-MANANA", "Mañana", "01/09/2026", "30/06/2027"}}};
  const Block slots{"TRAMOS_HORARIOS", {{"11", "1ª hora", "480", "535", "JORNADA-MANANA"}}};
  ASSERT_EQ(Export({frames, slots}).outcome, RunOutcome::kFinished);
  EXPECT_EQ(ReadRows("DIASHORAST", {"MARCOXML"}).size(), 7u);
  EXPECT_EQ(ReadRows("PERIODOS", {"CJORNADA", "FECINI", "FECFIN"}),
            (Rows{{"JORNADA-MA", "01/09/2026", "30/06/2027"}}));
}

TEST_F(ExportTest, TheFrameStartingEarlierIsFrameZeroWhateverTheOrder) {
  const Block frames{"JORNADAS_ESCOLARES",
                     {{"T", "Tarde", "01/09/2026", "30/06/2027"},
                      {"M", "Mañana", "01/09/2026", "30/06/2027"},
                      {"N", "Noche", "", ""}}};
  const Block slots{"TRAMOS_HORARIOS",
                    {
                        {"T1", "1 tarde", "930", "985", "T"},
                        {"M1", "1 mañana", "480", "535", "M"},
                        {"N1", "1 noche", "1200", "1255", "N"},  // not chosen
                        {"T2", "2 tarde", "985", "1040", "T"},
                        {"M2", "2 mañana", "535", "590", "M"},
                    }};
  ui_.frame_answers = {
      {FrameChoice::Kind::kRefused, {}}, {FrameChoice::Kind::kRefused, {}}, Accept({"T", "M"})};
  ASSERT_EQ(Export({frames, slots}).outcome, RunOutcome::kFinished);
  EXPECT_EQ(ui_.frame_questions, 3);  // asked again after each refused choice
  EXPECT_EQ(ReadRows("DIASHORAST", {"DIHO", "HORA", "MARCO", "MARCOXML"}).size(), 28u);
  const Rows day1 = [&] {
    Rows all = ReadRows("DIASHORAST", {"DIHO", "HORA", "MARCO", "MARCOXML"});
    return Rows(all.begin(), all.begin() + 4);
  }();
  EXPECT_EQ(day1, (Rows{{"11", "1", "1", "T"},
                        {"11", "1", "0", "M"},
                        {"12", "2", "1", "T"},
                        {"12", "2", "0", "M"}}));
  // Period rows in the file's order, only for the chosen frames.
  EXPECT_EQ(Column("PERIODOS", "CJORNADA"), (std::vector<std::string>{"T", "M"}));
}

TEST_F(ExportTest, EqualStartsGiveFrameZeroToTheFirstCode) {
  const Block frames{"JORNADAS_ESCOLARES", {{"A", "", "", ""}, {"B", "", "", ""}}};
  const Block slots{"TRAMOS_HORARIOS",
                    {{"B1", "", "480", "535", "B"}, {"A1", "", "480", "535", "A"}}};
  ui_.frame_answers = {Accept({"A", "B"})};
  ASSERT_EQ(Export({frames, slots}).outcome, RunOutcome::kFinished);
  EXPECT_EQ(ReadRows("DIASHORAST", {"MARCOXML", "MARCO"})[0], (std::vector<std::string>{"B", "1"}));
  EXPECT_EQ(ReadRows("DIASHORAST", {"MARCOXML", "MARCO"})[1], (std::vector<std::string>{"A", "0"}));
}

TEST_F(ExportTest, SlotValuesHourNumbersAndTimes) {
  const Block frames{"JORNADAS_ESCOLARES", {{"1", "", "", ""}, {"2", "Sin tramos", "d1", "d2"}}};
  Block slots{"TRAMOS_HORARIOS", {}};
  for (int i = 1; i <= 12; ++i) {
    slots.records.push_back({"S" + std::to_string(i),
                             "Tramo muy largo de texto " + std::to_string(i),
                             std::to_string(480 + 60 * i), std::to_string(530 + 60 * i), "1"});
  }
  slots.records.push_back({"X", "corto", "45", "", "1"});         // 00:45 to 00:00: -45
  slots.records.push_back({"Y", "al reves", "600", "590", "1"});  // end before start
  ui_.frame_answers = {Accept({"1", "2"})};
  ASSERT_EQ(Export({frames, slots}).outcome, RunOutcome::kFinished);
  const Rows rows = ReadRows("DIASHORAST", kSlotFields);
  ASSERT_EQ(rows.size(), 7u * 14u);
  EXPECT_EQ(rows[9][0], "110");
  EXPECT_EQ(rows[9][4], "10");
  EXPECT_EQ(rows[9][5], "Tramo muy largo");  // cut to 15
  EXPECT_EQ(rows[12], (std::vector<std::string>{"113", "X", "1", "", "13", "corto", "00:45",
                                                "00:00", "-45", "0", "1"}));
  EXPECT_EQ(rows[13][8], "-10");
  EXPECT_EQ(rows[6 * 14 + 11][0], "712");
  // A chosen frame without slots still has its period row.
  EXPECT_EQ(ReadRows("PERIODOS", {"CJORNADA", "JORNADA", "FECINI", "FECFIN"}),
            (Rows{{"1", "", "", ""}, {"2", "Sin tramos", "d1", "d2"}}));
}

TEST_F(ExportTest, WithOneFrameChosenSlotsWithoutFrameCodeCountAsTheSecond) {
  const Block frames{"JORNADAS_ESCOLARES", {{"1", "", "", ""}, {"2", "", "", ""}}};
  const Block slots{"TRAMOS_HORARIOS",
                    {{"a", "", "480", "535", "1"}, {"b", "", "400", "450", "  "}, {"c"}}};
  ui_.frame_answers = {Accept({"1"})};
  ASSERT_EQ(Export({frames, slots}).outcome, RunOutcome::kFinished);
  // 'c' has no frame code either: it is read with empty fields and counts too.
  const Rows day1 = ReadRows("DIASHORAST", {"DIHO", "CODDIHO", "MARCO", "MARCOXML", "HORADESDE"});
  EXPECT_EQ(Rows(day1.begin(), day1.begin() + 3), (Rows{{"11", "a", "1", "1", "08:00"},
                                                        {"11", "b", "0", "", "06:40"},
                                                        {"12", "c", "0", "", "00:00"}}));
  EXPECT_EQ(Column("PERIODOS", "CJORNADA"), (std::vector<std::string>{"1"}));
}

// The dialog is shown the slots that the tables then get: a slot belongs to a frame when
// their codes agree without blanks around them and within the first 10 characters.
TEST_F(ExportTest, TheDialogShowsTheSlotsThatAreWritten) {
  const Block frames{"JORNADAS_ESCOLARES",
                     {{" T ", "Tarde", "d1", "d2"},
                      {"  JORNADA-MANANA",
                       "Ma\xC3\xB1"
                       "ana",
                       "d3", "d4"},
                      {"N", "Noche", "", ""}}};
  const Block slots{"TRAMOS_HORARIOS",
                    {{"T1", " 1 tarde", "930", "985", "T"},
                     {"M1", "1 ma", "480", "535", "JORNADA-MANANA "},
                     {"T2", "2 tarde", "985", "1040", " T"},
                     {"M2", "2 ma", "535", "590", "JORNADA-MAxx"},
                     {"N1", "1 noche", "1200", "1255", "n"}}};
  ui_.frame_answers = {Accept({" T ", "  JORNADA-MANANA"})};
  ASSERT_EQ(Export({frames, slots}).outcome, RunOutcome::kFinished);
  ASSERT_EQ(ui_.frames_shown.size(), 3u);
  EXPECT_EQ(ui_.frames_shown[0], (TimeFrame{" T ", "Tarde", "d1", "d2", {" 1 tarde", "2 tarde"}}));
  EXPECT_EQ(ui_.frames_shown[1].slot_texts, (std::vector<std::string>{"1 ma", "2 ma"}));
  EXPECT_EQ(ui_.frames_shown[2].slot_texts, std::vector<std::string>{});  // 'n' is not 'N'
  const Rows rows = ReadRows("DIASHORAST", {"CODDIHO", "MARCO", "MARCOXML"});
  ASSERT_EQ(rows.size(), 28u);
  EXPECT_EQ(Rows(rows.begin(), rows.begin() + 4), (Rows{{"T1", "1", "T"},
                                                        {"M1", "0", "JORNADA-MA"},
                                                        {"T2", "1", "T"},
                                                        {"M2", "0", "JORNADA-MA"}}));
  EXPECT_EQ(Column("PERIODOS", "CJORNADA"), (std::vector<std::string>{"T", "JORNADA-MA"}));
}

TEST_F(ExportTest, ASlotTimeThatIsNoNumberEndsTheRunNamingTheSlot) {
  const Block slots{"TRAMOS_HORARIOS", {{"1", "", "480", "535", "1"}, {"2", "", "8:00", "9", "1"}}};
  EXPECT_EQ(Export({OneFrame(), slots}).outcome, RunOutcome::kFailed);
  ASSERT_EQ(ui_.errors.size(), 1u);
  EXPECT_EQ(ui_.errors[0],
            "'8:00' no es un valor entero v\xE1lido (bloque TRAMOS_HORARIOS, registro 2)");
}

}  // namespace
}  // namespace tv::testing_export
