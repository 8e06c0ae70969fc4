#include "app/help.h"

#include <QDesktopServices>
#include <QUrl>

#include "app/application.h"
#include "app/paths.h"
#include "desktop/help_file.h"

namespace tv::app {

void ShowHelp(const std::filesystem::path& program_folder, const ModalOwner& owner) {
  const auto file = desktop::FindHelpFile(program_folder);
  if (!file) {
    ShowMessageBox(FromCp1252(desktop::MissingHelpFileMessage(program_folder)), BoxKind::kMessage,
                   owner);
    return;
  }
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(ToQString(*file)))) {
    ShowMessageBox(QStringLiteral("No se puede abrir el archivo de ayuda %1").arg(ToQString(*file)),
                   BoxKind::kMessage, owner);
  }
}

}  // namespace tv::app
