// The time-frame dialog on the frames of small exchange files, driven with the mouse.
#include "app/time_frame_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "app/paths.h"
#include "app/window_user_interface.h"
#include "export/time_frames.h"
#include "modal_answerer.h"

namespace tv::app {
namespace {

namespace fs = std::filesystem;
using testing::ModalAnswerer;

// Three frames, the third with a 12-character code and no slots of its own.
constexpr char kThreeFrames[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<SERVICIO><BLOQUE_DATOS>
<grupo_datos seq="JORNADAS_ESCOLARES">
 <grupo_datos><dato>1</dato><dato>Mañana</dato><dato>01/09/2026</dato><dato>30/06/2027</dato></grupo_datos>
 <grupo_datos><dato>2</dato><dato>Tarde</dato><dato>01/09/2026</dato><dato>31/12/2026</dato></grupo_datos>
 <grupo_datos><dato>ABCDEFGHIJKL</dato><dato>Sin tramos</dato><dato>01/01/2027</dato><dato>30/06/2027</dato></grupo_datos>
</grupo_datos>
<grupo_datos seq="TRAMOS_HORARIOS">
 <grupo_datos><dato>10</dato><dato>08:00 - 09:00</dato><dato>08:00</dato><dato>09:00</dato><dato>1</dato></grupo_datos>
 <grupo_datos><dato>20</dato><dato>16:00 - 17:00</dato><dato>16:00</dato><dato>17:00</dato><dato>2</dato></grupo_datos>
 <grupo_datos><dato>11</dato><dato> 09:00 - 10:00</dato><dato>09:00</dato><dato>10:00</dato><dato>1</dato></grupo_datos>
</grupo_datos>
</BLOQUE_DATOS></SERVICIO>
)";

struct Click {
  int row;
  Qt::KeyboardModifiers modifiers;
};

class TimeFrameDialogTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir folder_;

  // The frames the export reads from an exchange file with this text.
  std::vector<TimeFrame> Frames(const char* text) {
    const fs::path file = ToPath(folder_.filePath(QStringLiteral("tres.xml")));
    std::ofstream(file, std::ios::binary) << text;
    return ReadTimeFrames(xml::Document::Load(file));
  }

  static QListWidget* List(QWidget& dialog, const char* name) {
    return dialog.findChild<QListWidget*>(QString::fromLatin1(name));
  }
  static QString LabelText(QWidget& dialog, const char* name) {
    return dialog.findChild<QLabel*>(QString::fromLatin1(name))->text();
  }
  static QStringList Entries(QListWidget* list) {
    QStringList entries;
    for (int row = 0; row < list->count(); ++row) entries << list->item(row)->text();
    return entries;
  }
  static void ClickRow(QListWidget* list, const Click& click) {
    QListWidgetItem* item = list->item(click.row);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, click.modifiers,
                      list->visualItemRect(item).center());
  }

 private slots:
  void OpensOnTheFirstFrameWithNothingSelected() {
    TPlantillas dialog(Frames(kThreeFrames), ModalOwner{});
    dialog.show();
    QListWidget* frames = List(dialog, "ListBox2");
    QCOMPARE(Entries(frames), (QStringList{"1", "2", "ABCDEFGHIJKL"}));
    QCOMPARE(frames->selectedItems().size(), 0);
    QCOMPARE(LabelText(dialog, "LabelNombre"), QStringLiteral("Mañana"));
    QCOMPARE(LabelText(dialog, "LabelPlanFec1"), QStringLiteral("01/09/2026"));
    QCOMPARE(LabelText(dialog, "LabelPlanFec2"), QStringLiteral("30/06/2027"));
    // Slot texts as the file gives them, in file order, of the current frame only.
    QCOMPARE(Entries(List(dialog, "ListBox1")), (QStringList{"08:00 - 09:00", " 09:00 - 10:00"}));
    QVERIFY(!dialog.findChild<QWidget*>(QStringLiteral("ComboBoxPlantilla"))->isVisible());

    ClickRow(frames, {2, Qt::NoModifier});
    QCOMPARE(LabelText(dialog, "LabelNombre"), QStringLiteral("Sin tramos"));
    QCOMPARE(LabelText(dialog, "LabelPlanFec1"), QStringLiteral("01/01/2027"));
    QCOMPARE(Entries(List(dialog, "ListBox1")), QStringList{});
    // A Ctrl-click that takes an entry out of the selection still shows that entry.
    ClickRow(frames, {1, Qt::ControlModifier});
    ClickRow(frames, {1, Qt::ControlModifier});
    QCOMPARE(LabelText(dialog, "LabelNombre"), QStringLiteral("Tarde"));
    QCOMPARE(Entries(List(dialog, "ListBox1")), QStringList{"16:00 - 17:00"});
    QCOMPARE(frames->selectedItems().size(), 1);
    dialog.close();
  }

