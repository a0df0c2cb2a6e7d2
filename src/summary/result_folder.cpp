// Keeping, listing and removing the desktop program's results.
#include "result_folder.h"

#include "results_text.h"

#include "match/match_document.h"
#include "match/result_log.h"
#include "tournament/tournament_document.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <system_error>

namespace velkaran {
namespace {

namespace fs = std::filesystem;

std::string LocalTimeText(std::time_t Time, const char *Format) {
    std::tm Local{};
    if (localtime_r(&Time, &Local) == nullptr) return "?";
    char Buffer[64];
    return std::strftime(Buffer, sizeof Buffer, Format, &Local) > 0 ? std::string(Buffer) : "?";
}

// A name of Folder that no file has yet, after Now.
std::string FreeDocumentPath(const fs::path &Folder, std::time_t Now) {
    const std::string Stem = LocalTimeText(Now, "%Y-%m-%d-%H%M%S");
    for (int Copy = 1;; ++Copy) {
        const fs::path Path = Folder / (Stem + (Copy > 1 ? "-" + std::to_string(Copy) : "") + ".json");
        std::error_code Ignored;
        if (!fs::exists(Path, Ignored) && !fs::exists(ResultLogPath(Path.string()), Ignored))
            return Path.string();
    }
}

}  // namespace

std::string DefaultResultsFolder(const char *XdgDataHome, const char *Home) {
    fs::path Base;
    if (XdgDataHome != nullptr && XdgDataHome[0] == '/')
        Base = XdgDataHome;
    else if (Home != nullptr && Home[0] != '\0')
        Base = fs::path(Home) / ".local" / "share";
    else
        return {};
    return (Base / "velkaran" / "results").string();
}

std::string ResultLogPath(const std::string &DocumentPath) {
    return fs::path(DocumentPath).replace_extension(".txt").string();
}

std::optional<std::string> KeepMatchResult(const std::string &Folder, const TMatchSettings &Settings,
                                           const TRecordJournal &Journal, bool Complete,
                                           const std::vector<std::string> &LogLines, std::time_t Now,
                                           std::string &Error) {
    std::error_code Failure;
    fs::create_directories(Folder, Failure);
    if (Failure) {
        Error = "папка «" + Folder + "» не создана: " + Failure.message();
        return std::nullopt;
    }
    const std::string Path = FreeDocumentPath(Folder, Now);
    std::string WriteError;
    if (!Journal.WriteDocument(Path, MatchDocumentHead(Settings), MatchDocumentTail(Complete), WriteError)) {
        Error = "документ «" + Path + "» не записан: " + WriteError;
        return std::nullopt;
    }
    if (const auto LogFailure = SaveResultLog(LogLines, ResultLogPath(Path))) {
        Error = "лог «" + ResultLogPath(Path) + "» не записан: " + *LogFailure;
        return std::nullopt;
    }
    return Path;
}

std::optional<std::string> KeepTournamentResult(const std::string &Folder, const TTournamentResults &Results,
                                                const TRecordJournal &Journal, bool Complete, std::time_t Now,
                                                std::string &Error) {
    std::error_code Failure;
    fs::create_directories(Folder, Failure);
    if (Failure) {
        Error = "папка «" + Folder + "» не создана: " + Failure.message();
        return std::nullopt;
    }
    const std::string Path = FreeDocumentPath(Folder, Now);
    std::string WriteError;
    if (!Journal.WriteDocument(Path, TournamentDocumentHead(Results.Config()),
                               TournamentDocumentTail(Results, Complete), WriteError)) {
        Error = "документ «" + Path + "» не записан: " + WriteError;
        return std::nullopt;
    }
    return Path;
}

std::vector<std::string> KeptResults(const std::string &Folder) {
    std::vector<std::pair<fs::file_time_type, std::string>> Found;
    std::error_code Failure;
    for (fs::directory_iterator Entry(Folder, Failure), End; !Failure && Entry != End;
         Entry.increment(Failure)) {
        std::error_code Ignored;
        const std::string Name = Entry->path().filename().string();
        if (Entry->path().extension() != ".json" || Name[0] == '.' || !Entry->is_regular_file(Ignored))
            continue;
        Found.emplace_back(Entry->last_write_time(Ignored), Entry->path().string());
    }
    std::sort(Found.rbegin(), Found.rend());
    std::vector<std::string> Paths;
    for (auto &[Written, Path] : Found) Paths.push_back(std::move(Path));
    return Paths;
}

bool RemoveResult(const std::string &Path, std::string &Error) {
    std::error_code Failure;
    if (!fs::remove(Path, Failure) && Failure) {
        Error = "«" + Path + "» не удалён: " + Failure.message();
        return false;
    }
    std::error_code Ignored;
    fs::remove(ResultLogPath(Path), Ignored);
    return true;
}

TResultEntry DescribeResult(const std::string &Path) {
    TResultEntry Entry;
    Entry.Path = Path;
    std::error_code Failure;
    const auto Written = fs::last_write_time(Path, Failure);
    if (!Failure)
        Entry.Modified = std::chrono::system_clock::to_time_t(
            std::chrono::system_clock::now() +
            std::chrono::duration_cast<std::chrono::system_clock::duration>(
                Written - fs::file_time_type::clock::now()));
    // Counted both ways, since the document says what it is only once it is read: by the match's
    // players (the second half of a series has the seats exchanged), and by the seats' names.
    std::array<double, 2> MatchPoints{};
    std::map<std::string, std::size_t> PlayerOfName;
    std::string Error;
    nlohmann::json Rest;
    const bool Read = ReadRecords(
        Path, Rest,
        [&](TGameRecord &Record, std::string &) {
            ++Entry.Games;
            for (int32_t Seat = 0; Seat < 2; ++Seat) {
                const double Points = SeatPoints(Record, Seat);
                MatchPoints[static_cast<std::size_t>(Seat ^ (Record.Place.Leg & 1))] += Points;
                const std::string &Name = Record.Seats[static_cast<std::size_t>(Seat)].Name;
                const auto [Found, New] = PlayerOfName.emplace(Name, Entry.Players.size());
                if (New) {
                    Entry.Players.push_back(Name);
                    Entry.Points.push_back(0);
                }
                Entry.Points[Found->second] += Points;
            }
            return true;
        },
        Error);
    if (!Read) {
        TResultEntry Unreadable;
        Unreadable.Path = Path;
        Unreadable.Modified = Entry.Modified;
        Unreadable.Problem = Error;
        return Unreadable;
    }
    const auto Format = Rest.find("format");
    const auto Config = Rest.find("config");
    if (Format != Rest.end() && *Format == "velkaran-match" && Config != Rest.end() && Config->is_object()) {
        const auto Series = Config->find("series");
        Entry.Kind = Series != Config->end() && *Series == true ? "серия" : "игра";
        Entry.Players.assign(2, "?");
        Entry.Points.assign(MatchPoints.begin(), MatchPoints.end());
        const auto Bots = Config->find("bots");
        for (std::size_t Player = 0;
             Bots != Config->end() && Bots->is_array() && Player < 2 && Player < Bots->size(); ++Player) {
            const nlohmann::json &Bot = (*Bots)[Player];
            if (!Bot.is_object()) continue;
            const auto Human = Bot.find("human");
            const auto Name = Bot.find("name");
            if (Human != Bot.end() && *Human == true)
                Entry.Players[Player] = "Человек";
            else if (Name != Bot.end() && Name->is_string())
                Entry.Players[Player] = Name->get<std::string>();
        }
    } else {
        Entry.Kind = Format != Rest.end() && *Format == TournamentFormat ? "турнир" : "записи";
    }
    const auto Complete = Rest.find("complete");
    Entry.Complete = Complete == Rest.end() || !Complete->is_boolean() || Complete->get<bool>();
    return Entry;
}

std::vector<std::string> ResultListHeader() { return {"Дата", "Что", "Участники", "Игр", "Очки"}; }

std::vector<std::string> ResultListRow(const TResultEntry &Entry, const std::string &DecimalSeparator) {
    const std::string Date = Entry.Modified != 0 ? LocalTimeText(Entry.Modified, "%Y-%m-%d %H:%M") : "";
    const std::string Name = fs::path(Entry.Path).filename().string();
    if (!Entry.Problem.empty()) return {Date, "не читается", Name + ": " + Entry.Problem, "", ""};
    std::string Players, Score;
    for (std::size_t Player = 0; Player < Entry.Players.size(); ++Player) {
        const std::string Between = Entry.Players.size() == 2 ? " — " : ", ";
        Players += (Player > 0 ? Between : "") + Entry.Players[Player];
        const double Points = Entry.Points[Player];
        Score += (Player > 0 ? " : " : "") +
                 FixedText(Points, Points == std::floor(Points) ? 0 : 1, DecimalSeparator);
    }
    const std::string Kind = Entry.Complete
                                 ? Entry.Kind
                                 : Entry.Kind + (Entry.Kind == "турнир" ? " (не доигран)" : " (не доиграна)");
    return {Date, Kind, Players, std::to_string(Entry.Games), Score};
}

}  // namespace velkaran
