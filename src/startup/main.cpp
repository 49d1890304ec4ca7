// The game's entry: the date and time checks, the splash while the start-up
// sequence runs, then the main window until the player quits.
#include <sys/socket.h>
#include <unistd.h>
#include <QApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QStyleFactory>
#include <QTimer>
#include <csignal>
#include <memory>

#include "mainwindow/game_bd.h"
#include "platform/files.h"
#include "platform/qt/qt_services.h"
#include "platform/services.h"
#include "startup/splash.h"
#include "startup/startup_sequence.h"

namespace {

int signalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[0], &byte, 1);
}

// Termination signals end the game in order, through the event loop.
void WatchSignals(QObject* owner, std::function<void()> end) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [end] {
        char byte;
        [[maybe_unused]] const auto got = ::read(signalPipe[1], &byte, 1);
        end();
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

// The game's own look, the same on every desktop: night blue with warm highlights.
void SetLook(QApplication& app) {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(30, 34, 60));
    palette.setColor(QPalette::WindowText, QColor(225, 230, 245));
    palette.setColor(QPalette::Base, QColor(18, 21, 40));
    palette.setColor(QPalette::AlternateBase, QColor(36, 40, 70));
    palette.setColor(QPalette::Text, QColor(225, 230, 245));
    palette.setColor(QPalette::Button, QColor(44, 50, 86));
    palette.setColor(QPalette::ButtonText, QColor(225, 230, 245));
    palette.setColor(QPalette::Highlight, QColor(255, 196, 70));
    palette.setColor(QPalette::HighlightedText, QColor(20, 20, 30));
    palette.setColor(QPalette::ToolTipBase, QColor(44, 50, 86));
    palette.setColor(QPalette::ToolTipText, QColor(225, 230, 245));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(110, 115, 140));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(110, 115, 140));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(110, 115, 140));
    app.setPalette(palette);
}

class Windows : public quarvelt::StartupWindows {
  public:
    explicit Windows(quarvelt::MDStartUp& splash) : splash_(splash) {}
    void LoadMainWindow() override {
        game = std::make_unique<quarvelt::GameBd>();
        game->Logic().FormLoad();
    }
    void ClearStatusLine() override { splash_.SetStatus({}); }
    void InitMenus() override { game->Logic().InitMenus(); }

    std::unique_ptr<quarvelt::GameBd> game;

  private:
    quarvelt::MDStartUp& splash_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QUARVELT"));
    SetLook(app);
    platform::qt::InstallQtServices();

    if (!quarvelt::CheckDateAndTime(platform::DateTimeText()))
        return 1;

    auto splash = std::make_unique<quarvelt::MDStartUp>();
    splash->LayOut();
    splash->SetStatus(QStringLiteral("Preparing the game..."));
    splash->show();

    Windows windows(*splash);
    int status = 0;
    QEventLoop waiting;
    QTimer::singleShot(3000, &waiting, [&] {
        quarvelt::SetFolderPaths(platform::ExecutableFolder());
        status = quarvelt::RunStartupSequence(windows);
        waiting.quit();
    });
    waiting.exec();
    if (status != 0)
        return status;

    quarvelt::GameBd& game = *windows.game;
    game.unloadSplash = [&splash] { splash.reset(); };
    WatchSignals(&game, [&game] {
        game.Logic().EndBlock();
        QCoreApplication::exit(0);
    });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &game, [&game](QSessionManager&) {
        game.Logic().QueryUnload(quarvelt::CloseReason::Session);
    });
    splash->hide();
    game.LayOut();
    game.show();
    game.activateWindow();
    return QApplication::exec();
}
