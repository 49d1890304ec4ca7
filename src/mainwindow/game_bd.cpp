#include "mainwindow/game_bd.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>

#include "help/help_reader.h"
#include "help/help_writer.h"
#include "platform/services.h"
#include "puzzles/creator.h"
#include "puzzles/ix_porter.h"
#include "puzzles/sp_cond_edit.h"
#include "startup/about_app.h"
#include "toolbox/obj_infro_dialog.h"
#include "toolbox/object_lock.h"
#include "toolbox/set_trigg.h"
#include "toolbox/shutter_dialog.h"
#include "toolbox/tb_setup.h"
#include "toolbox/tool_box.h"

namespace quarvelt {
namespace {

QString Caption(MenuItem item, const MenuModel& menus) {
    return QString::fromLatin1(menus.State(item).caption);
}

platform::qt::QtLabel* BandLabel(QWidget* parent, int pixels, bool bold, const QColor& colour) {
    auto* label = new platform::qt::QtLabel(parent);
    QFont font = label->font();
    font.setPixelSize(pixels);
    font.setBold(bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

}  // namespace

GameBd::GameBd()
    : grid_(new platform::qt::QtBoardGrid),
      tally_(BandLabel(nullptr, 26, true, QColor(255, 214, 90))),
      puzzleName_(BandLabel(nullptr, 20, true, QColor(235, 240, 255))),
      condition_(BandLabel(nullptr, 14, false, QColor(170, 190, 230))),
      logic_({*grid_, *tally_, *puzzleName_, *condition_}, *this),
      toolBox_(new quarvelt::ToolBox(logic_.ToolBox(), this)),
      setTrigg_(new quarvelt::SetTrigg(logic_.SetTrigg(), this)),
      shutterDialog_(new quarvelt::ShutterDialog(logic_.ShutterDialog(), this)) {
    toolBox_->placeBesideBoard = [this] { PlaceToolBox(); };
    // The strip kept for the box lives as long as the box is out.
    toolBox_->putAway = [this] { grid_->KeepRightClear(0); };
    grid_->boardMoved = [this] {
        // A hidden tool box gives its room back once the board changes.
        if (toolBox_->isVisible())
            PlaceToolBox();
        else
            grid_->KeepRightClear(0);
    };
    setWindowTitle(QStringLiteral("Q U A R V E L T"));
    auto* central = new QWidget(this);
    central->setAutoFillBackground(true);
    QPalette palette = central->palette();
    palette.setColor(QPalette::Window, QColor(22, 26, 48));
    central->setPalette(palette);

    auto* tallyTitle = BandLabel(central, 13, true, QColor(150, 165, 205));
    tallyTitle->setText(QStringLiteral("Tally"));
    condition_->setWordWrap(true);
    auto* band = new QGridLayout;
    band->setContentsMargins(16, 10, 16, 10);
    band->setHorizontalSpacing(24);
    band->addWidget(tallyTitle, 0, 0);
    band->addWidget(tally_, 1, 0);
    band->addWidget(puzzleName_, 0, 1);
    band->addWidget(condition_, 1, 1);
    band->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(band);
    layout->addWidget(grid_, 1);
    setCentralWidget(central);

    QMenuBar* bar = menuBar();
    const MenuModel& menus = logic_.Menus();
    auto main = [this](int16_t index) { return [this, index] { logic_.MainMenuClick(index); }; };
    QMenu* puzzle = bar->addMenu(Caption(MenuItem::Puzzle, menus));
    actions_[MenuItem::Puzzle] = puzzle->menuAction();
    auto puzzleItem = [this](int16_t index) {
        return [this, index] { logic_.PuzzleMenuClick(index); };
    };
    int16_t index = 0;
    for (MenuItem item :
         {MenuItem::New, MenuItem::Load, MenuItem::Save, MenuItem::Edit, MenuItem::Delete})
        AddItem(puzzle, item, puzzleItem(index++));
    AddItem(puzzle, MenuItem::Conditions, puzzleItem(5));
    AddItem(puzzle, MenuItem::ExPort, puzzleItem(6));
    AddItem(puzzle, MenuItem::ImPort, puzzleItem(7));
    QMenu* tools = bar->addMenu(Caption(MenuItem::Tools, menus));
    actions_[MenuItem::Tools] = tools->menuAction();
    auto tool = [this](int16_t index) { return [this, index] { logic_.ToolMenuClick(index); }; };
    AddItem(tools, MenuItem::GameToolBox, tool(0));
    AddItem(tools, MenuItem::DesignToolBox, tool(1));
    AddItem(tools, MenuItem::ToolBoxSetup, tool(2));
    AddItem(tools, MenuItem::LockUnlock, tool(3));
    AddItem(tools, MenuItem::CellOverlay, tool(4));
    AddItem(bar, MenuItem::Run, main(2));
    AddItem(bar, MenuItem::ReSet, main(3));
    AddItem(bar, MenuItem::Clear, main(4));
    QMenu* help = bar->addMenu(Caption(MenuItem::Help, menus));
    actions_[MenuItem::Help] = help->menuAction();
    AddItem(help, MenuItem::HelpPages, [this] { logic_.HelpMenuClick(0); });
    AddItem(help, MenuItem::HelpWriter, [this] { logic_.HelpMenuClick(1); });
    actions_[MenuItem::HelpSeparator] = help->addSeparator();
    AddItem(help, MenuItem::About, [this] { logic_.HelpMenuClick(3); });
    AddItem(bar, MenuItem::Exit, main(6));

    logic_.Menus().changed = [this] { SyncMenus(); };
    SyncMenus();
}

QAction* GameBd::AddItem(QWidget* menu, MenuItem item, std::function<void()> command) {
    auto* action = new QAction(Caption(item, logic_.Menus()), menu);
    menu->addAction(action);
    connect(action, &QAction::triggered, this, command);
    actions_[item] = action;
    return action;
}

void GameBd::SyncMenus() {
    for (const auto& [item, action] : actions_) {
        const MenuItemState& state = logic_.Menus().State(item);
        action->setVisible(state.visible);
        action->setEnabled(state.enabled);
    }
}

void GameBd::LayOut() {
    const platform::WorkArea area = platform::Current().desktop->GetWorkArea();
    setGeometry(area.left, area.top, area.width, area.height);
}

void GameBd::HideToolBox() {
    toolBox_->hide();
}

void GameBd::PlaceToolBox() {
    const auto onScreen = [this](const QRect& board) {
        const QPoint corner = grid_->viewport()->mapToGlobal(board.topLeft());
        return ScreenRect{corner.x(), corner.y(), board.width(), board.height()};
    };
    const QRect available = this->screen()->availableGeometry();
    const ScreenRect screen{available.left(), available.top(), available.width(),
                            available.height()};
    const QSize box = toolBox_->frameGeometry().size();
    // Where the box would stand over the centred board, the board moves aside for
    // it while it is out; the set-up moves a hidden box, which needs no room.
    grid_->KeepRightClear(
        logic_.ToolBox().Visible()
            ? ToolBoxRoom(onScreen(grid_->CentredBoard()), box.width(), box.height(), screen)
            : 0);
    const ScreenRect place =
        ToolBoxPlace(onScreen(grid_->ShownBoard()), box.width(), box.height(), screen);
    toolBox_->move(place.left, place.top);
}

void GameBd::ShowToolBox() {
    toolBox_->ShowAndActivate();
}

void GameBd::ShowSetTrigg() {
    setTrigg_->Run();
}

void GameBd::ShowShutterDialog() {
    shutterDialog_->Run();
}

void GameBd::ShowObjInfro() {
    if (!objInfro_)
        objInfro_ = new ObjInfroDialog(logic_.ObjInfro(), this);
    objInfro_->ShowAndActivate();
}

void GameBd::ShowCreator(CreatorLogic& creator) {
    Creator dialog(creator, this);
    dialog.Run();
}

void GameBd::ShowIXPorter(IXPorterLogic& transfer) {
    IXPorter dialog(transfer, this);
    dialog.Run();
}

void GameBd::ShowSpCondEdit(SpCondEditLogic& editor) {
    SpCondEdit dialog(editor, this);
    dialog.Run();
}

void GameBd::ShowTBSetup(TBSetupLogic& setup) {
    setup.moveToolBoxHome = [this] { PlaceToolBox(); };
    TBSetup dialog(setup, this);
    dialog.Run();
}

void GameBd::ShowObjectLock() {
    if (!objectLock_)
        objectLock_ = new quarvelt::ObjectLock(logic_.ObjectLock(), this);
    objectLock_->ShowAndActivate();
}

void GameBd::ShowHelpReader(HelpReaderLogic& reader) {
    HelpReader dialog(reader, this);
    dialog.Run();
}

void GameBd::ShowHelpWriter(HelpWriterLogic& writer) {
    HelpWriter dialog(writer, this);
    dialog.Run();
}

void GameBd::Repaint() {
    repaint();
}

void GameBd::UnloadSplash() {
    if (unloadSplash)
        unloadSplash();
}

void GameBd::ShowAbout() {
    AboutApp about(this);
    about.exec();
}

void GameBd::EndProgram(int status) {
    ending_ = true;
    QApplication::closeAllWindows();
    QCoreApplication::exit(status);
}

void GameBd::closeEvent(QCloseEvent* event) {
    if (ending_ || !logic_.QueryUnload(CloseReason::User))
        event->accept();
    else
        event->ignore();
}

void GameBd::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        logic_.FormGotFocus();
}

}  // namespace quarvelt
