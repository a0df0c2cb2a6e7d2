// Records as CBOR, one after another in a temporary file, found again by their offsets.
#include "record_archive.h"

#include "records/record_journal.h"
#include "records/record_json.h"

#include <cerrno>
#include <cstring>

namespace velkaran {

std::unique_ptr<TRecordArchive> TRecordArchive::Create(std::string &Error) {
    std::FILE *File = std::tmpfile();
    if (File == nullptr) {
        Error = std::string("cannot make a temporary file for the games: ") + std::strerror(errno);
        return nullptr;
    }
    return std::unique_ptr<TRecordArchive>(new TRecordArchive(File));
}

TRecordArchive::~TRecordArchive() { std::fclose(File); }

bool TRecordArchive::Append(const TGameRecord &Record) {
    if (Broken) return false;
    const std::vector<std::uint8_t> Bytes = nlohmann::json::to_cbor(RecordToJson(Record));
    if (std::fseek(File, static_cast<long>(End), SEEK_SET) != 0 ||
        std::fwrite(Bytes.data(), 1, Bytes.size(), File) != Bytes.size()) {
        Broken = true;
        return false;
    }
    Offsets.push_back(End);
    End += Bytes.size();
    return true;
}

std::optional<TGameRecord> TRecordArchive::Read(int64_t Index, std::string &Error) const {
    if (Index < 0 || Index >= Count()) {
        Error = "there is no game " + std::to_string(Index + 1);
        return std::nullopt;
    }
    const auto At = static_cast<std::size_t>(Index);
    const uint64_t Begin = Offsets[At];
    const uint64_t Stop = At + 1 < Offsets.size() ? Offsets[At + 1] : End;
    std::vector<std::uint8_t> Bytes(static_cast<std::size_t>(Stop - Begin));
    if (std::fflush(File) != 0 || std::fseek(File, static_cast<long>(Begin), SEEK_SET) != 0 ||
        std::fread(Bytes.data(), 1, Bytes.size(), File) != Bytes.size()) {
        Error = "the record of game " + std::to_string(Index + 1) + " cannot be read back";
        return std::nullopt;
    }
    const nlohmann::json Json = nlohmann::json::from_cbor(Bytes, true, false);
    if (Json.is_discarded()) {
        Error = "the record of game " + std::to_string(Index + 1) + " is damaged";
        return std::nullopt;
    }
    return RecordFromJson(Json, Error);
}

bool LoadRecordFile(const std::string &Path, TRecordArchive &Archive, std::string &Error) {
    nlohmann::json Rest;
    int64_t Seen = 0;
    const auto OnRecord = [&](const nlohmann::json &Json, std::string &Refusal) {
        ++Seen;
        std::string Why;
        const std::optional<TGameRecord> Record = RecordFromJson(Json, Why);
        if (!Record) {
            Refusal = "запись игры " + std::to_string(Seen) + " повреждена: " + Why;
            return false;
        }
        if (!Archive.Append(*Record)) {
            Refusal = "не хватило места для записей игр во временной папке";
            return false;
        }
        return true;
    };
    std::string Why;
    if (!ReadDocument(Path, Rest, OnRecord, Why)) {
        Error = Seen > 0 ? Why : "файл не прочитан: " + Why;
        return false;
    }
    if (Archive.Count() > 0) return true;
    if (!Rest.contains("moves")) {
        Error = "в файле нет записей игр";
        return false;
    }
    const std::optional<TGameRecord> Record = RecordFromJson(Rest, Why);
    if (!Record) {
        Error = "запись игры повреждена: " + Why;
        return false;
    }
    if (!Archive.Append(*Record)) {
        Error = "не хватило места для записи игры во временной папке";
        return false;
    }
    return true;
}

}  // namespace velkaran
