// transvelor inspect FILE.xml [--json]: what the export would read from an exchange file.
#include <iostream>
#include <memory>
#include <new>
#include <string>

#include "cli/commands.h"
#include "cli/exchange_summary.h"
#include "cli/terminal_text.h"
#include "exchange/xml_document.h"
#include "util/cp1252.h"
#include "util/env.h"
#include "util/run_error.h"

namespace tv::cli {

namespace {

struct InspectOptions {
  std::string file;
  bool json = false;
};

void RunInspect(const InspectOptions& options) {
  try {
    const xml::Document document = xml::Document::Load(env::PathFromUtf8(options.file));
    const ExchangeSummary summary = SummarizeExchange(document);
    std::cout << (options.json ? SummaryJson(summary, options.file)
                               : SummaryText(summary, options.file))
              << std::flush;
  } catch (const RunError& error) {
    std::cerr << "transvelor inspect: " << TerminalText(Cp1252ToUtf8(error.message()), true)
              << "\n";
    throw CLI::RuntimeError(1);
  } catch (const std::bad_alloc&) {
    std::cerr << "transvelor inspect: no hay memoria suficiente para leer "
              << TerminalText(options.file, false) << "\n";
    throw CLI::RuntimeError(1);
  } catch (const std::exception& error) {
    std::cerr << "transvelor inspect: " << error.what() << "\n";
    throw CLI::RuntimeError(1);
  }
}

}  // namespace

void AddInspectCommand(CLI::App& app) {
  auto options = std::make_shared<InspectOptions>();
  auto* command = app.add_subcommand(
      "inspect", "Shows the data blocks, time frames and year code of an exchange file");
  // A path such as "/tmp/x.xml" is a file, not a Windows-style "/option".
  command->allow_windows_style_options(false);
  command->add_option("file", options->file, "The exchange file (.xml)")->required();
  command->add_flag("--json", options->json, "Print the same as JSON");
  command->callback([options] { RunInspect(*options); });
}

}  // namespace tv::cli
