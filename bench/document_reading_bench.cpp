// Reading a saved tournament of 100,000 games back as --resume does (every record parsed, checked
// and replayed through the rules, then counted), next to the floor of merely parsing the same
// file's JSON, and to the replay alone. Target: at least 50,000 records a second; the ratio to the
// bare parse in the same run says how much of it is the program's own work.
#include "match/game_loop.h"
#include "match/game_recording.h"
#include "players/quiet_game_interface.h"
#include "records/record_journal.h"
#include "records/record_replay.h"
#include "tournament/tournament_document.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

namespace {

using namespace velkaran;

constexpr int64_t Pairs = 50'000;  // two bots: 100,000 games

TTournamentConfig TwoBots() {
    TTournamentConfig Config;
    Config.Bots = {{"alpha.so", "Alpha", "fnv1a64:0000000000000001"},
                   {"beta.so", "Beta", "fnv1a64:0000000000000002"}};
    Config.Pairs = Pairs;
    return Config;
}

// A game of the schedule's Index between two seeded players that pick among the playable cards,
// the cheap attacks first, now and then at random: games of a few dozen rounds, as real bots play.
TGameRecord PlayedGame(const TSchedule &Schedule, const TTournamentConfig &Config, int64_t Index) {
    std::mt19937 Random(static_cast<uint32_t>(Index));
    const auto Start = Infallible([&Random](int32_t, TCardList *Set, const TTurnInfo *) {
        if (Set == nullptr) return;
        std::vector<int32_t> Cards;
        for (int32_t Card = 1; Card <= CardCount; ++Card) Cards.push_back(Card);
        std::shuffle(Cards.begin() + 9, Cards.end(), Random);  // attacks 1..9 always, the rest at random
        for (int I = 0; I < CardSetSize; ++I) Set->Card[I] = Cards[static_cast<std::size_t>(I)];
    });
    const TGetTurnFn Turn = [&Random](int32_t, const TGameView *, const TCardList *Playable,
                                      const TTurnInfo *) {
        if (Playable == nullptr) return TTurnAnswer(0);
        int Count = 0;
        while (Count < CardSetSize && Playable->Card[Count] != 0) ++Count;
        return TTurnAnswer(Playable->Card[Random() % 4 == 0 ? Random() % static_cast<uint32_t>(Count) : 0]);
    };
    const TScheduledGame Game = Schedule.Game(Index);
    const TTournamentBot &First = Config.Bots[static_cast<std::size_t>(Game.First)];
    const TTournamentBot &Second = Config.Bots[static_cast<std::size_t>(Game.Second)];
    QuietGameInterface Quiet;
    TGameResult Result;
    double Now = 0;
    PlayGame(Start, Start, Turn, Turn, TGameOptions{GameOptions(Config), First.Name, Second.Name}, Result,
             Quiet, [&Now] { return Now += 0.25; });
    TGameRecord Record;
    FillRecord(Record, Result, TGamePlace{Index + 1, Game.Encounter, Game.Pair, Game.Leg},
               {First.File, First.Name}, {Second.File, Second.Name});
    return Record;
}

// The document, written once per run in a folder of its own, with its records kept for the replay.
struct TDocument {
    std::filesystem::path Folder;
    std::string Path;
    std::vector<TGameRecord> Records;
    double MovesPerRecord = 0;
    double BytesPerRecord = 0;

    TDocument() {
        char Template[] = "/tmp/velkaran-reading-bench-XXXXXX";
        if (mkdtemp(Template) == nullptr) throw std::runtime_error("no temporary folder");
        Folder = Template;
        Path = (Folder / "t.json").string();
        const TTournamentConfig Config = TwoBots();
        TTournamentResults Results(Config);
        std::string Error;
        auto Journal = TRecordJournal::Open(Folder.string(), Error);
        if (!Journal) throw std::runtime_error(Error);
        int64_t Moves = 0;
        for (int64_t Index = 0; Index < Results.Schedule().Games(); ++Index) {
            Records.push_back(PlayedGame(Results.Schedule(), Config, Index));
            Moves += static_cast<int64_t>(Records.back().Moves.size());
            if (!Results.Add(Records.back(), Error) || !Journal->Append(Records.back()))
                throw std::runtime_error(Error);
        }
        if (!Journal->WriteDocument(Path, TournamentDocumentHead(Config),
                                    TournamentDocumentTail(Results, true), Error))
            throw std::runtime_error(Error);
        MovesPerRecord = static_cast<double>(Moves) / static_cast<double>(Records.size());
        BytesPerRecord =
            static_cast<double>(std::filesystem::file_size(Path)) / static_cast<double>(Records.size());
    }
    ~TDocument() { std::filesystem::remove_all(Folder); }
};

const TDocument &Document() {
    static const TDocument Made;
    return Made;
}

void Counters(benchmark::State &State) {
    const TDocument &Made = Document();
    State.counters["Records"] = benchmark::Counter(
        static_cast<double>(Made.Records.size() * State.iterations()), benchmark::Counter::kIsRate);
    State.counters["MovesPerRecord"] = Made.MovesPerRecord;
    State.counters["BytesPerRecord"] = Made.BytesPerRecord;
}

// What --resume does with the file: read, check, replay and count every record.
void ReadAndCheck(benchmark::State &State) {
    const TDocument &Made = Document();
    for (auto _ : State) {
        std::string Error;
        const auto Saved = ReadTournament(
            Made.Path, [](const TGameRecord &) {}, Error);
        if (!Saved) State.SkipWithError(Error.c_str());
        benchmark::DoNotOptimize(Saved);
    }
    Counters(State);
}
BENCHMARK(ReadAndCheck)->Unit(benchmark::kMillisecond);

// Parser events that are merely taken.
struct TNoEvents : nlohmann::json_sax<nlohmann::json> {
    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t &) override { return true; }
    bool string(string_t &) override { return true; }
    bool binary(binary_t &) override { return true; }
    bool start_object(std::size_t) override { return true; }
    bool end_object() override { return true; }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    bool key(string_t &) override { return true; }
    bool parse_error(std::size_t, const std::string &, const nlohmann::detail::exception &) override {
        return false;
    }
};

// The floor: the same file's JSON parsed, every event dropped as it comes.
void ParseOnly(benchmark::State &State) {
    const TDocument &Made = Document();
    for (auto _ : State) {
        std::ifstream In(Made.Path, std::ios::binary);
        TNoEvents Events;
        if (!nlohmann::json::sax_parse(In, &Events)) State.SkipWithError("the document does not parse");
    }
    Counters(State);
}
BENCHMARK(ParseOnly)->Unit(benchmark::kMillisecond);

// The replay alone, of the records in memory.
void ReplayOnly(benchmark::State &State) {
    const TDocument &Made = Document();
    for (auto _ : State) {
        for (const TGameRecord &Record : Made.Records) {
            const std::string Problem = CheckReplay(Record);
            if (!Problem.empty()) State.SkipWithError(Problem.c_str());
        }
    }
    Counters(State);
}
BENCHMARK(ReplayOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
