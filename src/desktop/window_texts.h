// The texts of the two windows, as the user reads them (UTF-8), shared by the desktop
// programs so that they say exactly the same.
#pragma once

namespace tv::desktop::texts {

// Every message box is captioned with the application's title.
inline constexpr char kApplicationTitle[] = "TransVelorOrtelia";

// The main window.
inline constexpr char kMainCaption[] = "Exportar e importar datos entre Velorim y Ortelia";
inline constexpr char kExportHeading[] = "Transformar datos desde Ortelia hacia Velorim ";
inline constexpr char kImportHeading[] = "Transformar datos desde Velorim hacia Ortelia";
inline constexpr char kAccept[] = "Aceptar";
inline constexpr char kVersionLabel[] = "TransVelorimOrtelia para VX20 V-1.0";
inline constexpr char kClose[] = "&Salir";
inline constexpr char kHelpButton[] = "F1 Ayuda";
inline constexpr char kFileDialogTitle[] = "Archivo XML";

// The time-frame dialog.
inline constexpr char kFramesCaption[] = "Planillas, Marcos o Jornadas Horarias";
inline constexpr char kFramesHeading[] =
    "Seleccione 1, o los 2 Marcos Horarios que quiere aplicar a su Horario en Velorim.";
inline constexpr char kFramesHint[] =
    "Para seleccionar mas de un Marco Horario, mantenga (Ctrl) pulsado y seleccione cada "
    "marco con 1 click del botón izquierdo del ratón.";
inline constexpr char kFramesList[] = "MARCOS";
inline constexpr char kSlotsList[] = "HORAS";
inline constexpr char kContinue[] = "Continuar";
// When there is no frame to choose, the hint and the button say how to leave.
inline constexpr char kNoFramesHint[] =
    "El archivo no contiene ningún Marco Horario que se pueda leer. Pulse Cancelar para "
    "cancelar la exportación.";
inline constexpr char kCancel[] = "Cancelar";

}  // namespace tv::desktop::texts
