// Names made distinct by their files.
#include "bot_names.h"

#include <algorithm>
#include <filesystem>

namespace velkaran {

std::string NameWithFile(const std::string &Name, const std::string &File) {
    return Name + " (" + std::filesystem::path(File).filename().string() + ")";
}

std::vector<std::string> DistinctNames(const std::vector<TBotNaming> &Bots) {
    std::vector<std::string> Shown;
    for (const TBotNaming &Bot : Bots) {
        const auto SameName = [&Bot](const TBotNaming &Other) { return Other.Name == Bot.Name; };
        if (std::count_if(Bots.begin(), Bots.end(), SameName) < 2) {
            Shown.push_back(Bot.Name);
            continue;
        }
        const std::string WithFile = NameWithFile(Bot.Name, Bot.File);
        const auto SameLabel = [&](const TBotNaming &Other) {
            return SameName(Other) && NameWithFile(Other.Name, Other.File) == WithFile;
        };
        Shown.push_back(std::count_if(Bots.begin(), Bots.end(), SameLabel) < 2
                            ? WithFile
                            : Bot.Name + " (" + Bot.File + ")");
    }
    return Shown;
}

}  // namespace velkaran
