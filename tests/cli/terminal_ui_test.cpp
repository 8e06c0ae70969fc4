// The terminal front end's frame choice: --frames, the question on a terminal, and
// the refusals, on the sample school (frames 501 and 502).
#include "cli/terminal_ui.h"

#include <gtest/gtest.h>

#include <sstream>

#include "export/time_frames.h"

namespace tv::cli {
namespace {

const std::filesystem::path kCentro = std::filesystem::path(TV_SOURCE_DIR) / "examples/centro.xml";

struct Session {
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  FrameChoice Choose(std::optional<std::vector<std::string>> frames, bool interactive) {
    TerminalUi ui(kCentro, std::move(frames), in, out, err, interactive);
    return ui.ChooseFrames(ReadTimeFrames(xml::Document::Load(kCentro)));
  }
};

TEST(TerminalUi, FramesOptionChoosesInTheFilesOrder) {
  Session s;
  const FrameChoice choice = s.Choose(std::vector<std::string>{"502", " 501 "}, false);
  EXPECT_EQ(choice.kind, FrameChoice::Kind::kAccepted);
  EXPECT_EQ(choice.codes, (std::vector<std::string>{"501", "502"}));
}

TEST(TerminalUi, FramesOptionRefusesThreeCodesOrAnUnknownOne) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"501", "502", "501"}, "Demasiados Marcos Horarios seleccionados.\nComo máximo"},
      {{"503"}, "El Marco Horario '503' no está en el archivo. Marcos del archivo: '501', '502'."},
      {{}, "Debe al menos seleccionar 1 Marco Horario."},
  };
  for (const auto& [codes, message] : cases) {
    Session s;
    EXPECT_EQ(s.Choose(codes, true).kind, FrameChoice::Kind::kCancelled);
    EXPECT_EQ(s.err.str().substr(0, message.size()), message);
  }
}

TEST(TerminalUi, OnATerminalListsTheFramesAndAsksUntilAnswered) {
  Session s;
  s.in.str("501,502,503\n502\n");
  EXPECT_EQ(s.Choose(std::nullopt, true).kind, FrameChoice::Kind::kRefused);
  const std::string listing = s.out.str();
  EXPECT_NE(listing.find("501  Jornada de mañana  (01/09/2026 - 30/06/2027)"), std::string::npos)
      << listing;
  EXPECT_NE(listing.find("1ª tarde, 2ª tarde"), std::string::npos) << listing;
  const FrameChoice second = s.Choose(std::nullopt, true);
  EXPECT_EQ(second.kind, FrameChoice::Kind::kAccepted);
  EXPECT_EQ(second.codes, std::vector<std::string>{"502"});
  EXPECT_EQ(s.Choose(std::nullopt, true).kind, FrameChoice::Kind::kCancelled);  // end of input
}

TEST(TerminalUi, WithoutATerminalListsTheCodesAndGivesUp) {
  Session s;
  EXPECT_EQ(s.Choose(std::nullopt, false).kind, FrameChoice::Kind::kCancelled);
  EXPECT_NE(s.err.str().find("--frames"), std::string::npos);
  EXPECT_NE(s.err.str().find("'501', '502'"), std::string::npos);
}

TEST(TerminalUi, SplitCodes) {
  EXPECT_EQ(SplitCodes("501, 502"), (std::vector<std::string>{"501", "502"}));
  EXPECT_EQ(SplitCodes(" ,501,,"), (std::vector<std::string>{"501"}));
  EXPECT_TRUE(SplitCodes("").empty());
}

// A run's message may quote a value of the file; its control characters are shown, never
// obeyed by the terminal (which would retitle the window or clear the screen).
TEST(TerminalUi, ControlCharactersOfAMessageAreShownEscaped) {
  Session s;
  TerminalUi ui(kCentro, std::nullopt, s.in, s.out, s.err, false);
  // In code page 1252: ESC ] 0 ; x BEL, a C1 control (0x81 is no character of it), "ñ".
  ui.ShowError("'\x1B]0;x\x07' no es un valor entero\r\nl\xEDnea 2\t\x81\xF1");
  EXPECT_EQ(s.err.str(),
            "'\\x1B]0;x\\x07' no es un valor entero\nl\xC3\xADnea 2\t\\u0081\xC3\xB1\n");
}

}  // namespace
}  // namespace tv::cli
