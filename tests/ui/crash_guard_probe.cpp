// The program's start in small, for the crash guard's tests: discovers the bots of the current
// folder under the guard and plays one short game of the first available bot against itself.
// Started again after a crash, it prints the message and the list texts instead.
#include "match/match_runner.h"
#include "players/bot_discovery.h"
#include "players/quiet_game_interface.h"
#include "ui/bot_crash_guard.h"

#include <cstdio>
#include <exception>

using namespace velkaran;

int main(int argc, char **argv) {
    const TCrashRestart Restart = ReadCrashRestart(argc, argv);
    InstallBotCrashGuard(RunningProgram(argv[0]), Restart);
    TBotTable Table;
    LoadBots(Table, ".", SkippingLibraryLoader());
    EndLoading();
    if (!Restart.Message.empty()) std::printf("restarted: %s\n", Restart.Message.c_str());
    for (const std::string &Text : Table.Texts) std::printf("entry: %s\n", Text.c_str());
    if (!Restart.Message.empty()) return 0;

    for (const TBot &Bot : Table.Bots) {
        if (!Bot.Available) continue;
        QuietGameInterface Ui;
        TMatchSettings Settings;
        Settings.First.Bot = GuardBot(Bot, 0, Bot.Name);
        Settings.Second.Bot = GuardBot(Bot, 1, Bot.Name);
        Settings.ModeItem = 1;
        Settings.GameCount = 1;
        Settings.TurnLimit = 30;
        TMatchEnvironment Environment;
        Environment.Ui = &Ui;
        try {
            RunMatch(Settings, Environment);
            std::printf("played\n");
        } catch (const std::exception &Error) {
            std::printf("exception: %s\n", Error.what());
        }
        return 0;
    }
    std::printf("no bot\n");
    return 1;
}
