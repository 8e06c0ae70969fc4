#include "app/help.h"

#include <QDesktopServices>
#include <QUrl>

#include "app/application.h"
#include "app/paths.h"
#include "util/env.h"

namespace tv::app {

void ShowHelp(const std::filesystem::path& program_folder, const ModalOwner& owner) {
  const QString name = HelpFileName();
  const auto file = env::FindFileNoCase(program_folder, name.toStdString());
  if (!file) {
    ShowMessageBox(QStringLiteral("No se encuentra el archivo de ayuda %1")
                       .arg(ToQString(program_folder / name.toStdString())),
                   BoxKind::kMessage, owner);
    return;
  }
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(ToQString(*file)))) {
    ShowMessageBox(QStringLiteral("No se puede abrir el archivo de ayuda %1").arg(ToQString(*file)),
                   BoxKind::kMessage, owner);
  }
}

}  // namespace tv::app
