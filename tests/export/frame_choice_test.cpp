// The frame-choice rules shared by the dialog and the command line.
#include "export/frame_choice.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(ApplyFrameChoice, AcceptsOneOrTwoInListOrder) {
  using Codes = std::vector<std::string>;
  struct Case {
    Codes entries;
    std::vector<bool> selected;
    Codes chosen;
  };
  const Case cases[] = {
      {{"1", "2"}, {true, true}, {"1", "2"}},
      {{"1", "2"}, {false, true}, {"2"}},
      {{"MANANA", "TARDE", "NOCHE"}, {true, false, true}, {"MANANA", "NOCHE"}},
      {{"CODIGO12345X"}, {true}, {"CODIGO12345X"}},
      {{" 1 ", "2"}, {true, false}, {" 1 "}},  // untrimmed, as the list shows it
  };
  for (const Case& c : cases) {
    const FrameChoiceResult result = ApplyFrameChoice(c.entries, c.selected);
    EXPECT_TRUE(result.accepted);
    EXPECT_EQ(result.codes, c.chosen);
    EXPECT_EQ(result.message, "");
  }
}

TEST(ApplyFrameChoice, RefusesThreeOrNone) {
  const FrameChoiceResult three = ApplyFrameChoice({"1", "2", "3"}, {true, true, true});
  EXPECT_FALSE(three.accepted);
  EXPECT_EQ(three.message,
            "Demasiados Marcos Horarios seleccionados.\r\nComo m\xE1ximo puede seleccionar 2 "
            "Marcos Horarios");
  EXPECT_EQ(three.codes.size(), 3u);  // built anyway

  const FrameChoiceResult none = ApplyFrameChoice({"1", "2"}, {false, false});
  EXPECT_FALSE(none.accepted);
  EXPECT_EQ(none.message, "Debe al menos seleccionar 1 Marco Horario.");
  EXPECT_TRUE(none.codes.empty());
}

}  // namespace
}  // namespace tv
