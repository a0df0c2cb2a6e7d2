// Resolving and loading the bots named on the command line.
#include "bot_argument.h"

namespace velkaran {

std::string BotLibraryPath(const std::string &Argument) {
    return Argument.find('/') != std::string::npos ? Argument : "./" + Argument;
}

TBotArgument LoadBotArgument(const std::string &Argument, const TLibraryProbe &Probe) {
    TBotLoad Load = Probe(BotLibraryPath(Argument));
    TBotArgument Result;
    if (Load.Problem != TBotProblem::None || !Load.Bot.Available) {
        const std::string Reason = Load.Reason.empty() ? "it is not a usable bot" : Load.Reason;
        Result.Error = "cannot use bot \"" + Argument + "\": " + Reason;
        return Result;
    }
    Result.Bot = Load.Bot;
    return Result;
}

}  // namespace velkaran
