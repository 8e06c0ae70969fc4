// The time-frame dialog's rules: what the current frame shows, and what closing gives.
#include "desktop/time_frame_dialog_rules.h"

#include <gtest/gtest.h>

namespace tv::desktop {
namespace {

using Texts = std::vector<std::string>;

// Three frames, the third with a 12-character code and no slots; a fourth repeats the
// first code.
std::vector<TimeFrame> Frames() {
  return {{"1",
           "Ma\xF1"
           "ana",
           "01/09/2026",
           "30/06/2027",
           {"08:00 - 09:00", " 09:00 - 10:00"}},
          {"2", "Tarde", "01/09/2026", "31/12/2026", {"16:00 - 17:00"}},
          {"ABCDEFGHIJKL", "Sin tramos", "01/01/2027", "30/06/2027", {}}};
}

TEST(TimeFrameDialogRules, TheCurrentFrameShowsItsNameDatesAndSlots) {
  const TimeFrameDialogRules rules(Frames());
  EXPECT_EQ(rules.Entries(), (Texts{"1", "2", "ABCDEFGHIJKL"}));
  EXPECT_FALSE(rules.NoFrames());
  const auto first = rules.DetailsOf(0);
  EXPECT_EQ(first.name,
            "Ma\xF1"
            "ana");
  EXPECT_EQ(first.start_date, "01/09/2026");
  EXPECT_EQ(first.end_date, "30/06/2027");
  EXPECT_EQ(first.slot_texts, (Texts{"08:00 - 09:00", " 09:00 - 10:00"}));
  const auto third = rules.DetailsOf(2);
  EXPECT_EQ(third.name, "Sin tramos");
  EXPECT_EQ(third.slot_texts, Texts{});
  for (int none : {-1, 3}) {
    const auto details = rules.DetailsOf(none);
    EXPECT_EQ(details.name + details.start_date + details.end_date, "---");
    EXPECT_EQ(details.slot_texts, Texts{});
  }
}

TEST(TimeFrameDialogRules, FramesSharingACodeShowTheLastOfThem) {
  std::vector<TimeFrame> frames = Frames();
  frames.push_back({"1", "Otra", "d1", "d2", {"x"}});
  const TimeFrameDialogRules rules(frames);
  EXPECT_EQ(rules.DetailsOf(0).name, "Otra");
  EXPECT_EQ(rules.DetailsOf(3).slot_texts, Texts{"x"});
}

TEST(TimeFrameDialogRules, ClosingAcceptsOneOrTwoInListOrderAndRefusesTheRest) {
  struct Case {
    std::vector<bool> selected;
    FrameChoice::Kind kind;
    Texts codes;
    std::string message;
  };
  const std::string too_many =
      "Demasiados Marcos Horarios seleccionados.\r\nComo m\xE1ximo puede seleccionar 2 Marcos "
      "Horarios";
  const std::string none = "Debe al menos seleccionar 1 Marco Horario.";
  const Case cases[] = {
      {{true, true, false}, FrameChoice::Kind::kAccepted, {"1", "2"}, ""},
      {{false, false, true}, FrameChoice::Kind::kAccepted, {"ABCDEFGHIJKL"}, ""},
      {{true, true, true}, FrameChoice::Kind::kRefused, {}, too_many},
      {{false, false, false}, FrameChoice::Kind::kRefused, {}, none},
      {{}, FrameChoice::Kind::kRefused, {}, none},
  };
  const TimeFrameDialogRules rules(Frames());
  for (const Case& c : cases) {
    const auto closing = rules.Close(c.selected);
    EXPECT_EQ(closing.choice.kind, c.kind);
    EXPECT_EQ(closing.choice.codes, c.codes);
    EXPECT_EQ(closing.message, c.message);
  }
}

// Handed no frame, the dialog's only way is to cancel the export.
TEST(TimeFrameDialogRules, NoFramesCancels) {
  const TimeFrameDialogRules rules({});
  EXPECT_TRUE(rules.NoFrames());
  EXPECT_EQ(rules.DetailsOf(0).name, "-");
  const auto closing = rules.Close({});
  EXPECT_EQ(closing.choice.kind, FrameChoice::Kind::kCancelled);
  EXPECT_EQ(closing.message, "");
}

}  // namespace
}  // namespace tv::desktop
