#include "bot_choice.h"

namespace velkaran {

std::string LibraryFileName(const std::string &Path) {
    const std::size_t Slash = Path.rfind('/');
    return Slash == std::string::npos ? Path : Path.substr(Slash + 1);
}

int EntryOfLibrary(const TBotTable &Table, const std::string &FileName) {
    if (FileName.empty()) return -1;
    for (std::size_t Index = 0; Index < Table.Bots.size(); ++Index)
        if (LibraryFileName(Table.Bots[Index].Path) == FileName) return static_cast<int>(Index);
    return -1;
}

std::string BotStatusLine(const TBotTable &Table, const std::string &Blocked) {
    if (!Blocked.empty()) {
        std::string Line = Blocked;
        for (char &Character : Line)
            if (Character == '\n') Character = ' ';
        return Line;
    }
    if (Table.Bots.empty()) return "В папке программы нет ботов (*.so): играть может только человек.";
    std::size_t Unavailable = 0;
    for (const TBot &Bot : Table.Bots) Unavailable += Bot.Available ? 0 : 1;
    if (Unavailable > 0)
        return "Недоступных библиотек: " + std::to_string(Unavailable) + " из " +
               std::to_string(Table.Bots.size()) + "; причина — в подсказке списка.";
    return "Ботов в папке программы: " + std::to_string(Table.Bots.size()) + ".";
}

}  // namespace velkaran
