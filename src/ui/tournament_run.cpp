#include "tournament_run.h"

#include "summary/result_folder.h"

#include <ctime>
#include <filesystem>

namespace velkaran {

TTournamentRun::TTournamentRun(const TTournamentConfig &Config, TRunnerSettings Settings,
                               std::string KeepFolder, std::string DecimalSeparator)
    : Runner(Config,
             [&Settings] {
                 Settings.Workers.Run.reset();  // a run of its own: a stop at once ends these workers only
                 return std::move(Settings);
             }()),
      Total(TSchedule(Config).Games()),
      KeepFolder(std::move(KeepFolder)),
      DecimalSeparator(std::move(DecimalSeparator)),
      Started(std::chrono::steady_clock::now()),
      Results(std::make_shared<TTournamentResults>(Config)) {}

TTournamentRun::~TTournamentRun() {
    RequestStop(TStopRequest::AtOnce);
    if (Thread.joinable()) Thread.join();
}

void TTournamentRun::Start() {
    Started = std::chrono::steady_clock::now();
    Thread = std::thread([this] { Play(); });
}

void TTournamentRun::RequestStop(TStopRequest Request) {
    if (static_cast<int>(Request) <= Stop.load()) return;  // a stop at once is never taken back
    Stop.store(static_cast<int>(Request));
    if (Request == TStopRequest::AtOnce)
        Runner.Stop();
    else
        Runner.StopTaking();
}

void TTournamentRun::Play() {
    std::string Error;
    Archive = TRecordArchive::Create(Error);  // without it the games cannot be replayed
    if (!KeepFolder.empty()) {
        std::error_code Failure;
        std::filesystem::create_directories(KeepFolder, Failure);
        Journal = TRecordJournal::Open(KeepFolder, KeepError);
        if (!Journal) KeepError = "папка результатов «" + KeepFolder + "» не принимает файлов: " + KeepError;
    }
    try {
        Runner.Run(0, Total, {}, [this](const TGameRecord &Record, const std::vector<double> &Times) {
            return Count(Record, Times);
        });
        Failure_ = Runner.Failure();
    } catch (const std::exception &What) {
        Failure_ = What.what();
    }
    const std::lock_guard<std::mutex> Guard(Lock);
    const bool Complete = Results->GamesDone() == Total;
    if (Journal) {
        if (const auto Path =
                KeepTournamentResult(KeepFolder, *Results, *Journal, Complete, std::time(nullptr), KeepError))
            Kept = *Path;
        Journal.reset();
    }
    Final = SummarizeTournament(Results, Games, Archive, Complete, DecimalSeparator);
    Done.store(true);
}

bool TTournamentRun::Count(const TGameRecord &Record, const std::vector<double> &MoveTimesMs) {
    const std::lock_guard<std::mutex> Guard(Lock);
    std::string Error;
    if (!Results->Add(Record, Error)) return true;  // the runner's own games always belong
    Results->AddMoveTimes(Record, MoveTimesMs);
    Games.push_back(TournamentGameRow(Record, Results->Schedule()));
    if (Archive && !Archive->Append(Record)) Archive.reset();
    if (Journal && !Journal->Append(Record)) {
        Journal.reset();
        KeepError = "папка результатов «" + KeepFolder + "» не приняла записи игр";
    }
    return true;
}

int64_t TTournamentRun::GamesDone() const {
    const std::lock_guard<std::mutex> Guard(Lock);
    return Results->GamesDone();
}

double TTournamentRun::ElapsedSeconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - Started).count();
}

std::shared_ptr<const TTournamentSummary> TTournamentRun::Standings() const {
    std::shared_ptr<TTournamentResults> Copy;
    {
        const std::lock_guard<std::mutex> Guard(Lock);
        Copy = std::make_shared<TTournamentResults>(*Results);
    }
    return SummarizeTournament(std::move(Copy), {}, nullptr, false, DecimalSeparator);
}

std::shared_ptr<const TTournamentSummary> TTournamentRun::Summary() const {
    const std::lock_guard<std::mutex> Guard(Lock);
    return Final;
}

}  // namespace velkaran