  void Choice_data() {
    QTest::addColumn<QList<Click>>("clicks");
    QTest::addColumn<bool>("close_box");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<QString>("message");
    const QString too_many = QStringLiteral(
        "Demasiados Marcos Horarios seleccionados.\r\nComo máximo puede seleccionar 2 Marcos "
        "Horarios");
    const QString none = QStringLiteral("Debe al menos seleccionar 1 Marco Horario.");
    const QStringList both{"1", "2"};
    QTest::newRow("two, clicked in list order")
        << QList<Click>{{0, Qt::NoModifier}, {1, Qt::ControlModifier}} << false << true << both
        << QString();
    QTest::newRow("two, clicked in reverse order")
        << QList<Click>{{1, Qt::NoModifier}, {0, Qt::ControlModifier}} << false << true << both
        << QString();
    QTest::newRow("a long code is given whole") << QList<Click>{{2, Qt::NoModifier}} << false
                                                << true << QStringList{"ABCDEFGHIJKL"} << QString();
    QTest::newRow("three with Shift-click")
        << QList<Click>{{0, Qt::NoModifier}, {2, Qt::ShiftModifier}} << false << false
        << QStringList{} << too_many;
    QTest::newRow("none") << QList<Click>{} << false << false << QStringList{} << none;
    QTest::newRow("one, closed with the close box")
        << QList<Click>{{1, Qt::NoModifier}} << true << true << QStringList{"2"} << QString();
    QTest::newRow("none, closed with the close box")
        << QList<Click>{} << true << false << QStringList{} << none;
    QTest::newRow("Ctrl-click takes one out again")
        << QList<Click>{{0, Qt::NoModifier}, {1, Qt::ControlModifier}, {0, Qt::ControlModifier}}
        << false << true << QStringList{"2"} << QString();
  }

  void Choice() {
    QFETCH(QList<Click>, clicks);
    QFETCH(bool, close_box);
    QFETCH(bool, accepted);
    QFETCH(QStringList, chosen);
    QFETCH(QString, message);
    ModalAnswerer answerer;
    if (!message.isEmpty()) answerer.AnswerBox();
    TPlantillas dialog(Frames(kThreeFrames), ModalOwner{});
    dialog.show();
    for (const Click& click : clicks) ClickRow(List(dialog, "ListBox2"), click);
    if (close_box) {
      dialog.close();
    } else {
      QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("BitBtnContinuar")),
                        Qt::LeftButton);
    }
    QVERIFY(answerer.WaitUntilDone());
    QVERIFY(!dialog.isVisible());  // the dialog never refuses to close
    QCOMPARE(dialog.ChoiceAccepted(), accepted);
    QStringList codes;
    for (const std::string& code : dialog.Choice().codes) codes << FromCp1252(code);
    QCOMPARE(codes, chosen);
    QCOMPARE(dialog.Choice().kind,
             accepted ? FrameChoice::Kind::kAccepted : FrameChoice::Kind::kRefused);
    QCOMPARE(answerer.Messages(), message.isEmpty() ? QStringList{} : QStringList{message});
    QCOMPARE(answerer.Unexpected(), QStringList{});
  }

  // Through the window's user interface: every attempt is a fresh dialog.
  void ARefusedChoiceIsAskedAgainAfresh() {
    const std::vector<TimeFrame> frames = Frames(kThreeFrames);
    const ModalOwner owner;
    WindowUserInterface ui(owner);
    bool fresh = false;
    ModalAnswerer answerer;
    answerer
        .Then([](QWidget* dialog) {
          QListWidget* frames = List(*dialog, "ListBox2");
          frames->selectAll();
          dialog->close();
        })
        .AnswerBox()
        .Then([&fresh](QWidget* dialog) {
          QListWidget* frames = List(*dialog, "ListBox2");
          fresh = frames->count() == 3 && frames->selectedItems().isEmpty();
          ClickRow(frames, {2, Qt::NoModifier});
          dialog->findChild<QPushButton*>(QStringLiteral("BitBtnContinuar"))->click();
        });
    const FrameChoice first = ui.ChooseFrames(frames);
    QCOMPARE(first.kind, FrameChoice::Kind::kRefused);
    const FrameChoice second = ui.ChooseFrames(frames);
    QVERIFY(answerer.WaitUntilDone());
    QVERIFY(fresh);
    QCOMPARE(second.kind, FrameChoice::Kind::kAccepted);
    QCOMPARE(second.codes, std::vector<std::string>{"ABCDEFGHIJKL"});
    QCOMPARE(answerer.Messages().size(), 1);
    QCOMPARE(answerer.Unexpected(), QStringList{});
  }

  // Handed no frame to choose from: the dialog says so and its button cancels the export.
  void NoFrameToChoose() {
    ModalAnswerer answerer;
    TPlantillas dialog({}, ModalOwner{});
    dialog.show();
    QCOMPARE(List(dialog, "ListBox2")->count(), 0);
    QVERIFY(LabelText(dialog, "LabelSelec")
                .startsWith(QStringLiteral(
                    "El archivo no contiene ningún Marco Horario que se pueda leer.")));
    auto* button = dialog.findChild<QPushButton*>(QStringLiteral("BitBtnContinuar"));
    QCOMPARE(button->text(), QStringLiteral("Cancelar"));
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.Choice().kind, FrameChoice::Kind::kCancelled);
    QTest::qWait(30);
    QCOMPARE(answerer.Messages(), QStringList{});
    QCOMPARE(answerer.Unexpected(), QStringList{});
  }

  void DialogAsDrawn() {
    TPlantillas dialog(Frames(kThreeFrames), ModalOwner{});
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Planillas, Marcos o Jornadas Horarias"));
    QCOMPARE(List(dialog, "ListBox2")->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(List(dialog, "ListBox1")->geometry(), QRect(152, 103, 193, 146));
    QCOMPARE(LabelText(dialog, "LabelMarcos"), QStringLiteral("MARCOS"));
    QCOMPARE(LabelText(dialog, "Label1"), QStringLiteral("HORAS"));
  }
};

}  // namespace
}  // namespace tv::app

QTEST_MAIN(tv::app::TimeFrameDialogTest)
#include "time_frame_dialog_test.moc"
